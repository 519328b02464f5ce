#pragma once
// One part record (type 8) of a loaded data file. The record itself is read-only: the document's
// bytes may be a mapping of the file. The two fields numbering rewrites, the reference and the
// block number, are the entry's own copies, which the document lays over the record when it
// writes the file back; x, which takes its sheet's offset, is worked out when the file is read.

#include <array>
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
    PartEntry(std::span<const std::uint8_t, kPartRecordSize> record, std::int32_t sheetXOffset);

    std::int32_t x() const { return x_; }  // includes the sheet x-offset
    std::int32_t y() const { return recordY(); }

    // The whole record as it was read, where the document holds it.
    std::span<const std::uint8_t, kPartRecordSize> record() const { return record_; }
    // The position as the record holds it, without the sheet x-offset.
    std::int16_t recordX() const { return int16At(kXOffset); }
    std::int16_t recordY() const { return int16At(kYOffset); }

    std::uint8_t blockNumber() const { return blockNumber_; }
    void setBlockNumber(std::uint8_t block) { blockNumber_ = block; }

    std::span<const std::uint8_t> partNameField() const {
        return record_.subspan(kPartNameOffset, kPartNameSize);
    }
    std::span<std::uint8_t, kReferenceSize> referenceField() { return reference_; }
    std::span<const std::uint8_t, kReferenceSize> referenceField() const { return reference_; }
    std::span<const std::uint8_t, kLibraryNameSize> libraryNameField() const {
        return record_.subspan<kLibraryNameOffset, kLibraryNameSize>();
    }
    // The zero-terminated library name; all 16 bytes when the field holds no zero byte.
    std::string_view libraryName() const;

    // Writes the reference and block number as they now stand over a copy of the record.
    void layOver(std::span<std::uint8_t, kPartRecordSize> copy) const;

  private:
    // Little-endian, as the file holds it.
    std::int16_t int16At(std::size_t offset) const {
        return static_cast<std::int16_t>(record_[offset] | record_[offset + 1] << 8);
    }

    // No more than the record, the two fields and x: a large drawing holds a million entries,
    // a record's offset in the file the document works out from where the record lies, and y is
    // read from the record, which whoever asks for a position reads anyway.
    std::span<const std::uint8_t, kPartRecordSize> record_;
    std::array<std::uint8_t, kReferenceSize> reference_;
    std::int32_t x_;
    std::uint8_t blockNumber_;
};
static_assert(sizeof(PartEntry) == 24);

}  // namespace wemb
