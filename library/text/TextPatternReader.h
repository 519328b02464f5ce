#pragma once
// The pattern section ("+PTN" ... "-PTN") of a text library and the bitmap inside it
// ("+BMP" ... "-BMP"): a named picture of one bit per pixel that components refer to by "P".

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "library/Library.h"
#include "library/text/TextTokenizer.h"
#include "reading/ReadResult.h"

namespace wemb {

// A bitmap stores its size in 16 bits; a larger pattern cannot be held and fails the read.
inline constexpr std::int32_t kMaxPatternSide = 65535;

// What reading a bitmap needs for its rows: kept from one bitmap to the next, so that its room is
// reused and each bitmap is then made in one piece of its exact size.
struct BitmapScratch {
    PatternBitmap rows{0, 0};
    std::vector<std::uint8_t> decoded;
};

// Reads the pattern that a "+PTN" just opened. On success it has been appended to `library`;
// on failure nothing has. `scratch` is scratch.
ReadResult<> readPattern(Library& library, TextTokenizer& tokenizer, BitmapScratch& scratch);

// Reads the rows of the bitmap that a "+BMP" just opened, for a pattern of `width` × `height`
// pixels (each 1 to kMaxPatternSide). An error when the section breaks the format or the input
// ends inside it.
ReadResult<std::unique_ptr<PatternBitmap>> readBitmap(TextTokenizer& tokenizer, std::int32_t width,
                                                      std::int32_t height, BitmapScratch& scratch);

}  // namespace wemb
