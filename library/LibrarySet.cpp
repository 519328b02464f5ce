#include "library/LibrarySet.h"

#include <cstdint>

#include "library/BinaryLibraryReader.h"
#include "library/LibraryLoader.h"

namespace wemb {

LibrarySetLoad LibrarySet::load(const std::vector<std::string>& libraryPaths) {
    LibrarySetLoad result;
    std::vector<std::uint8_t> workBuffer(kBinaryBodyCapacity);
    for (const std::string& path : libraryPaths) {
        if (path.empty() || result.set.libraryCount() == kMaxLibraries) {
            break;
        }
        auto library = std::make_unique<Library>();
        ReadResult<> loaded = loadLibrary(*library, path, workBuffer);
        if (!loaded) {
            return LibrarySetLoad{LibrarySet(), std::move(loaded).error()};
        }
        result.set.libraries_.push_back(std::move(library));
    }
    result.set.buildIndex();
    return result;
}

void LibrarySet::buildIndex() {
    for (const auto& library : libraries_) {
        for (const LibraryEntry& entry : library->entries()) {
            if (entry.part) {
                // The first of equal names stays: lower slots, then earlier entries, win.
                index_.try_emplace(entry.name, &entry);
            }
        }
    }
}

const LibraryEntry* LibrarySet::findLibraryEntry(std::string_view name) const {
    const auto found = index_.find(name);
    return found == index_.end() ? nullptr : found->second;
}

}  // namespace wemb
