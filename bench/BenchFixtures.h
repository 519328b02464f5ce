#pragma once
// What the stage benchmarks share: synthetic drawings made once per size, and the full library
// set written once to a scratch folder that is removed when the program ends.

#include <cstdint>
#include <string>
#include <vector>

#include "schematic/Document.h"
#include "tools/gen/SyntheticDrawing.h"

namespace wemb::bench {

// The sizes every per-part benchmark runs at.
inline constexpr std::int64_t kSmallest = 1'000;
inline constexpr std::int64_t kLargest = 1'000'000;

// The bytes of a drawing of `parts` parts; made on first use and kept.
const std::vector<std::uint8_t>& drawingBytes(std::int64_t parts,
                                              gen::DrawingMix mix = gen::DrawingMix::Realistic);
// A freshly parsed copy of that drawing.
Document parsedDrawing(std::int64_t parts, gen::DrawingMix mix = gen::DrawingMix::Realistic);

// The paths of the 16 synthetic libraries, in slot order.
const std::vector<std::string>& libraryPaths();
// A text library of about `bytes` bytes, written once.
const std::string& textLibraryPath(std::size_t bytes);

}  // namespace wemb::bench
