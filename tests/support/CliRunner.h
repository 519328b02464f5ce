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

// Runs wemb-cli with `arguments` (already shell words) in `dir`, in a UTF-8 locale by default.
inline CliRun cli(const TempDirectory& dir, const std::string& arguments,
                  const std::string& locale = "C.UTF-8") {
    const std::string command = "cd '" + dir.path().string() + "' && LC_ALL=" + locale + " '" +
                                WEMB_BINARY_DIR + "/bin/wemb-cli' " + arguments + " >.out 2>.err";
    const int status = std::system(command.c_str());
    CliRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1,
               contentOf(dir.file(".out")).value_or(""), contentOf(dir.file(".err")).value_or("")};
    std::filesystem::remove(dir.file(".out"));
    std::filesystem::remove(dir.file(".err"));
    return run;
}

}  // namespace wemb::testing
