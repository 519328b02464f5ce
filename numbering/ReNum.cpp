#include "numbering/ReNum.h"

#include <algorithm>
#include <tuple>
#include <vector>

#include "numbering/ReferenceField.h"

namespace wemb {
namespace {

struct RenumItem {
    PartEntry* entry;
    std::string prefix;
    int number;  // the old number
};

// A reference whose length byte is 0, or 128 and above, holds no designator, and a part
// without a part name is not a numbered part: both are left as they are.
bool isRenumbered(const PartEntry& part) {
    const std::uint8_t referenceLength = part.referenceField()[0];
    const std::uint8_t partNameLength = part.partNameField()[0];
    return referenceLength != 0 && referenceLength < 128 && partNameLength != 0;
}

std::vector<RenumItem> collectItems(std::span<PartEntry> parts) {
    std::vector<RenumItem> items;
    items.reserve(parts.size());
    for (PartEntry& part : parts) {
        if (isRenumbered(part)) {
            SplitReference split = splitReference(readReference(part));
            items.push_back({&part, std::move(split.prefix), split.number});
        }
    }
    return items;
}

}  // namespace

void reNum(Document& document, int initialNumber, int step) {
    std::vector<RenumItem> items = collectItems(document.parts());
    std::sort(items.begin(), items.end(), [](const RenumItem& a, const RenumItem& b) {
        return std::tie(a.prefix, a.number) < std::tie(b.prefix, b.number);
    });
    std::int64_t current = initialNumber;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const RenumItem& item = items[i];
        if (i == 0 || item.prefix != items[i - 1].prefix) {
            current = initialNumber;
        } else if (item.number != items[i - 1].number) {
            current += step;
        }
        writeReference(*item.entry, item.prefix, current);
    }
}

}  // namespace wemb
