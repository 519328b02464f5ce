#include "app/CommandLine.h"

namespace wemb {

std::string startupFileName(const std::vector<std::string>& arguments) {
    if (arguments.size() != 1 || arguments.front().empty() || arguments.front().front() == '-') {
        return {};
    }
    return arguments.front();
}

}  // namespace wemb
