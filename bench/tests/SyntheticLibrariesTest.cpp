#include "tools/gen/SyntheticLibraries.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "library/LibrarySet.h"

namespace wemb::gen {
namespace {

class SyntheticLibrariesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // A folder of each test's own: ctest runs the tests of this fixture side by side.
        folder_ = std::filesystem::path(WEMB_BINARY_DIR) /
                  (std::string("synthetic-libraries-") +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
        for (int library = 0; library < kSyntheticLibraryCount; ++library) {
            paths_.push_back((folder_ / syntheticLibraryFileName(library)).string());
            const auto bytes = syntheticLibrary(library);
            std::ofstream(paths_.back(), std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
        }
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path folder_;
    std::vector<std::string> paths_;
};

// The drawings rely on every name they use being found, in its own slot, as a 4-block part.
TEST_F(SyntheticLibrariesTest, EveryNameTheDrawingsUseIsFoundInItsOwnSlot) {
    const LibrarySetLoad load = LibrarySet::load(paths_);
    ASSERT_TRUE(load.loaded()) << *load.failedLibrary;
    ASSERT_EQ(load.set.libraryCount(), kSyntheticLibraryCount);
    for (int library = 0; library < kSyntheticLibraryCount; ++library) {
        for (const int index :
             {0, 1, 2, kSyntheticNamesPerLibrary / 2, kSyntheticNamesPerLibrary - 1}) {
            const std::string name = syntheticLibraryEntryName(library, index);
            int slot = -1;
            const LibraryEntry* entry = load.set.findLibraryEntry(name, &slot);
            ASSERT_NE(entry, nullptr) << name;
            EXPECT_EQ(slot, library) << name;
            EXPECT_EQ(entry->getBlockCount(), kSyntheticBlockCount) << name;
        }
    }
}

TEST_F(SyntheticLibrariesTest, EveryLibraryHasTheLargestSize) {
    for (const std::string& path : paths_) {
        EXPECT_EQ(std::filesystem::file_size(path), 65'589u) << path;
    }
}

TEST(SyntheticEditorSettings, ListsEveryLibraryInSlotOrder) {
    const std::string text = syntheticEditorSettings("/data/libs");
    EXPECT_EQ(text.rfind("[LIBRARY]\r\n", 0), 0u);
    std::size_t previous = 0;
    for (int library = 0; library < kSyntheticLibraryCount; ++library) {
        const std::string line = "LIB" + std::to_string(library) + "=/data/libs/" +
                                 syntheticLibraryFileName(library) + "\r\n";
        const std::size_t at = text.find(line);
        ASSERT_NE(at, std::string::npos) << line;
        EXPECT_GE(at, previous);
        previous = at;
    }
}

}  // namespace
}  // namespace wemb::gen
