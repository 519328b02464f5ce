#include "library/Library.h"

#include <gtest/gtest.h>

namespace wemb {
namespace {

using namespace std::string_literals;

struct NameCase {
    const char* fault;
    std::string text;
    std::string expected;
};

class PinSetName : public ::testing::TestWithParam<NameCase> {};

TEST_P(PinSetName, FollowsTheBackslashRuleAndLimit) {
    LibraryPin pin;
    pin.setName("old");
    pin.setName(GetParam().text);
    EXPECT_EQ(pin.name, GetParam().expected) << GetParam().fault;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PinSetName,
    ::testing::Values(NameCase{"escape not applied", "\\C\\S", "\xC3\xD3"},
                      NameCase{"old name kept, or empty made null", "", ""},
                      NameCase{"trailing backslash dropped or hung", "AB\\", "AB\\"},
                      NameCase{"lone backslash dropped or hung", "\\", "\\"},
                      NameCase{"backslash before a zero byte escaped", "A\\\0B"s, "A\\"},
                      NameCase{"zero byte did not end the name", "AB\0CD"s, "AB"},
                      NameCase{"300 characters not cut to 255", std::string(300, 'x'),
                               std::string(255, 'x')},
                      NameCase{"escape at byte 255 lost", std::string(254, 'x') + "\\C",
                               std::string(254, 'x') + "\xC3"},
                      NameCase{"escape past byte 255 kept", std::string(255, 'x') + "\\C",
                               std::string(255, 'x')}));

struct NumberCase {
    const char* fault;
    int index;
    bool plus;
    std::string text;
    std::vector<std::optional<std::string>> slots;  // after the call, 3 slots
};

class PinSetNumber : public ::testing::TestWithParam<NumberCase> {};

TEST_P(PinSetNumber, ChangesOnlyItsSlot) {
    const NumberCase& c = GetParam();
    LibraryPin pin;
    pin.allocNumbers(3);
    pin.setNumber(c.index, c.plus, c.text);
    ASSERT_EQ(pin.numberCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(pin.number(i), c.slots[static_cast<std::size_t>(i)]) << c.fault << i;
    }
}

const std::nullopt_t none = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Slots, PinSetNumber,
    ::testing::Values(NumberCase{"mark + lost", 0, true, "12", {"+12", none, none}},
                      NumberCase{"mark - lost", 0, false, "12", {"-12", none, none}},
                      NumberCase{"wrong slot", 2, true, "A5", {none, none, "+A5"}},
                      NumberCase{
                          "zero byte did not end the text", 1, true, "1\0 2"s, {none, "+1", none}},
                      NumberCase{"index -1 written", -1, true, "9", {none, none, none}},
                      NumberCase{"index numberCount written", 3, true, "9", {none, none, none}}));

}  // namespace
}  // namespace wemb
