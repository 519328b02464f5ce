#include "library/Library.h"

#include <algorithm>
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

std::span<const std::uint8_t> PatternBitmap::keptBytes(std::size_t position) const {
    const std::size_t begin = rows_[position].offset;
    const std::size_t end = position + 1 < rows_.size() ? rows_[position + 1].offset : data_.size();
    return std::span<const std::uint8_t>(data_).subspan(begin, end - begin);
}

void PatternBitmap::eraseRow(std::size_t position) {
    const std::span<const std::uint8_t> kept = keptBytes(position);
    const auto begin = data_.begin() + static_cast<std::ptrdiff_t>(rows_[position].offset);
    data_.erase(begin, begin + static_cast<std::ptrdiff_t>(kept.size()));
    for (std::size_t later = position + 1; later < rows_.size(); ++later) {
        rows_[later].offset -= static_cast<std::uint32_t>(kept.size());
    }
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(position));
}

void PatternBitmap::storeRow(std::size_t row, std::span<const std::uint8_t> bytes) {
    if (row >= height_) {
        return;
    }
    bytes = bytes.first(std::min(bytes.size(), stride_));
    while (!bytes.empty() && bytes.back() == 0) {
        bytes = bytes.first(bytes.size() - 1);
    }
    const auto at = std::lower_bound(
        rows_.begin(), rows_.end(), row,
        [](const StoredRow& kept, std::size_t wanted) { return kept.row < wanted; });
    auto position = static_cast<std::size_t>(at - rows_.begin());
    if (at != rows_.end() && at->row == row) {
        eraseRow(position);
    }
    if (bytes.empty()) {
        return;
    }
    const std::uint32_t offset =
        position < rows_.size() ? rows_[position].offset : static_cast<std::uint32_t>(data_.size());
    data_.insert(data_.begin() + static_cast<std::ptrdiff_t>(offset), bytes.begin(), bytes.end());
    for (std::size_t later = position; later < rows_.size(); ++later) {
        rows_[later].offset += static_cast<std::uint32_t>(bytes.size());
    }
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(position),
                 StoredRow{static_cast<std::uint32_t>(row), offset});
}

std::uint8_t PatternBitmap::byteAt(std::size_t row, std::size_t column) const {
    if (column >= stride_) {
        return 0;
    }
    // Most bitmaps keep every row: then row r is kept at position r.
    std::size_t position = row;
    if (position >= rows_.size() || rows_[position].row != row) {
        const auto at = std::lower_bound(
            rows_.begin(), rows_.end(), row,
            [](const StoredRow& kept, std::size_t wanted) { return kept.row < wanted; });
        if (at == rows_.end() || at->row != row) {
            return 0;
        }
        position = static_cast<std::size_t>(at - rows_.begin());
    }
    const std::span<const std::uint8_t> kept = keptBytes(position);
    return column < kept.size() ? kept[column] : std::uint8_t{0};
}

