#pragma once
// Small drawings for numbering tests, written and read back as one line of text.

#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "numbering/BlockCountLookup.h"
#include "numbering/ReferenceField.h"
#include "schematic/Document.h"
#include "tools/gen/DataFileBuilder.h"

namespace wemb::test {

inline Document parseDocument(std::vector<std::uint8_t> bytes) {
    return Document::parse(std::move(bytes)).value();
}

// "TEXT!N" is TEXT with the length byte N; "~" is the empty text.
inline std::string field(const std::string& text, std::optional<std::uint8_t>& length) {
    const std::size_t mark = text.find('!');
    if (mark != std::string::npos) {
        length = static_cast<std::uint8_t>(std::stoi(text.substr(mark + 1)));
    }
    return text.substr(0, mark) == "~" ? "" : text.substr(0, mark);
}

// One sheet of parts in file order, each "REF[,NAME[,LIBRARY]][@X][#BLOCK]": name "NAME",
// library "RES", x 10 times its place (from 1) and block `block` unless given.
inline Document drawing(const std::string& parts, std::uint8_t block = 7) {
    const std::regex kPart(R"(([^,@#]*)(?:,([^,@#]*))?(?:,([^@#]*))?(?:@(\d+))?(?:#(\d+))?)");
    gen::DataFileBuilder builder;
    builder.header();
    std::istringstream tokens(parts);
    std::string token;
    for (int place = 1; tokens >> token; ++place) {
        std::smatch got;
        std::regex_match(token, got, kPart);
        gen::PartSpec fields{
            .x = static_cast<std::int16_t>(got[4].matched ? std::stoi(got[4]) : 10 * place),
            .libraryName = got[3].matched ? got[3].str() : "RES",
            .block = static_cast<std::uint8_t>(got[5].matched ? std::stoi(got[5]) : block)};
        fields.reference = field(got[1], fields.referenceLength);
        fields.partName = field(got[2].matched ? got[2].str() : "NAME", fields.partNameLength);
        builder.part(fields);
    }
    return parseDocument(builder.bytes());
}

// The references in file order, each followed by "#BLOCK" unless its block number is 0.
inline std::string shown(const Document& document) {
    std::string text;
    for (const PartEntry& entry : document.parts()) {
        text += text.empty() ? "" : " ";
        text += referenceText(entry).empty() ? "~" : std::string(referenceText(entry));
        text.append(entry.blockNumber() != 0 ? "#" : "");
        text.append(entry.blockNumber() != 0 ? std::to_string(entry.blockNumber()) : "");
    }
    return text;
}

struct FakeLibraries final : BlockCountLookup {
    explicit FakeLibraries(const std::map<std::string, int>& blockCounts) : counts(blockCounts) {}
    std::optional<int> blockCount(std::string_view libraryName) const override {
        ++askings;
        const auto found = counts.find(std::string(libraryName));
        return found == counts.end() ? std::nullopt : std::optional(found->second);
    }
    std::map<std::string, int> counts;
    mutable int askings = 0;  // block counts asked for
};

}  // namespace wemb::test
