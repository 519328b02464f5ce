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

}  // namespace
}  // namespace wemb
