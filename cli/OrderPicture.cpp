#include "cli/ChangeReport.h"

namespace wemb::cli {

bool writeOrderPicture(const CliOptions&, const JobReport&) {
    return false;
}

}  // namespace wemb::cli
