#include "platform/InputFile.h"

#include <cerrno>
#include <utility>

#include "platform/FileOps.h"

namespace wemb::platform {

std::optional<InputFile> InputFile::open(const std::string& path) {
    const int fd = openForSharedReading(path);
    if (fd < 0) {
        return std::nullopt;
    }
    FileStatus status;
    const bool measured = realFileOps().fstat(fd, &status) == 0;
    if (!measured || !status.regular) {
        // The caller tells the user why, in the system's words.
        const int error = !measured ? errno : status.directory ? EISDIR : EINVAL;
        realFileOps().close(fd);
        errno = error;
        return std::nullopt;
    }
    return InputFile(fd, status.size, status.permissions);
}

InputFile::InputFile(int fd, std::uint64_t size, unsigned permissions)
    : fd_(fd), size_(size), permissions_(permissions) {}

InputFile::InputFile(InputFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), size_(other.size_), permissions_(other.permissions_) {}

InputFile::~InputFile() {
    if (fd_ >= 0) {
        realFileOps().close(fd_);
    }
}

std::optional<std::size_t> InputFile::read(std::span<std::uint8_t> into) {
    std::size_t filled = 0;
    while (filled < into.size()) {
        const ssize_t got = realFileOps().read(fd_, into.data() + filled, into.size() - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    return filled;
}

}  // namespace wemb::platform
