#pragma once
// Conversions between the program's CP932 (Shift-JIS) bytes and UTF-8, for showing texts to the
// user and for taking typed text back. The program itself never converts: names and references
// stay CP932 bytes end to end.

#include <memory>
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

class Cp932ToUtf8Converter;

// Converts many texts in turn, each as cp932ToUtf8 does, with the system's converter opened once
// for all of them: a listing of a hundred thousand names would otherwise spend most of its time
// opening it.
class Cp932Decoder {
  public:
    Cp932Decoder();
    ~Cp932Decoder();
    Cp932Decoder(const Cp932Decoder&) = delete;
    Cp932Decoder& operator=(const Cp932Decoder&) = delete;

    std::string toUtf8(std::string_view bytes);

  private:
    std::unique_ptr<Cp932ToUtf8Converter> converter_;
};

// True when `text` is well-formed UTF-8.
bool isUtf8(std::string_view text);

// `text` (UTF-8) as CP932 bytes; nullopt when `text` is not valid UTF-8 or holds a character
// that CP932 cannot represent.
std::optional<std::string> utf8ToCp932(std::string_view text);

}  // namespace wemb::platform
