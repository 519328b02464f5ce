#pragma once
// The multi-block packages an Autonum run has opened, by part name (id): the parts that bear one
// part name fill a package block after block and share its number; when it is full, the next
// part of that name opens a fresh package with the next number of its own prefix.

#include <cstdint>
#include <vector>

#include "numbering/PrefixCounters.h"

namespace wemb {

struct BlockAssignment {
    std::int64_t number = 0;
    int block = 0;  // 0-based
};

// The block number is one byte in the part record, so no package holds more blocks than that.
inline constexpr int kMaxBlocksPerPackage = 256;

class OpenPackages {
  public:
    // For a part whose library part has more than one block.
    BlockAssignment assignBlock(std::uint32_t partName, std::uint32_t prefix, int blockCount,
                                PrefixCounters& counters);

  private:
    struct Package {
        std::int64_t number = 0;
        int blockCount = 0;     // of the part that opened the package; never changed
        int currentBlock = -1;  // -1 while no package of the name is open
    };

    std::vector<Package> packages_;  // by part name id
};

}  // namespace wemb
