#pragma once
// The seam through which a job touches files. Each member is one system call with the POSIX
// contract (result -1 and errno set on failure), whatever the system: the Windows implementation
// maps its errors onto errno. The base class performs the real calls, and tests derive from it to
// make any single step fail.

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace wemb::platform {

// What the job needs to know about an open file.
struct FileStatus {
    bool regular = false;
    bool directory = false;
    std::uint64_t size = 0;
    mode_t permissions = 0;  // rwx for user, group and others; Windows: 0444 when read-only
};

class FileOps {
  public:
    virtual ~FileOps() = default;

    // Opens the data file for reading and for holding it until close. POSIX: a FIFO or device
    // must not hang the job (O_NONBLOCK); lock() then excludes other jobs. Windows: no read or
    // write sharing, so neither another job nor an editor can open it meanwhile, but delete
    // sharing, so that it can still be renamed to its backup name.
    virtual int openRead(const std::string& path);
    // Never opens an existing file (O_CREAT | O_EXCL, CREATE_NEW); fails with EEXIST then.
    virtual int createExclusive(const std::string& path, mode_t mode);
    virtual ssize_t write(int fd, const void* data, std::size_t size);
    virtual ssize_t read(int fd, void* data, std::size_t size);
    // The first `size` bytes of the file, mapped read-only: mmap(2) with PROT_READ and
    // MAP_PRIVATE. Nullptr (errno set) where that is refused; the caller then reads the file.
    // Windows never maps (ENOSYS): its job reads the file as it always has.
    virtual const void* mapRead(int fd, std::size_t size);
    virtual int unmap(const void* data, std::size_t size);
    // fsync(2), FlushFileBuffers.
    virtual int fsync(int fd);
    // Starts writing the file's pages to disk without waiting for them, so that the flushes of
    // several files overlap: sync_file_range(SYNC_FILE_RANGE_WRITE) on Linux. Only a head start:
    // fsync still makes the file durable and reports what went wrong. Elsewhere it does nothing.
    virtual int startWriteBack(int fd);
    // The kernel narrows the creation mode by the umask; this sets the exact bits. Windows keeps
    // only the read-only attribute.
    virtual int fchmod(int fd, mode_t mode);
    virtual int close(int fd);
    virtual int fstat(int fd, FileStatus* out);
    // An exclusive lock that fails at once (EWOULDBLOCK) when another open of the file holds one.
    // Windows: the share mode of openRead already excludes everyone else.
    virtual int lock(int fd);
    // Atomically replaces a file of the target name: rename(2), MoveFileExW with
    // MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH.
    virtual int rename(const std::string& from, const std::string& to);
    // Files only, never directories.
    virtual int remove(const std::string& path);
    // Makes the renames inside `directory` durable ("" is the current directory). Windows has no
    // such call; MOVEFILE_WRITE_THROUGH made each rename durable already.
    virtual int fsyncDirectory(const std::string& directory);
};

// The real file system.
FileOps& realFileOps();

// Opens `path` for reading while others may read it too, for settings files and libraries: a
// descriptor for read, fstat and close of realFileOps(), or -1 (errno set). Never blocks.
int openForSharedReading(const std::string& path);

}  // namespace wemb::platform
