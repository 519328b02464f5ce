#pragma once
// The real file system with faults on demand: the n-th call of any operation can fail with a
// chosen errno, writes can be cut short or run into a full disk, and reads can end early or
// deliver more than the file held.

#include <array>
#include <cstddef>
#include <map>
#include <string>

#include "platform/FileOps.h"

namespace wemb::platform::testing {

enum class Op {
    OpenRead,
    CreateExclusive,
    Write,
    Read,
    Fsync,
    Fchmod,
    Close,
    Fstat,
    Flock,
    Rename,
    Remove,
    FsyncDirectory,
    Count
};

const char* opName(Op op);

class FaultyFileOps : public FileOps {
  public:
    // Call number `nth` (1-based) of `op` fails with `error`.
    void failCall(Op op, int nth, int error);
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

    int openRead(const std::string& path) override;
    int createExclusive(const std::string& path, mode_t mode) override;
    ssize_t write(int fd, const void* data, std::size_t size) override;
    ssize_t read(int fd, void* data, std::size_t size) override;
    int fsync(int fd) override;
    int fchmod(int fd, mode_t mode) override;
    int close(int fd) override;
    int fstat(int fd, struct stat* out) override;
    int flock(int fd, int operation) override;
    int rename(const std::string& from, const std::string& to) override;
    int remove(const std::string& path) override;
    int fsyncDirectory(const std::string& directory) override;

  private:
    // Counts the call; true (errno set) when it is the one to fail.
    bool injected(Op op);

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

}  // namespace wemb::platform::testing
