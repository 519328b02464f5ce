#pragma once
// The reports of a --dry-run (and the map of a real job): each changed part with its sheet,
// position, names and its old and new reference and block. Sheets are counted from 1.

#include <string>
#include <vector>

#include "app/Job.h"
#include "cli/CliOptions.h"

namespace wemb::cli {

// A tab-separated table with a header line, then a summary line.
std::string changesAsText(const JobReport& report);
std::string changesAsJson(const CliOptions& options, const JobReport& report);
// UTF-8 with BOM and CRLF line ends, so that spreadsheet programs show the Japanese names right.
std::string changesAsCsv(const std::vector<PartRow>& changes);
// Draws the sheets and the numbering order into options.svgPath; false when it cannot be written.
bool writeOrderPicture(const CliOptions& options, const JobReport& report);

}  // namespace wemb::cli
