#include "library/text/TextPatternReader.h"

#include <gtest/gtest.h>

#include "tests/library/LibraryTestSupport.h"

namespace wemb {
namespace {

using testing::runReaderCases;
using testing::textLibrary;

// A pattern named "P" of `width` × `height` with the given bitmap rows.
std::string pattern(int width, int height, std::initializer_list<std::string_view> rows) {
    std::string text =
        "+PTN\nN:P\nX:" + std::to_string(width) + "\nY:" + std::to_string(height) + "\n+BMP\n";
    for (const std::string_view row : rows) {
        text += std::string(row) + "\n";
    }
    return text + "-BMP\n-PTN";
}

TEST(TextPatternBitmaps, FailuresOfTheBitmapSection) {
    runReaderCases({
        // foreign end token in a bitmap
        {textLibrary(pattern(8, 1, {"-PTN"})),
         "unexpectedToken at line 7, column 1: expected \"-BMP\" but found \"-PTN\""},
        // unknown section in a bitmap never closed
        {textLibrary(pattern(8, 1, {"+X"})), "endInsideSection at line 7, column 1:"},
        // input ending inside a bitmap
        {textLibrary("+PTN N:P X:8 Y:1 +BMP OO"),
         "endInsideSection at line 6, column 1: \"+BMP\" is never closed: no \"-BMP\" before the "
         "end of the file"},
        // broken escape inside a bitmap
        {textLibrary("+PTN N:P X:8 Y:1 +BMP O% -BMP -PTN"),
         "endInsideSection at line 6, column 1: \"+BMP\" is never closed: no \"-BMP\" before a "
         "broken escape (a \"%\" cut by a comma or line break)"},
        // width above 65535
        {textLibrary(pattern(65536, 1, {})),
         "badValue at line 6, column 1: \"+BMP\" of a pattern of 65536 x 1 pixels (each side must "
         "be 1 to 65535)"},
        // height above 65535
        {textLibrary(pattern(1, 65536, {})), "badValue at line 6, column 1:"},
    });
}

TEST(TextPatternSections, WhenABitmapIsRead) {
    runReaderCases({
        // bitmap before the name is skipped, then -PTN fails
        {textLibrary("+PTN X:8 Y:1 +BMP OO -BMP N:P -PTN"),
         "incompleteSection at line 9, column 1: \"-PTN\" closes a pattern without a bitmap "
         "(\"+BMP\" after \"N\", \"X\" and \"Y\")"},
        // bitmap of width 0 is skipped, and so is one of negative height
        {textLibrary("+PTN N:P X:0 Y:1 +BMP -BMP -PTN"), "incompleteSection at line 8, column 1:"},
        {textLibrary("+PTN N:P X:8 Y:-1 +BMP -BMP -PTN"), "incompleteSection at line 8, column 1:"},
        // second bitmap is skipped; the first stays
        {textLibrary("+PTN N:P X:8 Y:1 +BMP AA -BMP +BMP OO -BMP -PTN"),
         "| ptn P 8x1 bmp 8x1 1100"},
        // size given again after the bitmap is kept in the pattern
        {textLibrary("+PTN N:P X:8 Y:1 +BMP AA -BMP X:3 -PTN"), "| ptn P 3x1 bmp 8x1 1100"},
        // foreign end token in a pattern
        {textLibrary("+PTN,N:P,-COMP"),
         "unexpectedToken at line 2, column 10: expected \"-PTN\" but found \"-COMP\""},
        // unknown section in a pattern never closed
        {textLibrary("+PTN N:P +FOO"), "endInsideSection at line 4, column 1:"},
        // input ending inside a pattern without a bitmap adds it
        {textLibrary("+PTN N:Q X:4"), "| ptn Q 4x0"},
        // input ending inside a pattern after its bitmap adds it; rows of different lengths
        {textLibrary("+PTN N:Q X:16 Y:3 +BMP EE FF JJH@ -BMP"),
         "| ptn Q 16x3 bmp 16x3 5500.6600.AA80"},
    });
}

TEST(TextPatternSections, ComponentsFindEarlierPatternsOnly) {
    const std::string usesP = "+COMP\nN:A\nX:1\nY:1\nB:1\nP:P\n-COMP";
    runReaderCases({
        // earlier pattern is found
        {textLibrary(pattern(8, 1, {}) + " " + usesP),
         "A>0 | U 1x1 b1 p0 | ptn P 8x1 bmp 8x1 0000"},
        // later pattern is not found
        {textLibrary(usesP + " " + pattern(8, 1, {})), "A>0 | U 1x1 b1 | ptn P 8x1 bmp 8x1 0000"},
        // first of two patterns of one name
        {textLibrary(pattern(8, 1, {}) + " " + pattern(16, 1, {}) + " " + usesP),
         "A>0 | U 1x1 b1 p0 | ptn P 8x1 bmp 8x1 0000 | ptn P 16x1 bmp 16x1 0000"},
        // unknown pattern name is no error
        {textLibrary(pattern(8, 1, {}) + " +COMP\nN:A\nX:1\nY:1\nB:1\nP:Z\n-COMP"),
         "A>0 | U 1x1 b1 | ptn P 8x1 bmp 8x1 0000"},
    });
}

}  // namespace
}  // namespace wemb
