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

constexpr unsigned char kLongSlot = 255;

// `text` up to its first zero byte; numbers are a few bytes, too few for a call to memchr.
std::string_view untilZero(std::string_view text) {
    std::size_t end = 0;
    while (end < text.size() && text[end] != '\0') {
        ++end;
    }
    return text.substr(0, end);
}
constexpr std::size_t kLongSlotLengthBytes = 4;

// The length of the slot whose length byte is at `at`, and where its text starts.
std::pair<std::size_t, std::size_t> slotLengthAt(const std::string& slots, std::size_t at) {
    const auto lengthByte = static_cast<unsigned char>(slots[at]);
    if (lengthByte != kLongSlot) {
        return {lengthByte, at + 1};
    }
    std::size_t length = 0;
    for (std::size_t i = kLongSlotLengthBytes; i-- > 0;) {
        length = (length << 8) | static_cast<unsigned char>(slots[at + 1 + i]);
    }
    return {length, at + 1 + kLongSlotLengthBytes};
}

void appendSlot(std::string& out, char mark, std::string_view text) {
    const std::size_t length = text.size() + 1;
    if (length < kLongSlot) {
        out.push_back(static_cast<char>(length));
    } else {
        out.push_back(static_cast<char>(kLongSlot));
        for (std::size_t i = 0; i < kLongSlotLengthBytes; ++i) {
            out.push_back(static_cast<char>((length >> (8 * i)) & 0xFF));
        }
    }
    out.push_back(mark);
    out.append(text);
}

}  // namespace

LibraryPin::SlotBytes LibraryPin::slotBytes(int index) const {
    std::size_t at = 0;
    for (int slot = 0;; ++slot) {
        const auto [length, text] = slotLengthAt(numbers_, at);
        if (slot == index) {
            return SlotBytes{at, text + length};
        }
        at = text + length;
    }
}

void LibraryPin::allocNumbers(int count) {
    if (slotCount_ >= 0 || count < 0) {
        return;
    }
    slotCount_ = count;
}

void LibraryPin::setName(std::string_view text) {
    constexpr std::size_t kMaxNameBytes = 255;
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
    const char mark = plus ? '+' : '-';
    if (index >= storedSlots_) {
        // Readers fill the slots in order: the slot goes at the end, after any skipped ones.
        numbers_.append(static_cast<std::size_t>(index - storedSlots_), '\0');
        appendSlot(numbers_, mark, text);
        storedSlots_ = index + 1;
        return;
    }
    std::string slot;
    appendSlot(slot, mark, text);
    const SlotBytes old = slotBytes(index);
    numbers_.replace(old.begin, old.end - old.begin, slot);
}

std::optional<std::string> LibraryPin::number(int index) const {
    if (index < 0 || index >= numberCount() || index >= storedSlots_) {
        return std::nullopt;
    }
    const SlotBytes slot = slotBytes(index);
    const auto [length, text] = slotLengthAt(numbers_, slot.begin);
    if (length == 0) {
        return std::nullopt;
    }
    return numbers_.substr(text, length);
}

void LibraryPin::clearNumber(int index) {
    if (index >= 0 && index < storedSlots_) {
        const SlotBytes old = slotBytes(index);
        numbers_.replace(old.begin, old.end - old.begin, 1, '\0');
    }
}

const LibraryEntry* Library::getEntry(int index) const {
    if (index < 0 || index >= getEntryCount()) {
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

const LibraryPattern* Library::findPattern(std::string_view name) const {
    const auto found = std::find_if(patterns_.begin(), patterns_.end(),
                                    [name](const auto& pattern) { return pattern->name == name; });
    return found == patterns_.end() ? nullptr : found->get();
}

const LibraryEntry* Library::findEntry(std::string_view name) const {
    const auto found = std::find_if(
        entries_.begin(), entries_.end(),
        [name](const LibraryEntry& entry) { return entry.part != nullptr && entry.name == name; });
    return found == entries_.end() ? nullptr : &*found;
}

}  // namespace wemb
