#include "app/CommandLine.h"

#include <algorithm>
#include <cctype>

namespace wemb {

namespace {

bool isOption(const std::string& argument) {
    if (argument.size() < 2) {
        return argument.empty();
    }
    if (argument.front() == '-') {
        return true;
    }
    return argument.front() == '/' &&
           std::all_of(argument.begin() + 1, argument.end(),
                       [](unsigned char c) { return std::isalnum(c) != 0; });
}

}  // namespace

std::string startupFileName(const std::vector<std::string>& arguments) {
    const auto file = std::find_if_not(arguments.begin(), arguments.end(), isOption);
    return file == arguments.end() ? std::string() : *file;
}

}  // namespace wemb
