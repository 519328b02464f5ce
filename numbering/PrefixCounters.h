#pragma once
// The numbers an Autonum run hands out, per reference prefix (by prefix id): initialNumber,
// initialNumber + step, ... in the order of the requests. In locked mode the numbers that parts
// already carry are passed over.

#include <cstdint>
#include <vector>

#include "numbering/NumberRegistry.h"

namespace wemb {

class PrefixCounters {
  public:
    // `reserved` must be sealed; it is consulted only when `lockedMode` is set and must outlive
    // the counters.
    PrefixCounters(std::int64_t initialNumber, std::int64_t step, bool lockedMode,
                   const NumberRegistry& reserved);

    std::int64_t nextNumber(std::uint32_t prefix);

  private:
    struct Counter {
        std::int64_t lastNumber = 0;
        std::size_t reservedCursor = 0;  // the first reserved number not below lastNumber
        bool started = false;
    };

    void passReserved(std::uint32_t prefix, Counter& counter) const;

    std::int64_t initialNumber_;
    std::int64_t step_;
    bool lockedMode_;
    const NumberRegistry& reserved_;
    std::vector<Counter> counters_;  // by prefix id
};

}  // namespace wemb
