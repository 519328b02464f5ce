#pragma once
// The in-memory form of one part library file, filled by either the binary reader or the text
// (.LB3) reader. Numbering reads only entry names and the block count of the part an entry names;
// everything else is read, validated and kept so that a broken library is noticed.
//
// Ownership runs downward: a Library owns its parts, patterns and entries; an entry borrows its
// part (aliases share one part); a part borrows its pattern and owns its pins and bitmap.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "library/NameArena.h"

namespace wemb {

// One bit per pixel; rows padded to whole 16-bit words. Only the rows that hold a set bit are
// kept, each up to its last non-zero byte: rows and bytes not kept read as zero, so a hostile size
// costs no memory, and what a bitmap holds is never more than the bytes that described it.
class PatternBitmap {
  public:
    PatternBitmap(std::uint16_t width, std::uint16_t height);

    std::uint16_t width() const { return width_; }
    std::uint16_t height() const { return height_; }
    // Bytes of pixel data in a row: (width + 7) / 8.
    std::size_t dataBytesPerRow() const { return (std::size_t{width_} + 7) / 8; }

    // Makes this an empty bitmap of the given size, keeping the room it had.
    void reset(std::uint16_t width, std::uint16_t height);
    // Room for `rows` kept rows holding `bytes` bytes in all, when a reader knows them.
    void reserve(std::size_t rows, std::size_t bytes);
    // Stores row `row` as `bytes`: bytes past the row's whole 16-bit words are dropped, missing
    // ones are 0. Readers store each row once, top row first.
    void storeRow(std::size_t row, std::span<const std::uint8_t> bytes);
    // The rows kept: those with a non-zero byte.
    std::size_t storedRows() const { return rows_.size(); }
    // Kept row `position` (below storedRows()), in increasing row order: its row number and its
    // bytes up to its last non-zero one. Rows and bytes not kept are zero.
    struct KeptRow {
        std::size_t row;
        std::span<const std::uint8_t> bytes;
    };
    KeptRow keptRow(std::size_t position) const;
    // The bytes of pixel data kept, over all rows.
    std::size_t bytesHeld() const { return data_.size(); }

  private:
    struct StoredRow {
        std::uint32_t row;
        std::uint32_t offset;  // into data_; the row ends where the next one starts
    };

    std::uint16_t width_;
    std::uint16_t height_;
    std::size_t stride_;
    std::vector<StoredRow> rows_;  // increasing row numbers
    std::vector<std::uint8_t> data_;
};

class LibraryPin {
  public:
    // Bits 0-15 offset along the side, 16-17 side (L, T, R, B), 28/30/31 type flags S, C, N.
    std::uint32_t attributes = 0;

    // Nothing until a name is stored.
    std::optional<std::string_view> name() const;

    // One slot per block; a slot holds "+" or "-" and the pin's number in that block.
    int numberCount() const { return slotCount_; }
    // Slot `index`; nothing for a slot not filled or an index out of range.
    std::optional<std::string> number(int index) const;

    // Makes `count` empty slots, before any is filled.
    void allocNumbers(int count) { slotCount_ = count; }
    // Stores a pin name: a backslash followed by a non-zero byte stands for that byte with bit 7
    // set; a trailing backslash (or one before a zero byte) is a plain backslash. At most 255
    // bytes are kept, and a zero byte ends the name.
    void setName(std::string_view text);
    // Fills the next empty slot with "+"/"-" and `text` (up to its first zero byte). Readers fill
    // the slots in block order, and no more of them than numberCount().
    void addNumber(bool plus, std::string_view text);

    // The bytes that hold the name and the slots, for what a library costs in memory.
    std::size_t textBytesHeld() const { return text_.capacity(); }

  private:
    std::size_t slotsBegin() const { return nameBytes_ < 0 ? 0 : std::size_t(nameBytes_); }

    std::int32_t slotCount_ = 0;
    // Slots are held only up to the last one filled, so that a hostile block count costs no
    // memory: slots past them read as empty.
    std::int32_t storedSlots_ = 0;
    std::int16_t nameBytes_ = -1;  // -1 while there is no name
    // The name, then the slots back to back: a library holds about a million pins, and the name
    // and the few short numbers of most of them fit in the string's own room, with no
    // allocation of their own.
    std::string text_;
};

struct LibraryPattern {
    std::string name;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::unique_ptr<PatternBitmap> bitmap;
};

struct LibraryPart {
    std::optional<std::string> prefix;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t blockCount = 1;
    std::unique_ptr<PatternBitmap> bitmap;    // binary libraries
    const LibraryPattern* pattern = nullptr;  // text libraries; owned by the library
    std::uint32_t sideMask = 0;               // 1 side 0, 2 side 1, 4 side 2, 8 side 3
    std::vector<LibraryPin> pins;

    int pinCount() const { return static_cast<int>(pins.size()); }
};

struct LibraryEntry {
    std::string_view name;              // held by the library's name arena
    const LibraryPart* part = nullptr;  // borrowed; null only for a binary entry with no record

    int blockCount() const { return part ? part->blockCount : 0; }
};

class Library {
  public:
    Library() = default;
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    // Set once a load succeeded.
    const std::optional<std::string>& path() const { return path_; }
    void setPath(std::string path) { path_ = std::move(path); }

    int entryCount() const { return static_cast<int>(entries_.size()); }
    // Entry `index` in index order, or null when out of range. A binary library may hold an
    // entry without a part (its file names no record for it); lookups pass such entries over.
    const LibraryEntry* getEntry(int index) const;
    std::span<const LibraryEntry> entries() const { return entries_; }

    // Readers build the library through these; returned pointers stay valid for its life.
    LibraryPart& addPart(std::unique_ptr<LibraryPart> part);
    LibraryPattern& addPattern(std::unique_ptr<LibraryPattern> pattern);
    // The library keeps its own copy of `name`.
    LibraryEntry& addEntry(std::string_view name, const LibraryPart* part);

    std::span<const std::unique_ptr<LibraryPart>> parts() const { return parts_; }
    std::span<const std::unique_ptr<LibraryPattern>> patterns() const { return patterns_; }

  private:
    std::optional<std::string> path_;
    std::vector<std::unique_ptr<LibraryPart>> parts_;        // order of first use / file order
    std::vector<std::unique_ptr<LibraryPattern>> patterns_;  // file order
    NameArena names_;                                        // the bytes of the entry names
    std::vector<LibraryEntry> entries_;                      // index order
};

}  // namespace wemb
