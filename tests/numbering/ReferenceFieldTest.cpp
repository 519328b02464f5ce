#include "numbering/ReferenceField.h"

#include <gtest/gtest.h>

#include <array>

namespace wemb {
namespace {

// The rows the numbering's differential test cannot reach: its drawings hold no leading zeros,
// no digit inside a prefix and no run of digits longer than a field.
TEST(SplitReference, CutsTrailingDigitsButNeverTheFirstCharacter) {
    const std::tuple<std::string_view, std::string_view, int, bool> cases[] = {
        {"IC007", "IC", 7, true},                            // leading zeros are ignored
        {"R1A", "R1A", 0, false},                            // a digit inside is not a number
        {"12", "1", 2, true},                                // the first character stays
        {"R9999999999999", "R", kMaxReferenceNumber, true},  // overflow is capped, not wrapped
        {"R1000000001", "R", kMaxReferenceNumber, true},     // capped at the first digit too many
    };
    for (const auto& [reference, prefix, number, digit] : cases) {
        const ReferenceSplit split = splitReference(reference);
        EXPECT_EQ(reference.substr(0, split.prefixLength), prefix) << reference;
        EXPECT_EQ(split.number, number) << reference;
        EXPECT_EQ(endsWithDigit(reference), digit) << reference;
    }
}

// The field's bytes after writing prefix and number over "R123": the length byte's value, then
// the text and the old bytes after it, kept.
TEST(WriteReference, CutsToSevenCharactersNumberDigitsFirstAndKeepsTheRest) {
    const std::tuple<std::string_view, std::int64_t, std::string_view> cases[] = {
        {"R", 5, "2:R523"},                       // shorter: the old tail stays
        {"ABCDE", 123, "7:ABCDE12"},              // cut, number digits lost first
        {"ABCDEF", 1, "7:ABCDEF1"},               // exactly 7 fills the field
        {"ABCDEFGH", 1, "7:ABCDEFG"},             // a prefix that alone is too long
        {"ABCDEFG", 1234567890123, "7:ABCDEFG"},  // a 64-bit number
    };
    for (const auto& [prefix, number, expected] : cases) {
        std::array<std::uint8_t, 8> field = {4, 'R', '1', '2', '3', 0, 0, 0};
        writeReference(field, prefix, number);
        const std::string shown =
            std::to_string(field[0]) + ":" +
            std::string(field.begin() + 1, field.begin() + expected.size() - 1);
        EXPECT_EQ(shown, expected) << prefix << number;
    }
}

}  // namespace
}  // namespace wemb
