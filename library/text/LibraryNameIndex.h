#pragma once
// The first entry and the first pattern of each name in a text library being read. Aliases name
// earlier entries and components name earlier patterns; finding them by a walk over the library
// would make a library of many thousand parts cost time in the square of its size.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "library/Library.h"

namespace wemb {

class LibraryNameIndex {
  public:
    explicit LibraryNameIndex(const Library& library);
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
    // Entries move as the library's list grows, so they are held by position and hashed and
    // compared by their names; no name is copied.
    struct EntryByName {
        using is_transparent = void;
        const Library* library;
        std::string_view nameOf(std::uint32_t index) const {
            return library->entries()[index].name;
        }
        std::string_view nameOf(std::string_view name) const { return name; }
        template <typename Key>
        std::size_t operator()(const Key& key) const {
            return std::hash<std::string_view>{}(nameOf(key));
        }
        template <typename Left, typename Right>
        bool operator()(const Left& left, const Right& right) const {
            return nameOf(left) == nameOf(right);
        }
    };

    const Library& library_;
    std::unordered_set<std::uint32_t, EntryByName, EntryByName> entries_;
    std::size_t indexedEntries_ = 0;
    // Patterns never move: their names can be the keys.
    std::unordered_map<std::string_view, const LibraryPattern*> patterns_;
    std::size_t indexedPatterns_ = 0;
};

}  // namespace wemb
