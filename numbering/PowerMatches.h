#pragma once
// The numbers that power-prefixed parts take: those with a given part name and prefix take, in
// position order, the successive rising numbers of the main parts that bear the same part name
// and prefix; when those run out, fresh numbers of the prefix.

#include <cstdint>
#include <span>
#include <vector>

#include "numbering/PartFacts.h"
#include "numbering/PrefixCounters.h"

namespace wemb {

class PowerMatches {
  public:
    // A pair of part name and prefix (ids) that power-prefixed parts ask for.
    struct Key {
        std::uint32_t partName = 0;
        std::uint32_t prefix = 0;
    };

    // `mainParts` in position order as they stand once they are numbered; `asked` the keys of
    // the power-prefixed parts to number, in position order. Only those keys are indexed: the
    // main parts of any other key can never be a match.
    PowerMatches(std::span<const PartFact> mainParts, std::span<const Key> asked);

    // The number of the part that asked `asked[askedIndex]`; the parts must ask in turn.
    std::int64_t numberFor(std::size_t askedIndex, PrefixCounters& counters);

  private:
    // How far the parts of one key have taken its candidates.
    struct Progress {
        std::int64_t number = 0;  // most recently given
        std::size_t scanPosition = 0;
    };

    // The pairs of part name and prefix asked for, each with a dense index, found through the
    // part name: name ids are dense and nearly every name comes with one prefix, so most look-ups
    // read one entry of an array by name where a hashed table would read two places at random.
    static constexpr std::uint32_t kNone = 0xffffffffU;
    struct NameEntry {
        std::uint32_t firstPair = kNone;
        std::uint32_t firstPrefix = 0;
    };
    struct Pair {
        std::uint32_t prefix = 0;
        std::uint32_t nextOfName = kNone;  // another pair of the same part name
    };

    // The pair's index, or kNone. `partName` is one `names_` holds: asked names size it.
    std::uint32_t find(std::uint32_t partName, std::uint32_t prefix) const;
    // The pair's index, the pair added if it was not there.
    std::uint32_t add(std::uint32_t partName, std::uint32_t prefix);
    void indexCandidates(std::span<const PartFact> mainParts);
    bool takeNextCandidate(std::uint32_t match);

    std::vector<NameEntry> names_;  // by part name id
    std::vector<Pair> pairs_;
    std::vector<std::uint32_t> pairOfAsked_;  // by index into `asked`
    // The numbers of the main parts of each key in position order, one key after the other.
    std::vector<std::int32_t> candidates_;
    std::vector<std::int32_t> largestFrom_;  // largest candidate of the key from each index on
    std::vector<std::uint32_t> starts_;      // per key where its candidates begin, then the end
    std::vector<Progress> progress_;         // per key
};

}  // namespace wemb
