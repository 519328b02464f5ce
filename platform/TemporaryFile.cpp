#include "platform/TemporaryFile.h"

#include <cerrno>
#include <utility>

#include "platform/FileOps.h"
#include "platform/Paths.h"

namespace wemb::platform {

namespace {

// Names taken by someone else (or left by a run that was killed) are skipped, not reused.
constexpr int kNameAttempts = 1000;

// Names are limited to 255 bytes; a target name near that limit must still leave room for the
// marks that make the temporary's name hidden and recognisable.
constexpr std::size_t kTargetNameKept = 200;

std::string temporaryName(const std::string& targetName, int attempt) {
    std::string name(".");
    name.append(targetName, 0, kTargetNameKept);
    name.append(".wemb").append(std::to_string(attempt)).append(".tmp");
    return name;
}

// write(2) may take fewer bytes than offered; a write that takes none at all is a full disk.
bool writeFully(FileOps& fileOps, int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = fileOps.write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (written == 0) {
            errno = ENOSPC;
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

std::optional<OpenTemporary> createTemporaryFile(FileOps& fileOps, const std::string& directory,
                                                 const std::string& targetName, mode_t bits) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string path = joinPath(directory, temporaryName(targetName, attempt));
        const int fd = fileOps.createExclusive(path, bits);
        if (fd >= 0) {
            return OpenTemporary{std::move(path), fd};
        }
        if (errno != EEXIST) {
            return std::nullopt;
        }
    }
    errno = EEXIST;
    return std::nullopt;
}

FileContent wholeContent(std::span<const std::uint8_t> bytes) {
    return [bytes](const PieceWriter& write) { return write(bytes); };
}

bool fillTemporaryFile(FileOps& fileOps, const OpenTemporary& temporary,
                       std::span<const std::uint8_t> bytes, TemporaryMode mode) {
    return fillTemporaryFile(fileOps, temporary, wholeContent(bytes), mode);
}

bool fillTemporaryFile(FileOps& fileOps, const OpenTemporary& temporary, const FileContent& content,
                       TemporaryMode mode) {
    if (mode.exact) {
        fileOps.fchmod(temporary.fd, mode.bits);
    }
    const PieceWriter write = [&](std::span<const std::uint8_t> piece) {
        return writeFully(fileOps, temporary.fd, piece);
    };
    if (!content(write)) {
        discardTemporaryFile(fileOps, temporary);
        return false;
    }
    // A refusal costs only the head start; settleTemporaryFile's fsync has the last word.
    fileOps.startWriteBack(temporary.fd);
    return true;
}

bool settleTemporaryFile(FileOps& fileOps, const OpenTemporary& temporary) {
    const bool flushed = fileOps.fsync(temporary.fd) == 0;
    int error = errno;
    // close(2) is where some file systems first report a failed write.
    const bool closed = fileOps.close(temporary.fd) == 0;
    if (flushed && closed) {
        return true;
    }
    if (flushed) {
        error = errno;
    }
    fileOps.remove(temporary.path);
    errno = error;
    return false;
}

void discardTemporaryFile(FileOps& fileOps, const OpenTemporary& temporary) {
    const int error = errno;
    fileOps.close(temporary.fd);
    fileOps.remove(temporary.path);
    errno = error;
}

bool finishTemporaryFile(FileOps& fileOps, const OpenTemporary& temporary,
                         std::span<const std::uint8_t> bytes, TemporaryMode mode) {
    return fillTemporaryFile(fileOps, temporary, bytes, mode) &&
           settleTemporaryFile(fileOps, temporary);
}

std::optional<std::string> writeTemporaryFile(FileOps& fileOps, const std::string& directory,
                                              const std::string& targetName,
                                              std::span<const std::uint8_t> bytes,
                                              TemporaryMode mode) {
    std::optional<OpenTemporary> temporary =
        createTemporaryFile(fileOps, directory, targetName, mode.bits);
    if (!temporary || !finishTemporaryFile(fileOps, *temporary, bytes, mode)) {
        return std::nullopt;
    }
    return std::move(temporary->path);
}

}  // namespace wemb::platform
