#include "app/Job.h"

#include <cctype>
#include <charconv>
#include <future>

#include "app/EditorSettings.h"
#include "app/LibraryBlockCounts.h"
#include "app/OpenDrawing.h"
#include "app/PartChanges.h"
#include "numbering/Autonum.h"
#include "numbering/ReNum.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "platform/SafeSave.h"

namespace wemb {
namespace {

constexpr int kMinInitialNumber = 1;
constexpr int kMaxInitialNumber = 1000;
constexpr int kMinStep = 1;
constexpr int kMaxStep = 20;

// The libraries an Autonum job looks its parts up in, read on a thread of their own while the
// drawing is read: neither needs the other, and on a large drawing each takes a while. Where no
// thread can be started they are read when asked for.
std::future<LibrarySetLoad> startReadingLibraries(const JobRequest& request,
                                                  const JobEnvironment& environment) {
    if (request.mode == NumberingMode::ReNum) {
        return {};
    }
    return std::async(std::launch::async | std::launch::deferred,
                      [dataPath = platform::followedLink(request.fileName),
                       programDirectory = environment.programDirectory] {
                          return loadLibrariesFor(dataPath, programDirectory);
                      });
}

// Runs the chosen numbering; returns why a library failed to load, if one did.
std::optional<FileError> number(Document& document, const JobRequest& request,
                                std::future<LibrarySetLoad> reading,
                                const JobEnvironment& environment) {
    if (request.mode == NumberingMode::ReNum) {
        reNum(document, request.initialNumber, request.step);
        return std::nullopt;
    }
    // A drawing without parts has nothing to look up: what was read is let go unseen.
    const LibrarySetLoad libraries = document.parts().empty() ? LibrarySetLoad{} : reading.get();
    const AutonumSettings settings{request.initialNumber, request.step,
                                   request.mode == NumberingMode::AutonumLocked,
                                   request.dependenceNameMode};
    if (libraries.failedLibrary && environment.events != nullptr) {
        environment.events->libraryFailed(*libraries.failedLibrary);
    }
    autonum(document, settings, LibraryBlockCounts(libraries.set));
    return libraries.failedLibrary;
}

std::vector<platform::SaveFile> sheetFiles(const Document& document, const std::string& dataPath) {
    std::vector<platform::SaveFile> files;
    for (int sheet = 0; sheet < document.sheetCount(); ++sheet) {
        files.push_back({Document::sheetFileName(dataPath, sheet),
                         [&document, sheet](const platform::PieceWriter& write) {
                             return document.writeSheet(sheet, write);
                         }});
    }
    return files;
}

JobReport finished(JobReport report, MessageId outcome, std::string file = {}) {
    report.outcome = outcome;
    report.messageFile = std::move(file);
    return report;
}

}  // namespace

JobReport runJob(const JobRequest& request, const JobEnvironment& environment) {
    JobReport report;
    if (request.initialNumber < kMinInitialNumber || request.initialNumber > kMaxInitialNumber) {
        return finished(std::move(report), MessageId::InitialOutOfRange);
    }
    if (request.step < kMinStep || request.step > kMaxStep) {
        return finished(std::move(report), MessageId::StepOutOfRange);
    }
    if (request.fileName.empty()) {
        return report;
    }

    std::future<LibrarySetLoad> libraries = startReadingLibraries(request, environment);
    // The lock is held from the read to the last rename, so two jobs never interleave.
    ReadResult<OpenDrawing> opened = openDrawing(request.fileName, environment);
    if (!opened) {
        report.readError = std::move(opened).error();
        return finished(std::move(report), MessageId::ReadFailed, request.fileName);
    }
    LockedDocument& drawing = opened->locked;
    Document& document = drawing.document;
    const std::string& dataPath = drawing.dataPath;
    report.unseenSheets = std::move(opened->unseenSheets);
    if (!report.unseenSheets.files.empty() && environment.events != nullptr) {
        environment.events->sheetsUnseen(report.unseenSheets);
    }

    std::optional<PartSnapshot> before;
    if (request.dryRun || request.reportChanges) {
        before.emplace(document);
    }
    report.failedLibrary = number(document, request, std::move(libraries), environment);
    if (before) {
        report.changes = before->changesIn(document);
    }
    if (request.dryRun) {
        report.parts = before->partsIn(document);
        return finished(std::move(report), MessageId::Finished);
    }

    const platform::SaveResult saved =
        platform::saveWithBackup(fileOpsOf(environment), dataPath, backupName(dataPath),
                                 sheetFiles(document, dataPath), drawing.file.permissions());
    if (!saved.ok) {
        return finished(std::move(report), MessageId::WriteFailed, saved.failedPath);
    }
    return finished(std::move(report), MessageId::Finished);
}

std::string backupName(const std::string& fileName) {
    const std::size_t nameStart = fileName.size() - platform::fileNameOf(fileName).size();
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string::npos || dot < nameStart) {
        return fileName + ".$";
    }
    if (dot + 1 == fileName.size()) {
        return fileName + "$";
    }
    std::string backup = fileName;
    backup[dot + 1] = '$';
    return backup;
}

int parseNumberField(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) {
        ++begin;
    }
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) {
        --end;
    }
    int value = 0;
    const char* first = text.data() + begin;
    const char* last = text.data() + end;
    const auto [stop, error] = std::from_chars(first, last, value);
    if (first == last || error != std::errc() || stop != last) {
        return 0;
    }
    return value;
}

}  // namespace wemb
