#include "library/LibrarySet.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "library/BinaryLibraryReader.h"
#include "library/LibraryLoader.h"
#include "tests/support/TempDirectory.h"
#include "tools/gen/BinaryLibraryBuilder.h"
#include "tools/gen/TextLibraryBuilder.h"

namespace wemb {
namespace {

using gen::BinaryLibraryBuilder;

// A library of one-pin parts: each entry's block count is given with its name.
std::vector<std::uint8_t> libraryOf(std::vector<std::pair<std::string, std::uint8_t>> entries) {
    BinaryLibraryBuilder builder;
    for (const auto& [name, blocks] : entries) {
        builder.addEntry(name, builder.addComponent({.blockCount = blocks}));
    }
    return builder.bytes();
}

std::vector<std::uint8_t> example(std::size_t size = 0) {
    std::vector<std::uint8_t> bytes = gen::exampleBinaryLibrary().bytes();
    bytes.resize(size == 0 ? bytes.size() : size, 0);
    return bytes;
}

constexpr const char* kNotText =
    "line 1, column 1: expected \"+RIRI3_DAR_I.1.0\" but found \"LIB FOR "
    "RI000\\x1A\\x00\\x00\\x04\\x006\\x00\\x00\\x00F\\x00...\"";

// A file of each name (none when it has no bytes), and why it is not loaded as the user reads it
// ("" when it loads): a name whose last extension is ".LB3" in any letter case goes to the text
// reader.
TEST(LoadOneLibrary, LoadsOnlyWhatItCanRead) {
    const std::tuple<std::string, std::vector<std::uint8_t>, std::string> cases[] = {
        {"PARTS.LIB", example(), ""},
        {"PARTS", example(), ""},
        {"LB3.LIB", example(), ""},
        {"PARTS.LB3.BAK", example(), ""},
        {"PARTS.LB30", example(), ""},
        {"PARTS.XLB3", example(), ""},
        {"D.LB3/PARTS", example(), ""},
        {"D.LB3\\PARTS", example(), ""},
        {"missing.LIB", {}, "No such file or directory"},
        {"missing.LB3", {}, "No such file or directory"},
        {"D.LB3", {}, "Is a directory"},
        {"SHORT.LIB", example(15),
         "the file is 15 bytes long, too short for a library's head and data (at least 58 bytes)"},
        {"HEAD.LIB", example(54),
         "the file is 54 bytes long, too short for a library's head and data (at least 58 bytes)"},
        {"FULL.LIB", gen::largestBinaryLibrary("A"), ""},
        {"LONG.LIB", example(65590),
         "the file is longer than 65589 bytes, the most a binary library can be"},
        {"PARTS.LB3", example(), kNotText},
        {"parts.lb3", example(), kNotText},
        {"parts.Lb3", example(), kNotText},
        {".LB3", example(), kNotText},
    };
    const testing::TempDirectory folder;
    std::filesystem::create_directory(folder.file("D.LB3"));
    std::vector<std::uint8_t> workBuffer(kBinaryBodyCapacity);
    for (const auto& [name, bytes, refusal] : cases) {
        const std::string path = bytes.empty() ? folder.file(name) : folder.write(name, bytes);
        Library library;
        const ReadResult<> loaded = loadLibrary(library, path, workBuffer);
        EXPECT_EQ(loaded ? "" : describe(loaded.error()), refusal) << name;
        EXPECT_EQ(loaded ? path : loaded.error().file, path) << name;
        EXPECT_EQ(library.path(), loaded ? std::optional(path) : std::nullopt) << name;
    }
}

// The entry a name finds, by its name and block count ("" when none): every entry's block count
// tells which library and which of its entries won.
TEST(LibrarySet, FindsTheFirstEntryOfANameInLibraryOrder) {
    const testing::TempDirectory folder;
    gen::TextLibraryBuilder text;
    text.component({.name = "NE5532", .blocks = 6, .prefix = "IC"});
    BinaryLibraryBuilder noRecord;
    noRecord.addEntry("W", gen::kNoComponent)
        .addEntry("R", noRecord.addComponent({.blockCount = 10}));
    const LibrarySetLoad load = LibrarySet::load(
        {folder.write("A.LIB", libraryOf({{"R", 1}, {"X", 2}, {"X", 3}, {"LM324", 4}})),
         folder.write("B.LIB", libraryOf({{"Y", 5}, {"R", 7}, {"X", 9}})),
         folder.write("C.LIB", noRecord.bytes()),
         folder.write("D.LIB", libraryOf({{"V", 3}, {"W", 8}})),
         folder.write("extra.lb3", text.bytes())});
    ASSERT_TRUE(load.loaded()) << describe(*load.failedLibrary);
    const std::pair<const char*, const char*> cases[] = {
        {"R", "R b1"},            // a later library won
        {"X", "X b2"},            // a later entry of one library won
        {"Y", "Y b5"},            // the second library not searched
        {"W", "W b8"},            // an entry without a part taken
        {"NE5532", "NE5532 b6"},  // a text library not searched with the binary ones
        {"lm324", ""},            // names compared ignoring case
        {"LM32", ""},             // a prefix of a name taken
        {"LM3240", ""},           // a name taken as a prefix
        {"LM324 ", ""},           // blanks trimmed
        {"", ""},                 // the empty name matched
    };
    for (const auto& [name, expected] : cases) {
        const LibraryEntry* found = load.set.findLibraryEntry(name);
        EXPECT_EQ(
            found ? std::string(found->name) + " b" + std::to_string(found->blockCount()) : "",
            expected)
            << name;
    }
}

// Sixteen libraries load; when one of them fails, the set comes back empty and names it.
TEST(LibrarySet, LoadsAtMostSixteenLibrariesAndNoneWhenOneFails) {
    const testing::TempDirectory folder;
    std::vector<std::string> paths;
    for (int i = 0; i < 20; ++i) {  // the last four are never opened
        const std::string name = std::to_string(i) + "P";
        paths.push_back(i < 16 ? folder.write(name, libraryOf({{name, 1}})) : folder.file(name));
    }
    const LibrarySetLoad load = LibrarySet::load(paths);
    ASSERT_TRUE(load.loaded());
    EXPECT_EQ(load.set.libraryCount(), 16);
    EXPECT_NE(load.set.findLibraryEntry("15P"), nullptr);
    paths[1] = folder.file("gone");
    const LibrarySetLoad failed = LibrarySet::load(paths);
    ASSERT_TRUE(failed.failedLibrary);
    EXPECT_EQ(failed.failedLibrary->file, paths[1]);
    EXPECT_EQ(failed.failedLibrary->kind, FileErrorKind::CannotOpen);
    EXPECT_EQ(failed.set.libraryCount(), 0);
    EXPECT_EQ(failed.set.findLibraryEntry("0P"), nullptr);
}

}  // namespace
}  // namespace wemb
