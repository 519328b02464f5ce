#pragma once
// Libraries shown as one line of text, and small text libraries read from memory, for the
// reader tests of both formats.

#include <gtest/gtest.h>

#include <algorithm>
#include <iomanip>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "library/Library.h"
#include "library/text/TextLibraryReader.h"

namespace wemb::testing {

inline std::string orNone(const std::optional<std::string>& text) {
    return text ? *text : "~";
}

template <typename Item>
std::string indexIn(std::span<const std::unique_ptr<Item>> items, const Item* item) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].get() == item) {
            return std::to_string(i);
        }
    }
    return "-";
}

inline void show(std::ostream& out, const PatternBitmap& bitmap) {
    out << " bmp " << bitmap.width() << "x" << bitmap.height() << " " << std::hex << std::uppercase
        << std::setfill('0');
    for (std::size_t row = 0; row < bitmap.height() && row < 4; ++row) {
        out << (row == 0 ? "" : ".");
        for (std::size_t column = 0; column < bitmap.stride(); ++column) {
            out << std::setw(2) << int{bitmap.byteAt(row, column)};
        }
    }
    out << std::dec;
}

// Each entry "NAME>PART" (the index of its part, "-" for none), then each part "| PREFIX WxH
// bBLOCKS" with its sides "sMASK" when set, its pattern "pINDEX", each pin "[NAME aATTRIBUTES
// NUMBERS]" and its bitmap, then each pattern "| ptn NAME WxH" and its bitmap. "~" is absent.
inline std::string shown(const Library& library) {
    std::ostringstream out;
    for (const LibraryEntry& entry : library.entries()) {
        out << entry.name << ">" << indexIn(library.parts(), entry.part) << " ";
    }
    for (const auto& part : library.parts()) {
        out << "| " << orNone(part->prefix) << " " << part->width << "x" << part->height << " b"
            << part->blockCount;
        if (part->sideMask != 0) {
            out << " s" << part->sideMask;
        }
        if (part->pattern != nullptr) {
            out << " p" << indexIn(library.patterns(), part->pattern);
        }
        for (const LibraryPin& pin : part->pins) {
            out << " [" << orNone(pin.name) << " a" << pin.attributes;
            for (int i = 0; i < pin.numberCount(); ++i) {
                out << " " << orNone(pin.number(i));
            }
            out << "]";
        }
        if (part->bitmap) {
            show(out, *part->bitmap);
        }
        out << " ";
    }
    for (const auto& pattern : library.patterns()) {
        out << "| ptn " << pattern->name << " " << pattern->width << "x" << pattern->height;
        if (pattern->bitmap) {
            show(out, *pattern->bitmap);
        }
        out << " ";
    }
    std::string text = out.str();
    return text.empty() ? text : text.substr(0, text.size() - 1);
}

// The magic, then one token a line: each blank-separated word.
inline std::string textLibrary(std::string_view words) {
    std::string text(kTextLibraryMagic);
    text += '\n';
    text += words;
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

// One row of a reader table: the file, and the library it holds or why it is refused.
struct ReaderCase {
    std::string text;
    std::string expected;
};

inline void runReaderCases(const std::vector<ReaderCase>& cases) {
    for (const ReaderCase& row : cases) {
        EXPECT_EQ(readText(row.text), row.expected) << row.text;
    }
}

}  // namespace wemb::testing
