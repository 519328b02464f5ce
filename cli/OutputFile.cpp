#include "cli/OutputFile.h"

#include <filesystem>
#include <span>

#include "app/Job.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "platform/TemporaryFile.h"
#include "schematic/Document.h"

namespace wemb::cli {
namespace {

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

}  // namespace

bool isDataFileOrCompanion(const std::string& path, const std::string& dataFile) {
    if (sameFile(path, dataFile) || sameFile(path, backupName(dataFile))) {
        return true;
    }
    for (int sheet = 1; sheet < kMaxSheets; ++sheet) {
        if (sameFile(path, Document::sheetFileName(dataFile, sheet))) {
            return true;
        }
    }
    return false;
}

bool writeReportFile(const std::string& path, std::string_view text, const std::string& dataFile) {
    if (path.empty() || isDataFileOrCompanion(path, dataFile)) {
        return false;
    }
    platform::FileOps& files = platform::realFileOps();
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    const std::optional<std::string> temporary = platform::writeTemporaryFile(
        files, platform::directoryOf(path), platform::fileNameOf(path), bytes, {});
    if (!temporary) {
        return false;
    }
    if (files.rename(*temporary, path) != 0) {
        files.remove(*temporary);
        return false;
    }
    return true;
}

}  // namespace wemb::cli
