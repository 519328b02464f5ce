#pragma once
// The state of one Autonum call: its settings, the facts of the parts in position order, the
// numbers in use, the prefix counters, the open packages and the references decided on. It is
// made for the call and dropped after it, so nothing carries over from one run to the next.

#include <optional>
#include <vector>

#include "numbering/Autonum.h"
#include "numbering/NumberRegistry.h"
#include "numbering/OpenPackages.h"
#include "numbering/PartFacts.h"
#include "numbering/PendingReferences.h"
#include "numbering/PrefixCounters.h"

namespace wemb {

class AutonumRun {
  public:
    AutonumRun(const AutonumSettings& settings, const BlockCountLookup& libraries);
    AutonumRun(const AutonumRun&) = delete;
    AutonumRun& operator=(const AutonumRun&) = delete;

    // Numbers the document in three passes, each seeing what the one before decided: register
    // the numbers that exist, number the main parts, number the power-prefixed parts; then
    // writes the decisions into the records.
    void run(Document& document);

  private:
    // Parts that keep the number they carry.
    bool keepsNumber(const PartFact& part) const;
    void registerNumbers(const std::vector<PartFact>& parts);
    void numberMainPart(PartFact& part);
    void numberPowerPrefixedParts();

    AutonumSettings settings_;
    const BlockCountLookup& libraries_;
    PartFacts parts_;
    NumberRegistry registry_;
    PrefixCounters counters_;
    OpenPackages packages_;
    std::optional<PendingReferences> pending_;
};

}  // namespace wemb
