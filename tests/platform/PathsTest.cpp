#include "platform/Paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/TempDirectory.h"

namespace wemb::platform {
namespace {

using testing::TempDirectory;

TEST(Paths, SplitsIntoDirectoryAndName) {
    struct Row {
        const char* path;
        const char* directory;
        const char* name;
    } const rows[] = {
        {"amp.CE2", "", "amp.CE2"},
        {"/home/u/data/amp.CE2", "/home/u/data", "amp.CE2"},
        {"/amp.CE2", "/", "amp.CE2"},
        {"a//b", "a", "b"},
        {"//b", "/", "b"},
        {"dir/", "dir", ""},
        {"C:\\QUIL\\amp.CE2", "", "C:\\QUIL\\amp.CE2"},   // a backslash is part of a Linux name
        {"d\x95\\/\x95\\.CE2", "d\x95\\", "\x95\\.CE2"},  // a CP932 trail byte 0x5C is no separator
    };
    for (const Row& row : rows) {
        EXPECT_EQ(directoryOf(row.path), row.directory) << row.path;
        EXPECT_EQ(fileNameOf(row.path), row.name) << row.path;
    }
}

TEST(Paths, ResolvesLinksAndTellsReadableFilesAndWritableDirectories) {
    TempDirectory dir;
    testing::writeFile(dir.file("QUIL.INI"), "[LIBRARY]\n");
    std::filesystem::create_symlink("QUIL.INI", dir.file("link.INI"));
    EXPECT_EQ(resolvedPath(dir.file("link.INI")), std::filesystem::canonical(dir.file("QUIL.INI")));
    EXPECT_EQ(resolvedPath(dir.file("missing")), "");
    ASSERT_EQ(::mkdir(dir.file("sub").c_str(), 0755), 0);
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0644), 0);
    struct Row {
        std::string path;
        bool readable;
        bool writableDirectory;
    } const rows[] = {
        {dir.file("link.INI"), true, false},
        {dir.file("sub"), false, true},
        {dir.file("pipe"), false, false},  // and opening it must not wait for a writer
        {dir.file("missing"), false, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(canOpenForReading(row.path), row.readable) << row.path;
        EXPECT_EQ(isWritableDirectory(row.path), row.writableDirectory) << row.path;
    }
}

}  // namespace
}  // namespace wemb::platform
