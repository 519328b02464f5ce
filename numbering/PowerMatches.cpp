#include "numbering/PowerMatches.h"

#include <algorithm>

#include "numbering/Prefetch.h"

namespace wemb {

PowerMatches::PowerMatches(std::span<const PartFact> mainParts, std::span<const Key> asked) {
    std::uint32_t largestName = 0;
    for (const Key& key : asked) {
        largestName = std::max(largestName, key.partName);
    }
    names_.resize(std::size_t{largestName} + 1);
    pairs_.reserve(asked.size());
    pairOfAsked_.reserve(asked.size());
    // Keys and main parts come in position order, which has nothing to do with the order in
    // which the names got their ids: each look-up by name is a read at random (see Prefetch.h).
    for (std::size_t i = 0; i < asked.size(); ++i) {
        if (i + kPrefetchDistance < asked.size()) {
            prefetchForRead(&names_[asked[i + kPrefetchDistance].partName]);
        }
        pairOfAsked_.push_back(add(asked[i].partName, asked[i].prefix));
    }
    progress_.resize(pairs_.size());
    indexCandidates(mainParts);
}

std::uint32_t PowerMatches::find(std::uint32_t partName, std::uint32_t prefix) const {
    const NameEntry& name = names_[partName];
    if (name.firstPair == kNone || name.firstPrefix == prefix) {
        return name.firstPair;
    }
    for (std::uint32_t pair = pairs_[name.firstPair].nextOfName; pair != kNone;
         pair = pairs_[pair].nextOfName) {
        if (pairs_[pair].prefix == prefix) {
            return pair;
        }
    }
    return kNone;
}

std::uint32_t PowerMatches::add(std::uint32_t partName, std::uint32_t prefix) {
    if (const std::uint32_t found = find(partName, prefix); found != kNone) {
        return found;
    }
    const auto pair = static_cast<std::uint32_t>(pairs_.size());
    pairs_.push_back({prefix, kNone});
    NameEntry& name = names_[partName];
    if (name.firstPair == kNone) {
        name = {pair, prefix};
    } else {
        pairs_.back().nextOfName = pairs_[name.firstPair].nextOfName;
        pairs_[name.firstPair].nextOfName = pair;
    }
    return pair;
}

// One walk over the main parts finds the candidates of each key in position order and counts
// them; then they are put in place, so every key's candidates lie together without a vector of
// their own.
void PowerMatches::indexCandidates(std::span<const PartFact> mainParts) {
    // Every asked key has a part name, within the names known.
    const auto mayMatch = [&](const PartFact& part) {
        return part.eligible && part.partName < names_.size();
    };
    struct Found {
        std::uint32_t match;
        std::int32_t number;
    };
    std::vector<Found> found;
    found.reserve(mainParts.size());  // address space only: most main parts match nothing
    starts_.assign(pairs_.size() + 1, 0);
    for (std::size_t i = 0; i < mainParts.size(); ++i) {
        if (i + kPrefetchDistance < mainParts.size() &&
            mayMatch(mainParts[i + kPrefetchDistance])) {
            prefetchForRead(&names_[mainParts[i + kPrefetchDistance].partName]);
        }
        const PartFact& part = mainParts[i];
        if (mayMatch(part)) {
            const std::uint32_t match = find(part.partName, part.prefix);
            if (match != kNone) {
                ++starts_[match + 1];
                found.push_back({match, part.number});
            }
        }
    }
    for (std::size_t k = 1; k < starts_.size(); ++k) {
        starts_[k] += starts_[k - 1];
    }
    candidates_.resize(starts_.back());
    std::vector<std::uint32_t> next(starts_.begin(), starts_.end() - 1);
    for (const Found& candidate : found) {
        candidates_[next[candidate.match]++] = candidate.number;
    }
    largestFrom_.resize(candidates_.size());
    for (std::size_t k = 0; k + 1 < starts_.size(); ++k) {
        std::int32_t largest = 0;
        for (std::size_t i = starts_[k + 1]; i-- > starts_[k];) {
            largest = std::max(largest, candidates_[i]);
            largestFrom_[i] = largest;
        }
    }
}

std::int64_t PowerMatches::numberFor(std::size_t askedIndex, PrefixCounters& counters) {
    const std::uint32_t match = pairOfAsked_[askedIndex];
    if (!takeNextCandidate(match)) {
        progress_[match].number = counters.nextNumber(pairs_[match].prefix);
    }
    return progress_[match].number;
}

// Takes the first candidate from the scan position on that is larger than the number most
// recently given. When none is larger, the scan position stays where it is.
bool PowerMatches::takeNextCandidate(std::uint32_t match) {
    Progress& progress = progress_[match];
    const std::size_t begin = starts_[match];
    const std::size_t size = starts_[match + 1] - begin;
    // Answering a fruitless search at once keeps the whole pass linear: every candidate the
    // loop below passes over lies before the new scan position.
    if (progress.scanPosition >= size ||
        largestFrom_[begin + progress.scanPosition] <= progress.number) {
        return false;
    }
    for (std::size_t i = progress.scanPosition; i < size; ++i) {
        if (candidates_[begin + i] > progress.number) {
            progress.number = candidates_[begin + i];
            progress.scanPosition = i + 1;
            return true;
        }
    }
    return false;
}

}  // namespace wemb
