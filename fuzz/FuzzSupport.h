#pragma once
// What the fuzz targets share: stopping loudly when a property fails, a scratch directory on a
// memory-backed file system, and the tests' whole-file helpers. A target that finds a broken
// property must crash, so that libFuzzer keeps the input as a reproducer.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "reading/ReadResult.h"
#include "tests/support/TempDirectory.h"

namespace wemb::fuzz {

using testing::readFile;
using testing::writeFile;

inline void require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}

// A refusal is told on one line of printable ASCII, whatever bytes the file held.
inline void checkReason(const FileError& error) {
    for (const char c : describe(error)) {
        require(c >= 0x20 && c <= 0x7E, "a reason is one line of printable ASCII");
    }
}

// The fuzzing process's own directory, emptied for each input; in /dev/shm when there is one,
// so that the file system work of each input costs no disk traffic.
inline const std::string& emptyScratchDirectory() {
    static const std::string directory = [] {
        const bool shm = std::filesystem::is_directory("/dev/shm");
        std::string pattern = std::string(shm ? "/dev/shm" : "/tmp") + "/wemb-fuzz-XXXXXX";
        require(mkdtemp(pattern.data()) != nullptr, "a scratch directory can be made");
        return pattern;
    }();
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(directory, ignored)) {
        std::filesystem::remove_all(entry.path(), ignored);
    }
    return directory;
}

inline std::string_view asText(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace wemb::fuzz
