#include "platform/LockedFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <optional>
#include <tuple>

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

// Reads that deliver at most five bytes each, as a network share may.
struct SmallReads : FaultyFileOps {
    ssize_t read(int fd, void* data, std::size_t size) override {
        return FaultyFileOps::read(fd, data, std::min<std::size_t>(size, 5));
    }
};

TEST_F(LockedFileTest, HoldsTheFileUntilTheLastMovedOwnerClosesIt) {
    SmallReads fileOps;
    {
        auto opened = LockedFile::open(fileOps, path_);
        ASSERT_TRUE(opened);
        LockedFile moved = std::move(*opened);
        opened.reset();
        errno = 0;
        EXPECT_FALSE(LockedFile::open(realFileOps(), path_));
        EXPECT_EQ(errno, EWOULDBLOCK);
        const std::vector<std::uint8_t> bytes = moved.readAll(1000).value();
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), kContent);
    }
    EXPECT_EQ(fileOps.openDescriptors(), 0);
    EXPECT_EQ(fileOps.calls(Op::Close), 1);
    EXPECT_TRUE(LockedFile::open(realFileOps(), path_));
}

// A failing step, or a name that is no regular file: the descriptor is closed and errno kept.
TEST_F(LockedFileTest, FailsToOpenCleanly) {
    ASSERT_TRUE(std::filesystem::create_directory(dir_.file("folder.CE2")));
#ifndef _WIN32
    ASSERT_EQ(::mkfifo(dir_.file("pipe.CE2").c_str(), 0644), 0);
#endif
    const std::tuple<const char*, Op, int> rows[] = {
        {"folder.CE2", Op::Count, EISDIR},
#ifdef _WIN32
        {"NUL.CE2", Op::Count, EINVAL},  // a device, whatever directory it seems to be in
#else
        {"pipe.CE2", Op::Count, EINVAL},  // must not hang waiting for a writer either
#endif
        {"missing.CE2", Op::Count, ENOENT}, {"amp.CE2", Op::OpenRead, EACCES},
        {"amp.CE2", Op::Fstat, EIO},        {"amp.CE2", Op::Lock, EWOULDBLOCK},
    };
    for (const auto& [name, op, error] : rows) {
        FaultyFileOps fileOps;
        fileOps.failCall(op, 1, error);
        errno = 0;
        EXPECT_FALSE(LockedFile::open(fileOps, dir_.file(name)));
        EXPECT_EQ(errno, error) << name;
        EXPECT_EQ(fileOps.openDescriptors(), 0) << name;
    }
}

// Mapped, the bytes stay as long as the mapping is held, the file closed or not; a file too
// large, an empty one, or one refused a mapping maps to nothing, and only the first says EFBIG.
// A file that grows once mapped is told apart.
TEST_F(LockedFileTest, MapsTheWholeFileOrSaysWhyNot) {
    testing::writeFile(dir_.file("empty.CE2"), "");
#ifdef _WIN32
    constexpr int kMapped = ENOSYS;  // never mapped there
#else
    constexpr int kMapped = 0;
#endif
    const std::tuple<const char*, std::uint64_t, Op, int> rows[] = {
        {"amp.CE2", kContent.size(), Op::Count, kMapped},
        {"amp.CE2", kContent.size() - 1, Op::Count, EFBIG},
        {"empty.CE2", 1000, Op::Count, EINVAL},
        {"amp.CE2", 1000, Op::Map, ENODEV},
    };
    for (const auto& [name, maxSize, op, error] : rows) {
        FaultyFileOps fileOps;
        fileOps.failCall(op, 1, error);
        std::shared_ptr<const FileMapping> mapping;
        {
            std::optional<LockedFile> file = LockedFile::open(fileOps, dir_.file(name));
            ASSERT_TRUE(file) << name;
            errno = 0;
            mapping = file->mapAll(maxSize);
            EXPECT_EQ(errno, error) << name << " " << maxSize;
        }
        EXPECT_EQ(fileOps.openDescriptors(), 0);
        if (error != 0) {
            EXPECT_EQ(mapping, nullptr) << name << " " << maxSize;
            continue;
        }
        ASSERT_NE(mapping, nullptr);
        EXPECT_EQ(std::string(mapping->bytes().begin(), mapping->bytes().end()), kContent);
    }
#ifndef _WIN32  // there no one else can write the open file
    std::optional<LockedFile> file = LockedFile::open(realFileOps(), path_);
    EXPECT_TRUE(file->sizeUnchanged());
    testing::writeFile(path_, kContent + " and more");
    EXPECT_FALSE(file->sizeUnchanged());
    EXPECT_EQ(errno, EIO);
#endif
}

}  // namespace
}  // namespace wemb::platform
