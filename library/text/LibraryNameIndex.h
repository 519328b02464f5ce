#pragma once
// The first entry and the first pattern of each name in a text library being read. Aliases name
// earlier entries and components name earlier patterns; finding them by a walk over the library
// would make a library of many thousand parts cost time in the square of its size.

#include <cstddef>
#include <string_view>

#include "library/FirstNameTable.h"
#include "library/Library.h"

namespace wemb {

class LibraryNameIndex {
  public:
    explicit LibraryNameIndex(const Library& library) : library_(library) {}
    LibraryNameIndex(const LibraryNameIndex&) = delete;
    LibraryNameIndex& operator=(const LibraryNameIndex&) = delete;

    // Takes in the entries and patterns that the library gained since the last call; a name
    // already indexed keeps its first holder.
    void update();
    // The part of the first entry called `name`, or null when there is none.
    const LibraryPart* findEntryPart(std::string_view name) const;
    // The first pattern called `name`, or null when there is none.
    const LibraryPattern* findPattern(std::string_view name) const;

  private:
    // Entries move as the library's list grows, so both tables hold positions in the library's
    // lists, and names are read through them.
    std::string_view entryName(std::uint32_t index) const { return library_.entries()[index].name; }
    std::string_view patternName(std::uint32_t index) const {
        return library_.patterns()[index]->name;
    }

    const Library& library_;
    FirstNameTable entries_;
    std::size_t indexedEntries_ = 0;
    FirstNameTable patterns_;
    std::size_t indexedPatterns_ = 0;
};

}  // namespace wemb
