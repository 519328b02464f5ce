#pragma once
// The full library set of a large installation, made up: 16 binary libraries of the largest size
// a binary library may have, and the editor's settings file that lists them. The synthetic
// drawings name their multi-block parts after entries of these libraries, so that a job on them
// looks every such part up and finds it.

#include <cstdint>
#include <string>
#include <vector>

namespace wemb::gen {

inline constexpr int kSyntheticLibraryCount = 16;
// Every library holds at least this many entries; drawings use only these.
inline constexpr int kSyntheticNamesPerLibrary = 500;
// The block count of every entry of the set (quad op-amps).
inline constexpr int kSyntheticBlockCount = 4;

// The file name of library `library` (0 to 15): "LIB00.LIB" ...
std::string syntheticLibraryFileName(int library);
// The name of entry `index` of library `library`: "QA00000" ... "QP00499".
std::string syntheticLibraryEntryName(int library, int index);
// The bytes of library `library`: exactly the largest size.
std::vector<std::uint8_t> syntheticLibrary(int library);
// QUIL.INI listing every library under `directory` in slot order (LIB0 to LIB15).
std::string syntheticEditorSettings(const std::string& directory);

}  // namespace wemb::gen
