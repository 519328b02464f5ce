#include "platform/Cp932Converter.h"

#include <iconv.h>

#include <cerrno>

namespace wemb::platform {

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

Conversion convertWith(iconv_t handle, std::string_view& in, std::string& out) {
    if (handle == kNoConverter) {
        return Conversion::Unavailable;
    }
    // Each text starts afresh, whatever the last one stopped on.
    ::iconv(handle, nullptr, nullptr, nullptr, nullptr);
    char* inPointer = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    while (inLeft > 0) {
        char chunk[1024];
        char* outPointer = chunk;
        std::size_t outLeft = sizeof chunk;
        const std::size_t result = ::iconv(handle, &inPointer, &inLeft, &outPointer, &outLeft);
        out.append(chunk, sizeof chunk - outLeft);
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            in.remove_prefix(in.size() - inLeft);
            return Conversion::Stopped;
        }
    }
    in = {};
    return Conversion::Done;
}

}  // namespace

Cp932ToUtf8Converter::Cp932ToUtf8Converter() : handle_(::iconv_open("UTF-8", "CP932")) {}

Cp932ToUtf8Converter::~Cp932ToUtf8Converter() {
    if (handle_ != kNoConverter) {
        ::iconv_close(handle_);
    }
}

Conversion Cp932ToUtf8Converter::convertPrefix(std::string_view& in, std::string& out) {
    return convertWith(handle_, in, out);
}

Conversion utf8PrefixToCp932(std::string_view& in, std::string& out) {
    const iconv_t handle = ::iconv_open("CP932", "UTF-8");
    const Conversion conversion = convertWith(handle, in, out);
    if (handle != kNoConverter) {
        ::iconv_close(handle);
    }
    return conversion;
}

}  // namespace wemb::platform
