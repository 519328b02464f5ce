#include "numbering/PrefixCounters.h"

namespace wemb {

PrefixCounters::PrefixCounters(std::int64_t initialNumber, std::int64_t step, bool lockedMode,
                               const NumberRegistry& reserved)
    : initialNumber_(initialNumber), step_(step), lockedMode_(lockedMode), reserved_(reserved) {}

std::int64_t PrefixCounters::nextNumber(std::uint32_t prefix) {
    if (prefix >= counters_.size()) {
        counters_.resize(prefix + std::size_t{1});
    }
    Counter& counter = counters_[prefix];
    if (counter.started) {
        counter.lastNumber += step_;
    } else {
        counter = {initialNumber_, 0, true};
    }
    passReserved(prefix, counter);
    return counter.lastNumber;
}

// A rising counter never needs a reserved number below it again, so the cursor only moves
// forward: the passes of a whole run add up to no more than the registry holds.
void PrefixCounters::passReserved(std::uint32_t prefix, Counter& counter) const {
    if (!lockedMode_ || step_ <= 0) {
        return;
    }
    const std::span<const std::int32_t> reserved = reserved_.numbersOf(prefix);
    std::size_t& at = counter.reservedCursor;
    for (;;) {
        while (at < reserved.size() && reserved[at] < counter.lastNumber) {
            ++at;
        }
        if (at == reserved.size() || reserved[at] != counter.lastNumber) {
            return;
        }
        counter.lastNumber += step_;
    }
}

}  // namespace wemb
