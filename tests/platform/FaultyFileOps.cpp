#include "tests/platform/FaultyFileOps.h"

#include <cerrno>

namespace wemb::platform::testing {

const char* opName(Op op) {
    static constexpr const char* kNames[] = {
        "openRead", "createExclusive", "write", "read",   "fsync",  "fchmod",
        "close",    "fstat",           "flock", "rename", "remove", "fsyncDirectory"};
    return kNames[static_cast<std::size_t>(op)];
}

void FaultyFileOps::failCall(Op op, int nth, int error) {
    faults_[{op, nth}] = error;
}

bool FaultyFileOps::injected(Op op) {
    const int call = ++counts_[static_cast<std::size_t>(op)];
    const auto fault = faults_.find({op, call});
    if (fault == faults_.end()) {
        return false;
    }
    errno = fault->second;
    return true;
}

int FaultyFileOps::openRead(const std::string& path) {
    if (injected(Op::OpenRead)) {
        return -1;
    }
    const int fd = FileOps::openRead(path);
    openDescriptors_ += fd >= 0 ? 1 : 0;
    return fd;
}

int FaultyFileOps::createExclusive(const std::string& path, mode_t mode) {
    if (injected(Op::CreateExclusive)) {
        return -1;
    }
    const int fd = FileOps::createExclusive(path, mode);
    openDescriptors_ += fd >= 0 ? 1 : 0;
    return fd;
}

ssize_t FaultyFileOps::write(int fd, const void* data, std::size_t size) {
    if (injected(Op::Write)) {
        return -1;
    }
    if (stallWrites_) {
        return 0;
    }
    if (writeLimit_ > 0 && size > writeLimit_) {
        size = writeLimit_;
    }
    if (written_ >= diskSpace_) {
        errno = ENOSPC;
        return -1;
    }
    if (size > diskSpace_ - written_) {
        size = diskSpace_ - written_;
    }
    const ssize_t result = FileOps::write(fd, data, size);
    written_ += result > 0 ? static_cast<std::size_t>(result) : 0;
    return result;
}

ssize_t FaultyFileOps::read(int fd, void* data, std::size_t size) {
    if (injected(Op::Read)) {
        return -1;
    }
    if (readSoFar_ >= readEnd_) {
        return 0;
    }
    if (size > readEnd_ - readSoFar_) {
        size = readEnd_ - readSoFar_;
    }
    ssize_t result = FileOps::read(fd, data, size);
    if (result == 0 && growFile_ && size > 0) {
        static_cast<char*>(data)[0] = 'X';
        result = 1;
    }
    readSoFar_ += result > 0 ? static_cast<std::size_t>(result) : 0;
    return result;
}

int FaultyFileOps::fsync(int fd) {
    return injected(Op::Fsync) ? -1 : FileOps::fsync(fd);
}

int FaultyFileOps::fchmod(int fd, mode_t mode) {
    return injected(Op::Fchmod) ? -1 : FileOps::fchmod(fd, mode);
}

int FaultyFileOps::close(int fd) {
    // Like the real close(2), a failing close still releases the descriptor.
    const bool fails = injected(Op::Close);
    const int error = errno;
    const int result = FileOps::close(fd);
    openDescriptors_ -= result == 0 ? 1 : 0;
    if (fails) {
        errno = error;
        return -1;
    }
    return result;
}

int FaultyFileOps::fstat(int fd, struct stat* out) {
    return injected(Op::Fstat) ? -1 : FileOps::fstat(fd, out);
}

int FaultyFileOps::flock(int fd, int operation) {
    return injected(Op::Flock) ? -1 : FileOps::flock(fd, operation);
}

int FaultyFileOps::rename(const std::string& from, const std::string& to) {
    return injected(Op::Rename) ? -1 : FileOps::rename(from, to);
}

int FaultyFileOps::remove(const std::string& path) {
    return injected(Op::Remove) ? -1 : FileOps::remove(path);
}

int FaultyFileOps::fsyncDirectory(const std::string& directory) {
    return injected(Op::FsyncDirectory) ? -1 : FileOps::fsyncDirectory(directory);
}

}  // namespace wemb::platform::testing
