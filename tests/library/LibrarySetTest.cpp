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

class LoadOneLibrary : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadOneLibrary, LoadsOnlyWhatItCanRead) {
    const LoadCase& c = GetParam();
    const testing::TempDirectory folder;
    const std::string path =
        c.fileName.empty() ? folder.file("missing.lib") : folder.write(c.fileName, c.bytes);
    std::vector<std::uint8_t> workBuffer(kBinaryBodyCapacity);
    Library library;
    const ReadResult<> loaded = loadLibrary(library, path, workBuffer);
    EXPECT_EQ(loaded ? "" : describe(loaded.error()), c.refusal) << c.fault;
    EXPECT_EQ(loaded ? path : loaded.error().file, path) << c.fault;
    EXPECT_EQ(library.path().has_value(), c.refusal.empty()) << c.fault;
    if (loaded) {
        EXPECT_EQ(*library.path(), path) << c.fault;
    }
}

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

INSTANTIATE_TEST_SUITE_P(
    Files, LoadOneLibrary,
    ::testing::Values(
        LoadCase{"binary library refused", "PARTS.LIB", example(), ""},
        LoadCase{"name without extension not read as binary", "PARTS", example(), ""},
        LoadCase{"extension taken from the first dot", "LB3.LIB", example(), ""},
        LoadCase{"missing file loaded", "", {}, "No such file or directory"},
        LoadCase{"15-byte file loaded", "SHORT.LIB", exampleOfSize(15), kTooShort15},
        LoadCase{"head without body loaded", "HEAD.LIB", exampleOfSize(54), kTooShort54},
        LoadCase{"file of 65,589 bytes refused", "FULL.LIB", gen::largestBinaryLibrary("A"), ""},
        LoadCase{"file over 65,589 bytes loaded", "LONG.LIB", exampleOfSize(65590), kTooLong},
        LoadCase{"binary named .LB3 not sent to the text reader", "PARTS.LB3", example(), kNotText},
        LoadCase{".lb3 in lower case read as binary", "parts.lb3", example(), kNotText},
        LoadCase{".Lb3 in mixed case read as binary", "parts.Lb3", example(), kNotText}));

struct ExtensionCase {
    const char* fault;
    const char* path;
    bool text;
};

class TextLibraryPaths : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(TextLibraryPaths, AreKnownByTheLastExtensionOfTheFileName) {
    EXPECT_EQ(isTextLibraryPath(GetParam().path), GetParam().text) << GetParam().fault;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, TextLibraryPaths,
    ::testing::Values(ExtensionCase{"upper case missed", "C:\\QUIL\\PARTS.LB3", true},
                      ExtensionCase{"lower case missed", "parts.lb3", true},
                      ExtensionCase{"only the extension missed", ".LB3", true},
                      ExtensionCase{"not the last dot", "PARTS.LB3.BAK", false},
                      ExtensionCase{"folder's extension taken", "LIB.LB3/PARTS", false},
                      ExtensionCase{"Windows folder's extension taken", "LIB.LB3\\PARTS", false},
                      ExtensionCase{"prefix match taken", "PARTS.LB30", false},
                      ExtensionCase{"suffix match taken", "PARTS.XLB3", false}));

// --- The set ---

class LibrarySetTest : public ::testing::Test {
  protected:
    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        return folder_.write(name, bytes);
    }
    std::string missing(const std::string& name) const { return folder_.file(name); }

  private:
    testing::TempDirectory folder_;
};

TEST_F(LibrarySetTest, FailingSecondLibraryFreesTheFirstAndIsNamed) {
    const std::string first = write("A.LIB", libraryOf({{"LM324", 4}}));
    const std::string second = missing("B.LIB");
    const LibrarySetLoad load = LibrarySet::load({first, second, write("C.LIB", example())});
    EXPECT_FALSE(load.loaded());
    ASSERT_TRUE(load.failedLibrary);
    EXPECT_EQ(load.failedLibrary->file, second);
    EXPECT_EQ(load.failedLibrary->kind, FileErrorKind::CannotOpen);
    EXPECT_TRUE(load.set.empty());
    EXPECT_EQ(load.set.findLibraryEntry("LM324"), nullptr);
}

