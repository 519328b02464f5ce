#pragma once
// The reader of text (.LB3) part libraries: components with their pins, aliases, and patterns
// with their bitmaps.

#include <string>

#include "library/Library.h"

namespace wemb {

// Reads the text library at `path` into an empty library. False when the file cannot be opened,
// does not begin with the text library's magic, or a section breaks the format's rules.
bool readTextLibrary(Library& library, const std::string& path);

}  // namespace wemb
