#pragma once
// Texts from the data file (CP932 bytes, any byte possible) made fit for a report that another
// program reads: UTF-8, with bytes that do not convert and control bytes shown as "\xNN", so that
// no name can break a spreadsheet row or an XML document.

#include <string>
#include <string_view>

namespace wemb::cli {

std::string displayText(std::string_view cp932);

// A name typed on the command line, which should already be UTF-8: kept when it is, with every
// byte that is not part of valid UTF-8, and every control byte, shown as "\xNN".
std::string displayName(std::string_view bytes);

}  // namespace wemb::cli
