#pragma once
// What a job tells its front end while it runs, at the moment it happens. A message about a
// library must reach the user before the job goes on to write anything, not in the report at
// the end; each front end shows or prints these as they come.

#include "app/UnseenSheets.h"
#include "reading/FileError.h"

namespace wemb {

class JobEvents {
  public:
    virtual ~JobEvents() = default;
    // A library that the editor's settings list failed to load (or the settings file itself,
    // when it is there but cannot be read); the error's file is its path as listed. The job goes
    // on with no libraries.
    virtual void libraryFailed(const FileError& error) { static_cast<void>(error); }
    // Sheet files beside the data file whose numbers this job will not see; told before numbering.
    virtual void sheetsUnseen(const UnseenSheets& unseen) { static_cast<void>(unseen); }
};

}  // namespace wemb
