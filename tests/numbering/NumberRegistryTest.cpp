#include <gtest/gtest.h>

#include "numbering/NumberRegistry.h"
#include "numbering/OpenPackages.h"
#include "numbering/PartFacts.h"
#include "numbering/PrefixCounters.h"
#include "numbering/ReferenceField.h"

namespace wemb {
namespace {

// Prefixes and part names by their texts, as a run knows them by id.
class Ids {
  public:
    std::uint32_t prefix(std::string_view text) { return prefixes_.idOf(packPrefix(text)); }
    std::uint32_t name(std::string_view text) { return names_.idOf(ShortText::of(text)); }

  private:
    PrefixIds prefixes_;
    PartNameIds names_;
};

TEST(NumberRegistry, KnowsOnlyWhatWasAddedUnderItsOwnPrefix) {
    Ids ids;
    NumberRegistry registry;
    registry.add(ids.prefix("R"), 5);
    registry.add(ids.prefix("R"), 5);
    registry.add(ids.prefix("\x82\x60"), 3);
    registry.seal();
    EXPECT_TRUE(registry.contains(ids.prefix("R"), 5));
    EXPECT_FALSE(registry.contains(ids.prefix("r"), 5));  // case matters
    EXPECT_FALSE(registry.contains(ids.prefix("R"), 6));
    EXPECT_FALSE(registry.contains(ids.prefix("C"), 5));
    EXPECT_TRUE(registry.contains(ids.prefix("\x82\x60"), 3));
    EXPECT_EQ(registry.numbersOf(ids.prefix("R")).size(), 1u);  // one number, added twice
    NumberRegistry empty;
    empty.seal();
    EXPECT_FALSE(empty.contains(ids.prefix("R"), 5));
}

struct CounterCase {
    const char* name;
    int initialNumber;
    int step;
    bool lockedMode;
    std::vector<std::pair<std::string, int>> registered;
    std::vector<std::string> requests;  // prefixes, in order
    std::vector<std::int64_t> expected;
};

TEST(PrefixCounters, HandOutTheSequencePassingOverReservedNumbersInLockedMode) {
    const CounterCase cases[] = {
        {"plain", 1, 1, false, {}, {"R", "R", "R"}, {1, 2, 3}},
        {"step 5", 1, 5, false, {}, {"R", "R", "R"}, {1, 6, 11}},
        {"initial 100 step 10", 100, 10, false, {}, {"R", "R"}, {100, 110}},
        {"locked passes 1 and 2", 1, 1, true, {{"R", 1}, {"R", 2}}, {"R"}, {3}},
        {"locked passes 2 only", 1, 1, true, {{"R", 2}}, {"R", "R", "R"}, {1, 3, 4}},
        {"off the sequence has no effect", 1, 2, true, {{"R", 2}}, {"R", "R", "R"}, {1, 3, 5}},
        {"original ignores the registry", 1, 1, false, {{"R", 1}}, {"R"}, {1}},
        {"prefixes count apart", 1, 1, false, {}, {"R", "C", "R", "r"}, {1, 1, 2, 1}},
        {"reserved of another case", 1, 1, true, {{"r", 1}}, {"R"}, {1}},
        {"long reserved run",
         1,
         1,
         true,
         {{"R", 1}, {"R", 2}, {"R", 3}, {"R", 5}},
         {"R", "R"},
         {4, 6}},
    };
    for (const CounterCase& c : cases) {
        Ids ids;
        NumberRegistry registry;
        for (const auto& [prefix, number] : c.registered) {
            registry.add(ids.prefix(prefix), number);
        }
        registry.seal();
        PrefixCounters counters(c.initialNumber, c.step, c.lockedMode, registry);
        std::vector<std::int64_t> got;
        for (const std::string& prefix : c.requests) {
            got.push_back(counters.nextNumber(ids.prefix(prefix)));
        }
        EXPECT_EQ(got, c.expected) << c.name;
    }
}

TEST(PrefixCounters, ResetStartsEveryPrefixAgain) {
    NumberRegistry registry;
    registry.seal();
    PrefixCounters counters(1, 1, false, registry);
    counters.nextNumber(0);
    counters.reset();
    EXPECT_EQ(counters.nextNumber(0), 1);
}

struct BlockRequest {
    std::string partName;
    std::string prefix;
    int blockCount;
};

struct PackageCase {
    const char* name;
    std::vector<BlockRequest> requests;
    std::vector<std::pair<std::int64_t, int>> expected;  // (number, block)
};

TEST(OpenPackages, FillPackagesBlockAfterBlock) {
    const PackageCase cases[] = {
        {"four blocks then a fresh package",
         {{"A", "U", 4}, {"A", "U", 4}, {"A", "U", 4}, {"A", "U", 4}, {"A", "U", 4}},
         {{1, 0}, {1, 1}, {1, 2}, {1, 3}, {2, 0}}},
        {"names fill their own packages from one counter",
         {{"A", "U", 2}, {"B", "U", 2}, {"A", "U", 2}, {"B", "U", 2}, {"A", "U", 2}},
         {{1, 0}, {2, 0}, {1, 1}, {2, 1}, {3, 0}}},
        {"a two-block part joins a four-block package only at block 0",
         {{"A", "U", 4}, {"A", "U", 2}, {"A", "U", 2}},
         {{1, 0}, {1, 1}, {2, 0}}},
        {"the package keeps the block count it was opened with",
         {{"A", "U", 2}, {"A", "U", 4}, {"A", "U", 4}},
         {{1, 0}, {1, 1}, {2, 0}}},
        {"prefixes share a package by part name",
         {{"A", "U", 4}, {"A", "IC", 4}},
         {{1, 0}, {1, 1}}},
        {"a fresh package takes its number from the part at hand",
         {{"A", "U", 2}, {"A", "U", 2}, {"A", "IC", 2}},
         {{1, 0}, {1, 1}, {1, 0}}},
        {"an empty part name is a name too", {{"", "U", 2}, {"", "U", 2}}, {{1, 0}, {1, 1}}},
    };
    for (const PackageCase& c : cases) {
        Ids ids;
        NumberRegistry registry;
        registry.seal();
        PrefixCounters counters(1, 1, false, registry);
        OpenPackages packages;
        std::vector<std::pair<std::int64_t, int>> got;
        for (const BlockRequest& r : c.requests) {
            const BlockAssignment assigned = packages.assignBlock(
                ids.name(r.partName), ids.prefix(r.prefix), r.blockCount, counters);
            got.emplace_back(assigned.number, assigned.block);
        }
        EXPECT_EQ(got, c.expected) << c.name;
    }
}

TEST(OpenPackages, NeverHandsOutABlockTheRecordCannotHold) {
    NumberRegistry registry;
    registry.seal();
    PrefixCounters counters(1, 1, false, registry);
    OpenPackages packages;
    BlockAssignment last;
    for (int i = 0; i < kMaxBlocksPerPackage; ++i) {
        last = packages.assignBlock(0, 0, 1000, counters);
    }
    EXPECT_EQ(last.block, 255);
    EXPECT_EQ(last.number, 1);
    last = packages.assignBlock(0, 0, 1000, counters);
    EXPECT_EQ(last.block, 0);
    EXPECT_EQ(last.number, 2);
}

}  // namespace
}  // namespace wemb
