#include "cli/OutputFile.h"

#include <filesystem>
#include <span>
#include <utility>
#include <vector>

#include "app/Job.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "schematic/Document.h"

namespace wemb::cli {
namespace {

namespace fs = std::filesystem;

// The path with every symbolic link resolved as far as it exists, the rest taken as written.
fs::path resolved(const std::string& path) {
    std::error_code error;
    // Made absolute first: a relative path none of whose parts exists would stay relative. Not
    // normalised before the links are resolved, since ".." after a link leaves its target.
    // Given as UTF-8, so that Windows does not read the name in its ANSI code page.
    const fs::path absolute = fs::absolute(std::u8string(path.begin(), path.end()), error);
    fs::path result = fs::weakly_canonical(absolute, error);
    return error ? absolute.lexically_normal() : result;
}

bool sameFile(const std::string& a, const std::string& b) {
    return platform::sameFile(a, b);
}

void addOwnFiles(const std::string& dataFile, std::vector<std::string>& files) {
    files.push_back(dataFile);
    files.push_back(backupName(dataFile));
    for (int sheet = 1; sheet < kMaxSheets; ++sheet) {
        files.push_back(Document::sheetFileName(dataFile, sheet));
    }
}

}  // namespace

std::optional<std::string> drawingFileAt(const std::string& path, const std::string& dataFile) {
    std::vector<std::string> ownFiles;
    addOwnFiles(dataFile, ownFiles);
    // A job on a link writes the backup and the sheets beside the link's target.
    if (const std::string target = platform::resolvedPath(dataFile); !target.empty()) {
        addOwnFiles(target, ownFiles);
    }
    const fs::path wanted = resolved(path);
    for (const std::string& file : ownFiles) {
        if (resolved(file) == wanted || sameFile(path, file)) {
            return file;
        }
    }
    return std::nullopt;
}

std::optional<ReportFile> ReportFile::create(const std::string& path) {
    std::optional<platform::OpenTemporary> temporary = platform::createTemporaryFile(
        platform::realFileOps(), platform::directoryOf(path), platform::fileNameOf(path), 0666);
    if (!temporary) {
        return std::nullopt;
    }
    return ReportFile(path, std::move(*temporary));
}

ReportFile::ReportFile(std::string path, platform::OpenTemporary temporary)
    : path_(std::move(path)), temporary_(std::move(temporary)) {}

ReportFile::ReportFile(ReportFile&& other) noexcept
    : path_(std::move(other.path_)), temporary_(std::exchange(other.temporary_, std::nullopt)) {}

ReportFile::~ReportFile() {
    if (temporary_) {
        platform::FileOps& files = platform::realFileOps();
        files.close(temporary_->fd);
        files.remove(temporary_->path);
    }
}

bool ReportFile::commit(std::string_view text) {
    platform::FileOps& files = platform::realFileOps();
    const platform::OpenTemporary temporary = *std::exchange(temporary_, std::nullopt);
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    if (!platform::finishTemporaryFile(files, temporary, bytes, {})) {
        return false;
    }
    if (files.rename(temporary.path, path_) != 0) {
        files.remove(temporary.path);
        return false;
    }
    return true;
}

bool writeReportFile(const std::string& path, std::string_view text, const std::string& dataFile) {
    if (path.empty() || drawingFileAt(path, dataFile)) {
        return false;
    }
    std::optional<ReportFile> report = ReportFile::create(path);
    return report && report->commit(text);
}

}  // namespace wemb::cli
