#pragma once
// Small documents for numbering tests: parts given by their fields, read back by their
// references and block numbers.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "numbering/BlockCountLookup.h"
#include "schematic/Document.h"
#include "tools/gen/DataFileBuilder.h"

namespace wemb::test {

// A part at `x` (y 0) with the given reference, part name and library name.
gen::PartSpec part(std::int16_t x, std::string reference, std::string partName = "NAME",
                   std::string libraryName = "RES");

// One sheet holding the parts in the order given.
Document makeDocument(const std::vector<gen::PartSpec>& parts);
Document parseDocument(std::vector<std::uint8_t> bytes);

std::vector<std::string> references(const Document& document);
std::vector<int> blockNumbers(const Document& document);

class FakeLibraries final : public BlockCountLookup {
  public:
    explicit FakeLibraries(const std::map<std::string, int>& blockCounts)
        : blockCounts_(blockCounts.begin(), blockCounts.end()) {}
    std::optional<int> blockCount(std::string_view libraryName) const override;

  private:
    std::map<std::string, int, std::less<>> blockCounts_;
};

}  // namespace wemb::test
