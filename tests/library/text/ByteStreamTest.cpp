#include "library/text/ByteStream.h"

#include <gtest/gtest.h>

#include <string>

#include "library/text/TextTokenizer.h"
#include "tests/support/TempDirectory.h"

namespace wemb {
namespace {

std::vector<std::string> tokensOf(ByteStream& stream) {
    TextTokenizer tokenizer;
    tokenizer.attach(stream);
    std::vector<std::string> tokens;
    std::string token;
    while (tokenizer.readToken(token) >= 0) {
        tokens.push_back(token);
    }
    return tokens;
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
        const auto bytes =
            std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
        const auto file = ByteStream::openFile(folder.write("stream.lb3", bytes));
        ASSERT_NE(file, nullptr) << fault;
        ByteStream memory(bytes);
        EXPECT_EQ(tokensOf(*file), tokensOf(memory)) << fault;
        EXPECT_FALSE(file->readFailed()) << fault;
    }
}

}  // namespace
}  // namespace wemb
