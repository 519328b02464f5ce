#include "tests/numbering/NumberingTestSupport.h"

#include <sstream>

#include "numbering/ReferenceField.h"

namespace wemb::test {
namespace {

// Cuts `text` at the first `mark`, returning what follows it (nothing when absent).
std::optional<std::string> cutAt(std::string& text, char mark) {
    const std::size_t at = text.find(mark);
    if (at == std::string::npos) {
        return std::nullopt;
    }
    std::string tail = text.substr(at + 1);
    text.resize(at);
    return tail;
}

std::string field(std::string text, std::optional<std::uint8_t>& length) {
    if (const auto raw = cutAt(text, '!')) {
        length = static_cast<std::uint8_t>(std::stoi(*raw));
    }
    return text == "~" ? "" : text;
}

}  // namespace

Document drawing(std::string_view parts, std::uint8_t block) {
    gen::DataFileBuilder builder;
    builder.header();
    std::istringstream tokens{std::string(parts)};
    std::string token;
    for (int place = 1; tokens >> token; ++place) {
        gen::PartSpec fields{.x = static_cast<std::int16_t>(10 * place), .block = block};
        if (const auto given = cutAt(token, '#')) {
            fields.block = static_cast<std::uint8_t>(std::stoi(*given));
        }
        if (const auto x = cutAt(token, '@')) {
            fields.x = static_cast<std::int16_t>(std::stoi(*x));
        }
        std::string rest = token;
        const auto name = cutAt(rest, ',');
        std::string nameText = name.value_or("NAME");
        const auto library = cutAt(nameText, ',');
        fields.reference = field(rest, fields.referenceLength);
        fields.partName = field(nameText, fields.partNameLength);
        fields.libraryName = library.value_or("RES");
        builder.part(fields);
    }
    return parseDocument(builder.bytes());
}

Document parseDocument(std::vector<std::uint8_t> bytes) {
    return Document::parse(std::move(bytes)).value();
}

std::string shown(const Document& document) {
    std::string text;
    for (const PartEntry& entry : document.parts()) {
        const std::string_view reference = referenceText(entry);
        if (!text.empty()) {
            text += ' ';
        }
        text += reference.empty() ? "~" : reference;
        if (entry.blockNumber() != 0) {
            text += '#';
            text += std::to_string(entry.blockNumber());
        }
    }
    return text;
}

std::optional<int> FakeLibraries::blockCount(std::string_view libraryName) const {
    const auto found = blockCounts_.find(libraryName);
    if (found == blockCounts_.end()) {
        return std::nullopt;
    }
    return found->second;
}

}  // namespace wemb::test
