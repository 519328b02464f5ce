// wemb-cli FILE: one numbering job, or with --dry-run the report of what it would change.

#include <iostream>

#include "app/Job.h"
#include "cli/ChangeReport.h"
#include "cli/Commands.h"
#include "cli/OutputFile.h"
#include "cli/Terminal.h"
#include "platform/Paths.h"

namespace wemb::cli {

void printError(const std::string& utf8) {
    std::cerr << "wemb-cli: " << forTerminal(utf8) << '\n';
}

namespace {

// Said on stderr the moment the job meets it, before anything is written.
class PrintedEvents final : public JobEvents {
  public:
    void libraryFailed(const std::string& path) override {
        printError(messageText(MessageId::ReadFailed, path));
    }
};

int exitStatusOf(MessageId outcome) {
    switch (outcome) {
        case MessageId::Finished:
            return kExitFinished;
        case MessageId::ReadFailed:
            return kExitReadFailed;
        case MessageId::InitialOutOfRange:
        case MessageId::StepOutOfRange:
            return kExitUsage;
        case MessageId::WriteFailed:
            return kExitWriteFailed;
    }
    return kExitUsage;
}

int printDryRun(const CliOptions& options, const JobReport& report) {
    if (options.json) {
        std::cout << changesAsJson(options, report) << '\n';
    } else if (options.csv) {
        std::cout << changesAsCsv(report.changes);
    } else {
        std::cout << changesAsText(report);
    }
    if (!options.svgPath.empty() && !writeOrderPicture(options, report)) {
        printError(messageText(MessageId::WriteFailed, options.svgPath));
        return kExitWriteFailed;
    }
    return kExitFinished;
}

// Never over the drawing just saved, nor over its backup.
bool writeMap(const CliOptions& options, const JobReport& report) {
    return writeReportFile(options.mapPath, changesAsCsv(report.changes), options.file);
}

}  // namespace

int runNumberCommand(const CliOptions& options) {
    PrintedEvents events;
    const JobEnvironment environment{nullptr, platform::programDirectory(), &events};
    const JobReport report = runJob(options.job, environment);
    if (!report.outcome) {
        return kExitUsage;
    }
    const MessageId outcome = *report.outcome;
    if (outcome != MessageId::Finished) {
        printError(messageText(outcome, report.messageFile));
        return exitStatusOf(outcome);
    }
    if (options.job.dryRun) {
        return printDryRun(options, report);
    }
    if (!options.mapPath.empty() && !writeMap(options, report)) {
        printError(messageText(MessageId::WriteFailed, options.mapPath));
        return kExitWriteFailed;
    }
    std::cout << forTerminal(messageText(MessageId::Finished)) << '\n';
    return kExitFinished;
}

}  // namespace wemb::cli
