#pragma once
// A regular file opened for reading while others may read it too: settings files and libraries.
// Every such open goes through here, so that on Windows it takes the wide API and a UTF-8 name.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace wemb::platform {

class InputFile {
  public:
    // Nullopt (errno set) when `path` cannot be opened or is no regular file (a directory, a
    // FIFO, a device).
    static std::optional<InputFile> open(const std::string& path);

    InputFile(InputFile&& other) noexcept;
    InputFile& operator=(InputFile&& other) = delete;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile();

    // Fills `into` as far as the file goes: the count (less only at the end), nullopt when a read
    // fails.
    std::optional<std::size_t> read(std::span<std::uint8_t> into);

    std::uint64_t size() const { return size_; }
    unsigned permissions() const { return permissions_; }

  private:
    InputFile(int fd, std::uint64_t size, unsigned permissions);

    int fd_;
    std::uint64_t size_;
    unsigned permissions_;
};

}  // namespace wemb::platform
