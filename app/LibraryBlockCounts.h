#pragma once
// Autonum's view of the loaded library set: the block count of the first entry of a name.

#include "library/LibrarySet.h"
#include "numbering/BlockCountLookup.h"

namespace wemb {

class LibraryBlockCounts final : public BlockCountLookup {
  public:
    explicit LibraryBlockCounts(const LibrarySet& libraries) : libraries_(libraries) {}

    std::optional<int> blockCount(std::string_view libraryName) const override {
        const LibraryEntry* entry = libraries_.findLibraryEntry(libraryName);
        if (entry == nullptr) {
            return std::nullopt;
        }
        return entry->blockCount();
    }

  private:
    const LibrarySet& libraries_;
};

}  // namespace wemb
