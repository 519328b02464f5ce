#include "library/text/LibraryNameIndex.h"

namespace wemb {

void LibraryNameIndex::update() {
    const auto entryNameOf = [this](std::uint32_t index) { return entryName(index); };
    const auto entries = library_.entries();
    for (; indexedEntries_ < entries.size(); ++indexedEntries_) {
        entries_.add(entries[indexedEntries_].name, static_cast<std::uint32_t>(indexedEntries_),
                     entryNameOf);
    }
    const auto patternNameOf = [this](std::uint32_t index) { return patternName(index); };
    const auto patterns = library_.patterns();
    for (; indexedPatterns_ < patterns.size(); ++indexedPatterns_) {
        patterns_.add(patterns[indexedPatterns_]->name,
                      static_cast<std::uint32_t>(indexedPatterns_), patternNameOf);
    }
}

const LibraryPart* LibraryNameIndex::findEntryPart(std::string_view name) const {
    const auto found =
        entries_.find(name, [this](std::uint32_t index) { return entryName(index); });
    return found ? library_.entries()[*found].part : nullptr;
}

const LibraryPattern* LibraryNameIndex::findPattern(std::string_view name) const {
    const auto found =
        patterns_.find(name, [this](std::uint32_t index) { return patternName(index); });
    return found ? library_.patterns()[*found].get() : nullptr;
}

}  // namespace wemb
