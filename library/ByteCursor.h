#pragma once
// A read-only view of bytes that refuses to look outside them. Every read of a library file goes
// through one: a position or count taken from the file can never reach past the bytes that were
// read, and an arithmetic overflow reads as "out of range", never as a wrap-around.
//
// Absolute reads (`u16At`) leave the cursor where it is; sequential reads (`readU16`) move it past
// the value, and only when the whole value was there. Numbers are little-endian.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace wemb {

class ByteCursor {
  public:
    ByteCursor() = default;
    explicit ByteCursor(std::span<const std::uint8_t> data) : data_(data) {}

    std::size_t size() const { return data_.size(); }
    std::size_t position() const { return position_; }

    // True when `count` bytes from `offset` all lie inside the data.
    bool contains(std::size_t offset, std::size_t count) const {
        return offset <= data_.size() && count <= data_.size() - offset;
    }

    std::optional<std::uint8_t> u8At(std::size_t offset) const {
        if (!contains(offset, 1)) {
            return std::nullopt;
        }
        return data_[offset];
    }

    std::optional<std::uint16_t> u16At(std::size_t offset) const {
        if (!contains(offset, 2)) {
            return std::nullopt;
        }
        return static_cast<std::uint16_t>(data_[offset] | (data_[offset + 1] << 8));
    }

    std::optional<std::uint32_t> u32At(std::size_t offset) const {
        if (!contains(offset, 4)) {
            return std::nullopt;
        }
        std::uint32_t value = 0;
        for (std::size_t i = 4; i-- > 0;) {
            value = (value << 8) | data_[offset + i];
        }
        return value;
    }

    std::optional<std::span<const std::uint8_t>> bytesAt(std::size_t offset,
                                                         std::size_t count) const {
        if (!contains(offset, count)) {
            return std::nullopt;
        }
        return data_.subspan(offset, count);
    }

    // The zero-terminated text at `offset`, without its terminator; nothing when the terminator
    // does not lie inside the data.
    std::optional<std::string_view> cStringAt(std::size_t offset) const {
        if (!contains(offset, 0)) {
            return std::nullopt;
        }
        for (std::size_t end = offset; end < data_.size(); ++end) {
            if (data_[end] == 0) {
                return std::string_view(reinterpret_cast<const char*>(data_.data()) + offset,
                                        end - offset);
            }
        }
        return std::nullopt;
    }

    // A cursor over `count` bytes from `offset`, positioned at its start.
    std::optional<ByteCursor> subAt(std::size_t offset, std::size_t count) const {
        const auto bytes = bytesAt(offset, count);
        if (!bytes) {
            return std::nullopt;
        }
        return ByteCursor(*bytes);
    }

    // A cursor over everything from `offset` to the end; `offset` may equal the size (no bytes).
    std::optional<ByteCursor> from(std::size_t offset) const {
        if (!contains(offset, 0)) {
            return std::nullopt;
        }
        return ByteCursor(data_.subspan(offset));
    }

    bool seek(std::size_t offset) {
        if (!contains(offset, 0)) {
            return false;
        }
        position_ = offset;
        return true;
    }

    std::optional<std::uint16_t> readU16() { return advanced(u16At(position_), 2); }
    std::optional<std::span<const std::uint8_t>> readBytes(std::size_t count) {
        return advanced(bytesAt(position_, count), count);
    }

  private:
    template <typename T>
    std::optional<T> advanced(std::optional<T> value, std::size_t count) {
        if (value) {
            position_ += count;
        }
        return value;
    }

    std::span<const std::uint8_t> data_;
    std::size_t position_ = 0;
};

}  // namespace wemb
