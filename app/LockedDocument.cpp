#include "app/LockedDocument.h"

#include <cerrno>

#include "platform/Paths.h"

namespace wemb {
namespace {

// Far above any drawing; a larger file is refused rather than read into memory.
constexpr std::uint64_t kMaxDataFileSize = std::uint64_t{1} << 30;

// Why the file could not be opened and locked, from the errno LockedFile::open left.
FileError openError(int errorNumber) {
    if (errorNumber == EWOULDBLOCK) {
        return fileError(FileErrorKind::Locked, "the file is in use by another job");
    }
    return systemError(FileErrorKind::CannotOpen, errorNumber);
}

// Why the file could not be read whole, from the errno LockedFile::readAll left.
FileError readError(int errorNumber, std::uint64_t size) {
    if (errorNumber == EFBIG) {
        return fileError(FileErrorKind::TooLarge, "the file is " + counted(size, "byte", "bytes") +
                                                      " long, more than a drawing can be (" +
                                                      std::to_string(kMaxDataFileSize) + " bytes)");
    }
    return systemError(FileErrorKind::ReadFailed, errorNumber);
}

// The file mapped where it can be: its bytes are then never copied, and only the records'
// changed fields are written back over them. Read where it cannot be.
ReadResult<Document> mappedOrRead(platform::LockedFile& file) {
    if (std::shared_ptr<const platform::FileMapping> mapping = file.mapAll(kMaxDataFileSize)) {
        if (!file.sizeUnchanged()) {
            return readError(errno, file.size());
        }
        return Document::parse(mapping->bytes(), mapping);
    }
    // A file too large is refused by the read as by the mapping, before a byte is read.
    std::optional<std::vector<std::uint8_t>> bytes = file.readAll(kMaxDataFileSize);
    if (!bytes) {
        return readError(errno, file.size());
    }
    return Document::parse(std::move(*bytes));
}

ReadResult<LockedDocument> opened(const std::string& fileName, platform::FileOps& fileOps) {
    // A symbolic link is followed, so that the link itself stays a link and whatever lies beside
    // the data file is looked for beside the real file.
    std::string dataPath = platform::followedLink(fileName);
    std::optional<platform::LockedFile> file = platform::LockedFile::open(fileOps, dataPath);
    if (!file) {
        return openError(errno);
    }
    ReadResult<Document> parsed = mappedOrRead(*file);
    if (!parsed) {
        return std::move(parsed).error();
    }
    return LockedDocument{std::move(dataPath), std::move(*file), std::move(parsed).value()};
}

}  // namespace

ReadResult<LockedDocument> openLockedDocument(platform::FileOps& fileOps,
                                              const std::string& fileName) {
    ReadResult<LockedDocument> result = opened(fileName, fileOps);
    if (!result) {
        FileError error = std::move(result).error();
        error.file = fileName;
        return error;
    }
    return result;
}

}  // namespace wemb
