#include "numbering/PowerMatches.h"

#include <algorithm>
#include <functional>

#include "numbering/ReferenceField.h"

namespace wemb {

std::size_t PowerMatches::KeyHash::operator()(const Key& key) const {
    const std::size_t first = std::hash<std::string>{}(key.partName);
    return first ^ (std::hash<std::string>{}(key.prefix) + 0x9e3779b97f4a7c15ULL + (first << 6) +
                    (first >> 2));
}

PowerMatches::PowerMatches(std::span<PartEntry* const> mainParts, bool dependenceNameMode) {
    for (const PartEntry* part : mainParts) {
        const std::string reference = readReference(*part);
        std::string partName = readPartName(*part);
        if (reference.empty() || (dependenceNameMode && partName.empty())) {
            continue;
        }
        SplitReference split = splitReference(reference);
        matches_[Key{std::move(partName), std::move(split.prefix)}].candidates.push_back(
            split.number);
    }
    for (auto& [key, match] : matches_) {
        match.largestFrom.resize(match.candidates.size());
        std::int64_t largest = 0;
        for (std::size_t i = match.candidates.size(); i-- > 0;) {
            largest = std::max(largest, match.candidates[i]);
            match.largestFrom[i] = largest;
        }
    }
}

std::int64_t PowerMatches::numberFor(const std::string& partName, const std::string& prefix,
                                     PrefixCounters& counters) {
    Match& match = matches_[Key{partName, prefix}];
    if (!takeNextCandidate(match)) {
        match.number = counters.nextNumber(prefix);
    }
    return match.number;
}

// Takes the first candidate from the scan position on that is larger than the number most
// recently given. When none is larger, the scan position stays where it is.
bool PowerMatches::takeNextCandidate(Match& match) {
    const std::size_t start = match.scanPosition;
    // Answering a fruitless search at once keeps the whole pass linear: every candidate the
    // loop below passes over lies before the new scan position.
    if (start >= match.candidates.size() || match.largestFrom[start] <= match.number) {
        return false;
    }
    for (std::size_t i = start; i < match.candidates.size(); ++i) {
        if (match.candidates[i] > match.number) {
            match.number = match.candidates[i];
            match.scanPosition = i + 1;
            return true;
        }
    }
    return false;
}

}  // namespace wemb
