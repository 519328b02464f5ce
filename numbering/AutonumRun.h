#pragma once
// The state of one Autonum call: its settings, the facts of the parts in position order, the
// numbers in use, the prefix counters and the open packages. It is made for the call and dropped
// after it, so nothing carries over from one run to the next.

#include <span>
#include <vector>

#include "numbering/Autonum.h"
#include "numbering/NumberRegistry.h"
#include "numbering/OpenPackages.h"
#include "numbering/PartFacts.h"
#include "numbering/PrefixCounters.h"

namespace wemb {

class AutonumRun {
  public:
    AutonumRun(const AutonumSettings& settings, const BlockCountLookup& libraries);
    AutonumRun(const AutonumRun&) = delete;
    AutonumRun& operator=(const AutonumRun&) = delete;

    // Numbers the document in three passes, each seeing what the one before decided: register
    // the numbers that exist, number the main parts, number the power-prefixed parts. Each
    // decision goes into the part's entry as it is made.
    void run(Document& document);

  private:
    // Parts that keep the number they carry.
    bool keepsNumber(const PartFact& part) const;
    void registerNumbers(const std::vector<PartFact>& parts);
    void numberMainPart(PartFact& part);
    void numberPowerPrefixedParts();
    // The parts are numbered in position order, their entries lie in file order: each entry is
    // asked for a few parts ahead of its decision (see Prefetch.h).
    void prefetchEntryOf(const PartFact& part) const;

    AutonumSettings settings_;
    const BlockCountLookup& libraries_;
    PartFacts parts_;
    NumberRegistry registry_;
    PrefixCounters counters_;
    OpenPackages packages_;
    std::span<PartEntry> entries_;  // the document's, by file index
};

}  // namespace wemb
