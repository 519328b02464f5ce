#pragma once
// What the dialog takes from its command line: a data file's name, as when a file is dropped
// onto the program or opened with it.

#include <string>
#include <vector>

namespace wemb {

// The name to put in the file field: the one argument when it is a plain name; "" for any other
// command line, which is ignored.
std::string startupFileName(const std::vector<std::string>& arguments);

}  // namespace wemb
