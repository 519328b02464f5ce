#pragma once
// Paths and texts are UTF-8 inside the program; the wide (UTF-16) Windows API takes them at the
// edge, so that names work whatever the code page of the system.

#include <windows.h>

#include <string>
#include <string_view>

namespace wemb::platform {

std::wstring widened(std::string_view utf8);
std::string narrowed(std::wstring_view utf16);

// `text` in code page `codePage`; characters it cannot hold become "?".
std::string inCodePage(std::wstring_view text, UINT codePage);

// Sets errno from GetLastError(), so that callers see the same errors as on POSIX.
void setErrnoFromLastError();

}  // namespace wemb::platform
