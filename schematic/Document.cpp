#include "schematic/Document.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

namespace wemb {
namespace {

constexpr std::uint8_t kPartRecord = 8;
constexpr std::uint8_t kHeaderRecord = 9;
constexpr std::size_t kMagicOffset = 2;
constexpr std::size_t kMinimumFileSize = 22;  // the header up to the magic's terminator
constexpr std::size_t kVariableLengthOffset = 10;

// Both magics are accepted alike; the header is written back unchanged, so a file keeps its own.
constexpr std::array<std::string_view, 2> kMagics = {
    std::string_view("VU ZUVI RARE $0000\x1a\0", 20),
    std::string_view("VU ZUVI RARE $0001\x1a\0", 20),
};

bool hasMagic(std::span<const std::uint8_t> bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()) + kMagicOffset,
                                kMagics[0].size());
    return std::find(kMagics.begin(), kMagics.end(), text) != kMagics.end();
}

// The length of the record at `offset`, or the reason it has none. The record and, for a
// variable-length record, its length field must lie wholly inside the data.
struct RecordLength {
    std::size_t length = 0;
    std::optional<ReadError> error;
};

RecordLength recordLength(std::span<const std::uint8_t> bytes, std::size_t offset) {
    static constexpr std::array<std::size_t, 10> kFixedLengths = {6,  6,  10, 10, 10,
                                                                  18, 18, 38, 60, 60};
    const std::uint8_t type = bytes[offset];
    const std::size_t remaining = bytes.size() - offset;
    std::size_t length = 0;
    if (type < kFixedLengths.size()) {
        length = kFixedLengths[type];
    } else if (type < 16) {
        return {0, ReadError::InvalidRecordType};
    } else {
        if (remaining < kVariableLengthOffset + 2) {
            return {0, ReadError::RecordPastEnd};
        }
        const auto field =
            static_cast<std::int16_t>(bytes[offset + kVariableLengthOffset] |
                                      (bytes[offset + kVariableLengthOffset + 1] << 8));
        if (field <= 0) {
            return {0, ReadError::BadRecordLength};
        }
        length = static_cast<std::size_t>(field);
    }
    if (length > remaining) {
        return {0, ReadError::RecordPastEnd};
    }
    return {length, std::nullopt};
}

}  // namespace

Document::ParseResult Document::parse(std::vector<std::uint8_t> bytes) {
    if (bytes.size() < kMinimumFileSize) {
        return {std::nullopt, ReadError::TooShort};
    }
    if (!hasMagic(bytes)) {
        return {std::nullopt, ReadError::BadMagic};
    }
    // Writing back starts at the first header record, so bytes before it would be lost.
    if (bytes[0] != kHeaderRecord) {
        return {std::nullopt, ReadError::NoLeadingHeader};
    }

    Document document;
    document.buffer_ = std::move(bytes);
    const std::span<std::uint8_t> buffer(document.buffer_);
    std::int32_t sheetXOffset = 0;
    std::size_t offset = 0;
    while (offset < buffer.size()) {
        const RecordLength record = recordLength(buffer, offset);
        if (record.error) {
            return {std::nullopt, *record.error};
        }
        const std::uint8_t type = buffer[offset];
        if (type == kPartRecord) {
            document.parts_.emplace_back(buffer.subspan(offset).first<kPartRecordSize>(), offset,
                                         sheetXOffset);
        } else if (type == kHeaderRecord &&
                   document.sheetStarts_.size() < static_cast<std::size_t>(kMaxSheets)) {
            document.sheetStarts_.push_back(offset);
            sheetXOffset += kSheetXOffset;
        }
        offset += record.length;
    }
    document.sheetStarts_.push_back(offset);
    return {std::move(document), ReadError::CannotOpen};
}

std::span<const std::uint8_t> Document::sheet(int index) const {
    const auto i = static_cast<std::size_t>(index);
    return std::span<const std::uint8_t>(buffer_).subspan(sheetStarts_[i],
                                                          sheetStarts_[i + 1] - sheetStarts_[i]);
}

int Document::sheetOf(std::size_t fileOffset) const {
    const auto next = std::upper_bound(sheetStarts_.begin(), sheetStarts_.end() - 1, fileOffset);
    return std::max(0, static_cast<int>(next - sheetStarts_.begin()) - 1);
}

std::string Document::sheetFileName(const std::string& fileName, int index) {
    if (index == 0) {
        return fileName;
    }
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "-%02d", index);
    return fileName + suffix;
}

}  // namespace wemb
