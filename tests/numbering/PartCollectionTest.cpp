#include "numbering/PartCollection.h"

#include <gtest/gtest.h>

#include "numbering/ReferenceField.h"
#include "tests/numbering/NumberingTestSupport.h"

namespace wemb {
namespace {

TEST(ClassifyLibraryName, TellsPowerSymbolsApart) {
    const std::pair<std::string_view, LibraryNameClass> cases[] = {
        {"VCC", LibraryNameClass::Power},          {"VDD", LibraryNameClass::Power},
        {"GND", LibraryNameClass::Power},          {"VEE", LibraryNameClass::Power},
        {"VSS", LibraryNameClass::Power},          {"VCC5", LibraryNameClass::PowerPrefixed},
        {"GNDA", LibraryNameClass::PowerPrefixed}, {"VSS-1", LibraryNameClass::PowerPrefixed},
        {"vcc", LibraryNameClass::Ordinary},   // case matters
        {"AVCC", LibraryNameClass::Ordinary},  // containing is not beginning
        {"", LibraryNameClass::Ordinary},          {"VC", LibraryNameClass::Ordinary},
        {"GN", LibraryNameClass::Ordinary},  // a power name cut short
    };
    for (const auto& [name, expected] : cases) {
        EXPECT_EQ(classifyLibraryName(name), expected) << name;
    }
}

std::vector<std::string> referencesOf(const std::vector<PartEntry*>& parts) {
    std::vector<std::string> result;
    for (const PartEntry* part : parts) {
        result.push_back(readReference(*part));
    }
    return result;
}

TEST(CollectParts, SplitsByLibraryNameAndDropsPowerSymbols) {
    Document document = test::makeDocument({
        test::part(0, "A", "N", "VCC"),
        test::part(0, "B", "N", "RES"),
        test::part(0, "C", "N", "GNDA"),
        test::part(0, "D", "N", "AVCC"),
        test::part(0, "E", "N", "GND"),
        test::part(0, "F", "N", ""),
    });
    const PartCollection collection = collectParts(document.parts());
    EXPECT_EQ(referencesOf(collection.mainParts), (std::vector<std::string>{"B", "D", "F"}));
    EXPECT_EQ(referencesOf(collection.powerPrefixedParts), (std::vector<std::string>{"C"}));
}

TEST(CollectParts, AllPowerSymbolsGiveTwoEmptyLists) {
    Document document =
        test::makeDocument({test::part(0, "A", "N", "VCC"), test::part(0, "B", "N", "VSS")});
    const PartCollection collection = collectParts(document.parts());
    EXPECT_TRUE(collection.mainParts.empty());
    EXPECT_TRUE(collection.powerPrefixedParts.empty());
}

struct SortCase {
    const char* name;
    std::vector<std::pair<std::int16_t, std::int16_t>> positions;  // in file order
    std::vector<std::string> expectedOrder;                        // references, "P<file index>"
};

TEST(SortByPosition, OrdersByXThenYKeepingFileOrderOnTies) {
    const SortCase cases[] = {
        {"by x", {{30, 0}, {10, 0}, {20, 0}}, {"P1", "P2", "P0"}},
        {"same x: smaller y first", {{10, 5}, {10, -5}, {10, 0}}, {"P1", "P2", "P0"}},
        {"same place keeps file order",
         {{10, 0}, {5, 0}, {10, 0}, {10, 0}},
         {"P1", "P0", "P2", "P3"}},
        {"negative x", {{0, 0}, {-100, 0}}, {"P1", "P0"}},
    };
    for (const SortCase& c : cases) {
        std::vector<gen::PartSpec> given;
        for (std::size_t i = 0; i < c.positions.size(); ++i) {
            const char name[] = {'P', static_cast<char>('0' + i), '\0'};
            gen::PartSpec fields = test::part(c.positions[i].first, name);
            fields.y = c.positions[i].second;
            given.push_back(fields);
        }
        Document document = test::makeDocument(given);
        PartCollection collection = collectParts(document.parts());
        sortByPosition(collection);
        EXPECT_EQ(referencesOf(collection.mainParts), c.expectedOrder) << c.name;
    }
}

TEST(SortByPosition, LaterSheetsComeAfterEarlierOnes) {
    gen::DataFileBuilder builder;
    builder.header()
        .part(test::part(6000, "FIRST6000"))
        .part(test::part(4000, "FIRST4000"))
        .header()
        .part(test::part(100, "SECOND"));
    Document document = test::parseDocument(builder.bytes());
    PartCollection collection = collectParts(document.parts());
    sortByPosition(collection);
    // The field holds 7 characters.
    EXPECT_EQ(referencesOf(collection.mainParts),
              (std::vector<std::string>{"FIRST40", "SECOND", "FIRST60"}));
}

TEST(SortByPosition, SortsThePowerPrefixedListToo) {
    Document document =
        test::makeDocument({test::part(20, "B", "N", "VCC5"), test::part(10, "A", "N", "VCC5")});
    PartCollection collection = collectParts(document.parts());
    sortByPosition(collection);
    EXPECT_EQ(referencesOf(collection.powerPrefixedParts), (std::vector<std::string>{"A", "B"}));
}

}  // namespace
}  // namespace wemb
