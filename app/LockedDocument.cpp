#include "app/LockedDocument.h"

#include "platform/Paths.h"

namespace wemb {
namespace {

// Far above any drawing; a larger file is refused rather than read into memory.
constexpr std::uint64_t kMaxDataFileSize = std::uint64_t{1} << 30;

}  // namespace

std::optional<LockedDocument> openLockedDocument(platform::FileOps& fileOps,
                                                 const std::string& fileName) {
    // A symbolic link is followed, so that the link itself stays a link and whatever lies beside
    // the data file is looked for beside the real file.
    std::string dataPath = platform::followedLink(fileName);
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
