#pragma once
// The system's converter between CP932 and UTF-8 (iconv on POSIX, the code page tables on
// Windows), for Cp932.cpp only.

#include <string>
#include <string_view>

namespace wemb::platform {

enum class Conversion { Done, Stopped, Unavailable };

// Converts as much of `in` as it can, appending to `out` and advancing `in` past what it
// converted. Stopped: `in` begins with bytes that do not form a convertible character.
Conversion cp932PrefixToUtf8(std::string_view& in, std::string& out);
Conversion utf8PrefixToCp932(std::string_view& in, std::string& out);

}  // namespace wemb::platform
