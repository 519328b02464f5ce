#include "platform/SafeSave.h"

#include <sys/stat.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "platform/FileOps.h"
#include "platform/TemporaryFile.h"
#include "tests/support/TempDirectory.h"

namespace wemb::platform {
namespace {

using testing::bytesOf;
using testing::contentOf;

const std::string kOriginal = "original data file, sheet 0 and the sheets after it";
const std::string kOld[] = {"backup of an earlier run", "sheet 1 of an earlier run",
                            "sheet 5 of a run with more sheets"};
const std::vector<std::uint8_t> kNew[] = {bytesOf("renumbered sheet 0, R1 C1 IC1"),
                                          bytesOf("renumbered sheet 1, R2 C2 IC2 and more")};

// The data file amp.CE2 with an old backup and old sheet files (sheet 5 from a run with more
// sheets), in the current directory, as a command line run in the drawing's folder names them.
class BareNamedDrawing : public ::testing::Test {
  protected:
    BareNamedDrawing() : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir_.path());
        testing::writeFile("amp.CE2", kOriginal);
        testing::writeFile("amp.$E2", kOld[0]);
        testing::writeFile("amp.CE2-01", kOld[1]);
        testing::writeFile("amp.CE2-05", kOld[2]);
    }
    ~BareNamedDrawing() override { std::filesystem::current_path(previous_); }

    std::size_t fileCount() const { return dir_.names().size(); }

  private:
    testing::TempDirectory dir_;
    std::filesystem::path previous_;
};

TEST_F(BareNamedDrawing, SavesWithExactPermissionsKeepsTheBackupAndLeavesStaleSheets) {
    testing::writeFile(".amp.CE2.wemb0.tmp", kOld[0]);  // left by a killed run: a name taken
    ASSERT_TRUE(
        saveWithBackup(realFileOps(), "amp.CE2", "amp.$E2",
                       {{"amp.CE2", wholeContent(kNew[0])}, {"amp.CE2-01", wholeContent(kNew[1])}},
                       0666)
            .ok);
    EXPECT_EQ(contentOf("amp.CE2"), std::string(kNew[0].begin(), kNew[0].end()));
    EXPECT_EQ(contentOf("amp.$E2"), kOriginal);
    EXPECT_EQ(contentOf("amp.CE2-01"), std::string(kNew[1].begin(), kNew[1].end()));
    EXPECT_EQ(contentOf("amp.CE2-05"), kOld[2]);
    EXPECT_EQ(fileCount(), 5u);
#ifndef _WIN32  // Windows keeps only a read-only bit
    const mode_t previousMask = ::umask(022);
    // Saved files get exactly the data file's bits; any other new file, a report say, gets what
    // the umask leaves.
    const auto report = writeTemporaryFile(realFileOps(), "", "report.csv", kNew[0], {});
    ::umask(previousMask);
    const auto modeOf = [](const std::string& path) {
        return static_cast<unsigned>(std::filesystem::status(path).permissions());
    };
    EXPECT_EQ(modeOf("amp.CE2"), 0666u);
    EXPECT_EQ(modeOf("amp.CE2-01"), 0666u);
    EXPECT_EQ(modeOf(report.value()), 0644u);
#endif
}

// Requests that would lose the data file if carried out; each is refused untouched.
TEST_F(BareNamedDrawing, RequestsThatWouldLoseTheDataFileTouchNothing) {
    const struct {
        const char* request;
        std::vector<std::string> files;
        const char* backup;
    } rows[] = {
        {"no files at all", {}, "amp.$E2"},
        {"the data file is not among the files", {"amp.CE2-01"}, "amp.$E2"},
        {"a file named twice", {"amp.CE2", "amp.CE2-01", "amp.CE2-01"}, "amp.$E2"},
        {"the backup is the data file", {"amp.CE2"}, "amp.CE2"},
        {"the backup is one of the sheet files", {"amp.CE2", "amp.CE2-01"}, "amp.CE2-01"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.request);
        std::vector<SaveFile> files;
        for (const std::string& name : row.files) {
            files.push_back({name, wholeContent(kNew[0])});
        }
        EXPECT_FALSE(saveWithBackup(realFileOps(), "amp.CE2", row.backup, files, 0644).ok);
        EXPECT_EQ(contentOf("amp.CE2"), kOriginal);
        EXPECT_EQ(contentOf("amp.$E2"), kOld[0]);
        EXPECT_EQ(contentOf("amp.CE2-01"), kOld[1]);
        EXPECT_EQ(fileCount(), 4u);
    }
}

}  // namespace
}  // namespace wemb::platform
