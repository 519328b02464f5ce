#include "library/BinaryLibraryReader.h"

#include <functional>

#include <gtest/gtest.h>

#include "tools/gen/BinaryLibraryBuilder.h"

namespace wemb {
namespace {

using gen::BinaryBitmap;
using gen::BinaryComponent;
using gen::BinaryLibraryBuilder;
using gen::BinaryPin;
using gen::BuiltBinaryLibrary;

BinaryLibraryStatus read(Library& library, const std::vector<std::uint8_t>& bytes) {
    return readBinaryLibraryBytes(library, bytes);
}

// An op-amp with a bitmap and named pins, and a resistor without either; the last entry name
// ends the file, so that its terminator is the file's last byte.
BinaryLibraryBuilder brokenBase() {
    BinaryLibraryBuilder builder = gen::exampleBinaryLibrary();
    BinaryComponent diode;
    diode.prefix = "D";
    diode.bitmap = BinaryBitmap{9, 2, {0xAA, 0x80, 0x55, 0x00}};
    diode.pins = {BinaryPin{1, "A", std::nullopt, {1}}, BinaryPin{0x0201, "K", std::nullopt, {2}}};
    builder.addEntry("1N4148", builder.addComponent(diode));
    return builder;
}

// --- Files that must be refused, each by the check that guards it ---

struct BreakCase {
    const char* fault;
    std::function<void(BuiltBinaryLibrary&)> breakIt;
    BinaryLibraryStatus expected;
};

void PrintTo(const BreakCase& c, std::ostream* out) {
    *out << c.fault;
}

class BrokenBinaryLibrary : public ::testing::TestWithParam<BreakCase> {};

TEST_P(BrokenBinaryLibrary, IsRefusedAndLeavesTheLibraryEmpty) {
    const BreakCase& c = GetParam();
    BuiltBinaryLibrary built = brokenBase().build();
    c.breakIt(built);
    Library library;
    EXPECT_EQ(read(library, built.bytes), c.expected) << c.fault;
    EXPECT_EQ(library.getEntryCount(), 0) << c.fault;
    EXPECT_TRUE(library.parts().empty()) << c.fault;
}

constexpr std::size_t kEntryCount = 16;
constexpr std::size_t kNameTable = 18;
constexpr std::size_t kComponentTable = 22;
constexpr std::size_t kComponentArea = 26;
constexpr std::size_t kPatternTable = 30;
constexpr std::size_t kBitmapArea = 34;
constexpr std::size_t kStringPool = 38;
constexpr std::uint32_t kFar = 0x00FFFFFF;

std::uint32_t sizeOf(const BuiltBinaryLibrary& built) {
    return static_cast<std::uint32_t>(built.bytes.size());
}
// The diode is the fourth component.
std::uint32_t diodeRecord(const BuiltBinaryLibrary& built) {
    return built.layout.components[3];
}

INSTANTIATE_TEST_SUITE_P(
    Faults, BrokenBinaryLibrary,
    ::testing::Values(
        BreakCase{"file of 15 bytes read", [](auto& b) { b.bytes.resize(15); },
                  BinaryLibraryStatus::TooShort},
        BreakCase{"54-byte file (no body) read", [](auto& b) { b.bytes.resize(54); },
                  BinaryLibraryStatus::TooShort},
        BreakCase{"body of 3 bytes read", [](auto& b) { b.bytes.resize(57); },
                  BinaryLibraryStatus::TooShort},
        BreakCase{"file over 65,589 bytes read", [](auto& b) { b.bytes.resize(65590); },
                  BinaryLibraryStatus::TooLong},
        BreakCase{"signature byte 0x1A not compared", [](auto& b) { b.putU8(13, 0x1B); },
                  BinaryLibraryStatus::BadSignature},
        BreakCase{"signature compared ignoring case", [](auto& b) { b.putU8(0, 'l'); },
                  BinaryLibraryStatus::BadSignature},
        BreakCase{"entry count 0 accepted", [](auto& b) { b.putU16(kEntryCount, 0); },
                  BinaryLibraryStatus::NoEntries},
        BreakCase{"name table position past the file", [](auto& b) { b.putU32(kNameTable, kFar); },
                  BinaryLibraryStatus::NameOutOfRange},
        BreakCase{"name table position inside the head", [](auto& b) { b.putU32(kNameTable, 10); },
                  BinaryLibraryStatus::NameOutOfRange},
        BreakCase{"name table running past the end",
                  [](auto& b) { b.putU32(kNameTable, sizeOf(b) - 6); },
                  BinaryLibraryStatus::NameOutOfRange},
        BreakCase{"name offset past the pool",
                  [](auto& b) { b.putU32(b.layout.nameTable, 0xFFFFFFF0u); },
                  BinaryLibraryStatus::NameOutOfRange},
        BreakCase{"name without terminator in the file", [](auto& b) { b.bytes.back() = 'X'; },
                  BinaryLibraryStatus::NameOutOfRange},
        BreakCase{"string pool position past the file",
                  [](auto& b) { b.putU32(kStringPool, kFar); },
                  BinaryLibraryStatus::NameOutOfRange},
        BreakCase{"component table position past the file",
                  [](auto& b) { b.putU32(kComponentTable, kFar); },
                  BinaryLibraryStatus::ComponentOutOfRange},
        BreakCase{"component table running past the end",
                  [](auto& b) { b.putU32(kComponentTable, sizeOf(b) - 1); },
                  BinaryLibraryStatus::ComponentOutOfRange},
        BreakCase{"component area position past the file",
                  [](auto& b) { b.putU32(kComponentArea, kFar); },
                  BinaryLibraryStatus::ComponentOutOfRange},
        BreakCase{"component offset past the file",
                  [](auto& b) { b.putU16(b.layout.componentTable, 0xFFF0); },
                  BinaryLibraryStatus::ComponentOutOfRange},
        BreakCase{"component record cut by the end of the file",
                  [](auto& b) {
                      b.putU16(b.layout.componentTable,
                               static_cast<std::uint16_t>(sizeOf(b) - b.layout.componentArea - 6));
                  },
                  BinaryLibraryStatus::ComponentOutOfRange},
        BreakCase{"pins running past the end",
                  [](auto& b) { b.putU16(b.layout.components[0] + 10, 0x0FFF); },
                  BinaryLibraryStatus::ComponentOutOfRange},
        BreakCase{"prefix offset past the pool",
                  [](auto& b) { b.putU16(b.layout.components[1] + 6, 0xFFF0); },
                  BinaryLibraryStatus::PrefixOutOfRange},
        BreakCase{"pattern number past the pattern table",
                  [](auto& b) { b.putU16(diodeRecord(b) + 8, 0x7000); },
                  BinaryLibraryStatus::PatternOutOfRange},
        BreakCase{"pattern table position past the file",
                  [](auto& b) { b.putU32(kPatternTable, kFar); },
                  BinaryLibraryStatus::PatternOutOfRange},
        BreakCase{"bitmap offset past the file",
                  [](auto& b) { b.putU16(b.layout.patternTable, 0xFFF0); },
                  BinaryLibraryStatus::BitmapOutOfRange},
        BreakCase{"bitmap area position past the file",
                  [](auto& b) { b.putU32(kBitmapArea, kFar); },
                  BinaryLibraryStatus::BitmapOutOfRange},
        BreakCase{"bitmap rows running past the end",
                  [](auto& b) { b.putU16(b.layout.bitmapArea + 2, 0xFFFF); },
                  BinaryLibraryStatus::BitmapOutOfRange},
        BreakCase{"pin name offset past the pool",
                  [](auto& b) { b.putU16(diodeRecord(b) + 14, 0xFFF0); },
                  BinaryLibraryStatus::PinNameOutOfRange},
        BreakCase{"counted pin name running past the end",
                  [](auto& b) {
                      // The length byte is a letter of the last name: 'B' (66), cut to 63.
                      b.putU16(diodeRecord(b) + 14,
                               static_cast<std::uint16_t>(sizeOf(b) - b.layout.stringPool - 3));
                      b.putU8(sizeOf(b) - 3, 'B');
                  },
                  BinaryLibraryStatus::PinNameOutOfRange}));

TEST(BinaryLibraryReader, LoadsTheExampleWithAliasSharingOnePart) {
    Library library;
    ASSERT_EQ(read(library, gen::exampleBinaryLibrary().bytes()), BinaryLibraryStatus::Loaded);
    ASSERT_EQ(library.getEntryCount(), 4);
    ASSERT_EQ(library.parts().size(), 3u);
    const LibraryEntry* opAmp = library.getEntry(0);
    EXPECT_EQ(opAmp->name, "LM324");
    EXPECT_EQ(opAmp->getBlockCount(), 4);
    EXPECT_EQ(library.getEntry(3)->name, "LM2902");
    EXPECT_EQ(library.getEntry(3)->part, opAmp->part);
    EXPECT_EQ(opAmp->part->prefix, "IC");
    EXPECT_EQ(opAmp->part->pinCount(), 5);
    EXPECT_EQ(opAmp->part->pins[0].name, "OUT");
    EXPECT_EQ(opAmp->part->pins[0].number(3), "+14");
    EXPECT_EQ(library.getEntry(1)->part->prefix, "R");
}

}  // namespace
}  // namespace wemb
