#include "library/Library.h"

#include <algorithm>
#include <array>
#include <utility>

namespace wemb {

PatternBitmap::PatternBitmap(std::uint16_t width, std::uint16_t height)
    : width_(width), height_(height), stride_((std::size_t{width} + 15) / 16 * 2) {}

void PatternBitmap::reset(std::uint16_t width, std::uint16_t height) {
    width_ = width;
    height_ = height;
    stride_ = (std::size_t{width} + 15) / 16 * 2;
    rows_.clear();
    data_.clear();
}

void PatternBitmap::reserve(std::size_t rows, std::size_t bytes) {
    rows_.reserve(rows);
    data_.reserve(bytes);
}

void PatternBitmap::storeRow(std::size_t row, std::span<const std::uint8_t> bytes) {
    bytes = bytes.first(std::min(bytes.size(), stride_));
    while (!bytes.empty() && bytes.back() == 0) {
        bytes = bytes.first(bytes.size() - 1);
    }
    if (!bytes.empty()) {
        rows_.push_back(
            StoredRow{static_cast<std::uint32_t>(row), static_cast<std::uint32_t>(data_.size())});
        data_.insert(data_.end(), bytes.begin(), bytes.end());
    }
}

PatternBitmap::KeptRow PatternBitmap::keptRow(std::size_t position) const {
    const std::size_t begin = rows_[position].offset;
    const std::size_t end = position + 1 < rows_.size() ? rows_[position + 1].offset : data_.size();
    return {rows_[position].row, std::span<const std::uint8_t>(data_).subspan(begin, end - begin)};
}

namespace {

// A slot begins with one byte: for a text of up to kLongestShortText bytes, 1 + (length * 2 + 1
// for the mark "-"), then the text; otherwise kLongSlot, the mark byte, the length in 32 bits
// and the text. The mark costs no byte of its own, so that the numbers of a pin of a few blocks
// stay within the string's inline room.
constexpr unsigned char kLongSlot = 255;
constexpr std::size_t kLongestShortText = 126;
constexpr std::size_t kLongSlotLengthBytes = 4;

struct SlotAt {
    char mark;
    std::size_t text;                                  // where the text starts
    std::size_t length;                                // of the text
    std::size_t end() const { return text + length; }  // where the next slot starts
};

SlotAt decodeSlot(const std::string& slots, std::size_t at) {
    const auto head = static_cast<unsigned char>(slots[at]);
    if (head != kLongSlot) {
        const std::size_t code = head - 1u;
        return SlotAt{(code & 1) != 0 ? '-' : '+', at + 1, code >> 1};
    }
    std::size_t length = 0;
    for (std::size_t i = kLongSlotLengthBytes; i-- > 0;) {
        length = (length << 8) | static_cast<unsigned char>(slots[at + 2 + i]);
    }
    return SlotAt{slots[at + 1], at + 2 + kLongSlotLengthBytes, length};
}

}  // namespace

std::optional<std::string_view> LibraryPin::name() const {
    if (nameBytes_ < 0) {
        return std::nullopt;
    }
    return std::string_view(text_).substr(0, slotsBegin());
}

void LibraryPin::setName(std::string_view text) {
    constexpr std::size_t kMaxNameBytes = 255;
    std::array<char, kMaxNameBytes> built;
    std::size_t length = 0;
    std::size_t i = 0;
    while (i < text.size() && length < kMaxNameBytes) {
        const bool escapes = text[i] == '\\' && i + 1 < text.size() && text[i + 1] != '\0';
        if (escapes) {
            built[length++] = static_cast<char>(static_cast<unsigned char>(text[i + 1]) | 0x80);
            i += 2;
        } else if (text[i] == '\0') {
            break;
        } else {
            // A backslash with nothing to escape is kept as it stands.
            built[length++] = text[i];
            i += 1;
        }
    }
    text_.replace(0, slotsBegin(), built.data(), length);
    nameBytes_ = static_cast<std::int16_t>(length);
}

void LibraryPin::addNumber(bool plus, std::string_view text) {
    // Numbers are a few bytes, too few for a call to memchr.
    std::size_t length = 0;
    while (length < text.size() && text[length] != '\0') {
        ++length;
    }
    text = text.substr(0, length);
    if (text.size() <= kLongestShortText) {
        text_.push_back(static_cast<char>(1 + text.size() * 2 + (plus ? 0 : 1)));
    } else {
        text_.push_back(static_cast<char>(kLongSlot));
        text_.push_back(plus ? '+' : '-');
        for (std::size_t i = 0; i < kLongSlotLengthBytes; ++i) {
            text_.push_back(static_cast<char>((text.size() >> (8 * i)) & 0xFF));
        }
    }
    text_.append(text);
    ++storedSlots_;
}

std::optional<std::string> LibraryPin::number(int index) const {
    if (index < 0 || index >= storedSlots_) {
        return std::nullopt;
    }
    std::size_t at = slotsBegin();
    for (int slot = 0; slot < index; ++slot) {
        at = decodeSlot(text_, at).end();
    }
    const SlotAt slot = decodeSlot(text_, at);
    std::string text(1, slot.mark);
    text.append(text_, slot.text, slot.length);
    return text;
}

const LibraryEntry* Library::getEntry(int index) const {
    if (index < 0 || index >= entryCount()) {
        return nullptr;
    }
    return &entries_[static_cast<std::size_t>(index)];
}

LibraryPart& Library::addPart(std::unique_ptr<LibraryPart> part) {
    parts_.push_back(std::move(part));
    return *parts_.back();
}

LibraryPattern& Library::addPattern(std::unique_ptr<LibraryPattern> pattern) {
    patterns_.push_back(std::move(pattern));
    return *patterns_.back();
}

LibraryEntry& Library::addEntry(std::string_view name, const LibraryPart* part) {
    entries_.push_back(LibraryEntry{names_.store(name), part});
    return entries_.back();
}

}  // namespace wemb
