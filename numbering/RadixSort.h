#pragma once
// A stable sort by a 64-bit key, digit by digit from the lowest, for the large arrays numbering
// sorts once a run: it keeps equal keys in the order they came in, which is what breaks ties, and
// it passes over the digits in which all keys agree, so narrow keys cost few passes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace wemb {

template <class Item, class KeyOf>
void radixSortStable(std::vector<Item>& items, KeyOf keyOf) {
    // Twelve bits a digit: a 36-bit key takes three passes, and the 4,096 places a pass writes
    // to at once still fit the cache.
    constexpr int kDigitBits = 12;
    constexpr std::uint64_t kDigitMask = (std::uint64_t{1} << kDigitBits) - 1;
    constexpr int kDigits = (64 + kDigitBits - 1) / kDigitBits;
    using Counts = std::array<std::size_t, std::size_t{1} << kDigitBits>;
    std::vector<Counts> counts(kDigits);
    for (const Item& item : items) {
        const std::uint64_t key = keyOf(item);
        for (int d = 0; d < kDigits; ++d) {
            ++counts[d][(key >> (kDigitBits * d)) & kDigitMask];
        }
    }
    std::vector<Item> scratch;
    for (int d = 0; d < kDigits; ++d) {
        Counts& count = counts[d];
        const std::uint64_t firstDigit = (keyOf(items.front()) >> (kDigitBits * d)) & kDigitMask;
        if (count[firstDigit] == items.size()) {
            continue;  // every key has this digit: the pass would change nothing
        }
        std::size_t start = 0;
        for (std::size_t& c : count) {
            const std::size_t n = c;
            c = start;
            start += n;
        }
        scratch.resize(items.size());
        for (const Item& item : items) {
            scratch[count[(keyOf(item) >> (kDigitBits * d)) & kDigitMask]++] = item;
        }
        items.swap(scratch);
    }
}

}  // namespace wemb
