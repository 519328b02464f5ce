#include "library/text/ByteStream.h"

#include <cerrno>

namespace wemb {

namespace {

// Large enough that reading a library of tens of megabytes takes few calls into the system.
constexpr std::size_t kBlockBytes = 256 * 1024;

}  // namespace

ByteStream::ByteStream(std::span<const std::uint8_t> bytes)
    : start_(bytes.data()), next_(bytes.data()), end_(bytes.data() + bytes.size()) {}

ByteStream::ByteStream(platform::InputFile file) : file_(std::move(file)), buffer_(kBlockBytes) {
    start_ = buffer_.data();
    next_ = start_;
    end_ = next_;
}

std::unique_ptr<ByteStream> ByteStream::openFile(const std::string& path) {
    std::optional<platform::InputFile> file = platform::InputFile::open(path);
    if (!file) {
        return nullptr;
    }
    return std::unique_ptr<ByteStream>(new ByteStream(std::move(*file)));
}

bool ByteStream::refill() {
    if (!file_ || readFailed_) {
        return false;
    }
    const std::optional<std::size_t> got = file_->read(buffer_);
    if (!got || *got == 0) {
        readFailed_ = !got;
        readError_ = readFailed_ ? errno : 0;
        return false;
    }
    const std::size_t count = *got;
    passed_ += static_cast<std::uint64_t>(end_ - start_);
    next_ = buffer_.data();
    end_ = next_ + count;
    return true;
}

}  // namespace wemb
