// Where Wemb.INI lives, and the recent-file list in it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/RecentFiles.h"
#include "app/Settings.h"
#include "tests/support/TempDirectory.h"

namespace wemb {
namespace {

using Names = std::vector<std::string>;
using testing::readFile;
using testing::TempDirectory;
using testing::writeFile;

TEST(Settings, LocationFollowsTheStartUpRules) {
    const struct {
        const char* fault;
        bool iniInCurrent, programWritable;
        std::string configDirectory, expected;
    } cases[] = {
        {"the working directory's file ignored", true, true, "/cfg", "/run/Wemb.INI"},
        {"the working directory loses to the user's", true, false, "/cfg", "/run/Wemb.INI"},
        {"a writable program directory passed over", false, true, "/cfg", "/opt/w/Wemb.INI"},
#ifdef _WIN32  // "/cfg" stands for %APPDATA%
        {"an installed program writes beside itself", false, false, "/cfg", "/cfg/Wemb/Wemb.INI"},
#else
        {"an installed program writes beside itself", false, false, "/cfg", "/cfg/wemb/Wemb.INI"},
#endif
        {"no configuration directory known", false, false, "", "/opt/w/Wemb.INI"},
    };
    for (const auto& c : cases) {
        const SettingsProbe probe{
            [&](const std::string& path) { return c.iniInCurrent && path == "/run/Wemb.INI"; },
            [&](const std::string& dir) { return c.programWritable && dir == "/opt/w"; },
        };
        EXPECT_EQ(settingsPath({"/run", "/opt/w", c.configDirectory}, probe), c.expected)
            << c.fault;
    }
}

#ifndef _WIN32  // Windows tells Program Files by trying to write there
TEST(Settings, SystemProgramDirectoriesNeverHoldSettings) {
    const struct {
        std::string directory;
        bool system;
    } cases[] = {
        {"/usr/bin", true},   {"/usr/local/bin", true}, {"/opt/wemb/bin", true},
        {"/bin", true},       {"/usr", true},           {"/home/u/wemb/build/bin", false},
        {"/usr2/bin", false}, {"/optical", false},      {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isSystemProgramDirectory(c.directory), c.system) << c.directory;
    }
}
#endif

TEST(Settings, UserConfigDirectoryFollowsXdg) {
    const struct {
        const char* fault;
        const char *xdgConfigHome, *home;
        std::string expected;
    } cases[] = {
        {"XDG_CONFIG_HOME ignored", "/x/cfg", "/home/u", "/x/cfg"},
        {"no default", nullptr, "/home/u", "/home/u/.config"},
        {"an empty XDG_CONFIG_HOME used", "", "/home/u", "/home/u/.config"},
        {"a relative XDG_CONFIG_HOME used", "cfg", "/home/u", "/home/u/.config"},
        {"nothing known still gives a path", nullptr, nullptr, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(userConfigDirectory(c.xdgConfigHome, c.home), c.expected) << c.fault;
    }
}

TEST(RecentFileStore, LoadStopsAtTheFirstGap) {
    const struct {
        const char* fault;
        std::string text;
        Names names;
    } cases[] = {
        {"names out of key order", "File1=b.CE2\nFile0=a.CE2\n", {"a.CE2", "b.CE2"}},
        {"a gap skipped over", "File0=a.CE2\nFile2=c.CE2\n", {"a.CE2"}},
        {"an empty value read as a name", "File0=a.CE2\nFile1=\nFile2=c.CE2\n", {"a.CE2"}},
        {"a fifth key loaded",
         "File0=a\nFile1=b\nFile2=c\nFile3=d\nFile4=e\n",
         {"a", "b", "c", "d"}},
        {"CP932 bytes altered", "File0=\x89\xF1\x98\x48.CE2\n", {"\x89\xF1\x98\x48.CE2"}},
    };
    for (const auto& c : cases) {
        TempDirectory dir;
        writeFile(dir.file("Wemb.INI"), "[Recent File List]\n" + c.text);
        EXPECT_EQ(IniRecentFileStore(dir.file("Wemb.INI")).load(), c.names) << c.fault;
    }
    TempDirectory dir;
    EXPECT_TRUE(IniRecentFileStore(dir.file("Wemb.INI")).load().empty()) << "no file";
    writeFile(dir.file("Wemb.INI"), std::string("[Other]\nFile0=a.CE2\n"));
    EXPECT_TRUE(IniRecentFileStore(dir.file("Wemb.INI")).load().empty()) << "another section";
}

TEST(RecentFileStore, SaveEmptiesSlotsWithoutDeletingKeys) {
    TempDirectory dir;
    writeFile(dir.file("Wemb.INI"), std::string("[Recent File List]\nFile0=a\nFile1=b\nFile3=d\n"));
    IniRecentFileStore store(dir.file("Wemb.INI"));
    store.save({"a.CE2", "b.CE2"});
    const std::vector<std::uint8_t> bytes = readFile(dir.file("Wemb.INI"));
    const std::string text(bytes.begin(), bytes.end());
    for (const char* line : {"File0=a.CE2", "File1=b.CE2", "File2=", "File3="}) {
        EXPECT_NE(text.find(line), std::string::npos) << line << " missing in:\n" << text;
    }
    EXPECT_EQ(text.find("File4"), std::string::npos);
    EXPECT_EQ(text.find("=d"), std::string::npos) << "an old name kept";
    EXPECT_EQ(store.load(), (Names{"a.CE2", "b.CE2"}));
}

TEST(RecentFileStore, Cp932OnDiskUtf8InTheDialog) {
    const std::string cp932 = "\x89\xF1\x98\x48.CE2", utf8 = "回路.CE2";
    const struct {
        const char* fault;
        std::string onDisk;  // File0's value
        Names shown, saved;  // what is shown, then saved with "a" below it
        std::string written;
    } cases[] = {
        {"CP932 not converted", cp932, {utf8}, {utf8, "a"}, "File0=" + cp932 + "\nFile1=a\n"},
        {"UTF-8 of older builds garbled", utf8, {utf8}, {utf8, "a"}, "File0=" + cp932 + "\n"},
        {"a third encoding altered", "\xFF.CE2", {"\xFF.CE2"}, {"\xFF.CE2", "a"}, "File0=a\n"},
        {"a name CP932 cannot hold hides the rest",
         "b",
         {"b"},
         {"\xF0\x9F\x99\x82", "a"},
         "File0=a\nFile1=\n"},
    };
    for (const auto& c : cases) {
        TempDirectory dir;
        writeFile(dir.file("Wemb.INI"), "[Recent File List]\nFile0=" + c.onDisk + "\n");
        IniRecentFileStore file(dir.file("Wemb.INI"));
        Cp932RecentFileStore store(file);
        EXPECT_EQ(store.load(), c.shown) << c.fault;
        store.save(c.saved);
        const std::vector<std::uint8_t> bytes = readFile(dir.file("Wemb.INI"));
        EXPECT_NE(std::string(bytes.begin(), bytes.end()).find(c.written), std::string::npos)
            << c.fault;
    }
}

TEST(RecentFileStore, SaveCreatesTheConfigurationDirectory) {
    TempDirectory dir;
    IniRecentFileStore store(dir.file("config/wemb/Wemb.INI"));
    store.save({"a.CE2"});
    EXPECT_EQ(store.load(), Names{"a.CE2"});
}

}  // namespace
}  // namespace wemb
