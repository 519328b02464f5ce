// The table of changes as CSV: UTF-8 with a byte order mark (without it spreadsheet programs
// take the Japanese names for the local code page), CRLF line ends, and every field quoted that
// holds a quote, a comma or a line end.

#include <initializer_list>

#include "cli/ChangeReport.h"
#include "cli/DisplayText.h"

namespace wemb::cli {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

std::string quotedIfNeeded(const std::string& field) {
    if (field.find_first_of("\",\r\n") == std::string::npos) {
        return field;
    }
    std::string quoted = "\"";
    for (const char c : field) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

// A name beginning with one of these would be taken for a formula by a spreadsheet program (a
// part named "=HYPERLINK(...)" would run on opening); a leading apostrophe keeps it text.
std::string fromFile(std::string_view cp932) {
    std::string text = displayText(cp932);
    if (!text.empty() && std::string_view("=+-@").find(text.front()) != std::string_view::npos) {
        text.insert(0, 1, '\'');
    }
    return quotedIfNeeded(text);
}

std::string row(std::initializer_list<std::string> fields) {
    std::string line;
    bool first = true;
    for (const std::string& field : fields) {
        if (!first) {
            line += ',';
        }
        line += field;
        first = false;
    }
    line += kLineEnd;
    return line;
}

}  // namespace

std::string changesAsCsv(const std::vector<PartRow>& changes) {
    std::string csv(kByteOrderMark);
    csv += row({"sheet", "x", "y", "part name", "library name", "old reference", "new reference",
                "old block", "new block"});
    for (const PartRow& change : changes) {
        csv +=
            row({std::to_string(change.sheet + 1), std::to_string(change.x),
                 std::to_string(change.y), fromFile(change.partName), fromFile(change.libraryName),
                 fromFile(change.oldReference), fromFile(change.newReference),
                 std::to_string(change.oldBlock), std::to_string(change.newBlock)});
    }
    return csv;
}

}  // namespace wemb::cli
