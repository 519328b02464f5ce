#pragma once
// What a job and a check both do first: open the drawing locked, with the file operations the
// environment gives, find the sheet files it does not hold, and load the libraries it needs.

#include <optional>
#include <string>

#include "app/Job.h"
#include "app/LockedDocument.h"
#include "app/UnseenSheets.h"
#include "library/LibrarySet.h"

namespace wemb {

struct OpenDrawing {
    LockedDocument locked;
    UnseenSheets unseenSheets;
};

// The file operations of the environment: the real file system unless it gives others.
platform::FileOps& fileOpsOf(const JobEnvironment& environment);

// Why the drawing cannot be read, when it cannot (see openLockedDocument).
ReadResult<OpenDrawing> openDrawing(const std::string& fileName, const JobEnvironment& environment);

// The libraries that QUIL.INI lists for the drawing; a drawing without parts has nothing to look
// up, so then none are read.
LibrarySetLoad librariesFor(const LockedDocument& drawing, const JobEnvironment& environment);

}  // namespace wemb
