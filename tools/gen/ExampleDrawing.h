#pragma once
// The bundled example: a small two-sheet amplifier drawing with the libraries and QUIL.INI it
// needs. Everything in examples/ is made by this code (through wemb-gen), so anyone can make it
// again.

#include <cstdint>
#include <string>
#include <vector>

namespace wemb::gen {

struct ExampleFile {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// amp.CE2, PARTS.LIB (binary), EXTRA.LB3 (text) and QUIL.INI naming both libraries.
std::vector<ExampleFile> exampleFiles();

}  // namespace wemb::gen
