#pragma once
// How Autonum learns the number of blocks (gates) in a part's package: by the part record's
// library name. The job backs it with the loaded library set; an empty set finds nothing, and a
// part that is not found counts as a single block.

#include <optional>
#include <string_view>

namespace wemb {

class BlockCountLookup {
  public:
    virtual ~BlockCountLookup() = default;
    // The block count of the first library entry named `libraryName`, or nothing.
    virtual std::optional<int> blockCount(std::string_view libraryName) const = 0;
};

// A lookup that finds nothing: every part is a single-block part.
class NoLibraries final : public BlockCountLookup {
  public:
    std::optional<int> blockCount(std::string_view) const override { return std::nullopt; }
};

}  // namespace wemb
