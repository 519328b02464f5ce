#include "numbering/Autonum.h"

#include <gtest/gtest.h>

#include "tests/numbering/NumberingTestSupport.h"

namespace wemb {
namespace {

using test::part;
using Parts = std::vector<gen::PartSpec>;
using Refs = std::vector<std::string>;
using Blocks = std::vector<int>;

AutonumSettings original() {
    return {1, 1, false, false};
}
AutonumSettings locked() {
    return {1, 1, true, false};
}
AutonumSettings withDependenceName(AutonumSettings settings) {
    settings.dependenceNameMode = true;
    return settings;
}

gen::PartSpec withBlock(gen::PartSpec fields, std::uint8_t block) {
    fields.block = block;
    return fields;
}

// Every part starts with block number 7, so that a block written or not written shows.
Parts startingAtBlock7(Parts parts) {
    for (gen::PartSpec& fields : parts) {
        fields.block = fields.block == 0 ? 7 : fields.block;
    }
    return parts;
}

struct AutonumCase {
    const char* name;
    AutonumSettings settings;
    Parts parts;  // file order; positions as given
    std::map<std::string, int> blockCounts;
    Refs expected;
    Blocks expectedBlocks = {};  // not checked when empty
};

const AutonumCase kCases[] = {
    {"original renumbers in position order",
     original(),
     {part(10, "R5"), part(20, "R1"), part(30, "R9")},
     {},
     {"R1", "R2", "R3"}},
    {"original counts each prefix apart",
     original(),
     {part(10, "C3"), part(20, "R8"), part(30, "C1")},
     {},
     {"C1", "R1", "C2"}},
    {"position order, not file order",
     original(),
     {part(30, "R"), part(10, "R"), part(20, "R")},
     {},
     {"R3", "R1", "R2"}},
    {"locked keeps and reserves numbers",
     locked(),
     {part(10, "R2"), part(20, "R"), part(30, "R"), part(40, "R5")},
     {},
     {"R2", "R1", "R3", "R5"}},
    {"locked reserves numbers of later parts too",
     locked(),
     {part(10, "R"), part(20, "R1")},
     {},
     {"R2", "R1"}},
    {"a prefix without digits is kept whole, apart from R",
     original(),
     {part(10, "R?"), part(20, "R"), part(30, "R?")},
     {},
     {"R?1", "R1", "R?2"}},
    {"a prefix without digits in locked mode",
     locked(),
     {part(10, "R?"), part(20, "R1")},
     {},
     {"R?1", "R1"}},
    {"initial 100 step 10",
     {100, 10, false, false},
     {part(10, "R"), part(20, "R"), part(30, "R")},
     {},
     {"R100", "R110", "R120"}},
    {"an empty reference stays empty and keeps its block",
     original(),
     startingAtBlock7({part(10, ""), part(20, "R")}),
     {},
     {"", "R1"},
     {7, 0}},
    {"dependence-name: a nameless part is neither numbered nor reserved (locked)",
     withDependenceName(locked()),
     {part(10, "R1", ""), part(20, "R")},
     {},
     {"R1", "R1"}},
    {"dependence-name: a nameless part is neither numbered nor reserved (original)",
     withDependenceName(original()),
     {part(10, "R7", ""), part(20, "R3")},
     {},
     {"R7", "R1"}},
    {"without dependence-name, nameless parts are numbered and share packages",
     original(),
     startingAtBlock7({part(10, "U", "", "QUAD"), part(20, "U", "", "QUAD")}),
     {{"QUAD", 4}},
     {"U1", "U1"},
     {0, 1}},
    {"four blocks fill one package, a fifth opens the next",
     original(),
     {part(10, "U", "A", "QUAD"), part(20, "U", "A", "QUAD"), part(30, "U", "A", "QUAD"),
      part(40, "U", "A", "QUAD"), part(50, "U", "A", "QUAD")},
     {{"QUAD", 4}},
     {"U1", "U1", "U1", "U1", "U2"},
     {0, 1, 2, 3, 0}},
    {"interleaved package and single part",
     original(),
     {part(10, "U", "A", "QUAD"), part(20, "U", "B", "ONE"), part(30, "U", "A", "QUAD"),
      part(40, "U", "A", "QUAD"), part(50, "U", "A", "QUAD"), part(60, "U", "A", "QUAD")},
     {{"QUAD", 4}, {"ONE", 1}},
     {"U1", "U2", "U1", "U1", "U1", "U3"},
     {0, 0, 1, 2, 3, 0}},
    {"block count 0 or 1 or unknown is a single block",
     original(),
     startingAtBlock7(
         {part(10, "U", "A", "ZERO"), part(20, "U", "A", "ZERO"), part(30, "U", "A", "NOWHERE")}),
     {{"ZERO", 0}},
     {"U1", "U2", "U3"},
     {0, 0, 0}},
    {"locked: a new part does not join the package of numbered parts",
     locked(),
     startingAtBlock7({withBlock(part(10, "U1", "A", "QUAD"), 0),
                       withBlock(part(20, "U1", "A", "QUAD"), 1), part(30, "U", "A", "QUAD")}),
     {{"QUAD", 4}},
     {"U1", "U1", "U2"},
     {7, 1, 0}},
    {"power symbols are never touched nor reserved",
     locked(),
     startingAtBlock7({part(10, "R1", "N", "VCC"), part(20, "R"), part(30, "G", "N", "GND")}),
     {},
     {"R1", "R1", "G"},
     {7, 0, 7}},
    {"power-prefixed parts follow the main parts' numbers, then draw fresh ones",
     original(),
     startingAtBlock7({part(10, "U", "A", "QUAD"), part(20, "U", "A", "QUAD"),
                       part(30, "U", "A", "QUAD"), part(40, "U", "A", "QUAD"),
                       part(50, "U", "A", "QUAD"), part(60, "U", "A", "VCC5"),
                       part(70, "U", "A", "VCC5"), part(80, "U", "A", "VCC5")}),
     {{"QUAD", 4}},
     {"U1", "U1", "U1", "U1", "U2", "U1", "U2", "U3"},
     {0, 1, 2, 3, 0, 7, 7, 7}},
    {"a power-prefixed part without a match draws after all main numbers",
     original(),
     {part(50, "R", "X", "VCC5"), part(60, "R", "Y"), part(70, "R", "Y")},
     {},
     {"R3", "R1", "R2"}},
    {"power-prefixed matching needs the same part name and prefix",
     original(),
     {part(10, "R", "A"), part(20, "C", "B"), part(30, "R", "B"), part(40, "R", "B", "GNDX")},
     {},
     {"R1", "C1", "R2", "R2"}},
    {"locked: a numbered power-prefixed part keeps it and reserves it",
     locked(),
     {part(10, "R"), part(20, "R1", "N", "VCC5")},
     {},
     {"R2", "R1"}},
    {"locked: matches come in position order and must rise",
     locked(),
     {part(10, "U5", "A"), part(20, "U3", "A"), part(30, "U", "A", "VSSX"),
      part(40, "U", "A", "VSSX"), part(50, "U", "A", "VSSX")},
     {},
     {"U5", "U3", "U5", "U1", "U3"}},
    {"dependence-name: nameless main parts are passed over in matching",
     withDependenceName(original()),
     {part(10, "R", ""), part(20, "R", "N"), part(30, "R", "N", "VCC1"),
      part(40, "R", "N", "VCC1")},
     {},
     {"R", "R1", "R1", "R2"}},
    {"without dependence-name, nameless parts match each other",
     original(),
     {part(10, "R", ""), part(20, "R", "", "VCC1")},
     {},
     {"R1", "R1"}},
    {"parts at one place keep file order",
     original(),
     {part(20, "R"), part(10, "R"), part(10, "R"), part(10, "R")},
     {},
     {"R4", "R1", "R2", "R3"}},
    {"digit-only references keep their first character",
     original(),
     {part(10, "12"), part(20, "5")},
     {},
     {"11", "51"}},
    {"numbers that do not fit are cut",
     {99, 1, false, false},
     {part(10, "ABCDEF"), part(20, "ABCDEF")},
     {},
     {"ABCDEF9", "ABCDEF1"}},
    {"one part name shares its package across prefixes",
     locked(),
     {part(10, "IC1", "A", "QUAD"), part(20, "U", "A", "QUAD"), part(30, "IC", "A", "QUAD")},
     {{"QUAD", 4}},
     {"IC1", "U1", "IC1"},
     {0, 0, 1}},
    {"case matters in prefixes",
     original(),
     {part(10, "r"), part(20, "R"), part(30, "r")},
     {},
     {"r1", "R1", "r2"}},
};

TEST(Autonum, NumbersLikeTheEditorExpects) {
    for (const AutonumCase& c : kCases) {
        Document document = test::makeDocument(c.parts);
        autonum(document, c.settings, test::FakeLibraries(c.blockCounts));
        EXPECT_EQ(test::references(document), c.expected) << c.name;
        if (!c.expectedBlocks.empty()) {
            EXPECT_EQ(test::blockNumbers(document), c.expectedBlocks) << c.name;
        }
    }
}

TEST(Autonum, LeavesADocumentWithoutPartsAsItIs) {
    gen::DataFileBuilder builder;
    builder.header().record(3).variableRecord(20, 30);
    Document document = test::parseDocument(builder.bytes());
    autonum(document, original(), NoLibraries{});
    EXPECT_EQ(std::vector<std::uint8_t>(document.bytes().begin(), document.bytes().end()),
              builder.bytes());
}

}  // namespace
}  // namespace wemb
