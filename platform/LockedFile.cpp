#include "platform/LockedFile.h"

#include <cerrno>
#include <span>
#include <utility>

#include "platform/FileOps.h"

namespace wemb::platform {

namespace {

// Closes `fd` after a failed step without losing the errno that step set.
void closeKeepingErrno(FileOps& fileOps, int fd) {
    const int error = errno;
    fileOps.close(fd);
    errno = error;
}

// Reads until `buffer` is full or the file ends; the number of bytes read, or nullopt.
std::optional<std::size_t> readInto(FileOps& fileOps, int fd, std::span<std::uint8_t> buffer) {
    std::size_t filled = 0;
    while (filled < buffer.size()) {
        const ssize_t got = fileOps.read(fd, buffer.data() + filled, buffer.size() - filled);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    return filled;
}

}  // namespace

std::optional<LockedFile> LockedFile::open(FileOps& fileOps, const std::string& path) {
    const int fd = fileOps.openRead(path);
    if (fd < 0) {
        return std::nullopt;
    }
    FileStatus status;
    if (fileOps.fstat(fd, &status) != 0) {
        closeKeepingErrno(fileOps, fd);
        return std::nullopt;
    }
    if (!status.regular) {
        fileOps.close(fd);
        errno = status.directory ? EISDIR : EINVAL;
        return std::nullopt;
    }
    // The lock belongs to the open file, so even a second open in this same process is refused
    // while the first one holds it.
    if (fileOps.lock(fd) != 0) {
        closeKeepingErrno(fileOps, fd);
        return std::nullopt;
    }
    return LockedFile(fileOps, fd, status.permissions, status.size);
}

LockedFile::LockedFile(FileOps& fileOps, int fd, mode_t permissions, std::uint64_t size)
    : fileOps_(&fileOps), fd_(fd), permissions_(permissions), size_(size) {}

LockedFile::LockedFile(LockedFile&& other) noexcept
    : fileOps_(other.fileOps_),
      fd_(std::exchange(other.fd_, -1)),
      permissions_(other.permissions_),
      size_(other.size_) {}

LockedFile& LockedFile::operator=(LockedFile&& other) noexcept {
    if (this != &other) {
        closeDescriptor();
        fileOps_ = other.fileOps_;
        fd_ = std::exchange(other.fd_, -1);
        permissions_ = other.permissions_;
        size_ = other.size_;
    }
    return *this;
}

LockedFile::~LockedFile() {
    closeDescriptor();
}

void LockedFile::closeDescriptor() {
    if (fd_ >= 0) {
        fileOps_->close(fd_);
        fd_ = -1;
    }
}

FileMapping::~FileMapping() {
    fileOps_->unmap(data_, size_);
}

std::shared_ptr<const FileMapping> LockedFile::mapAll(std::uint64_t maxSize) {
    if (size_ > maxSize) {
        errno = EFBIG;
        return nullptr;
    }
    if (size_ == 0) {
        errno = EINVAL;  // nothing to map; reading it says what it is
        return nullptr;
    }
    const auto size = static_cast<std::size_t>(size_);
    const void* data = fileOps_->mapRead(fd_, size);
    if (data == nullptr) {
        return nullptr;
    }
    return std::make_shared<const FileMapping>(*fileOps_, data, size);
}

bool LockedFile::sizeUnchanged() {
    FileStatus status;
    if (fileOps_->fstat(fd_, &status) != 0) {
        return false;
    }
    if (status.size != size_) {
        errno = EIO;
        return false;
    }
    return true;
}

std::optional<std::vector<std::uint8_t>> LockedFile::readAll(std::uint64_t maxSize) {
    if (size_ > maxSize) {
        errno = EFBIG;
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size_));
    const std::optional<std::size_t> got = readInto(*fileOps_, fd_, bytes);
    if (!got || *got != bytes.size()) {
        if (got) {
            errno = EIO;  // shorter than its size: changed under us
        }
        return std::nullopt;
    }
    // A file that grew since it was measured would be saved without its new end.
    std::uint8_t extra = 0;
    const std::optional<std::size_t> more = readInto(*fileOps_, fd_, std::span(&extra, 1));
    if (!more || *more != 0) {
        if (more) {
            errno = EIO;
        }
        return std::nullopt;
    }
    return bytes;
}

}  // namespace wemb::platform
