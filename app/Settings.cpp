#include "app/Settings.h"

#include <cstdlib>

#include "platform/Paths.h"

namespace wemb {

namespace {
#ifdef _WIN32
constexpr const char* kUserFolder = "Wemb";
#else
constexpr const char* kUserFolder = "wemb";
#endif
}  // namespace

std::string settingsPath(const SettingsPlaces& places, const SettingsProbe& probe) {
    const std::string inCurrent = platform::joinPath(places.currentDirectory, settingsFileName);
    if (probe.canOpenForReading(inCurrent)) {
        return inCurrent;
    }
    if (places.userConfigDirectory.empty() || probe.isWritableDirectory(places.programDirectory)) {
        return platform::joinPath(places.programDirectory, settingsFileName);
    }
    return platform::joinPath(platform::joinPath(places.userConfigDirectory, kUserFolder),
                              settingsFileName);
}

std::string userConfigDirectory(const char* xdgConfigHome, const char* home) {
    // A relative XDG_CONFIG_HOME is to be ignored: it would move with the working directory.
    if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/') {
        return xdgConfigHome;
    }
    if (home != nullptr && home[0] != '\0') {
        return platform::joinPath(home, ".config");
    }
    return {};
}

SettingsPlaces runningProgramPlaces() {
    SettingsPlaces places;
    places.currentDirectory = platform::currentDirectory();
    places.programDirectory = platform::programDirectory();
#ifdef _WIN32
    places.userConfigDirectory = platform::environmentVariable("APPDATA");
#else
    places.userConfigDirectory =
        userConfigDirectory(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
#endif
    return places;
}

bool isSystemProgramDirectory(const std::string& directory) {
#ifdef _WIN32
    // Program Files is told by its access rules, which isWritableDirectory tries out.
    (void)directory;
    return false;
#else
    static const std::string kSystemDirectories[] = {"/usr", "/bin", "/sbin", "/opt", "/snap"};
    for (const std::string& system : kSystemDirectories) {
        if (directory == system || directory.rfind(system + "/", 0) == 0) {
            return true;
        }
    }
    return false;
#endif
}

SettingsProbe fileSystemProbe() {
    return SettingsProbe{
        [](const std::string& path) { return platform::canOpenForReading(path); },
        [](const std::string& directory) {
            return !isSystemProgramDirectory(directory) && platform::isWritableDirectory(directory);
        },
    };
}

}  // namespace wemb
