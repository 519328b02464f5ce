// wemb-gen: makes sample data files and libraries of this project's own, for the bundled example,
// the tests' fixtures, the fuzz seeds and the benchmarks.
//
//   wemb-gen example DIR    writes the bundled example (amp.CE2, PARTS.LIB, EXTRA.LB3, QUIL.INI)

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "tools/gen/ExampleDrawing.h"
#include "tools/gen/Generators.h"

namespace {

int writeExample(const std::vector<std::string>& arguments) {
    if (arguments.size() != 1) {
        std::cerr << "usage: wemb-gen example DIR\n";
        return 2;
    }
    const std::filesystem::path directory = arguments[0];
    std::filesystem::create_directories(directory);
    for (const auto& file : wemb::gen::exampleFiles()) {
        std::ofstream out(directory / file.name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(file.bytes.data()),
                  static_cast<std::streamsize>(file.bytes.size()));
        if (!out) {
            std::cerr << "wemb-gen: cannot write " << (directory / file.name).string() << '\n';
            return 1;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.empty()) {
        std::cerr << "usage: wemb-gen COMMAND ARGS...   (commands: example"
                  << wemb::gen::extraCommandNames() << ")\n";
        return 2;
    }
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    if (arguments[0] == "example") {
        return writeExample(rest);
    }
    return wemb::gen::runExtraCommand(arguments[0], rest);
}
