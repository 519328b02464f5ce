#include "numbering/AutonumRun.h"

#include "numbering/PowerMatches.h"
#include "numbering/ReferenceField.h"

namespace wemb {

AutonumRun::AutonumRun(const AutonumSettings& settings, const BlockCountLookup& libraries)
    : settings_(settings),
      libraries_(libraries),
      counters_(settings.initialNumber, settings.step, settings.lockedMode, registry_) {}

void AutonumRun::run(Document& document) {
    parts_ = collectParts(document.parts());
    sortByPosition(parts_);
    registry_.clear();
    registerNumbers(parts_.mainParts);
    registerNumbers(parts_.powerPrefixedParts);
    for (PartEntry* part : parts_.mainParts) {
        numberMainPart(*part);
    }
    numberPowerPrefixedParts();
}

bool AutonumRun::isEligible(const PartEntry& part) const {
    return !readReference(part).empty() &&
           !(settings_.dependenceNameMode && readPartName(part).empty());
}

bool AutonumRun::keepsNumber(const PartEntry& part) const {
    return !isEligible(part) || (settings_.lockedMode && endsWithDigit(readReference(part)));
}

void AutonumRun::registerNumbers(const std::vector<PartEntry*>& parts) {
    for (const PartEntry* part : parts) {
        const std::string reference = readReference(*part);
        if (isEligible(*part) && endsWithDigit(reference)) {
            const SplitReference split = splitReference(reference);
            registry_.add(split.prefix, split.number);
        }
    }
}

void AutonumRun::numberMainPart(PartEntry& part) {
    if (keepsNumber(part)) {
        return;
    }
    const std::string prefix = splitReference(readReference(part)).prefix;
    const std::optional<int> blockCount = libraries_.blockCount(part.libraryName());
    BlockAssignment assigned;
    if (blockCount && *blockCount > 1) {
        assigned = packages_.assignBlock(readPartName(part), prefix, *blockCount, counters_);
    } else {
        assigned.number = counters_.nextNumber(prefix);
    }
    writeReference(part, prefix, assigned.number);
    part.setBlockNumber(static_cast<std::uint8_t>(assigned.block));
}

// Power-prefixed parts never get a block number: they follow the numbers of the main parts,
// not their packages.
void AutonumRun::numberPowerPrefixedParts() {
    // The matches index every main part, which a drawing without power-prefixed parts never
    // needs.
    if (parts_.powerPrefixedParts.empty()) {
        return;
    }
    PowerMatches matches(parts_.mainParts, settings_.dependenceNameMode);
    for (PartEntry* part : parts_.powerPrefixedParts) {
        if (keepsNumber(*part)) {
            continue;
        }
        const std::string prefix = splitReference(readReference(*part)).prefix;
        writeReference(*part, prefix, matches.numberFor(readPartName(*part), prefix, counters_));
    }
}

}  // namespace wemb
