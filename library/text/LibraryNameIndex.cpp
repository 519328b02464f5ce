#include "library/text/LibraryNameIndex.h"

namespace wemb {

LibraryNameIndex::LibraryNameIndex(const Library& library)
    : library_(library), entries_(0, EntryByName{&library}, EntryByName{&library}) {}

void LibraryNameIndex::update() {
    const std::size_t entryCount = library_.entries().size();
    for (; indexedEntries_ < entryCount; ++indexedEntries_) {
        entries_.insert(static_cast<std::uint32_t>(indexedEntries_));
    }
    const auto patterns = library_.patterns();
    for (; indexedPatterns_ < patterns.size(); ++indexedPatterns_) {
        const LibraryPattern& pattern = *patterns[indexedPatterns_];
        patterns_.try_emplace(pattern.name, &pattern);
    }
}

const LibraryPart* LibraryNameIndex::findEntryPart(std::string_view name) const {
    const auto found = entries_.find(name);
    return found == entries_.end() ? nullptr : library_.entries()[*found].part;
}

const LibraryPattern* LibraryNameIndex::findPattern(std::string_view name) const {
    const auto found = patterns_.find(name);
    return found == patterns_.end() ? nullptr : found->second;
}

}  // namespace wemb
