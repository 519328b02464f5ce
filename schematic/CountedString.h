#pragma once
// A counted string is a record field of n bytes: one length byte and at most n - 1 characters,
// with no terminator. The editor stores part names and references this way.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace wemb {

// Reads the characters of a counted field. A length byte of 128 or more (negative as a signed
// byte) reads as the empty text; a length above the field's capacity reads as the capacity, so
// nothing outside the field is ever read.
std::string readCountedString(std::span<const std::uint8_t> field);
// The same characters, viewed in place.
std::string_view countedStringView(std::span<const std::uint8_t> field);

// Stores text in a counted field: the characters after the length byte, then the length byte.
// Bytes beyond the new length keep what they held. Text longer than the capacity is cut to it.
void writeCountedString(std::string_view text, std::span<std::uint8_t> field);

}  // namespace wemb
