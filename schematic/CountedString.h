#pragma once
// A counted string is a record field of n bytes: one length byte and at most n - 1 characters,
// with no terminator. The editor stores part names and references this way.

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace wemb {

// Reads the characters of a counted field. A length byte of 128 or more (negative as a signed
// byte) reads as the empty text; a length above the field's capacity reads as the capacity, so
// nothing outside the field is ever read.
std::string readCountedString(std::span<const std::uint8_t> field);
// The same characters, viewed in place. Inline: numbering reads several fields of every part.
inline std::string_view countedStringView(std::span<const std::uint8_t> field) {
    if (field.empty()) {
        return {};
    }
    const auto length = static_cast<std::int8_t>(field[0]);
    if (length <= 0) {
        return {};
    }
    const std::size_t count =
        std::min<std::size_t>(static_cast<std::size_t>(length), field.size() - 1);
    return {reinterpret_cast<const char*>(field.data() + 1), count};
}

// Stores text in a counted field: the characters after the length byte, then the length byte.
// Bytes beyond the new length keep what they held. Text longer than the capacity is cut to it.
void writeCountedString(std::string_view text, std::span<std::uint8_t> field);

}  // namespace wemb
