#include "numbering/ReNum.h"

#include <gtest/gtest.h>

#include "tests/numbering/NumberingTestSupport.h"

namespace wemb {
namespace {

using test::part;
using Parts = std::vector<gen::PartSpec>;
using Refs = std::vector<std::string>;

gen::PartSpec withLengths(gen::PartSpec fields, std::optional<std::uint8_t> partNameLength,
                          std::optional<std::uint8_t> referenceLength) {
    fields.partNameLength = partNameLength;
    fields.referenceLength = referenceLength;
    return fields;
}

struct ReNumCase {
    const char* name;
    int initialNumber;
    int step;
    Parts parts;
    Refs expected;
};

const ReNumCase kCases[] = {
    {"closes gaps, shared numbers stay shared",
     1,
     1,
     {part(0, "R7"), part(0, "R3"), part(0, "R10"), part(0, "R7")},
     {"R2", "R1", "R3", "R2"}},
    {"initial 100 step 10",
     100,
     10,
     {part(0, "R3"), part(0, "R7"), part(0, "R7"), part(0, "R10")},
     {"R100", "R110", "R110", "R120"}},
    {"position plays no part", 1, 1, {part(50, "R2"), part(10, "R9")}, {"R1", "R2"}},
    {"each prefix starts again",
     1,
     1,
     {part(0, "C5"), part(0, "R8"), part(0, "C9")},
     {"C1", "R1", "C2"}},
    {"no part name: left alone", 1, 1, {part(0, "R5", ""), part(0, "R9")}, {"R5", "R1"}},
    {"empty reference stays empty", 1, 1, {part(0, ""), part(0, "R4")}, {"", "R1"}},
    {"no trailing digits: own group sharing number 0",
     1,
     1,
     {part(0, "R?"), part(0, "R5"), part(0, "R?")},
     {"R?1", "R1", "R?1"}},
    {"R0 comes first in R", 1, 1, {part(0, "R4"), part(0, "R0"), part(0, "R")}, {"R2", "R1", "R1"}},
    {"power symbols are renumbered like any part",
     1,
     1,
     {part(0, "P3", "N", "VCC"), part(0, "P8", "N", "GNDA")},
     {"P1", "P2"}},
    {"case matters", 1, 1, {part(0, "r5"), part(0, "R5"), part(0, "r2")}, {"r2", "R1", "r1"}},
    {"cut to the field", 10, 1, {part(0, "ABCDEF"), part(0, "ABCDEF3")}, {"ABCDEF1", "ABCDEF1"}},
    {"a reference reading empty is left alone",
     1,
     1,
     {withLengths(part(0, "R5"), std::nullopt, 200), part(0, "R9")},
     {"", "R1"}},
    {"a part name length byte of 0 is left alone, whatever follows",
     1,
     1,
     {withLengths(part(0, "R5", "NAME"), 0, std::nullopt), part(0, "R9")},
     {"R5", "R1"}},
    {"a digit-only reference keeps its first character",
     1,
     1,
     {part(0, "12"), part(0, "19")},
     {"11", "12"}},
};

TEST(ReNum, RenumbersKeepingTheOrderOfOldNumbers) {
    for (const ReNumCase& c : kCases) {
        Document document = test::makeDocument(c.parts);
        reNum(document, c.initialNumber, c.step);
        EXPECT_EQ(test::references(document), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace wemb
