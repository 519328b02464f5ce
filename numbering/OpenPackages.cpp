#include "numbering/OpenPackages.h"

#include <algorithm>

namespace wemb {

BlockAssignment OpenPackages::assignBlock(std::uint32_t partName, std::uint32_t prefix,
                                          int blockCount, PrefixCounters& counters) {
    const int blocks = std::min(blockCount, kMaxBlocksPerPackage);
    if (partName >= packages_.size()) {
        packages_.resize(partName + std::size_t{1});
    }
    Package& package = packages_[partName];
    if (package.currentBlock < 0) {
        package = {counters.nextNumber(prefix), blocks, 0};
        return {package.number, 0};
    }
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
