#pragma once
// What --check tells: the findings of each sheet, then the counts for the whole file, as text
// for the terminal or as JSON. Sheets are counted from 1; texts from the file are shown converted
// from CP932.

#include <string>

#include "app/DrawingCheck.h"
#include "cli/CliOptions.h"

namespace wemb::cli {

// UTF-8; the caller converts for the terminal.
std::string checkAsText(const CliOptions& options, const CheckReport& report);
std::string checkAsJson(const CliOptions& options, const CheckReport& report);

}  // namespace wemb::cli
