#pragma once
// Report files the user names on the command line (--svg, --map). A slip of the keyboard must
// not cost the drawing: a name that is the data file, its backup or one of its sheet files is
// refused before anything is done, and a report is written whole to a temporary file and then
// renamed, so that an older report of that name is replaced only by a complete one.

#include <optional>
#include <string>
#include <string_view>

#include "platform/TemporaryFile.h"

namespace wemb::cli {

// The drawing's own file that `path` would replace, if any: the data file, its backup or one of
// its sheet files, beside the name given and, for a symbolic link, beside its target. Paths are
// compared with every link resolved, and existing files by identity as well.
std::optional<std::string> drawingFileAt(const std::string& path, const std::string& dataFile);

// A report whose temporary is created before the work that fills it, so that a report that
// cannot be written is found out while nothing has been done yet.
class ReportFile {
  public:
    // Nullopt (errno set) when the temporary cannot be created beside `path`.
    static std::optional<ReportFile> create(const std::string& path);

    ReportFile(ReportFile&& other) noexcept;
    ReportFile& operator=(ReportFile&&) = delete;
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;
    ~ReportFile();  // removes the temporary unless it was committed

    // Writes `text` to the temporary and renames it onto the path; call once. False when either
    // fails; then the temporary is gone and whatever was under the path is as it was.
    bool commit(std::string_view text);

  private:
    ReportFile(std::string path, platform::OpenTemporary temporary);

    std::string path_;
    std::optional<platform::OpenTemporary> temporary_;
};

// False, with nothing written, when the path is refused or the file cannot be written.
bool writeReportFile(const std::string& path, std::string_view text, const std::string& dataFile);

}  // namespace wemb::cli
