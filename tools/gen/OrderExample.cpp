// Writes an example drawing for the picture of the numbering order: two sheets of about 250
// parts each (resistors, capacitors, quad op-amps in four blocks, connectors, power symbols),
// half of them already numbered in no particular order, with QUIL.INI and a text library.
//
// Usage: wemb_check_example DIRECTORY

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tools/gen/DataFileBuilder.h"
#include "tools/gen/TextLibraryBuilder.h"

namespace {

using wemb::gen::DataFileBuilder;
using wemb::gen::PartSpec;

// A small deterministic generator, so that the example is the same on every run.
class Sequence {
  public:
    unsigned next() {
        state_ = state_ * 1103515245u + 12345u;
        return (state_ >> 16) & 0x7FFF;
    }

  private:
    unsigned state_ = 7;
};

struct Kind {
    const char* prefix;
    const char* partName;
    const char* library;
    int blocks;
};

constexpr Kind kKinds[] = {
    {"R", "10k", "R", 1},    {"R", "4k7", "R", 1},        {"C", "100n", "C", 1},
    {"C", "10u", "C", 1},    {"IC", "LM324", "LM324", 4}, {"J", "CONN", "CONN", 1},
    {"D", "1N4148", "D", 1},
};

void sheet(DataFileBuilder& file, Sequence& random, int& numbered) {
    file.header();
    // Parts on a grid of columns, as a schematic is drawn: 18 columns, 14 rows.
    for (int column = 0; column < 18; ++column) {
        for (int row = 0; row < 14; ++row) {
            const Kind& kind = kKinds[random.next() % std::size(kKinds)];
            const auto x = static_cast<std::int16_t>(150 + column * 260 + random.next() % 60);
            const auto y = static_cast<std::int16_t>(150 + row * 230 + random.next() % 50);
            // The blocks of a package are numbered together, or not at all.
            std::string reference = kind.prefix;
            if (random.next() % 2 == 0) {
                reference += std::to_string(++numbered * 7 % 997);
            }
            for (int block = 0; block < kind.blocks; ++block) {
                file.part({.x = static_cast<std::int16_t>(x + block * 70),
                           .y = y,
                           .partName = kind.partName,
                           .reference = reference,
                           .libraryName = kind.library,
                           .block = static_cast<std::uint8_t>(block)});
            }
        }
    }
    for (int i = 0; i < 6; ++i) {
        file.part({.x = static_cast<std::int16_t>(300 + i * 800),
                   .y = 3500,
                   .partName = "",
                   .reference = "GND",
                   .libraryName = "GND"});
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    const std::filesystem::path directory = argv[1];
    std::filesystem::create_directories(directory);
    Sequence random;
    DataFileBuilder file;
    int numbered = 0;
    sheet(file, random, numbered);
    sheet(file, random, numbered);
    const auto bytes = file.bytes();
    std::ofstream((directory / "example.CE2").string(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));

    wemb::gen::TextLibraryBuilder library;
    for (const Kind& kind : kKinds) {
        library.component({.name = kind.library, .blocks = kind.blocks, .prefix = kind.prefix});
    }
    library.writeFile((directory / "parts.LB3").string());
    std::ofstream((directory / "QUIL.INI").string()) << "[LIBRARY]\nLIB0=parts.LB3\n";
    std::printf("%s: %d packages numbered already\n", (directory / "example.CE2").c_str(),
                numbered);
    return 0;
}
