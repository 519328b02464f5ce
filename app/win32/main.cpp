// wemb.exe: the dialog, with the settings file located against the directory the program starts
// in and a data file's name taken from the command line.

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/RecentFiles.h"
#include "app/Settings.h"
#include "app/win32/MainDialog.h"
#include "platform/Paths.h"
#include "platform/windows/WideText.h"

namespace {

std::vector<std::string> commandLineArguments() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> names;
    for (int i = 1; arguments != nullptr && i < count; ++i) {
        names.push_back(wemb::platform::narrowed(arguments[i]));
    }
    LocalFree(arguments);
    return names;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    wemb::IniRecentFileStore iniFile(
        wemb::settingsPath(wemb::runningProgramPlaces(), wemb::fileSystemProbe()));
    // Wemb.INI keeps its names in CP932, as every Windows program reading it expects.
    wemb::Cp932RecentFileStore recentFiles(iniFile);
    wemb::win32::MainDialogServices services;
    services.recentFiles = &recentFiles;
    services.runJob = wemb::fileSystemJobRunner(wemb::platform::programDirectory());
    wemb::win32::MainDialog dialog(instance, std::move(services),
                                   wemb::startupFileName(commandLineArguments()));
    dialog.run();
    return 0;
}
