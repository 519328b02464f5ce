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
    for (int slot = 0; slot < libraryCount(); ++slot) {
        const Library& owner = *libraries_[static_cast<std::size_t>(slot)];
        for (int index = 0; index < owner.entryCount(); ++index) {
            const LibraryEntry* entry = owner.getEntry(index);
            if (entry->part) {
                // The first of equal names stays: lower slots, then lower indices, win.
                index_.try_emplace(entry->name, Found{entry, slot, index});
            }
        }
    }
}

const LibraryEntry* LibrarySet::findLibraryEntry(std::string_view name, int* foundLibrary,
                                                 int* foundEntry) const {
    const auto found = index_.find(name);
    if (found == index_.end()) {
        return nullptr;
    }
    if (foundLibrary) {
        *foundLibrary = found->second.library;
    }
    if (foundEntry) {
        *foundEntry = found->second.index;
    }
    return found->second.entry;
}

const Library* LibrarySet::library(int slot) const {
    if (slot < 0 || slot >= libraryCount()) {
        return nullptr;
    }
    return libraries_[static_cast<std::size_t>(slot)].get();
}

}  // namespace wemb
