#include "numbering/PendingReferences.h"

#include "numbering/ReferenceField.h"

namespace wemb {

PendingReferences::PendingReferences(std::size_t partCount)
    : numbers_(partCount, 0),
      blocks_(partCount, 0),
      changes_(partCount, Change::None),
      prefixLengths_(partCount, 0) {}

void PendingReferences::setNumber(std::uint32_t fileIndex, std::size_t prefixLength,
                                  std::int64_t number) {
    numbers_[fileIndex] = number;
    prefixLengths_[fileIndex] = static_cast<std::uint8_t>(prefixLength);
    changes_[fileIndex] = Change::Reference;
}

void PendingReferences::setNumberAndBlock(std::uint32_t fileIndex, std::size_t prefixLength,
                                          std::int64_t number, std::uint8_t block) {
    numbers_[fileIndex] = number;
    prefixLengths_[fileIndex] = static_cast<std::uint8_t>(prefixLength);
    blocks_[fileIndex] = block;
    changes_[fileIndex] = Change::ReferenceAndBlock;
}

void PendingReferences::writeInto(std::span<PartEntry> parts) const {
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (changes_[i] == Change::None) {
            continue;
        }
        writeReference(parts[i].referenceField(),
                       referenceText(parts[i]).substr(0, prefixLengths_[i]), numbers_[i]);
        if (changes_[i] == Change::ReferenceAndBlock) {
            parts[i].setBlockNumber(blocks_[i]);
        }
    }
}

}  // namespace wemb
