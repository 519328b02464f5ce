#include "app/PartChanges.h"

#include "schematic/CountedString.h"

namespace wemb {

PartChange describePart(const Document& document, const PartEntry& part) {
    PartChange change;
    change.sheet = document.sheetOf(part.fileOffset());
    change.x = part.recordX();
    change.y = part.recordY();
    change.partName = readCountedString(part.partNameField());
    change.libraryName = std::string(part.libraryName());
    change.oldReference = change.newReference = readCountedString(part.referenceField());
    change.oldBlock = change.newBlock = part.blockNumber();
    return change;
}

PartSnapshot::PartSnapshot(const Document& document) {
    before_.reserve(document.parts().size());
    for (const PartEntry& part : document.parts()) {
        before_.push_back({readCountedString(part.referenceField()), part.blockNumber()});
    }
}

std::vector<PartChange> PartSnapshot::changesIn(const Document& document) const {
    std::vector<PartChange> changes;
    const auto parts = document.parts();
    for (std::size_t i = 0; i < parts.size() && i < before_.size(); ++i) {
        const PartEntry& part = parts[i];
        const std::string reference = readCountedString(part.referenceField());
        if (reference == before_[i].reference && part.blockNumber() == before_[i].block) {
            continue;
        }
        PartChange change = describePart(document, part);
        change.oldReference = before_[i].reference;
        change.oldBlock = before_[i].block;
        changes.push_back(std::move(change));
    }
    return changes;
}

std::vector<PartChange> PartSnapshot::partsIn(const Document& document) const {
    std::vector<PartChange> rows;
    const auto parts = document.parts();
    for (std::size_t i = 0; i < parts.size() && i < before_.size(); ++i) {
        PartChange row = describePart(document, parts[i]);
        row.oldReference = before_[i].reference;
        row.oldBlock = before_[i].block;
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace wemb
