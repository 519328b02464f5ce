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

// --- Files that must load ---

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

TEST(BinaryLibraryReader, DecodesPinAttributesNamesAndNumbers) {
    BinaryLibraryBuilder builder;
    BinaryComponent part;
    part.blockCount = 2;
    part.width = 7;
    part.height = 3;
    part.sideFlags = 0x9;  // bits 15 and 12: sides 0 and 3
    part.pins = {BinaryPin{0x0201, std::nullopt, std::nullopt, {3, 0x8004}}};
    builder.addEntry("P", builder.addComponent(part));
    Library library;
    ASSERT_EQ(read(library, builder.bytes()), BinaryLibraryStatus::Loaded);
    const LibraryPart& read = *library.parts()[0];
    EXPECT_EQ(read.width, 7);
    EXPECT_EQ(read.height, 3);
    EXPECT_EQ(read.blockCount, 2);
    EXPECT_EQ(read.sideMask, 0x9u);
    ASSERT_EQ(read.pinCount(), 1);
    const LibraryPin& pin = read.pins[0];
    EXPECT_EQ(pin.attributes, 0x00020001u);
    EXPECT_FALSE(pin.name);
    ASSERT_EQ(pin.numberCount(), 2);
    EXPECT_EQ(pin.number(0), "+3");
    EXPECT_EQ(pin.number(1), "-4");
}

struct PinNameCase {
    const char* fault;
    std::string name;
    std::optional<std::uint8_t> lengthByte;
    std::string expected;
};

class BinaryPinNames : public ::testing::TestWithParam<PinNameCase> {};

TEST_P(BinaryPinNames, AreCountedAndCut) {
    const PinNameCase& c = GetParam();
    BinaryLibraryBuilder builder;
    BinaryComponent part;
    part.pins = {BinaryPin{0, c.name, c.lengthByte, {1}}};
    builder.addEntry("P", builder.addComponent(part));
    Library library;
    ASSERT_EQ(read(library, builder.bytes()), BinaryLibraryStatus::Loaded) << c.fault;
    EXPECT_EQ(library.parts()[0]->pins[0].name, c.expected) << c.fault;
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, BinaryPinNames,
    ::testing::Values(
        PinNameCase{"length byte ignored", "ABCDEF", 3, "ABC"},
        PinNameCase{"length 0x45 not cut to 63", std::string(70, 'n'), 0x45, std::string(63, 'n')},
        PinNameCase{"length 0xFF not read to the terminator", "VCC", 0xFF, "VCC"},
        PinNameCase{"other negative length not empty", "VCC", 0x80, ""},
        PinNameCase{"length 0 made a null name", "VCC", 0, ""},
        PinNameCase{"backslash escape not applied", "\\C\\S", std::nullopt, "\xC3\xD3"},
        PinNameCase{"backslash in the last counted place lost", "AB\\", std::nullopt, "AB\\"}));

TEST(BinaryLibraryReader, BlockCountZeroMakesFourBytePinsWithoutNumbers) {
    BinaryLibraryBuilder builder;
    BinaryComponent part;
    part.blockCount = 0;
    part.pins = {BinaryPin{5, "X", std::nullopt, {}}, BinaryPin{6, "Y", std::nullopt, {}}};
    builder.addEntry("P", builder.addComponent(part));
    Library library;
    ASSERT_EQ(read(library, builder.bytes()), BinaryLibraryStatus::Loaded);
    const LibraryPart& read = *library.parts()[0];
    EXPECT_EQ(read.blockCount, 0);
    EXPECT_EQ(library.getEntry(0)->getBlockCount(), 0);
    ASSERT_EQ(read.pinCount(), 2);
    EXPECT_EQ(read.pins[1].attributes, 6u);
    EXPECT_EQ(read.pins[1].name, "Y");
    EXPECT_EQ(read.pins[1].numberCount(), 0);
}

struct BitmapCase {
    const char* fault;
    std::optional<BinaryBitmap> bitmap;
    bool expectBitmap;
    std::size_t stride;
    std::vector<std::uint8_t> rowBytes;  // stride bytes of each row, rows back to back
};

class BinaryBitmaps : public ::testing::TestWithParam<BitmapCase> {};

