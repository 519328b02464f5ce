#pragma once
// What a job tells its front end while it runs, at the moment it happens. A message about a
// library must reach the user before the job goes on to write anything, not in the report at
// the end; each front end shows or prints these as they come.

#include <string>

#include "app/UnseenSheets.h"

namespace wemb {

class JobEvents {
  public:
    virtual ~JobEvents() = default;
    // A library that the editor's settings list failed to load; the job goes on with none.
    virtual void libraryFailed(const std::string& path) { static_cast<void>(path); }
    // Sheet files beside the data file whose numbers this job will not see; told before numbering.
    virtual void sheetsUnseen(const UnseenSheets& unseen) { static_cast<void>(unseen); }
};

}  // namespace wemb
