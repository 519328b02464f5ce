#pragma once
// Order-preserving renumbering: within each reference prefix the parts keep the order of their
// old numbers and receive initialNumber, initialNumber + step, ... Parts that shared an old
// number share the new one.

#include "schematic/Document.h"

namespace wemb {

// Renumbers the document in place: only `reference` bytes of part records change.
void reNum(Document& document, int initialNumber, int step);

}  // namespace wemb
