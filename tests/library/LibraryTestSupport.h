#pragma once
// Libraries shown as one line of text, and small libraries of both formats read from memory.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "library/BinaryLibraryReader.h"
#include "library/text/TextLibraryReader.h"

namespace wemb::testing {

// A binary library held in memory, read in the pieces the reader asks for.
inline ReadResult<> readBinaryBytes(Library& library, std::span<const std::uint8_t> file,
                                    std::span<std::uint8_t> workBuffer = {}) {
    const auto source = [&file](std::span<std::uint8_t> into) -> ReadResult<std::size_t> {
        const std::size_t count = std::min(into.size(), file.size());
        std::copy_n(file.begin(), count, into.begin());
        file = file.subspan(count);
        return count;
    };
    return readBinaryLibrary(library, source, workBuffer);
}

template <typename Item>
std::string indexIn(std::span<const std::unique_ptr<Item>> items, const Item* item) {
    const auto at = std::find_if(items.begin(), items.end(),
                                 [item](const auto& held) { return held.get() == item; });
    return at == items.end() ? "-" : std::to_string(at - items.begin());
}

// " bmp WxH" and the bytes of its first four rows, the rows apart by ".".
inline std::string shown(const PatternBitmap& bitmap) {
    std::string out = " bmp ";
    out.append(std::to_string(bitmap.width())).append("x");
    out.append(std::to_string(bitmap.height())).append(" ");
    const std::size_t stride = (std::size_t{bitmap.width()} + 15) / 16 * 2;
    std::size_t position = 0;
    for (std::size_t row = 0; row < bitmap.height() && row < 4; ++row) {
        out += row == 0 ? "" : ".";
        std::span<const std::uint8_t> kept;
        if (position < bitmap.storedRows() && bitmap.keptRow(position).row == row) {
            kept = bitmap.keptRow(position++).bytes;
        }
        for (std::size_t column = 0; column < stride; ++column) {
            const std::uint8_t byte = column < kept.size() ? kept[column] : 0;
            out += {"0123456789ABCDEF"[byte >> 4], "0123456789ABCDEF"[byte & 15]};
        }
    }
    return out;
}

// Each entry "NAME>PART" (the index of its part, "-" for none), then each part "| PREFIX WxH
// bBLOCKS" with its sides "sMASK" when set, its pattern "pINDEX", each pin "[NAME aATTRIBUTES
// NUMBERS]" and its bitmap, then each pattern "| ptn NAME WxH" and its bitmap. "~" is absent.
inline std::string shown(const Library& library) {
    std::string out;
    for (const LibraryEntry& entry : library.entries()) {
        out += std::string(entry.name) + ">" + indexIn(library.parts(), entry.part) + " ";
    }
    for (const auto& part : library.parts()) {
        out.append("| ").append(part->prefix.value_or("~")).append(" ");
        out.append(std::to_string(part->width)).append("x").append(std::to_string(part->height));
        out.append(" b").append(std::to_string(part->blockCount));
        out.append(part->sideMask != 0 ? " s" : "")
            .append(part->sideMask != 0 ? std::to_string(part->sideMask) : "");
        out.append(part->pattern ? " p" : "")
            .append(part->pattern ? indexIn(library.patterns(), part->pattern) : "");
        for (const LibraryPin& pin : part->pins) {
            out.append(" [").append(pin.name().value_or("~"));
            out.append(" a").append(std::to_string(pin.attributes));
            for (int i = 0; i < pin.numberCount(); ++i) {
                out.append(" ").append(pin.number(i).value_or("~"));
            }
            out += "]";
        }
        out += (part->bitmap ? shown(*part->bitmap) : "") + " ";
    }
    for (const auto& pattern : library.patterns()) {
        out.append("| ptn ").append(pattern->name).append(" ");
        out.append(std::to_string(pattern->width)).append("x");
        out.append(std::to_string(pattern->height));
        out += (pattern->bitmap ? shown(*pattern->bitmap) : "") + " ";
    }
    return out.empty() ? out : out.substr(0, out.size() - 1);
}

// The magic, then one token a line: each blank-separated word.
inline std::string textLibrary(std::string text) {
    text = std::string(kTextLibraryMagic) + "\n" + text;
    std::replace(text.begin(), text.end(), ' ', '\n');
    return text + '\n';
}

// The library read from `text`, shown, or why it is refused: "KIND at line L, column C: DETAIL".
inline std::string readText(const std::string& text) {
    Library library;
    const ReadResult<> read = readTextLibrary(
        library, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    return read ? shown(library)
                : std::string(kindName(read.error().kind)) + " at " + describe(read.error());
}

// Rows of a reader table: the file, and the library it holds or why it is refused. A refusal
// whose message another row shows ends in ":" after its kind and place.
inline void runReaderCases(const std::vector<std::pair<std::string, std::string>>& cases) {
    for (const auto& [text, expected] : cases) {
        const std::string got = readText(text);
        EXPECT_EQ(expected.ends_with(':') ? got.substr(0, got.find(':') + 1) : got, expected)
            << text;
    }
}

}  // namespace wemb::testing
