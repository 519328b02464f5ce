#include "platform/Paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/TempDirectory.h"

namespace wemb::platform {
namespace {

using testing::TempDirectory;

// `sibling` is where QUIL.INI or the backup is looked for: "Q" joined to the directory.
TEST(Paths, SplitsIntoDirectoryAndName) {
    const std::tuple<const char*, const char*, const char*, const char*> rows[] = {
        {"amp.CE2", "", "amp.CE2", "Q"},
        {"/home/u/data/amp.CE2", "/home/u/data", "amp.CE2", "/home/u/data/Q"},
        {"/amp.CE2", "/", "amp.CE2", "/Q"},
        {"a/c//b", "a/c", "b", "a/c/Q"},
        {"d/ir/", "d/ir", "", "d/ir/Q"},
#ifdef _WIN32
        {"C:\\QUIL\\amp.CE2", "C:\\QUIL", "amp.CE2", "C:\\QUIL\\Q"},
        {"C:\\amp.CE2", "C:\\", "amp.CE2", "C:\\Q"},
        {"C:amp.CE2", "C:", "amp.CE2", "C:Q"},  // in the current directory of drive C
        {"\\\\srv\\share\\amp.CE2", "\\\\srv\\share\\", "amp.CE2", "\\\\srv\\share\\Q"},
        {"//srv/share/d\\x/amp.CE2", "//srv/share/d\\x", "amp.CE2", "//srv/share/d\\x\\Q"},
        // ソ\表.CE2: UTF-8 inside, so no byte of either character can be taken for "\".
        {"\xe3\x82\xbd\\\xe8\xa1\xa8.CE2", "\xe3\x82\xbd", "\xe8\xa1\xa8.CE2", "\xe3\x82\xbd\\Q"},
#else
        {"//b", "/", "b", "/Q"},
        {"C:\\QUIL\\amp.CE2", "", "C:\\QUIL\\amp.CE2", "Q"},  // a backslash is part of a name
        // A CP932 trail byte 0x5C is no separator.
        {"d\x95\\/\x95\\.CE2", "d\x95\\", "\x95\\.CE2", "d\x95\\/Q"},
#endif
    };
    for (const auto& [path, directory, name, sibling] : rows) {
        EXPECT_EQ(directoryOf(path), directory) << path;
        EXPECT_EQ(fileNameOf(path), name) << path;
        EXPECT_EQ(joinPath(directoryOf(path), "Q"), sibling) << path;
    }
}

TEST(Paths, ResolvesLinksAndTellsReadableFilesAndWritableDirectories) {
    TempDirectory dir;
    testing::writeFile(dir.file("QUIL.INI"), "[LIBRARY]\n");
#ifdef _WIN32
    std::filesystem::copy_file(dir.file("QUIL.INI"), dir.file("link.INI"));  // no links here
#else
    std::filesystem::create_symlink("QUIL.INI", dir.file("link.INI"));
    EXPECT_EQ(resolvedPath(dir.file("link.INI")), std::filesystem::canonical(dir.file("QUIL.INI")));
#endif
    EXPECT_EQ(resolvedPath(dir.file("missing")), "");
    ASSERT_TRUE(std::filesystem::create_directory(dir.file("sub")));
#ifndef _WIN32
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0644), 0);
#endif
    const std::tuple<std::string, bool, bool> rows[] = {
        {dir.file("link.INI"), true, false},
        {dir.file("sub"), false, true},
#ifdef _WIN32
        {dir.file("NUL"), false, false},
        {"CON", false, false},  // and opening it must not wait for typed input
#else
        {dir.file("pipe"), false, false},  // and opening it must not wait for a writer
#endif
        {dir.file("missing"), false, false},
    };
    for (const auto& [path, readable, writableDirectory] : rows) {
        EXPECT_EQ(canOpenForReading(path), readable) << path;
        EXPECT_EQ(isWritableDirectory(path), writableDirectory) << path;
    }
    // Two names of no file (a report not yet written, a sheet not yet made) are not one file.
    EXPECT_FALSE(sameFile(dir.file("missing"), dir.file("missing-too")));
}

}  // namespace
}  // namespace wemb::platform
