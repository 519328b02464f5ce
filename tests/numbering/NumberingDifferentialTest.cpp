// The numbering passes against a plain rendering of the same rules: string keys, node-based
// maps, the parts walked through their records in position order, power matches searched from
// the front. Both run on the same generated drawings and must leave identical bytes.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "numbering/Autonum.h"
#include "numbering/ReNum.h"
#include "tests/numbering/NumberingTestSupport.h"

namespace wemb {
namespace {

struct Split {
    std::string prefix;
    int number = 0;
    bool numbered = false;  // the reference ends in a digit
};

// The model's own reading and writing of the fields, written apart from the code it checks: the
// length byte is signed and capped by the field, the trailing digits (never the first byte) are
// the number, and a written designator is cut to the field.
struct Fields {
    static std::string text(std::span<const std::uint8_t> field) {
        const int length = std::clamp<int>(static_cast<std::int8_t>(field[0]), 0,
                                           static_cast<int>(field.size()) - 1);
        return {field.begin() + 1, field.begin() + 1 + length};
    }
    static std::string reference(const PartEntry& part) { return text(part.referenceField()); }
    static std::string name(const PartEntry& part) { return text(part.partNameField()); }
    static Split split(const PartEntry& part) {
        const std::string all = reference(part);
        const std::size_t digits = std::max<std::size_t>(std::min<std::size_t>(all.size(), 1),
                                                         all.find_last_not_of("0123456789") + 1);
        const bool numbered = !all.empty() && all.back() >= '0' && all.back() <= '9';
        return {all.substr(0, digits), digits < all.size() ? std::stoi(all.substr(digits)) : 0,
                numbered};
    }
    static void write(PartEntry& part, const std::string& prefix, std::int64_t number) {
        const std::string text = (prefix + std::to_string(number)).substr(0, 7);
        part.referenceField()[0] = static_cast<std::uint8_t>(text.size());
        std::copy(text.begin(), text.end(), part.referenceField().begin() + 1);
    }
};

class PlainAutonum : Fields {
  public:
    PlainAutonum(const AutonumSettings& settings, const BlockCountLookup& libraries)
        : settings_(settings), libraries_(libraries) {}

    // The generator's library names: two power symbols, two power-prefixed names.
    void run(Document& document) {
        for (PartEntry& part : document.parts()) {
            const std::string library(part.libraryName());
            if (library != "VCC" && library != "GND") {
                (library == "VCC5" || library == "GNDA" ? power_ : main_).push_back(&part);
            }
        }
        for (auto* list : {&main_, &power_}) {
            std::stable_sort(list->begin(), list->end(), [](const auto* a, const auto* b) {
                return std::pair(a->x(), a->y()) < std::pair(b->x(), b->y());
            });
            for (const PartEntry* part : *list) {
                if (eligible(*part) && split(*part).numbered) {
                    reserved_[split(*part).prefix].insert(split(*part).number);
                }
            }
        }
        for (PartEntry* part : main_) {
            numberMain(*part);
        }
        for (PartEntry* part : power_) {
            numberPower(*part);
        }
    }

  private:
    struct Package {
        std::int64_t number;
        int blockCount;
        int currentBlock;
    };
    struct Match {
        std::int64_t number = 0;
        std::size_t scanPosition = 0;
    };

    bool eligible(const PartEntry& part) const {
        return !reference(part).empty() && !(settings_.dependenceNameMode && name(part).empty());
    }
    bool keeps(const PartEntry& part) const {
        return !eligible(part) || (settings_.lockedMode && split(part).numbered);
    }

    std::int64_t next(const std::string& prefix) {
        auto [counter, isNew] = counters_.try_emplace(prefix, settings_.initialNumber);
        counter->second += isNew ? 0 : settings_.step;
        while (settings_.lockedMode && reserved_[prefix].contains(counter->second)) {
            counter->second += settings_.step;
        }
        return counter->second;
    }

    void numberMain(PartEntry& part) {
        if (keeps(part)) {
            return;
        }
        const std::string prefix = split(part).prefix;
        const int blocks = std::min(libraries_.blockCount(part.libraryName()).value_or(1), 256);
        std::int64_t number = 0;
        int block = 0;
        if (blocks < 2) {
            number = next(prefix);
        } else {
            const auto [open, isNew] = packages_.try_emplace(name(part), Package{0, blocks, 0});
            if (!isNew &&
                open->second.currentBlock < std::min(open->second.blockCount, blocks) - 1) {
                number = open->second.number;
                block = ++open->second.currentBlock;
            } else {
                number = open->second.number = next(prefix);
                open->second.currentBlock = 0;
            }
        }
        write(part, prefix, number);
        part.setBlockNumber(static_cast<std::uint8_t>(block));
    }

