#pragma once
// The bytes of a library's entry names, kept in a few large blocks instead of one allocation per
// name: a library of a hundred thousand names costs a handful of allocations to build and to
// free. A stored name never moves, so views of it stay valid for the life of the arena.

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace wemb {

class NameArena {
  public:
    NameArena() = default;
    NameArena(const NameArena&) = delete;
    NameArena& operator=(const NameArena&) = delete;

    // A copy of `name` that lives as long as the arena.
    std::string_view store(std::string_view name);

  private:
    static constexpr std::size_t kFirstBlockBytes = 4096;
    static constexpr std::size_t kLargestBlockBytes = 1 << 20;

    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t blockBytes_ = 0;  // size of the last block
    std::size_t used_ = 0;        // bytes taken of the last block
};

}  // namespace wemb
