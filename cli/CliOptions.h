#pragma once
// The command line of wemb-cli, parsed into what to do.

#include <optional>
#include <string>
#include <vector>

#include "app/Job.h"

namespace wemb::cli {

enum class Command {
    Number,       // renumber FILE (or report what would change, with --dry-run)
    Check,        // report duplicates, gaps and other findings of FILE
    ListLibrary,  // list the entries of one library file
    Help,
    Version,
};

struct CliOptions {
    Command command = Command::Number;
    JobRequest job;
    bool json = false;
    bool csv = false;
    std::string svgPath;  // --svg OUT.svg with --dry-run
    std::string mapPath;  // --map FILE.csv after a real job
    std::string file;     // the data file or library file
};

struct ParsedCommandLine {
    std::optional<CliOptions> options;
    std::string error;  // why the command line was refused, when options is empty
};

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments);

std::string usageText(const std::string& program);

}  // namespace wemb::cli
