#include "schematic/PartEntry.h"

#include <algorithm>

namespace wemb {

PartEntry::PartEntry(std::span<const std::uint8_t, kPartRecordSize> record,
                     std::int32_t sheetXOffset)
    : record_(record),
      x_(recordX() + sheetXOffset),  // the record is in place by now
      blockNumber_(record[kBlockNumberOffset]) {
    std::copy_n(record.begin() + kReferenceOffset, kReferenceSize, reference_.begin());
}

void PartEntry::layOver(std::span<std::uint8_t, kPartRecordSize> copy) const {
    std::copy(reference_.begin(), reference_.end(), copy.begin() + kReferenceOffset);
    copy[kBlockNumberOffset] = blockNumber_;
}

std::string_view PartEntry::libraryName() const {
    const auto field = libraryNameField();
    const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
    return {reinterpret_cast<const char*>(field.data()),
            static_cast<std::size_t>(end - field.begin())};
}

}  // namespace wemb
