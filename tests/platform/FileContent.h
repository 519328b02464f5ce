#pragma once
// What the platform tests find under a name, and the scratch directory they make it in.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/TempDirectory.h"

namespace wemb::platform::testing {

using wemb::testing::TempDirectory;
using wemb::testing::writeFile;

// The file's bytes as text, nullopt when no regular file is there.
inline std::optional<std::string> contentOf(const std::string& path) {
    if (!std::filesystem::is_regular_file(path)) {
        return std::nullopt;
    }
    const std::vector<std::uint8_t> bytes = wemb::testing::readFile(path);
    return std::string(bytes.begin(), bytes.end());
}

inline std::vector<std::uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

}  // namespace wemb::platform::testing
