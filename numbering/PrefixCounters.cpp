#include "numbering/PrefixCounters.h"

namespace wemb {

PrefixCounters::PrefixCounters(std::int64_t initialNumber, std::int64_t step, bool lockedMode,
                               const NumberRegistry& reserved)
    : initialNumber_(initialNumber), step_(step), lockedMode_(lockedMode), reserved_(reserved) {}

std::int64_t PrefixCounters::nextNumber(std::string_view prefix) {
    const auto [counter, isNew] = lastNumbers_.try_emplace(std::string(prefix), initialNumber_);
    if (!isNew) {
        counter->second += step_;
    }
    counter->second = passReserved(prefix, counter->second);
    return counter->second;
}

std::int64_t PrefixCounters::passReserved(std::string_view prefix, std::int64_t number) const {
    if (!lockedMode_ || step_ <= 0) {
        return number;
    }
    // Every pass over a reserved number moves past a distinct registered number, so the
    // passes of a whole run add up to no more than the registry holds.
    while (reserved_.contains(prefix, number)) {
        number += step_;
    }
    return number;
}

}  // namespace wemb
