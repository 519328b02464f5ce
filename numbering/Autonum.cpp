#include "numbering/Autonum.h"

namespace wemb {

void autonum(Document&, const AutonumSettings&, const BlockCountLookup&) {}

}  // namespace wemb
