#pragma once
// The source of bytes under the text library tokenizer: a file read in large blocks, or a block
// of memory. A byte is handed out by an inline call that touches the buffer only, so a large
// library costs neither a system call nor a virtual call per byte.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/InputFile.h"

namespace wemb {

class ByteStream {
  public:
    static constexpr int kEnd = -1;

    // Reads `bytes`, which must outlive the stream.
    explicit ByteStream(std::span<const std::uint8_t> bytes);
    // Null when the file cannot be opened for reading (errno then says why).
    static std::unique_ptr<ByteStream> openFile(const std::string& path);

    ByteStream(const ByteStream&) = delete;
    ByteStream& operator=(const ByteStream&) = delete;

    // The next byte (0 to 255), or kEnd once the input is exhausted.
    int get() {
        if (next_ == end_ && !refill()) {
            return kEnd;
        }
        return *next_++;
    }

    // The bytes that can be taken without another read; empty only at the end of the input.
    std::span<const std::uint8_t> buffered() {
        if (next_ == end_) {
            refill();
        }
        return {next_, end_};
    }
    // Takes `count` bytes of buffered() at once.
    void skip(std::size_t count) { next_ += count; }

    // How many bytes have been taken since the start of the input.
    std::uint64_t offset() const { return passed_ + static_cast<std::uint64_t>(next_ - start_); }

    // True when the file could not be read to its end: what was delivered is then incomplete.
    bool readFailed() const { return readFailed_; }
    // The system's error number of that failed read.
    int readError() const { return readError_; }

  private:
    explicit ByteStream(platform::InputFile file);
    bool refill();

    std::optional<platform::InputFile> file_;
    std::vector<std::uint8_t> buffer_;
    const std::uint8_t* start_ = nullptr;  // the first byte of the block in the buffer
    const std::uint8_t* next_ = nullptr;
    const std::uint8_t* end_ = nullptr;
    std::uint64_t passed_ = 0;  // bytes of the blocks before this one
    bool readFailed_ = false;
    int readError_ = 0;
};

}  // namespace wemb
