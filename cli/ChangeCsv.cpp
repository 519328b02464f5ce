#include "cli/ChangeReport.h"

namespace wemb::cli {

std::string changesAsCsv(const std::vector<PartChange>&) {
    return {};
}

}  // namespace wemb::cli
