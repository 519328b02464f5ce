#pragma once
// The generators of wemb-gen beyond the bundled example: synthetic drawings and libraries at
// scale, and fuzz seeds.

#include <string>
#include <vector>

namespace wemb::gen {

// ", name, name" for the usage line.
std::string extraCommandNames();
// Runs the generator named `command`; 2 when there is none of that name.
int runExtraCommand(const std::string& command, const std::vector<std::string>& arguments);

}  // namespace wemb::gen
