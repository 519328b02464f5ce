#pragma once
// The reader of text (.LB3) part libraries: components with their pins, aliases, and patterns
// with their bitmaps.

#include <cstdint>
#include <span>
#include <string>

#include "library/Library.h"
#include "library/text/TextTokenizer.h"
#include "reading/ReadResult.h"

namespace wemb {

// The first token of every text library.
inline constexpr std::string_view kTextLibraryMagic = "+RIRI3_DAR_I.1.0";

// Reads the text library at `path` into an empty library. An error when the file cannot be
// opened or read, does not begin with the text library's magic, or a section breaks the format's
// rules, with the line and column of the token that broke it; the caller then discards the
// library. The library's path is left for the caller to set.
ReadResult<> readTextLibrary(Library& library, const std::string& path);

// The same over a text library held in memory; the error names no file.
ReadResult<> readTextLibrary(Library& library, std::span<const std::uint8_t> bytes);

// The same over an attached tokenizer: the magic, then the sections of the top level until the
// input ends or an escape breaks (the rest of the input is then not read).
ReadResult<> readText(Library& library, TextTokenizer& tokenizer);

}  // namespace wemb
