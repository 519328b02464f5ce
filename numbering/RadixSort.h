#pragma once
// A stable sort by a 64-bit key, digit by digit from the lowest, for the large arrays numbering
// sorts once a run: it keeps equal keys in the order they came in, which is what breaks ties, and
// it passes over the digits in which all keys agree, so narrow keys cost few passes.
//
// A large array is moved in two halves side by side (see SideBySide.h). Each pass puts, digit
// value by digit value, the items of the first half before those of the second, which is the
// order a single pass makes; for that it needs to know how many items of each value lie in each
// half, which every pass changes, so a pass counts the next digit of the items it moves by the
// half they land in.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "numbering/SideBySide.h"

namespace wemb {

namespace radix {

// Twelve bits a digit: a 36-bit key takes three passes, and the 4,096 places a pass writes to at
// once still fit the cache.
inline constexpr int kDigitBits = 12;
inline constexpr std::uint64_t kDigitMask = (std::uint64_t{1} << kDigitBits) - 1;
inline constexpr int kDigits = (64 + kDigitBits - 1) / kDigitBits;
using Counts = std::array<std::size_t, std::size_t{1} << kDigitBits>;
using HalfCounts = std::array<Counts, 2>;

// Below this, a second thread costs more than it saves.
inline constexpr std::size_t kSplitSize = std::size_t{1} << 16;

inline std::size_t digitOf(std::uint64_t key, int digit) {
    return static_cast<std::size_t>((key >> (kDigitBits * digit)) & kDigitMask);
}

template <class Item, class KeyOf>
void countDigits(std::span<const Item> items, KeyOf& keyOf, std::array<Counts, kDigits>& counts) {
    for (const Item& item : items) {
        const std::uint64_t key = keyOf(item);
        for (int d = 0; d < kDigits; ++d) {
            ++counts[d][digitOf(key, d)];
        }
    }
}

// Moves `items` to their places by `digit` and counts `nextDigit` (if not negative) of each by
// the half of `to` it lands in.
template <class Item, class KeyOf>
void moveByDigit(std::span<const Item> items, KeyOf& keyOf, int digit, Counts& places, Item* to,
                 int nextDigit, std::size_t middle, HalfCounts& nextCounts) {
    for (const Item& item : items) {
        const std::uint64_t key = keyOf(item);
        const std::size_t place = places[digitOf(key, digit)]++;
        to[place] = item;
        if (nextDigit >= 0) {
            ++nextCounts[place < middle ? 0 : 1][digitOf(key, nextDigit)];
        }
    }
}

}  // namespace radix

// `room` lends the sort its second array, whatever it holds; it is grown or cut to the items'
// size. It gets back the array the sort no longer needs, so that a second sort finds memory
// touched already: on a large drawing, the first touch of fresh memory costs more than the moves.
template <class Item, class KeyOf>
void radixSortStable(std::vector<Item>& items, KeyOf keyOf, std::vector<Item>& room) {
    using namespace radix;
    if (items.empty()) {
        return;
    }
    const std::size_t halves = items.size() >= kSplitSize ? 2 : 1;
    const std::size_t middle = halves == 2 ? items.size() / 2 : items.size();
    const auto half = [&](std::size_t h) {
        const std::span<const Item> all(items);
        return h == 0 ? all.first(middle) : all.subspan(middle);
    };

    std::vector<std::array<Counts, kDigits>> digitCounts(halves);
    auto countHalf = [&](std::size_t h) { countDigits(half(h), keyOf, digitCounts[h]); };
    sideBySide(halves, countHalf);
    std::vector<int> digits;  // those in which the keys differ
    for (int d = 0; d < kDigits; ++d) {
        const std::size_t firstValue = digitOf(keyOf(items.front()), d);
        std::size_t sameAsFirst = 0;
        for (std::size_t h = 0; h < halves; ++h) {
            sameAsFirst += digitCounts[h][d][firstValue];
        }
        if (sameAsFirst != items.size()) {
            digits.push_back(d);
        }
    }
    if (digits.empty()) {
        return;
    }

    // By half: how many of the items lying there have each value of the digit sorted next, then
    // where the pass puts them.
    const auto placesByHalf = std::make_unique<HalfCounts>();  // 64 KB: not on the stack
    HalfCounts& places = *placesByHalf;
    for (std::size_t h = 0; h < halves; ++h) {
        places[h] = digitCounts[h][digits.front()];
    }
    digitCounts = {};
    std::vector<HalfCounts> nextCounts(halves);  // by the half moved from, then the half moved to
    std::vector<Item> scratch = std::move(room);
    scratch.resize(items.size());
    for (std::size_t i = 0; i < digits.size(); ++i) {
        std::size_t start = 0;
        for (std::size_t value = 0; value < places[0].size(); ++value) {
            for (std::size_t h = 0; h < halves; ++h) {
                const std::size_t count = places[h][value];
                places[h][value] = start;
                start += count;
            }
        }
        const int nextDigit = i + 1 < digits.size() ? digits[i + 1] : -1;
        std::fill(nextCounts.begin(), nextCounts.end(), HalfCounts{});
        auto moveHalf = [&](std::size_t h) {
            moveByDigit(half(h), keyOf, digits[i], places[h], scratch.data(), nextDigit, middle,
                        nextCounts[h]);
        };
        sideBySide(halves, moveHalf);
        for (std::size_t to = 0; to < halves; ++to) {
            places[to] = {};
            for (std::size_t from = 0; from < halves; ++from) {
                for (std::size_t value = 0; value < places[to].size(); ++value) {
                    places[to][value] += nextCounts[from][to][value];
                }
            }
        }
        items.swap(scratch);
    }
    room = std::move(scratch);
}

template <class Item, class KeyOf>
void radixSortStable(std::vector<Item>& items, KeyOf keyOf) {
    std::vector<Item> room;
    radixSortStable(items, keyOf, room);
}

}  // namespace wemb
