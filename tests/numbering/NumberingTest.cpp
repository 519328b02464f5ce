#include "numbering/Autonum.h"

#include <gtest/gtest.h>

#include "numbering/ReNum.h"
#include "tests/numbering/NumberingTestSupport.h"

namespace wemb {
namespace {

// ReNum takes only the initial number and the step of the settings; its parts start with block
// 0, those of Autonum with block 7, so that a block written ("#N", none for 0) or kept shows.
struct Mode {
    int initialNumber = 1;
    int step = 1;
    bool reNum = false;
    bool lockedMode = false;
    bool dependenceNameMode = false;
};
constexpr bool kReNum = true;
constexpr Mode kOriginal{};
constexpr Mode kLocked{.lockedMode = true};
constexpr Mode kOriginalByName{.dependenceNameMode = true};
constexpr Mode kLockedByName{.lockedMode = true, .dependenceNameMode = true};

struct NumberingCase {
    Mode mode;
    const char* parts;
    const char* expected;
};

const NumberingCase kCases[] = {
    // position order, ties in file order
    {kOriginal, "R5@30 R1@10 R9@20 R@10", "R4 R1 R3 R2"},
    // each prefix counts apart, case matters
    {kOriginal, "C3 R8 C1 r5", "C1 R1 C2 r1"},
    // locked keeps the numbers of earlier and later parts and reserves them
    {kLocked, "R R1 R R3 R", "R2 R1#7 R4 R3#7 R5"},
    // a prefix without digits is kept whole, apart from R, and numbered even when locked
    {kLocked, "R? R R1 R?", "R?1 R2 R1#7 R?2"},
    // initial 100 step 10
    {{100, 10}, "R R R", "R100 R110 R120"},
    // an empty reference stays empty and keeps its block
    {kOriginal, "~ R", "~#7 R1"},
    // by name, locked: a nameless part is neither numbered nor reserved
    {kLockedByName, "R1,~ R", "R1#7 R1"},
    // by name: a nameless part is neither numbered nor reserved
    {kOriginalByName, "R7,~ R3", "R7#7 R1"},
    // without by-name, nameless parts are numbered, share packages and match
    {kOriginal, "U,~,Q4 U,~,Q4 U,~,VCC1", "U1 U1#1 U1#7"},
    // four blocks fill one package, a fifth opens the next
    {kOriginal, "U,A,Q4 U,A,Q4 U,A,Q4 U,A,Q4 U,A,Q4", "U1 U1#1 U1#2 U1#3 U2"},
    // interleaved package and single part
    {kOriginal, "U,A,Q4 U,B,ONE U,A,Q4 U,A,Q4 U,A,Q4 U,A,Q4", "U1 U2 U1#1 U1#2 U1#3 U3"},
    // a library name that fills its field has no terminator
    {kOriginal, "U,A,QUAD000000000004 U,A,QUAD000000000004", "U1 U1#1"},
    // block count 0 or 1 or unknown is a single block
    {kOriginal, "U,A,ZERO U,A,ZERO U,A,NOWHERE", "U1 U2 U3"},
    // locked: a new part does not join the package of numbered parts
    {kLocked, "U1,A,Q4 U1,A,Q4#1 U,A,Q4", "U1#7 U1#1 U2"},
    // one part name shares its package across prefixes
    {kLocked, "IC1,A,Q4#0 U,A,Q4 IC,A,Q4", "IC1 U1 IC1#1"},
    // power symbols are never touched nor reserved
    {kLocked, "R1,N,VCC R G,N,GND", "R1#7 R1 G#7"},
    // power-prefixed parts follow the main parts' numbers, then draw fresh ones
    {kOriginal, "U,A,Q4 U,A,Q4 U,A,Q4 U,A,Q4 U,A,Q4 U,A,VCC5 U,A,VCC5 U,A,VCC5",
     "U1 U1#1 U1#2 U1#3 U2 U1#7 U2#7 U3#7"},
    // a power-prefixed part without a match draws after all main numbers
    {kOriginal, "R,X,VCC5 R,Y R,Y", "R3#7 R1 R2"},
    // power-prefixed matching needs the same part name and prefix
    {kOriginal, "R,A C,B R,B R,B,GNDX", "R1 C1 R2 R2#7"},
    // locked: a numbered power-prefixed part keeps it and reserves it
    {kLocked, "R R1,N,VCC5", "R2 R1#7"},
    // locked: matches come in position order and must rise
    {kLocked, "U5,A U3,A U,A,VSSX U,A,VSSX U,A,VSSX", "U5#7 U3#7 U5#7 U1#7 U3#7"},
    // by name: nameless main parts are passed over in matching
    {kOriginalByName, "R,~ R,N R,N,VCC1 R,N,VCC1", "R#7 R1 R1#7 R2#7"},
    // digit-only references keep their first character
    {kOriginal, "12 5", "11 51"},
    // numbers that do not fit are cut
    {{99, 1}, "ABCDEF ABCDEF", "ABCDEF9 ABCDEF1"},
    // ReNum: closes gaps, shared numbers stay shared
    {{1, 1, kReNum}, "R7 R3 R10 R7", "R2 R1 R3 R2"},
    // ReNum: initial 100 step 10
    {{100, 10, kReNum}, "R3 R7 R7 R10", "R100 R110 R110 R120"},
    // ReNum: no part name: left alone
    {{1, 1, kReNum}, "R5,~ R9", "R5 R1"},
    // ReNum: no trailing digits: own group sharing number 0
    {{1, 1, kReNum}, "R? R5 R?", "R?1 R1 R?1"},
    // ReNum: cut to the field
    {{10, 1, kReNum}, "ABCDEF ABCDEF3", "ABCDEF1 ABCDEF1"},
    // ReNum: a digit-only reference keeps its first character
    {{1, 1, kReNum}, "12 19", "11 12"},
    // ReNum: leading zeros are no part of the prefix, a digit inside one is
    {{1, 1, kReNum}, "IC007 IC3 R1A R1A2", "IC2 IC1 R1A1 R1A2"},
};

TEST(Numbering, NumbersLikeTheEditorExpects) {
    for (const NumberingCase& c : kCases) {
        const Mode& mode = c.mode;
        Document document = test::drawing(c.parts, mode.reNum ? 0 : 7);
        if (mode.reNum) {
            reNum(document, mode.initialNumber, mode.step);
        } else {
            autonum(
                document, {mode.initialNumber, mode.step, mode.lockedMode, mode.dependenceNameMode},
                test::FakeLibraries({{"Q4", 4}, {"ONE", 1}, {"ZERO", 0}, {"QUAD000000000004", 4}}));
        }
        EXPECT_EQ(test::shown(document), c.expected) << c.parts;
    }
}

TEST(Autonum, LeavesADocumentWithoutPartsAsItIs) {
    gen::DataFileBuilder builder;
    builder.header().record(3).variableRecord(20, 30);
    Document document = test::parseDocument(builder.bytes());
    autonum(document, {}, NoLibraries{});
    const auto sheet = document.sheet(0);  // the only one
    EXPECT_EQ(std::vector<std::uint8_t>(sheet.begin(), sheet.end()), builder.bytes());
}

}  // namespace
}  // namespace wemb
