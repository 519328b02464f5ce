#include "app/win32/MessageBoxSink.h"

#include "platform/windows/WideText.h"

namespace wemb::win32 {
namespace {

UINT boxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::None:
            return 0;
        case MessageIcon::Information:
            return MB_ICONINFORMATION;
        case MessageIcon::Warning:
            return MB_ICONWARNING;
    }
    return 0;
}

}  // namespace

std::wstring programCaption() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t start = path.find_last_of(L"\\/") + 1;  // npos + 1 is 0
    const std::size_t dot = path.rfind(L'.');
    const std::size_t end = dot == std::wstring::npos || dot < start ? path.size() : dot;
    return path.substr(start, end - start);
}

void MessageBoxSink::show(MessageId, const std::string& text, MessageIcon icon,
                          const std::string& detail) {
    // A system message box has one text: the reason follows the message after a blank line.
    const std::string shown = detail.empty() ? text : text + "\n\n" + detail;
    MessageBoxW(owner_, platform::widened(shown).c_str(), programCaption().c_str(),
                MB_OK | boxIcon(icon));
}

}  // namespace wemb::win32
