#pragma once
// One part record (type 8) of a loaded data file. The small fields are copied when the file is
// read; the fields that numbering reads or rewrites are views into the document's buffer, so a
// change made through them is what the document writes back.

#include <cstdint>
#include <span>
#include <string_view>

namespace wemb {

inline constexpr std::size_t kPartRecordSize = 60;

class PartEntry {
  public:
    // Field offsets within the 60-byte part record.
    static constexpr std::size_t kXOffset = 2;
    static constexpr std::size_t kYOffset = 4;
    static constexpr std::size_t kBlockNumberOffset = 11;
    static constexpr std::size_t kPartNameOffset = 12;
    static constexpr std::size_t kPartNameSize = 16;
    static constexpr std::size_t kReferenceOffset = 32;
    static constexpr std::size_t kReferenceSize = 8;
    static constexpr std::size_t kLibraryNameOffset = 44;
    static constexpr std::size_t kLibraryNameSize = 16;

    // `record` must stay valid for the life of the entry; `sheetXOffset` is added to x.
    PartEntry(std::span<std::uint8_t, kPartRecordSize> record, std::int32_t sheetXOffset);

    std::int32_t x;  // includes the sheet x-offset
    std::int32_t y;

    // The whole record, where the document holds it.
    std::span<const std::uint8_t, kPartRecordSize> record() const { return record_; }
    // The position as the record holds it, without the sheet x-offset.
    std::int16_t recordX() const;
    std::int16_t recordY() const { return static_cast<std::int16_t>(y); }

    std::uint8_t blockNumber() const { return record_[kBlockNumberOffset]; }
    void setBlockNumber(std::uint8_t block) { record_[kBlockNumberOffset] = block; }

    std::span<std::uint8_t> partNameField() const {
        return record_.subspan(kPartNameOffset, kPartNameSize);
    }
    std::span<std::uint8_t> referenceField() const {
        return record_.subspan(kReferenceOffset, kReferenceSize);
    }
    std::span<const std::uint8_t, kLibraryNameSize> libraryNameField() const {
        return record_.subspan<kLibraryNameOffset, kLibraryNameSize>();
    }
    // The zero-terminated library name; all 16 bytes when the field holds no zero byte.
    std::string_view libraryName() const;

  private:
    // No more than that: a large drawing holds a million entries, and its offset in the file the
    // document works out from where the record lies.
    std::span<std::uint8_t, kPartRecordSize> record_;
};
static_assert(sizeof(PartEntry) == 16);

}  // namespace wemb
