#pragma once
// The picture of a numbering: every sheet side by side, as far apart as the numbering's position
// order puts them, every part at its place labelled with its new reference (unchanged parts in
// grey), and per prefix one thin line through its parts in the order of their new numbers.

#include <string>
#include <string_view>
#include <vector>

#include "app/Job.h"

namespace wemb::cli {

// `parts`: every part of the file, in file order, with old and new fields. `title` is UTF-8.
std::string orderPictureSvg(std::string_view title, const std::vector<PartRow>& parts);

}  // namespace wemb::cli
