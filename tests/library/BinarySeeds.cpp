#include "tests/library/BinarySeeds.h"

#include "tools/gen/BinaryLibraryBuilder.h"

namespace wemb::test {
namespace {

using gen::BinaryBitmap;
using gen::BinaryComponent;
using gen::BinaryLibraryBuilder;
using gen::BinaryPin;

std::vector<std::uint8_t> withBitmapAndOddNames() {
    BinaryLibraryBuilder builder;
    BinaryComponent diode;
    diode.prefix = std::string(1, 'D');  // not a literal: g++ 12 warns wrongly on it
    diode.bitmap = BinaryBitmap{9, 2, {0xAA, 0x80, 0x55, 0x00}};
    diode.pins = {BinaryPin{0x1001, "\\A\\", std::nullopt, {0x0405}},
                  BinaryPin{0xC201, "K", 0xFF, {0x800C}}};
    BinaryComponent empty;
    empty.blockCount = 0;
    empty.pins = {BinaryPin{0x0300, std::string(70, 'n'), 0x45, {}}};
    const int first = builder.addComponent(diode);
    builder.addEntry("1N4148", first)
        .addEntry("NONE", gen::kNoComponent)
        .addEntry("EMPTY", builder.addComponent(empty))
        .addEntry("1SS133", first);
    return builder.bytes();
}

}  // namespace

std::vector<BinarySeed> binarySeeds() {
    std::vector<BinarySeed> seeds;
    seeds.push_back({"valid-example", gen::exampleBinaryLibrary().bytes()});
    seeds.push_back({"valid-bitmap-and-names", withBitmapAndOddNames()});

    gen::BuiltBinaryLibrary badName = gen::exampleBinaryLibrary().build();
    badName.putU32(badName.layout.nameTable, 0x00FFFFFF);
    seeds.push_back({"broken-name-offset", badName.bytes});

    gen::BuiltBinaryLibrary badPins = gen::exampleBinaryLibrary().build();
    badPins.putU16(badPins.layout.components[0] + 10, 0x0FFF);
    seeds.push_back({"broken-pin-count", badPins.bytes});
    return seeds;
}

}  // namespace wemb::test
