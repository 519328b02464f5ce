#pragma once
// Runs the built wemb-cli in a test's temporary directory and captures what it says.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/TempDirectory.h"

namespace wemb::testing {

struct CliRun {
    int status = -1;
    std::string out, err;
};

inline std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

inline std::string fileText(const std::string& path) {
    const std::vector<std::uint8_t> bytes = readFile(path);
    return {bytes.begin(), bytes.end()};
}

// Runs wemb-cli with `arguments` (already shell words) in `dir`, in a UTF-8 locale.
inline CliRun cli(const TempDirectory& dir, const std::string& arguments) {
    const std::string program = std::string(WEMB_BINARY_DIR) + "/bin/wemb-cli";
    const std::string command = "cd " + shellQuoted(dir.path().string()) + " && LC_ALL=C.UTF-8 " +
                                shellQuoted(program) + " " + arguments + " >.out 2>.err";
    const int status = std::system(command.c_str());
    CliRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, fileText(dir.file(".out")),
               fileText(dir.file(".err"))};
    std::filesystem::remove(dir.file(".out"));
    std::filesystem::remove(dir.file(".err"));
    return run;
}

}  // namespace wemb::testing
