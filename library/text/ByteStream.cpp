#include "library/text/ByteStream.h"

namespace wemb {

namespace {

// Large enough that reading a library of tens of megabytes takes few calls into the system.
constexpr std::size_t kBlockBytes = 256 * 1024;

}  // namespace

ByteStream::ByteStream(std::span<const std::uint8_t> bytes)
    : next_(bytes.data()), end_(bytes.data() + bytes.size()) {}

ByteStream::ByteStream(FileHandle file) : file_(std::move(file)), buffer_(kBlockBytes) {
    next_ = buffer_.data();
    end_ = next_;
}

std::unique_ptr<ByteStream> ByteStream::openFile(const std::string& path) {
    FileHandle file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return nullptr;
    }
    return std::unique_ptr<ByteStream>(new ByteStream(std::move(file)));
}

bool ByteStream::refill() {
    if (!file_ || readFailed_) {
        return false;
    }
    const std::size_t count = std::fread(buffer_.data(), 1, buffer_.size(), file_.get());
    if (count == 0) {
        readFailed_ = std::ferror(file_.get()) != 0;
        return false;
    }
    next_ = buffer_.data();
    end_ = next_ + count;
    return true;
}

}  // namespace wemb
