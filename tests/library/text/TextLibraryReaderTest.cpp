#include "library/text/TextLibraryReader.h"

#include <gtest/gtest.h>

#include "tests/library/LibraryTestSupport.h"

namespace wemb {
namespace {

using testing::textLibrary;

// A component that passes every check, with the blank-separated `extra` tokens before its
// "-COMP".
std::string component(std::string_view name, std::string_view extra = "") {
    std::string text = "+COMP N:" + std::string(name) + " X:4 Y:4 B:1 ";
    return text + (extra.empty() ? "" : std::string(extra) + " ") + "-COMP";
}

std::string comp(std::string_view keys) {
    return textLibrary("+COMP " + std::string(keys) + " -COMP");
}

std::string alias(std::string_view from, std::string_view to) {
    return "+ALIAS N:" + std::string(from) + " A:" + std::string(to) + " -ALIAS";
}

// A pattern named "P" of `width` × `height` with the given bitmap rows.
std::string pattern(int width, int height, std::initializer_list<std::string_view> rows) {
    std::string text =
        "+PTN\nN:P\nX:" + std::to_string(width) + "\nY:" + std::to_string(height) + "\n+BMP\n";
    for (const std::string_view row : rows) {
        text += std::string(row) + "\n";
    }
    return text + "-BMP\n-PTN";
}

const std::string kLongNumber(300, '9');
const std::string kUsesP = "+COMP\nN:A\nX:1\nY:1\nB:1\nP:P\n-COMP";

// The top level, and components with their keys, pins and inner sections. One part with two
// entries holds a pin number of any length, and numbers after a "T:m" marked "-".
TEST(TextLibraryReader, TopLevelAndComponents) {
    testing::runReaderCases({
        // magic alone is an empty library
        {textLibrary(""), ""},
        // empty file
        {"",
         "badMagic at line 1, column 1: expected \"+RIRI3_DAR_I.1.0\" but found the end of the "
         "file"},
        // blanks only
        {" \n\t\n", "badMagic at line 3, column 1:"},
        // magic with a trailing blank
        {"+RIRI3_DAR_I.1.0 \n",
         "badMagic at line 1, column 1: expected \"+RIRI3_DAR_I.1.0\" but found \"+RIRI3_DAR_I.1.0 "
         "\""},
        // magic of another version, or after a component
        {"+RIRI3_DAR_I.1.1\n", "badMagic at line 1, column 1:"},
        {"+COMP\n" + textLibrary(""), "badMagic at line 1, column 1:"},
        // blank lines and blanks before the magic
        {"\n\n  \t+RIRI3_DAR_I.1.0\n", ""},
        // magic ended by a comma
        {"+RIRI3_DAR_I.1.0,+COMP,N:A,X:4,Y:4,B:1,-COMP", "A>0 | U 4x4 b1"},
        // stray end tokens and ignored tokens at the top level
        {textLibrary("-PIN -COMP -FOO N:A junk : " + component("A")), "A>0 | U 4x4 b1"},
        // unknown section holds known ones
        {textLibrary("+FOO +COMP N:A -COMP +PIN -FOO " + component("B")), "B>0 | U 4x4 b1"},
        // pin section at the top level is skipped
        {textLibrary("+PIN " + component("A") + " -PIN"), ""},
        // unknown section never closed
        {textLibrary(component("A") + " +FOO -BAR"),
         "endInsideSection at line 8, column 1: \"+FOO\" is never closed: no \"-FOO\" before the "
         "end of the file"},
        // broken escape ends the read as a success
        {textLibrary(component("A") + " x% " + component("B") + " +FOO"), "A>0 | U 4x4 b1"},
        // one part, two entries
        {textLibrary("+COMP N:74HC00 X:4 Y:4 B:3 R:IC +PIN N:A L:L1 M:" + kLongNumber +
                     " M:1 T:m M:7 -PIN -COMP +ALIAS N:74HC00 A:74LS00 -ALIAS"),
         "74HC00>0 74LS00>0 | IC 4x4 b3 s1 [A a1 +" + kLongNumber + " +1 -7]"},
        // B 1 loads
        {comp("N:A X:1 Y:1 B:1"), "A>0 | U 1x1 b1"},
        // B 256 loads
        {comp("N:A X:1 Y:1 B:256"), "A>0 | U 1x1 b256"},
        // B 257 fails
        {comp("N:A X:1 Y:1 B:257"),
         "badValue at line 6, column 1: \"B:257\": a block count must lie in 0 to 256"},
        // B -1 fails, and so does B beyond 32 bits
        {comp("N:A X:1 Y:1 B:-1"), "badValue at line 6, column 1:"},
        {comp("N:A X:1 Y:1 B:4294967298"), "badValue at line 6, column 1:"},
        // B 0 then B 2 loads
        {comp("N:A X:1 Y:1 B:0 B:2"), "A>0 | U 1x1 b2"},
        // B 2 then B 3 fails
        {comp("N:A X:1 Y:1 B:2 B:3"),
         "badValue at line 7, column 1: \"B:3\": a second block count, after 2"},
        // B 0 at the end fails
        {comp("N:A X:1 Y:1 B:0"),
         "incompleteSection at line 7, column 1: \"-COMP\" closes a component of width 1, height "
         "1, blocks 0 (each must be 1 or more)"},
        // no B at the end fails
        {comp("N:A X:1 Y:1"), "incompleteSection at line 6, column 1:"},
        // negative X fails at once
        {comp("N:A X:-1 X:3 Y:1 B:1"),
         "badValue at line 4, column 1: \"X:-1\": a width may not be negative"},
        // negative Y fails at once
        {comp("N:A X:1 Y:-5 Y:3 B:1"),
         "badValue at line 5, column 1: \"Y:-5\": a height may not be negative"},
        // X 0 at the end fails, and X that is no number reads as 0
        {comp("N:A X:0 Y:1 B:1"), "incompleteSection at line 7, column 1:"},
        {comp("N:A X:abc Y:1 B:1"), "incompleteSection at line 7, column 1:"},
        // later X replaces earlier
        {comp("N:A X:0 X:9 Y:1 B:1"), "A>0 | U 9x1 b1"},
        // integers read as atoi does
        {textLibrary("+COMP N:A") + "X: +12mm\nY:\t7\nB:1\n-COMP", "A>0 | U 12x7 b1"},
        // huge X stays at the 32-bit end
        {comp("N:A X:99999999999 Y:1 B:1"), "A>0 | U 2147483647x1 b1"},
        // no name fails
        {comp("X:1 Y:1 B:1"),
         "incompleteSection at line 6, column 1: \"-COMP\" closes a component without a name "
         "(\"N\")"},
        // name cut empty by a zero byte fails, and keys are case-sensitive
        {comp("N:%00A X:1 Y:1 B:1"), "incompleteSection at line 7, column 1:"},
        {comp("n:A X:1 Y:1 B:1"), "incompleteSection at line 7, column 1:"},
        // colon last is no key
        {comp("N:A N: X:1 Y:1 B:1"), "A>0 | U 1x1 b1"},
        // value keeps later colons
        {comp("N:A:B X:1 Y:1 B:1"), "A:B>0 | U 1x1 b1"},
        // R gives the prefix
        {comp("N:A X:1 Y:1 B:1 R:TR"), "A>0 | TR 1x1 b1"},
        // unknown keys are ignored
        {comp("N:A Z:-1 X:1 Y:1 B:1"), "A>0 | U 1x1 b1"},
        // pin before B fails even if B follows
        {textLibrary("+COMP N:A X:1 Y:1 +PIN -PIN B:1 -COMP"),
         "unexpectedToken at line 6, column 1: \"+PIN\" before the component's \"X\", \"Y\" and "
         "\"B\" are each 1 or more (width 1, height 1, blocks 0)"},
        // pin before X fails, and so does a pin after B 0
        {textLibrary("+COMP N:A Y:1 B:1 +PIN -PIN X:1 -COMP"),
         "unexpectedToken at line 6, column 1:"},
        {textLibrary("+COMP N:A X:1 Y:1 B:0 +PIN -PIN B:1 -COMP"),
         "unexpectedToken at line 7, column 1:"},
        // pin without a name is fine
        {textLibrary(component("A", "+PIN -PIN")), "A>0 | U 4x4 b1 s1 [~ a0 ~]"},
        // end token of a pin outside a pin fails
        {textLibrary(component("A", "-PIN")),
         "unexpectedToken at line 7, column 1: expected \"-COMP\" but found \"-PIN\""},
        // end token of another section fails
        {textLibrary(component("A", "-PTN")), "unexpectedToken at line 7, column 1:"},
        // unknown section is passed over with its end tokens
        {textLibrary(component("A", "+FOO -COMP -PIN N:B -FOO")), "A>0 | U 4x4 b1"},
        // unknown section never closed
        {textLibrary(component("A", "+FOO")), "endInsideSection at line 7, column 1:"},
        // the line after a field cut at the length cap counts its columns from its own start
        {textLibrary(std::string(32768, 'x') + "\n\t+FOO"),
         "endInsideSection at line 3, column 2:"},
        // component inside a component is skipped to the first -COMP
        {textLibrary("+COMP N:A +COMP N:B -COMP"), "A>0 | U 0x0 b0"},
        // alias inside a component is skipped
        {textLibrary(component("A", "+ALIAS N:A A:B -ALIAS")), "A>0 | U 4x4 b1"},
        // file ending inside a component enters it unchecked
        {textLibrary("+COMP"), ">0 | U 0x0 b0"},
        // file ending inside a pin keeps the pin
        {textLibrary("+COMP N:A X:1 Y:1 B:1 +PIN N:P1 T:C M:3"),
         "A>0 | U 1x1 b1 s1 [P1 a1073741824 +3]"},
        // broken escape ends the component; the rest is read at the top level
        {textLibrary("+COMP N:A X:1% Y:2 B:1 -COMP " + component("B")),
         "A>0 B>1 | U 0x0 b0 | U 4x4 b1"},
        // broken escape ends only the pin; the component reads on
        {textLibrary("+COMP N:A X:1 Y:1 B:1 +PIN N:P% M:9 -COMP"), "A>0 | U 1x1 b1 s1 [~ a0 ~]"},
        // after a broken escape in a pin its -PIN is foreign to the component
        {textLibrary("+COMP N:A X:1 Y:1 B:1 +PIN M:1%4 -PIN -COMP"),
         "unexpectedToken at line 8, column 7:"},
        // end token of the component inside a pin
        {textLibrary(component("A", "+PIN,-COMP")),
         "unexpectedToken at line 7, column 6: expected \"-PIN\" but found \"-COMP\""},
        // two components of one name are both entered
        {textLibrary(component("A") + " +COMP N:A X:9 Y:1 B:1 -COMP"),
         "A>0 A>1 | U 4x4 b1 | U 9x1 b1"},
    });
}

// Aliases reach back to earlier names; a component finds only an earlier pattern.
TEST(TextLibraryReader, AliasesAndPatterns) {
    testing::runReaderCases({
        // alias of an alias
        {textLibrary(component("A") + " " + alias("A", "B") + " " + alias("B", "C")),
         "A>0 B>0 C>0 | U 4x4 b1"},
        // alias of a later component adds nothing
        {textLibrary(alias("A", "B") + " " + component("A")), "A>0 | U 4x4 b1"},
        // alias of no entry adds nothing
        {textLibrary(component("A") + " " + alias("Z", "B")), "A>0 | U 4x4 b1"},
        // alias of a duplicate name takes the first
        {textLibrary(component("A") + " +COMP N:A X:9 Y:9 B:1 -COMP " + alias("A", "B")),
         "A>0 A>1 B>0 | U 4x4 b1 | U 9x9 b1"},
        // alias without A fails
        {textLibrary(component("A") + " +ALIAS N:A -ALIAS"),
         "incompleteSection at line 10, column 1: \"-ALIAS\" closes an alias without its new name "
         "(\"A\")"},
        // alias without N fails
        {textLibrary(component("A") + " +ALIAS A:B -ALIAS"),
         "incompleteSection at line 10, column 1: \"-ALIAS\" closes an alias without the name it "
         "stands for (\"N\")"},
        // alias ended by the input is added unchecked
        {textLibrary(component("A") + " +ALIAS N:A A:B"), "A>0 B>0 | U 4x4 b1"},
        // foreign end token in an alias fails
        {textLibrary(component("A") + " +ALIAS N:A A:B -COMP"),
         "unexpectedToken at line 11, column 1:"},
        // unknown section in an alias is skipped
        {textLibrary(component("A") + " +ALIAS N:A +X -ALIAS -X A:B -ALIAS"), "A>0 B>0 | U 4x4 b1"},
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
        // earlier pattern is found
        {textLibrary(pattern(8, 1, {}) + " " + kUsesP),
         "A>0 | U 1x1 b1 p0 | ptn P 8x1 bmp 8x1 0000"},
        // later pattern is not found
        {textLibrary(kUsesP + " " + pattern(8, 1, {})), "A>0 | U 1x1 b1 | ptn P 8x1 bmp 8x1 0000"},
        // first of two patterns of one name
        {textLibrary(pattern(8, 1, {}) + " " + pattern(16, 1, {}) + " " + kUsesP),
         "A>0 | U 1x1 b1 p0 | ptn P 8x1 bmp 8x1 0000 | ptn P 16x1 bmp 16x1 0000"},
        // unknown pattern name is no error
        {textLibrary(pattern(8, 1, {}) + " +COMP\nN:A\nX:1\nY:1\nB:1\nP:Z\n-COMP"),
         "A>0 | U 1x1 b1 | ptn P 8x1 bmp 8x1 0000"},
    });
}

}  // namespace
}  // namespace wemb
