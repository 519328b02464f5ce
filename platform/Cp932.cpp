#include "platform/Cp932.h"

#include <cstddef>

#include "platform/Cp932Converter.h"

namespace wemb::platform {

namespace {

constexpr bool isCp932TrailByte(unsigned char byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

void appendEscaped(std::string& out, unsigned char byte) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += "\\x";
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
}

// Without a converter (no gconv modules installed) ASCII still reads; everything else is shown
// by its byte values.
std::string escapeNonAscii(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            appendEscaped(out, byte);
        }
    }
    return out;
}

}  // namespace

Cp932Decoder::Cp932Decoder() : converter_(std::make_unique<Cp932ToUtf8Converter>()) {}

Cp932Decoder::~Cp932Decoder() = default;

std::string cp932ToUtf8(std::string_view bytes) {
    return Cp932Decoder().toUtf8(bytes);
}

std::string Cp932Decoder::toUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    Conversion conversion;
    while ((conversion = converter_->convertPrefix(bytes, out)) == Conversion::Stopped &&
           !bytes.empty()) {
        // A lead byte with a proper trail byte is one unmapped character: show both bytes, so
        // the trail byte is not mistaken for a character of its own. Any other bad byte is shown
        // alone and conversion resumes right after it.
        const auto first = static_cast<unsigned char>(bytes[0]);
        appendEscaped(out, first);
        std::size_t skipped = 1;
        if (isCp932LeadByte(first) && bytes.size() > 1 &&
            isCp932TrailByte(static_cast<unsigned char>(bytes[1]))) {
            appendEscaped(out, static_cast<unsigned char>(bytes[1]));
            skipped = 2;
        }
        bytes.remove_prefix(skipped);
    }
    if (conversion == Conversion::Unavailable) {
        out += escapeNonAscii(bytes);
    }
    return out;
}

bool isUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80   ? 1
                                   : lead < 0xC2 ? 0
                                   : lead < 0xE0 ? 2
                                   : lead < 0xF0 ? 3
                                   : lead < 0xF5 ? 4
                                                 : 0;
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        // The second byte's range also rules out overlong forms, surrogates and code points
        // beyond U+10FFFF.
        const auto second = static_cast<unsigned char>(length > 1 ? text[i + 1] : 0x80);
        const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
        if (second < low || second > high) {
            return false;
        }
        for (std::size_t k = 2; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

std::optional<std::string> utf8ToCp932(std::string_view text) {
    std::string out;
    if (utf8PrefixToCp932(text, out) != Conversion::Done) {
        return std::nullopt;
    }
    return out;
}

}  // namespace wemb::platform
