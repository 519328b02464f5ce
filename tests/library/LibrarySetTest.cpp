#include "library/LibrarySet.h"

#include <array>

#include <gtest/gtest.h>

#include "library/BinaryLibraryReader.h"
#include "library/LibraryLoader.h"
#include "tests/support/TempDirectory.h"
#include "tools/gen/BinaryLibraryBuilder.h"
#include "tools/gen/TextLibraryBuilder.h"

namespace wemb {
namespace {

using gen::BinaryComponent;
using gen::BinaryLibraryBuilder;

// A library of one-pin parts: each entry's block count is given with its name.
std::vector<std::uint8_t> libraryOf(std::vector<std::pair<std::string, int>> entries) {
    BinaryLibraryBuilder builder;
    for (const auto& [name, blocks] : entries) {
        BinaryComponent part;
        part.blockCount = static_cast<std::uint8_t>(blocks);
        builder.addEntry(name, builder.addComponent(part));
    }
    return builder.bytes();
}

// "L3.LIB" and the like, built without operator+ on a literal, which g++ 12 warns about wrongly.
std::string numbered(std::string_view head, int number, std::string_view tail) {
    std::string text(head);
    text += std::to_string(number);
    text += tail;
    return text;
}

// --- Loading one library ---

struct LoadCase {
    const char* fault;
    std::string fileName;  // "" for a path that does not exist
    std::vector<std::uint8_t> bytes;
    std::string refusal;  // why it is not loaded, as the user reads it; "" when it loads
};

std::vector<std::uint8_t> example() {
    return gen::exampleBinaryLibrary().bytes();
}
std::vector<std::uint8_t> exampleOfSize(std::size_t size) {
    std::vector<std::uint8_t> bytes = example();
    bytes.resize(size, 0);
    return bytes;
}

constexpr const char* kTooShort15 =
    "the file is 15 bytes long, too short for a library's head and data (at least 58 bytes)";
constexpr const char* kTooShort54 =
    "the file is 54 bytes long, too short for a library's head and data (at least 58 bytes)";
constexpr const char* kTooLong =
    "the file is longer than 65589 bytes, the most a binary library can be";
constexpr const char* kNotText =
    "line 1, column 1: expected \"+RIRI3_DAR_I.1.0\" but found \"LIB FOR "
    "RI000\\x1A\\x00\\x00\\x04\\x006\\x00\\x00\\x00F\\x00...\"";

TEST(LoadOneLibrary, LoadsOnlyWhatItCanRead) {
    const LoadCase cases[] = {
        {"binary library refused", "PARTS.LIB", example(), ""},
        {"name without extension not read as binary", "PARTS", example(), ""},
        {"extension taken from the first dot", "LB3.LIB", example(), ""},
        {"missing file loaded", "", {}, "No such file or directory"},
        {"15-byte file loaded", "SHORT.LIB", exampleOfSize(15), kTooShort15},
        {"head without body loaded", "HEAD.LIB", exampleOfSize(54), kTooShort54},
        {"file of 65,589 bytes refused", "FULL.LIB", gen::largestBinaryLibrary("A"), ""},
        {"file over 65,589 bytes loaded", "LONG.LIB", exampleOfSize(65590), kTooLong},
        {"binary named .LB3 not sent to the text reader", "PARTS.LB3", example(), kNotText},
        {".lb3 in lower case read as binary", "parts.lb3", example(), kNotText},
        {".Lb3 in mixed case read as binary", "parts.Lb3", example(), kNotText}};
    for (const LoadCase& c : cases) {
        const testing::TempDirectory folder;
        const std::string path =
            c.fileName.empty() ? folder.file("missing.lib") : folder.write(c.fileName, c.bytes);
        std::vector<std::uint8_t> workBuffer(kBinaryBodyCapacity);
        Library library;
        const ReadResult<> loaded = loadLibrary(library, path, workBuffer);
        EXPECT_EQ(loaded ? "" : describe(loaded.error()), c.refusal) << c.fault;
        EXPECT_EQ(loaded ? path : loaded.error().file, path) << c.fault;
        EXPECT_EQ(library.path(), loaded ? std::optional(path) : std::nullopt) << c.fault;
    }
}

TEST(TextLibraryPaths, AreKnownByTheLastExtensionOfTheFileName) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"upper case missed", "C:\\QUIL\\PARTS.LB3", true},
        {"lower case missed", "parts.lb3", true},
        {"only the extension missed", ".LB3", true},
        {"not the last dot", "PARTS.LB3.BAK", false},
        {"folder's extension taken", "LIB.LB3/PARTS", false},
        {"Windows folder's extension taken", "LIB.LB3\\PARTS", false},
        {"prefix match taken", "PARTS.LB30", false},
        {"suffix match taken", "PARTS.XLB3", false}};
    for (const auto& [fault, path, text] : cases) {
        EXPECT_EQ(isTextLibraryPath(path), text) << fault;
    }
}

