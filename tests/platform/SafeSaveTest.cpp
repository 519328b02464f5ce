#include "platform/SafeSave.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/FileOps.h"
#include "tests/support/TempDirectory.h"

namespace wemb::platform {
namespace {

using testing::bytesOf;
using testing::contentOf;
using testing::writeFile;

const std::string kOriginal = "original data file, sheet 0 and the sheets after it";
const std::string kOldBackup = "backup of an earlier run";
const std::string kOldSheets[] = {"", "sheet 1 of an earlier run", "sheet 2 of an earlier run"};
const std::string kStaleSheet5 = "sheet 5 of a run with more sheets";
const std::string kNewSheets[] = {"renumbered sheet 0, R1 C1 IC1",
                                  "renumbered sheet 1, R2 C2 IC2 and a little more",
                                  "renumbered sheet 2"};

// A data file amp.CE2 with an old backup and old sheet files (and a stale fifth), saved as three
// sheets.
class ThreeSheetSave {
  public:
    ThreeSheetSave() {
        writeFile(data(), kOriginal);
        writeFile(backup(), kOldBackup);
        writeFile(sheet(1), kOldSheets[1]);
        writeFile(sheet(2), kOldSheets[2]);
        writeFile(sheet(5), kStaleSheet5);
        files_ = {{data(), bytes_[0]}, {sheet(1), bytes_[1]}, {sheet(2), bytes_[2]}};
    }

    std::string file(const std::string& name) const { return dir_.file(name); }
    std::string data() const { return file("amp.CE2"); }
    std::string backup() const { return file("amp.$E2"); }
    std::string sheet(int n) const { return file("amp.CE2-0" + std::to_string(n)); }
    std::size_t fileCount() const { return dir_.names().size(); }

    SaveResult save(FileOps& fileOps, mode_t permissions = 0644) const {
        return saveWithBackup(fileOps, data(), backup(), files_, permissions);
    }

    void expectSaved() const {
        EXPECT_EQ(contentOf(data()), kNewSheets[0]);
        EXPECT_EQ(contentOf(backup()), kOriginal);
        EXPECT_EQ(contentOf(sheet(1)), kNewSheets[1]);
        EXPECT_EQ(contentOf(sheet(2)), kNewSheets[2]);
        EXPECT_EQ(contentOf(sheet(5)), kStaleSheet5);
        EXPECT_EQ(fileCount(), 5u);
    }

  private:
    testing::TempDirectory dir_;
    std::vector<std::uint8_t> bytes_[3] = {bytesOf(kNewSheets[0]), bytesOf(kNewSheets[1]),
                                           bytesOf(kNewSheets[2])};
    std::vector<SaveFile> files_;
};

TEST(SafeSave, ReplacesDataFileWithExactPermissionsKeepsBackupAndLeavesStaleSheets) {
    ThreeSheetSave save;
    ASSERT_TRUE(save.save(realFileOps(), 0666).ok);  // despite the umask
    save.expectSaved();
    for (const std::string& path : {save.data(), save.sheet(1), save.sheet(2)}) {
        struct stat status {};
        ASSERT_EQ(::stat(path.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, 0666u) << path;
    }
}

// A bare name in the current directory, with no backup and no sheet file there yet.
TEST(SafeSave, CreatesTheBackupAndNewSheetFilesBesideABareName) {
    testing::TempDirectory dir;
    writeFile(dir.file("amp.CE2"), kOriginal);
    const auto sheet0 = bytesOf(kNewSheets[0]);
    const auto sheet1 = bytesOf(kNewSheets[1]);
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const SaveResult result = saveWithBackup(realFileOps(), "amp.CE2", "amp.$E2",
                                             {{"amp.CE2", sheet0}, {"amp.CE2-01", sheet1}}, 0644);
    std::filesystem::current_path(previous);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(contentOf(dir.file("amp.CE2")), kNewSheets[0]);
    EXPECT_EQ(contentOf(dir.file("amp.$E2")), kOriginal);
    EXPECT_EQ(contentOf(dir.file("amp.CE2-01")), kNewSheets[1]);
    EXPECT_EQ(dir.names().size(), 3u);
}

// Real file-system refusals, which hold even for root: a name the save must replace is taken
// by a non-empty directory.
TEST(SafeSave, ANameTakenByADirectoryFailsAndRestoresTheDataFile) {
    for (const bool backup : {true, false}) {
        ThreeSheetSave save;
        const std::string taken = backup ? save.backup() : save.sheet(2);
        std::filesystem::remove(taken);
        std::filesystem::create_directory(taken);
        writeFile(taken + "/inside", "x");
        const SaveResult result = save.save(realFileOps());
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.failedPath, taken);
        EXPECT_EQ(contentOf(save.data()), kOriginal);
        EXPECT_EQ(contentOf(taken + "/inside"), "x");
        EXPECT_EQ(save.fileCount(), backup ? 5u : 4u);  // the old backup gave way to the original
        if (backup) {
            EXPECT_EQ(contentOf(save.sheet(1)), kOldSheets[1]) << "replaced without a backup";
        }
    }
}

// Requests that would lose the data file if carried out; each is refused untouched.
TEST(SafeSave, RequestsThatWouldLoseTheDataFileTouchNothing) {
    struct Row {
        const char* request;
        std::vector<std::string> files;
        const char* backup;
    } const rows[] = {
        {"no files at all", {}, "amp.$E2"},
        {"the data file is not among the files", {"amp.CE2-01"}, "amp.$E2"},
        {"a file named twice", {"amp.CE2", "amp.CE2-01", "amp.CE2-01"}, "amp.$E2"},
        {"the backup is the data file", {"amp.CE2"}, "amp.CE2"},
        {"the backup is one of the sheet files", {"amp.CE2", "amp.CE2-01"}, "amp.CE2-01"},
    };
    const auto bytes = bytesOf(kNewSheets[0]);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.request);
        ThreeSheetSave save;
        std::vector<SaveFile> files;
        for (const std::string& name : row.files) {
            files.push_back({save.file(name), bytes});
        }
        EXPECT_FALSE(
            saveWithBackup(realFileOps(), save.data(), save.file(row.backup), files, 0644).ok);
        EXPECT_EQ(contentOf(save.data()), kOriginal);
        EXPECT_EQ(contentOf(save.backup()), kOldBackup);
        EXPECT_EQ(contentOf(save.sheet(1)), kOldSheets[1]);
        EXPECT_EQ(save.fileCount(), 5u);
    }
}

}  // namespace
}  // namespace wemb::platform
