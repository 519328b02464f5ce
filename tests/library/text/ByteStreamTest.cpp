#include "library/text/ByteStream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "library/text/TextTokenizer.h"

namespace wemb {
namespace {

std::filesystem::path scratchDirectory() {
    const auto directory = std::filesystem::path(WEMB_BINARY_DIR) / "test-scratch" / "text";
    std::filesystem::create_directories(directory);
    return directory;
}

std::string writeScratch(const std::string& name, const std::string& bytes) {
    const auto path = scratchDirectory() / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
}

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
    struct Case {
        const char* fault;
        std::size_t fieldBytes;
        std::size_t fields;
    };
    const Case cases[] = {
        {"field split over a block boundary", 1000, 600},
        {"escape split over a block boundary", 7, 90000},
        {"capped fields over several blocks", 40000, 20},
        {"empty file", 0, 0},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.fault);
        std::string text;
        for (std::size_t i = 0; i < row.fields; ++i) {
            text += std::string(row.fieldBytes, static_cast<char>('a' + i % 26)) + "%2C\xFE\n";
        }
        const std::string path = writeScratch("stream.lb3", text);
        const auto file = ByteStream::openFile(path);
        ASSERT_NE(file, nullptr);
        ByteStream memory(
            std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
        EXPECT_EQ(tokensOf(*file), tokensOf(memory));
        EXPECT_FALSE(file->readFailed());
    }
}

}  // namespace
}  // namespace wemb
