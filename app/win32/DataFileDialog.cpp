#include "app/win32/DataFileDialog.h"

#include <commdlg.h>

#include "app/DialogTexts.h"
#include "platform/windows/WideText.h"

namespace wemb::win32 {
namespace {

// The editor writes ".CE2"; the filter's text names the lower case, as the editor's own does.
constexpr const char* dataFilePattern = "*.CE2";
// Room for the longest path Windows can give, so that no chosen name is cut.
constexpr std::size_t longestPath = 32768;

}  // namespace

std::string chooseDataFile(HWND owner) {
    std::wstring filter = platform::widened(texts::dataFileFilter) + L'\0' +
                          platform::widened(dataFilePattern) + L'\0';
    std::wstring file = platform::widened(dataFilePattern);
    file.resize(longestPath, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrDefExt = nullptr;  // a name typed without extension is taken as typed
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameW(&dialog)) {
        return {};
    }
    return platform::narrowed(file.c_str());
}

}  // namespace wemb::win32
