#pragma once
// Drawings built in memory for the check tests, and a library lookup given as a table.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "numbering/BlockCountLookup.h"
#include "schematic/Document.h"
#include "tools/gen/DataFileBuilder.h"

namespace wemb::testing {

// The block counts of library names; a name not in the table is not found.
class TableLibraries final : public BlockCountLookup {
  public:
    explicit TableLibraries(std::map<std::string, int> counts) : counts_(std::move(counts)) {}
    std::optional<int> blockCount(std::string_view libraryName) const override {
        const auto found = counts_.find(std::string(libraryName));
        if (found == counts_.end()) {
            return std::nullopt;
        }
        return found->second;
    }

  private:
    std::map<std::string, int> counts_;
};

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

inline Document drawing(const std::vector<std::vector<gen::PartSpec>>& sheets) {
    return std::move(*Document::parse(drawingBytes(sheets)).document);
}

}  // namespace wemb::testing
