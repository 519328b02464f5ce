#include "platform/LockedFile.h"

#include <sys/stat.h>

#include <cerrno>

#include <gtest/gtest.h>

#include "platform/FileOps.h"
#include "tests/platform/FaultyFileOps.h"
#include "tests/platform/RowName.h"
#include "tests/platform/ScratchDirectory.h"

namespace wemb::platform {
namespace {

using testing::FaultyFileOps;
using testing::Op;
using testing::ScratchDirectory;
using testing::writeFile;

const std::string kContent = "VU ZUVI RARE $0000 and the records after the header";

TEST(LockedFile, SecondOpenOfTheSameFileFailsWhileTheFirstHoldsIt) {
    ScratchDirectory dir;
    writeFile(dir.file("amp.CE2"), kContent);
    auto first = LockedFile::open(realFileOps(), dir.file("amp.CE2"));
    ASSERT_TRUE(first);
    errno = 0;
    EXPECT_FALSE(LockedFile::open(realFileOps(), dir.file("amp.CE2")));
    EXPECT_EQ(errno, EWOULDBLOCK);
    first.reset();
    EXPECT_TRUE(LockedFile::open(realFileOps(), dir.file("amp.CE2")));
}

TEST(LockedFile, MovedFileKeepsTheLockAndClosesOnce) {
    ScratchDirectory dir;
    writeFile(dir.file("amp.CE2"), kContent);
    FaultyFileOps fileOps;
    {
        auto opened = LockedFile::open(fileOps, dir.file("amp.CE2"));
        ASSERT_TRUE(opened);
        LockedFile moved = std::move(*opened);
        opened.reset();
        EXPECT_FALSE(LockedFile::open(realFileOps(), dir.file("amp.CE2")));
        EXPECT_EQ(moved.readAll(1000).value().size(), kContent.size());
    }
    EXPECT_EQ(fileOps.openDescriptors(), 0);
    EXPECT_EQ(fileOps.calls(Op::Close), 1);
}

TEST(LockedFile, ReadsTheWholeFileAndItsPermissions) {
    ScratchDirectory dir;
    writeFile(dir.file("amp.CE2"), kContent);
    ASSERT_EQ(::chmod(dir.file("amp.CE2").c_str(), 0640), 0);
    auto file = LockedFile::open(realFileOps(), dir.file("amp.CE2"));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->permissions(), 0640u);
    EXPECT_EQ(file->size(), kContent.size());
    const auto bytes = file->readAll(kContent.size());
    ASSERT_TRUE(bytes);
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), kContent);
}

// Rows: names that must not be opened as a data file.
struct OpenCase {
    const char* name;
    int error;
};

TEST(LockedFile, RefusesWhatIsNotARegularFile) {
    ScratchDirectory dir;
    ASSERT_EQ(::mkdir(dir.file("folder.CE2").c_str(), 0755), 0);
    ASSERT_EQ(::mkfifo(dir.file("pipe.CE2").c_str(), 0644), 0);
    const OpenCase cases[] = {
        {"folder.CE2", EISDIR},
        {"pipe.CE2", EINVAL},  // must not hang waiting for a writer either
        {"missing.CE2", ENOENT},
    };
    for (const OpenCase& row : cases) {
        SCOPED_TRACE(row.name);
        FaultyFileOps fileOps;
        errno = 0;
        EXPECT_FALSE(LockedFile::open(fileOps, dir.file(row.name)));
        EXPECT_EQ(errno, row.error);
        EXPECT_EQ(fileOps.openDescriptors(), 0);
    }
}

// Rows: a failing step of opening; the descriptor must be closed and the step's errno kept.
struct OpenFaultCase {
    const char* name;
    Op op;
    int error;
};

const OpenFaultCase kOpenFaults[] = {
    {"open fails", Op::OpenRead, EACCES},
    {"fstat fails", Op::Fstat, EIO},
    {"locked elsewhere", Op::Flock, EWOULDBLOCK},
};

class LockedFileOpenFault : public ::testing::TestWithParam<OpenFaultCase> {};

TEST_P(LockedFileOpenFault, FailsCleanly) {
    const OpenFaultCase& row = GetParam();
    ScratchDirectory dir;
    writeFile(dir.file("amp.CE2"), kContent);
    FaultyFileOps fileOps;
    fileOps.failCall(row.op, 1, row.error);
    errno = 0;
    EXPECT_FALSE(LockedFile::open(fileOps, dir.file("amp.CE2")));
    EXPECT_EQ(errno, row.error);
    EXPECT_EQ(fileOps.openDescriptors(), 0);
}

INSTANTIATE_TEST_SUITE_P(Steps, LockedFileOpenFault, ::testing::ValuesIn(kOpenFaults),
                         testing::RowName());

// Rows: how reading the whole file can go wrong or right.
struct ReadCase {
    const char* name;
    std::uint64_t maxSize;
    std::size_t readEnd;  // reads stop delivering after this many bytes
    int failRead;         // call number of read() that fails, 0 for none
    int readError;
    bool grows;
    bool ok;
};

constexpr std::size_t kNoEnd = static_cast<std::size_t>(-1);

const ReadCase kReadCases[] = {
    {"exactly the limit is accepted", kContent.size(), kNoEnd, 0, 0, false, true},
    {"one byte above the limit is refused", kContent.size() - 1, kNoEnd, 0, 0, false, false},
    {"the file ends early", 1000, 10, 0, 0, false, false},
    {"a read error", 1000, kNoEnd, 1, EIO, false, false},
    {"an interrupted read is retried", 1000, kNoEnd, 1, EINTR, false, true},
    {"a read error at the end check", 1000, kNoEnd, 2, EIO, false, false},
    {"the file grew while it was read", 1000, kNoEnd, 0, 0, true, false},
};

class LockedFileRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(LockedFileRead, WholeFileOrNothing) {
    const ReadCase& row = GetParam();
    ScratchDirectory dir;
    writeFile(dir.file("amp.CE2"), kContent);
    FaultyFileOps fileOps;
    fileOps.endReadsAfter(row.readEnd);
    if (row.failRead > 0) {
        fileOps.failCall(Op::Read, row.failRead, row.readError);
    }
    if (row.grows) {
        fileOps.growFile();
    }
    auto file = LockedFile::open(fileOps, dir.file("amp.CE2"));
    ASSERT_TRUE(file);
    const auto bytes = file->readAll(row.maxSize);
    ASSERT_EQ(bytes.has_value(), row.ok);
    if (row.ok) {
        EXPECT_EQ(std::string(bytes->begin(), bytes->end()), kContent);
    }
}

INSTANTIATE_TEST_SUITE_P(Reads, LockedFileRead, ::testing::ValuesIn(kReadCases),
                         testing::RowName());

TEST(LockedFile, EmptyFileReadsAsEmpty) {
    ScratchDirectory dir;
    writeFile(dir.file("empty.CE2"), "");
    auto file = LockedFile::open(realFileOps(), dir.file("empty.CE2"));
    ASSERT_TRUE(file);
    const auto bytes = file->readAll(100);
    ASSERT_TRUE(bytes);
    EXPECT_TRUE(bytes->empty());
}

}  // namespace
}  // namespace wemb::platform
