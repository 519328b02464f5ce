#pragma once
// A data file opened the way every job opens it: a symbolic link followed to its real file, that
// file locked, read whole and walked. The lock lasts as long as the LockedDocument, so a job that
// saves keeps it to its last rename and a job that only reads lets it go when it has read.

#include <optional>
#include <string>

#include "platform/LockedFile.h"
#include "reading/ReadResult.h"
#include "schematic/Document.h"

namespace wemb {

namespace platform {
class FileOps;
}

struct LockedDocument {
    // The real file behind the name given: where the libraries' settings are looked for and
    // where a save goes.
    std::string dataPath;
    platform::LockedFile file;
    Document document;
};

// An error naming `fileName` when the file cannot be opened or locked, is too large, cannot be
// read whole, or is not a data file; each reads to the user as "the file could not be read",
// with the error's reason under it.
ReadResult<LockedDocument> openLockedDocument(platform::FileOps& fileOps,
                                              const std::string& fileName);

}  // namespace wemb
