#pragma once
// The data file held open and locked for the whole job, so that a second job on the same file
// fails cleanly instead of interleaving its saves with ours.

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wemb::platform {

class FileOps;

class LockedFile {
  public:
    // Opens `path` read-only and holds it exclusively (FileOps::openRead, FileOps::lock). Nullopt
    // (errno set) when it cannot be opened, is not a regular file, or is locked by another open of
    // it.
    static std::optional<LockedFile> open(FileOps& fileOps, const std::string& path);

    LockedFile(LockedFile&& other) noexcept;
    LockedFile& operator=(LockedFile&& other) noexcept;
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;
    ~LockedFile();  // closes, which drops the lock

    // The whole file in one buffer of exactly its size, read from the start; call once. Nullopt
    // when it is larger than `maxSize`, a read fails, fewer bytes arrive than its size, or more
    // arrive (it grew while we read it).
    std::optional<std::vector<std::uint8_t>> readAll(std::uint64_t maxSize);

    // The file's permission bits (rwx for user, group, others) when it was opened.
    mode_t permissions() const { return permissions_; }
    // Its size when it was opened.
    std::uint64_t size() const { return size_; }

  private:
    LockedFile(FileOps& fileOps, int fd, mode_t permissions, std::uint64_t size);
    void closeDescriptor();

    FileOps* fileOps_;
    int fd_;
    mode_t permissions_;
    std::uint64_t size_;
};

}  // namespace wemb::platform
