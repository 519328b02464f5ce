// The numbering passes against a plain rendering of the same rules: string keys, node-based
// maps, the parts walked through their records in position order, power matches searched from
// the front. Both run on the same generated drawings and must leave identical bytes.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <random>
#include <set>

#include "numbering/Autonum.h"
#include "numbering/ReNum.h"
#include "tests/numbering/NumberingTestSupport.h"

namespace wemb {
namespace {

// The model's own reading and writing of the fields, written apart from the code it checks: the
// length byte is signed and capped by the field, the trailing digits (never the first byte) are
// the number, and a written designator is cut to the field.
std::string textOf(std::span<const std::uint8_t> field) {
    const int length =
        std::clamp<int>(static_cast<std::int8_t>(field[0]), 0, static_cast<int>(field.size()) - 1);
    return {field.begin() + 1, field.begin() + 1 + length};
}
std::string referenceOf(const PartEntry& part) {
    return textOf(part.referenceField());
}
std::string nameOf(const PartEntry& part) {
    return textOf(part.partNameField());
}
struct Split {
    std::string prefix;
    int number = 0;
    bool numbered = false;
};
Split split(const std::string& reference) {
    const std::size_t digits = std::max<std::size_t>(std::min<std::size_t>(reference.size(), 1),
                                                     reference.find_last_not_of("0123456789") + 1);
    if (digits == reference.size()) {
        return {reference, 0,
                !reference.empty() && std::isdigit(static_cast<unsigned char>(reference.back()))};
    }
    return {reference.substr(0, digits), std::stoi(reference.substr(digits)), true};
}
void write(PartEntry& part, const std::string& prefix, std::int64_t number) {
    std::string text = prefix + std::to_string(number);
    text.resize(std::min<std::size_t>(text.size(), 7));
    const auto field = part.referenceField();
    field[0] = static_cast<std::uint8_t>(text.size());
    std::copy(text.begin(), text.end(), field.begin() + 1);
}
// The generator's library names: two power symbols, two power-prefixed names.
enum class Kind { Ordinary, Power, PowerPrefixed };
Kind kindOf(std::string_view library) {
    if (library == "VCC" || library == "GND") {
        return Kind::Power;
    }
    return library == "VCC5" || library == "GNDA" ? Kind::PowerPrefixed : Kind::Ordinary;
}

class PlainAutonum {
  public:
    PlainAutonum(const AutonumSettings& settings, const BlockCountLookup& libraries)
        : settings_(settings), libraries_(libraries) {}

