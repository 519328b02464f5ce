#include "tools/gen/DataFileBuilder.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace wemb::gen {
namespace {

constexpr std::size_t kRecordSize = 60;
constexpr std::size_t kMinimumVariableSize = 12;
constexpr std::size_t kVariableLengthOffset = 10;

constexpr std::size_t kBlockNumberOffset = 11;
constexpr std::size_t kPartNameOffset = 12;
constexpr std::size_t kPartNameSize = 16;
constexpr std::size_t kReferenceOffset = 32;
constexpr std::size_t kReferenceSize = 8;
constexpr std::size_t kLibraryNameOffset = 44;
constexpr std::size_t kLibraryNameSize = 16;

std::size_t fixedLength(std::uint8_t type) {
    static constexpr std::array<std::size_t, 10> kLengths = {6, 6, 10, 10, 10, 18, 18, 38, 60, 60};
    return type < kLengths.size() ? kLengths[type] : 6;
}

void putU16(std::span<std::uint8_t> at, std::uint16_t value) {
    at[0] = static_cast<std::uint8_t>(value & 0xFF);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

// Writes the characters of a counted field and its length byte; the rest keeps its filler.
void putCounted(std::span<std::uint8_t> field, std::string_view text,
                std::optional<std::uint8_t> lengthByte) {
    const std::size_t count = std::min(text.size(), field.size() - 1);
    std::copy_n(text.begin(), count, field.begin() + 1);
    field[0] = lengthByte.value_or(static_cast<std::uint8_t>(count));
}

// Writes zero-terminated text; a text that fills the field has no terminator.
void putTerminated(std::span<std::uint8_t> field, std::string_view text) {
    const std::size_t count = std::min(text.size(), field.size());
    std::copy_n(text.begin(), count, field.begin());
    if (count < field.size()) {
        field[count] = 0;
    }
}

}  // namespace

std::uint8_t fillerByte(std::size_t offset) {
    return static_cast<std::uint8_t>(0x80 | ((offset * 37 + 11) & 0x7F));
}

std::size_t DataFileBuilder::appendFiller(std::size_t count) {
    const std::size_t start = bytes_.size();
    for (std::size_t i = 0; i < count; ++i) {
        bytes_.push_back(fillerByte(start + i));
    }
    return start;
}

DataFileBuilder& DataFileBuilder::header(bool magic0001) {
    static constexpr std::string_view kMagic0000("VU ZUVI RARE $0000\x1a\0", 20);
    static constexpr std::string_view kMagic0001("VU ZUVI RARE $0001\x1a\0", 20);
    const std::size_t start = appendFiller(kRecordSize);
    const std::span<std::uint8_t> record(bytes_.data() + start, kRecordSize);
    record[0] = 9;
    const std::string_view magic = magic0001 ? kMagic0001 : kMagic0000;
    std::copy(magic.begin(), magic.end(), record.begin() + 2);
    return *this;
}

DataFileBuilder& DataFileBuilder::part(const PartSpec& fields) {
    const std::size_t start = appendFiller(kRecordSize);
    const std::span<std::uint8_t> record(bytes_.data() + start, kRecordSize);
    record[0] = 8;
    putU16(record.subspan(2), static_cast<std::uint16_t>(fields.x));
    putU16(record.subspan(4), static_cast<std::uint16_t>(fields.y));
    record[kBlockNumberOffset] = fields.block;
    putCounted(record.subspan(kPartNameOffset, kPartNameSize), fields.partName,
               fields.partNameLength);
    putCounted(record.subspan(kReferenceOffset, kReferenceSize), fields.reference,
               fields.referenceLength);
    putTerminated(record.subspan(kLibraryNameOffset, kLibraryNameSize), fields.libraryName);
    return *this;
}

DataFileBuilder& DataFileBuilder::record(std::uint8_t type) {
    const std::size_t start = appendFiller(fixedLength(type));
    bytes_[start] = type;
    return *this;
}

DataFileBuilder& DataFileBuilder::variableRecord(std::uint8_t type, std::int16_t length) {
    const std::size_t size =
        std::max(kMinimumVariableSize, static_cast<std::size_t>(std::max<int>(length, 0)));
    const std::size_t start = appendFiller(size);
    bytes_[start] = type;
    putU16(std::span<std::uint8_t>(bytes_).subspan(start + kVariableLengthOffset),
           static_cast<std::uint16_t>(length));
    return *this;
}

DataFileBuilder& DataFileBuilder::raw(std::span<const std::uint8_t> bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}

}  // namespace wemb::gen
