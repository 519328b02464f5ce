#include "platform/Paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/platform/ScratchDirectory.h"

namespace wemb::platform {
namespace {

using testing::ScratchDirectory;
using testing::writeFile;

// Rows: a path and its directory and name parts.
struct SplitCase {
    const char* path;
    const char* directory;
    const char* name;
};

const SplitCase kSplitCases[] = {
    {"amp.CE2", "", "amp.CE2"},
    {"data/amp.CE2", "data", "amp.CE2"},
    {"/home/u/data/amp.CE2", "/home/u/data", "amp.CE2"},
    {"/amp.CE2", "/", "amp.CE2"},
    {"a//b", "a", "b"},
    {"//b", "/", "b"},
    {"dir/", "dir", ""},
    {"", "", ""},
    {"C:\\QUIL\\amp.CE2", "", "C:\\QUIL\\amp.CE2"},   // a backslash is part of a Linux name
    {"d\x95\\/\x95\\.CE2", "d\x95\\", "\x95\\.CE2"},  // a CP932 trail byte 0x5C is no separator
};

TEST(Paths, SplitsIntoDirectoryAndName) {
    for (const SplitCase& row : kSplitCases) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(directoryOf(row.path), row.directory);
        EXPECT_EQ(fileNameOf(row.path), row.name);
    }
}

// Rows: joining a directory and a name.
struct JoinCase {
    const char* directory;
    const char* name;
    const char* joined;
};

const JoinCase kJoinCases[] = {
    {"", "QUIL.INI", "QUIL.INI"},   {"/q", "QUIL.INI", "/q/QUIL.INI"},
    {"/", "QUIL.INI", "/QUIL.INI"}, {"q/", "QUIL.INI", "q/QUIL.INI"},
    {"/q", "/abs/x", "/abs/x"},
};

TEST(Paths, JoinsDirectoryAndName) {
    for (const JoinCase& row : kJoinCases) {
        SCOPED_TRACE(std::string(row.directory) + " + " + row.name);
        EXPECT_EQ(joinPath(row.directory, row.name), row.joined);
        EXPECT_EQ(directoryOf(joinPath(row.directory, "x")).empty(),
                  std::string_view(row.directory).empty());
    }
}

TEST(Paths, ProgramDirectoryHoldsTheTestProgram) {
    const std::string directory = programDirectory();
    ASSERT_FALSE(directory.empty());
    EXPECT_EQ(std::filesystem::canonical(directory),
              std::filesystem::canonical(std::string(WEMB_BINARY_DIR) + "/bin"));
    EXPECT_TRUE(std::filesystem::exists(joinPath(directory, fileNameOf(programPath()))));
}

TEST(Paths, CurrentDirectoryIsTheProcessWorkingDirectory) {
    EXPECT_EQ(currentDirectory(), std::filesystem::current_path().string());
}

TEST(Paths, LongCurrentDirectoryHasNoLengthLimit) {
    ScratchDirectory dir;
    std::string deep = dir.path();
    for (int i = 0; i < 20; ++i) {
        deep += "/" + std::string(40, static_cast<char>('a' + i));
    }
    std::filesystem::create_directories(deep);
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(deep);
    const std::string current = currentDirectory();
    std::filesystem::current_path(previous);
    EXPECT_EQ(current, std::filesystem::canonical(deep).string());
    EXPECT_GT(current.size(), 800u);
}

TEST(Paths, ResolvesSymbolicLinks) {
    ScratchDirectory dir;
    writeFile(dir.file("target.CE2"), "x");
    std::filesystem::create_symlink("target.CE2", dir.file("link.CE2"));
    const std::string real = std::filesystem::canonical(dir.file("target.CE2")).string();
    EXPECT_EQ(resolvedPath(dir.file("link.CE2")), real);
    EXPECT_EQ(resolvedPath(dir.file("missing.CE2")), "");
}

// Rows: what may be opened as a settings or data file, and what is a directory to write in.
TEST(Paths, TellsReadableFilesAndWritableDirectories) {
    ScratchDirectory dir;
    writeFile(dir.file("QUIL.INI"), "[LIBRARY]\n");
    ASSERT_EQ(::mkdir(dir.file("sub").c_str(), 0755), 0);
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0644), 0);
    struct Case {
        std::string path;
        bool readable;
        bool writableDirectory;
    };
    const Case cases[] = {
        {dir.file("QUIL.INI"), true, false}, {dir.file("sub"), false, true},
        {dir.file("pipe"), false, false},  // and opening it must not wait for a writer
        {dir.file("missing"), false, false}, {dir.path(), false, true},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(canOpenForReading(row.path), row.readable);
        EXPECT_EQ(isWritableDirectory(row.path), row.writableDirectory);
    }
}

}  // namespace
}  // namespace wemb::platform