// --- The set ---

TEST(LibrarySet, FailingSecondLibraryFreesTheFirstAndIsNamed) {
    const testing::TempDirectory folder;
    const std::string first = folder.write("A.LIB", libraryOf({{"LM324", 4}}));
    const std::string second = folder.file("B.LIB");
    const LibrarySetLoad load = LibrarySet::load({first, second, folder.write("C.LIB", example())});
    EXPECT_FALSE(load.loaded());
    ASSERT_TRUE(load.failedLibrary);
    EXPECT_EQ(load.failedLibrary->file, second);
    EXPECT_EQ(load.failedLibrary->kind, FileErrorKind::CannotOpen);
    EXPECT_TRUE(load.set.empty());
    EXPECT_EQ(load.set.findLibraryEntry("LM324"), nullptr);
}

// Where a name is found: "LIBRARY:ENTRY bBLOCKS", or the outputs left as they were ("42:42").
TEST(LibrarySet, FindsTheFirstEntryOfANameInLibraryOrder) {
    const testing::TempDirectory folder;
    gen::TextLibraryBuilder text;
    text.component({.name = "NE5532", .blocks = 2, .prefix = "IC"});
    BinaryLibraryBuilder noRecord;
    noRecord.addEntry("W", gen::kNoComponent).addEntry("R", noRecord.addComponent({}));
    const LibrarySetLoad load = LibrarySet::load(
        {folder.write("A.LIB", libraryOf({{"R", 1}, {"X", 2}, {"X", 3}, {"LM324", 4}})),
         folder.write("B.LIB", libraryOf({{"Y", 5}, {"R", 7}, {"X", 9}})),
         folder.write("C.LIB", noRecord.bytes()),
         folder.write("D.LIB", libraryOf({{"V", 3}, {"W", 8}})),
         folder.write("extra.lb3", text.bytes())});
    ASSERT_TRUE(load.loaded()) << describe(*load.failedLibrary);
    const std::pair<const char*, const char*> cases[] = {
        {"R", "0:0 b1"},       // a later library won
        {"X", "0:1 b2"},       // a later entry of one library won
        {"Y", "1:0 b5"},       // the second library not searched
        {"W", "3:1 b8"},       // an entry without a part taken
        {"NE5532", "4:0 b2"},  // a text library not searched with the binary ones
        {"lm324", "42:42"},    // names compared ignoring case
        {"LM32", "42:42"},     // a prefix of a name taken
        {"LM3240", "42:42"},   // a name taken as a prefix
        {"LM324 ", "42:42"},   // blanks trimmed
        {"", "42:42"},         // the empty name matched
    };
    for (const auto& [name, expected] : cases) {
        int library = 42;
        int entry = 42;
        const LibraryEntry* found = load.set.findLibraryEntry(name, &library, &entry);
        std::string where = std::to_string(library) + ":" + std::to_string(entry);
        if (found != nullptr) {
            where += " b" + std::to_string(found->blockCount());
            EXPECT_EQ(found, load.set.library(library)->getEntry(entry)) << name;
        }
        EXPECT_EQ(where, expected) << name;
        EXPECT_EQ(load.set.findLibraryEntry(name), found) << name;  // outputs may be left out
    }
}

TEST(LibrarySet, LoadsAtMostSixteenLibraries) {
    const testing::TempDirectory folder;
    std::vector<std::string> paths;
    for (int i = 0; i < 16; ++i) {
        paths.push_back(
            folder.write(numbered("L", i, ".LIB"), libraryOf({{numbered("P", i, ""), 1}})));
    }
    for (int i = 16; i < 20; ++i) {
        paths.push_back(folder.file(numbered("L", i, ".LIB")));  // never opened
    }
    const LibrarySetLoad load = LibrarySet::load(paths);
    ASSERT_TRUE(load.loaded());
    EXPECT_EQ(load.set.libraryCount(), 16);
    int library = -1;
    EXPECT_NE(load.set.findLibraryEntry("P15", &library), nullptr);
    EXPECT_EQ(library, 15);
    EXPECT_EQ(load.set.library(16), nullptr);
}

}  // namespace
}  // namespace wemb
