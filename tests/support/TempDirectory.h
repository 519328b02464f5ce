#pragma once
// A fresh directory for one test, removed with everything in it when the test ends.

#ifdef _WIN32
#include <io.h>
#endif

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace wemb::testing {

inline void writeFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline void writeFile(const std::string& path, const std::string& text) {
    writeFile(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

class TempDirectory {
  public:
    TempDirectory() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "wemb-test-XXXXXX").string();
#ifdef _WIN32
        if (_mktemp_s(pattern.data(), pattern.size() + 1) != 0 ||
            !std::filesystem::create_directory(pattern)) {
#else
        if (mkdtemp(pattern.data()) == nullptr) {
#endif
            std::abort();
        }
        path_ = pattern;
    }
    ~TempDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::filesystem::path& path() const {
        return path_;
    }
    std::string file(const std::string& name) const {
        return (path_ / name).string();
    }
    // Writes `bytes` to `name` inside the directory and returns the file's path.
    std::string write(const std::string& name, std::span<const std::uint8_t> bytes) const {
        writeFile(file(name), bytes);
        return file(name);
    }

    // The names in the directory, sorted.
    std::vector<std::string> names() const {
        std::vector<std::string> result;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) {
            result.push_back(entry.path().filename().string());
        }
        std::sort(result.begin(), result.end());
        return result;
    }

  private:
    std::filesystem::path path_;
};

inline std::vector<std::uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The file's bytes as text, nullopt when no regular file is there.
inline std::optional<std::string> contentOf(const std::string& path) {
    if (!std::filesystem::is_regular_file(path)) {
        return std::nullopt;
    }
    const std::vector<std::uint8_t> bytes = readFile(path);
    return std::string(bytes.begin(), bytes.end());
}

inline std::vector<std::uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

}  // namespace wemb::testing
