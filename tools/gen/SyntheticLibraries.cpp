#include "tools/gen/SyntheticLibraries.h"

#include <cstdio>

#include "tools/gen/BinaryLibraryBuilder.h"

namespace wemb::gen {
namespace {

// "QA" for the first library, "QP" for the sixteenth: no name is found in two libraries, so a
// lookup must go to the right slot.
std::string namePrefix(int library) {
    return std::string("Q") + static_cast<char>('A' + library);
}

}  // namespace

std::string syntheticLibraryFileName(int library) {
    char name[16];
    std::snprintf(name, sizeof name, "LIB%02d.LIB", library);
    return name;
}

std::string syntheticLibraryEntryName(int library, int index) {
    char number[16];
    std::snprintf(number, sizeof number, "%05d", index);
    return namePrefix(library) + number;
}

std::vector<std::uint8_t> syntheticLibrary(int library) {
    return largestBinaryLibrary(namePrefix(library));
}

std::string syntheticEditorSettings(const std::string& directory) {
    std::string text = "[LIBRARY]\r\n";
    for (int library = 0; library < kSyntheticLibraryCount; ++library) {
        text += "LIB" + std::to_string(library) + "=" + directory + "/" +
                syntheticLibraryFileName(library) + "\r\n";
    }
    return text;
}

}  // namespace wemb::gen
