#include "tools/gen/SyntheticDrawing.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <numeric>
#include <random>
#include <string>

#include "tools/gen/DataFileBuilder.h"
#include "tools/gen/SyntheticLibraries.h"

namespace wemb::gen {
namespace {

// Within a sheet parts stand on a grid of columns 10 apart, below the 5000 of the sheet width.
constexpr std::size_t kColumns = 499;
constexpr std::size_t kMaxRows = 3270;
constexpr std::size_t kMaxPartsPerSheet = kColumns * kMaxRows;
constexpr std::size_t kRealisticPartsPerSheet = 250;
constexpr std::size_t kRealisticMaxSheets = 8;
// The largest number a 7-character reference with a one-letter prefix holds.
constexpr std::size_t kMaxSixDigitNumber = 999'999;

using Random = std::mt19937;

struct Position {
    std::int16_t x = 0, y = 0;
};

std::size_t below(Random& random, std::size_t bound) {
    return std::uniform_int_distribution<std::size_t>(0, bound - 1)(random);
}

std::string numbered(std::string_view name, std::size_t number, int width) {
    char digits[24];
    std::snprintf(digits, sizeof digits, "%0*zu", width, number);
    return std::string(name) + digits;
}

std::size_t sheetCountFor(const SyntheticDrawingRequest& request) {
    const std::size_t needed = (request.parts + kMaxPartsPerSheet - 1) / kMaxPartsPerSheet;
    std::size_t sheets = std::max<std::size_t>(needed, 1);
    if (request.mix == DrawingMix::Realistic) {
        sheets = std::max(sheets, std::clamp<std::size_t>(request.parts / kRealisticPartsPerSheet,
                                                          1, kRealisticMaxSheets));
    }
    return sheets;
}

// The place of the `index`th part of a sheet of `count` parts, columns filled top to bottom.
Position gridPosition(std::size_t index, std::size_t count) {
    const std::size_t rows =
        std::clamp<std::size_t>((count + kColumns - 1) / kColumns, 1, kMaxRows);
    const std::size_t spacing = std::max<std::size_t>(32'000 / rows, 1);
    return {static_cast<std::int16_t>(10 + (index / rows) * 10),
            static_cast<std::int16_t>(10 + (index % rows) * spacing)};
}

// The multi-block part names of a realistic drawing: a few op-amps from each library.
std::string poolName(Random& random) {
    constexpr int kNamesPerLibrary = 3;
    return syntheticLibraryEntryName(static_cast<int>(below(random, kSyntheticLibraryCount)),
                                     static_cast<int>(below(random, kNamesPerLibrary)));
}

PartSpec makePart(Position at, std::string partName, std::string libraryName,
                  std::string reference) {
    return {.x = at.x,
            .y = at.y,
            .partName = std::move(partName),
            .reference = std::move(reference),
            .libraryName = std::move(libraryName)};
}

// A part as a drawing holds it before any number is given, by a share of kinds.
PartSpec unnumberedRealisticPart(Random& random, Position at) {
    static const std::array<std::string, 5> kResistors = {"10k", "4.7k", "100", "22k", "1k"};
    static const std::array<std::string, 3> kCapacitors = {"0.1u", "10u",
                                                           "47u\x93\x64\x89\xF0"};  // 47u電解
    const std::size_t kind = below(random, 100);
    if (kind < 38) {
        return makePart(at, kResistors[below(random, kResistors.size())], "R", "R");
    }
    if (kind < 60) {
        return makePart(at, kCapacitors[below(random, kCapacitors.size())], "C", "C");
    }
    if (kind < 80) {
        std::string name = poolName(random);
        return makePart(at, name, name, kind < 70 ? "U" : "IC");
    }
    if (kind < 88) {
        return makePart(at, "2SC1815", "TR", "Q");
    }
    if (kind < 94) {  // a power symbol carries no reference
        const std::string name = kind < 91 ? "VCC" : "GND";
        return makePart(at, name, name, "");
    }
    std::string name = poolName(random);
    const std::string power = kind < 97 ? "VCC" : "GND";
    return makePart(at, name, power + name, "U");
}

PartSpec realisticPart(Random& random, std::size_t partCount, Position at) {
    PartSpec part = unnumberedRealisticPart(random, at);
    // A quarter was numbered by hand or by an earlier run.
    if (!part.reference.empty() && below(random, 4) == 0) {
        const std::size_t number = 1 + below(random, std::max<std::size_t>(partCount, 1));
        part.reference = numbered(part.reference, number, 1);
        part.block = static_cast<std::uint8_t>(below(random, kSyntheticBlockCount));
    }
    return part;
}

// `order` is the part's index in position order.
PartSpec stressPart(const SyntheticDrawingRequest& request, Random& random, std::size_t order,
                    Position at) {
    switch (request.mix) {
        case DrawingMix::OnePrefixHalfNumbered:
            // Odd places hold 2, 4, 6 ...: the very numbers the counter reaches at each step.
            return makePart(at, "10k", "R",
                            order % 2 == 1 ? numbered("R", (order + 1) % kMaxSixDigitNumber, 1)
                                           : std::string("R"));
        case DrawingMix::DistinctMultiblock:
            return makePart(
                at, numbered("M", order, 7),
                syntheticLibraryEntryName(
                    static_cast<int>(order % kSyntheticLibraryCount),
                    static_cast<int>((order / kSyntheticLibraryCount) % kSyntheticNamesPerLibrary)),
                "U");
        case DrawingMix::DistinctPower:
            if (order % 2 == 0) {
                return makePart(at, numbered("P", order / 2, 7), "R", "U");
            }
            return makePart(at, numbered((order / 2) % 2 == 0 ? "P" : "N", order / 2, 7), "VCC5",
                            "U");
        case DrawingMix::Realistic:
        case DrawingMix::SamePosition:
            break;
    }
    return realisticPart(random, request.parts, at);
}

// A record that numbering never reads: a fixed-length one, or a variable-length one.
void otherRecord(DataFileBuilder& file, Random& random) {
    const std::size_t kind = below(random, 10);
    if (kind < 8) {
        file.record(static_cast<std::uint8_t>(kind));
    } else {
        file.variableRecord(static_cast<std::uint8_t>(16 + below(random, 40)),
                            static_cast<std::int16_t>(12 + below(random, 40)));
    }
}

void writeSheet(DataFileBuilder& file, const SyntheticDrawingRequest& request, Random& random,
                std::size_t sheet, std::size_t firstOrder, std::size_t count) {
    file.header(sheet % 2 == 1);
    std::vector<std::size_t> fileOrder(count);
    std::iota(fileOrder.begin(), fileOrder.end(), std::size_t{0});
    std::shuffle(fileOrder.begin(), fileOrder.end(), random);
    const bool realistic = request.mix == DrawingMix::Realistic;
    for (const std::size_t local : fileOrder) {
        const Position at = request.mix == DrawingMix::SamePosition ? Position{100, 100}
                                                                    : gridPosition(local, count);
        file.part(stressPart(request, random, firstOrder + local, at));
        if (realistic && below(random, 10) < 3) {
            otherRecord(file, random);
        }
    }
    if (realistic) {
        file.record(5);
    }
}

}  // namespace

std::optional<DrawingMix> drawingMixNamed(std::string_view name) {
    if (name == "realistic")
        return DrawingMix::Realistic;
    if (name == "one-prefix-half-numbered")
        return DrawingMix::OnePrefixHalfNumbered;
    if (name == "distinct-multiblock")
        return DrawingMix::DistinctMultiblock;
    if (name == "distinct-power")
        return DrawingMix::DistinctPower;
    if (name == "same-position")
        return DrawingMix::SamePosition;
    return std::nullopt;
}

std::vector<std::uint8_t> makeSyntheticDrawing(const SyntheticDrawingRequest& request) {
    Random random(request.seed);
    DataFileBuilder file;
    const std::size_t sheets = sheetCountFor(request);
    const std::size_t perSheet = (request.parts + sheets - 1) / sheets;
    std::size_t written = 0;
    for (std::size_t sheet = 0; sheet < sheets; ++sheet) {
        const std::size_t count = std::min(perSheet, request.parts - written);
        writeSheet(file, request, random, sheet, written, count);
        written += count;
    }
    return file.bytes();
}

}  // namespace wemb::gen
