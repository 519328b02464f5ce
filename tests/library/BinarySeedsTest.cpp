#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "library/BinaryLibraryReader.h"
#include "tests/library/BinarySeeds.h"

namespace wemb {
namespace {

const std::filesystem::path kSeedFolder =
    std::filesystem::path(WEMB_SOURCE_DIR) / "fuzz" / "seeds" / "binary";

std::vector<std::uint8_t> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A seed that no longer says what its name says would quietly weaken the fuzzer's start.
TEST(BinarySeeds, LoadExactlyWhenNamedValid) {
    for (const auto& seed : test::binarySeeds()) {
        Library library;
        const bool loaded =
            readBinaryLibraryBytes(library, seed.bytes) == BinaryLibraryStatus::Loaded;
        EXPECT_EQ(loaded, seed.name.starts_with("valid-")) << seed.name;
    }
}

TEST(BinarySeeds, CommittedCorpusMatchesTheBuilder) {
    for (const auto& seed : test::binarySeeds()) {
        EXPECT_EQ(readFile(kSeedFolder / seed.name), seed.bytes)
            << seed.name << ": run wemb_write_binary_seeds " << kSeedFolder.string();
    }
}

}  // namespace
}  // namespace wemb
