#pragma once
// A stable sort by a 64-bit key, byte by byte from the lowest, for the large arrays numbering
// sorts once a run: it keeps equal keys in the order they came in, which is what breaks ties, and
// it passes over the bytes in which all keys agree, so narrow keys cost few passes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace wemb {

template <class Item, class KeyOf>
void radixSortStable(std::vector<Item>& items, KeyOf keyOf) {
    constexpr int kBytes = 8;
    std::array<std::array<std::size_t, 256>, kBytes> counts{};
    for (const Item& item : items) {
        const std::uint64_t key = keyOf(item);
        for (int b = 0; b < kBytes; ++b) {
            ++counts[b][(key >> (8 * b)) & 0xff];
        }
    }
    std::vector<Item> scratch;
    for (int b = 0; b < kBytes; ++b) {
        std::array<std::size_t, 256>& count = counts[b];
        const std::uint64_t firstByte = (keyOf(items.front()) >> (8 * b)) & 0xff;
        if (count[firstByte] == items.size()) {
            continue;  // every key has this byte: the pass would change nothing
        }
        std::size_t start = 0;
        for (std::size_t& c : count) {
            const std::size_t n = c;
            c = start;
            start += n;
        }
        scratch.resize(items.size());
        for (const Item& item : items) {
            scratch[count[(keyOf(item) >> (8 * b)) & 0xff]++] = item;
        }
        items.swap(scratch);
    }
}

}  // namespace wemb
