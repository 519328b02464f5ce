#include "library/text/TextPatternReader.h"

#include <algorithm>
#include <span>

#include "library/text/TextSection.h"
#include "library/text/TextToken.h"

namespace wemb {

namespace {

struct PatternDraft {
    std::string name;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::unique_ptr<PatternBitmap> bitmap;

    bool readyForBitmap() const { return width > 0 && height > 0 && !name.empty() && !bitmap; }
};

// One character of a row stands for 4 bits: "@" for 0 up to "O" for 15.
int nibble(char character) {
    const int value = static_cast<signed char>(character) - 0x40;
    return value >= 0 && value <= 15 ? value : -1;
}

// Decodes the pairs of `text` into `decoded` (as many as fit); a pair with a character outside
// "@" to "O" gives 0. True when any byte is non-zero.
bool decodeRow(std::string_view text, std::span<std::uint8_t> decoded) {
    bool anySet = false;
    for (std::size_t k = 0; k < decoded.size(); ++k) {
        const int high = nibble(text[2 * k]);
        const int low = nibble(text[2 * k + 1]);
        decoded[k] = high >= 0 && low >= 0 ? static_cast<std::uint8_t>(high * 16 + low) : 0;
        anySet = anySet || decoded[k] != 0;
    }
    return anySet;
}

// The bitmap keeps only non-zero rows, so a huge pattern given with few rows takes little memory.
void storeRow(PatternBitmap& bitmap, std::size_t row, std::string_view text,
              std::vector<std::uint8_t>& decoded) {
    const std::size_t count = std::min(text.size() / 2, bitmap.dataBytesPerRow());
    decoded.resize(count);
    if (decodeRow(text, decoded)) {
        bitmap.storeRow(row, decoded);
    }
}

void readPatternKey(PatternDraft& draft, const KeyValue& pair) {
    if (pair.key == "N") {
        draft.name = textValue(pair.value);
    } else if (pair.key == "X") {
        draft.width = integerValue(pair.value);
    } else if (pair.key == "Y") {
        draft.height = integerValue(pair.value);
    }
}

// A "+BMP" is read only once the pattern has a name and a size, and only once; otherwise it is
// passed over like a section of unknown kind.
ReadResult<> readPatternInner(PatternDraft& draft, TextTokenizer& tokenizer, std::string_view token,
                              BitmapScratch& scratch) {
    if (token != "+BMP" || !draft.readyForBitmap()) {
        return skipSection(tokenizer, token);
    }
    auto bitmap = readBitmap(tokenizer, draft.width, draft.height, scratch);
    if (!bitmap) {
        return std::move(bitmap).error();
    }
    draft.bitmap = std::move(*bitmap);
    return {};
}

}  // namespace

ReadResult<std::unique_ptr<PatternBitmap>> readBitmap(TextTokenizer& tokenizer, std::int32_t width,
                                                      std::int32_t height, BitmapScratch& scratch) {
    const TextPosition opened = tokenizer.position();
    if (width < 1 || width > kMaxPatternSide || height < 1 || height > kMaxPatternSide) {
        return errorAt(FileErrorKind::BadValue, opened,
                       "\"+BMP\" of a pattern of " + std::to_string(width) + " x " +
                           std::to_string(height) + " pixels (each side must be 1 to 65535)");
    }
    PatternBitmap& rows = scratch.rows;
    rows.reset(static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height));
    std::size_t row = 0;
    const auto onRow = [&](std::string_view text) -> ReadResult<> {
        if (row < rows.height()) {
            storeRow(rows, row, text, scratch.decoded);
            ++row;
        }
        return {};
    };
    ReadResult<SectionEnd> end = readSection(tokenizer, "-BMP", skipEverySection(tokenizer), onRow);
    if (!end) {
        return std::move(end).error();
    }
    // Unlike every other section, a bitmap that the input cuts short is broken.
    if (*end == SectionEnd::EndOfInput) {
        return errorAt(
            FileErrorKind::EndInsideSection, opened,
            std::string("\"+BMP\" is never closed: no \"-BMP\" before ") + tokenizer.stopText());
    }
    return std::make_unique<PatternBitmap>(rows);
}

ReadResult<> readPattern(Library& library, TextTokenizer& tokenizer, BitmapScratch& scratch) {
    PatternDraft draft;
    const auto onBegin = [&](std::string_view begin) {
        return readPatternInner(draft, tokenizer, begin, scratch);
    };
    const auto onOther = [&draft](std::string_view other) -> ReadResult<> {
        if (const auto pair = splitKeyValue(other)) {
            readPatternKey(draft, *pair);
        }
        return {};
    };
    ReadResult<SectionEnd> end = readSection(tokenizer, "-PTN", onBegin, onOther);
    if (!end) {
        return std::move(end).error();
    }
    if (*end == SectionEnd::EndToken && !draft.bitmap) {
        return errorAt(FileErrorKind::IncompleteSection, tokenizer.position(),
                       "\"-PTN\" closes a pattern without a bitmap (\"+BMP\" after \"N\", \"X\" "
                       "and \"Y\")");
    }
    auto pattern = std::make_unique<LibraryPattern>();
    pattern->name = std::move(draft.name);
    pattern->width = draft.width;
    pattern->height = draft.height;
    pattern->bitmap = std::move(draft.bitmap);
    library.addPattern(std::move(pattern));
    return {};
}

}  // namespace wemb
