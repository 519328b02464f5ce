#include "numbering/PartCollection.h"

#include <algorithm>
#include <array>
#include <tuple>

namespace wemb {
namespace {

constexpr std::array<std::string_view, 5> kPowerNames = {"VCC", "VDD", "GND", "VEE", "VSS"};

// The positions are copied next to the entries before sorting: comparing through the pointers
// would visit the entries in random order, one cache miss per comparison on a large drawing.
// The list index breaks ties, which keeps parts at the same place in file order.
void sortList(std::vector<PartEntry*>& parts) {
    struct Keyed {
        std::int32_t x, y;
        std::size_t index;
        PartEntry* part;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(parts.size());
    for (std::size_t i = 0; i < parts.size(); ++i) {
        keyed.push_back({parts[i]->x, parts[i]->y, i, parts[i]});
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        return std::tie(a.x, a.y, a.index) < std::tie(b.x, b.y, b.index);
    });
    for (std::size_t i = 0; i < parts.size(); ++i) {
        parts[i] = keyed[i].part;
    }
}

}  // namespace

LibraryNameClass classifyLibraryName(std::string_view libraryName) {
    for (const std::string_view power : kPowerNames) {
        if (libraryName.starts_with(power)) {
            return libraryName.size() == power.size() ? LibraryNameClass::Power
                                                      : LibraryNameClass::PowerPrefixed;
        }
    }
    return LibraryNameClass::Ordinary;
}

PartCollection collectParts(std::span<PartEntry> parts) {
    PartCollection collection;
    collection.mainParts.reserve(parts.size());
    for (PartEntry& part : parts) {
        switch (classifyLibraryName(part.libraryName())) {
            case LibraryNameClass::Ordinary:
                collection.mainParts.push_back(&part);
                break;
            case LibraryNameClass::PowerPrefixed:
                collection.powerPrefixedParts.push_back(&part);
                break;
            case LibraryNameClass::Power:
                break;
        }
    }
    return collection;
}

void sortByPosition(PartCollection& collection) {
    sortList(collection.mainParts);
    sortList(collection.powerPrefixedParts);
}

}  // namespace wemb