namespace {

// A slot begins with one byte: 0 for an empty slot; otherwise, for a text of up to
// kLongestShortText bytes, 1 + (length * 2 + 1 for the mark "-"), then the text; otherwise
// kLongSlot, the mark byte, the length in 32 bits and the text. The mark costs no byte of its
// own, so that the numbers of a pin of a few blocks stay within the string's inline room.
constexpr unsigned char kLongSlot = 255;
constexpr std::size_t kLongestShortText = 126;
constexpr std::size_t kLongSlotLengthBytes = 4;

// `text` up to its first zero byte; numbers are a few bytes, too few for a call to memchr.
std::string_view untilZero(std::string_view text) {
    std::size_t end = 0;
    while (end < text.size() && text[end] != '\0') {
        ++end;
    }
    return text.substr(0, end);
}

struct SlotAt {
    bool empty = true;
    char mark = '+';
    std::size_t text = 0;    // where the text starts
    std::size_t length = 0;  // of the text
    std::size_t end = 0;     // where the next slot starts
};

SlotAt decodeSlot(const std::string& slots, std::size_t at) {
    const auto head = static_cast<unsigned char>(slots[at]);
    if (head == 0) {
        return SlotAt{.end = at + 1};
    }
    if (head != kLongSlot) {
        const std::size_t code = head - 1u;
        const std::size_t text = at + 1;
        return SlotAt{false, (code & 1) != 0 ? '-' : '+', text, code >> 1, text + (code >> 1)};
    }
    std::size_t length = 0;
    for (std::size_t i = kLongSlotLengthBytes; i-- > 0;) {
        length = (length << 8) | static_cast<unsigned char>(slots[at + 2 + i]);
    }
    const std::size_t text = at + 2 + kLongSlotLengthBytes;
    return SlotAt{false, slots[at + 1], text, length, text + length};
}

void appendSlot(std::string& out, bool plus, std::string_view text) {
    if (text.size() <= kLongestShortText) {
        out.push_back(static_cast<char>(1 + text.size() * 2 + (plus ? 0 : 1)));
        out.append(text);
        return;
    }
    out.push_back(static_cast<char>(kLongSlot));
    out.push_back(plus ? '+' : '-');
    for (std::size_t i = 0; i < kLongSlotLengthBytes; ++i) {
        out.push_back(static_cast<char>((text.size() >> (8 * i)) & 0xFF));
    }
    out.append(text);
}

}  // namespace

LibraryPin::SlotBytes LibraryPin::slotBytes(int index) const {
    std::size_t at = 0;
    for (int slot = 0; slot < index; ++slot) {
        at = decodeSlot(numbers_, at).end;
    }
    return SlotBytes{at, decodeSlot(numbers_, at).end};
}

void LibraryPin::allocNumbers(int count) {
    if (slotCount_ >= 0 || count < 0) {
        return;
    }
    slotCount_ = count;
}

void LibraryPin::setName(std::string_view text) {
    constexpr std::size_t kMaxNameBytes = 255;
    // Most names hold neither a backslash nor a zero byte: they are kept as they stand.
    const auto plain =
        std::find_if(text.begin(), text.end(), [](char c) { return c == '\\' || c == '\0'; });
    if (plain == text.end()) {
        name.emplace(text.substr(0, kMaxNameBytes));
        return;
    }
    std::string built;
    std::size_t i = 0;
    while (i < text.size() && built.size() < kMaxNameBytes) {
        const bool escapes = text[i] == '\\' && i + 1 < text.size() && text[i + 1] != '\0';
        if (escapes) {
            built.push_back(static_cast<char>(static_cast<unsigned char>(text[i + 1]) | 0x80));
            i += 2;
        } else if (text[i] == '\0') {
            break;
        } else {
            // A backslash with nothing to escape is kept as it stands.
            built.push_back(text[i]);
            i += 1;
        }
    }
    name = std::move(built);
}

void LibraryPin::setNumber(int index, bool plus, std::string_view text) {
    if (index < 0 || index >= numberCount()) {
        return;
    }
    text = untilZero(text);
    if (index >= storedSlots_) {
        // Readers fill the slots in order: the slot goes at the end, after any skipped ones.
        if (index > storedSlots_) {
            numbers_.append(static_cast<std::size_t>(index - storedSlots_), '\0');
        }
        appendSlot(numbers_, plus, text);
        storedSlots_ = index + 1;
        return;
    }
    std::string slot;
    appendSlot(slot, plus, text);
    const SlotBytes old = slotBytes(index);
    numbers_.replace(old.begin, old.end - old.begin, slot);
}

std::optional<std::string> LibraryPin::number(int index) const {
    if (index < 0 || index >= numberCount() || index >= storedSlots_) {
        return std::nullopt;
    }
    const SlotAt slot = decodeSlot(numbers_, slotBytes(index).begin);
    if (slot.empty) {
        return std::nullopt;
    }
    std::string text(1, slot.mark);
    text.append(numbers_, slot.text, slot.length);
    return text;
}

void LibraryPin::clearNumber(int index) {
    if (index >= 0 && index < storedSlots_) {
        const SlotBytes old = slotBytes(index);
        numbers_.replace(old.begin, old.end - old.begin, 1, '\0');
    }
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
