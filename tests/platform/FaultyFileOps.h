#pragma once
// The real file system with faults on demand: the n-th call of any operation can fail with a
// chosen errno, and writes can be cut short, stall or run into a full disk.

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstddef>
#include <map>
#include <string>

#include "platform/FileOps.h"

namespace wemb::testing {

enum class Op {
    OpenRead,
    CreateExclusive,
    Write,
    Read,
    Map,
    Fsync,
    StartWriteBack,
    Fchmod,
    Close,
    Fstat,
    Lock,
    Rename,
    Remove,
    FsyncDirectory,
    Count
};

class FaultyFileOps : public platform::FileOps {
    using Real = platform::FileOps;

  public:
    // Call number `nth` (1-based) of `op` fails with `error`.
    void failCall(Op op, int nth, int error) { faults_[{op, nth}] = error; }
    // Every write takes at most `limit` bytes; 0 makes every write take nothing and report no
    // error.
    void limitWrites(std::size_t limit) { writeLimit_ = limit; }
    // Writes stop at `total` bytes written in all; the write that reaches it is cut short and
    // the next one fails with ENOSPC.
    void fillDiskAfter(std::size_t total) { diskSpace_ = total; }

    int calls(Op op) const { return counts_[static_cast<std::size_t>(op)]; }
    int openDescriptors() const { return openDescriptors_; }

    int openRead(const std::string& path) override {
        return opened(fails(Op::OpenRead) ? -1 : Real::openRead(path));
    }
    int createExclusive(const std::string& path, mode_t mode) override {
        return opened(fails(Op::CreateExclusive) ? -1 : Real::createExclusive(path, mode));
    }
    ssize_t write(int fd, const void* data, std::size_t size) override {
        if (fails(Op::Write) || (written_ >= diskSpace_ && (errno = ENOSPC))) {
            return -1;
        }
        size = std::min({size, writeLimit_, diskSpace_ - written_});
        const ssize_t result = size == 0 ? 0 : Real::write(fd, data, size);
        written_ += result > 0 ? static_cast<std::size_t>(result) : 0;
        return result;
    }
    ssize_t read(int fd, void* data, std::size_t size) override {
        return fails(Op::Read) ? -1 : Real::read(fd, data, size);
    }
    const void* mapRead(int fd, std::size_t size) override {
        return fails(Op::Map) ? nullptr : Real::mapRead(fd, size);
    }
    int close(int fd) override {
        // Like the real close(2), a failing close still releases the descriptor.
        const bool failing = fails(Op::Close);
        const int error = errno;
        const int result = Real::close(fd);
        openDescriptors_ -= result == 0 ? 1 : 0;
        errno = failing ? error : errno;
        return failing ? -1 : result;
    }
    int fsync(int fd) override { return fails(Op::Fsync) ? -1 : Real::fsync(fd); }
    int startWriteBack(int fd) override {
        return fails(Op::StartWriteBack) ? -1 : Real::startWriteBack(fd);
    }
    int fchmod(int fd, mode_t mode) override {
        return fails(Op::Fchmod) ? -1 : Real::fchmod(fd, mode);
    }
    int fstat(int fd, platform::FileStatus* out) override {
        return fails(Op::Fstat) ? -1 : Real::fstat(fd, out);
    }
    int lock(int fd) override { return fails(Op::Lock) ? -1 : Real::lock(fd); }
    int rename(const std::string& from, const std::string& to) override {
        return fails(Op::Rename) ? -1 : Real::rename(from, to);
    }
    int remove(const std::string& path) override {
        return fails(Op::Remove) ? -1 : Real::remove(path);
    }
    int fsyncDirectory(const std::string& directory) override {
        return fails(Op::FsyncDirectory) ? -1 : Real::fsyncDirectory(directory);
    }

  private:
    // Counts the call; true (errno set) when it is the one to fail.
    bool fails(Op op) {
        const auto fault = faults_.find({op, ++counts_[static_cast<std::size_t>(op)]});
        errno = fault == faults_.end() ? errno : fault->second;
        return fault != faults_.end();
    }
    int opened(int fd) {
        openDescriptors_ += fd >= 0 ? 1 : 0;
        return fd;
    }

    std::array<int, static_cast<std::size_t>(Op::Count)> counts_{};
    std::map<std::pair<Op, int>, int> faults_;
    std::size_t writeLimit_ = static_cast<std::size_t>(-1);
    std::size_t diskSpace_ = static_cast<std::size_t>(-1);
    std::size_t written_ = 0;
    int openDescriptors_ = 0;
};

}  // namespace wemb::testing
