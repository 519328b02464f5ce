#include "numbering/ReNum.h"

#include <vector>

#include "numbering/InternTable.h"
#include "numbering/PassReason.h"
#include "numbering/RadixSort.h"
#include "numbering/ReferenceField.h"

namespace wemb {
namespace {

// One collected part: its prefix id in the high half of the key and its old number in the low,
// so that one sort by key puts each prefix together in the order of its old numbers. The order
// of the prefixes among each other does not matter.
struct RenumItem {
    std::uint64_t key;
    std::uint32_t fileIndex;
};

std::vector<RenumItem> collectItems(std::span<const PartEntry> parts) {
    InternTable<std::uint64_t, IntegerKeyHash> prefixes;
    std::vector<RenumItem> items;
    items.reserve(parts.size());
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (reNumTakes(parts[i])) {
            const std::string_view reference = referenceText(parts[i]);
            const ReferenceSplit split = splitReference(reference);
            const std::uint32_t prefix =
                prefixes.idOf(packPrefix(reference.substr(0, split.prefixLength)));
            items.push_back({(static_cast<std::uint64_t>(prefix) << 32) |
                                 static_cast<std::uint32_t>(split.number),
                             static_cast<std::uint32_t>(i)});
        }
    }
    return items;
}

// The new number of every collected part, by its place in the file.
std::vector<std::int64_t> assignNumbers(const std::vector<RenumItem>& items, std::size_t partCount,
                                        int initialNumber, int step) {
    std::vector<std::int64_t> numbers(partCount, 0);
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
    return numbers;
}

}  // namespace

void reNum(Document& document, int initialNumber, int step) {
    const std::span<PartEntry> parts = document.parts();
    std::vector<RenumItem> items = collectItems(parts);
    if (items.empty()) {
        return;
    }
    radixSortStable(items, [](const RenumItem& item) { return item.key; });
    const std::vector<std::int64_t> numbers =
        assignNumbers(items, parts.size(), initialNumber, step);
    items = {};
    // Written in file order, the records are visited once each, front to back.
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (reNumTakes(parts[i])) {
            const std::string_view reference = referenceText(parts[i]);
            const std::string_view prefix =
                reference.substr(0, splitReference(reference).prefixLength);
            writeReference(parts[i].referenceField(), prefix, numbers[i]);
        }
    }
}

}  // namespace wemb
