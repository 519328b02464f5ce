#pragma once
// Browse: the common file-open dialog, for existing .CE2 files, with the read-only box hidden and
// no default extension, so that a name typed without one is taken as typed.

#include <windows.h>

#include <string>

namespace wemb::win32 {

// The chosen file's full path, "" when the user cancels.
std::string chooseDataFile(HWND owner);

}  // namespace wemb::win32
