#include "numbering/OpenPackages.h"

#include <algorithm>

namespace wemb {

BlockAssignment OpenPackages::assignBlock(std::string_view partName, std::string_view prefix,
                                          int blockCount, PrefixCounters& counters) {
    const int blocks = std::min(blockCount, kMaxBlocksPerPackage);
    const auto found = packages_.find(std::string(partName));
    if (found == packages_.end()) {
        const Package opened{counters.nextNumber(prefix), blocks, 0};
        packages_.emplace(std::string(partName), opened);
        return {opened.number, 0};
    }
    Package& package = found->second;
    // A part whose own library part has fewer blocks than the package cannot take a block
    // beyond its own count.
    if (package.currentBlock < package.blockCount - 1 && package.currentBlock < blocks - 1) {
        ++package.currentBlock;
    } else {
        package.number = counters.nextNumber(prefix);
        package.currentBlock = 0;
    }
    return {package.number, package.currentBlock};
}

}  // namespace wemb
