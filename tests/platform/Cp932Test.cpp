#include "platform/Cp932.h"

#include <gtest/gtest.h>

#include "tests/platform/RowName.h"
#include "tests/platform/ScratchDirectory.h"

namespace wemb::platform {
namespace {

// Rows: CP932 bytes and what the user must see.
struct DisplayCase {
    const char* name;
    std::string bytes;
    std::string shown;
};

const DisplayCase kDisplayCases[] = {
    {"empty", "", ""},
    {"ASCII", "R12 IC3", "R12 IC3"},
    {"backslash and tilde stay ASCII", "C:\\a~b", "C:\\a~b"},
    {"kanji", "\x95\x94\x95\x69", "部品"},
    {"half-width katakana", "\xB1\xB2\xB3", "ｱｲｳ"},
    {"half-width katakana among ASCII",
     "R\xB1"
     "1",
     "Rｱ1"},
    {"trail byte that looks like ASCII", "\x81\x5F\x81\x5B", "＼ー"},
    {"NEC row 13 character", "\x87\x40", "①"},
    {"IBM extension kanji", "\xEE\xE0", "髙"},
    {"undefined single byte",
     "a\x80"
     "b",
     "a\\x80b"},
    {"0xFF", "\xFF", "\\xFF"},
    {"lone lead byte at the end", "R\x95", "R\\x95"},
    {"lead byte before a non-trail byte resyncs on it", "\x95 R1", "\\x95 R1"},
    {"lead byte before a newline", "\x95\nx", "\\x95\nx"},
    {"unmapped double-byte character shown whole",
     "\x85\x40"
     "A",
     "\\x85\\x40A"},
    {"bad byte then kanji", "\xFD\x95\x94", "\\xFD部"},
    {"NUL passed on", std::string("a\0b", 3), std::string("a\0b", 3)},
};

class Cp932Display : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(Cp932Display, ShowsReadableTextAndEveryBadByte) {
    EXPECT_EQ(cp932ToUtf8(GetParam().bytes), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Bytes, Cp932Display, ::testing::ValuesIn(kDisplayCases),
                         testing::RowName());

TEST(Cp932, LongTextWithBadBytesConvertsCompletely) {
    std::string bytes;
    std::string shown;
    for (int i = 0; i < 2000; ++i) {
        bytes += "\x95\x94\x80";
        shown += "部\\x80";
    }
    EXPECT_EQ(cp932ToUtf8(bytes), shown);
}

// Rows: typed UTF-8 text going back to CP932.
struct TypedCase {
    const char* name;
    std::string text;
    std::optional<std::string> bytes;
};

const TypedCase kTypedCases[] = {
    {"ASCII", "amp.CE2", "amp.CE2"},
    {"kanji and katakana", "部品ｱ", "\x95\x94\x95\x69\xB1"},
    {"empty", "", ""},
    {"not valid UTF-8", "a\xC3", std::nullopt},
    {"character CP932 lacks", "a\xF0\x9F\x98\x80", std::nullopt},
};

class Cp932Typed : public ::testing::TestWithParam<TypedCase> {};

TEST_P(Cp932Typed, ConvertsOrRefuses) {
    EXPECT_EQ(utf8ToCp932(GetParam().text), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(Texts, Cp932Typed, ::testing::ValuesIn(kTypedCases), testing::RowName());

}  // namespace
}  // namespace wemb::platform
