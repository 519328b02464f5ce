// wemb-cli: the command-line front end. Everything it does goes through the same job as the
// dialog; this file only dispatches.

#include <iostream>
#include <string>
#include <vector>

#include "Version.h"
#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "cli/Terminal.h"
#include "platform/Paths.h"

int main(int argc, char** argv) {
    using namespace wemb::cli;
    useUserLocale();
    const std::vector<std::string> arguments = wemb::platform::commandLineArguments(argc, argv);
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    if (!parsed.options) {
        std::cerr << "wemb-cli: " << parsed.error
                  << "\nTry 'wemb-cli --help' for more information.\n";
        return kExitUsage;
    }
    const CliOptions& options = *parsed.options;
    switch (options.command) {
        case Command::Help:
            std::cout << usageText("wemb-cli");
            return kExitFinished;
        case Command::Version:
            std::cout << "wemb-cli (Wemb) " WEMB_VERSION "\n";
            return kExitFinished;
        case Command::ListLibrary:
            return runListLibraryCommand(options);
        case Command::Check:
            return runCheckCommand(options);
        case Command::Number:
            break;
    }
    return runNumberCommand(options);
}
