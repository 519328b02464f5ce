#pragma once
// Synthetic drawings at scale (up to millions of parts) for benchmarks, tests and fuzz seeds:
// a realistic mix of parts, and the shapes that stress one stage of numbering each. The same
// count, seed and mix always give the same bytes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace wemb::gen {

enum class DrawingMix {
    // Several sheets with other records between the parts; prefixes R, C, U, IC and Q; a share
    // already numbered; multi-block parts named after entries of the synthetic library set;
    // power symbols and power-prefixed parts.
    Realistic,
    // Every part an "R"; in position order numbered and unnumbered parts alternate, and the
    // numbered ones hold the numbers the unnumbered ones would take next.
    OnePrefixHalfNumbered,
    // Every part a block of a multi-block package of a part name of its own.
    DistinctMultiblock,
    // Main parts and power-prefixed parts alternate, each power-prefixed part with a key (part
    // name and prefix) of its own; half of the keys have a matching main part.
    DistinctPower,
    // A realistic mix of parts, all at one position.
    SamePosition,
};

std::optional<DrawingMix> drawingMixNamed(std::string_view name);

struct SyntheticDrawingRequest {
    std::size_t parts = 1000;
    std::uint32_t seed = 1;
    DrawingMix mix = DrawingMix::Realistic;
};

// Holds exactly `request.parts` part records. Positions stay below the sheet width, so position
// order runs sheet by sheet; within a sheet the file order is shuffled.
std::vector<std::uint8_t> makeSyntheticDrawing(const SyntheticDrawingRequest& request);

}  // namespace wemb::gen
