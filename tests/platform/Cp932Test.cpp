#include "platform/Cp932.h"

#include <gtest/gtest.h>

namespace wemb::platform {
namespace {

TEST(Cp932, ShowsReadableTextAndEveryBadByte) {
    const std::tuple<const char*, std::string, std::string> rows[] = {
        {"backslash and tilde stay ASCII", "C:\\a~b", "C:\\a~b"},
        {"kanji", "\x95\x94\x95\x69", "部品"},
        {"half-width katakana are single bytes", "\xB1\xB2\xB3R1", "ｱｲｳR1"},
        {"trail byte that looks like ASCII", "\x81\x5F\x81\x5B", "＼ー"},
        {"NEC row 13 and IBM extension characters", "\x87\x40\xEE\xE0", "①髙"},
        {"undefined single bytes shown", "\xFFz\x80", "\\xFFz\\x80"},
        {"lone lead byte at the end", "R\x95", "R\\x95"},
        {"lead byte before a non-trail byte resyncs on it", "\x95 R1\x95\nx", "\\x95 R1\\x95\nx"},
        {"unmapped double-byte character shown whole", "\x85\x40\x95\x94", "\\x85\\x40部"},
        {"bad byte then kanji", "\xFD\x95\x94", "\\xFD部"},
        {"NUL passed on", std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const auto& [rule, bytes, shown] : rows) {
        EXPECT_EQ(cp932ToUtf8(bytes), shown) << rule;
    }
    std::string bytes;
    std::string shown;
    for (int i = 0; i < 2000; ++i) {
        bytes += "\x95\x94\x80";
        shown += "部\\x80";
    }
    EXPECT_EQ(cp932ToUtf8(bytes), shown) << "long text cut short";
}

TEST(Cp932, TypedTextConvertsOrIsRefused) {
    EXPECT_EQ(utf8ToCp932("amp部品ｱ"), "amp\x95\x94\x95\x69\xB1");
    EXPECT_EQ(utf8ToCp932(""), "");
    EXPECT_EQ(utf8ToCp932("a\xC3"), std::nullopt) << "invalid UTF-8 accepted";
    EXPECT_EQ(utf8ToCp932("a\xF0\x9F\x98\x80"), std::nullopt) << "character CP932 lacks accepted";
    EXPECT_TRUE(isUtf8("amp部品ｱ\xF0\x9F\x98\x80"));
    for (const char* broken : {"\xE3\x81\x41", "\xE3\x81", "\xC0\x80", "\xED\xA0\x80",
                               "\xF4\x90\x80\x80", "\xF0\x9F\x98\x41"}) {
        EXPECT_FALSE(isUtf8(broken)) << "broken UTF-8 accepted: " << broken;
    }
}

}  // namespace
}  // namespace wemb::platform
