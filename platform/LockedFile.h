#pragma once
// The data file held open and locked for the whole job, so that a second job on the same file
// fails cleanly instead of interleaving its saves with ours.

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace wemb::platform {

class FileOps;

// A whole file mapped read-only, unmapped when destroyed.
class FileMapping {
  public:
    FileMapping(FileOps& fileOps, const void* data, std::size_t size)
        : fileOps_(&fileOps), data_(data), size_(size) {}
    FileMapping(const FileMapping&) = delete;
    FileMapping& operator=(const FileMapping&) = delete;
    ~FileMapping();

    std::span<const std::uint8_t> bytes() const {
        return {static_cast<const std::uint8_t*>(data_), size_};
    }

  private:
    FileOps* fileOps_;
    const void* data_;
    std::size_t size_;
};

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

    // The whole file mapped read-only, held until the last owner of the mapping lets it go, which
    // may be after the file is closed. Nullptr (errno set) when it is larger than `maxSize`
    // (EFBIG), is empty, or cannot be mapped; the caller may then readAll instead. While it is
    // mapped, no other job can change it, for the file stays locked; a program that ignores the
    // lock and shortens the file would end this one.
    std::shared_ptr<const FileMapping> mapAll(std::uint64_t maxSize);
    // Whether the file still has the size it had when it was opened; false (errno set) when it
    // has grown or shrunk, or cannot be asked. A mapped file is checked once it is mapped, as a
    // read one is checked at its end.
    bool sizeUnchanged();

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
