#include "tools/gen/Generators.h"

#include <iostream>

namespace wemb::gen {

std::string extraCommandNames() { return ""; }

int runExtraCommand(const std::string& command, const std::vector<std::string>&) {
    std::cerr << "wemb-gen: unknown command '" << command << "'\n";
    return 2;
}

}  // namespace wemb::gen
