#pragma once
// The numbers that parts carry when an Autonum run starts, per reference prefix (by prefix id),
// so that Autonum-LockedMode hands none of them out again. Filled once, then sealed: from then on
// each prefix's numbers are one sorted run without repeats, which a counter that only rises can
// walk with a cursor instead of searching.

#include <cstdint>
#include <span>
#include <vector>

namespace wemb {

class NumberRegistry {
  public:
    // Room for `count` numbers: address space only, so that the numbers are never copied to a
    // larger array as they come.
    void reserve(std::size_t count) { added_.reserve(count); }
    void add(std::uint32_t prefix, int number);
    // Call once after the last add and before any look-up.
    void seal();

    bool contains(std::uint32_t prefix, std::int64_t number) const;
    // Ascending, each number once.
    std::span<const std::int32_t> numbersOf(std::uint32_t prefix) const;

  private:
    std::vector<std::uint64_t> added_;   // prefix in the high half, number in the low
    std::vector<std::int32_t> numbers_;  // sorted by prefix, then number
    std::vector<std::size_t> starts_;    // per prefix id where its numbers begin, then the end
};

}  // namespace wemb
