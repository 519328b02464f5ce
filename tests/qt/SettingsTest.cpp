// Where Wemb.INI lives, and the recent-file list in it.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "app/RecentFiles.h"
#include "app/Settings.h"

namespace wemb {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

// --- location --------------------------------------------------------------------------------

struct LocationCase {
    const char* fault;
    bool iniInCurrent;
    bool programWritable;
    std::string configDirectory;
    std::string expected;
};

class SettingsLocation : public testing::TestWithParam<LocationCase> {};

TEST_P(SettingsLocation, FollowsTheStartUpRules) {
    const LocationCase& c = GetParam();
    const SettingsPlaces places{"/work/run", "/opt/wemb/bin", c.configDirectory};
    const SettingsProbe probe{
        [&](const std::string& path) { return c.iniInCurrent && path == "/work/run/Wemb.INI"; },
        [&](const std::string& directory) {
            return c.programWritable && directory == "/opt/wemb/bin";
        },
    };
    EXPECT_EQ(settingsPath(places, probe), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SettingsLocation,
    testing::Values(LocationCase{"the working directory's file ignored", true, true,
                                 "/home/u/.config", "/work/run/Wemb.INI"},
                    LocationCase{"the working directory loses to the user's", true, false,
                                 "/home/u/.config", "/work/run/Wemb.INI"},
                    LocationCase{"a writable program directory passed over", false, true,
                                 "/home/u/.config", "/opt/wemb/bin/Wemb.INI"},
                    LocationCase{"an installed program writes beside itself", false, false,
                                 "/home/u/.config", "/home/u/.config/wemb/Wemb.INI"},
                    LocationCase{"no configuration directory known", false, false, "",
                                 "/opt/wemb/bin/Wemb.INI"}));

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

struct ConfigHomeCase {
    const char* fault;
    const char* xdgConfigHome;
    const char* home;
    std::string expected;
};

class ConfigHome : public testing::TestWithParam<ConfigHomeCase> {};

TEST_P(ConfigHome, FollowsXdg) {
    const ConfigHomeCase& c = GetParam();
    EXPECT_EQ(userConfigDirectory(c.xdgConfigHome, c.home), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, ConfigHome,
    testing::Values(
        ConfigHomeCase{"XDG_CONFIG_HOME ignored", "/x/cfg", "/home/u", "/x/cfg"},
        ConfigHomeCase{"no default", nullptr, "/home/u", "/home/u/.config"},
        ConfigHomeCase{"an empty XDG_CONFIG_HOME used", "", "/home/u", "/home/u/.config"},
        ConfigHomeCase{"a relative XDG_CONFIG_HOME used", "cfg", "/home/u", "/home/u/.config"},
        ConfigHomeCase{"nothing known still gives a path", nullptr, nullptr, ""}));

// --- the file --------------------------------------------------------------------------------

class RecentFileFile : public testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "wemb-recent-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        directory_ = pattern;
    }
    void TearDown() override { fs::remove_all(directory_); }

    std::string path(const std::string& name) const { return (directory_ / name).string(); }
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(path(name), std::ios::binary) << text;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    fs::path directory_;
};

struct LoadCase {
    const char* fault;
    std::string text;
    Names names;
};

class RecentFileLoad : public RecentFileFile, public testing::WithParamInterface<LoadCase> {};

TEST_P(RecentFileLoad, StopsAtTheFirstGap) {
    write("Wemb.INI", GetParam().text);
    EXPECT_EQ(IniRecentFileStore(path("Wemb.INI")).load(), GetParam().names);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, RecentFileLoad,
    testing::Values(
        LoadCase{"names out of key order",
                 "[Recent File List]\nFile1=b.CE2\nFile0=a.CE2\n",
                 {"a.CE2", "b.CE2"}},
        LoadCase{"a gap skipped over", "[Recent File List]\nFile0=a.CE2\nFile2=c.CE2\n", {"a.CE2"}},
        LoadCase{"an empty value read as a name",
                 "[Recent File List]\nFile0=a.CE2\nFile1=\nFile2=c.CE2\n",
                 {"a.CE2"}},
        LoadCase{"a fifth key loaded",
                 "[Recent File List]\nFile0=a\nFile1=b\nFile2=c\nFile3=d\nFile4=e\n",
                 {"a", "b", "c", "d"}},
        LoadCase{"another section read", "[Other]\nFile0=a.CE2\n", {}},
        LoadCase{"CP932 bytes altered",
                 "[Recent File List]\nFile0=\x89\xF1\x98\x48.CE2\n",
                 {"\x89\xF1\x98\x48.CE2"}}));

TEST_F(RecentFileFile, MissingFileGivesAnEmptyList) {
    EXPECT_TRUE(IniRecentFileStore(path("Wemb.INI")).load().empty());
}

TEST_F(RecentFileFile, SaveWritesEveryKeyAndEmptySlots) {
    IniRecentFileStore store(path("Wemb.INI"));
    store.save({"a.CE2", "b.CE2"});
    const std::string text = read("Wemb.INI");
    for (const char* line : {"File0=a.CE2", "File1=b.CE2", "File2=", "File3="}) {
        EXPECT_NE(text.find(line), std::string::npos) << line << " missing in:\n" << text;
    }
    EXPECT_EQ(text.find("File4"), std::string::npos);
    EXPECT_EQ(store.load(), (Names{"a.CE2", "b.CE2"}));
}

TEST_F(RecentFileFile, SaveEmptiesSlotsThatHeldNames) {
    write("Wemb.INI", "[Recent File List]\nFile0=a\nFile1=b\nFile2=c\nFile3=d\n");
    IniRecentFileStore store(path("Wemb.INI"));
    store.save({"x"});
    EXPECT_EQ(store.load(), Names{"x"});
    EXPECT_NE(read("Wemb.INI").find("File3="), std::string::npos) << "a key was deleted";
}

TEST_F(RecentFileFile, SaveCreatesTheConfigurationDirectory) {
    const std::string nested = path("config/wemb/Wemb.INI");
    IniRecentFileStore store(nested);
    store.save({"a.CE2"});
    EXPECT_EQ(store.load(), Names{"a.CE2"});
}

}  // namespace
}  // namespace wemb
