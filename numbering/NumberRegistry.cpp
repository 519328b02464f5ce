#include "numbering/NumberRegistry.h"

#include <algorithm>

#include "numbering/RadixSort.h"

namespace wemb {

void NumberRegistry::add(std::uint32_t prefix, int number) {
    // Reference numbers are never negative: a split reads digits only.
    added_.push_back((static_cast<std::uint64_t>(prefix) << 32) |
                     static_cast<std::uint32_t>(number));
}

void NumberRegistry::seal() {
    if (!added_.empty()) {
        radixSortStable(added_, [](std::uint64_t entry) { return entry; });
    }
    added_.erase(std::unique(added_.begin(), added_.end()), added_.end());
    const std::size_t prefixCount = added_.empty() ? 0 : (added_.back() >> 32) + 1;
    starts_.assign(prefixCount + 1, 0);
    numbers_.reserve(added_.size());
    for (const std::uint64_t entry : added_) {
        ++starts_[(entry >> 32) + 1];
        numbers_.push_back(static_cast<std::int32_t>(entry & 0xffffffffU));
    }
    for (std::size_t i = 1; i < starts_.size(); ++i) {
        starts_[i] += starts_[i - 1];
    }
    added_ = {};
}

std::span<const std::int32_t> NumberRegistry::numbersOf(std::uint32_t prefix) const {
    if (prefix + std::size_t{1} >= starts_.size()) {
        return {};
    }
    return std::span<const std::int32_t>(numbers_).subspan(starts_[prefix],
                                                           starts_[prefix + 1] - starts_[prefix]);
}

bool NumberRegistry::contains(std::uint32_t prefix, std::int64_t number) const {
    const std::span<const std::int32_t> numbers = numbersOf(prefix);
    return std::binary_search(numbers.begin(), numbers.end(), number,
                              [](std::int64_t a, std::int64_t b) { return a < b; });
}

}  // namespace wemb
