#include "numbering/ReferenceField.h"

#include <gtest/gtest.h>

#include "tests/numbering/NumberingTestSupport.h"

namespace wemb {
namespace {

struct SplitCase {
    std::string_view reference;
    std::string_view prefix;
    int number;
};

TEST(SplitReference, CutsTrailingDigitsButNeverTheFirstCharacter) {
    const SplitCase cases[] = {
        {"R12", "R", 12},    // ordinary designator
        {"IC007", "IC", 7},  // leading zeros are ignored
        {"R-3", "R-", 3},    // a separator stays in the prefix
        {"R", "R", 0},       // no number
        {"R?", "R?", 0},     // no digit at the end: whole text is the prefix
        {"R1A", "R1A", 0},   // a digit inside is not a number
        {"12", "1", 2},      // the first character stays, even a digit
        {"5", "5", 0},       // a single digit is the prefix
        {"R0", "R", 0},      // zero is a number
        {"", "", 0},         // empty stays empty
        {"\x82\x60"
         "3",
         "\x82\x60", 3},                               // Shift-JIS bytes are never digits
        {"R9999999999999", "R", kMaxReferenceNumber},  // overflow is capped, not wrapped
    };
    for (const SplitCase& c : cases) {
        const SplitReference split = splitReference(c.reference);
        EXPECT_EQ(split.prefix, c.prefix) << c.reference;
        EXPECT_EQ(split.number, c.number) << c.reference;
    }
}

TEST(EndsWithDigit, LooksOnlyAtTheLastCharacter) {
    const std::pair<std::string_view, bool> cases[] = {
        {"R12", true}, {"12", true}, {"R0", true},    {"R1A", false},
        {"", false},   {"R", false}, {"\xb9", false},  // half-width katakana byte, not a digit
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(endsWithDigit(text), expected) << text;
    }
}

TEST(FormatReference, CutsToSevenCharactersNumberDigitsFirst) {
    const std::tuple<std::string_view, std::int64_t, std::string_view> cases[] = {
        {"R", 10, "R10"},            // no separator, no leading zeros
        {"ABCDE", 123, "ABCDE12"},   // cut, number digits lost first
        {"ABCDEF", 1, "ABCDEF1"},    // exactly 7 fills the field
        {"ABCDEFGH", 1, "ABCDEFG"},  // a prefix that alone is too long
        {"R", 0, "R0"},
    };
    for (const auto& [prefix, number, expected] : cases) {
        EXPECT_EQ(formatReference(prefix, number), expected);
    }
}

// The reference field of the first part of a one-part document.
std::array<std::uint8_t, 8> referenceBytes(const Document& document) {
    const auto field = document.bytes().subspan(60 + PartEntry::kReferenceOffset, 8);
    std::array<std::uint8_t, 8> bytes{};
    std::copy(field.begin(), field.end(), bytes.begin());
    return bytes;
}

TEST(WriteReference, SetsLengthAndLeavesTheRestOfTheField) {
    Document document = test::makeDocument({test::part(0, "R123")});
    const auto before = referenceBytes(document);
    writeReference(document.parts()[0], "R", 5);
    const auto after = referenceBytes(document);
    EXPECT_EQ(after[0], 2);
    EXPECT_EQ(after[1], 'R');
    EXPECT_EQ(after[2], '5');
    EXPECT_TRUE(std::equal(after.begin() + 3, after.end(), before.begin() + 3));
}

TEST(WriteReference, CutsALongDesignatorToTheField) {
    Document document = test::makeDocument({test::part(0, "R")});
    writeReference(document.parts()[0], "ABCDEF", 12);
    EXPECT_EQ(referenceBytes(document)[0], 7);
    EXPECT_EQ(readReference(document.parts()[0]), "ABCDEF1");
}

TEST(ReadReference, HonoursTheLengthByte) {
    const std::tuple<std::uint8_t, std::size_t> cases[] = {
        {200, 0},           // negative as a signed byte: empty
        {128, 0}, {20, 7},  // beyond the capacity: the capacity, never past the field
        {0, 0},   {3, 3},
    };
    for (const auto& [lengthByte, expectedSize] : cases) {
        gen::PartSpec fields = test::part(0, "R12");
        fields.referenceLength = lengthByte;
        const Document document = test::makeDocument({fields});
        EXPECT_EQ(readReference(document.parts()[0]).size(), expectedSize) << int{lengthByte};
    }
}

}  // namespace
}  // namespace wemb
