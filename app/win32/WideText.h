#pragma once
// The program keeps its texts and file names as UTF-8 bytes, as on Linux; Windows takes and gives
// UTF-16. These convert at the edge, where a text enters or leaves a window or a system call.

#include <string>
#include <string_view>

namespace wemb::win32 {

std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view wide);

}  // namespace wemb::win32
