#include "platform/FileOps.h"

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cerrno>

#include "platform/windows/WideText.h"

namespace wemb::platform {

namespace {

// Descriptors are the C runtime's, so that they are plain ints as on POSIX; each owns its handle.
int descriptorFor(HANDLE handle, int flags) {
    if (handle == INVALID_HANDLE_VALUE) {
        setErrnoFromLastError();
        return -1;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        errno = EMFILE;
    }
    return fd;
}

HANDLE handleOf(int fd) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

int resultOf(BOOL ok) {
    if (!ok) {
        setErrnoFromLastError();
        return -1;
    }
    return 0;
}

int openForReading(const std::string& path, DWORD sharing) {
    const std::wstring name = widened(path);
    const int fd = descriptorFor(CreateFileW(name.c_str(), GENERIC_READ, sharing, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
                                 _O_RDONLY);
    // Windows opens no directory as a file and says "access denied"; say what POSIX says.
    if (fd < 0 && errno == EACCES) {
        const DWORD attributes = GetFileAttributesW(name.c_str());
        errno = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)
                    ? EISDIR
                    : EACCES;
    }
    return fd;
}

// One call moves at most this much, so that the count fits a DWORD and the result a ssize_t.
constexpr std::size_t kMaxTransfer = 1u << 30;

}  // namespace

int FileOps::openRead(const std::string& path) {
    return openForReading(path, FILE_SHARE_DELETE);
}

int FileOps::createExclusive(const std::string& path, mode_t) {
    return descriptorFor(CreateFileW(widened(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr),
                         _O_WRONLY);
}

ssize_t FileOps::write(int fd, const void* data, std::size_t size) {
    DWORD written = 0;
    if (!WriteFile(handleOf(fd), data, static_cast<DWORD>(std::min(size, kMaxTransfer)), &written,
                   nullptr)) {
        setErrnoFromLastError();
        return -1;
    }
    return static_cast<ssize_t>(written);
}

ssize_t FileOps::read(int fd, void* data, std::size_t size) {
    DWORD got = 0;
    if (!ReadFile(handleOf(fd), data, static_cast<DWORD>(std::min(size, kMaxTransfer)), &got,
                  nullptr)) {
        setErrnoFromLastError();
        return -1;
    }
    return static_cast<ssize_t>(got);
}

const void* FileOps::mapRead(int, std::size_t) {
    errno = ENOSYS;
    return nullptr;
}

int FileOps::unmap(const void*, std::size_t) {
    errno = ENOSYS;
    return -1;
}

int FileOps::fsync(int fd) {
    return resultOf(FlushFileBuffers(handleOf(fd)));
}

// FlushFileBuffers in fsync does all the work.
int FileOps::startWriteBack(int) {
    return 0;
}

// Windows keeps one of the bits: a file nobody may write is read-only.
int FileOps::fchmod(int fd, mode_t mode) {
    FILE_BASIC_INFO information{};
    information.FileAttributes =
        (mode & 0222) == 0 ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL;
    return resultOf(
        SetFileInformationByHandle(handleOf(fd), FileBasicInfo, &information, sizeof information));
}

int FileOps::close(int fd) {
    return _close(fd);
}

int FileOps::fstat(int fd, FileStatus* out) {
    const HANDLE handle = handleOf(fd);
    // A device (CON, NUL, a pipe) is no file: it gets no further look, and never a read.
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        *out = {};
        return 0;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(handle, &information)) {
        setErrnoFromLastError();
        return -1;
    }
    const bool directory = (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const bool readOnly = (information.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    *out = {!directory, directory,
            (std::uint64_t{information.nFileSizeHigh} << 32) | information.nFileSizeLow,
            static_cast<mode_t>(readOnly ? 0444 : 0666)};
    return 0;
}

int FileOps::lock(int) {
    return 0;
}

int FileOps::rename(const std::string& from, const std::string& to) {
    const std::wstring source = widened(from);
    const std::wstring target = widened(to);
    constexpr DWORD kFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (MoveFileExW(source.c_str(), target.c_str(), kFlags)) {
        return 0;
    }
    // Windows replaces no read-only file, where POSIX asks only the directory: an old read-only
    // backup is replaced all the same.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES &&
                          (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) ==
                              FILE_ATTRIBUTE_READONLY;
    return resultOf(readOnly && GetLastError() == ERROR_ACCESS_DENIED &&
                    SetFileAttributesW(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY) &&
                    MoveFileExW(source.c_str(), target.c_str(), kFlags));
}

int FileOps::remove(const std::string& path) {
    return resultOf(DeleteFileW(widened(path).c_str()));
}

int FileOps::fsyncDirectory(const std::string&) {
    return 0;
}

FileOps& realFileOps() {
    static FileOps instance;
    return instance;
}

int openForSharedReading(const std::string& path) {
    return openForReading(path, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
}

}  // namespace wemb::platform
