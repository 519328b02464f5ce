// The findings of a check over drawings built part by part: each row is a drawing and exactly
// the findings it must give, so a missed finding and a false alarm both fail.

#include <gtest/gtest.h>

#include "app/DrawingCheck.h"
#include "tests/check/CheckFixtures.h"

namespace wemb {
namespace {

using gen::PartSpec;
using testing::drawing;
using testing::TableLibraries;
using K = FindingKind;

struct Expected {
    FindingKind kind;
    std::size_t index;  // the part, in file order
    PassReason reason = PassReason::None;

    bool operator==(const Expected&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Expected& e) {
    return out << "{kind " << static_cast<int>(e.kind) << ", part " << e.index << ", reason "
               << static_cast<int>(e.reason) << "}";
}

std::vector<Expected> found(const DrawingCheck& check) {
    std::vector<Expected> result;
    for (const Finding& f : check.findings) {
        result.push_back({f.kind, f.part.index, f.reason});
    }
    return result;
}

PartSpec part(std::string reference, std::string partName = "10k", std::string library = "R",
              std::uint8_t block = 0, std::int16_t x = 100) {
    return {.x = x,
            .y = 0,
            .partName = std::move(partName),
            .reference = std::move(reference),
            .libraryName = std::move(library),
            .block = block};
}

const std::map<std::string, int> kLibraries = {
    {"R", 1}, {"LM324", 4}, {"LM358", 2}, {"C", 0}, {"VCCLM324", 1}};

TEST(DrawingCheck, FindsExactlyWhatIsWrong) {
    const struct {
        const char* name;
        std::vector<std::vector<PartSpec>> sheets;
        std::vector<Expected> expected;  // by sheet, kind, then file order
        bool dependenceName = false;
    } cases[] = {
        {"distinct numbers", {{part("R1"), part("R2"), part("C1", "100n", "C")}}, {}},
        {"two resistors share R5",
         {{part("R5"), part("R5", "4k7")}},
         {{K::DuplicateReference, 0}, {K::DuplicateReference, 1}}},
        {"R5 and R05 carry one number",
         {{part("R5"), part("R05")}},
         {{K::DuplicateReference, 0}, {K::DuplicateReference, 1}}},
        {"a number is shared across sheets",
         {{part("R5")}, {part("R5")}},
         {{K::DuplicateReference, 0}, {K::DuplicateReference, 1}}},
        {"prefixes differ in letter case", {{part("r1"), part("R1")}}, {}},
        {"digits only: 12 is prefix 1, number 2",
         {{part("12"), part("12", "4k7")}},
         {{K::DuplicateReference, 0}, {K::DuplicateReference, 1}}},
        {"blocks of one package share a number",
         {{part("U1", "LM324", "LM324", 0), part("U1", "LM324", "LM324", 3),
           part("U1", "LM324", "LM324", 1)}},
         {}},
        {"a block given twice is a duplicate",
         {{part("U1", "LM324", "LM324", 0), part("U1", "LM324", "LM324", 0)}},
         {{K::DuplicateReference, 0}, {K::DuplicateReference, 1}}},
        {"blocks of a part no library knows are taken on trust",
         {{part("U1", "X1", "UNKNOWN", 0), part("U1", "X1", "UNKNOWN", 7)}},
         {}},
        {"a block past the package is out of range and no block of it",
         {{part("U1", "LM324", "LM324", 0), part("U1", "LM324", "LM324", 4)}},
         {{K::DuplicateReference, 0}, {K::DuplicateReference, 1}, {K::BlockOutOfRange, 1}}},
        {"a single-block part with block 1",
         {{part("R1", "10k", "R", 1)}},
         {{K::BlockOutOfRange, 0}}},
        {"a block count of 0 means one block",
         {{part("C1", "100n", "C", 1)}},
         {{K::BlockOutOfRange, 0}}},
        {"blocks under two part names",
         {{part("U1", "LM324", "LM324", 0), part("U1", "LM358", "LM358", 1)}},
         {{K::PackageNameMismatch, 0}, {K::PackageNameMismatch, 1}}},
        {"a power-prefixed part follows its package",
         {{part("U1", "LM324", "LM324", 0), part("U1", "LM324", "VCCLM324", 0),
           part("U1", "LM324", "LM324", 1)}},
         {}},
        {"the block of a power-prefixed part is not checked",
         {{part("U2", "LM324", "VCCLM324", 9)}},
         {}},
        {"two power-prefixed parts on one number",
         {{part("U1", "LM324", "LM324", 0), part("U1", "LM324", "VCCLM324"),
           part("U1", "LM324", "VCCLM324")}},
         {{K::DuplicateReference, 0}, {K::DuplicateReference, 1}, {K::DuplicateReference, 2}}},
        {"references without a number",
         {{part("R"), part("R?"), part("R1A"), part("R1")}},
         {{K::MissingNumber, 0}, {K::MissingNumber, 1}, {K::MissingNumber, 2}}},
        {"an empty reference has no number and is passed over",
         {{part("")}},
         {{K::MissingNumber, 0}, {K::PassedOver, 0, PassReason::EmptyReference}}},
        {"power symbols are only passed over",
         {{part("GND", "", "GND"), part("#P1", "", "VCC"), part("#P1", "", "VCC")}},
         {{K::PassedOver, 0, PassReason::PowerSymbol},
          {K::PassedOver, 1, PassReason::PowerSymbol},
          {K::PassedOver, 2, PassReason::PowerSymbol}}},
        {"a power-prefixed part is numbered, so it is no power symbol",
         {{part("U", "LM324", "VCCLM324")}},
         {{K::MissingNumber, 0}}},
        {"references at the 7-character limit",
         {{part("ABCDEF1"), part("ABCDEFG"), part("ABCDE12", "x"), part("ABCDE1", "y")}},
         {{K::MissingNumber, 1},
          {K::ReferenceAtLimit, 0},
          {K::ReferenceAtLimit, 1},
          {K::ReferenceAtLimit, 2}}},
        {"no part name: numbered unless parts without a name are passed over",
         {{part("R1", "")}},
         {}},
        {"no part name with --dependence-name",
         {{part("R1", "")}},
         {{K::PassedOver, 0, PassReason::EmptyPartName}},
         true},
        {"findings go by sheet, then kind, then file order",
         {{part("R"), part("R3", "a"), part("R3", "b")}, {part("C"), part("R3", "c")}},
         {{K::DuplicateReference, 1},
          {K::DuplicateReference, 2},
          {K::MissingNumber, 0},
          {K::DuplicateReference, 4},
          {K::MissingNumber, 3}}},
    };
    const TableLibraries libraries(kLibraries);
    for (const auto& c : cases) {
        const Document document = drawing(c.sheets);
        const DrawingCheck check = checkDrawing(document, libraries, {c.dependenceName});
        EXPECT_EQ(found(check), c.expected) << c.name;
    }
}

TEST(DrawingCheck, FindingsNameThePartAndWhatIsWrongWithIt) {
    const Document document =
        drawing({{part("R1")},
                 {part("U1", "LM324", "LM324", 5, 4000), part("U1", "LM324", "LM324", 0, -20)}});
    const DrawingCheck check = checkDrawing(document, TableLibraries(kLibraries), {});
    ASSERT_EQ(check.findings.size(), 3u);
    EXPECT_EQ(check.sheetCount, 2);
    EXPECT_EQ(check.partsOnSheet, (std::vector<int>{1, 2}));

    const Finding& outOfRange = check.findings[2];
    EXPECT_EQ(outOfRange.kind, FindingKind::BlockOutOfRange);
    EXPECT_EQ(outOfRange.blockCount, 4);
    EXPECT_EQ(outOfRange.part.sheet, 1);
    EXPECT_EQ(outOfRange.part.x, 4000);  // the record's own, without the sheet offset
    EXPECT_EQ(outOfRange.part.block, 5);
    EXPECT_EQ(outOfRange.part.partName, "LM324");
    EXPECT_EQ(outOfRange.part.libraryName, "LM324");
    EXPECT_EQ(check.findings[0].sharedBy, 2);
    EXPECT_EQ(check.findings[1].part.x, -20);
    EXPECT_EQ(check.problemCount(), 3);
    EXPECT_EQ(check.countOnSheet(1, FindingKind::DuplicateReference), 2);
    EXPECT_EQ(check.countOnSheet(0, FindingKind::DuplicateReference), 0);
}

TEST(DrawingCheck, PartsPassedOverAreNoProblem) {
    const Document document = drawing({{part("GND", "", "GND"), part("R1")}});
    const DrawingCheck check = checkDrawing(document, TableLibraries(kLibraries), {});
    EXPECT_EQ(check.count(FindingKind::PassedOver), 1);
    EXPECT_EQ(check.problemCount(), 0);
}

}  // namespace
}  // namespace wemb
