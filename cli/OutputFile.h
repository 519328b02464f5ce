#pragma once
// Report files the user names on the command line (--svg, --map). A slip of the keyboard must
// not cost the drawing: a name that is the data file, its backup or one of its sheet files is
// refused, and a report is written whole to a temporary file and then renamed, so that an older
// report of that name is replaced only by a complete one.

#include <string>
#include <string_view>

namespace wemb::cli {

// True when `path` names, now, the same file as `dataFile`, its backup or one of its sheet files.
bool isDataFileOrCompanion(const std::string& path, const std::string& dataFile);

// False, with nothing written, when the path is refused or the file cannot be written.
bool writeReportFile(const std::string& path, std::string_view text, const std::string& dataFile);

}  // namespace wemb::cli
