#pragma once
// One loaded schematic data file (.CE2): the whole file in one buffer, one PartEntry per part
// record, and where each sheet starts. Numbering changes the part records in place; every other
// byte is written back exactly as it was read.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "reading/ReadResult.h"
#include "schematic/PartEntry.h"

namespace wemb {

inline constexpr int kMaxSheets = 63;
inline constexpr std::int32_t kSheetXOffset = 5000;

class Document {
  public:
    // Walks the records of a whole file. On failure nothing of the bytes is kept, and the error
    // names the record that broke the walk; its file name is left for the caller to fill in.
    static ReadResult<Document> parse(std::vector<std::uint8_t> bytes);

    Document(Document&&) noexcept = default;
    Document& operator=(Document&&) noexcept = default;
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    std::span<PartEntry> parts() { return parts_; }
    std::span<const PartEntry> parts() const { return parts_; }

    int sheetCount() const { return static_cast<int>(sheetStarts_.size()) - 1; }
    // The bytes of sheet `index` (0-based): from its header record to the next one.
    std::span<const std::uint8_t> sheet(int index) const;
    // Where a part's record begins in the file.
    std::size_t offsetOf(const PartEntry& part) const {
        return static_cast<std::size_t>(part.record().data() - buffer_.data());
    }
    // The 0-based sheet that holds the byte at `fileOffset`.
    int sheetOf(std::size_t fileOffset) const;

    // The file a sheet is written to: the file name itself for sheet 0, "NAME-01" and so on
    // for the further sheets.
    static std::string sheetFileName(const std::string& fileName, int index);

  private:
    Document() = default;

    std::vector<std::uint8_t> buffer_;
    std::vector<PartEntry> parts_;          // point into buffer_, which never moves after parse
    std::vector<std::size_t> sheetStarts_;  // sheetCount() starts, then the end of the last
};

}  // namespace wemb
