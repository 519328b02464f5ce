// What a text library holds in memory is bounded by the bytes of the file, however large the
// sizes and counts it declares.

#include <gtest/gtest.h>

#include <string>

#include "tests/library/text/TextLibraryTestSupport.h"

namespace wemb {
namespace {

using testing::loadText;
using testing::textLibrary;

// A pattern of `width` × `height` whose bitmap has `emptyRows` empty row tokens (a comma each)
// and then one row of `lastRow`.
std::string patternWithEmptyRows(int width, int height, int emptyRows, const std::string& lastRow,
                                 const std::string& name = "P") {
    std::string text = "+PTN\nN:" + name + "\nX:" + std::to_string(width) +
                       "\nY:" + std::to_string(height) + "\n+BMP\n";
    text.append(static_cast<std::size_t>(emptyRows), ',');
    return text + lastRow + "\n-BMP\n-PTN";
}

struct HostileCase {
    const char* fault;
    std::string text;
    std::size_t patterns;
    std::size_t lastRow;     // of every pattern, the one row that is set
    std::uint8_t firstByte;  // its byte 0
};

std::string manyPatterns(int count) {
    std::string text(kTextLibraryMagic);
    for (int i = 0; i < count; ++i) {
        text += '\n';
        text += patternWithEmptyRows(65535, 65535, 100, "OO",
                                     std::string("P").append(std::to_string(i)));
    }
    return text + '\n';
}

TEST(TextLibraryMemory, HugePatternsHoldOnlyTheirSetBytes) {
    const std::vector<HostileCase> cases = {
        // About 65 KB of file that used to cost 65,535 rows of 8,192 bytes: half a gigabyte.
        {"65,534 empty rows then one set row held densely",
         textLibrary({patternWithEmptyRows(65535, 65535, 65534, "OO")}), 1, 65534, 0xFF},
        {"the bottom row of a tall narrow pattern held every row above it",
         textLibrary({patternWithEmptyRows(16, 65535, 65534, "A@")}), 1, 65534, 0x10},
        {"many huge patterns of one set byte each held whole rows", manyPatterns(200), 200, 100,
         0xFF},
    };
    for (const HostileCase& c : cases) {
        SCOPED_TRACE(c.fault);
        const auto loaded = loadText(c.text);
        ASSERT_TRUE(loaded.ok);
        ASSERT_EQ(loaded.library->patterns().size(), c.patterns);
        std::size_t held = 0;
        for (const auto& pattern : loaded.library->patterns()) {
            ASSERT_NE(pattern->bitmap, nullptr);
            const PatternBitmap& bitmap = *pattern->bitmap;
            EXPECT_EQ(bitmap.storedRows(), 1u);
            EXPECT_EQ(bitmap.byteAt(c.lastRow, 0), c.firstByte);
            EXPECT_EQ(bitmap.byteAt(c.lastRow - 1, 0), 0);
            held += bitmap.bytesHeld();
        }
        // One byte per pattern: never more than the two characters that wrote it.
        EXPECT_EQ(held, c.patterns);
        EXPECT_LE(held * 2, c.text.size());
    }
}

}  // namespace
}  // namespace wemb
