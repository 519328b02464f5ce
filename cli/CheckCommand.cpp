#include "cli/Commands.h"

namespace wemb::cli {

int runCheckCommand(const CliOptions&) {
    printError("--check is not available yet");
    return kExitUsage;
}

}  // namespace wemb::cli