TEST_F(LibrarySetTest, FirstMatchWinsAcrossLibrariesThenWithinOne) {
    const LibrarySetLoad load =
        LibrarySet::load({write("A.LIB", libraryOf({{"R", 1}, {"X", 2}, {"X", 3}})),
                          write("B.LIB", libraryOf({{"Y", 5}, {"R", 7}, {"X", 9}}))});
    ASSERT_TRUE(load.loaded());
    struct Case {
        const char* fault;
        const char* name;
        int library;
        int entry;
        int blocks;
    };
    const std::array<Case, 3> cases = {{
        {"later library won", "R", 0, 0, 1},
        {"later entry of one library won", "X", 0, 1, 2},
        {"second library not searched", "Y", 1, 0, 5},
    }};
    for (const Case& c : cases) {
        int library = -1;
        int entry = -1;
        const LibraryEntry* found = load.set.findLibraryEntry(c.name, &library, &entry);
        ASSERT_NE(found, nullptr) << c.fault;
        EXPECT_EQ(library, c.library) << c.fault;
        EXPECT_EQ(entry, c.entry) << c.fault;
        EXPECT_EQ(found->blockCount(), c.blocks) << c.fault;
        EXPECT_EQ(found, load.set.library(c.library)->getEntry(c.entry)) << c.fault;
    }
}

TEST_F(LibrarySetTest, NamesMatchExactlyAndMissesLeaveTheOutputs) {
    const LibrarySetLoad load = LibrarySet::load({write("A.LIB", libraryOf({{"LM324", 4}}))});
    ASSERT_TRUE(load.loaded());
    int library = 42;
    int entry = 43;
    for (const char* name : {"lm324", "LM32", "LM3240", "LM324 ", ""}) {
        EXPECT_EQ(load.set.findLibraryEntry(name, &library, &entry), nullptr) << name;
    }
    EXPECT_EQ(library, 42);
    EXPECT_EQ(entry, 43);
    EXPECT_NE(load.set.findLibraryEntry("LM324"), nullptr);  // outputs may be left out
}

TEST_F(LibrarySetTest, EntriesWithoutPartArePassedOver) {
    BinaryLibraryBuilder noRecord;
    noRecord.addEntry("X", gen::kNoComponent).addEntry("R", noRecord.addComponent({}));
    const LibrarySetLoad load =
        LibrarySet::load({write("A.LIB", noRecord.bytes()), write("B.LIB", libraryOf({{"X", 3}}))});
    ASSERT_TRUE(load.loaded());
    int library = -1;
    const LibraryEntry* found = load.set.findLibraryEntry("X", &library);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(library, 1);
    EXPECT_EQ(found->blockCount(), 3);
}

TEST_F(LibrarySetTest, LoadsAtMostSixteenLibraries) {
    std::vector<std::string> paths;
    for (int i = 0; i < 16; ++i) {
        paths.push_back(write(numbered("L", i, ".LIB"), libraryOf({{numbered("P", i, ""), 1}})));
    }
    for (int i = 16; i < 20; ++i) {
        paths.push_back(missing(numbered("L", i, ".LIB")));  // never opened
    }
    const LibrarySetLoad load = LibrarySet::load(paths);
    ASSERT_TRUE(load.loaded());
    EXPECT_EQ(load.set.libraryCount(), 16);
    int library = -1;
    EXPECT_NE(load.set.findLibraryEntry("P15", &library), nullptr);
    EXPECT_EQ(library, 15);
    EXPECT_EQ(load.set.library(16), nullptr);
}

TEST_F(LibrarySetTest, TextAndBinaryLibrariesShareOneSet) {
    gen::TextLibraryBuilder text;
    text.component({.name = "NE5532", .blocks = 2, .prefix = "IC"});
    const LibrarySetLoad load = LibrarySet::load(
        {write("PARTS.lib", libraryOf({{"R", 1}})), write("extra.lb3", text.bytes())});
    ASSERT_TRUE(load.loaded()) << describe(*load.failedLibrary);
    int library = -1;
    const LibraryEntry* found = load.set.findLibraryEntry("NE5532", &library);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(library, 1);
    EXPECT_EQ(found->blockCount(), 2);
}

}  // namespace
}  // namespace wemb
