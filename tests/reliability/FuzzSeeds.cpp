#include "tests/reliability/FuzzSeeds.h"

#include <string_view>

#include "tools/gen/BinaryLibraryBuilder.h"
#include "tools/gen/DataFileBuilder.h"
#include "tools/gen/ExampleDrawing.h"
#include "tools/gen/TextLibraryBuilder.h"

namespace wemb::testing {
namespace {

using gen::DataFileBuilder;
using gen::PartSpec;

std::vector<std::uint8_t> bytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

const gen::ExampleFile& exampleFile(const std::string& name) {
    static const std::vector<gen::ExampleFile> files = gen::exampleFiles();
    for (const gen::ExampleFile& file : files) {
        if (file.name == name) {
            return file;
        }
    }
    static const gen::ExampleFile none;
    return none;
}

// Sets the numbering parameters that DataFileFuzzer reads from the first header record.
std::vector<std::uint8_t> withParameters(std::vector<std::uint8_t> bytes, int initial, int step,
                                         bool dependenceName, int mode) {
    bytes[22] = static_cast<std::uint8_t>((initial - 1) & 0xFF);
    bytes[23] = static_cast<std::uint8_t>((initial - 1) >> 8);
    bytes[24] = static_cast<std::uint8_t>(step - 1);
    bytes[25] = static_cast<std::uint8_t>((dependenceName ? 1 : 0) | (mode << 1));
    return bytes;
}

std::vector<std::uint8_t> threeSheetsWithPackages() {
    DataFileBuilder file;
    file.header()
        .part({.x = 100, .y = 100, .partName = "LM324", .reference = "U", .libraryName = "LM3243"})
        .part({.x = 300, .y = 100, .partName = "LM324", .reference = "U", .libraryName = "LM3243"})
        .part({.x = 500, .y = 100, .partName = "10k", .reference = "R7", .libraryName = "R"})
        .record(3)
        .part({.x = 700, .y = 100, .partName = "VCC", .reference = "V", .libraryName = "VCC"})
        .part(
            {.x = 900, .y = 100, .partName = "74HC00", .reference = "IC2", .libraryName = "VCC1"});
    file.header(true)
        .part({.x = 100, .y = 300, .partName = "74HC00", .reference = "IC", .libraryName = "HC002"})
        .part({.x = 200, .y = 300, .partName = "", .reference = "C3", .libraryName = "C"})
        .variableRecord(20, 24);
    file.header().part({.x = -5, .y = -5, .partName = "1u", .reference = "C", .libraryName = "C"});
    return file.bytes();
}

std::vector<std::uint8_t> oddReferences() {
    DataFileBuilder file;
    file.header()
        .part({.x = 10, .y = 10, .partName = "a", .reference = "ABCDEF9", .libraryName = "X"})
        .part({.x = 20, .y = 10, .partName = "a", .reference = "ABCDE12", .libraryName = "X"})
        .part({.x = 30, .y = 10, .partName = "b", .reference = "R", .referenceLength = 200})
        .part({.x = 40, .y = 10, .partName = "b", .reference = "R1234", .referenceLength = 20})
        .part({.x = 50, .y = 10, .partName = "c", .reference = "", .libraryName = "GND"})
        .part({.x = 60, .y = 10, .partName = "c", .reference = "12", .libraryName = "GND5"})
        .part({.x = 70, .y = 10, .partName = "d", .reference = "R?", .partNameLength = 40});
    return file.bytes();
}

std::vector<std::uint8_t> everyRecordType() {
    DataFileBuilder file;
    file.header();
    for (std::uint8_t type = 0; type <= 7; ++type) {
        file.record(type);
    }
    file.variableRecord(16, 12).variableRecord(255, 40).record(9);
    return file.bytes();
}

std::vector<std::uint8_t> seventyHeaders() {
    DataFileBuilder file;
    for (int sheet = 0; sheet < 70; ++sheet) {
        file.header().part({.x = 1, .y = 1, .partName = "10k", .reference = "R1"});
    }
    return file.bytes();
}

std::string textLibrary() {
    gen::TextLibraryBuilder library;
    library.pattern({.name = "OPAMP", .width = 16, .height = 2, .rows = {{0x0F, 0xF0}, {0x81}}})
        .component({.name = "LM358",
                    .blocks = 2,
                    .prefix = "U",
                    .pattern = "OPAMP",
                    .pins = {{.name = "OUT", .location = "R2", .numbers = {"1", "7"}}}})
        .component({.name = "R", .blocks = 1, .prefix = "R"})
        .alias("LM358", "LM2904");
    return library.text();
}

std::string asText(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

std::string libraryFile(const std::string& name, const std::string& content) {
    return kLibrarySetSeparator + name + "\n" + content;
}

std::string iniInput(std::string_view section, std::string_view key, std::string_view value,
                     std::string_view text) {
    std::string input;
    input.append(section).push_back(kIniFieldEnd);
    input.append(key).push_back(kIniFieldEnd);
    input.append(value).push_back(kIniFieldEnd);
    input.append(text);
    return input;
}

}  // namespace

std::vector<FuzzSeed> dataFileSeeds() {
    const std::vector<std::uint8_t> example = exampleFile("amp.CE2").bytes;
    return {
        {"example-locked", withParameters(example, 1, 1, false, 0)},
        {"example-original-step", withParameters(example, 100, 10, true, 1)},
        {"example-renum", withParameters(example, 1000, 20, false, 2)},
        {"three-sheets", withParameters(threeSheetsWithPackages(), 1, 1, false, 0)},
        {"three-sheets-renum", withParameters(threeSheetsWithPackages(), 7, 3, true, 2)},
        {"odd-references", withParameters(oddReferences(), 995, 5, false, 1)},
        {"odd-references-renum", withParameters(oddReferences(), 95, 20, false, 2)},
        {"every-record-type", everyRecordType()},
        {"seventy-headers", withParameters(seventyHeaders(), 1, 1, false, 2)},
        {"empty-sheet", DataFileBuilder().header(true).bytes()},
    };
}

std::vector<FuzzSeed> iniSeeds() {
    const std::string quil = asText(exampleFile("QUIL.INI").bytes);
    const std::string recent =
        "[Recent File "
        "List]\r\nFile1=C:\\data\\amp.CE2\r\nFile2=\"b.CE2\"\r\n\r\n[Other]\r\nx=1\r\n";
    const std::string awkward =
        "; comment\n[library]\n  lib0 = 'A.LB3'  \nLIB0=second\n[LIBRARY]\nLIB1=B\n[\x82\x60]\nk=v";
    return {
        {"replace-library", bytesOf(iniInput("LIBRARY", "LIB0", "NEW.LIB", quil))},
        {"add-library-key", bytesOf(iniInput("LIBRARY", "LIB2", "C.LB3", quil))},
        {"add-section", bytesOf(iniInput("Recent File List", "File1", "amp.CE2", quil))},
        {"recent-crlf", bytesOf(iniInput("Recent File List", "File3", "c.CE2", recent))},
        {"awkward-names", bytesOf(iniInput("Library", "Lib0", "\x83\x5c.LB3", awkward))},
        {"refused-key", bytesOf(iniInput("LIBRARY", "[LIB0", "x", quil))},
        {"empty-text", bytesOf(iniInput("S", "K", "V", ""))},
    };
}

std::vector<FuzzSeed> librarySetSeeds() {
    const std::string binary = asText(exampleFile("PARTS.LIB").bytes);
    const std::string extra = asText(exampleFile("EXTRA.LB3").bytes);
    const std::string built = asText(gen::exampleBinaryLibrary().bytes());
    const std::string twoFormats =
        "[LIBRARY]\nLIB0=PARTS.LIB\nLIB1=EXTRA.LB3\nLIB2=MORE.lb3\n"
        "LIB3=BUILT.LIB\nLIB5=NEVER.LIB\n";
    std::string sixteen = "[LIBRARY]\n";
    for (int key = 0; key < 18; ++key) {
        sixteen += "LIB" + std::to_string(key) + "=" + (key % 2 ? "EXTRA.LB3" : "PARTS.LIB") + "\n";
    }
    return {
        {"example", bytesOf(asText(exampleFile("QUIL.INI").bytes) +
                            libraryFile("PARTS.LIB", binary) + libraryFile("EXTRA.LB3", extra))},
        {"both-formats",
         bytesOf(twoFormats + libraryFile("PARTS.LIB", binary) + libraryFile("EXTRA.LB3", extra) +
                 libraryFile("MORE.lb3", textLibrary()) + libraryFile("BUILT.LIB", built))},
        {"missing-library",
         bytesOf("[LIBRARY]\nLIB0=PARTS.LIB\nLIB1=GONE.LIB\n" + libraryFile("PARTS.LIB", binary))},
        {"binary-named-lb3",
         bytesOf("[LIBRARY]\nLIB0=WRONG.LB3\n" + libraryFile("WRONG.LB3", binary))},
        {"eighteen-keys",
         bytesOf(sixteen + libraryFile("PARTS.LIB", binary) + libraryFile("EXTRA.LB3", extra))},
    };
}

}  // namespace wemb::testing
