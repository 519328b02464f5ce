#include "app/Job.h"

#include <cctype>
#include <charconv>
#include <filesystem>

#include "app/EditorSettings.h"
#include "app/LibraryBlockCounts.h"
#include "app/PartChanges.h"
#include "library/LibrarySet.h"
#include "numbering/Autonum.h"
#include "numbering/ReNum.h"
#include "platform/FileOps.h"
#include "platform/LockedFile.h"
#include "platform/SafeSave.h"

namespace wemb {
namespace {

// Far above any drawing; a larger file is refused rather than read into memory.
constexpr std::uint64_t kMaxDataFileSize = std::uint64_t{1} << 30;

constexpr int kMinInitialNumber = 1;
constexpr int kMaxInitialNumber = 1000;
constexpr int kMinStep = 1;
constexpr int kMaxStep = 20;

// A symbolic link is followed: its target is what gets renumbered and backed up, so the link
// itself stays a link and the backup and sheet files lie beside the real file.
std::string resolvedDataPath(const std::string& fileName) {
    std::error_code error;
    if (!std::filesystem::is_symlink(fileName, error)) {
        return fileName;
    }
    const auto target = std::filesystem::canonical(fileName, error);
    return error ? fileName : target.string();
}

struct LoadedLibraries {
    LibrarySet set;
    std::optional<std::string> failedPath;
};

LoadedLibraries loadLibraries(const std::string& dataPath, const JobEnvironment& environment) {
    const std::string settings = locateEditorSettings(dataPath, environment.programDirectory);
    LibrarySetLoad load = LibrarySet::load(listedLibraries(settings));
    return {std::move(load.set), std::move(load.failedLibrary)};
}

// Runs the chosen numbering; returns the library that failed to load, if one did.
std::optional<std::string> number(Document& document, const JobRequest& request,
                                  const std::string& dataPath, const JobEnvironment& environment) {
    if (request.mode == NumberingMode::ReNum) {
        reNum(document, request.initialNumber, request.step);
        return std::nullopt;
    }
    // A drawing without parts has nothing to look up, so its libraries are not read.
    if (document.parts().empty()) {
        return std::nullopt;
    }
    const LoadedLibraries libraries = loadLibraries(dataPath, environment);
    const AutonumSettings settings{request.initialNumber, request.step,
                                   request.mode == NumberingMode::AutonumLocked,
                                   request.dependenceNameMode};
    autonum(document, settings, LibraryBlockCounts(libraries.set));
    return libraries.failedPath;
}

std::vector<platform::SaveFile> sheetFiles(const Document& document, const std::string& dataPath) {
    std::vector<platform::SaveFile> files;
    for (int sheet = 0; sheet < document.sheetCount(); ++sheet) {
        files.push_back({Document::sheetFileName(dataPath, sheet), document.sheet(sheet)});
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

    platform::FileOps& files = environment.fileOps ? *environment.fileOps : platform::realFileOps();
    const std::string dataPath = resolvedDataPath(request.fileName);
    // The lock is held from the read to the last rename, so two jobs never interleave.
    std::optional<platform::LockedFile> dataFile = platform::LockedFile::open(files, dataPath);
    std::optional<std::vector<std::uint8_t>> bytes;
    if (dataFile) {
        bytes = dataFile->readAll(kMaxDataFileSize);
    }
    if (!bytes) {
        return finished(std::move(report), MessageId::ReadFailed, request.fileName);
    }
    Document::ParseResult parsed = Document::parse(std::move(*bytes));
    if (!parsed.document) {
        return finished(std::move(report), MessageId::ReadFailed, request.fileName);
    }
    Document& document = *parsed.document;

    const PartSnapshot before(document);
    report.failedLibrary = number(document, request, dataPath, environment);
    report.changes = before.changesIn(document);
    if (request.dryRun) {
        report.parts = before.partsIn(document);
        return finished(std::move(report), MessageId::Finished);
    }

    const platform::SaveResult saved =
        platform::saveWithBackup(files, dataPath, backupName(dataPath),
                                 sheetFiles(document, dataPath), dataFile->permissions());
    if (!saved.ok) {
        return finished(std::move(report), MessageId::WriteFailed, saved.failedPath);
    }
    return finished(std::move(report), MessageId::Finished);
}

std::string backupName(const std::string& fileName) {
    const std::size_t nameStart = fileName.find_last_of('/') + 1;  // npos + 1 == 0
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
