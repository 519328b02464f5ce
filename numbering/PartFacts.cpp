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

// The block count of each distinct library name, asked of the libraries once.
class BlockCounts {
  public:
    explicit BlockCounts(const BlockCountLookup& libraries) : libraries_(libraries) {}

    std::int32_t of(std::string_view libraryName) {
        const std::uint32_t id = names_.idOf(libraryName);
        if (id == counts_.size()) {
            counts_.push_back(libraries_.blockCount(libraryName).value_or(1));
        }
        return counts_[id];
    }

  private:
    const BlockCountLookup& libraries_;
    NameIds names_;  // views into the document's buffer
    std::vector<std::int32_t> counts_;
};

PartFact factOf(const PartEntry& part, LibraryNameClass kind, std::uint32_t fileIndex,
                bool dependenceNameMode, PrefixIds& prefixes) {
    const std::string_view reference = referenceText(part);
    const ReferenceSplit split = splitReference(reference);
    PartFact fact;
    fact.position = positionKey(part);
    fact.fileIndex = fileIndex;
    fact.prefix = prefixes.idOf(packPrefix(reference.substr(0, split.prefixLength)));
    fact.partName = kNoPartName;
    fact.number = split.number;
    fact.eligible = autonumPassReason(kind, reference, partNameText(part), dependenceNameMode) ==
                    PassReason::None;
    fact.hasNumber = endsWithDigit(reference);
    return fact;
}

// A single-block main part is looked up by its part name only by power-prefixed parts of that
// name, which all have their ids by now: a name none of them bears needs none. Still in file
// order, so the records are read one after the other.
void nameMainPartsSharingPowerNames(std::span<const PartEntry> parts,
                                    std::vector<PartFact>& mainParts,
                                    const PartNameIds& partNames) {
    for (PartFact& fact : mainParts) {
        if (fact.eligible && fact.partName == kNoPartName) {
            fact.partName = partNames.find(ShortText::of(partNameText(parts[fact.fileIndex])));
        }
    }
}

void sortByPosition(std::vector<PartFact>& parts) {
    if (!parts.empty()) {
        radixSortStable(parts, [](const PartFact& fact) { return fact.position; });
    }
}

}  // namespace

PartFacts collectPartFacts(std::span<const PartEntry> parts, bool dependenceNameMode,
                           const BlockCountLookup& libraries) {
    static_assert(PartNameIds::kAbsent == kNoPartName);
    PartFacts facts;
    PartNameIds partNames;
    partNames.reserve(parts.size());  // a drawing may hold as many names as parts
    BlockCounts blockCounts(libraries);
    facts.mainParts.reserve(parts.size());
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const PartEntry& part = parts[i];
        const LibraryNameClass kind = classifyLibraryName(part.libraryName());
        if (kind == LibraryNameClass::Power) {
            continue;
        }
        PartFact fact =
            factOf(part, kind, static_cast<std::uint32_t>(i), dependenceNameMode, facts.prefixes);
        if (kind == LibraryNameClass::Ordinary) {
            fact.blocks = blockCounts.of(part.libraryName());
        }
        if (kind == LibraryNameClass::PowerPrefixed || fact.blocks > 1) {
            fact.partName = partNames.idOf(ShortText::of(partNameText(part)));
        }
        (kind == LibraryNameClass::Ordinary ? facts.mainParts : facts.powerPrefixedParts)
            .push_back(fact);
    }
    if (!facts.powerPrefixedParts.empty()) {
        nameMainPartsSharingPowerNames(parts, facts.mainParts, partNames);
    }
    partNames = {};
    sortByPosition(facts.mainParts);
    sortByPosition(facts.powerPrefixedParts);
    return facts;
}

}  // namespace wemb
