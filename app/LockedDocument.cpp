#include "app/LockedDocument.h"

#include <filesystem>

namespace wemb {
namespace {

// Far above any drawing; a larger file is refused rather than read into memory.
constexpr std::uint64_t kMaxDataFileSize = std::uint64_t{1} << 30;

// A symbolic link is followed, so that the link itself stays a link and whatever lies beside
// the data file is looked for beside the real file.
std::string resolvedDataPath(const std::string& fileName) {
    std::error_code error;
    if (!std::filesystem::is_symlink(fileName, error)) {
        return fileName;
    }
    const auto target = std::filesystem::canonical(fileName, error);
    return error ? fileName : target.string();
}

}  // namespace

std::optional<LockedDocument> openLockedDocument(platform::FileOps& fileOps,
                                                 const std::string& fileName) {
    std::string dataPath = resolvedDataPath(fileName);
    std::optional<platform::LockedFile> file = platform::LockedFile::open(fileOps, dataPath);
    if (!file) {
        return std::nullopt;
    }
    std::optional<std::vector<std::uint8_t>> bytes = file->readAll(kMaxDataFileSize);
    if (!bytes) {
        return std::nullopt;
    }
    Document::ParseResult parsed = Document::parse(std::move(*bytes));
    if (!parsed.document) {
        return std::nullopt;
    }
    return LockedDocument{std::move(dataPath), std::move(*file), std::move(*parsed.document)};
}

}  // namespace wemb
