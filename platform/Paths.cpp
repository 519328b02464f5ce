#include "platform/Paths.h"

#include <string_view>

namespace wemb::platform {

namespace {

#ifdef _WIN32
constexpr std::string_view kSeparators = "/\\";
constexpr char kPreferredSeparator = '\\';

bool isDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
#else
constexpr std::string_view kSeparators = "/";
constexpr char kPreferredSeparator = '/';
#endif

bool isSeparator(char c) {
    return kSeparators.find(c) != std::string_view::npos;
}

// The length of the part of `path` that no directoryOf() ever removes: "/"; on Windows also
// "C:", "C:\" and "\\server\share\".
std::size_t rootLength(const std::string& path) {
#ifdef _WIN32
    if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) {
        const std::size_t server = path.find_first_of(kSeparators, 2);
        const std::size_t share =
            server == std::string::npos ? server : path.find_first_of(kSeparators, server + 1);
        return share == std::string::npos ? path.size() : share + 1;
    }
    if (path.size() >= 2 && isDriveLetter(path[0]) && path[1] == ':') {
        return path.size() >= 3 && isSeparator(path[2]) ? 3 : 2;
    }
#endif
    return !path.empty() && isSeparator(path[0]) ? 1 : 0;
}

// Where the last component of `path` begins.
std::size_t nameStart(const std::string& path) {
    const std::size_t root = rootLength(path);
    const std::size_t separator = path.find_last_of(kSeparators);
    return separator == std::string::npos || separator < root ? root : separator + 1;
}

}  // namespace

std::string directoryOf(const std::string& path) {
    const std::size_t root = rootLength(path);
    std::size_t end = nameStart(path);
    // "a//b" names the same directory as "a/b": drop every separator before the name.
    while (end > root && isSeparator(path[end - 1])) {
        --end;
    }
    return path.substr(0, end);
}

std::string fileNameOf(const std::string& path) {
    return path.substr(nameStart(path));
}

std::string joinPath(const std::string& directory, const std::string& name) {
    if (directory.empty() || rootLength(name) > 0) {
        return name;
    }
    if (isSeparator(directory.back()) || rootLength(directory) == directory.size()) {
        return directory + name;  // "/", "C:", "C:\", "\\server\share\"
    }
    // Windows takes either separator; keep to the one the directory already uses.
    const std::size_t used = directory.find_last_of(kSeparators);
    return directory + (used == std::string::npos ? kPreferredSeparator : directory[used]) + name;
}

std::string programDirectory() {
    const std::string path = programPath();
    return path.empty() ? std::string{} : directoryOf(path);
}

}  // namespace wemb::platform
