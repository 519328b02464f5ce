// The compact forms the library model keeps its pins, bitmaps and names in: what goes in must come
// out, whatever order it was written in.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "library/FirstNameTable.h"
#include "library/Library.h"
#include "library/NameArena.h"

namespace wemb {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct StoredRow {
    std::size_t row;
    Bytes bytes;
};
struct Probe {
    std::size_t row;
    std::size_t column;
    std::uint8_t value;
};
struct BitmapCase {
    const char* fault;
    std::uint16_t width;
    std::uint16_t height;
    std::vector<StoredRow> writes;
    std::size_t storedRows;
    std::size_t bytesHeld;
    std::vector<Probe> probes;
};

TEST(PatternBitmapRows, KeepOnlyWhatIsNotZero) {
    const std::vector<BitmapCase> cases = {
        {"trailing zero bytes held", 32, 2, {{0, {1, 0, 0, 0}}}, 1, 1, {{0, 0, 1}, {0, 1, 0}}},
        {"row of zeros held", 16, 8, {{3, {0, 0}}}, 0, 0, {{3, 0, 0}}},
        {"bytes past the stride held", 8, 1, {{0, {1, 2, 3}}}, 1, 2, {{0, 1, 2}, {0, 2, 0}}},
        {"row past the height held", 8, 2, {{2, {1}}}, 0, 0, {{2, 0, 0}}},
        {"rows out of order misplaced",
         16,
         8,
         {{5, {5}}, {1, {1, 1}}, {3, {3}}},
         3,
         4,
         {{1, 1, 1}, {3, 0, 3}, {5, 0, 5}, {4, 0, 0}, {0, 0, 0}}},
        {"replaced row kept its old bytes",
         32,
         4,
         {{1, {1, 2, 3}}, {1, {9}}},
         1,
         1,
         {{1, 0, 9}, {1, 1, 0}}},
        {"row replaced by zeros still held", 16, 4, {{1, {1}}, {1, {0}}}, 0, 0, {{1, 0, 0}}},
        {"middle row replaced: later rows moved wrongly",
         16,
         3,
         {{0, {1, 1}}, {1, {2, 2}}, {2, {3, 3}}, {1, {7}}},
         3,
         5,
         {{0, 1, 1}, {1, 0, 7}, {1, 1, 0}, {2, 0, 3}, {2, 1, 3}}},
        {"a column past the stride read", 8, 1, {{0, {1}}}, 1, 1, {{0, 2, 0}}},
    };
    for (const BitmapCase& c : cases) {
        SCOPED_TRACE(c.fault);
        PatternBitmap bitmap(c.width, c.height);
        for (const StoredRow& write : c.writes) {
            bitmap.storeRow(write.row, write.bytes);
        }
        EXPECT_EQ(bitmap.storedRows(), c.storedRows);
        EXPECT_EQ(bitmap.bytesHeld(), c.bytesHeld);
        for (const Probe& probe : c.probes) {
            EXPECT_EQ(bitmap.byteAt(probe.row, probe.column), probe.value)
                << probe.row << "," << probe.column;
        }
    }
}

TEST(PatternBitmapRows, ResetForgetsRowsAndTakesTheNewSize) {
    PatternBitmap bitmap(16, 4);
    bitmap.storeRow(0, Bytes{1, 2});
    bitmap.reset(40, 2);
    EXPECT_EQ(bitmap.width(), 40);
    EXPECT_EQ(bitmap.height(), 2);
    EXPECT_EQ(bitmap.stride(), 6u);
    EXPECT_EQ(bitmap.storedRows(), 0u);
    EXPECT_EQ(bitmap.byteAt(0, 0), 0);
}

// One step on a pin of five slots: set (text given) or clear (no text).
struct SlotStep {
    int index;
    std::optional<std::string> text;
    bool plus = true;
};
struct SlotCase {
    const char* fault;
    std::vector<SlotStep> steps;
    std::vector<std::optional<std::string>> slots;  // all five afterwards
};

const std::string kLong(300, '7');
const std::string kShortest126(126, 'a');
const std::string kLongest127(127, 'b');

TEST(LibraryPinSlots, HoldWhatWasLastWrittenInEachSlot) {
    const std::nullopt_t none = std::nullopt;
    const std::vector<SlotCase> cases = {
        {"slots written out of order misplaced",
         {{2, "7"}, {0, "1", false}},
         {"-1", none, "+7", none, none}},
        {"a longer text over a middle slot spoilt the next",
         {{0, "1"}, {1, "2"}, {2, "3"}, {1, "12345"}},
         {"+1", "+12345", "+3", none, none}},
        {"a shorter text over a middle slot spoilt the next",
         {{0, "1"}, {1, "12345"}, {2, "3"}, {1, "9", false}},
         {"+1", "-9", "+3", none, none}},
        {"clearing a middle slot spoilt the next",
         {{0, "1"}, {1, "2"}, {2, "3"}, {1, none}},
         {"+1", none, "+3", none, none}},
        {"a cleared slot set again lost",
         {{0, "1"}, {0, none}, {0, "4"}},
         {"+4", none, none, none, none}},
        {"an empty text read as no number", {{3, ""}}, {none, none, none, "+", none}},
        {"a text of 300 bytes cut or spoilt the next",
         {{0, kLong, false}, {1, "x"}},
         {"-" + kLong, "+x", none, none, none}},
        {"a long text over a short one spoilt the next",
         {{0, "1"}, {1, "2"}, {0, kLong}},
         {"+" + kLong, "+2", none, none, none}},
        {"126 and 127 bytes, the two forms, confused",
         {{0, kShortest126, false}, {1, kLongest127, false}, {2, "z"}},
         {"-" + kShortest126, "-" + kLongest127, "+z", none, none}},
        {"clearing a slot never written wrote it", {{4, none}}, {none, none, none, none, none}},
    };
    for (const SlotCase& c : cases) {
        SCOPED_TRACE(c.fault);
        LibraryPin pin;
        pin.allocNumbers(5);
        for (const SlotStep& step : c.steps) {
            if (step.text) {
                pin.setNumber(step.index, step.plus, *step.text);
            } else {
                pin.clearNumber(step.index);
            }
        }
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(pin.number(i), c.slots[static_cast<std::size_t>(i)]) << "slot " << i;
        }
    }
}

