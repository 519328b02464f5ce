#include "schematic/PartEntry.h"

#include <algorithm>

namespace wemb {
namespace {

std::uint16_t u16At(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

std::uint32_t u32At(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) |
           (static_cast<std::uint32_t>(bytes[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

}  // namespace

PartEntry::PartEntry(std::span<std::uint8_t, kPartRecordSize> record, std::size_t fileOffset,
                     std::int32_t sheetXOffset)
    : recordType(record[0]),
      recordByte1(record[1]),
      x(static_cast<std::int16_t>(u16At(record, kXOffset)) + sheetXOffset),
      y(static_cast<std::int16_t>(u16At(record, kYOffset))),
      recordWord8(u16At(record, 8)),
      recordByte10(record[10]),
      recordDword28(u32At(record, 28)),
      recordDword40(u32At(record, 40)),
      record_(record),
      fileOffset_(fileOffset) {}

std::int16_t PartEntry::recordX() const {
    return static_cast<std::int16_t>(u16At(record_, kXOffset));
}

std::string_view PartEntry::libraryName() const {
    const auto field = record_.subspan(kLibraryNameOffset, kLibraryNameSize);
    const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
    return {reinterpret_cast<const char*>(field.data()),
            static_cast<std::size_t>(end - field.begin())};
}

}  // namespace wemb
