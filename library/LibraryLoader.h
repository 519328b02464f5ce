#pragma once
// Loading one library file into an empty Library, whichever of the two formats it is in: a name
// ending in ".LB3" (any letter case) is a text library, anything else a binary one.

#include <span>
#include <string>

#include "library/Library.h"
#include "reading/ReadResult.h"

namespace wemb {

// Loads the library at `path`. A binary library is read through `workBuffer` (the set lends one
// of kBinaryBodyCapacity bytes to every load; a smaller one is replaced by a buffer of this call's
// own). An error naming `path` when the library was loaded before, or the file cannot be opened,
// read or understood; the path is recorded only on success. Reports nothing: the caller shows
// the error to the user.
ReadResult<> loadLibrary(Library& library, const std::string& path,
                         std::span<std::uint8_t> workBuffer);

}  // namespace wemb
