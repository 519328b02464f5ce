#pragma once
// A new file written completely beside the file it will replace, so that the replacement can be
// a single rename: created exclusively (never an existing file), written in full, flushed to
// disk and closed before anyone renames it.

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace wemb::platform {

class FileOps;

struct TemporaryMode {
    mode_t bits = 0666;
    // False: the umask narrows `bits`, as for any new file. True: the file gets exactly `bits`
    // (as far as the file system allows; a refusal there does not fail the write).
    bool exact = false;
};

// What a new file holds, handed over a piece at a time, so that it never has to lie in memory
// whole: `write` takes one piece and says whether it went to the file; the content stops at the
// first refusal and says whether every piece went.
using PieceWriter = std::function<bool(std::span<const std::uint8_t>)>;
using FileContent = std::function<bool(const PieceWriter& write)>;

// Bytes already in memory, as one piece; they must outlive the content.
FileContent wholeContent(std::span<const std::uint8_t> bytes);

// A temporary created empty and left open, for a caller that must know the file can be made
// before it knows what the file will hold.
struct OpenTemporary {
    std::string path;
    int fd = -1;
};

// Creates a new, empty hidden file in `directory` whose name is derived from `targetName`. Nullopt
// (errno set) when it cannot be created.
std::optional<OpenTemporary> createTemporaryFile(FileOps& fileOps, const std::string& directory,
                                                 const std::string& targetName, mode_t bits);

// Writes `bytes` into a temporary from createTemporaryFile, flushes and closes it. False (errno
// set) on any failure, and then the temporary is removed.
bool finishTemporaryFile(FileOps& fileOps, const OpenTemporary& temporary,
                         std::span<const std::uint8_t> bytes, TemporaryMode mode);

// finishTemporaryFile in two halves, so that a caller saving several files has the disk work on
// all of them at once. The first writes `bytes` and starts their way to the disk, leaving the
// temporary open; the second waits until they are there and closes it. Each removes the
// temporary when it fails (errno set).
bool fillTemporaryFile(FileOps& fileOps, const OpenTemporary& temporary,
                       std::span<const std::uint8_t> bytes, TemporaryMode mode);
bool fillTemporaryFile(FileOps& fileOps, const OpenTemporary& temporary, const FileContent& content,
                       TemporaryMode mode);
bool settleTemporaryFile(FileOps& fileOps, const OpenTemporary& temporary);

// Closes and removes a filled temporary that will not be settled; errno stays as it was.
void discardTemporaryFile(FileOps& fileOps, const OpenTemporary& temporary);

// Writes `bytes` to a new hidden file in `directory` whose name is derived from `targetName`,
// and returns its path. Nullopt (errno set) on any failure, with nothing left behind.
std::optional<std::string> writeTemporaryFile(FileOps& fileOps, const std::string& directory,
                                              const std::string& targetName,
                                              std::span<const std::uint8_t> bytes,
                                              TemporaryMode mode);

}  // namespace wemb::platform
