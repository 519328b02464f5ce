#pragma once
// One loaded schematic data file (.CE2): the whole file's bytes as read, one PartEntry per part
// record, and where each sheet starts. Numbering changes the references and block numbers the
// entries hold; written back, they are laid over the part records, and every other byte is
// written exactly as it was read. The bytes are never written to, so they may be a read-only
// mapping of the file itself.

#include <cstdint>
#include <functional>
#include <memory>
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
    // The same over bytes the document does not own, which stay valid as long as `keeper` lives
    // (a mapping of the file, say).
    static ReadResult<Document> parse(std::span<const std::uint8_t> bytes,
                                      std::shared_ptr<const void> keeper);

    Document(Document&&) noexcept = default;
    Document& operator=(Document&&) noexcept = default;
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    std::span<PartEntry> parts() { return parts_; }
    std::span<const PartEntry> parts() const { return parts_; }

    int sheetCount() const { return static_cast<int>(sheetStarts_.size()) - 1; }
    // The bytes of sheet `index` (0-based), from its header record to the next one, as they now
    // stand. The sheets lie end to end in one copy of the whole file, made when first asked for
    // and brought up to date on each call; the save streams the sheets instead (writeSheet).
    std::span<const std::uint8_t> sheet(int index) const;
    // Sends the bytes of sheet `index` as they now stand to `write`, a piece at a time, so that no
    // copy of the whole file is made; stops at the first piece `write` refuses. True when every
    // piece was taken.
    bool writeSheet(int index,
                    const std::function<bool(std::span<const std::uint8_t>)>& write) const;
    // Where a part's record begins in the file.
    std::size_t offsetOf(const PartEntry& part) const {
        return static_cast<std::size_t>(part.record().data() - bytes_.data());
    }
    // The 0-based sheet that holds the byte at `fileOffset`.
    int sheetOf(std::size_t fileOffset) const;

    // The file a sheet is written to: the file name itself for sheet 0, "NAME-01" and so on
    // for the further sheets.
    static std::string sheetFileName(const std::string& fileName, int index);

  private:
    Document() = default;
    static ReadResult<Document> walk(Document document);

    std::vector<std::uint8_t> owned_;     // the bytes, when the document holds them itself
    std::shared_ptr<const void> keeper_;  // or what keeps them valid
    std::span<const std::uint8_t> bytes_;
    std::vector<PartEntry> parts_;               // point into bytes_, which never move
    std::vector<std::size_t> sheetStarts_;       // sheetCount() starts, then the end of the last
    mutable std::vector<std::uint8_t> current_;  // see sheet()
};

}  // namespace wemb
