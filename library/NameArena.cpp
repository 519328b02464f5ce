#include "library/NameArena.h"

#include <algorithm>

namespace wemb {

std::string_view NameArena::store(std::string_view name) {
    if (name.empty()) {
        return {};
    }
    if (blocks_.empty() || blockBytes_ - used_ < name.size()) {
        // Blocks grow with the library, so that a small one stays small; a name longer than a
        // block gets a block of its own size.
        const std::size_t next =
            blocks_.empty() ? kFirstBlockBytes : std::min(2 * blockBytes_, kLargestBlockBytes);
        blockBytes_ = std::max(next, name.size());
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(blockBytes_));
        used_ = 0;
    }
    char* const at = blocks_.back().get() + used_;
    std::copy(name.begin(), name.end(), at);
    used_ += name.size();
    return std::string_view(at, name.size());
}

}  // namespace wemb
