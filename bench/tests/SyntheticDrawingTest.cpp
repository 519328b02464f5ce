#include "tools/gen/SyntheticDrawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "numbering/LibraryNameClass.h"
#include "numbering/ReferenceField.h"
#include "schematic/CountedString.h"
#include "schematic/Document.h"
#include "tools/gen/Generators.h"

namespace wemb::gen {
namespace {

struct Part {
    std::int32_t x, y;
    std::string name, library, reference;
};

// The parts of a drawing in position order, as numbering sees them.
std::vector<Part> partsInPositionOrder(const std::vector<std::uint8_t>& bytes) {
    auto parsed = Document::parse(bytes);
    EXPECT_TRUE(parsed.document.has_value());
    std::vector<Part> parts;
    if (!parsed.document) {
        return parts;
    }
    for (const PartEntry& entry : parsed.document->parts()) {
        parts.push_back({entry.x, entry.y, readCountedString(entry.partNameField()),
                         std::string(entry.libraryName()),
                         readCountedString(entry.referenceField())});
    }
    std::stable_sort(parts.begin(), parts.end(), [](const Part& a, const Part& b) {
        return a.x != b.x ? a.x < b.x : a.y < b.y;
    });
    return parts;
}

std::size_t countIf(const std::vector<Part>& parts, auto predicate) {
    return static_cast<std::size_t>(std::count_if(parts.begin(), parts.end(), predicate));
}

// Every mix holds exactly the parts asked for, in a file the reader takes, whatever the count.
TEST(SyntheticDrawing, HoldsExactlyTheRequestedPartsInEveryMix) {
    const DrawingMix mixes[] = {DrawingMix::Realistic, DrawingMix::OnePrefixHalfNumbered,
                                DrawingMix::DistinctMultiblock, DrawingMix::DistinctPower,
                                DrawingMix::SamePosition};
    for (const DrawingMix mix : mixes) {
        for (const std::size_t count : {0, 1, 7, 499, 2001}) {
            const auto parsed = Document::parse(makeSyntheticDrawing({count, 3, mix}));
            ASSERT_TRUE(parsed.document) << static_cast<int>(mix) << ' ' << count;
            EXPECT_EQ(parsed.document->parts().size(), count) << static_cast<int>(mix);
        }
    }
}

TEST(SyntheticDrawing, SameRequestGivesSameBytesAndSeedChangesThem) {
    const auto first = makeSyntheticDrawing({3000, 7, DrawingMix::Realistic});
    EXPECT_EQ(first, makeSyntheticDrawing({3000, 7, DrawingMix::Realistic}));
    EXPECT_NE(first, makeSyntheticDrawing({3000, 8, DrawingMix::Realistic}));
}

// Positions stay inside a sheet's width, or position order would mix the sheets.
TEST(SyntheticDrawing, PositionsStayInsideTheirSheet) {
    for (const std::size_t count : {500, 20'000}) {
        const auto parsed =
            Document::parse(makeSyntheticDrawing({count, 1, DrawingMix::Realistic}));
        ASSERT_TRUE(parsed.document);
        for (const PartEntry& part : parsed.document->parts()) {
            const int sheet = parsed.document->sheetOf(part.fileOffset());
            ASSERT_GE(part.recordX(), 0);
            ASSERT_LT(part.recordX(), kSheetXOffset);
            ASSERT_GE(part.recordY(), 0);
            ASSERT_EQ(part.x, part.recordX() + kSheetXOffset * (sheet + 1));
        }
    }
}

TEST(SyntheticDrawing, RealisticMixHoldsEveryKindOfPart) {
    const std::size_t count = 20'000;
    const auto bytes = makeSyntheticDrawing({count, 1, DrawingMix::Realistic});
    const auto parsed = Document::parse(bytes);
    ASSERT_TRUE(parsed.document);
    EXPECT_GE(parsed.document->sheetCount(), 2);
    EXPECT_GT(bytes.size(), (count + 8) * kPartRecordSize) << "other records between the parts";

    const auto parts = partsInPositionOrder(bytes);
    std::map<std::string, std::size_t> byPrefix;
    for (const Part& part : parts) {
        ++byPrefix[part.reference.substr(0, splitReference(part.reference).prefixLength)];
    }
    for (const char* prefix : {"R", "C", "U", "IC", "Q"}) {
        EXPECT_GT(byPrefix[prefix], count / 50) << prefix;
    }
    const auto numbered = countIf(parts, [](const Part& p) { return endsWithDigit(p.reference); });
    EXPECT_GT(numbered, count / 6);
    EXPECT_LT(numbered, count / 3);
    const auto power = countIf(parts, [](const Part& p) {
        return classifyLibraryName(p.library) == LibraryNameClass::Power;
    });
    const auto powerPrefixed = countIf(parts, [](const Part& p) {
        return classifyLibraryName(p.library) == LibraryNameClass::PowerPrefixed;
    });
    EXPECT_GT(power, count / 50);
    EXPECT_GT(powerPrefixed, count / 50);
}

// Position order alternates unnumbered and numbered parts, and the numbered ones hold exactly
// the numbers that the counter reaches next: 2, 4, 6 ...
TEST(SyntheticDrawing, HalfNumberedMixInterleavesTheNumbersTheCounterWants) {
    const auto parts =
        partsInPositionOrder(makeSyntheticDrawing({1000, 1, DrawingMix::OnePrefixHalfNumbered}));
    ASSERT_EQ(parts.size(), 1000u);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string expected = i % 2 == 0 ? "R" : "R" + std::to_string(i + 1);
        ASSERT_EQ(parts[i].reference, expected) << i;
    }
}

TEST(SyntheticDrawing, DistinctMixesGiveEveryPartOrKeyItsOwnName) {
    const auto multiblock =
        partsInPositionOrder(makeSyntheticDrawing({5000, 1, DrawingMix::DistinctMultiblock}));
    std::set<std::string> names;
    for (const Part& part : multiblock) {
        names.insert(part.name);
        EXPECT_EQ(classifyLibraryName(part.library), LibraryNameClass::Ordinary);
    }
    EXPECT_EQ(names.size(), multiblock.size());

    const auto power =
        partsInPositionOrder(makeSyntheticDrawing({5000, 1, DrawingMix::DistinctPower}));
    std::set<std::string> mainNames, powerNames;
    for (const Part& part : power) {
        const bool prefixed = classifyLibraryName(part.library) == LibraryNameClass::PowerPrefixed;
        (prefixed ? powerNames : mainNames).insert(part.name);
    }
    EXPECT_EQ(powerNames.size(), 2500u) << "every power-prefixed part has a key of its own";
    std::vector<std::string> matched;
    std::set_intersection(powerNames.begin(), powerNames.end(), mainNames.begin(), mainNames.end(),
                          std::back_inserter(matched));
    EXPECT_EQ(matched.size(), 1250u) << "half of the keys have a matching main part";
}

TEST(SyntheticDrawing, SamePositionMixPutsEveryPartAtOnePlace) {
    const auto parts =
        partsInPositionOrder(makeSyntheticDrawing({3000, 1, DrawingMix::SamePosition}));
    ASSERT_FALSE(parts.empty());
    EXPECT_EQ(countIf(parts, [&](const Part& p) { return p.x == parts[0].x && p.y == parts[0].y; }),
              parts.size());
}

TEST(SyntheticDrawing, MixNamesAreTheCommandLineOnes) {
    const std::pair<const char*, std::optional<DrawingMix>> cases[] = {
        {"realistic", DrawingMix::Realistic},
        {"one-prefix-half-numbered", DrawingMix::OnePrefixHalfNumbered},
        {"distinct-multiblock", DrawingMix::DistinctMultiblock},
        {"distinct-power", DrawingMix::DistinctPower},
        {"same-position", DrawingMix::SamePosition},
        {"Realistic", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [name, mix] : cases) {
        EXPECT_EQ(drawingMixNamed(name), mix) << name;
    }
}

// A command line the generator must refuse, before it writes anything.
TEST(GeneratorCommands, RefuseBadCommandLines) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"drawing", {"OUT.CE2"}},                                   // no --parts
        {"drawing", {"--parts", "10"}},                             // no output
        {"drawing", {"--parts", "ten", "OUT.CE2"}},                 // not a number
        {"drawing", {"--parts", "-1", "OUT.CE2"}},                  // negative
        {"drawing", {"--parts", "2000001", "OUT.CE2"}},             // over the limit
        {"drawing", {"--parts", "10", "--mix", "odd", "OUT.CE2"}},  // unknown mix
        {"drawing", {"--parts", "10", "--size", "1", "OUT.CE2"}},   // unknown option
        {"drawing", {"--parts", "10", "A.CE2", "B.CE2"}},           // two outputs
        {"drawing", {"--parts"}},                                   // option without value
        {"textlib", {"OUT.LB3"}},                                   // no --bytes
        {"libraries", {}},                                          // no folder
        {"libraries", {"A", "B"}},
        {"nonsense", {}},
    };
    for (const auto& [command, arguments] : cases) {
        EXPECT_EQ(runExtraCommand(command, arguments), 2) << command << ' ' << arguments.size();
    }
}

}  // namespace
}  // namespace wemb::gen