TEST_P(BinaryBitmaps, AreCopiedIntoWordRows) {
    const BitmapCase& c = GetParam();
    BinaryLibraryBuilder builder;
    BinaryComponent part;
    part.bitmap = c.bitmap;
    builder.addEntry("P", builder.addComponent(part));
    Library library;
    ASSERT_EQ(read(library, builder.bytes()), BinaryLibraryStatus::Loaded) << c.fault;
    const PatternBitmap* bitmap = library.parts()[0]->bitmap.get();
    ASSERT_EQ(bitmap != nullptr, c.expectBitmap) << c.fault;
    if (!bitmap) {
        return;
    }
    EXPECT_EQ(bitmap->width(), c.bitmap->width) << c.fault;
    EXPECT_EQ(bitmap->height(), c.bitmap->height) << c.fault;
    ASSERT_EQ(bitmap->stride(), c.stride) << c.fault;
    ASSERT_EQ(bitmap->storedRows(), c.bitmap->height) << c.fault;
    for (std::size_t i = 0; i < c.rowBytes.size(); ++i) {
        EXPECT_EQ(bitmap->byteAt(i / c.stride, i % c.stride), c.rowBytes[i]) << c.fault << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, BinaryBitmaps,
    ::testing::Values(
        BitmapCase{"pattern 0xFFFF made a bitmap", std::nullopt, false, 0, {}},
        BitmapCase{"width 9: rows misaligned or padded twice",
                   BinaryBitmap{9, 2, {0xAA, 0x80, 0x55, 0x01}},
                   true,
                   2,
                   {0xAA, 0x80, 0x55, 0x01}},
        BitmapCase{"width 8: one-byte rows not padded to a word",
                   BinaryBitmap{8, 3, {0x11, 0x22, 0x33}},
                   true,
                   2,
                   {0x11, 0, 0x22, 0, 0x33, 0}},
        BitmapCase{"width 17: three-byte rows not padded",
                   BinaryBitmap{17, 1, {1, 2, 3}},
                   true,
                   4,
                   {1, 2, 3, 0}},
        BitmapCase{"width 0 made a bitmap or failed", BinaryBitmap{0, 4, {}}, false, 0, {}},
        BitmapCase{"height 0 made a bitmap or failed", BinaryBitmap{8, 0, {}}, false, 0, {}}));

// --- The word decoders ---

struct AttributeCase {
    const char* fault;
    std::uint16_t word;
    std::uint32_t attributes;
};

class PinAttributes : public ::testing::TestWithParam<AttributeCase> {};

TEST_P(PinAttributes, MoveBitsToTheModel) {
    EXPECT_EQ(decodePinAttributes(GetParam().word), GetParam().attributes) << GetParam().fault;
}

INSTANTIATE_TEST_SUITE_P(
    Bits, PinAttributes,
    ::testing::Values(AttributeCase{"offset lost", 0x00FF, 0x000000FF},
                      AttributeCase{"side bit 8 misplaced", 0x0100, 0x00010000},
                      AttributeCase{"side bit 9 misplaced", 0x0200, 0x00020000},
                      AttributeCase{"bits 10-11 kept", 0x0C00, 0},
                      AttributeCase{"bit 13 kept", 0x2000, 0},
                      AttributeCase{"flag S misplaced", 0x1000, 0x10000000},
                      AttributeCase{"flag C misplaced", 0x4000, 0x40000000},
                      AttributeCase{"flag N misplaced", 0x8000, 0x80000000},
                      AttributeCase{"bits mixed up", 0xFFFF, 0xD00300FF}));

struct NumberCase {
    const char* fault;
    std::uint16_t word;
    const char* text;
    bool plus;
};

class PinNumbers : public ::testing::TestWithParam<NumberCase> {};

TEST_P(PinNumbers, FormatLetterAndNumber) {
    const PinNumber number = formatPinNumber(GetParam().word);
    EXPECT_EQ(number.text, GetParam().text) << GetParam().fault;
    EXPECT_EQ(number.plus, GetParam().plus) << GetParam().fault;
}

INSTANTIATE_TEST_SUITE_P(Words, PinNumbers,
                         ::testing::Values(NumberCase{"letter A lost", 0x0405, "A5", true},
                                           NumberCase{"mark of bit 15 lost", 0x800C, "12", false},
                                           NumberCase{"zero not written", 0x0000, "0", true},
                                           NumberCase{"nine bits not all read", 0x01FF, "511",
                                                      true},
                                           NumberCase{"bit 9 read", 0x0200, "0", true},
                                           NumberCase{"letter Z (26) wrong", 0x6800, "Z0", true},
                                           NumberCase{"letter 27 not 0x5B", 0x6C00, "[0", true},
                                           NumberCase{"letter 31 not 0x5F", 0x7C00, "_0", true}));

}  // namespace
}  // namespace wemb
