#include "numbering/PendingReferences.h"

#include "numbering/ReferenceField.h"

namespace wemb {

PendingReferences::PendingReferences(std::size_t partCount) : decisions_(partCount) {}

void PendingReferences::setNumber(std::uint32_t fileIndex, std::size_t prefixLength,
                                  std::int64_t number) {
    decisions_[fileIndex] = {number, Change::Reference, 0, static_cast<std::uint8_t>(prefixLength)};
}

void PendingReferences::setNumberAndBlock(std::uint32_t fileIndex, std::size_t prefixLength,
                                          std::int64_t number, std::uint8_t block) {
    decisions_[fileIndex] = {number, Change::ReferenceAndBlock, block,
                             static_cast<std::uint8_t>(prefixLength)};
}

void PendingReferences::writeInto(std::span<PartEntry> parts) const {
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const Decision& decision = decisions_[i];
        if (decision.change == Change::None) {
            continue;
        }
        renumberReference(parts[i].referenceField(), decision.prefixLength, decision.number);
        if (decision.change == Change::ReferenceAndBlock) {
            parts[i].setBlockNumber(decision.block);
        }
    }
}

}  // namespace wemb
