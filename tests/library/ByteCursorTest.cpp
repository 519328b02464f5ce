#include "library/ByteCursor.h"

#include <array>
#include <limits>

#include <gtest/gtest.h>

namespace wemb {
namespace {

constexpr std::array<std::uint8_t, 8> kBytes = {0x01, 0x02, 0x03, 0x04, 'A', 'B', 0x00, 0x7F};
constexpr std::size_t kHuge = std::numeric_limits<std::size_t>::max();

struct ReadCase {
    const char* fault;
    std::size_t offset;
    std::optional<std::uint32_t> u8;
    std::optional<std::uint32_t> u16;
    std::optional<std::uint32_t> u32;
};

class ByteCursorReads : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ByteCursorReads, ReadsLittleEndianOnlyInside) {
    const ReadCase& c = GetParam();
    const ByteCursor cursor(kBytes);
    const auto widen = [](auto value) {
        return value ? std::optional<std::uint32_t>(*value) : std::nullopt;
    };
    EXPECT_EQ(widen(cursor.u8At(c.offset)), c.u8) << c.fault;
    EXPECT_EQ(widen(cursor.u16At(c.offset)), c.u16) << c.fault;
    EXPECT_EQ(widen(cursor.u32At(c.offset)), c.u32) << c.fault;
}

INSTANTIATE_TEST_SUITE_P(
    Offsets, ByteCursorReads,
    ::testing::Values(
        ReadCase{"big-endian or shifted read", 0, 0x01, 0x0201, 0x04030201},
        ReadCase{"last u32 refused although it fits", 4, 'A', 0x4241, 0x7F004241},
        ReadCase{"u32 reaching one byte past accepted", 5, 'B', 0x0042, std::nullopt},
        ReadCase{"u16 reaching one byte past accepted", 7, 0x7F, std::nullopt, std::nullopt},
        ReadCase{"read at the end accepted", 8, std::nullopt, std::nullopt, std::nullopt},
        ReadCase{"offset + size wrapping around accepted", kHuge, std::nullopt, std::nullopt,
                 std::nullopt},
        ReadCase{"offset + size wrapping around accepted", kHuge - 1, std::nullopt, std::nullopt,
                 std::nullopt}));

struct StringCase {
    const char* fault;
    std::size_t offset;
    std::size_t size;  // of the data the cursor sees
    std::optional<std::string_view> text;
};

class ByteCursorStrings : public ::testing::TestWithParam<StringCase> {};

TEST_P(ByteCursorStrings, TerminatorMustLieInside) {
    const StringCase& c = GetParam();
    const ByteCursor cursor(std::span<const std::uint8_t>(kBytes).first(c.size));
    EXPECT_EQ(cursor.cStringAt(c.offset), c.text) << c.fault;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ByteCursorStrings,
    ::testing::Values(StringCase{"text cut or terminator kept", 4, 8, "AB"},
                      StringCase{"empty text at a terminator refused", 6, 8, ""},
                      StringCase{"text without terminator inside accepted", 4, 6, std::nullopt},
                      StringCase{"unterminated tail accepted", 7, 8, std::nullopt},
                      StringCase{"offset at the end accepted", 8, 8, std::nullopt},
                      StringCase{"offset past the end accepted", kHuge, 8, std::nullopt}));

TEST(ByteCursor, SequentialReadsMoveOnlyOnSuccess) {
    ByteCursor cursor(kBytes);
    EXPECT_EQ(cursor.readU16(), 0x0201);
    EXPECT_EQ(cursor.readU32(), 0x42410403u);
    EXPECT_EQ(cursor.position(), 6u);
    EXPECT_FALSE(cursor.readU32());
    EXPECT_EQ(cursor.position(), 6u);
    EXPECT_EQ(cursor.readU16(), 0x7F00);
    EXPECT_FALSE(cursor.readU8());
    EXPECT_FALSE(cursor.seek(9));
    EXPECT_TRUE(cursor.seek(8));
}

TEST(ByteCursor, SubCursorsSeeOnlyTheirBytes) {
    const ByteCursor cursor(kBytes);
    const auto middle = cursor.subAt(2, 4);
    ASSERT_TRUE(middle);
    EXPECT_EQ(middle->size(), 4u);
    EXPECT_EQ(middle->u16At(0), 0x0403);
    EXPECT_FALSE(middle->u16At(3));
    EXPECT_FALSE(cursor.subAt(6, 3));
    EXPECT_FALSE(cursor.subAt(1, kHuge));
    EXPECT_EQ(cursor.from(8)->size(), 0u);
    EXPECT_FALSE(cursor.from(9));
}

}  // namespace
}  // namespace wemb
