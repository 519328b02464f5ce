#include "numbering/ReNum.h"

#include <gtest/gtest.h>

#include "tests/numbering/NumberingTestSupport.h"

namespace wemb {
namespace {

struct ReNumCase {
    const char* rule;
    int initialNumber;
    int step;
    const char* parts;
    const char* expected;
};

const ReNumCase kCases[] = {
    {"closes gaps, shared numbers stay shared", 1, 1, "R7 R3 R10 R7", "R2 R1 R3 R2"},
    {"initial 100 step 10", 100, 10, "R3 R7 R7 R10", "R100 R110 R110 R120"},
    {"position plays no part", 1, 1, "R2@50 R9@10", "R1 R2"},
    {"each prefix starts again, case matters", 1, 1, "C5 R8 C9 r5 r2", "C1 R1 C2 r2 r1"},
    {"no part name: left alone", 1, 1, "R5,~ R9", "R5 R1"},
    {"empty reference stays empty", 1, 1, "~ R4", "~ R1"},
    {"no trailing digits: own group sharing number 0", 1, 1, "R? R5 R?", "R?1 R1 R?1"},
    {"R0 comes first in R", 1, 1, "R4 R0 R", "R2 R1 R1"},
    {"power symbols are renumbered like any part", 1, 1, "P3,N,VCC P8,N,GNDA", "P1 P2"},
    {"cut to the field", 10, 1, "ABCDEF ABCDEF3", "ABCDEF1 ABCDEF1"},
    {"a reference reading empty is left alone", 1, 1, "R5!200 R9", "~ R1"},
    {"a part name length byte of 0 is left alone, whatever follows", 1, 1, "R5,NAME!0 R9", "R5 R1"},
    {"a digit-only reference keeps its first character", 1, 1, "12 19", "11 12"},
};

TEST(ReNum, RenumbersKeepingTheOrderOfOldNumbers) {
    for (const ReNumCase& c : kCases) {
        Document document = test::drawing(c.parts, 0);
        reNum(document, c.initialNumber, c.step);
        EXPECT_EQ(test::shown(document), c.expected) << c.rule;
    }
}

}  // namespace
}  // namespace wemb
