#include "app/PartChanges.h"

#include "schematic/CountedString.h"

namespace wemb {

PartRow describePart(const Document& document, const PartEntry& part) {
    PartRow change;
    change.sheet = document.sheetOf(document.offsetOf(part));
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

std::vector<PartRow> PartSnapshot::changesIn(const Document& document) const {
    std::vector<PartRow> changes;
    const auto parts = document.parts();
    for (std::size_t i = 0; i < parts.size() && i < before_.size(); ++i) {
        const PartEntry& part = parts[i];
        const std::string reference = readCountedString(part.referenceField());
        if (reference == before_[i].reference && part.blockNumber() == before_[i].block) {
            continue;
        }
        PartRow change = describePart(document, part);
        change.oldReference = before_[i].reference;
        change.oldBlock = before_[i].block;
        changes.push_back(std::move(change));
    }
    return changes;
}

std::vector<PartRow> PartSnapshot::partsIn(const Document& document) const {
    std::vector<PartRow> rows;
    const auto parts = document.parts();
    for (std::size_t i = 0; i < parts.size() && i < before_.size(); ++i) {
        PartRow row = describePart(document, parts[i]);
        row.oldReference = before_[i].reference;
        row.oldBlock = before_[i].block;
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace wemb
