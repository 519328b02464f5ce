#include "platform/SafeSave.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <set>

#include <gtest/gtest.h>

#include "platform/FileOps.h"
#include "tests/platform/FaultyFileOps.h"
#include "tests/platform/RowName.h"
#include "tests/platform/ScratchDirectory.h"

namespace wemb::platform {
namespace {

using testing::bytesOf;
using testing::FaultyFileOps;
using testing::Op;
using testing::readFile;
using testing::ScratchDirectory;
using testing::writeFile;

const std::string kOriginal = "original data file, sheet 0 and the sheets after it";
const std::string kOldBackup = "backup of an earlier run";
const std::string kOldSheet1 = "sheet 1 of an earlier run";
const std::string kOldSheet2 = "sheet 2 of an earlier run";
const std::string kStaleSheet5 = "sheet 5 of a run with more sheets";
const std::string kNewSheet0 = "renumbered sheet 0, R1 C1 IC1";
const std::string kNewSheet1 = "renumbered sheet 1, R2 C2 IC2 and a little more";
const std::string kNewSheet2 = "renumbered sheet 2";

// A data file amp.CE2 with an old backup and old sheet files, saved as three sheets.
class ThreeSheetSave {
  public:
    ThreeSheetSave() {
        writeFile(data(), kOriginal);
        writeFile(backup(), kOldBackup);
        writeFile(sheet(1), kOldSheet1);
        writeFile(sheet(2), kOldSheet2);
        writeFile(sheet(5), kStaleSheet5);
        files_ = {{data(), sheet0_}, {sheet(1), sheet1_}, {sheet(2), sheet2_}};
    }

    std::string data() const { return dir_.file("amp.CE2"); }
    std::string backup() const { return dir_.file("amp.$E2"); }
    std::string sheet(int n) const { return dir_.file("amp.CE2-0" + std::to_string(n)); }
    const std::vector<SaveFile>& files() const { return files_; }
    const ScratchDirectory& dir() const { return dir_; }

    SaveResult save(FileOps& fileOps, mode_t permissions = 0644) const {
        return saveWithBackup(fileOps, data(), backup(), files_, permissions);
    }

    // Whatever failed: the original survives whole under the data name, or under the backup
    // name with the data name holding the complete new sheet; no file is ever partial; no
    // temporary is left; the stale sheet file is untouched.
    void expectSafeAfterFailure() const {
        const auto dataNow = readFile(data());
        const auto backupNow = readFile(backup());
        const bool originalUnderData = dataNow == kOriginal;
        const bool originalUnderBackup = backupNow == kOriginal && dataNow == kNewSheet0;
        EXPECT_TRUE(originalUnderData || originalUnderBackup)
            << "data: " << dataNow.value_or("<none>")
            << ", backup: " << backupNow.value_or("<none>");
        EXPECT_TRUE(backupNow == std::nullopt || backupNow == kOldBackup || backupNow == kOriginal);
        EXPECT_TRUE(readFile(sheet(1)) == kOldSheet1 || readFile(sheet(1)) == kNewSheet1);
        EXPECT_TRUE(readFile(sheet(2)) == kOldSheet2 || readFile(sheet(2)) == kNewSheet2);
        EXPECT_EQ(readFile(sheet(5)), kStaleSheet5);
        const std::set<std::string> allowed = {"amp.CE2", "amp.$E2", "amp.CE2-01", "amp.CE2-02",
                                               "amp.CE2-05"};
        for (const std::string& name : dir_.names()) {
            EXPECT_TRUE(allowed.count(name)) << "left behind: " << name;
        }
    }

