#include "numbering/Autonum.h"

#include "numbering/AutonumRun.h"

namespace wemb {

void autonum(Document& document, const AutonumSettings& settings,
             const BlockCountLookup& libraries) {
    if (document.parts().empty()) {
        return;
    }
    AutonumRun run(settings, libraries);
    run.run(document);
}

}  // namespace wemb
