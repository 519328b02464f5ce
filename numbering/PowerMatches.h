#pragma once
// The numbers that power-prefixed parts take: those with a given part name and prefix take, in
// position order, the successive rising numbers of the main parts that bear the same part name
// and prefix; when those run out, fresh numbers of the prefix.

#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "numbering/PrefixCounters.h"
#include "schematic/PartEntry.h"

namespace wemb {

class PowerMatches {
  public:
    // Reads the main parts as they stand once they are numbered; their references must not
    // change while the matches are in use.
    PowerMatches(std::span<PartEntry* const> mainParts, bool dependenceNameMode);

    std::int64_t numberFor(const std::string& partName, const std::string& prefix,
                           PrefixCounters& counters);

  private:
    struct Key {
        std::string partName;
        std::string prefix;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const;
    };
    // The numbers of the main parts with one key, in position order, and how far the parts of
    // that key have taken them.
    struct Match {
        std::vector<std::int64_t> candidates;
        std::vector<std::int64_t> largestFrom;  // largest candidate from each index on
        std::int64_t number = 0;                // most recently given
        std::size_t scanPosition = 0;
    };

    static bool takeNextCandidate(Match& match);

    std::unordered_map<Key, Match, KeyHash> matches_;
};

}  // namespace wemb
