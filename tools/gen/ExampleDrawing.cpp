#include "tools/gen/ExampleDrawing.h"

#include "tools/gen/BinaryLibraryBuilder.h"
#include "tools/gen/DataFileBuilder.h"
#include "tools/gen/TextLibraryBuilder.h"

namespace wemb::gen {
namespace {

// Part names as the editor stores them, in CP932.
const std::string kVolume = "\xCE\xDE\xD8\xAD\xB0\xD1";  // ﾎﾞﾘｭｰﾑ (volume), half-width kana
const std::string kElectrolytic = "47u\x93\x64\x89\xF0";  // 47u電解 (electrolytic)

PartSpec part(std::int16_t x, std::int16_t y, std::string partName, std::string reference,
              std::string libraryName, std::uint8_t block = 0) {
    return {.x = x,
            .y = y,
            .partName = std::move(partName),
            .reference = std::move(reference),
            .libraryName = std::move(libraryName),
            .block = block};
}

// Sheet 1: the input stage, a quad op-amp drawn as four blocks, resistors and capacitors
// numbered with gaps and a duplicate, a few unnumbered parts, and the power symbols.
void inputStage(DataFileBuilder& file) {
    file.header()
        .record(0)
        .part(part(400, 800, "10k", "R1", "R"))
        .part(part(400, 1400, "10k", "R5", "R"))
        .record(2)
        .part(part(1400, 800, "10k", "R5", "R"))  // a duplicate of the one above
        .part(part(1400, 1400, "22k", "R", "R"))
        .part(part(1000, 1000, "LM324", "U", "LM324"))
        .part(part(1000, 2000, "LM324", "U", "LM324"))
        .variableRecord(20, 24)
        .part(part(2000, 1000, "LM324", "U", "LM324"))
        .part(part(2000, 2000, "LM324", "U", "LM324"))
        .part(part(700, 1800, "0.1u", "C3", "C"))
        .part(part(1700, 1800, "0.1u", "C", "C"))
        .record(7)
        .part(part(2700, 1800, "0.1u", "C1", "C"))
        .part(part(2600, 800, "10k", "R12", "R"))
        .part(part(2600, 1400, "10k", "R", "R"))
        .part(part(3000, 600, kVolume, "VR", "VR"))
        .part(part(3400, 2600, "LM324", "U", "VCCLM324"))  // the op-amp's power unit
        .part(part(1000, 300, "VCC", "", "VCC"))
        .part(part(1000, 2800, "GND", "", "GND"))
        .record(5);
}

// Sheet 2: the output stage, a dual op-amp and five NAND gates (one more than a package holds).
void outputStage(DataFileBuilder& file) {
    file.header(true)
        .part(part(600, 1000, "NE5532", "U", "NE5532"))
        .part(part(600, 2000, "NE5532", "U", "NE5532"))
        .record(1)
        .part(part(1500, 500, "74HC00", "IC", "74HC00"))
        .part(part(1500, 1100, "74HC00", "IC", "74HC00"))
        .part(part(1500, 1700, "74HC00", "IC", "74HC00"))
        .part(part(1500, 2300, "74HC00", "IC", "74HC00"))
        .part(part(2100, 500, "74HC00", "IC", "74HC00"))
        .variableRecord(33, 40)
        .part(part(300, 700, "4.7k", "R3", "R"))
        .part(part(300, 1500, "4.7k", "R", "R"))
        .part(part(2500, 1500, "100", "R20", "R"))
        .part(part(2800, 1000, kElectrolytic, "C", "CP"))
        .part(part(2800, 2400, "GND", "", "GND"))
        .record(4);
}

std::vector<std::uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

std::vector<std::uint8_t> extraTextLibrary() {
    TextLibraryBuilder library;
    library
        .component({.name = "NE5532",
                    .blocks = 2,
                    .prefix = "U",
                    .pins = {{.name = "IN+", .location = "L1", .numbers = {"3", "5"}},
                             {.name = "OUT", .location = "R2", .numbers = {"1", "7"}}}})
        .component({.name = "74HC00",
                    .blocks = 4,
                    .prefix = "IC",
                    .pins = {{.name = "A", .location = "L1", .numbers = {"1", "4", "9", "12"}},
                             {.name = "Y", .location = "R1", .numbers = {"3", "6", "8", "11"}}}})
        .component({.name = "VR", .blocks = 1, .prefix = "VR"})
        .component({.name = "CP", .blocks = 1, .prefix = "C"})
        .alias("74HC00", "74AC00");
    return library.bytes();
}

}  // namespace

std::vector<ExampleFile> exampleFiles() {
    DataFileBuilder drawing;
    inputStage(drawing);
    outputStage(drawing);
    return {
        {"amp.CE2", drawing.bytes()},
        {"PARTS.LIB", exampleBinaryLibrary().bytes()},
        {"EXTRA.LB3", extraTextLibrary()},
        {"QUIL.INI",
         bytesOf("; The editor's settings: the part libraries Wemb reads block counts from.\r\n"
                 "[LIBRARY]\r\nLIB0=PARTS.LIB\r\nLIB1=EXTRA.LB3\r\n")},
    };
}

}  // namespace wemb::gen
