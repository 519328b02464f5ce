#pragma once
// The real file system with faults on demand: the n-th call of any operation can fail with a
// chosen errno, writes can be cut short or run into a full disk, and reads can end early or
// deliver more than the file held.

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

inline const char* opName(Op op) {
    static constexpr const char* kNames[] = {
        "openRead", "createExclusive", "write", "read",   "fsync",  "startWriteBack", "fchmod",
        "close",    "fstat",           "lock",  "rename", "remove", "fsyncDirectory"};
    return kNames[static_cast<std::size_t>(op)];
}

class FaultyFileOps : public platform::FileOps {
  public:
    // Call number `nth` (1-based) of `op` fails with `error`.
    void failCall(Op op, int nth, int error) { faults_[{op, nth}] = error; }
    // Every write takes at most `limit` bytes.
    void limitWrites(std::size_t limit) { writeLimit_ = limit; }
    // Writes stop at `total` bytes written in all; the write that reaches it is cut short and
    // the next one fails with ENOSPC.
    void fillDiskAfter(std::size_t total) { diskSpace_ = total; }
    // Every write returns 0 (takes nothing, reports no error).
    void stallWrites() { stallWrites_ = true; }
    // Reads end (return 0) once `total` bytes have been read in all.
    void endReadsAfter(std::size_t total) { readEnd_ = total; }
    // A read at the end of the file still delivers one byte, as if the file had grown.
    void growFile() { growFile_ = true; }

    int calls(Op op) const { return counts_[static_cast<std::size_t>(op)]; }
    int openDescriptors() const { return openDescriptors_; }

    int openRead(const std::string& path) override {
        return counted(injected(Op::OpenRead) ? -1 : platform::FileOps::openRead(path));
    }
    int createExclusive(const std::string& path, mode_t mode) override {
        return counted(
            injected(Op::CreateExclusive) ? -1 : platform::FileOps::createExclusive(path, mode));
    }
    ssize_t write(int fd, const void* data, std::size_t size) override {
        if (injected(Op::Write)) {
            return -1;
        }
        if (written_ >= diskSpace_) {
            errno = ENOSPC;
            return -1;
        }
        size = std::min({size, writeLimit_ > 0 ? writeLimit_ : size, diskSpace_ - written_});
        const ssize_t result = stallWrites_ ? 0 : platform::FileOps::write(fd, data, size);
        written_ += result > 0 ? static_cast<std::size_t>(result) : 0;
        return result;
    }
    ssize_t read(int fd, void* data, std::size_t size) override {
        if (injected(Op::Read)) {
            return -1;
        }
        size = std::min(size, readEnd_ - std::min(readEnd_, readSoFar_));
        ssize_t result = size == 0 ? 0 : platform::FileOps::read(fd, data, size);
        if (result == 0 && growFile_ && size > 0) {
            static_cast<char*>(data)[0] = 'X';
            result = 1;
        }
        readSoFar_ += result > 0 ? static_cast<std::size_t>(result) : 0;
        return result;
    }
    int close(int fd) override {
        // Like the real close(2), a failing close still releases the descriptor.
        const bool fails = injected(Op::Close);
        const int error = errno;
        const int result = platform::FileOps::close(fd);
        openDescriptors_ -= result == 0 ? 1 : 0;
        errno = fails ? error : errno;
        return fails ? -1 : result;
    }
    int fsync(int fd) override { return injected(Op::Fsync) ? -1 : platform::FileOps::fsync(fd); }
    int startWriteBack(int fd) override {
        return injected(Op::StartWriteBack) ? -1 : platform::FileOps::startWriteBack(fd);
    }
    int fchmod(int fd, mode_t mode) override {
        return injected(Op::Fchmod) ? -1 : platform::FileOps::fchmod(fd, mode);
    }
    int fstat(int fd, platform::FileStatus* out) override {
        return injected(Op::Fstat) ? -1 : platform::FileOps::fstat(fd, out);
    }
    int lock(int fd) override { return injected(Op::Lock) ? -1 : platform::FileOps::lock(fd); }
    int rename(const std::string& from, const std::string& to) override {
        return injected(Op::Rename) ? -1 : platform::FileOps::rename(from, to);
    }
    int remove(const std::string& path) override {
        return injected(Op::Remove) ? -1 : platform::FileOps::remove(path);
    }
    int fsyncDirectory(const std::string& directory) override {
        return injected(Op::FsyncDirectory) ? -1 : platform::FileOps::fsyncDirectory(directory);
    }

  private:
    // Counts the call; true (errno set) when it is the one to fail.
    bool injected(Op op) {
        const auto fault = faults_.find({op, ++counts_[static_cast<std::size_t>(op)]});
        errno = fault == faults_.end() ? errno : fault->second;
        return fault != faults_.end();
    }
    int counted(int fd) {
        openDescriptors_ += fd >= 0 ? 1 : 0;
        return fd;
    }

    std::array<int, static_cast<std::size_t>(Op::Count)> counts_{};
    std::map<std::pair<Op, int>, int> faults_;
    std::size_t writeLimit_ = 0;
    std::size_t diskSpace_ = static_cast<std::size_t>(-1);
    std::size_t written_ = 0;
    bool stallWrites_ = false;
    std::size_t readEnd_ = static_cast<std::size_t>(-1);
    std::size_t readSoFar_ = 0;
    bool growFile_ = false;
    int openDescriptors_ = 0;
};

}  // namespace wemb::testing
