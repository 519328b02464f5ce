#include "cli/DisplayText.h"

#include "platform/Cp932.h"

namespace wemb::cli {
namespace {

void appendEscaped(std::string& out, unsigned char byte) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += "\\x";
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
}

bool isControl(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F;
}

// The length of the valid UTF-8 sequence at the start of `text`, 0 when there is none.
std::size_t utf8SequenceLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text.front());
    std::size_t length = 0;
    unsigned char secondMin = 0x80;
    unsigned char secondMax = 0xBF;
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        secondMin = lead == 0xE0 ? 0xA0 : 0x80;
        secondMax = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        secondMin = lead == 0xF0 ? 0x90 : 0x80;
        secondMax = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const unsigned char low = i == 1 ? secondMin : 0x80;
        const unsigned char high = i == 1 ? secondMax : 0xBF;
        if (byte < low || byte > high) {
            return 0;
        }
    }
    return length;
}

}  // namespace

std::string displayText(std::string_view cp932) {
    return displayName(platform::cp932ToUtf8(cp932));
}

std::string displayName(std::string_view bytes) {
    std::string shown;
    shown.reserve(bytes.size());
    while (!bytes.empty()) {
        const std::size_t length = utf8SequenceLength(bytes);
        const auto lead = static_cast<unsigned char>(bytes.front());
        if (length == 0 || isControl(lead)) {
            appendEscaped(shown, lead);
            bytes.remove_prefix(1);
            continue;
        }
        shown += bytes.substr(0, length);
        bytes.remove_prefix(length);
    }
    return shown;
}

}  // namespace wemb::cli
