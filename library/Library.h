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

namespace wemb {

// One bit per pixel; rows padded to whole 16-bit words. Only the rows that a reader stored are
// held: rows past them read as zero, so a hostile size costs no memory.
class PatternBitmap {
  public:
    PatternBitmap(std::uint16_t width, std::uint16_t height);

    std::uint16_t width() const { return width_; }
    std::uint16_t height() const { return height_; }
    // ((width + 15) / 16) * 2 bytes per stored row.
    std::size_t stride() const { return stride_; }
    // Bytes of pixel data in a row: (width + 7) / 8.
    std::size_t dataBytesPerRow() const { return (std::size_t{width_} + 7) / 8; }

    // Row `row` for writing; rows up to it are made (zero-filled) on demand.
    std::span<std::uint8_t> mutableRow(std::size_t row);
    // Byte `column` of row `row`, zero for rows never stored.
    std::uint8_t byteAt(std::size_t row, std::size_t column) const;
    std::size_t storedRows() const { return stride_ == 0 ? 0 : data_.size() / stride_; }

  private:
    std::uint16_t width_;
    std::uint16_t height_;
    std::size_t stride_;
    std::vector<std::uint8_t> data_;
};

struct LibraryPin {
    // Bits 0-15 offset along the side, 16-17 side (L, T, R, B), 28/30/31 type flags S, C, N.
    std::uint32_t attributes = 0;
    std::optional<std::string> name;

    // One slot per block; a slot holds "+" or "-" and the pin's number in that block.
    int numberCount() const { return slotCount_.value_or(0); }
    // Slot `index`; nothing for an empty slot or an index out of range.
    std::optional<std::string> number(int index) const;

    // Makes `count` empty slots, once: later calls change nothing.
    void allocNumbers(int count);
    // Stores a pin name: a backslash followed by a non-zero byte stands for that byte with bit 7
    // set; a trailing backslash (or one before a zero byte) is a plain backslash. At most 255
    // bytes are kept, and a zero byte ends the name.
    void setName(std::string_view text);
    // Stores "+"/"-" and `text` (up to its first zero byte) in slot `index`; out of range does
    // nothing.
    void setNumber(int index, bool plus, std::string_view text);
    void clearNumber(int index);

  private:
    // Slots are stored only up to the last one written, so that a hostile block count costs
    // no memory: slots past them read as empty.
    std::optional<int> slotCount_;
    std::vector<std::optional<std::string>> numbers_;
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
    std::string name;
    const LibraryPart* part = nullptr;  // borrowed; null only for a binary entry with no record

    int getBlockCount() const { return part ? part->blockCount : 0; }
};

class Library {
  public:
    Library() = default;
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    // Set once a load succeeded.
    const std::optional<std::string>& path() const { return path_; }
    void setPath(std::string path) { path_ = std::move(path); }

    int getEntryCount() const { return static_cast<int>(entries_.size()); }
    // Entry `index` in index order, or null when out of range. A binary library may hold an
    // entry without a part (its file names no record for it); lookups pass such entries over.
    const LibraryEntry* getEntry(int index) const;
    std::span<const LibraryEntry> entries() const { return entries_; }

    // Readers build the library through these; returned pointers stay valid for its life.
    LibraryPart& addPart(std::unique_ptr<LibraryPart> part);
    LibraryPattern& addPattern(std::unique_ptr<LibraryPattern> pattern);
    LibraryEntry& addEntry(std::string name, const LibraryPart* part);
    // The first pattern of this name, in file order.
    const LibraryPattern* findPattern(std::string_view name) const;
    // The first entry of this name that has a part, in index order.
    const LibraryEntry* findEntry(std::string_view name) const;

    std::span<const std::unique_ptr<LibraryPart>> parts() const { return parts_; }
    std::span<const std::unique_ptr<LibraryPattern>> patterns() const { return patterns_; }

  private:
    std::optional<std::string> path_;
    std::vector<std::unique_ptr<LibraryPart>> parts_;        // order of first use / file order
    std::vector<std::unique_ptr<LibraryPattern>> patterns_;  // file order
    std::vector<LibraryEntry> entries_;                      // index order
};

}  // namespace wemb