    void run(Document& document) {
        for (PartEntry& part : document.parts()) {
            const Kind kind = kindOf(part.libraryName());
            if (kind == Kind::Ordinary) {
                main_.push_back(&part);
            } else if (kind == Kind::PowerPrefixed) {
                power_.push_back(&part);
            }
        }
        const auto byPosition = [](const PartEntry* a, const PartEntry* b) {
            return std::pair(a->x, a->y) < std::pair(b->x, b->y);
        };
        std::stable_sort(main_.begin(), main_.end(), byPosition);
        std::stable_sort(power_.begin(), power_.end(), byPosition);
        for (const auto* list : {&main_, &power_}) {
            for (const PartEntry* part : *list) {
                const Split parts = split(referenceOf(*part));
                if (eligible(*part) && parts.numbered) {
                    reserved_[parts.prefix].insert(parts.number);
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
        std::string partName, prefix;
        std::int64_t number = 0;
        std::size_t scanPosition = 0;
    };

    bool eligible(const PartEntry& part) const {
        return !referenceOf(part).empty() &&
               !(settings_.dependenceNameMode && nameOf(part).empty());
    }
    bool keeps(const PartEntry& part) const {
        return !eligible(part) || (settings_.lockedMode && split(referenceOf(part)).numbered);
    }

    std::int64_t next(const std::string& prefix) {
        auto [counter, isNew] = counters_.try_emplace(prefix, settings_.initialNumber);
        if (!isNew) {
            counter->second += settings_.step;
        }
        while (settings_.lockedMode && reserved_[prefix].contains(counter->second)) {
            counter->second += settings_.step;
        }
        return counter->second;
    }

    void numberMain(PartEntry& part) {
        if (keeps(part)) {
            return;
        }
        const std::string prefix = split(referenceOf(part)).prefix;
        const std::optional<int> blocks = libraries_.blockCount(part.libraryName());
        std::int64_t number = 0;
        int block = 0;
        if (blocks && *blocks > 1) {
            const int own = std::min(*blocks, 256);
            const auto found = packages_.find(nameOf(part));
            if (found == packages_.end()) {
                number = next(prefix);
                packages_[nameOf(part)] = {number, own, 0};
            } else if (found->second.currentBlock < found->second.blockCount - 1 &&
                       found->second.currentBlock < own - 1) {
                number = found->second.number;
                block = ++found->second.currentBlock;
            } else {
                number = found->second.number = next(prefix);
                found->second.currentBlock = 0;
            }
        } else {
            number = next(prefix);
        }
        write(part, prefix, number);
        part.setBlockNumber(static_cast<std::uint8_t>(block));
    }

    void numberPower(PartEntry& part) {
        if (keeps(part)) {
            return;
        }
        const std::string name = nameOf(part);
        const std::string prefix = split(referenceOf(part)).prefix;
        auto match = std::find_if(matches_.begin(), matches_.end(), [&](const Match& m) {
            return m.partName == name && m.prefix == prefix;
        });
        if (match == matches_.end()) {
            matches_.push_back({name, prefix});
            match = matches_.end() - 1;
        }
        bool found = false;
        for (std::size_t j = match->scanPosition; j < main_.size() && !found; ++j) {
            const PartEntry& candidate = *main_[j];
            if (!eligible(candidate)) {
                continue;
            }
            const Split parts = split(referenceOf(candidate));
            if (nameOf(candidate) == name && parts.prefix == prefix &&
                parts.number > match->number) {
                match->number = parts.number;
                match->scanPosition = j + 1;
                found = true;
            }
        }
        if (!found) {
            match->number = next(prefix);
        }
        write(part, prefix, match->number);
    }

    AutonumSettings settings_;
    const BlockCountLookup& libraries_;
    std::vector<PartEntry*> main_, power_;
    std::map<std::string, std::set<std::int64_t>> reserved_;
    std::map<std::string, std::int64_t> counters_;
    std::map<std::string, Package> packages_;
    std::vector<Match> matches_;
};

void plainReNum(Document& document, int initialNumber, int step) {
    struct Item {
        PartEntry* part;
        std::string prefix;
        int number;
    };
    std::vector<Item> items;
    for (PartEntry& part : document.parts()) {
        const std::uint8_t length = part.referenceField()[0];
        if (length != 0 && length < 128 && part.partNameField()[0] != 0) {
            const Split parts = split(referenceOf(part));
            items.push_back({&part, parts.prefix, parts.number});
        }
    }
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        return std::tie(a.prefix, a.number) < std::tie(b.prefix, b.number);
    });
    std::int64_t current = initialNumber;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i == 0 || items[i].prefix != items[i - 1].prefix) {
            current = initialNumber;
        } else if (items[i].number != items[i - 1].number) {
            current += step;
        }
        write(*items[i].part, items[i].prefix, current);
    }
}

// Drawings that meet every rule at once: few positions (ties), up to 63 sheets and more, power
// symbols and power-prefixed parts, packages of several sizes (one beyond the block byte),
// prefixes that a new number cuts, digits-only references and junk length bytes.
class DrawingMaker {
  public:
    explicit DrawingMaker(unsigned seed) : random_(seed) {}

