#pragma once
// A reference designator (R1, U3, IC12) is a prefix followed by an optional decimal number.
// Numbering reads the designator of a part, splits it, decides on a new number and writes prefix
// and number back into the part record. The prefix is compared byte for byte.

#include <cstdint>
#include <string>
#include <string_view>

#include "schematic/PartEntry.h"

namespace wemb {

// The number a designator can carry is bounded by its 7-character field; a longer run of digits
// (only possible in text that did not come from a field) is capped here.
inline constexpr int kMaxReferenceNumber = 999'999'999;
inline constexpr std::size_t kReferenceCapacity = PartEntry::kReferenceSize - 1;

struct SplitReference {
    std::string prefix;
    int number = 0;  // 0 when the reference has no trailing digits
};

bool isDigit(char c);

// Splits off the trailing run of digits; the first character always stays in the prefix, even
// when it is a digit ("12" gives "1" and 2, "5" gives "5" and 0).
SplitReference splitReference(std::string_view reference);

bool endsWithDigit(std::string_view text);

// The prefix followed by the number in decimal, cut to the 7 characters of the field: the
// trailing characters, number digits first, are lost.
std::string formatReference(std::string_view prefix, std::int64_t number);

std::string readReference(const PartEntry& part);
std::string readPartName(const PartEntry& part);

// Stores the formatted designator in the part's reference field. Bytes of the field after the
// new text keep what they held.
void writeReference(PartEntry& part, std::string_view prefix, std::int64_t number);

}  // namespace wemb
