#include "numbering/PartFacts.h"

#include "numbering/LibraryNameClass.h"
#include "numbering/PassReason.h"
#include "numbering/RadixSort.h"
#include "numbering/ReferenceField.h"

namespace wemb {
namespace {

// Flipping the sign bits makes the unsigned order of the key the signed order of (x, y).
std::uint64_t positionKey(const PartEntry& part) {
    const std::uint32_t x = static_cast<std::uint32_t>(part.x) ^ 0x80000000U;
    const std::uint32_t y = static_cast<std::uint32_t>(part.y) ^ 0x80000000U;
    return (static_cast<std::uint64_t>(x) << 32) | y;
}

PartFact factOf(const PartEntry& part, LibraryNameClass kind, std::uint32_t fileIndex,
                bool dependenceNameMode, PartFacts& facts, PartNameIds& partNames) {
    const std::string_view reference = referenceText(part);
    const std::string_view partName = partNameText(part);
    const ReferenceSplit split = splitReference(reference);
    PartFact fact;
    fact.position = positionKey(part);
    fact.fileIndex = fileIndex;
    fact.prefix = facts.prefixes.idOf(packPrefix(reference.substr(0, split.prefixLength)));
    fact.partName = partNames.idOf(ShortText::of(partName));
    fact.library = facts.libraryNames.idOf(part.libraryName());
    fact.number = split.number;
    fact.eligible =
        autonumPassReason(kind, reference, partName, dependenceNameMode) == PassReason::None;
    fact.hasNumber = endsWithDigit(reference);
    return fact;
}

void sortByPosition(std::vector<PartFact>& parts) {
    if (!parts.empty()) {
        radixSortStable(parts, [](const PartFact& fact) { return fact.position; });
    }
}

}  // namespace

PartFacts collectPartFacts(std::span<const PartEntry> parts, bool dependenceNameMode) {
    PartFacts facts;
    PartNameIds partNames;
    partNames.reserve(parts.size());  // a drawing may hold as many names as parts
    facts.mainParts.reserve(parts.size());
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const PartEntry& part = parts[i];
        const LibraryNameClass kind = classifyLibraryName(part.libraryName());
        if (kind == LibraryNameClass::Power) {
            continue;
        }
        const PartFact fact =
            factOf(part, kind, static_cast<std::uint32_t>(i), dependenceNameMode, facts, partNames);
        if (kind == LibraryNameClass::Ordinary) {
            facts.mainParts.push_back(fact);
        } else {
            facts.powerPrefixedParts.push_back(fact);
        }
    }
    partNames = {};
    sortByPosition(facts.mainParts);
    sortByPosition(facts.powerPrefixedParts);
    return facts;
}

}  // namespace wemb
