#pragma once
// The pin section ("+PIN" ... "-PIN") of a text library component.

#include <cstdint>
#include <optional>
#include <string>

#include "library/Library.h"
#include "library/text/TextTokenizer.h"
#include "reading/ReadResult.h"

namespace wemb {

inline constexpr std::uint32_t kPinOffsetMask = 0xFFFF;
inline constexpr int kPinSideShift = 16;
inline constexpr std::uint32_t kPinSideMask = 0x3u << kPinSideShift;
inline constexpr std::uint32_t kPinTypeS = 1u << 28;
inline constexpr std::uint32_t kPinTypeC = 1u << 30;
inline constexpr std::uint32_t kPinTypeN = 1u << 31;

// Reads the pin that a "+PIN" just opened, for a part of `blockCount` blocks: one number slot per
// block, into `pin`, which must be a new pin. False when the pin breaks the format.
ReadResult<> readPin(TextTokenizer& tokenizer, int blockCount, LibraryPin& pin);

// The side (0 left, 1 top, 2 right, 3 bottom) that `attributes` puts a pin on.
inline int pinSide(std::uint32_t attributes) {
    return static_cast<int>((attributes & kPinSideMask) >> kPinSideShift);
}

}  // namespace wemb
