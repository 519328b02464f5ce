#include "app/EditorSettings.h"

#include "platform/IniFile.h"
#include "platform/Paths.h"

namespace wemb {

std::string locateEditorSettings(const std::string& dataFile, const std::string& programDirectory) {
    const std::string besideData = platform::joinPath(platform::directoryOf(dataFile), "QUIL.INI");
    if (platform::canOpenForReading(besideData)) {
        return besideData;
    }
    return platform::joinPath(programDirectory, "QUIL.INI");
}

std::vector<std::string> listedLibraries(const std::string& editorSettingsPath) {
    std::vector<std::string> paths;
    for (int index = 0; index < kMaxLibraries; ++index) {
        std::string path = platform::readProfileString(editorSettingsPath, "LIBRARY",
                                                       "LIB" + std::to_string(index), "");
        if (path.empty()) {
            break;
        }
        paths.push_back(platform::pathFromSettings(path));
    }
    return paths;
}

LibrarySetLoad loadLibrariesFor(const std::string& dataFile, const std::string& programDirectory) {
    return LibrarySet::load(listedLibraries(locateEditorSettings(dataFile, programDirectory)));
}

}  // namespace wemb
