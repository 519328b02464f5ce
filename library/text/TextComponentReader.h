#pragma once
// The component section ("+COMP" ... "-COMP") of a text library: one part with its pins, and the
// entry that names it.

#include <string>
#include <vector>

#include "library/Library.h"
#include "library/text/LibraryNameIndex.h"
#include "library/text/TextTokenizer.h"
#include "reading/ReadResult.h"

namespace wemb {

inline constexpr int kMaxBlockCount = 256;

// What reading a component needs while it reads: kept from one component to the next, so that
// its room is reused and each part's pin list is made once, at its exact size.
struct ComponentScratch {
    std::string name;
    std::string patternName;
    std::vector<LibraryPin> pins;
};

// Reads the component that a "+COMP" just opened; `names` indexes the patterns of `library` read
// so far. On success its part and its entry have been appended to `library`; on failure nothing
// has, and the error gives the line and column of the token that broke it. `scratch` is scratch.
ReadResult<> readComponent(Library& library, const LibraryNameIndex& names,
                           TextTokenizer& tokenizer, ComponentScratch& scratch);

}  // namespace wemb
