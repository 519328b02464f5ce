#pragma once
// Drawings built in memory for the check tests, and a library lookup given as a table.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "numbering/BlockCountLookup.h"
#include "schematic/Document.h"
#include "tools/gen/DataFileBuilder.h"

namespace wemb::testing {

// The block counts of library names; a name not in the table is not found.
struct TableLibraries final : BlockCountLookup {
    explicit TableLibraries(std::map<std::string, int> table) : counts(std::move(table)) {}
    std::optional<int> blockCount(std::string_view libraryName) const override {
        const auto found = counts.find(std::string(libraryName));
        return found == counts.end() ? std::nullopt : std::optional<int>(found->second);
    }
    std::map<std::string, int> counts;
};

inline std::vector<std::string> split(std::string_view text, std::string_view separator) {
    std::vector<std::string> pieces;
    for (std::size_t start = 0, end = 0; end != text.npos; start = end + separator.size()) {
        end = text.find(separator, start);
        pieces.emplace_back(text.substr(start, end - start));
    }
    return pieces;
}

// A drawing written as a table row: sheets apart by " | ", parts by ", ", and each part as
// reference/part name/library/block, where a missing part name is 10k, a missing library R and
// a missing block 0. Parts stand 100 apart from left to right, at y 200.
inline std::vector<std::vector<gen::PartSpec>> sheets(std::string_view text) {
    std::vector<std::vector<gen::PartSpec>> result;
    for (const std::string& sheet : split(text, " | ")) {
        auto& parts = result.emplace_back();
        for (const std::string& part : split(sheet, ", ")) {
            std::vector<std::string> f = split(part, "/");
            f.resize(4);
            parts.push_back(
                {.x = static_cast<std::int16_t>(100 * parts.size() + 100),
                 .y = 200,
                 .partName = part.find('/') != part.npos ? f[1] : "10k",
                 .reference = f[0],
                 .libraryName = f[2].empty() ? "R" : f[2],
                 .block = static_cast<std::uint8_t>(f[3].empty() ? 0 : std::stoi(f[3]))});
        }
    }
    return result;
}

// One sheet per inner vector, in order.
inline std::vector<std::uint8_t> drawingBytes(
    const std::vector<std::vector<gen::PartSpec>>& sheets) {
    gen::DataFileBuilder builder;
    for (const auto& sheet : sheets) {
        builder.header();
        for (const gen::PartSpec& part : sheet) {
            builder.part(part);
        }
    }
    return builder.bytes();
}

inline Document drawing(const std::vector<std::vector<gen::PartSpec>>& parts) {
    return Document::parse(drawingBytes(parts)).value();
}

}  // namespace wemb::testing
