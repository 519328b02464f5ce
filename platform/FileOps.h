#pragma once
// The seam through which a job touches files. Each member is one system call with the system's
// own contract (result -1 and errno set on failure); the base class performs the real calls, and
// tests derive from it to make any single step fail.

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <string>

namespace wemb::platform {

class FileOps {
  public:
    virtual ~FileOps() = default;

    // open(O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK): a FIFO or device under the name must not
    // hang the job; non-blocking mode changes nothing for regular files.
    virtual int openRead(const std::string& path);
    // open(O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, mode): never opens an existing file.
    virtual int createExclusive(const std::string& path, mode_t mode);
    virtual ssize_t write(int fd, const void* data, std::size_t size);
    virtual ssize_t read(int fd, void* data, std::size_t size);
    virtual int fsync(int fd);
    // fchmod: the kernel narrows the creation mode by the umask; this sets the exact bits.
    virtual int fchmod(int fd, mode_t mode);
    virtual int close(int fd);
    virtual int fstat(int fd, struct stat* out);
    virtual int flock(int fd, int operation);
    // rename(2): atomically replaces a file of the target name.
    virtual int rename(const std::string& from, const std::string& to);
    // unlink(2): files only, never directories.
    virtual int remove(const std::string& path);
    // Makes the renames inside `directory` durable ("" is the current directory).
    virtual int fsyncDirectory(const std::string& directory);
};

// The real file system.
FileOps& realFileOps();

}  // namespace wemb::platform
