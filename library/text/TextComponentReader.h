#pragma once
// The component section ("+COMP" ... "-COMP") of a text library: one part with its pins, and the
// entry that names it.

#include <string>
#include <vector>

#include "library/Library.h"
#include "library/text/LibraryNameIndex.h"
#include "library/text/TextTokenizer.h"

namespace wemb {

inline constexpr int kMaxBlockCount = 256;

// Reads the component that a "+COMP" just opened; `names` indexes the patterns of `library` read
// so far. On success its part and its entry have been appended to `library`; on failure nothing
// has. `token` and `pins` are scratch: `pins` holds the pins while they are read, and is best
// kept from one component to the next, so that its room is reused.
bool readComponent(Library& library, const LibraryNameIndex& names, TextTokenizer& tokenizer,
                   std::string& token, std::vector<LibraryPin>& pins);

}  // namespace wemb
