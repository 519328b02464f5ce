#pragma once
// The starting corpora of the fuzz targets that exercise whole jobs: data files, settings texts
// with the key to write, and library sets. They are made from the builders, so anyone can make
// them again (wemb_write_fuzz_seeds writes them to fuzz/seeds/).

#include <cstdint>
#include <string>
#include <vector>

namespace wemb::testing {

struct FuzzSeed {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// Data files (.CE2) for DataFileFuzzer; bytes 22 to 25 of the first header choose the
// numbering parameters.
std::vector<FuzzSeed> dataFileSeeds();
// "SECTION\x1fKEY\x1fVALUE\x1fTEXT" inputs for IniFuzzer.
std::vector<FuzzSeed> iniSeeds();
// QUIL.INI, then "\n=====\n", a file name line and the file, for each library: LibrarySetFuzzer.
std::vector<FuzzSeed> librarySetSeeds();

// The separator and field end those inputs use.
inline constexpr char kIniFieldEnd = '\x1f';
inline constexpr const char* kLibrarySetSeparator = "\n=====\n";

}  // namespace wemb::testing
