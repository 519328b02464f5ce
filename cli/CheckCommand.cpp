// wemb-cli --check FILE: the findings of a drawing, as text or JSON. Nothing is written.

#include <iostream>

#include "app/DrawingCheck.h"
#include "cli/CheckFormat.h"
#include "cli/Commands.h"
#include "cli/FileErrorReport.h"
#include "cli/Terminal.h"
#include "platform/Paths.h"

namespace wemb::cli {

int runCheckCommand(const CliOptions& options) {
    const JobEnvironment environment{nullptr, platform::programDirectory()};
    const CheckRequest request{options.file, {options.job.dependenceNameMode}};
    const CheckReport report = runCheck(request, environment);
    if (report.outcome != MessageId::Finished) {
        printReadFailure(report.messageFile, report.readError);
        if (options.json) {
            std::cout << checkAsJson(options, report) << '\n';
        }
        return kExitReadFailed;
    }
    if (report.failedLibrary) {
        printReadFailure(report.failedLibrary->file, report.failedLibrary);
    }
    if (options.json) {
        std::cout << checkAsJson(options, report) << '\n';
    } else {
        std::cout << forTerminal(checkAsText(options, report));
    }
    const bool found = report.check.problemCount() > 0 || !report.unseenSheets.files.empty();
    return found ? kExitFindings : kExitFinished;
}

}  // namespace wemb::cli
