// Where Wemb.INI lives, and the recent-file list in it.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/RecentFiles.h"
#include "app/Settings.h"
#include "tests/support/TempDirectory.h"

namespace wemb {
namespace {

using Names = std::vector<std::string>;
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

// A settings file on one line: "0=a" is File0's line, "[X]" a section's head, "#" the recent files'
// head (meant until another head comes first) and "" a blank line.
std::string ini(const std::string& text) {
    std::string file = text.empty() || text[0] != '[' ? "[Recent File List]\n" : "";
    std::istringstream words(text);
    for (std::string word; std::getline(words, word, ' ');) {
        const bool plain = word.empty() || word[0] == '[';
        file += (word == "#" ? "[Recent File List]" : plain ? word : "File" + word) + "\n";
    }
    return file;
}

TEST(RecentFileStore, LoadStopsAtTheFirstGapAndTheFileHoldsCp932) {
    const std::string cp932 = "\x89\xF1\x98\x48.CE2", utf8 = "回路.CE2";
    const struct {
        const char* fault;
        std::string onDisk;  // "": no file, nor its directory
        Names shown, saved;
        std::string written;  // the whole file after the save
    } cases[] = {
        {"keys out of order", "1=b 0=a", {"a", "b"}, {"c"}, "1= 0=c 2= 3="},
        {"a gap skipped over", "0=a 2=c", {"a"}, {}, "0= 2= 1= 3="},
        {"empty read as a name", "0=a 1= 2=c", {"a"}, {}, "0= 1= 2= 3="},
        {"a fifth key", "0=a 1=b 2=c 3=d 4=e", {"a", "b", "c", "d"}, {"a"}, "0=a 1= 2= 3= 4=e"},
        {"another section", "[X] 0=a", {}, {"b"}, "[X] 0=a  # 0=b 1= 2= 3="},
        {"no directory made", "", {}, {"a"}, "0=a 1= 2= 3="},
        {"CP932 not converted", "0=" + cp932, {utf8}, {utf8, "a"}, "0=" + cp932 + " 1=a 2= 3="},
        {"UTF-8 of older builds kept", "0=" + utf8, {utf8}, {utf8}, "0=" + cp932 + " 1= 2= 3="},
        {"a third encoding altered", "0=\xFF.CE2", {"\xFF.CE2"}, {"\xFF.CE2", "a"}, "0=a 1= 2= 3="},
        {"an unsavable name hides the rest",
         "0=b",
         {"b"},
         {"\xF0\x9F\x99\x82", "a"},
         "0=a 1= 2= 3="},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        TempDirectory dir;
        const std::string path = dir.file("cfg/Wemb.INI");
        if (!c.onDisk.empty()) {
            std::filesystem::create_directory(dir.file("cfg"));
            writeFile(path, ini(c.onDisk));
        }
        IniRecentFileStore file(path);
        Cp932RecentFileStore store(file);
        EXPECT_EQ(store.load(), c.shown);
        store.save(c.saved);
        EXPECT_EQ(testing::contentOf(path), ini(c.written));
    }
}

}  // namespace
}  // namespace wemb
