#pragma once
// Builds binary part libraries in memory, from components (prefix, size, block count, pins,
// optional bitmap) and the entries that name them; entries naming one component are aliases.
// The result records where every table and record went, so that a test can break one of them
// on purpose.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wemb::gen {

struct BinaryPin {
    std::uint16_t attributes = 0;
    std::optional<std::string> name;  // none: name offset 0xFFFF
    // Written as the length byte instead of the name's own length (e.g. 0x45, or 0xFF).
    std::optional<std::uint8_t> nameLengthByte;
    // One pin-number word per block: missing words are 0, extra words are dropped.
    std::vector<std::uint16_t> numbers;
};

struct BinaryBitmap {
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::vector<std::uint8_t> rows;  // height rows of (width + 7) / 8 bytes; short is zero-filled
};

struct BinaryComponent {
    std::string prefix = "U";
    std::uint8_t width = 2;
    std::uint8_t height = 2;
    std::uint8_t blockCount = 1;
    std::uint8_t sideFlags = 0;  // bits 12-15 of the pin word: 0x8 side 0 ... 0x1 side 3
    std::vector<BinaryPin> pins;
    std::optional<BinaryBitmap> bitmap;
    // Where the record goes in the component area; none: right after the previous record.
    std::optional<std::uint16_t> areaOffset;
};

// Pass as the component of an entry to write 0xFFFF in the component table.
inline constexpr int kNoComponent = -1;

// Positions in the built file (absolute, counted from its first byte).
struct BinaryLibraryLayout {
    std::uint32_t nameTable = 0;
    std::uint32_t componentTable = 0;
    std::uint32_t componentArea = 0;
    std::uint32_t patternTable = 0;
    std::uint32_t bitmapArea = 0;
    std::uint32_t stringPool = 0;
    std::vector<std::uint32_t> components;  // record of each component
};

struct BuiltBinaryLibrary {
    std::vector<std::uint8_t> bytes;
    BinaryLibraryLayout layout;

    void putU8(std::size_t position, std::uint8_t value);
    void putU16(std::size_t position, std::uint16_t value);
    void putU32(std::size_t position, std::uint32_t value);
};

class BinaryLibraryBuilder {
  public:
    // Returns the component's number, for addEntry.
    int addComponent(BinaryComponent component);
    BinaryLibraryBuilder& addEntry(std::string name, int component);
    // Bytes appended after the last block, to reach a size.
    BinaryLibraryBuilder& pad(std::size_t trailingBytes);

    BuiltBinaryLibrary build() const;
    std::vector<std::uint8_t> bytes() const { return build().bytes; }
    std::size_t size() const { return build().bytes.size(); }

  private:
    struct Entry {
        std::string name;
        int component;
    };
    std::vector<BinaryComponent> components_;
    std::vector<Entry> entries_;
    std::size_t trailingBytes_ = 0;
};

// A small example: LM324 (quad op-amp, prefix "IC", 4 blocks) with the alias LM2902, a
// resistor "R" and a capacitor "C".
BinaryLibraryBuilder exampleBinaryLibrary();

// A library of exactly 65,589 bytes, the most a binary library may hold: quad op-amps named
// `namePrefix` and a number, each with its own record.
std::vector<std::uint8_t> largestBinaryLibrary(std::string_view namePrefix);

}  // namespace wemb::gen
