// Every file operation of a job made to fail in turn, and the disk made to fill up, short-write
// or stall: whatever fails, the original survives, nothing partial or temporary is left, and the
// job says so with 106 (or 102 while it is still reading), never with 105.

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "tests/platform/FaultyFileOps.h"
#include "tests/reliability/JobScene.h"

namespace wemb::testing {
namespace {

using testing::FaultyFileOps;
using testing::Op;
using testing::opName;

int callsInACleanJob(Op op) {
    JobScene scene;
    FaultyFileOps counting;
    EXPECT_EQ(scene.run(&counting).outcome, MessageId::Finished);
    return counting.calls(op);
}

// What the job must report when call `nth` of `op` fails, out of `total` calls of a clean job.
MessageId expectedOutcome(Op op, int nth, int total) {
    switch (op) {
        case Op::OpenRead:
        case Op::Fstat:
        case Op::Lock:
        case Op::Read:
            return MessageId::ReadFailed;
        case Op::Fchmod:
        case Op::StartWriteBack:
            // New files get the data file's permission bits where the file system allows, and
            // their write-back started early where it can be; a refusal of either costs nothing.
            return MessageId::Finished;
        case Op::Close:
            // The last close is the data file's own, after everything is saved.
            return nth == total ? MessageId::Finished : MessageId::WriteFailed;
        default:
            return MessageId::WriteFailed;
    }
}

TEST(JobFaultInjection, EachOperationFailingInTurnKeepsEveryPromise) {
    for (int o = 0; o < static_cast<int>(Op::Count); ++o) {
        const Op op = static_cast<Op>(o);
        const int total = callsInACleanJob(op);
        // A clean job removes nothing; every other operation must be exercised at least once.
        EXPECT_TRUE(total > 0 || op == Op::Remove) << opName(op);
        for (int nth = 1; nth <= total; ++nth) {
            SCOPED_TRACE(std::string(opName(op)) + " call " + std::to_string(nth));
            JobScene scene;
            FaultyFileOps fileOps;
            fileOps.failCall(op, nth, EIO);
            const JobReport report = scene.run(&fileOps);
            EXPECT_EQ(report.outcome, expectedOutcome(op, nth, total));
            EXPECT_EQ(scene.brokenPromises(report), "");
            EXPECT_EQ(fileOps.openDescriptors(), 0);
        }
    }
}

// Faults beyond a single failing call. Sizes are in bytes written by the job in all; the
// sheets are written in order, so a size inside a sheet cuts that sheet.
struct DiskCase {
    const char* fault;
    void (*arrange)(FaultyFileOps&, const JobScene&);
    MessageId expected;
};

std::size_t sheetSize(const JobScene& scene, int sheet) {
    return scene.numberedSheets()[static_cast<std::size_t>(sheet)].size();
}

TEST(JobFaultInjection, ShortWritesFullDisksAndStallsKeepEveryPromise) {
    const DiskCase cases[] = {
        {"every write takes one byte", [](FaultyFileOps& f, const JobScene&) { f.limitWrites(1); },
         MessageId::Finished},
        {"writes take nothing and report nothing",
         [](FaultyFileOps& f, const JobScene&) { f.stallWrites(); }, MessageId::WriteFailed},
        {"disk full in the middle of the first sheet",
         [](FaultyFileOps& f, const JobScene& s) { f.fillDiskAfter(sheetSize(s, 0) / 2); },
         MessageId::WriteFailed},
        {"disk full in the middle of the second sheet",
         [](FaultyFileOps& f, const JobScene& s) {
             f.fillDiskAfter(sheetSize(s, 0) + sheetSize(s, 1) / 2);
         },
         MessageId::WriteFailed},
        {"disk full one byte before the end of the last sheet",
         [](FaultyFileOps& f, const JobScene& s) {
             f.fillDiskAfter(sheetSize(s, 0) + sheetSize(s, 1) + sheetSize(s, 2) - 1);
         },
         MessageId::WriteFailed},
        {"ENOSPC on the second write",
         [](FaultyFileOps& f, const JobScene&) { f.failCall(Op::Write, 2, ENOSPC); },
         MessageId::WriteFailed},
        {"the second of three sheet files cannot be created",
         [](FaultyFileOps& f, const JobScene&) { f.failCall(Op::CreateExclusive, 2, ENOSPC); },
         MessageId::WriteFailed},
        {"the second sheet's rename fails, and so does putting the original back",
         [](FaultyFileOps& f, const JobScene&) {
             f.failCall(Op::Rename, 3, EIO);
             f.failCall(Op::Rename, 4, EIO);
         },
         MessageId::WriteFailed},
        {"the first sheet's rename fails, and so does putting the original back",
         [](FaultyFileOps& f, const JobScene&) {
             f.failCall(Op::Rename, 2, EIO);
             f.failCall(Op::Rename, 3, EIO);
         },
         MessageId::WriteFailed},
    };
    for (const DiskCase& row : cases) {
        SCOPED_TRACE(row.fault);
        JobScene scene;
        FaultyFileOps fileOps;
        row.arrange(fileOps, scene);
        const JobReport report = scene.run(&fileOps);
        EXPECT_EQ(report.outcome, row.expected);
        EXPECT_EQ(scene.brokenPromises(report), "");
        EXPECT_EQ(fileOps.openDescriptors(), 0);
    }
}

// A temporary whose removal itself fails cannot be taken away; the original must still be
// untouched under its own name, since nothing was renamed yet.
TEST(JobFaultInjection, AFailedCleanUpStillLeavesTheOriginalInPlace) {
    JobScene scene;
    FaultyFileOps fileOps;
    fileOps.failCall(Op::Write, 2, EIO);
    fileOps.failCall(Op::Remove, 1, EIO);
    const JobReport report = scene.run(&fileOps);
    EXPECT_EQ(report.outcome, MessageId::WriteFailed);
    EXPECT_EQ(scene.brokenPromises(report, true), "");
    EXPECT_EQ(bytesIfPresent(scene.dataPath()), scene.original());
    EXPECT_FALSE(bytesIfPresent(scene.backupPath()));
}

}  // namespace
}  // namespace wemb::testing
