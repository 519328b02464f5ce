#include "platform/Cp932Converter.h"

#include <iconv.h>

#include <cerrno>

namespace wemb::platform {

namespace {

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

    Conversion convert(std::string_view& in, std::string& out) {
        if (!valid()) {
            return Conversion::Unavailable;
        }
        char* inPointer = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        while (inLeft > 0) {
            char chunk[1024];
            char* outPointer = chunk;
            std::size_t outLeft = sizeof chunk;
            const std::size_t result = ::iconv(handle_, &inPointer, &inLeft, &outPointer, &outLeft);
            out.append(chunk, sizeof chunk - outLeft);
            if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
                in.remove_prefix(in.size() - inLeft);
                return Conversion::Stopped;
            }
        }
        in = {};
        return Conversion::Done;
    }

  private:
    iconv_t handle_;
};

}  // namespace

Conversion cp932PrefixToUtf8(std::string_view& in, std::string& out) {
    return Converter("UTF-8", "CP932").convert(in, out);
}

Conversion utf8PrefixToCp932(std::string_view& in, std::string& out) {
    return Converter("CP932", "UTF-8").convert(in, out);
}

}  // namespace wemb::platform
