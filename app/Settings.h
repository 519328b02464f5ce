#pragma once
// Where the tool's settings file "Wemb.INI" lives. A file in the directory the program starts in
// wins, so that a shortcut's working directory can carry its own list; otherwise the file beside
// the program, unless the program is installed where its user cannot write, in which case the
// user's configuration directory.

#include <functional>
#include <string>

namespace wemb {

struct SettingsPlaces {
    std::string currentDirectory;     // at start-up
    std::string programDirectory;     // of the program file
    std::string userConfigDirectory;  // e.g. ~/.config; empty: always beside the program
};

struct SettingsProbe {
    std::function<bool(const std::string& path)> canOpenForReading;
    std::function<bool(const std::string& directory)> isWritableDirectory;
};

inline constexpr const char* settingsFileName = "Wemb.INI";

std::string settingsPath(const SettingsPlaces& places, const SettingsProbe& probe);

// The user's configuration directory by the XDG rules: $XDG_CONFIG_HOME when it is an absolute
// path, else $HOME/.config; empty when neither is known. Null stands for an unset variable.
std::string userConfigDirectory(const char* xdgConfigHome, const char* home);

// The places and probe of the running program, from the platform layer and the environment.
// A directory a package installs programs into (/usr/bin, /opt/...): never a place for a user's
// settings, even for root, who could write there.
bool isSystemProgramDirectory(const std::string& directory);

SettingsPlaces runningProgramPlaces();
SettingsProbe fileSystemProbe();

}  // namespace wemb
