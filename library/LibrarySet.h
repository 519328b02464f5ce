#pragma once
// The libraries of one numbering job: those the editor's settings file lists (LIB0, LIB1, ... up
// to the first missing or empty key, which the caller has read), at most 16, in key order. The
// job owns the set from the start of numbering to its end; nothing else holds libraries.

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "library/Library.h"
#include "reading/FileError.h"

namespace wemb {

inline constexpr int kMaxLibraries = 16;

struct LibrarySetLoad;

class LibrarySet {
  public:
    LibrarySet() = default;
    LibrarySet(LibrarySet&&) noexcept = default;
    LibrarySet& operator=(LibrarySet&&) noexcept = default;
    LibrarySet(const LibrarySet&) = delete;
    LibrarySet& operator=(const LibrarySet&) = delete;

    // Loads the libraries in list order, one slot each, at most kMaxLibraries; an empty path ends
    // the list. One work buffer serves every binary library. A library that fails ends the load:
    // the set comes back empty and the result says why that library failed, for the front end to
    // report.
    static LibrarySetLoad load(const std::vector<std::string>& libraryPaths);

    // The first entry named `name` (byte for byte, letter case counts) in slot order, then entry
    // order; entries without a part are passed over.
    const LibraryEntry* findLibraryEntry(std::string_view name) const;

    int libraryCount() const { return static_cast<int>(libraries_.size()); }

  private:
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const {
            return std::hash<std::string_view>{}(name);
        }
    };

    // Once, over the loaded libraries.
    void buildIndex();

    std::vector<std::unique_ptr<Library>> libraries_;  // slot order
    // Keys view the entries' own names, which stay put for the life of their library.
    std::unordered_map<std::string_view, const LibraryEntry*, NameHash, std::equal_to<>> index_;
};

struct LibrarySetLoad {
    LibrarySet set;
    // Why a library failed to load (its file is the path as listed); then the set is empty.
    std::optional<FileError> failedLibrary;

    bool loaded() const { return !failedLibrary; }
};

}  // namespace wemb
