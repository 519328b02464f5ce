#pragma once
// The commands of wemb-cli. Each prints its own output and returns the exit status.

#include <optional>
#include <string>

#include "cli/CliOptions.h"
#include "reading/FileError.h"

namespace wemb::cli {

enum ExitStatus {
    kExitFinished = 0,
    kExitReadFailed = 1,
    kExitUsage = 2,  // also a number out of range
    kExitWriteFailed = 3,
    kExitFindings = 4,   // --check found something
    kExitMapFailed = 5,  // renumbered; the change table (--map) could not be written
};

int runNumberCommand(const CliOptions& options);
int runListLibraryCommand(const CliOptions& options);
int runCheckCommand(const CliOptions& options);

// Prints a job message on stderr in the form the user reads it: "wemb-cli: TEXT".
void printError(const std::string& utf8);

// Prints 102 for `file` and, on the next line, the reason when there is one:
// "wemb-cli: FILE: line 12, column 5: expected ...".
void printReadFailure(const std::string& file, const std::optional<FileError>& error);

}  // namespace wemb::cli
