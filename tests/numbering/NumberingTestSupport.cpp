#include "tests/numbering/NumberingTestSupport.h"

#include "numbering/ReferenceField.h"

namespace wemb::test {

gen::PartSpec part(std::int16_t x, std::string reference, std::string partName,
                   std::string libraryName) {
    gen::PartSpec fields;
    fields.x = x;
    fields.reference = std::move(reference);
    fields.partName = std::move(partName);
    fields.libraryName = std::move(libraryName);
    return fields;
}

Document parseDocument(std::vector<std::uint8_t> bytes) {
    return Document::parse(std::move(bytes)).value();
}

Document makeDocument(const std::vector<gen::PartSpec>& parts) {
    gen::DataFileBuilder builder;
    builder.header();
    for (const gen::PartSpec& fields : parts) {
        builder.part(fields);
    }
    return parseDocument(builder.bytes());
}

std::vector<std::string> references(const Document& document) {
    std::vector<std::string> result;
    for (const PartEntry& entry : document.parts()) {
        result.emplace_back(referenceText(entry));
    }
    return result;
}

std::vector<int> blockNumbers(const Document& document) {
    std::vector<int> result;
    for (const PartEntry& entry : document.parts()) {
        result.push_back(entry.blockNumber());
    }
    return result;
}

std::optional<int> FakeLibraries::blockCount(std::string_view libraryName) const {
    const auto found = blockCounts_.find(libraryName);
    if (found == blockCounts_.end()) {
        return std::nullopt;
    }
    return found->second;
}

}  // namespace wemb::test
