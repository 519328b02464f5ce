#include "numbering/AutonumRun.h"

#include "numbering/PowerMatches.h"
#include "numbering/Prefetch.h"
#include "numbering/ReferenceField.h"

namespace wemb {
namespace {

// Whether prefix and number fit the field whole, so that the written designator splits back into
// the same two: a prefix never ends with a digit but for a first one, which stays in the prefix.
bool fitsUncut(std::size_t prefixLength, std::int64_t number) {
    if (prefixLength == 0 || number < 0) {
        return false;
    }
    std::size_t digits = 1;
    for (std::int64_t rest = number / 10; rest > 0; rest /= 10) {
        ++digits;
    }
    return prefixLength + digits <= kReferenceCapacity;
}

// What a main part's reference splits into once the new designator is written: the designator
// may be cut, and a cut one splits into fewer digits, or into another prefix. The part still
// holds its prefix as read, whose length is the one it was read with.
void resplit(PartFact& part, std::int64_t number, PrefixIds& prefixes) {
    if (fitsUncut(part.prefixLength, number)) {
        part.number = static_cast<std::int32_t>(number);
        part.hasNumber = true;
        return;
    }
    const PrefixText prefix = unpackPrefix(prefixes.key(part.prefix));
    const FormattedReference written = formatReference(prefix.text(), number);
    const ReferenceSplit split = splitReference(written.text());
    if (split.prefixLength != prefix.length) {
        part.prefix = prefixes.idOf(packPrefix(written.text().substr(0, split.prefixLength)));
    }
    part.number = split.number;
    part.hasNumber = endsWithDigit(written.text());
}

}  // namespace

AutonumRun::AutonumRun(const AutonumSettings& settings, const BlockCountLookup& libraries)
    : settings_(settings),
      libraries_(libraries),
      counters_(settings.initialNumber, settings.step, settings.lockedMode, registry_) {}

void AutonumRun::run(Document& document) {
    entries_ = document.parts();
    parts_ = collectPartFacts(entries_, settings_.dependenceNameMode, libraries_);
    // Only locked mode ever consults the registry.
    if (settings_.lockedMode) {
        registry_.reserve(parts_.mainParts.size() + parts_.powerPrefixedParts.size());
        registerNumbers(parts_.mainParts);
        registerNumbers(parts_.powerPrefixedParts);
    }
    registry_.seal();
    std::vector<PartFact>& mainParts = parts_.mainParts;
    for (std::size_t i = 0; i < mainParts.size(); ++i) {
        if (i + kPrefetchDistance < mainParts.size()) {
            prefetchEntryOf(mainParts[i + kPrefetchDistance]);
        }
        numberMainPart(mainParts[i]);
    }
    numberPowerPrefixedParts();
}

void AutonumRun::prefetchEntryOf(const PartFact& part) const {
    prefetchForWrite(&entries_[part.fileIndex]);
}

bool AutonumRun::keepsNumber(const PartFact& part) const {
    return !part.eligible || (settings_.lockedMode && part.hasNumber);
}

void AutonumRun::registerNumbers(const std::vector<PartFact>& parts) {
    for (const PartFact& part : parts) {
        if (part.eligible && part.hasNumber) {
            registry_.add(part.prefix, part.number);
        }
    }
}

void AutonumRun::numberMainPart(PartFact& part) {
    if (keepsNumber(part)) {
        return;
    }
    BlockAssignment assigned;
    if (part.blocks > 1 && part.partName != kNoPartName) {
        assigned = packages_.assignBlock(part.partName, part.prefix, part.blocks, counters_);
    } else {
        assigned.number = counters_.nextNumber(part.prefix);
    }
    PartEntry& entry = entries_[part.fileIndex];
    renumberReference(entry.referenceField(), part.prefixLength, assigned.number);
    entry.setBlockNumber(static_cast<std::uint8_t>(assigned.block));
    // The power-prefixed parts match against the references as they will be written, and only
    // against parts that bear a part name.
    if (!parts_.powerPrefixedParts.empty() && part.partName != kNoPartName) {
        resplit(part, assigned.number, parts_.prefixes);
    }
}

// Power-prefixed parts never get a block number: they follow the numbers of the main parts,
// not their packages.
void AutonumRun::numberPowerPrefixedParts() {
    std::vector<PowerMatches::Key> asked;
    asked.reserve(parts_.powerPrefixedParts.size());
    for (const PartFact& part : parts_.powerPrefixedParts) {
        if (!keepsNumber(part)) {
            asked.push_back({part.partName, part.prefix});
        }
    }
    if (asked.empty()) {
        return;
    }
    PowerMatches matches(parts_.mainParts, asked);
    asked = {};  // the matches keep what they need of it
    const std::vector<PartFact>& parts = parts_.powerPrefixedParts;
    std::size_t askedIndex = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i + kPrefetchDistance < parts.size()) {
            prefetchEntryOf(parts[i + kPrefetchDistance]);
        }
        const PartFact& part = parts[i];
        if (!keepsNumber(part)) {
            renumberReference(entries_[part.fileIndex].referenceField(), part.prefixLength,
                              matches.numberFor(askedIndex++, counters_));
        }
    }
}

}  // namespace wemb
