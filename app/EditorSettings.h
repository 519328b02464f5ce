#pragma once
// The schematic editor's own settings file, QUIL.INI, which lists the part libraries to use.
// Wemb only reads it.

#include <string>
#include <vector>

#include "library/LibrarySet.h"
#include "reading/ReadResult.h"

namespace wemb {

// QUIL.INI beside the data file when it can be opened there, else the one beside the program
// (whether or not it exists: a missing file simply lists no library).
std::string locateEditorSettings(const std::string& dataFile, const std::string& programDirectory);

// The values of LIB0, LIB1, ... in section "LIBRARY", up to the first missing or empty key, at
// most 16. Paths are used whole, exactly as written. A missing file lists no library; a file that
// is there but cannot be read is an error, since the libraries it lists would be lost unsaid.
ReadResult<std::vector<std::string>> listedLibraries(const std::string& editorSettingsPath);

// The library set a job on `dataFile` uses: the libraries its QUIL.INI lists, loaded. When one
// fails, or QUIL.INI cannot be read, the set is empty and the result says why.
LibrarySetLoad loadLibrariesFor(const std::string& dataFile, const std::string& programDirectory);

}  // namespace wemb