    std::vector<std::uint8_t> bytes() {
        gen::DataFileBuilder builder;
        builder.header();
        const int sheets = pick(4) == 0 ? 70 : 1 + pick(3);
        const int count = 1 + pick(120);
        for (int i = 0; i < count; ++i) {
            if (pick(count) < sheets) {
                builder.header(pick(2) == 1);
            }
            builder.part(part());
        }
        return builder.bytes();
    }

  private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    gen::PartSpec part() {
        static const char* const kPrefixes[] = {"R", "C",      "U", "IC",      "r",  "R?",
                                                "1", "ABCDEF", "5", "ABCDEFG", "Q-", "\x82\xa0"};
        static const char* const kNames[] = {"A", "B", "74HC00", "\x82\xa0", ""};
        static const char* const kLibraries[] = {"RES",  "QUAD", "DUAL", "HUGE", "ONE",
                                                 "MISS", "VCC",  "GND",  "VCC5", "GNDA"};
        gen::PartSpec fields;
        fields.x = static_cast<std::int16_t>(pick(6) * 1000 - 1000);
        fields.y = static_cast<std::int16_t>(pick(3) * 100 - 100);
        fields.reference = kPrefixes[pick(12)];
        if (pick(2) == 0) {
            fields.reference += std::to_string(pick(pick(4) == 0 ? 100000 : 15));
        }
        fields.partName = kNames[pick(5)];
        fields.libraryName = kLibraries[pick(10)];
        fields.block = static_cast<std::uint8_t>(pick(4));
        switch (pick(14)) {
            case 0:
                fields.reference.clear();
                break;
            case 1:
                fields.referenceLength = static_cast<std::uint8_t>(128 + pick(128));
                break;
            case 2:
                fields.referenceLength = static_cast<std::uint8_t>(8 + pick(120));
                break;
            case 3:
                fields.partNameLength = static_cast<std::uint8_t>(16 + pick(240));
                break;
            default:
                break;
        }
        return fields;
    }

    std::mt19937 random_;
};

const test::FakeLibraries kLibraries({{"QUAD", 4}, {"DUAL", 2}, {"HUGE", 300}, {"ONE", 1}});

int pick(std::mt19937& random, int n) {
    return std::uniform_int_distribution<int>(0, n - 1)(random);
}

AutonumSettings settingsFor(unsigned seed) {
    std::mt19937 random(seed ^ 0x5bd1e995u);
    AutonumSettings settings;
    settings.initialNumber = pick(random, 4) == 0 ? 1000 : 1 + pick(random, 3);
    settings.step = pick(random, 4) == 0 ? 20 : 1 + pick(random, 2);
    settings.lockedMode = pick(random, 2) == 0;
    settings.dependenceNameMode = pick(random, 2) == 0;
    return settings;
}

std::vector<std::uint8_t> copyOf(const Document& document) {
    return {document.bytes().begin(), document.bytes().end()};
}

TEST(NumberingDifferential, BothPassesLeaveTheBytesThePlainRulesLeave) {
    for (unsigned seed = 0; seed < 3000; ++seed) {
        const std::vector<std::uint8_t> bytes = DrawingMaker(seed).bytes();
        const AutonumSettings settings = settingsFor(seed);
        Document fast = test::parseDocument(bytes);
        Document plain = test::parseDocument(bytes);
        autonum(fast, settings, kLibraries);
        if (!plain.parts().empty()) {
            PlainAutonum(settings, kLibraries).run(plain);
        }
        ASSERT_EQ(copyOf(fast), copyOf(plain)) << "Autonum, seed " << seed;
        fast = test::parseDocument(bytes);
        plain = test::parseDocument(bytes);
        reNum(fast, settings.initialNumber, settings.step);
        plainReNum(plain, settings.initialNumber, settings.step);
        ASSERT_EQ(copyOf(fast), copyOf(plain)) << "ReNum, seed " << seed;
    }
}

}  // namespace
}  // namespace wemb
