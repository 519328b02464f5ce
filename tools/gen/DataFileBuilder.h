#pragma once
// Builds schematic data files (.CE2) byte by byte for tests, examples, fuzz seeds and benchmarks.
// Every byte that the reader does not interpret is filled with a deterministic non-zero pattern,
// and so are the unused bytes of counted fields, so that a reader or writer that touches them is
// caught by a byte comparison.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace wemb::gen {

struct PartSpec {
    std::int16_t x = 0, y = 0;
    std::string partName, reference, libraryName;
    std::uint8_t block = 0;
    // The raw length byte of a counted field, when it must differ from the text's length.
    std::optional<std::uint8_t> partNameLength = std::nullopt, referenceLength = std::nullopt;
};

class DataFileBuilder {
  public:
    // A header record; every header record begins a sheet. The magic ends in $0000 or $0001.
    DataFileBuilder& header(bool magic0001 = false);
    // A part record (type 8). Texts longer than their field are cut to it.
    DataFileBuilder& part(const PartSpec& fields);
    // A record of a fixed-length type (0 to 9) made of filler bytes. Types 10 to 15, which have
    // no length, get 6 bytes, so that a file the reader must refuse can be made.
    DataFileBuilder& record(std::uint8_t type);
    // A variable-length record (type 16 or above) whose length field at offset 10 holds
    // `length`. It occupies `length` bytes, or 12 when `length` is smaller, so the length field
    // itself is always present.
    DataFileBuilder& variableRecord(std::uint8_t type, std::int16_t length);
    DataFileBuilder& raw(std::span<const std::uint8_t> bytes);

    std::vector<std::uint8_t> bytes() const { return bytes_; }

  private:
    // Appends `count` filler bytes and returns the offset of the first.
    std::size_t appendFiller(std::size_t count);

    std::vector<std::uint8_t> bytes_;
};

// The filler byte that the builder puts at `offset` of the file: never zero.
std::uint8_t fillerByte(std::size_t offset);

}  // namespace wemb::gen
