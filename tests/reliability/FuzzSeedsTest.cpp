// The fuzz seeds must be what their names say: a seed that the reader refuses, or a library set
// that fails for the wrong reason, would start the fuzzer far from the code it should explore.

#include "tests/reliability/FuzzSeeds.h"

#include <gtest/gtest.h>

#include <string_view>

#include "library/LibrarySet.h"
#include "platform/IniFile.h"
#include "schematic/Document.h"
#include "tests/support/TempDirectory.h"

namespace wemb::testing {
namespace {

TEST(FuzzSeeds, EveryDataFileSeedReads) {
    for (const FuzzSeed& seed : dataFileSeeds()) {
        EXPECT_TRUE(Document::parse(seed.bytes).document.has_value()) << seed.name;
    }
}

TEST(FuzzSeeds, EveryIniSeedHasItsThreeFields) {
    for (const FuzzSeed& seed : iniSeeds()) {
        EXPECT_GE(std::count(seed.bytes.begin(), seed.bytes.end(), kIniFieldEnd), 3) << seed.name;
    }
}

// Loads a library set seed the way LibrarySetFuzzer does, but with the paths made absolute.
LibrarySetLoad loadSeed(const TempDirectory& dir, const FuzzSeed& seed) {
    std::string_view input(reinterpret_cast<const char*>(seed.bytes.data()), seed.bytes.size());
    const std::string_view separator = kLibrarySetSeparator;
    std::vector<std::string_view> files;
    for (std::size_t at; (at = input.find(separator)) != std::string_view::npos;) {
        files.push_back(input.substr(0, at));
        input.remove_prefix(at + separator.size());
    }
    files.push_back(input);
    std::vector<std::string> paths;
    for (std::size_t i = 1; i < files.size(); ++i) {
        const std::size_t newline = files[i].find('\n');
        writeFile(dir.file(std::string(files[i].substr(0, newline))),
                  std::string(files[i].substr(newline + 1)));
    }
    // Every key the seed's QUIL.INI lists, in key order, up to the first missing one.
    for (int key = 0; key < kMaxLibraries; ++key) {
        const std::string path =
            platform::profileValue(files[0], "LIBRARY", "LIB" + std::to_string(key));
        if (path.empty()) {
            break;
        }
        paths.push_back(dir.file(path));
    }
    return LibrarySet::load(paths);
}

TEST(FuzzSeeds, LibrarySetSeedsLoadOrFailAsNamed) {
    struct Row {
        std::string seed;
        bool loads;
        int libraries;
    };
    const Row rows[] = {
        {"example", true, 2},           {"both-formats", true, 4},   {"missing-library", false, 0},
        {"binary-named-lb3", false, 0}, {"eighteen-keys", true, 16},
    };
    const std::vector<FuzzSeed> seeds = librarySetSeeds();
    ASSERT_EQ(seeds.size(), std::size(rows));
    for (std::size_t i = 0; i < seeds.size(); ++i) {
        ASSERT_EQ(seeds[i].name, rows[i].seed);
        TempDirectory dir;
        const LibrarySetLoad load = loadSeed(dir, seeds[i]);
        EXPECT_EQ(load.loaded(), rows[i].loads) << rows[i].seed;
        EXPECT_EQ(load.set.libraryCount(), rows[i].libraries) << rows[i].seed;
    }
}

}  // namespace
}  // namespace wemb::testing