TEST(LibraryPinSlots, FewShortNumbersNeedNoRoomOfTheirOwn) {
    LibraryPin pin;
    pin.allocNumbers(4);
    for (int block = 0; block < 4; ++block) {
        pin.setNumber(block, true, std::to_string(10 + block));
    }
    // Four two-digit numbers fit the inline room of the string that holds them.
    EXPECT_LE(pin.numberBytesHeld(), std::string().capacity());
    EXPECT_EQ(pin.number(3), "+13");
}

TEST(NameArena, KeepsEveryNameWhereItWasStored) {
    NameArena arena;
    std::vector<std::pair<std::string, std::string_view>> stored;
    for (int i = 0; i < 20000; ++i) {
        // Names now and then longer than a whole block.
        const std::string name = i % 5000 == 7 ? std::string(70000, static_cast<char>('a' + i % 26))
                                               : std::string("PART").append(std::to_string(i));
        stored.emplace_back(name, arena.store(name));
    }
    for (const auto& [name, view] : stored) {
        ASSERT_EQ(view, name);
    }
    EXPECT_TRUE(arena.store("").empty());
}

TEST(FirstNameTable, FindsTheFirstHolderOfEachName) {
    // Holder i is named names[i]; later holders of a name are turned away.
    std::vector<std::string> names;
    for (int i = 0; i < 5000; ++i) {
        // Built by appending: g++ 12 warns falsely on a literal plus a temporary string.
        names.emplace_back("N").append(std::to_string(i % 3000));
    }
    const auto nameOf = [&names](std::uint32_t holder) -> std::string_view {
        return names[holder];
    };
    FirstNameTable table;
    for (std::uint32_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(table.add(names[i], i, nameOf), i < 3000) << i;
    }
    EXPECT_EQ(table.size(), 3000u);
    for (std::uint32_t i = 0; i < 3000; ++i) {
        ASSERT_EQ(table.find(names[i], nameOf), i);
    }
    EXPECT_EQ(table.find("N3000", nameOf), std::nullopt);
    EXPECT_EQ(table.find("n1", nameOf), std::nullopt);
    table.clear();
    EXPECT_EQ(table.find("N1", nameOf), std::nullopt);
    EXPECT_EQ(FirstNameTable().find("N1", nameOf), std::nullopt);
}

}  // namespace
}  // namespace wemb
