#include "platform/Paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <vector>

namespace wemb::platform {

namespace {

// readlink(2) does not say how long the target is, so grow the buffer until it fits.
std::string readLink(const char* path) {
    std::vector<char> buffer(256);
    while (buffer.size() <= (std::size_t{1} << 20)) {
        const ssize_t length = ::readlink(path, buffer.data(), buffer.size());
        if (length < 0) {
            return {};
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        }
        buffer.resize(buffer.size() * 2);
    }
    return {};
}

std::size_t lastSeparator(const std::string& path) {
    return path.find_last_of('/');
}

}  // namespace

std::string programPath() {
    return readLink("/proc/self/exe");
}

std::string programDirectory() {
    const std::string path = programPath();
    return path.empty() ? std::string{} : directoryOf(path);
}

std::string directoryOf(const std::string& path) {
    std::size_t end = lastSeparator(path);
    if (end == std::string::npos) {
        return {};
    }
    // "a//b" names the same directory as "a/b": drop every separator before the name.
    while (end > 0 && path[end - 1] == '/') {
        --end;
    }
    return end == 0 ? std::string("/") : path.substr(0, end);
}

std::string fileNameOf(const std::string& path) {
    const std::size_t separator = lastSeparator(path);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string joinPath(const std::string& directory, const std::string& name) {
    if (directory.empty() || (!name.empty() && name.front() == '/')) {
        return name;
    }
    if (directory.back() == '/') {
        return directory + name;
    }
    return directory + "/" + name;
}

std::string currentDirectory() {
    std::vector<char> buffer(256);
    while (buffer.size() <= (std::size_t{1} << 20)) {
        if (::getcwd(buffer.data(), buffer.size()) != nullptr) {
            return std::string(buffer.data());
        }
        if (errno != ERANGE) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
    return {};
}

std::string resolvedPath(const std::string& path) {
    // With a null buffer realpath allocates one of the right size, so no PATH_MAX applies.
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                               &std::free);
    return resolved ? std::string(resolved.get()) : std::string{};
}

bool canOpenForReading(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    struct stat status {};
    const bool regular = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
    ::close(fd);
    return regular;
}

bool isWritableDirectory(const std::string& path) {
    const char* name = path.empty() ? "." : path.c_str();
    struct stat status {};
    if (::stat(name, &status) != 0 || !S_ISDIR(status.st_mode)) {
        return false;
    }
    return ::faccessat(AT_FDCWD, name, W_OK | X_OK, AT_EACCESS) == 0;
}

}  // namespace wemb::platform
