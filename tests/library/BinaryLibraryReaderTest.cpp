#include <functional>

#include <gtest/gtest.h>

#include "tests/library/LibraryTestSupport.h"
#include "tools/gen/BinaryLibraryBuilder.h"

namespace wemb {
namespace {

using gen::BinaryBitmap;
using gen::BinaryComponent;
using gen::BinaryLibraryBuilder;
using gen::BinaryPin;
using gen::BuiltBinaryLibrary;

// The example library and a diode, its fourth component, with a bitmap and named pins; the last
// entry name ends the file, so that its terminator is the file's last byte.
BinaryLibraryBuilder brokenBase() {
    BinaryLibraryBuilder builder = gen::exampleBinaryLibrary();
    BinaryComponent diode;
    diode.prefix = "D";
    diode.bitmap = BinaryBitmap{9, 2, {0x55, 0x00, 0xAA, 0x80}};
    diode.pins = {BinaryPin{1, "A", std::nullopt, {0x8000 | 2 << 10 | 500}},
                  BinaryPin{0x0201, "K", std::nullopt, {2}}};
    builder.addEntry("1N4148", builder.addComponent(diode));
    return builder;
}

// --- Files that must be refused, each by the check that guards it ---

// Where the head holds the entry count and the positions of the blocks.
constexpr std::size_t kEntryCount = 16, kNameTable = 18, kComponentTable = 22, kComponentArea = 26,
                      kPatternTable = 30, kBitmapArea = 34, kStringPool = 38;
constexpr std::uint32_t kFar = 0x00FFFFFF;

std::uint32_t sizeOf(const BuiltBinaryLibrary& built) {
    return static_cast<std::uint32_t>(built.bytes.size());
}

// Each fault planted in a sound library, and what the reader must then say: the kind and the
// byte it names, and after a colon what the detail names as the thing read there. A refused
// library is left empty.
TEST(BinaryLibraryReader, RefusesEachBrokenFileAndLeavesTheLibraryEmpty) {
    const std::pair<std::function<void(BuiltBinaryLibrary&)>, const char*> faults[] = {
        // file over 65,589 bytes read
        {[](auto& b) { b.bytes.resize(65590); }, "tooLarge"},
        // signature byte 0x1A not compared
        {[](auto& b) { b.putU8(13, 0x1B); }, "badMagic at byte 0"},
        // signature compared ignoring case
        {[](auto& b) { b.putU8(0, 'l'); }, "badMagic at byte 0"},
        // entry count 0 accepted
        {[](auto& b) { b.putU16(kEntryCount, 0); }, "noEntries at byte 16"},
        // name table position past the file
        {[](auto& b) { b.putU32(kNameTable, kFar); }, "pastEnd at byte 18"},
        // name table position inside the head
        {[](auto& b) { b.putU32(kNameTable, 10); }, "badTable at byte 18"},
        // name table running past the end
        {[](auto& b) { b.putU32(kNameTable, sizeOf(b) - 6); }, "pastEnd at byte 295"},
        // name offset past the pool
        {[](auto& b) { b.putU32(b.layout.nameTable, 0xFFFFFFF0u); },
         "pastEnd at byte 54: name of entry 0"},
        // string pool position past the file
        {[](auto& b) { b.putU32(kStringPool, kFar); }, "pastEnd at byte 38"},
        // component table position past the file
        {[](auto& b) { b.putU32(kComponentTable, kFar); }, "pastEnd at byte 22"},
        // component table running past the end
        {[](auto& b) { b.putU32(kComponentTable, sizeOf(b) - 1); }, "pastEnd at byte 300"},
        // component area position past the file
        {[](auto& b) { b.putU32(kComponentArea, kFar); }, "pastEnd at byte 26"},
        // component offset past the file
        {[](auto& b) { b.putU16(b.layout.componentTable, 0xFFF0); }, "pastEnd at byte 74"},
        // component record cut by the end of the file
        {[](auto& b) {
             b.putU16(b.layout.componentTable,
                      static_cast<std::uint16_t>(sizeOf(b) - b.layout.componentArea - 6));
         },
         "pastEnd at byte 295"},
        // pins running past the end
        {[](auto& b) { b.putU16(b.layout.components[0] + 10, 0x0FFF); }, "pastEnd at byte 96"},
        // prefix offset past the pool
        {[](auto& b) { b.putU16(b.layout.components[1] + 6, 0xFFF0); },
         "pastEnd at byte 162: prefix of entry 1"},
        // pattern number past the pattern table
        {[](auto& b) { b.putU16(b.layout.components[3] + 8, 0x7000); }, "pastEnd at byte 212"},
        // pattern table position past the file
        {[](auto& b) { b.putU32(kPatternTable, kFar); }, "pastEnd at byte 30"},
        // bitmap offset past the file
        {[](auto& b) { b.putU16(b.layout.patternTable, 0xFFF0); }, "pastEnd at byte 228"},
        // bitmap area position past the file
        {[](auto& b) { b.putU32(kBitmapArea, kFar); }, "pastEnd at byte 34"},
        // bitmap rows running past the end
        {[](auto& b) { b.putU16(b.layout.bitmapArea + 2, 0xFFFF); }, "pastEnd at byte 234"},
        // pin name offset past the pool
        {[](auto& b) { b.putU16(b.layout.components[3] + 14, 0xFFF0); },
         "pastEnd at byte 218: name of pin 0 of entry 4"},
        // counted pin name running past the end: its length byte is a letter of the last
        // name, 'B' (66), cut to 63
        {[](auto& b) {
             b.putU16(b.layout.components[3] + 14,
                      static_cast<std::uint16_t>(sizeOf(b) - b.layout.stringPool - 3));
             b.putU8(sizeOf(b) - 3, 'B');
         },
         "pastEnd at byte 298"},
    };
    for (const auto& [breakIt, expected] : faults) {
        BuiltBinaryLibrary built = brokenBase().build();
        breakIt(built);
        Library library;
        const ReadResult<> result = testing::readBinaryBytes(library, built.bytes);
        ASSERT_FALSE(result) << expected;
        const FileError& error = result.error();
        std::string said = kindName(error.kind) +
                           (error.offset ? " at byte " + std::to_string(*error.offset) : "");
        if (std::string_view(expected).find(':') != std::string_view::npos) {
            said += ": " + error.detail.substr(0, std::min(error.detail.find(" at byte"),
                                                           error.detail.find(" runs past")));
        }
        EXPECT_EQ(said, expected);
        EXPECT_EQ(library.entryCount() + library.parts().size(), 0u);
    }
}

// The last name ends the file, so every shorter file fails: too short for the head, or past its
// end at a place that lies within it and that the detail measures from that end.
TEST(BinaryLibraryReader, EveryCutFileFailsPastItsEnd) {
    const std::vector<std::uint8_t> whole = brokenBase().bytes();
    for (std::size_t size = 16; size < whole.size(); ++size) {
        Library library;
        const ReadResult<> result = testing::readBinaryBytes(library, std::span(whole).first(size));
        ASSERT_FALSE(result) << size;
        const FileError& error = result.error();
        if (size < 58) {
            EXPECT_EQ(error.kind, FileErrorKind::TooShort) << size;
            continue;
        }
        ASSERT_EQ(error.kind, FileErrorKind::PastEnd) << size;
        ASSERT_LE(error.offset.value(), size) << describe(error);
        std::string left(1, '('), all(1, '(');
        left += counted(size - *error.offset, "byte", "bytes") + " left)";
        all += counted(size, "byte", "bytes") + ")";
        EXPECT_TRUE(error.detail.ends_with(left) || error.detail.ends_with(all)) << error.detail;
    }
}

// The alias shares the op-amp's part; a second pattern lies past the first.
TEST(BinaryLibraryReader, LoadsTheExampleWithAliasSharingOnePart) {
    BinaryLibraryBuilder builder = brokenBase();
    builder.addEntry("LED",
                     builder.addComponent({.prefix = "L", .bitmap = BinaryBitmap{8, 1, {7}}}));
    Library library;
    ASSERT_TRUE(testing::readBinaryBytes(library, builder.bytes()));
    EXPECT_EQ(testing::shown(library),
              "LM324>0 R>1 C>2 LM2902>0 1N4148>3 LED>4 | IC 4x4 b4 s5 [OUT a131074 +1 +7 +8 +14] "
              "[-IN a1 +2 +6 +9 +13] [+IN a3 +3 +5 +10 +12] [V+ a65538 +4 +4 +4 +4] "
              "[GND a196610 +11 +11 +11 +11] | R 4x1 b1 s5 [~ a1 +1] [~ a131073 +2] "
              "| C 4x1 b1 s5 [~ a1 +1] [~ a131073 +2] | D 2x2 b1 [A a1 -B500] [K a131073 +2] "
              "bmp 9x2 5500.AA80 | L 2x2 b1 bmp 8x1 0700");
}

}  // namespace
}  // namespace wemb
