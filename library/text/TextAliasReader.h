#pragma once
// The alias section ("+ALIAS" ... "-ALIAS") of a text library: a further name for a part that an
// earlier component or alias named.

#include <string>

#include "library/Library.h"
#include "library/text/LibraryNameIndex.h"
#include "library/text/TextTokenizer.h"
#include "reading/ReadResult.h"

namespace wemb {

// Reads the alias that a "+ALIAS" just opened; `names` indexes the entries of `library` read so
// far. An alias of a name that is not (yet) in the library adds nothing and is no failure.
ReadResult<> readAlias(Library& library, const LibraryNameIndex& names, TextTokenizer& tokenizer);

}  // namespace wemb
