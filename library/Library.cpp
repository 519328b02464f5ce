#include "library/Library.h"

#include <algorithm>

namespace wemb {

PatternBitmap::PatternBitmap(std::uint16_t width, std::uint16_t height)
    : width_(width), height_(height), stride_((std::size_t{width} + 15) / 16 * 2) {}

std::span<std::uint8_t> PatternBitmap::mutableRow(std::size_t row) {
    const std::size_t needed = (row + 1) * stride_;
    if (data_.size() < needed) {
        data_.resize(needed, 0);
    }
    return std::span<std::uint8_t>(data_).subspan(row * stride_, stride_);
}

std::uint8_t PatternBitmap::byteAt(std::size_t row, std::size_t column) const {
    const std::size_t index = row * stride_ + column;
    return column < stride_ && index < data_.size() ? data_[index] : std::uint8_t{0};
}

void LibraryPin::allocNumbers(int count) {
    if (slotCount_ || count < 0) {
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
        } else {
            // A backslash with nothing to escape is kept as it stands.
            built.push_back(text[i]);
            i += 1;
        }
    }
    name = built.substr(0, built.find('\0'));
}

void LibraryPin::setNumber(int index, bool plus, std::string_view text) {
    if (index < 0 || index >= numberCount()) {
        return;
    }
    const auto at = static_cast<std::size_t>(index);
    if (numbers_.size() <= at) {
        numbers_.resize(at + 1);
    }
    std::string slot(1, plus ? '+' : '-');
    slot += text.substr(0, text.find('\0'));
    numbers_[at] = std::move(slot);
}

std::optional<std::string> LibraryPin::number(int index) const {
    const auto at = static_cast<std::size_t>(index);
    if (index < 0 || index >= numberCount() || at >= numbers_.size()) {
        return std::nullopt;
    }
    return numbers_[at];
}

void LibraryPin::clearNumber(int index) {
    if (index >= 0 && static_cast<std::size_t>(index) < numbers_.size()) {
        numbers_[static_cast<std::size_t>(index)].reset();
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

LibraryEntry& Library::addEntry(std::string name, const LibraryPart* part) {
    entries_.push_back(LibraryEntry{std::move(name), part});
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
