#include "platform/IniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/TempDirectory.h"

namespace wemb::platform {
namespace {

using testing::contentOf;
using testing::TempDirectory;
using testing::writeFile;

TEST(IniFile, FindsTheValueWindowsWould) {
    struct Row {
        const char* rule;
        std::string text;
        const char* section;
        const char* key;
        std::string expected;  // the default is "DEF"
    };
    const Row rows[] = {
        {"names in other case", "[library]\nlib0=MiXeD\n", "LIBRARY", "LIB0", "MiXeD"},
        {"CR LF line ends", "[S]\r\nk=v\r\nm=w\r\n", "S", "k", "v"},
        {"last line without line end", "[S]\nk=v", "S", "k", "v"},
        {"blanks around names and value", "  [ S ]  \n  k \t=  v w \t\n", "S", "k", "v w"},
        {"double quotes stripped, blanks inside kept", "[S]\nk=\" a \"\n", "S", "k", " a "},
        {"single quotes stripped", "[S]\nk='a b'\n", "S", "k", "a b"},
        {"only one pair of quotes stripped", "[S]\nk=\"\"a\"\"\n", "S", "k", "\"a\""},
        {"mismatched quotes kept", "[S]\nk=\"a'\n", "S", "k", "\"a'"},
        {"lone quote kept", "[S]\nk=\"\n", "S", "k", "\""},
        {"empty value is not the default", "[S]\nk=\n", "S", "k", ""},
        {"comment line ignored", "[S]\n;k=commented\nk=real\n", "S", "k", "real"},
        {"indented comment ignored", "[S]\n  ; k=commented\n", "S", "k", "DEF"},
        {"semicolon and equals inside a value kept", "[S]\nk=a;b=c\n", "S", "k", "a;b=c"},
        {"first key wins", "[S]\nk=first\nk=second\n", "S", "k", "first"},
        {"first section wins", "[S]\nk=first\n[S]\nk=second\n", "S", "k", "first"},
        {"later duplicate section not searched", "[S]\na=1\n[T]\n[S]\nk=v\n", "S", "k", "DEF"},
        {"key of another section not found", "[T]\nk=v\n[S]\nj=w\n", "S", "k", "DEF"},
        {"key before any section not found", "k=v\n[S]\n", "S", "k", "DEF"},
        {"line without equals is no key", "[S]\nk\nk=v\n", "S", "k", "v"},
        {"text after the closing bracket ignored", "[S] ; note\nk=v\n", "S", "k", "v"},
        {"unclosed bracket is no section", "[S]\n[T\nk=v\n", "S", "k", "v"},
        {"CP932 trail byte that looks like a letter folded", "[S]\n\x83\x61=v\n", "S", "\x83\x41",
         "DEF"},
        {"CP932 key and value bytes", "[S]\n\x83\x41=\x95\x94\xB1\n", "S", "\x83\x41",
         "\x95\x94\xB1"},
        {"CP932 section name ending in a bracket byte", "[\x81\x5D]\nk=v\n", "\x81\x5D", "k", "v"},
        {"backslash paths unchanged", "[S]\nk=C:\\QUIL\\std.LB3\n", "S", "k", "C:\\QUIL\\std.LB3"},
        {"binary junk does not match", std::string("\0\xFF[S\0]\n=\n\xFF=\xFE\n", 13), "S", "k",
         "DEF"},
        {"NUL bytes in a value passed on", std::string("[S]\nk=a\0b\n", 10), "S", "k",
         std::string("a\0b", 3)},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(profileValue(row.text, row.section, row.key, "DEF"), row.expected) << row.rule;
    }
}

// Nullopt: the names or the value would break the lines, and nothing is written.
TEST(IniFile, WritingChangesOnlyTheOneKeyOrNothing) {
    struct Row {
        const char* rule;
        std::string text;
        const char* section;
        const char* key;
        std::string value;
        std::optional<std::string> expected;
    };
    const Row rows[] = {
        {"value replaced, spacing before it kept", "[S]\n  k = old  \nj=x\n", "S", "k", "new",
         "[S]\n  k = new\nj=x\n"},
        {"value set empty", "[S]\nk=old\n", "S", "k", "", "[S]\nk=\n"},
        {"key found in other case keeps its spelling", "[s]\nFILE0=old\n", "S", "File0", "new",
         "[s]\nFILE0=new\n"},
        {"only the first of two equal keys changes", "[S]\nk=1\nk=2\n", "S", "k", "x",
         "[S]\nk=x\nk=2\n"},
        {"CR LF kept on the replaced line", "[S]\r\nk=old\r\nj=x\r\n", "S", "k", "new",
         "[S]\r\nk=new\r\nj=x\r\n"},
        {"new key after the last key of its section", "[S]\na=1\n\n[T]\nb=2\n", "S", "k", "v",
         "[S]\na=1\nk=v\n\n[T]\nb=2\n"},
        {"new key before a comment that leads the next section", "[S]\na=1\n; about T\n[T]\n", "S",
         "k", "v", "[S]\na=1\nk=v\n; about T\n[T]\n"},
        {"new key in an empty section", "[S]\n[T]\n", "S", "k", "v", "[S]\nk=v\n[T]\n"},
        {"new key with CR LF", "[S]\r\na=1\r\n", "S", "k", "v", "[S]\r\na=1\r\nk=v\r\n"},
        {"new key after a last line without line end", "[S]\na=1", "S", "k", "v",
         "[S]\na=1\nk=v\n"},
        {"new section after a text without final line end", "[T]\r\nb=2", "S", "k", "v",
         "[T]\r\nb=2\r\n\r\n[S]\r\nk=v\r\n"},
        {"new section after a blank last line", "[T]\nb=2\n\n", "S", "k", "v",
         "[T]\nb=2\n\n[S]\nk=v\n"},
        {"new section in an empty text", "", "Recent File List", "File0", "amp.CE2",
         "[Recent File List]\nFile0=amp.CE2\n"},
        {"comments and foreign lines kept", "; top\n[S]\n;c\nk=old\njunk line\n[T]\nz=1\n", "S",
         "k", "\x95\x94", "; top\n[S]\n;c\nk=\x95\x94\njunk line\n[T]\nz=1\n"},
        {"line break in a value", "[S]\nk=old\n", "S", "k", "a\nb=c", std::nullopt},
        {"NUL in a value", "[S]\nk=old\n", "S", "k", std::string("a\0b", 3), std::nullopt},
        {"equals in a key", "[S]\nk=old\n", "S", "k=x", "v", std::nullopt},
        {"empty key", "[S]\nk=old\n", "S", "", "v", std::nullopt},
        {"key read as a comment", "[S]\nk=old\n", "S", ";k", "v", std::nullopt},
        {"key with a leading blank", "[S]\nk=old\n", "S", " k", "v", std::nullopt},
        {"closing bracket in a section", "[S]\nk=old\n", "S]x", "k", "v", std::nullopt},
        {"line break in a section", "[S]\nk=old\n", "S\nk=v", "k", "v", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        const auto updated = withProfileValue(row.text, row.section, row.key, row.value);
        EXPECT_EQ(updated, row.expected);
        if (updated) {
            EXPECT_EQ(profileValue(*updated, row.section, row.key, "DEF"), row.value);
        }
    }
}

TEST(IniFile, WritingKeepsOtherLinesAndPermissions) {
    TempDirectory dir;
    const std::string path = dir.file("Wemb.INI");
    writeFile(path, "; mine\r\n[Recent File List]\r\nFile0=old\r\n[Other]\r\nx=1\r\n");
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    ASSERT_TRUE(writeProfileString(path, "recent file list", "file0", "new"));
    EXPECT_EQ(contentOf(path), "; mine\r\n[Recent File List]\r\nFile0=new\r\n[Other]\r\nx=1\r\n");
#ifdef _WIN32
    return;  // Windows keeps no permission bits
#endif
    struct stat status {};
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
}

// Things under the settings file's name that are not a settings file: reading gives the default
// and writing leaves them alone.
TEST(IniFile, WhatIsNotASettingsFileIsNeitherReadNorReplaced) {
    TempDirectory dir;
    ASSERT_TRUE(std::filesystem::create_directory(dir.file("folder.INI")));
    writeFile(dir.file("huge.INI"), "");
    std::filesystem::resize_file(dir.file("huge.INI"), kMaxProfileFileSize + 1);  // sparse
    writeFile(dir.file("full.INI"), "[S]\nk=v\n");  // just as large as a settings file may be
    std::filesystem::resize_file(dir.file("full.INI"), kMaxProfileFileSize);
    EXPECT_EQ(readProfileString(dir.file("full.INI"), "S", "k", "DEF"), "v");
#ifdef _WIN32
    const char* device = "NUL.INI";
    writeFile(dir.file("pipe.INI"), "");  // stands for the FIFO the others have
#else
    const char* device = "pipe.INI";
    ASSERT_EQ(::mkfifo(dir.file("pipe.INI").c_str(), 0644), 0);
#endif
    const std::pair<const char*, const char*> cases[] = {
        {"folder.INI", "Is a directory"},
        {device, "Invalid argument"},
        {"huge.INI", "the file is larger than 16777216 bytes, more than a settings file can be"},
        {"missing.INI", "No such file or directory"}};
    for (const auto& [name, reason] : cases) {
        EXPECT_EQ(readProfileString(dir.file(name), "S", "k", "DEF"), "DEF") << name;
        EXPECT_EQ(readProfileFile(dir.file(name)).error().detail, reason) << name;
        EXPECT_EQ(writeProfileString(dir.file(name), "S", "k", "v"), name[0] == 'm') << name;
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("folder.INI")));
#ifndef _WIN32
    EXPECT_TRUE(std::filesystem::is_fifo(dir.file("pipe.INI")));
#endif
    EXPECT_EQ(std::filesystem::file_size(dir.file("huge.INI")), kMaxProfileFileSize + 1);
    EXPECT_EQ(dir.names().size(), 5u);
}

}  // namespace
}  // namespace wemb::platform
