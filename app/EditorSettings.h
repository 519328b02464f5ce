#pragma once
// The schematic editor's own settings file, QUIL.INI, which lists the part libraries to use.
// Wemb only reads it.

#include <string>
#include <vector>

#include "library/LibrarySet.h"

namespace wemb {

// QUIL.INI beside the data file when it can be opened there, else the one beside the program
// (whether or not it exists: a missing file simply lists no library).
std::string locateEditorSettings(const std::string& dataFile, const std::string& programDirectory);

// The values of LIB0, LIB1, ... in section "LIBRARY", up to the first missing or empty key, at
// most 16. Paths are used whole, exactly as written.
std::vector<std::string> listedLibraries(const std::string& editorSettingsPath);

// The library set a job on `dataFile` uses: the libraries its QUIL.INI lists, loaded. When one
// fails the set is empty and the result names it.
LibrarySetLoad loadLibrariesFor(const std::string& dataFile, const std::string& programDirectory);

}  // namespace wemb
