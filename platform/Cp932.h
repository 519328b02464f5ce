#pragma once
// Conversions between the program's CP932 (Shift-JIS) bytes and UTF-8, for showing texts to the
// user and for taking typed text back. The program itself never converts: names and references
// stay CP932 bytes end to end.

#include <optional>
#include <string>
#include <string_view>

namespace wemb::platform {

// True for the first byte of a CP932 double-byte character (0x81-0x9F, 0xE0-0xFC).
constexpr bool isCp932LeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// `bytes` as UTF-8. A byte that does not start a convertible character is shown as "\xNN"
// (upper-case hex) and conversion goes on with the next byte.
std::string cp932ToUtf8(std::string_view bytes);

// True when `text` is well-formed UTF-8.
bool isUtf8(std::string_view text);

// `text` (UTF-8) as CP932 bytes; nullopt when `text` is not valid UTF-8 or holds a character
// that CP932 cannot represent.
std::optional<std::string> utf8ToCp932(std::string_view text);

}  // namespace wemb::platform
