#pragma once
// Position-ordered numbering, in its two modes: Autonum-LockedMode numbers only the parts that
// have no number yet and keeps the numbers that exist; Autonum-Original numbers every part afresh.

#include "numbering/BlockCountLookup.h"
#include "schematic/Document.h"

namespace wemb {

struct AutonumSettings {
    int initialNumber = 1;  // 1 to 1000
    int step = 1;           // 1 to 20
    bool lockedMode = true;
    bool dependenceNameMode = false;  // parts without a part name are not processed
};

// Numbers the document in place: only `reference` and `blockNumber` bytes of part records change.
void autonum(Document& document, const AutonumSettings& settings,
             const BlockCountLookup& libraries);

}  // namespace wemb
