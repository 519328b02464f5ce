#include "platform/Cp932.h"

#include <iconv.h>

#include <cerrno>
#include <cstddef>

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

// One iconv descriptor for the length of one conversion; closed however the conversion ends.
class Converter {
  public:
    Converter(const char* to, const char* from) : handle_(::iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) {
            ::iconv_close(handle_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of `in` as it can, appending to `out`; advances `in` past what it
    // converted. Returns 0 when all of `in` was converted, else the errno that stopped it.
    int convert(std::string_view& in, std::string& out) {
        char* inPointer = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        while (inLeft > 0) {
            char chunk[1024];
            char* outPointer = chunk;
            std::size_t outLeft = sizeof chunk;
            const std::size_t result = ::iconv(handle_, &inPointer, &inLeft, &outPointer, &outLeft);
            out.append(chunk, sizeof chunk - outLeft);
            if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
                const int error = errno;
                in.remove_prefix(in.size() - inLeft);
                return error;
            }
        }
        in = {};
        return 0;
    }

  private:
    iconv_t handle_;
};

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

std::string cp932ToUtf8(std::string_view bytes) {
    Converter converter("UTF-8", "CP932");
    if (!converter.valid()) {
        return escapeNonAscii(bytes);
    }
    std::string out;
    out.reserve(bytes.size());
    while (converter.convert(bytes, out) != 0 && !bytes.empty()) {
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
    return out;
}

bool isUtf8(std::string_view text) {
    // UTF-8 and UTF-16 are built into the C library's iconv, so this needs no conversion module.
    Converter converter("UTF-16LE", "UTF-8");
    std::string ignored;
    return converter.valid() && converter.convert(text, ignored) == 0;
}

std::optional<std::string> utf8ToCp932(std::string_view text) {
    Converter converter("CP932", "UTF-8");
    if (!converter.valid()) {
        return std::nullopt;
    }
    std::string out;
    if (converter.convert(text, out) != 0) {
        return std::nullopt;
    }
    return out;
}

}  // namespace wemb::platform
