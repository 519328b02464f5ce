// Properties that must hold for any document, checked over seeded random documents.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "numbering/Autonum.h"
#include "numbering/ReNum.h"
#include "numbering/ReferenceField.h"
#include "tests/numbering/NumberingTestSupport.h"

namespace wemb {
namespace {

constexpr int kSeeds = 200;

struct Shape {
    bool powerParts = true;      // library names VCC, GNDA, ...
    bool oddFields = true;       // empty names and references, length bytes out of range
    bool numbered = true;        // references that carry numbers
    bool multiBlock = true;      // library parts of several blocks
    bool namesByPrefix = false;  // every part name belongs to one prefix
};

class RandomDocument {
  public:
    RandomDocument(unsigned seed, Shape shape) : random_(seed), shape_(shape) {}

    std::vector<std::uint8_t> bytes() {
        gen::DataFileBuilder builder;
        builder.header(pick(2) == 1);
        const int count = 1 + pick(60);
        for (int i = 0; i < count; ++i) {
            switch (pick(12)) {
                case 0:
                    builder.header(pick(2) == 1);
                    break;
                case 1:
                    builder.record(static_cast<std::uint8_t>(pick(8)));
                    break;
                case 2:
                    builder.variableRecord(static_cast<std::uint8_t>(16 + pick(240)),
                                           static_cast<std::int16_t>(12 + pick(30)));
                    break;
                default:
                    builder.part(part());
            }
        }
        return builder.bytes();
    }

  private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    gen::PartSpec part() {
        static const char* const kPrefixes[] = {"R", "C", "U", "IC", "r", "R?"};
        static const char* const kNames[] = {"A", "B", "74HC00", "\x82\xa0"};
        static const char* const kLibraries[] = {"RES", "QUAD", "DUAL", "ONE", "MISSING"};
        static const char* const kPowerLibraries[] = {"VCC", "GND", "VCC5", "GNDA", "VSS-1"};
        gen::PartSpec fields;
        fields.x = static_cast<std::int16_t>(pick(8) * 100);  // few columns: many ties
        fields.y = static_cast<std::int16_t>(pick(4) * 100 - 150);
        fields.reference = kPrefixes[pick(6)];
        if (shape_.numbered && pick(2) == 0) {
            fields.reference += std::to_string(pick(12));
        }
        fields.partName = kNames[pick(4)];
        fields.libraryName = kLibraries[pick(shape_.multiBlock ? 5 : 1)];
        if (shape_.powerParts && pick(5) == 0) {
            fields.libraryName = kPowerLibraries[pick(5)];
        }
        fields.block = static_cast<std::uint8_t>(pick(3));
        const std::string name = fields.partName;
        if (shape_.oddFields) {
            oddFields(fields);
        }
        if (shape_.namesByPrefix) {
            tieNameToPrefix(fields, name);
        }
        return fields;
    }

    void oddFields(gen::PartSpec& fields) {
        switch (pick(10)) {
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
                fields.partName.clear();
                break;
            case 4:
                fields.partNameLength = static_cast<std::uint8_t>(16 + pick(240));
                break;
            default:
                break;
        }
    }

    // A reference read with its junk is a prefix of its own, and a part name read empty or with
    // junk is a name of its own: either would let parts of different prefixes share packages.
    static void tieNameToPrefix(gen::PartSpec& fields, const std::string& name) {
        fields.referenceLength.reset();
        fields.partNameLength.reset();
        fields.partName =
            name + fields.reference.substr(0, fields.reference.find_first_of("0123456789"));
    }

