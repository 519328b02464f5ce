#pragma once
// The references a numbering run has decided on, by the part's place in the file, written into
// the records in one walk in file order at the end. The decisions are made in position order;
// writing them as they are made would touch the records of a large drawing in random order.

#include <cstdint>
#include <span>
#include <vector>

#include "numbering/Prefetch.h"
#include "schematic/PartEntry.h"

namespace wemb {

class PendingReferences {
  public:
    explicit PendingReferences(std::size_t partCount);

    // The part keeps the first `prefixLength` bytes of its reference, its prefix as read.
    void setNumber(std::uint32_t fileIndex, std::size_t prefixLength, std::int64_t number);
    void setNumberAndBlock(std::uint32_t fileIndex, std::size_t prefixLength, std::int64_t number,
                           std::uint8_t block);

    // Asks for the part's decision (see Prefetch.h): the decisions are made in position order, a
    // place at random each.
    void prefetch(std::uint32_t fileIndex) const { prefetchForWrite(&decisions_[fileIndex]); }

    // Parts without a decision keep every byte.
    void writeInto(std::span<PartEntry> parts) const;

  private:
    enum class Change : std::uint8_t { None, Reference, ReferenceAndBlock };

    // One record per part, so that a decision made in position order costs one cache miss, not
    // one per field.
    struct Decision {
        std::int64_t number = 0;
        Change change = Change::None;
        std::uint8_t block = 0;
        std::uint8_t prefixLength = 0;  // a reference field holds at most 7 bytes
    };

    std::vector<Decision> decisions_;
};

}  // namespace wemb
