#pragma once
// The state of one Autonum call: its settings, the two lists of parts, the numbers in use, the
// prefix counters and the open packages. It is made for the call and dropped after it, so
// nothing carries over from one run to the next.

#include "numbering/Autonum.h"
#include "numbering/NumberRegistry.h"
#include "numbering/OpenPackages.h"
#include "numbering/PartCollection.h"
#include "numbering/PrefixCounters.h"

namespace wemb {

class AutonumRun {
  public:
    AutonumRun(const AutonumSettings& settings, const BlockCountLookup& libraries);
    AutonumRun(const AutonumRun&) = delete;
    AutonumRun& operator=(const AutonumRun&) = delete;

    // Numbers the document in three passes, each seeing what the one before wrote: register
    // the numbers that exist, number the main parts, number the power-prefixed parts.
    void run(Document& document);

  private:
    bool isEligible(const PartEntry& part) const;
    // Parts that keep the number they carry.
    bool keepsNumber(const PartEntry& part) const;
    void registerNumbers(const std::vector<PartEntry*>& parts);
    void numberMainPart(PartEntry& part);
    void numberPowerPrefixedParts();

    AutonumSettings settings_;
    const BlockCountLookup& libraries_;
    PartCollection parts_;
    NumberRegistry registry_;
    PrefixCounters counters_;
    OpenPackages packages_;
};

}  // namespace wemb
