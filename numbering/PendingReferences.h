#pragma once
// The references a numbering run has decided on, by the part's place in the file, written into
// the records in one walk in file order at the end. The decisions are made in position order;
// writing them as they are made would touch the records of a large drawing in random order.

#include <cstdint>
#include <span>
#include <vector>

#include "schematic/PartEntry.h"

namespace wemb {

class PendingReferences {
  public:
    explicit PendingReferences(std::size_t partCount);

    // The part keeps the first `prefixLength` bytes of its reference, its prefix as read.
    void setNumber(std::uint32_t fileIndex, std::size_t prefixLength, std::int64_t number);
    void setNumberAndBlock(std::uint32_t fileIndex, std::size_t prefixLength, std::int64_t number,
                           std::uint8_t block);

    // Parts without a decision keep every byte.
    void writeInto(std::span<PartEntry> parts) const;

  private:
    enum class Change : std::uint8_t { None, Reference, ReferenceAndBlock };

    std::vector<std::int64_t> numbers_;
    std::vector<std::uint8_t> blocks_;
    std::vector<Change> changes_;
    std::vector<std::uint8_t> prefixLengths_;  // a reference field holds at most 7 bytes
};

}  // namespace wemb
