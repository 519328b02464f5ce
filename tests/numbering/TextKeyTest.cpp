#include "numbering/InternTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

namespace wemb {
namespace {

struct LibraryNameCase {
    std::string field;  // up to 16 bytes; the rest of the field is filled with junk
    std::string name;   // what the key must hold
};

const LibraryNameCase kLibraryNames[] = {
    {std::string("\0ABC", 4), ""},                   // an empty name, junk after it
    {std::string("R\0XY", 4), "R"},                  // the junk after the zero is dropped
    {std::string("1234567\0Z", 9), "1234567"},       // the last byte of the first word
    {std::string("12345678\0Z", 10), "12345678"},    // the zero opens the second word
    {std::string("123456789\0Z", 11), "123456789"},  // the first byte of the second word kept
    {std::string("123456789ABCDEF\0", 16), "123456789ABCDEF"},
    {"123456789ABCDEFG", "123456789ABCDEFG"},        // no zero: the whole field
    {std::string("\x01\0\x01", 3), "\x01"},          // bytes a zero test confuses with zero
    {std::string("\x80\x81\0\xff", 4), "\x80\x81"},  // high bytes of CP932
    {std::string("\x82\xa0\x01\0", 4), "\x82\xa0\x01"},
};

TEST(TextKey, ALibraryNameEndsAtItsFieldsFirstZeroByte) {
    for (const LibraryNameCase& c : kLibraryNames) {
        std::array<std::uint8_t, 16> field;
        field.fill(0x5a);
        std::copy(c.field.begin(), c.field.end(), field.begin());
        std::array<std::uint8_t, 16> expected{};
        std::copy(c.name.begin(), c.name.end(), expected.begin());
        const TextKey key = TextKey::zeroTerminated(field);
        std::array<std::uint8_t, 16> held;
        std::memcpy(held.data(), &key.low, 8);
        std::memcpy(held.data() + 8, &key.high, 8);
        EXPECT_EQ(held, expected) << c.name;
    }
}

}  // namespace
}  // namespace wemb
