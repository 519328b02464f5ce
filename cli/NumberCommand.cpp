// wemb-cli FILE: one numbering job, or with --dry-run the report of what it would change.

#include <iostream>
#include <optional>
#include <utility>

#include "app/Job.h"
#include "cli/ChangeReport.h"
#include "cli/Commands.h"
#include "cli/DisplayText.h"
#include "cli/FileErrorReport.h"
#include "cli/OutputFile.h"
#include "cli/Terminal.h"
#include "platform/Paths.h"

namespace wemb::cli {

void printError(const std::string& utf8) {
    std::cerr << "wemb-cli: " << forTerminal(utf8) << '\n';
}

void printReadFailure(const std::string& file, const std::optional<FileError>& error) {
    printError(messageText(MessageId::ReadFailed, displayName(file)));
    if (error) {
        printError(reasonLine(*error));
    }
}

namespace {

// Said on stderr the moment the job meets it, before anything is written.
class PrintedEvents final : public JobEvents {
  public:
    void libraryFailed(const FileError& error) override { printReadFailure(error.file, error); }
    void sheetsUnseen(const UnseenSheets& unseen) override { printError(unseen.note()); }
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

// A report named like one of the drawing's own files is refused before the job, so that the
// slip costs nothing.
bool reportsAimAtTheDrawing(const CliOptions& options) {
    for (const auto& [option, path] :
         {std::pair<std::string, const std::string&>{"--map", options.mapPath},
          {"--svg", options.svgPath}}) {
        if (path.empty()) {
            continue;
        }
        if (const std::optional<std::string> own = drawingFileAt(path, options.file)) {
            printError(option + " " + path + " would replace " + *own + ", a file of the drawing " +
                       options.file + " (its data file, backup or a sheet file); nothing was done");
            return true;
        }
    }
    return false;
}

void warnOfIgnoredOption(const CliOptions& options) {
    if (options.job.mode == NumberingMode::ReNum && options.job.dependenceNameMode) {
        printError(
            "-d (--dependence-name) has no effect in renum, which always passes over parts "
            "without a part name");
    }
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

}  // namespace

int runNumberCommand(const CliOptions& options) {
    if (reportsAimAtTheDrawing(options)) {
        return kExitUsage;
    }
    warnOfIgnoredOption(options);
    // Made before the job: a map that cannot be written must fail while nothing is touched.
    const bool wantsMap = !options.mapPath.empty();
    std::optional<ReportFile> map = wantsMap ? ReportFile::create(options.mapPath) : std::nullopt;
    if (wantsMap && !map) {
        printError(messageText(MessageId::WriteFailed, options.mapPath));
        return kExitWriteFailed;
    }
    PrintedEvents events;
    const JobEnvironment environment{nullptr, platform::programDirectory(), &events};
    const JobReport report = runJob(options.job, environment);
    if (!report.outcome) {
        return kExitUsage;
    }
    const MessageId outcome = *report.outcome;
    if (outcome == MessageId::ReadFailed) {
        printReadFailure(report.messageFile, report.readError);
        // A script that asked for JSON gets it, with the reason, even when nothing was read.
        if (options.job.dryRun && options.json) {
            std::cout << changesAsJson(options, report) << '\n';
        }
        return kExitReadFailed;
    }
    if (outcome != MessageId::Finished) {
        printError(messageText(outcome, report.messageFile));
        return exitStatusOf(outcome);
    }
    if (options.job.dryRun) {
        return printDryRun(options, report);
    }
    std::cout << forTerminal(messageText(MessageId::Finished)) << '\n';
    // The drawing is saved; only the table is missing, which a rerun must not try to mend.
    if (map && !map->commit(changesAsCsv(report.changes))) {
        printError(messageText(MessageId::WriteFailed, options.mapPath));
        return kExitMapFailed;
    }
    return kExitFinished;
}

}  // namespace wemb::cli
