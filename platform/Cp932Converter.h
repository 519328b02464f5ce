#pragma once
// The system's converter between CP932 and UTF-8 (iconv on POSIX, the code page tables on
// Windows), for Cp932.cpp only.

#include <string>
#include <string_view>

namespace wemb::platform {

enum class Conversion { Done, Stopped, Unavailable };

// A converter from CP932 to UTF-8 opened once for many texts: opening the system's converter
// costs far more than converting a name.
class Cp932ToUtf8Converter {
  public:
    Cp932ToUtf8Converter();
    ~Cp932ToUtf8Converter();
    Cp932ToUtf8Converter(const Cp932ToUtf8Converter&) = delete;
    Cp932ToUtf8Converter& operator=(const Cp932ToUtf8Converter&) = delete;

    // Converts as much of `in` as it can, appending to `out` and advancing `in` past what it
    // converted. Stopped: `in` begins with bytes that do not form a convertible character.
    Conversion convertPrefix(std::string_view& in, std::string& out);

  private:
    void* handle_ = nullptr;  // the system's descriptor, where the system has one
};

Conversion utf8PrefixToCp932(std::string_view& in, std::string& out);

}  // namespace wemb::platform
