#include "numbering/ReNum.h"

#include <vector>

#include "numbering/InternTable.h"
#include "numbering/PassReason.h"
#include "numbering/RadixSort.h"
#include "numbering/ReferenceField.h"
#include "numbering/SideBySide.h"

namespace wemb {
namespace {

// One collected part: its prefix id in the high half of the key and its old number in the low,
// so that one sort by key puts each prefix together in the order of its old numbers. The order
// of the prefixes among each other does not matter.
struct RenumItem {
    std::uint64_t key;
    std::uint32_t fileIndex;
};

// The collected parts, and the length of each part's prefix by its place in the file (0 for a
// part ReNum leaves alone), so that writing back needs neither the test nor the split again.
struct Collected {
    std::vector<RenumItem> items;
    std::vector<std::uint8_t> prefixLengths;
};

Collected collectItems(std::span<const PartEntry> parts) {
    InternTable<std::uint64_t, IntegerKeyHash> prefixes;
    Collected collected;
    collected.items.reserve(parts.size());
    collected.prefixLengths.resize(parts.size());
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (reNumTakes(parts[i])) {
            const std::string_view reference = referenceText(parts[i]);
            const ReferenceSplit split = splitReference(reference);
            const std::uint32_t prefix =
                prefixes.idOf(packPrefix(reference.substr(0, split.prefixLength)));
            collected.items.push_back({(static_cast<std::uint64_t>(prefix) << 32) |
                                           static_cast<std::uint32_t>(split.number),
                                       static_cast<std::uint32_t>(i)});
            // A reference field holds at most 7 bytes, and its first always stays in the prefix.
            collected.prefixLengths[i] = static_cast<std::uint8_t>(split.prefixLength);
        }
    }
    return collected;
}

// The new number of every collected part, by its place in the file: `numbers` has a place for
// every part.
void assignNumbers(const std::vector<RenumItem>& items, int initialNumber, int step,
                   std::vector<std::int64_t>& numbers) {
    std::int64_t current = initialNumber;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::uint64_t key = items[i].key;
        if (i == 0 || (key >> 32) != (items[i - 1].key >> 32)) {
            current = initialNumber;
        } else if (key != items[i - 1].key) {
            current += step;
        }
        numbers[items[i].fileIndex] = current;
    }
}

}  // namespace

void reNum(Document& document, int initialNumber, int step) {
    const std::span<PartEntry> parts = document.parts();
    // The sort's second array and the numbers by place are made while the parts are collected.
    Collected collected;
    std::vector<RenumItem> sortRoom;
    std::vector<std::int64_t> numbers;
    withRoomMadeAside(
        parts.size() >= radix::kSplitSize, [&] { collected = collectItems(parts); },
        [&] {
            sortRoom.resize(parts.size());
            numbers.resize(parts.size());
        });
    if (collected.items.empty()) {
        return;
    }
    radixSortStable(
        collected.items, [](const RenumItem& item) { return item.key; }, sortRoom);
    sortRoom = {};
    numbers.resize(parts.size());
    assignNumbers(collected.items, initialNumber, step, numbers);
    collected.items = {};
    // Written in file order, the records are visited once each, front to back.
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (const std::size_t prefixLength = collected.prefixLengths[i]; prefixLength > 0) {
            renumberReference(parts[i].referenceField(), prefixLength, numbers[i]);
        }
    }
}

}  // namespace wemb
