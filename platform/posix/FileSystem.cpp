#include "platform/Paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "platform/FileOps.h"

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

}  // namespace

std::string programPath() {
    return readLink("/proc/self/exe");
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
    const int fd = openForSharedReading(path);
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

std::string followedLink(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) {
        return path;
    }
    const auto target = std::filesystem::canonical(path, error);
    return error ? path : target.string();
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool createDirectories(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return !error;
}

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

std::string environmentVariable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string{} : std::string(value);
}

std::string pathFromSettings(const std::string& text) {
    return text;
}

}  // namespace wemb::platform
