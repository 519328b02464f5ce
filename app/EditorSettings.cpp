#include "app/EditorSettings.h"

#include <cerrno>

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

ReadResult<std::vector<std::string>> listedLibraries(const std::string& editorSettingsPath) {
    const ReadResult<std::string> text = platform::readProfileFile(editorSettingsPath);
    if (!text) {
        const int missing = text.error().errorNumber;
        if (missing == ENOENT || missing == ENOTDIR) {
            return std::vector<std::string>();
        }
        return text.error();
    }
    std::vector<std::string> paths;
    for (int index = 0; index < kMaxLibraries; ++index) {
        std::string path =
            platform::profileValue(*text, "LIBRARY", "LIB" + std::to_string(index), "");
        if (path.empty()) {
            break;
        }
        paths.push_back(platform::pathFromSettings(path));
    }
    return paths;
}

LibrarySetLoad loadLibrariesFor(const std::string& dataFile, const std::string& programDirectory) {
    ReadResult<std::vector<std::string>> listed =
        listedLibraries(locateEditorSettings(dataFile, programDirectory));
    if (!listed) {
        LibrarySetLoad refused;
        refused.failedLibrary = std::move(listed).error();
        return refused;
    }
    return LibrarySet::load(*listed);
}

}  // namespace wemb
