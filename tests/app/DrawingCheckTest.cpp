// The findings of a check over drawings built part by part: each row is a drawing and exactly
// the findings it must give, so a missed finding and a false alarm both fail.

#include <gtest/gtest.h>

#include "app/DrawingCheck.h"
#include "tests/app/CheckFixtures.h"

namespace wemb {
namespace {

using testing::drawing;
using testing::sheets;

// Q4 and D2 stand for a quad and a dual part, VCCQ4 for the power pins of Q4.
const testing::TableLibraries kLibraries({{"R", 1}, {"Q4", 4}, {"D2", 2}, {"C", 0}, {"VCCQ4", 1}});

// The findings as "kind part" in their order, the part by its place in the file.
std::string found(const DrawingCheck& check) {
    static const char* const kKinds[] = {"dup", "missing", "range", "names", "limit", "passed"};
    static const char* const kReasons[] = {"", " power", " empty", " unnamed"};
    std::string text;
    for (const Finding& f : check.findings) {
        text += std::string(text.empty() ? "" : ", ") + kKinds[static_cast<int>(f.kind)] + " " +
                std::to_string(f.part.index) + kReasons[static_cast<int>(f.reason)];
    }
    return text;
}

TEST(DrawingCheck, FindsExactlyWhatIsWrong) {
    const struct {
        const char *fault, *drawing, *expected;
        bool dependenceName = false;
    } cases[] = {
        {"distinct numbers taken for duplicates", "R1, R2, C1/100n/C", ""},
        {"two resistors sharing R5 missed", "R5, R5/4k7", "dup 0, dup 1"},
        {"R5 and R05 taken for two numbers", "R5, R05", "dup 0, dup 1"},
        {"a number shared across sheets missed", "R5 | R5", "dup 0, dup 1"},
        {"prefixes compared without case", "r1, R1", ""},
        {"digits only: 12 not read as prefix 1, number 2", "12, 12/4k7", "dup 0, dup 1"},
        {"blocks of one package taken for duplicates", "U1/Q4/Q4/0, U1/Q4/Q4/3, U1/Q4/Q4/1", ""},
        {"a block given twice missed", "U1/Q4/Q4/0, U1/Q4/Q4/1, U1/Q4/Q4/0", "dup 0, dup 1, dup 2"},
        {"blocks of an unknown part taken on trust", "U1/X1/X/0, U1/X1/X/7", ""},
        {"a block past the package taken for one", "U1/Q4/Q4/0, U1/Q4/Q4/4",
         "dup 0, dup 1, range 1"},
        {"a block count of 1, or of 0, taken for none", "R1/10k/R/1, C1/1n/C/1",
         "range 0, range 1"},
        {"blocks under two part names missed", "U1/Q4/Q4/0, U1/D2/D2/1", "names 0, names 1"},
        {"a power-prefixed part apart from its package", "U1/Q4/Q4/0, U1/Q4/VCCQ4/0, U1/Q4/Q4/1",
         ""},
        {"the block of a power-prefixed part checked", "U2/Q4/VCCQ4/9", ""},
        {"two power-prefixed parts on one number", "U1/Q4/Q4, U1/Q4/VCCQ4, U1/Q4/VCCQ4",
         "dup 0, dup 1, dup 2"},
        {"references without a number missed", "R, R?, R1A, R1", "missing 0, missing 1, missing 2"},
        {"an empty reference not passed over", "", "missing 0, passed 0 empty"},
        {"power symbols taken for faults", "GND//GND, #P1//VCC, #P1//VCC",
         "passed 0 power, passed 1 power, passed 2 power"},
        {"a power-prefixed part taken for a power symbol", "U/Q4/VCCQ4", "missing 0"},
        {"the 7-character limit missed", "ABCDEF1, ABCDEFG, ABCDE12/x, ABCDE1/y",
         "missing 1, limit 0, limit 1, limit 2"},
        {"no part name passed over without the option", "R1/", ""},
        {"no part name numbered with the option", "R1/", "passed 0 unnamed", true},
        {"not by sheet, then kind, then file order", "R, R3/a, R3/b | C, R3/c",
         "dup 1, dup 2, missing 0, dup 4, missing 3"},
    };
    for (const auto& c : cases) {
        const Document document = drawing(sheets(c.drawing));
        EXPECT_EQ(found(checkDrawing(document, kLibraries, {c.dependenceName})), c.expected)
            << c.fault;
    }
}

}  // namespace
}  // namespace wemb
