#pragma once
// What the dialog takes from its command line: a data file's name, as when a file is dropped
// onto the program or opened with it. The toolkit has taken its own options out first.

#include <string>
#include <vector>

namespace wemb {

// The name to put in the file field: the first argument that is not an option; "" when there is
// none. Options ("-x", "/x") the program does not know are passed over, but "/" starts an option
// only before one word of letters and digits, as "/a.CE2" is a path.
std::string startupFileName(const std::vector<std::string>& arguments);

}  // namespace wemb