    std::mt19937 random_;
    Shape shape_;
};

const test::FakeLibraries kLibraries({{"QUAD", 4}, {"DUAL", 2}, {"ONE", 1}, {"RES", 0}});

AutonumSettings randomSettings(unsigned seed) {
    std::mt19937 random(seed * 7919u);
    AutonumSettings settings;
    settings.initialNumber = std::uniform_int_distribution<int>(1, 1000)(random);
    settings.step = std::uniform_int_distribution<int>(1, 20)(random);
    settings.lockedMode = random() % 2 == 0;
    settings.dependenceNameMode = random() % 2 == 0;
    return settings;
}

// Which bytes of a file numbering may change: those of the reference fields and, if asked,
// the block numbers of part records.
std::vector<bool> changeable(const Document& document, bool blockNumbers) {
    std::vector<bool> mask(document.bytes().size(), false);
    for (const PartEntry& entry : document.parts()) {
        const std::size_t reference = entry.fileOffset() + PartEntry::kReferenceOffset;
        std::fill_n(mask.begin() + static_cast<std::ptrdiff_t>(reference),
                    PartEntry::kReferenceSize, true);
        if (blockNumbers) {
            mask[entry.fileOffset() + PartEntry::kBlockNumberOffset] = true;
        }
    }
    return mask;
}

void expectOnlyMaskedBytesChanged(std::span<const std::uint8_t> before,
                                  std::span<const std::uint8_t> after,
                                  const std::vector<bool>& mask, unsigned seed) {
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (!mask[i]) {
            ASSERT_EQ(before[i], after[i]) << "seed " << seed << " byte " << i;
        }
    }
}

TEST(NumberingProperties, AutonumChangesOnlyReferencesAndBlockNumbers) {
    for (unsigned seed = 0; seed < kSeeds; ++seed) {
        const std::vector<std::uint8_t> bytes = RandomDocument(seed, {}).bytes();
        Document document = test::parseDocument(bytes);
        autonum(document, randomSettings(seed), kLibraries);
        expectOnlyMaskedBytesChanged(bytes, document.bytes(), changeable(document, true), seed);
    }
}

TEST(NumberingProperties, ReNumChangesOnlyReferences) {
    for (unsigned seed = 0; seed < kSeeds; ++seed) {
        const std::vector<std::uint8_t> bytes = RandomDocument(seed, {}).bytes();
        Document document = test::parseDocument(bytes);
        const AutonumSettings settings = randomSettings(seed);
        reNum(document, settings.initialNumber, settings.step);
        expectOnlyMaskedBytesChanged(bytes, document.bytes(), changeable(document, false), seed);
    }
}

TEST(NumberingProperties, ReNumOfItsOwnOutputChangesNothing) {
    for (unsigned seed = 0; seed < kSeeds; ++seed) {
        Document document = test::parseDocument(RandomDocument(seed, {}).bytes());
        const AutonumSettings settings = randomSettings(seed);
        reNum(document, settings.initialNumber, settings.step);
        const std::vector<std::uint8_t> once(document.bytes().begin(), document.bytes().end());
        reNum(document, settings.initialNumber, settings.step);
        // The generated prefixes are short enough that no new designator is cut, which could
        // change the order of the old numbers.
        ASSERT_EQ(once, std::vector<std::uint8_t>(document.bytes().begin(), document.bytes().end()))
            << "seed " << seed;
    }
}

// The parts in position order, ties in file order.
std::vector<const PartEntry*> inPositionOrder(const Document& document) {
    std::vector<const PartEntry*> parts;
    for (const PartEntry& entry : document.parts()) {
        parts.push_back(&entry);
    }
    std::stable_sort(parts.begin(), parts.end(), [](const PartEntry* a, const PartEntry* b) {
        return std::pair(a->x, a->y) < std::pair(b->x, b->y);
    });
    return parts;
}

TEST(NumberingProperties, OriginalModeGivesEachPrefixTheSequenceInPositionOrder) {
    const Shape singleBlock{false, false, true, false};
    for (unsigned seed = 0; seed < kSeeds; ++seed) {
        Document document = test::parseDocument(RandomDocument(seed, singleBlock).bytes());
        std::map<const PartEntry*, std::string> prefixes;
        for (const PartEntry& entry : document.parts()) {
            const std::string_view reference = referenceText(entry);
            prefixes[&entry] = reference.substr(0, splitReference(reference).prefixLength);
        }
        AutonumSettings settings = randomSettings(seed);
        settings.lockedMode = false;
        settings.initialNumber = std::min(settings.initialNumber, 99);
        autonum(document, settings, NoLibraries{});
        std::map<std::string, std::int64_t> expectedNext;
        for (const PartEntry* entry : inPositionOrder(document)) {
            const std::string& prefix = prefixes[entry];
            const auto [next, isNew] = expectedNext.try_emplace(prefix, settings.initialNumber);
            std::string expected = prefix + std::to_string(next->second);
            expected.resize(std::min<std::size_t>(expected.size(), 7));
            ASSERT_EQ(referenceText(*entry), expected) << "seed " << seed;
            next->second += settings.step;
        }
    }
}

TEST(NumberingProperties, LockedModeNeverHandsOutANumberThatWasPresent) {
    for (unsigned seed = 0; seed < kSeeds; ++seed) {
        Shape shape;
        shape.powerParts = false;  // power-prefixed parts take the numbers of main parts
        // A package is shared by part name, and its number comes from the prefix that opened
        // it, so parts of one name with different prefixes may meet a reserved number.
        shape.namesByPrefix = true;
        Document document = test::parseDocument(RandomDocument(seed, shape).bytes());
        AutonumSettings settings = randomSettings(seed);
        settings.lockedMode = true;
        settings.initialNumber = std::min(settings.initialNumber, 10);
        settings.step = std::min(settings.step, 3);
        // The numbers of parts that take part; a part left out reserves nothing.
        std::set<std::string> present;
        const std::vector<std::string> before = test::references(document);
        for (const PartEntry& entry : document.parts()) {
            if (!settings.dependenceNameMode || !partNameText(entry).empty()) {
                present.emplace(referenceText(entry));
            }
        }
        autonum(document, settings, kLibraries);
        const std::vector<std::string> after = test::references(document);
        for (std::size_t i = 0; i < after.size(); ++i) {
            if (after[i] != before[i] && after[i].size() < 7) {
                ASSERT_FALSE(present.contains(after[i])) << "seed " << seed << " " << after[i];
            }
        }
    }
}

}  // namespace
}  // namespace wemb
