#pragma once
// What Autonum needs to know of each part, read once from the part records in file order into a
// compact array: the passes that follow walk the parts in position order, which on a real drawing
// has nothing to do with file order, and reading the records themselves in that order would miss
// the cache on nearly every part of a large file. Prefixes, part names and library names become
// small ids, so the per-prefix and per-name state of a run is a plain vector.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "numbering/InternTable.h"
#include "schematic/PartEntry.h"

namespace wemb {

struct PartFact {
    std::uint64_t position = 0;  // x then y, as one key that orders like the pair
    std::uint32_t fileIndex = 0;
    std::uint32_t prefix = 0;    // id
    std::uint32_t partName = 0;  // id
    std::uint32_t library = 0;   // id of the library name
    std::int32_t number = 0;     // of the reference, 0 without trailing digits
    bool eligible = false;       // takes part in numbering at all
    bool hasNumber = false;      // the reference ends with a digit
};

using PrefixIds = InternTable<std::uint64_t, IntegerKeyHash>;
using NameIds = InternTable<std::string_view, BytesKeyHash>;
// Part names hold at most 15 bytes.
using PartNameIds = InternTable<ShortText, ShortTextHash>;

struct PartFacts {
    // Each in position order; parts at the same place in file order. Power symbols are in
    // neither.
    std::vector<PartFact> mainParts;
    std::vector<PartFact> powerPrefixedParts;
    PrefixIds prefixes;    // by packed prefix
    NameIds libraryNames;  // views into the document's buffer
    // Part names are only ever compared, so their table is dropped once every part has its id.
};

// `dependenceNameMode` decides whether a part without a part name is eligible. The views in the
// result point into the records, so the document must outlive it and its part names and library
// names must not change meanwhile.
PartFacts collectPartFacts(std::span<const PartEntry> parts, bool dependenceNameMode);

}  // namespace wemb
