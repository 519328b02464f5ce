#include "numbering/RadixSort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace wemb {
namespace {

struct Item {
    std::uint64_t key = 0;
    std::uint32_t cameAt = 0;  // ties must keep this order
    bool operator==(const Item&) const = default;
};

enum class Keys {
    AllEqual,        // no pass at all
    OneDiffers,      // one pass, for the sake of one key
    FewValues,       // one digit, nearly every key tied with many others
    Wide,            // 36 bits: three passes
    Full,            // every digit, the top one short
    FallingHalves,   // the first half's keys all above the second half's
    SharedTopDigit,  // the keys agree in a digit between two in which they differ
};

struct SortCase {
    std::size_t size;
    Keys keys;
};

// Sizes around the one from which the sort moves two halves side by side.
constexpr std::size_t kSplit = radix::kSplitSize;
const SortCase kCases[] = {
    {1, Keys::Full},
    {1000, Keys::FewValues},
    {kSplit - 1, Keys::Wide},
    {kSplit, Keys::FewValues},
    {kSplit + 1, Keys::Wide},
    {kSplit + 1, Keys::AllEqual},
    {kSplit + 1, Keys::OneDiffers},
    {300001, Keys::FewValues},
    {300001, Keys::Wide},
    {300001, Keys::Full},
    {300001, Keys::FallingHalves},
    {300001, Keys::SharedTopDigit},
};

std::uint64_t keyFor(Keys keys, std::size_t i, std::size_t size, std::mt19937_64& random) {
    switch (keys) {
        case Keys::AllEqual:
            return 42;
        case Keys::OneDiffers:
            return i == size / 3 ? 1 : 42;
        case Keys::FewValues:
            return random() % 7;
        case Keys::Wide:
            return random() & ((std::uint64_t{1} << 36) - 1);
        case Keys::Full:
            return random();
        case Keys::FallingHalves:
            return (i < size / 2 ? std::uint64_t{1} << 40 : 0) | (random() % 1000);
        case Keys::SharedTopDigit:
            return (random() % 50) << 24 | 0xabc000 | (random() % 50);
    }
    return 0;
}

TEST(RadixSort, OrdersLikeAStableSortOnEitherSideOfTheSplit) {
    for (const SortCase& c : kCases) {
        std::mt19937_64 random(c.size);
        std::vector<Item> items(c.size);
        for (std::size_t i = 0; i < c.size; ++i) {
            items[i] = {keyFor(c.keys, i, c.size, random), static_cast<std::uint32_t>(i)};
        }
        std::vector<Item> expected = items;
        std::stable_sort(expected.begin(), expected.end(),
                         [](const Item& a, const Item& b) { return a.key < b.key; });
        radixSortStable(items, [](const Item& item) { return item.key; });
        EXPECT_TRUE(items == expected)
            << "size " << c.size << ", keys " << static_cast<int>(c.keys);
    }
}

// A room lent to the sort may be of any size and hold anything; it comes back holding the array
// the sort let go, ready for the next sort.
TEST(RadixSort, SortsTheSameWithWhateverRoomItIsLentAndHandsOneBack) {
    const std::size_t kRoomSizes[] = {0, 10, kSplit + 1, 400000};
    for (const std::size_t roomSize : kRoomSizes) {
        std::vector<Item> room(roomSize, Item{~std::uint64_t{0}, 7});
        for (const std::size_t size : {kSplit + 1, std::size_t{300001}, std::size_t{5}}) {
            std::mt19937_64 random(size);
            std::vector<Item> items(size);
            for (std::size_t i = 0; i < size; ++i) {
                items[i] = {keyFor(Keys::Wide, i, size, random), static_cast<std::uint32_t>(i)};
            }
            std::vector<Item> expected = items;
            std::stable_sort(expected.begin(), expected.end(),
                             [](const Item& a, const Item& b) { return a.key < b.key; });
            radixSortStable(
                items, [](const Item& item) { return item.key; }, room);
            EXPECT_TRUE(items == expected) << "room " << roomSize << ", size " << size;
            EXPECT_GE(room.capacity(), size) << "room " << roomSize << ", size " << size;
        }
    }
}

}  // namespace
}  // namespace wemb