    void numberPower(PartEntry& part) {
        if (keeps(part)) {
            return;
        }
        const Split own = split(part);
        Match& match = matches_[{name(part), own.prefix}];
        std::size_t j = match.scanPosition;
        while (j < main_.size() &&
               !(eligible(*main_[j]) && name(*main_[j]) == name(part) &&
                 split(*main_[j]).prefix == own.prefix && split(*main_[j]).number > match.number)) {
            ++j;
        }
        match.number = j < main_.size() ? split(*main_[j]).number : next(own.prefix);
        match.scanPosition = j < main_.size() ? j + 1 : match.scanPosition;
        write(part, own.prefix, match.number);
    }

    AutonumSettings settings_;
    const BlockCountLookup& libraries_;
    std::vector<PartEntry*> main_, power_;
    std::map<std::string, std::set<std::int64_t>> reserved_;
    std::map<std::string, std::int64_t> counters_;
    std::map<std::string, Package> packages_;
    std::map<std::pair<std::string, std::string>, Match> matches_;  // by part name and prefix
};

// Within each prefix the parts keep the order of their old numbers; equal numbers stay equal.
struct PlainReNum : Fields {
    static void run(Document& document, int initialNumber, int step) {
        std::map<std::string, std::map<int, std::vector<PartEntry*>>> groups;
        for (PartEntry& part : document.parts()) {
            const std::uint8_t length = part.referenceField()[0];
            if (length != 0 && length < 128 && part.partNameField()[0] != 0) {
                groups[split(part).prefix][split(part).number].push_back(&part);
            }
        }
        for (const auto& [prefix, numbers] : groups) {
            std::int64_t current = initialNumber;
            for (const auto& [number, parts] : numbers) {
                for (PartEntry* part : parts) {
                    write(*part, prefix, current);
                }
                current += step;
            }
        }
    }
};

// Drawings that meet every rule at once: few positions (ties), up to 63 sheets and more, power
// symbols and power-prefixed parts, packages of several sizes (one beyond the block byte),
// prefixes that a new number cuts, digits-only references, junk length bytes, and now and then
// a hundred prefixes in one drawing.
class DrawingMaker {
  public:
    explicit DrawingMaker(unsigned seed) : random_(seed) {}

    std::vector<std::uint8_t> bytes() {
        gen::DataFileBuilder builder;
        builder.header();
        const int sheets = pick(4) == 0 ? 70 : 1 + pick(3);
        manyPrefixes_ = pick(8) == 0;  // more than a first table of prefixes holds
        const int count = 1 + pick(120);
        for (int i = 0; i < count; ++i) {
            if (pick(count) < sheets) {
                builder.header(pick(2) == 1);
            }
            builder.part(part());
        }
        return builder.bytes();
    }

    AutonumSettings settings() {
        return {pick(4) == 0 ? 1000 : 1 + pick(3), pick(4) == 0 ? 20 : 1 + pick(2), pick(2) == 0,
                pick(2) == 0};
    }

  private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    gen::PartSpec part() {
        static const char* const kPrefixes[] = {"R", "C",      "U", "IC",      "r",  "R?",
                                                "1", "ABCDEF", "5", "ABCDEFG", "Q-", "\x82\xa0"};
        static const char* const kNames[] = {"A", "B", "74HC00", "\x82\xa0", ""};
        static const char* const kLibraries[] = {"RES",  "QUAD", "DUAL", "HUGE", "ONE",
                                                 "MISS", "VCC",  "GND",  "VCC5", "GNDA"};
        gen::PartSpec fields{.x = static_cast<std::int16_t>(pick(6) * 1000 - 1000),
                             .y = static_cast<std::int16_t>(pick(3) * 100 - 100),
                             .partName = kNames[pick(5)],
                             .reference = manyPrefixes_ ? std::to_string(pick(300)) + "P"
                                                        : std::string(kPrefixes[pick(12)]),
                             .libraryName = kLibraries[pick(10)],
                             .block = static_cast<std::uint8_t>(pick(4))};
        if (pick(2) == 0) {
            fields.reference += std::to_string(pick(pick(4) == 0 ? 100000 : 15));
        }
        const int junk = pick(14);  // an empty reference, or a length byte beyond the text
        if (junk == 0) {
            fields.reference.clear();
        } else if (junk < 3) {
            fields.referenceLength =
                static_cast<std::uint8_t>(junk == 1 ? 128 + pick(128) : 8 + pick(120));
        } else if (junk == 3) {
            fields.partNameLength = static_cast<std::uint8_t>(16 + pick(240));
        }
        return fields;
    }

