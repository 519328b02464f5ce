#include "schematic/CountedString.h"

#include <gtest/gtest.h>

#include <array>

namespace wemb {
namespace {

// An 8-byte field: the length byte, then "ABCDEFG".
std::array<std::uint8_t, 8> field(std::uint8_t lengthByte) {
    return {lengthByte, 'A', 'B', 'C', 'D', 'E', 'F', 'G'};
}

TEST(ReadCountedString, TakesTheLengthByteAsSigned) {
    const std::pair<std::uint8_t, std::string_view> cases[] = {
        {0, ""},          {3, "ABC"}, {7, "ABCDEFG"},  // exactly the capacity
        {8, "ABCDEFG"},               // one past the capacity: never read beyond the field
        {127, "ABCDEFG"}, {128, ""},  // negative: empty
        {200, ""},        {255, ""},
    };
    for (const auto& [lengthByte, expected] : cases) {
        EXPECT_EQ(readCountedString(field(lengthByte)), expected) << int{lengthByte};
    }
}

TEST(WriteCountedString, SetsTheLengthAndKeepsTheBytesAfterTheText) {
    const std::tuple<std::string_view, std::array<std::uint8_t, 8>> cases[] = {
        {"R5", {2, 'R', '5', 'C', 'D', 'E', 'F', 'G'}},
        {"", {0, 'A', 'B', 'C', 'D', 'E', 'F', 'G'}},
        {"1234567", {7, '1', '2', '3', '4', '5', '6', '7'}},
        {"123456789", {7, '1', '2', '3', '4', '5', '6', '7'}},  // cut, nothing past the field
    };
    for (const auto& [text, expected] : cases) {
        std::array<std::uint8_t, 10> bytes{};
        bytes.fill(0xEE);
        const auto initial = field(3);
        std::copy(initial.begin(), initial.end(), bytes.begin());
        writeCountedString(text, std::span(bytes).first(8));
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), bytes.begin())) << text;
        EXPECT_EQ(bytes[8], 0xEE) << text;
        EXPECT_EQ(bytes[9], 0xEE) << text;
    }
}

}  // namespace
}  // namespace wemb
