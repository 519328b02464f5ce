#pragma once
// The numbers an Autonum run hands out, per reference prefix: initialNumber, initialNumber +
// step, ... in the order of the requests. In locked mode the numbers that parts already carry
// are passed over.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "numbering/NumberRegistry.h"

namespace wemb {

class PrefixCounters {
  public:
    // `reserved` is consulted only when `lockedMode` is set; it must outlive the counters.
    PrefixCounters(std::int64_t initialNumber, std::int64_t step, bool lockedMode,
                   const NumberRegistry& reserved);

    std::int64_t nextNumber(std::string_view prefix);
    void reset() { lastNumbers_.clear(); }

  private:
    std::int64_t passReserved(std::string_view prefix, std::int64_t number) const;

    std::int64_t initialNumber_;
    std::int64_t step_;
    bool lockedMode_;
    const NumberRegistry& reserved_;
    std::unordered_map<std::string, std::int64_t> lastNumbers_;
};

}  // namespace wemb
