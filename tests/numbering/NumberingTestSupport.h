#pragma once
// Small drawings for numbering tests, written and read back as one line of text.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "numbering/BlockCountLookup.h"
#include "schematic/Document.h"
#include "tools/gen/DataFileBuilder.h"

namespace wemb::test {

// One sheet of parts in file order, each "REF[,NAME[,LIBRARY]][@X][#BLOCK]": name "NAME",
// library "RES", x 10 times its place (from 1) and block `block` unless given. "~" is an empty
// field; "R5!200" gives the field the length byte 200.
Document drawing(std::string_view parts, std::uint8_t block = 7);
Document parseDocument(std::vector<std::uint8_t> bytes);

// The references in file order, each followed by "#BLOCK" unless its block number is 0.
std::string shown(const Document& document);

class FakeLibraries final : public BlockCountLookup {
  public:
    explicit FakeLibraries(const std::map<std::string, int>& blockCounts)
        : blockCounts_(blockCounts.begin(), blockCounts.end()) {}
    std::optional<int> blockCount(std::string_view libraryName) const override;

  private:
    std::map<std::string, int, std::less<>> blockCounts_;
};

}  // namespace wemb::test
