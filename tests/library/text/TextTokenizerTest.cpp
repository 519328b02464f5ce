#include "library/text/TextTokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/TempDirectory.h"

namespace wemb {
namespace {

// One call of readField: what it returned and what the field then held.
using Read = std::pair<int, std::string>;

std::span<const std::uint8_t> asBytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Reads `calls` tokens, -1 results included, as a caller that reads on after a broken escape.
std::vector<Read> readAll(ByteStream& stream, std::size_t calls) {
    TextTokenizer tokenizer;
    tokenizer.attach(stream);
    std::vector<Read> reads;
    std::string_view field = "stale";
    for (std::size_t i = 0; i < calls; ++i) {
        reads.push_back({tokenizer.readField(field), std::string(field)});  // braces: in order
    }
    return reads;
}

// Rows of what a tokenizer that fails the row gets wrong, the input, and the reads it gives.
void runCases(const std::vector<std::tuple<const char*, std::string, std::vector<Read>>>& cases) {
    for (const auto& [fault, input, reads] : cases) {
        ByteStream stream(asBytes(input));
        EXPECT_EQ(readAll(stream, reads.size()), reads) << fault;
    }
}

using namespace std::string_literals;

// Fields, escapes (decoded as strtol would) and broken escapes, which end the token at once.
TEST(TextTokenizer, CutsFieldsAndDecodesEscapes) {
    runCases({
        {"empty field between commas", "a,,b\n", {{1, "a"}, {1, ""}, {1, "b"}, {-1, ""}}},
        {"trailing blanks are kept", "   N:abc  \n", {{1, "N:abc  "}, {-1, ""}}},
        {"tab is a leading blank but stays inside", "\t a\tb ,c", {{1, "a\tb "}, {1, "c"}}},
        {"empty input", "", {{-1, ""}, {-1, ""}}},
        {"blanks only", " \t\r\n \n", {{-1, ""}}},
        {"last field without delimiter is delivered", "ab,cd", {{1, "ab"}, {1, "cd"}, {-1, ""}}},
        {"zero byte is an ordinary byte", "a\0b,c"s, {{1, "a\0b"s}, {1, "c"}}},
        {"Shift-JIS bytes pass through",
         "\x83\x70\x81\x5B,\x95\x5C",
         {{1, "\x83\x70\x81\x5B"}, {1, "\x95\x5C"}}},
        {"comma after blanks is an empty field", "  ,x", {{1, ""}, {1, "x"}}},
        {"escaped comma", "x%2Cy", {{1, "x,y"}}},
        {"escaped percent", "%25", {{1, "%"}}},
        {"two escapes in a row", "%41%42", {{1, "AB"}}},
        {"lower-case digits", "%fe", {{1, "\xFE"}}},
        {"no digit first gives zero", "%G1", {{1, "\0"s}}},
        {"conversion stops at a non-digit", "%1G", {{1, "\x01"}}},
        {"sign is taken", "%-1", {{1, "\xFF"}}},
        {"plus sign is taken", "%+F", {{1, "\x0F"}}},
        {"leading space is taken", "% 7", {{1, "\x07"}}},
        {"two spaces give zero", "%  x", {{1, "\0x"s}}},
        {"hex prefix gives zero", "%0x", {{1, "\0"s}}},
        {"percent before a line feed", "ab%\nc", {{-1, "ab"}, {1, "c"}, {-1, ""}}},
        {"one digit before a comma", "ab%4,c", {{-1, "ab"}, {1, "c"}}},
        {"one digit before CR LF", "ab%4\r\nc", {{-1, "ab"}, {2, "c"}}},
        {"percent at the end of input", "ab%", {{-1, "ab"}, {-1, ""}}},
        {"one digit at the end of input", "ab%4", {{-1, "ab"}, {-1, ""}}},
        {"broken escape at a token's start", "%\nx", {{-1, ""}, {1, "x"}}},
    });
}

TEST(TextTokenizerLimits, CapsTokensAt32768Bytes) {
    const std::string full(TextTokenizer::kMaxTokenBytes, 'a');
    const std::string almost(TextTokenizer::kMaxTokenBytes - 1, 'a');
    runCases({
        {"exactly at the cap, then a line feed", full + "\nb", {{1, full}, {2, "b"}}},
        {"past the cap the next byte is lost", full + "XYZ\n", {{1, full}, {1, "YZ"}}},
        {"a line feed past the lost byte still counts", full + "X\nb", {{1, full}, {2, "b"}}},
        {"escape filling the last place", almost + "%41\n", {{1, almost + "A"}, {-1, ""}}},
        {"percent past the cap is the lost byte", full + "%41\n", {{1, full}, {1, "41"}}},
        {"cap at the end of input", full, {{1, full}, {-1, ""}}},
    });
}

// Inputs whose fields and escapes straddle the file reader's block boundaries.
TEST(ByteStreamFile, DeliversTheSameBytesAsMemory) {
    const std::tuple<const char*, std::size_t, std::size_t> cases[] = {
        {"field split over a block boundary", 1000, 600},
        {"escape split over a block boundary", 7, 90000},
        {"capped fields over several blocks", 40000, 20},
        {"empty file", 0, 0},
    };
    const testing::TempDirectory folder;
    for (const auto& [fault, fieldBytes, fields] : cases) {
        std::string text;
        for (std::size_t i = 0; i < fields; ++i) {
            text += std::string(fieldBytes, static_cast<char>('a' + i % 26)) + "%2C\xFE\n";
        }
        const auto file = ByteStream::openFile(folder.write("stream.lb3", asBytes(text)));
        ASSERT_NE(file, nullptr) << fault;
        ByteStream memory(asBytes(text));
        EXPECT_EQ(readAll(*file, 2 * fields + 2), readAll(memory, 2 * fields + 2)) << fault;
        EXPECT_FALSE(file->readFailed()) << fault;
    }
}

}  // namespace
}  // namespace wemb