    std::mt19937 random_;
    bool manyPrefixes_ = false;
};

TEST(NumberingDifferential, BothPassesLeaveTheBytesThePlainRulesLeave) {
    const test::FakeLibraries libraries({{"QUAD", 4}, {"DUAL", 2}, {"HUGE", 300}, {"ONE", 1}});
    const auto bytesOf = [](const Document& document) {
        const auto last = document.sheet(document.sheetCount() - 1);  // sheets lie end to end
        return std::vector<std::uint8_t>(document.sheet(0).data(), last.data() + last.size());
    };
    for (unsigned seed = 0; seed < 3000; ++seed) {
        DrawingMaker maker(seed);
        const std::vector<std::uint8_t> bytes = maker.bytes();
        const AutonumSettings settings = maker.settings();
        Document fast = test::parseDocument(bytes);
        Document plain = test::parseDocument(bytes);
        autonum(fast, settings, libraries);
        PlainAutonum(settings, libraries).run(plain);
        ASSERT_EQ(bytesOf(fast), bytesOf(plain)) << "Autonum, seed " << seed;
        fast = test::parseDocument(bytes);
        plain = test::parseDocument(bytes);
        reNum(fast, settings.initialNumber, settings.step);
        PlainReNum::run(plain, settings.initialNumber, settings.step);
        ASSERT_EQ(bytesOf(fast), bytesOf(plain)) << "ReNum, seed " << seed;
    }
}

// A drawing of thousands of differently named packages, between which a few names come back: a
// name seen at the start and again at the end, after every other, still joins its package, and a
// name a power-prefixed part bears later still finds its main part.
TEST(NumberingDifferential, ANameSeenAgainAfterThousandsOfOthersKeepsItsPackage) {
    const test::FakeLibraries libraries({{"QUAD", 4}});
    constexpr int kDistinctNames = 9000;
    gen::DataFileBuilder builder;
    builder.header();
    int place = 0;
    const auto add = [&](std::string name, int number, const std::string& library) {
        name += number < 0 ? "" : std::to_string(number);
        builder.part({.x = static_cast<std::int16_t>(place % 100 * 10),
                      .y = static_cast<std::int16_t>(place / 100 * 10),
                      .partName = name,
                      .reference = "U",
                      .libraryName = library});
        ++place;
    };
    for (int shared = 0; shared < 20; ++shared) {
        add("S", shared, "QUAD");
    }
    add("W", -1, "QUAD");
    for (int other = 0; other < kDistinctNames; ++other) {
        add("N", other, "QUAD");
    }
    for (int shared = 0; shared < 20; ++shared) {
        add("S", shared, "QUAD");
    }
    add("W", -1, "VCC5");
    const std::vector<std::uint8_t> bytes = builder.bytes();
    for (const bool lockedMode : {false, true}) {
        const AutonumSettings settings{1, 1, lockedMode, false};
        Document fast = test::parseDocument(bytes);
        Document plain = test::parseDocument(bytes);
        autonum(fast, settings, libraries);
        PlainAutonum(settings, libraries).run(plain);
        EXPECT_EQ(test::shown(fast), test::shown(plain)) << "locked " << lockedMode;
    }
}

// Hundreds of library names in no order, each with its own block count: every part finds its
// own name's count, however the names crowd the table, and the libraries are asked once for each
// name. The names agree in their first eight bytes, some fill their field to the last byte, and
// the first is the empty name.
TEST(NumberingDifferential, EachOfHundredsOfLibraryNamesKeepsItsBlockCount) {
    std::map<std::string, int> blockCounts{{"", 3}};
    std::vector<std::string> names{""};
    for (int n = 0; n < 300; ++n) {
        std::string name = "LIBRARY-";
        name += std::to_string(n);
        if (n % 5 == 0) {
            name.resize(16, 'X');
        }
        blockCounts[name] = 1 + n % 4;
        names.push_back(name);
    }
    test::FakeLibraries libraries(blockCounts);
    std::mt19937 random(7);
    gen::DataFileBuilder builder;
    builder.header();
    std::set<std::string> namesUsed;
    for (int place = 0; place < 3000; ++place) {
        std::string partName = "N";
        partName += std::to_string(random() % 40);
        const std::string& library = place == 0 ? names.front() : names[random() % names.size()];
        namesUsed.insert(library);
        builder.part({.x = static_cast<std::int16_t>(place % 100 * 10),
                      .y = static_cast<std::int16_t>(place / 100 * 10),
                      .partName = partName,
                      .reference = "U",
                      .libraryName = library});
    }
    const std::vector<std::uint8_t> bytes = builder.bytes();
    for (const bool lockedMode : {false, true}) {
        const AutonumSettings settings{1, 1, lockedMode, false};
        Document fast = test::parseDocument(bytes);
        Document plain = test::parseDocument(bytes);
        libraries.askings = 0;
        autonum(fast, settings, libraries);
        EXPECT_EQ(libraries.askings, static_cast<int>(namesUsed.size()));
        PlainAutonum(settings, libraries).run(plain);
        EXPECT_EQ(test::shown(fast), test::shown(plain)) << "locked " << lockedMode;
    }
}

}  // namespace
}  // namespace wemb
