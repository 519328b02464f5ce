#include "platform/LockedFile.h"

#include <sys/stat.h>

#include <cerrno>

#include <gtest/gtest.h>

#include "platform/FileOps.h"
#include "tests/platform/FaultyFileOps.h"
#include "tests/support/TempDirectory.h"

namespace wemb::platform {
namespace {

using testing::FaultyFileOps;
using testing::Op;

const std::string kContent = "VU ZUVI RARE $0000 and the records after the header";

class LockedFileTest : public ::testing::Test {
  protected:
    LockedFileTest() { testing::writeFile(path_, kContent); }
    testing::TempDirectory dir_;
    const std::string path_ = dir_.file("amp.CE2");
};

TEST_F(LockedFileTest, HoldsTheFileUntilTheLastMovedOwnerClosesIt) {
    FaultyFileOps fileOps;
    {
        auto opened = LockedFile::open(fileOps, path_);
        ASSERT_TRUE(opened);
        LockedFile moved = std::move(*opened);
        opened.reset();
        errno = 0;
        EXPECT_FALSE(LockedFile::open(realFileOps(), path_));
        EXPECT_EQ(errno, EWOULDBLOCK);
        EXPECT_EQ(moved.readAll(1000).value().size(), kContent.size());
    }
    EXPECT_EQ(fileOps.openDescriptors(), 0);
    EXPECT_EQ(fileOps.calls(Op::Close), 1);
    EXPECT_TRUE(LockedFile::open(realFileOps(), path_));
}

// A failing step, or a name that is no regular file: the descriptor is closed and errno kept.
TEST_F(LockedFileTest, FailsToOpenCleanly) {
    ASSERT_EQ(::mkdir(dir_.file("folder.CE2").c_str(), 0755), 0);
    ASSERT_EQ(::mkfifo(dir_.file("pipe.CE2").c_str(), 0644), 0);
    struct Row {
        const char* name;
        Op op;
        int error;
    } const rows[] = {
        {"folder.CE2", Op::Count, EISDIR},
        {"pipe.CE2", Op::Count, EINVAL},  // must not hang waiting for a writer either
        {"missing.CE2", Op::Count, ENOENT},
        {"amp.CE2", Op::OpenRead, EACCES},
        {"amp.CE2", Op::Fstat, EIO},
        {"amp.CE2", Op::Lock, EWOULDBLOCK},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.name) + ", errno " + std::to_string(row.error));
        FaultyFileOps fileOps;
        fileOps.failCall(row.op, 1, row.error);
        errno = 0;
        EXPECT_FALSE(LockedFile::open(fileOps, dir_.file(row.name)));
        EXPECT_EQ(errno, row.error);
        EXPECT_EQ(fileOps.openDescriptors(), 0);
    }
}

TEST_F(LockedFileTest, ReadsTheWholeFileOrNothing) {
    constexpr std::size_t kNoEnd = static_cast<std::size_t>(-1);
    struct Row {
        const char* rule;
        std::uint64_t maxSize;
        std::size_t readEnd;  // reads stop delivering after this many bytes
        int failRead;         // call number of read() that fails, 0 for none
        int readError;
        bool grows;
        bool ok;
    } const rows[] = {
        {"exactly the limit is accepted", kContent.size(), kNoEnd, 0, 0, false, true},
        {"one byte above the limit is refused", kContent.size() - 1, kNoEnd, 0, 0, false, false},
        {"the file ends early", 1000, 10, 0, 0, false, false},
        {"a read error", 1000, kNoEnd, 1, EIO, false, false},
        {"an interrupted read is retried", 1000, kNoEnd, 1, EINTR, false, true},
        {"a read error at the end check", 1000, kNoEnd, 2, EIO, false, false},
        {"the file grew while it was read", 1000, kNoEnd, 0, 0, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        FaultyFileOps fileOps;
        fileOps.endReadsAfter(row.readEnd);
        fileOps.failCall(Op::Read, row.failRead, row.readError);
        if (row.grows) {
            fileOps.growFile();
        }
        auto file = LockedFile::open(fileOps, path_);
        ASSERT_TRUE(file);
        const auto bytes = file->readAll(row.maxSize);
        EXPECT_EQ(bytes, row.ok ? std::optional(testing::bytesOf(kContent)) : std::nullopt);
    }
    testing::writeFile(path_, "");
    EXPECT_EQ(LockedFile::open(realFileOps(), path_)->readAll(100), std::vector<std::uint8_t>{});
}

}  // namespace
}  // namespace wemb::platform
