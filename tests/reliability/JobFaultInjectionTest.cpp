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

// What the job must report when call `nth` of `op` fails, out of `total` calls of a clean job.
MessageId expectedOutcome(Op op, int nth, int total) {
    switch (op) {
        case Op::OpenRead:
        case Op::Fstat:
        case Op::Lock:
        case Op::Read:
            return MessageId::ReadFailed;
        case Op::Map:  // the data file is read instead
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

void expectPromisesKept(const JobScene& scene, FaultyFileOps& fileOps, MessageId expected,
                        bool allowStrays = false) {
    const JobReport report = scene.run(&fileOps);
    EXPECT_EQ(report.outcome, expected);
    EXPECT_EQ(scene.brokenPromises(report, allowStrays), "");
    EXPECT_EQ(fileOps.openDescriptors(), 0);
}

TEST(JobFaultInjection, EachOperationFailingInTurnKeepsEveryPromise) {
    for (int o = 0; o < static_cast<int>(Op::Count); ++o) {
        const Op op = static_cast<Op>(o);
        FaultyFileOps counting;
        expectPromisesKept(JobScene(), counting, MessageId::Finished);
        const int total = counting.calls(op);
        // A clean job removes nothing, and reads nothing of a data file it maps (a read where
        // the mapping is refused is below); every other operation must be exercised.
        EXPECT_TRUE(total > 0 || op == Op::Remove || op == Op::Read) << "operation " << o;
        for (int nth = 1; nth <= total; ++nth) {
            SCOPED_TRACE("operation " + std::to_string(o) + ", call " + std::to_string(nth));
            FaultyFileOps fileOps;
            fileOps.failCall(op, nth, EIO);
            const JobScene scene;
            expectPromisesKept(scene, fileOps, expectedOutcome(op, nth, total));
            // With nothing else failing, a failed save puts the original back under its name
            // (but for the directory's flush, which comes once every file is in place).
            if (expectedOutcome(op, nth, total) == MessageId::WriteFailed &&
                op != Op::FsyncDirectory) {
                EXPECT_EQ(bytesIfPresent(scene.dataPath()), scene.original());
            }
        }
    }
}

// Faults beyond a single failing call. `sheetBytes` is what a clean job writes in all.
TEST(JobFaultInjection, ShortWritesFullDisksStallsAndFailedRepairsKeepEveryPromise) {
    const struct {
        const char* fault;
        void (*arrange)(FaultyFileOps&, std::size_t sheetBytes);
        MessageId expected;
        bool strays = false;  // a temporary whose removal was made to fail may stay
    } cases[] = {
        {"every write takes one byte", [](FaultyFileOps& f, auto) { f.limitWrites(1); },
         MessageId::Finished},
        {"writes take nothing and report nothing", [](FaultyFileOps& f, auto) { f.limitWrites(0); },
         MessageId::WriteFailed},
        {"disk full one byte before the end of the last sheet",
         [](FaultyFileOps& f, std::size_t all) { f.fillDiskAfter(all - 1); },
         MessageId::WriteFailed},
        {"a write interrupted by a signal is tried again",
         [](FaultyFileOps& f, auto) { f.failCall(Op::Write, 1, EINTR); }, MessageId::Finished},
        {"temporary names left by killed runs are passed over",
         [](FaultyFileOps& f, auto) {
             for (int n = 1; n < 1000; ++n) {
                 f.failCall(Op::CreateExclusive, n, EEXIST);
             }
         },
         MessageId::Finished},
        {"the second sheet's rename fails, and so does putting the original back",
         [](FaultyFileOps& f, auto) {
             f.failCall(Op::Rename, 3, EIO);
             f.failCall(Op::Rename, 4, EIO);
         },
         MessageId::WriteFailed},
        {"the first sheet's rename fails, and so does putting the original back",
         [](FaultyFileOps& f, auto) {
             f.failCall(Op::Rename, 2, EIO);
             f.failCall(Op::Rename, 3, EIO);
         },
         MessageId::WriteFailed},
        {"the data file cannot be mapped and is read instead",
         [](FaultyFileOps& f, auto) { f.failCall(Op::Map, 1, ENODEV); }, MessageId::Finished},
        {"the data file cannot be mapped, and reading it fails",
         [](FaultyFileOps& f, auto) {
             f.failCall(Op::Map, 1, ENODEV);
             f.failCall(Op::Read, 1, EIO);
         },
         MessageId::ReadFailed},
        {"a write fails, and so does removing its temporary",
         [](FaultyFileOps& f, auto) {
             f.failCall(Op::Write, 2, EIO);
             f.failCall(Op::Remove, 1, EIO);
         },
         MessageId::WriteFailed, true},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.fault);
        const JobScene scene;
        const auto& sheets = scene.numberedSheets();
        FaultyFileOps fileOps;
        row.arrange(fileOps, sheets[0].size() + sheets[1].size() + sheets[2].size());
        expectPromisesKept(scene, fileOps, row.expected, row.strays);
    }
}

}  // namespace
}  // namespace wemb::testing
