#include "platform/FileOps.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace wemb::platform {

int FileOps::openRead(const std::string& path) {
    return openForSharedReading(path);
}

int FileOps::createExclusive(const std::string& path, mode_t mode) {
    return ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOCTTY, mode);
}

ssize_t FileOps::write(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}

ssize_t FileOps::read(int fd, void* data, std::size_t size) {
    return ::read(fd, data, size);
}

const void* FileOps::mapRead(int fd, std::size_t size) {
    void* data = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    return data == MAP_FAILED ? nullptr : data;
}

int FileOps::unmap(const void* data, std::size_t size) {
    return ::munmap(const_cast<void*>(data), size);
}

int FileOps::fsync(int fd) {
    return ::fsync(fd);
}

int FileOps::startWriteBack([[maybe_unused]] int fd) {
#ifdef SYNC_FILE_RANGE_WRITE
    return ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
#else
    return 0;
#endif
}

int FileOps::fchmod(int fd, mode_t mode) {
    return ::fchmod(fd, mode);
}

int FileOps::close(int fd) {
    return ::close(fd);
}

int FileOps::fstat(int fd, FileStatus* out) {
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        return -1;
    }
    *out = {S_ISREG(status.st_mode), S_ISDIR(status.st_mode),
            static_cast<std::uint64_t>(status.st_size), status.st_mode & 0777};
    return 0;
}

int FileOps::lock(int fd) {
    return ::flock(fd, LOCK_EX | LOCK_NB);
}

int FileOps::rename(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str());
}

int FileOps::remove(const std::string& path) {
    return ::unlink(path.c_str());
}

int FileOps::fsyncDirectory(const std::string& directory) {
    const char* name = directory.empty() ? "." : directory.c_str();
    const int fd = ::open(name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    const int result = ::fsync(fd);
    const int savedErrno = errno;
    ::close(fd);
    errno = savedErrno;
    return result;
}

FileOps& realFileOps() {
    static FileOps instance;
    return instance;
}

int openForSharedReading(const std::string& path) {
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
}

}  // namespace wemb::platform
