#pragma once
// What Autonum needs to know of each part, read once from the part records in file order into a
// compact array: the passes that follow walk the parts in position order, which on a real drawing
// has nothing to do with file order, and reading the records themselves in that order would miss
// the cache on nearly every part of a large file. Prefixes and part names become small ids, so
// the per-prefix and per-name state of a run is a plain vector.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "numbering/BlockCountLookup.h"
#include "numbering/InternTable.h"
#include "schematic/PartEntry.h"

namespace wemb {

// 24 bytes: a million of them, and the sort's second array of them, are memory a large job
// touches for the first time, which costs more than anything it does with them.
struct PartFact {
    std::uint32_t fileIndex = 0;
    std::uint32_t prefix = 0;    // id
    std::uint32_t partName = 0;  // id, kNoPartName where no other part is ever looked up by it
    std::int32_t number = 0;     // of the reference, 0 without trailing digits
    // x then y, as one key that orders like the pair (see positionKey in PartFacts.cpp).
    std::uint64_t position : 36 = 0;
    // Of the library part, at most a package's 256; 1 where no library knows it.
    std::uint64_t blocks : 9 = 1;
    std::uint64_t prefixLength : 3 = 0;  // of the reference as read, which a new number keeps
    std::uint64_t eligible : 1 = 0;      // takes part in numbering at all
    std::uint64_t hasNumber : 1 = 0;     // the reference ends with a digit
    // A few bits of the part name's hash: two parts whose bits differ bear different names.
    std::uint64_t nameBits : 14 = 0;
};
static_assert(sizeof(PartFact) == 24);

// Only multi-block parts, power-prefixed parts and the main parts that share a part name with a
// power-prefixed one are ever grouped by part name. On a large drawing most parts are none of
// these, and a name id for each would cost a look-up per part and a table the size of the
// drawing when the names are all different.
inline constexpr std::uint32_t kNoPartName = 0xffffffffU;

using PrefixIds = InternTable<std::uint64_t, IntegerKeyHash>;
// Part names hold at most 15 bytes.
using PartNameIds = InternTable<TextKey, TextKeyHash>;

struct PartFacts {
    // Each in position order; parts at the same place in file order. Power symbols are in
    // neither.
    std::vector<PartFact> mainParts;
    std::vector<PartFact> powerPrefixedParts;
    PrefixIds prefixes;  // by packed prefix
    // Part names are only ever compared, and library names only asked for their block counts,
    // so both tables are dropped once every part has what it needs of them.
};

// `dependenceNameMode` decides whether a part without a part name is eligible; `libraries`
// gives the block counts, asked once per distinct library name.
PartFacts collectPartFacts(std::span<const PartEntry> parts, bool dependenceNameMode,
                           const BlockCountLookup& libraries);

}  // namespace wemb
