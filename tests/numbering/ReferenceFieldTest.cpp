#include "numbering/ReferenceField.h"

#include <gtest/gtest.h>

#include "tests/numbering/NumberingTestSupport.h"

namespace wemb {
namespace {

TEST(SplitReference, CutsTrailingDigitsButNeverTheFirstCharacter) {
    const std::tuple<std::string_view, std::string_view, int, bool> cases[] = {
        {"R12", "R", 12, true},    // ordinary designator
        {"IC007", "IC", 7, true},  // leading zeros are ignored
        {"R-3", "R-", 3, true},    // a separator stays in the prefix
        {"R", "R", 0, false},      // no number
        {"R1A", "R1A", 0, false},  // a digit inside is not a number
        {"12", "1", 2, true},      // the first character stays, even a digit
        {"5", "5", 0, true},       // a single digit is the prefix
        {"R0", "R", 0, true},      // zero is a number
        {"", "", 0, false},        // empty stays empty
        {"\x82\x60"
         "3",
         "\x82\x60", 3, true},         // Shift-JIS bytes are never digits
        {"R\xb9", "R\xb9", 0, false},  // half-width katakana byte, not a digit
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

// The field's bytes after writing prefix and number over "R123", shown as the length byte's
// value and then the field's bytes: the text, and the old bytes after it kept.
TEST(WriteReference, CutsToSevenCharactersNumberDigitsFirstAndKeepsTheRest) {
    const std::tuple<std::string_view, std::int64_t, std::string_view> cases[] = {
        {"R", 5, "2:R523"},                       // shorter: the old tail stays
        {"R", 10, "3:R103"},                      // no separator, no leading zeros
        {"ABCDE", 123, "7:ABCDE12"},              // cut, number digits lost first
        {"ABCDEF", 1, "7:ABCDEF1"},               // exactly 7 fills the field
        {"ABCDEFGH", 1, "7:ABCDEFG"},             // a prefix that alone is too long
        {"ABCDEFG", 1234567890123, "7:ABCDEFG"},  // a 64-bit number
    };
    for (const auto& [prefix, number, expected] : cases) {
        Document document = test::drawing("R123");
        writeReference(document.parts()[0], prefix, number);
        const auto field = document.parts()[0].referenceField();
        const std::string shown =
            std::to_string(field[0]) + ":" +
            std::string(field.begin() + 1, field.begin() + expected.size() - 1);
        EXPECT_EQ(shown, expected) << prefix << number;
    }
}

}  // namespace
}  // namespace wemb
