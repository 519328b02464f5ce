// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "platform/windows/WideText.h"

namespace wemb::platform {

namespace {

constexpr UINT kSettingsCodePage = 932;

// Calls that fill a buffer and return the length they needed when it was too small.
template <typename Fill>
std::wstring grownBuffer(Fill fill) {
    std::wstring buffer(260, L'\0');
    for (;;) {
        const DWORD length = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(buffer.size() * 2 > length + 1 ? buffer.size() * 2 : length + 1);
    }
}

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

Handle openForAttributes(const std::string& path) {
    const HANDLE handle = CreateFileW(widened(path).c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    return Handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

}  // namespace

std::string programPath() {
    return narrowed(grownBuffer([](wchar_t* buffer, DWORD size) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer, size);
        return length == size ? size : length;  // a cut name fills the buffer exactly
    }));
}

std::string currentDirectory() {
    return narrowed(grownBuffer(
        [](wchar_t* buffer, DWORD size) { return GetCurrentDirectoryW(size, buffer); }));
}

std::string resolvedPath(const std::string& path) {
    const Handle file = openForAttributes(path);
    if (!file) {
        return {};
    }
    std::wstring name = grownBuffer([&](wchar_t* buffer, DWORD size) {
        return GetFinalPathNameByHandleW(file.get(), buffer, size, FILE_NAME_NORMALIZED);
    });
    if (name.rfind(L"\\\\?\\UNC\\", 0) == 0) {
        name.replace(0, 8, L"\\\\");
    } else if (name.rfind(L"\\\\?\\", 0) == 0) {
        name.erase(0, 4);
    }
    return narrowed(name);
}

std::string followedLink(const std::string& path) {
    return path;
}

bool sameFile(const std::string& a, const std::string& b) {
    const Handle first = openForAttributes(a);
    const Handle second = openForAttributes(b);
    BY_HANDLE_FILE_INFORMATION one{};
    BY_HANDLE_FILE_INFORMATION other{};
    return first && second && GetFileInformationByHandle(first.get(), &one) &&
           GetFileInformationByHandle(second.get(), &other) &&
           one.dwVolumeSerialNumber == other.dwVolumeSerialNumber &&
           one.nFileIndexHigh == other.nFileIndexHigh && one.nFileIndexLow == other.nFileIndexLow;
}

bool canOpenForReading(const std::string& path) {
    const int fd = openForSharedReading(path);
    if (fd < 0) {
        return false;
    }
    FileStatus status;
    const bool regular = realFileOps().fstat(fd, &status) == 0 && status.regular;
    realFileOps().close(fd);
    return regular;
}

// The access rules of Windows (ACLs, a read-only medium) are known only by trying.
bool isWritableDirectory(const std::string& path) {
    const std::string probe = joinPath(path.empty() ? "." : path, "~wemb-probe.tmp");
    const HANDLE handle =
        CreateFileW(widened(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(handle);
    return true;
}

bool createDirectories(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(widened(path)), error);
    return !error;
}

std::vector<std::string> commandLineArguments(int, char**) {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> out;
    for (int i = 1; arguments != nullptr && i < count; ++i) {
        out.push_back(narrowed(arguments[i]));
    }
    LocalFree(arguments);
    return out;
}

std::string environmentVariable(const char* name) {
    const wchar_t* value = _wgetenv(widened(name).c_str());
    return value == nullptr ? std::string{} : narrowed(value);
}

std::string pathFromSettings(const std::string& text) {
    const int size = static_cast<int>(text.size());
    std::wstring wide(static_cast<std::size_t>(
                          MultiByteToWideChar(kSettingsCodePage, 0, text.data(), size, nullptr, 0)),
                      L'\0');
    MultiByteToWideChar(kSettingsCodePage, 0, text.data(), size, wide.data(),
                        static_cast<int>(wide.size()));
    return narrowed(wide);
}

}  // namespace wemb::platform