  private:
    ScratchDirectory dir_;
    std::vector<std::uint8_t> sheet0_ = bytesOf(kNewSheet0);
    std::vector<std::uint8_t> sheet1_ = bytesOf(kNewSheet1);
    std::vector<std::uint8_t> sheet2_ = bytesOf(kNewSheet2);
    std::vector<SaveFile> files_;
};

void expectSaved(const ThreeSheetSave& save) {
    EXPECT_EQ(readFile(save.data()), kNewSheet0);
    EXPECT_EQ(readFile(save.backup()), kOriginal);
    EXPECT_EQ(readFile(save.sheet(1)), kNewSheet1);
    EXPECT_EQ(readFile(save.sheet(2)), kNewSheet2);
    EXPECT_EQ(readFile(save.sheet(5)), kStaleSheet5);
    EXPECT_EQ(save.dir().names().size(), 5u);
}

TEST(SafeSave, ReplacesDataFileKeepsOriginalAsBackupAndLeavesStaleSheets) {
    ThreeSheetSave save;
    const SaveResult result = save.save(realFileOps());
    EXPECT_TRUE(result.ok);
    expectSaved(save);
}

TEST(SafeSave, CreatesBackupWhenNoneExistedAndSheetFilesThatDidNotExist) {
    ScratchDirectory dir;
    writeFile(dir.file("amp"), kOriginal);
    const auto sheet0 = bytesOf(kNewSheet0);
    const auto sheet1 = bytesOf(kNewSheet1);
    const SaveResult result =
        saveWithBackup(realFileOps(), dir.file("amp"), dir.file("amp.$"),
                       {{dir.file("amp"), sheet0}, {dir.file("amp-01"), sheet1}}, 0644);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(readFile(dir.file("amp")), kNewSheet0);
    EXPECT_EQ(readFile(dir.file("amp.$")), kOriginal);
    EXPECT_EQ(readFile(dir.file("amp-01")), kNewSheet1);
    EXPECT_EQ(dir.names().size(), 3u);
}

TEST(SafeSave, NewFilesGetExactlyTheGivenPermissionsDespiteTheUmask) {
    ThreeSheetSave save;
    ASSERT_TRUE(save.save(realFileOps(), 0666).ok);
    for (const std::string& path : {save.data(), save.sheet(1), save.sheet(2)}) {
        struct stat status {};
        ASSERT_EQ(::stat(path.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, 0666u) << path;
    }
}

TEST(SafeSave, NameAtTheLengthLimitStillGetsATemporary) {
    ScratchDirectory dir;
    const std::string name = std::string(251, 'n') + ".CE2";
    writeFile(dir.file(name), kOriginal);
    const auto sheet0 = bytesOf(kNewSheet0);
    const std::string backup = std::string(251, 'n') + ".$E2";
    EXPECT_TRUE(saveWithBackup(realFileOps(), dir.file(name), dir.file(backup),
                               {{dir.file(name), sheet0}}, 0644)
                    .ok);
    EXPECT_EQ(readFile(dir.file(name)), kNewSheet0);
    EXPECT_EQ(dir.names().size(), 2u);
}

// Each row is a fault in one step of the save; after every one the original must survive.
struct FaultCase {
    const char* name;
    Op op;
    int nth;
    int error;
    const char* failedName;  // the file the result must name
};

const FaultCase kFaultCases[] = {
    {"data file temporary cannot be created", Op::CreateExclusive, 1, EACCES, "amp.CE2"},
    {"second sheet temporary cannot be created", Op::CreateExclusive, 2, ENOSPC, "amp.CE2-01"},
    {"third sheet temporary cannot be created", Op::CreateExclusive, 3, EMFILE, "amp.CE2-02"},
    {"writing the data file fails", Op::Write, 1, EIO, "amp.CE2"},
    {"writing the second of three sheets fails", Op::Write, 2, EIO, "amp.CE2-01"},
    {"disk full writing the third sheet", Op::Write, 3, ENOSPC, "amp.CE2-02"},
    {"flushing the data file fails", Op::Fsync, 1, EIO, "amp.CE2"},
    {"flushing the second sheet fails", Op::Fsync, 2, EIO, "amp.CE2-01"},
    {"closing the data file reports a lost write", Op::Close, 1, EIO, "amp.CE2"},
    {"closing the third sheet reports a lost write", Op::Close, 3, EDQUOT, "amp.CE2-02"},
    {"the backup cannot be made", Op::Rename, 1, EACCES, "amp.$E2"},
    {"the new data file cannot be put in place", Op::Rename, 2, EIO, "amp.CE2"},
    {"the second sheet cannot be put in place", Op::Rename, 3, EISDIR, "amp.CE2-01"},
    {"the third sheet cannot be put in place", Op::Rename, 4, EISDIR, "amp.CE2-02"},
    {"the directory cannot be flushed", Op::FsyncDirectory, 1, EIO, "amp.CE2"},
};

class SafeSaveFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(SafeSaveFault, OriginalSurvivesAndFailedFileIsNamed) {
    const FaultCase& fault = GetParam();
    ThreeSheetSave save;
    FaultyFileOps fileOps;
    fileOps.failCall(fault.op, fault.nth, fault.error);
    const SaveResult result = save.save(fileOps);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failedPath, save.dir().file(fault.failedName));
    save.expectSafeAfterFailure();
    EXPECT_EQ(fileOps.openDescriptors(), 0);
}

INSTANTIATE_TEST_SUITE_P(EveryStep, SafeSaveFault, ::testing::ValuesIn(kFaultCases),
                         testing::RowName());

// Every call of every operation, failed one at a time: a sweep that catches a step the table
// above forgot.
TEST(SafeSaveFaultSweep, NoSingleFailedCallLosesTheOriginal) {
    FaultyFileOps counting;
    {
        ThreeSheetSave save;
        ASSERT_TRUE(save.save(counting).ok);
    }
    for (int o = 0; o < static_cast<int>(Op::Count); ++o) {
        const Op op = static_cast<Op>(o);
        for (int nth = 1; nth <= counting.calls(op); ++nth) {
            SCOPED_TRACE(std::string(testing::opName(op)) + " call " + std::to_string(nth));
            ThreeSheetSave save;
            FaultyFileOps fileOps;
            fileOps.failCall(op, nth, EIO);
            const SaveResult result = save.save(fileOps);
            if (op == Op::Fchmod) {
                EXPECT_TRUE(result.ok);  // exact permission bits are a courtesy, not a need
                continue;
            }
            EXPECT_FALSE(result.ok);
            EXPECT_FALSE(result.failedPath.empty());
            save.expectSafeAfterFailure();
            EXPECT_EQ(fileOps.openDescriptors(), 0);
        }
    }
}

// Rows: ways a write can take less than it was given.
struct WriteCase {
    const char* name;
    std::size_t writeLimit;  // 0: no limit
    std::size_t diskSpace;   // bytes that fit on the disk in all
    bool stall;
    bool ok;
    const char* failedName;
};

const WriteCase kWriteCases[] = {
    {"short writes are continued", 3, static_cast<std::size_t>(-1), false, true, ""},
    {"one-byte writes are continued", 1, static_cast<std::size_t>(-1), false, true, ""},
    {"disk full in the middle of the data file", 0, 10, false, false, "amp.CE2"},
    {"disk full in the middle of the second sheet", 0, kNewSheet0.size() + 7, false, false,
     "amp.CE2-01"},
    {"disk full exactly at the end of the second sheet", 4, kNewSheet0.size() + kNewSheet1.size(),
     false, false, "amp.CE2-02"},
    {"a write that takes nothing ends the save", 0, static_cast<std::size_t>(-1), true, false,
     "amp.CE2"},
};

class SafeSaveWrites : public ::testing::TestWithParam<WriteCase> {};

TEST_P(SafeSaveWrites, CompleteOrSafelyFailed) {
    const WriteCase& row = GetParam();
    ThreeSheetSave save;
    FaultyFileOps fileOps;
    fileOps.limitWrites(row.writeLimit);
    fileOps.fillDiskAfter(row.diskSpace);
    if (row.stall) {
        fileOps.stallWrites();
    }
    const SaveResult result = save.save(fileOps);
    EXPECT_EQ(result.ok, row.ok);
    if (row.ok) {
        expectSaved(save);
    } else {
        EXPECT_EQ(result.failedPath, save.dir().file(row.failedName));
        save.expectSafeAfterFailure();
        EXPECT_EQ(readFile(save.data()), kOriginal);
    }
}

INSTANTIATE_TEST_SUITE_P(ShortAndFull, SafeSaveWrites, ::testing::ValuesIn(kWriteCases),
                         testing::RowName());

TEST(SafeSave, InterruptedWriteIsRetried) {
    ThreeSheetSave save;
    FaultyFileOps fileOps;
    fileOps.failCall(Op::Write, 2, EINTR);
    EXPECT_TRUE(save.save(fileOps).ok);
    expectSaved(save);
}

TEST(SafeSave, TemporaryNameTakenByAnotherFileIsSkippedAndLeftAlone) {
    ThreeSheetSave save;
    const std::string squatter = save.dir().file(".amp.CE2.wemb0.tmp");
    writeFile(squatter, "not ours");
    EXPECT_TRUE(save.save(realFileOps()).ok);
    EXPECT_EQ(readFile(save.data()), kNewSheet0);
    EXPECT_EQ(readFile(squatter), "not ours");
}

TEST(SafeSave, FailedBackupReplacesNothing) {
    ThreeSheetSave save;
    FaultyFileOps fileOps;
    fileOps.failCall(Op::Rename, 1, EACCES);
    EXPECT_FALSE(save.save(fileOps).ok);
    EXPECT_EQ(readFile(save.data()), kOriginal);
    EXPECT_EQ(readFile(save.backup()), kOldBackup);
    EXPECT_EQ(readFile(save.sheet(1)), kOldSheet1);
    EXPECT_EQ(readFile(save.sheet(2)), kOldSheet2);
}

// Real file-system refusals, which hold even for root.
TEST(SafeSave, BackupNameTakenByNonEmptyDirectoryFailsAndReplacesNothing) {
    ThreeSheetSave save;
    std::filesystem::remove(save.backup());
    std::filesystem::create_directory(save.backup());
    writeFile(save.backup() + "/inside", "x");
    const SaveResult result = save.save(realFileOps());
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failedPath, save.backup());
    EXPECT_EQ(readFile(save.data()), kOriginal);
    EXPECT_EQ(readFile(save.sheet(1)), kOldSheet1);
    EXPECT_EQ(readFile(save.backup() + "/inside"), "x");
    EXPECT_EQ(save.dir().names().size(), 5u);
}

TEST(SafeSave, BackupNameTakenByEmptyDirectoryFails) {
    ThreeSheetSave save;
    std::filesystem::remove(save.backup());
    std::filesystem::create_directory(save.backup());
    EXPECT_FALSE(save.save(realFileOps()).ok);
    EXPECT_EQ(readFile(save.data()), kOriginal);
    EXPECT_TRUE(std::filesystem::is_directory(save.backup()));
}

TEST(SafeSave, SheetNameTakenByDirectoryRestoresTheDataFile) {
    ThreeSheetSave save;
    std::filesystem::remove(save.sheet(2));
    std::filesystem::create_directory(save.sheet(2));
    writeFile(save.sheet(2) + "/inside", "x");
    const SaveResult result = save.save(realFileOps());
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failedPath, save.sheet(2));
    EXPECT_EQ(readFile(save.data()), kOriginal);
    EXPECT_EQ(readFile(save.sheet(2) + "/inside"), "x");
    EXPECT_EQ(save.dir().names().size(), 4u);  // data, sheets 1, 2 (the directory), 5
}

