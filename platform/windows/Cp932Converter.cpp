#include "platform/Cp932Converter.h"

#include "platform/Cp932.h"
#include "platform/windows/WideText.h"

namespace wemb::platform {

namespace {

constexpr UINT kCp932 = 932;

// Windows gives these bytes characters of its own (U+0080, U+F8F0...); they are no CP932 text,
// and the POSIX build refuses them too.
bool isUnassignedSingleByte(unsigned char byte) {
    return byte == 0x80 || byte == 0xA0 || byte >= 0xFD;
}

}  // namespace

// The code page tables need nothing opened.
Cp932ToUtf8Converter::Cp932ToUtf8Converter() = default;
Cp932ToUtf8Converter::~Cp932ToUtf8Converter() = default;

Conversion Cp932ToUtf8Converter::convertPrefix(std::string_view& in, std::string& out) {
    std::wstring wide;
    while (!in.empty()) {
        const auto first = static_cast<unsigned char>(in[0]);
        const std::size_t length = isCp932LeadByte(first) && in.size() > 1 ? 2 : 1;
        wchar_t character[2];
        const int got = isUnassignedSingleByte(first) || (isCp932LeadByte(first) && in.size() < 2)
                            ? 0
                            : MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, in.data(),
                                                  static_cast<int>(length), character, 2);
        if (got <= 0) {
            out += narrowed(wide);
            return Conversion::Stopped;
        }
        wide.append(character, static_cast<std::size_t>(got));
        in.remove_prefix(length);
    }
    out += narrowed(wide);
    return Conversion::Done;
}

Conversion utf8PrefixToCp932(std::string_view& in, std::string& out) {
    const int size = static_cast<int>(in.size());
    const int wideSize =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, in.data(), size, nullptr, 0);
    if (wideSize <= 0 && size > 0) {
        return Conversion::Stopped;
    }
    const std::wstring wide = widened(in);
    BOOL usedDefault = FALSE;
    const int bytes =
        WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, wide.data(),
                            static_cast<int>(wide.size()), nullptr, 0, nullptr, &usedDefault);
    if (usedDefault) {
        return Conversion::Stopped;
    }
    std::string converted(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                        converted.data(), bytes, nullptr, nullptr);
    out += converted;
    in = {};
    return Conversion::Done;
}

}  // namespace wemb::platform
