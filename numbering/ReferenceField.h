#pragma once
// A reference designator (R1, U3, IC12) is a prefix followed by an optional decimal number.
// Numbering reads the designator of a part, splits it, decides on a new number and writes prefix
// and number back into the part record. The prefix is compared byte for byte.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "schematic/CountedString.h"
#include "schematic/PartEntry.h"

namespace wemb {

inline constexpr std::size_t kReferenceCapacity = PartEntry::kReferenceSize - 1;

// The length of the prefix of a reference and the number after it, without copying the text.
struct ReferenceSplit {
    std::size_t prefixLength = 0;
    int number = 0;  // 0 when the reference has no trailing digits
};
// Splits off the trailing run of digits; the first character always stays in the prefix, even
// when it is a digit ("12" gives "1" and 2, "5" gives "5" and 0). A reference comes from its
// 7-byte field, so its number always fits.
ReferenceSplit splitReference(std::string_view reference);

bool endsWithDigit(std::string_view text);

// The texts of a part as views into the record, for the passes that read every part of a large
// drawing and cannot afford a copy each.
inline std::string_view referenceText(const PartEntry& part) {
    return countedStringView(part.referenceField());
}
inline std::string_view partNameText(const PartEntry& part) {
    return countedStringView(part.partNameField());
}

// A prefix of at most 7 bytes (every prefix a reference field can hold) packed with its length
// into one integer: equal prefixes, and only they, give equal keys.
std::uint64_t packPrefix(std::string_view prefix);
// The bytes of a packed prefix back, held on the stack.
struct PrefixText {
    std::array<char, kReferenceCapacity> bytes{};
    std::size_t length = 0;
    std::string_view text() const { return {bytes.data(), length}; }
};
PrefixText unpackPrefix(std::uint64_t key);

// The prefix followed by the number in decimal, cut to the 7 characters of the field: the
// trailing characters, number digits first, are lost. Held on the stack.
struct FormattedReference {
    std::array<char, kReferenceCapacity> bytes{};
    std::size_t length = 0;
    std::string_view text() const { return {bytes.data(), length}; }
};
FormattedReference formatReference(std::string_view prefix, std::int64_t number);

// Keeps the first `prefixLength` characters of the reference in `field` and writes `number` after
// them in decimal, cut as formatReference cuts: the prefix stays where it is, so only the digits
// and the length byte are written. Bytes of the field after the new text keep what they held.
void renumberReference(std::span<std::uint8_t> field, std::size_t prefixLength,
                       std::int64_t number);

}  // namespace wemb