TEST(SafeSave, DataFileInTheCurrentDirectoryByBareName) {
    ScratchDirectory dir;
    writeFile(dir.file("amp.CE2"), kOriginal);
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const auto sheet0 = bytesOf(kNewSheet0);
    const SaveResult result =
        saveWithBackup(realFileOps(), "amp.CE2", "amp.$E2", {{"amp.CE2", sheet0}}, 0644);
    std::filesystem::current_path(previous);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(readFile(dir.file("amp.CE2")), kNewSheet0);
    EXPECT_EQ(readFile(dir.file("amp.$E2")), kOriginal);
}

// Rows: requests that would lose the data file if carried out; each is refused untouched.
struct RefusalCase {
    const char* name;
    std::vector<std::string> files;  // names in the directory
    const char* backup;
};

const RefusalCase kRefusalCases[] = {
    {"no files at all", {}, "amp.$E2"},
    {"the data file is not among the files", {"amp.CE2-01"}, "amp.$E2"},
    {"a file named twice", {"amp.CE2", "amp.CE2-01", "amp.CE2-01"}, "amp.$E2"},
    {"the backup is the data file", {"amp.CE2"}, "amp.CE2"},
    {"the backup is one of the sheet files", {"amp.CE2", "amp.CE2-01"}, "amp.CE2-01"},
};

class SafeSaveRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(SafeSaveRefusal, TouchesNothing) {
    const RefusalCase& row = GetParam();
    ThreeSheetSave save;
    const auto bytes = bytesOf(kNewSheet0);
    std::vector<SaveFile> files;
    for (const std::string& name : row.files) {
        files.push_back({save.dir().file(name), bytes});
    }
    const SaveResult result =
        saveWithBackup(realFileOps(), save.data(), save.dir().file(row.backup), files, 0644);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(readFile(save.data()), kOriginal);
    EXPECT_EQ(readFile(save.backup()), kOldBackup);
    EXPECT_EQ(readFile(save.sheet(1)), kOldSheet1);
    EXPECT_EQ(save.dir().names().size(), 5u);
}

INSTANTIATE_TEST_SUITE_P(Requests, SafeSaveRefusal, ::testing::ValuesIn(kRefusalCases),
                         testing::RowName());

}  // namespace
}  // namespace wemb::platform
