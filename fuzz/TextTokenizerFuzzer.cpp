// Feeds arbitrary bytes to the text library tokenizer: no token may pass the length cap, line
// numbers never fall, and reading always comes to an end.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "library/text/ByteStream.h"
#include "library/text/TextTokenizer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    wemb::ByteStream stream(std::span(data, size));
    wemb::TextTokenizer tokenizer;
    tokenizer.attach(stream);
    std::string_view token;
    int lastLine = 1;
    // A call that reads no token consumes at least one byte, unless the input is exhausted.
    for (std::size_t calls = 0; calls <= size + 1; ++calls) {
        const int line = tokenizer.readField(token);
        if (token.size() > wemb::TextTokenizer::kMaxTokenBytes || tokenizer.line() < lastLine ||
            (line >= 0 && line < lastLine)) {
            std::abort();
        }
        lastLine = tokenizer.line();
        if (line < 0 && stream.buffered().empty()) {
            return 0;
        }
    }
    std::abort();
}
