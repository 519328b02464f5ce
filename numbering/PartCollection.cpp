#include "numbering/PartCollection.h"

#include <algorithm>
#include <array>

namespace wemb {
namespace {

constexpr std::array<std::string_view, 5> kPowerNames = {"VCC", "VDD", "GND", "VEE", "VSS"};

void sortList(std::vector<PartEntry*>& parts) {
    std::stable_sort(parts.begin(), parts.end(), [](const PartEntry* a, const PartEntry* b) {
        return a->x != b->x ? a->x < b->x : a->y < b->y;
    });
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
