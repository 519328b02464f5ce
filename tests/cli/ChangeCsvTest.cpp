// The table of changes read back by a strict RFC 4180 reader, as a spreadsheet would read it:
// every name survives whatever bytes it holds, and none can start a formula.

#include <gtest/gtest.h>

#include "cli/ChangeReport.h"
#include "platform/Cp932.h"

namespace wemb {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// Fields end at a comma, records at CRLF; a quoted field may hold anything, with quotes
// doubled. Anything else (a bare CR or LF, a quote inside an unquoted field) fails the test.
Rows parseCsv(std::string_view text) {
    Rows rows(1);
    std::string field;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == '"') {
            // A quoted field ends at a quote not doubled.
            for (++i; i < text.size() && (text[i] != '"' || text.substr(i, 2) == "\"\""); ++i) {
                field += text[i];
                i += text[i] == '"' ? 1 : 0;
            }
            EXPECT_LT(i, text.size()) << "unterminated quoted field";
            ++i;
        }
        while (i < text.size() && text[i] != ',' && text[i] != '\r') {
            EXPECT_NE(text[i], '"') << "quote inside an unquoted field";
            EXPECT_NE(text[i], '\n') << "bare line feed";
            field += text[i++];
        }
        rows.back().push_back(std::move(field));
        field.clear();
        if (i < text.size() && text[i] == ',') {
            ++i;
            continue;
        }
        EXPECT_EQ(text.substr(i, 2), "\r\n") << "record not ended by CRLF";
        i += 2;
        rows.emplace_back();
    }
    rows.pop_back();
    return rows;
}

TEST(ChangeCsv, EveryNameReadsBackAsShownAndNoneStartsAFormula) {
    const struct {
        std::string bytes;  // as the file holds it
        std::string shown;  // as the spreadsheet must show it
    } cases[] = {
        {"a,b", "a,b"},
        {"say \"hi\"", "say \"hi\""},
        {"", ""},
        {*platform::utf8ToCp932("抵抗"), "抵抗"},
        {*platform::utf8ToCp932("ｱﾝﾌﾟ"), "ｱﾝﾌﾟ"},
        {"A\xFD", "A\\xFD"},                       // a byte CP932 does not have
        {"B\x81", "B\\x81"},                       // a lead byte without its trail byte
        {"line\r\nbreak", "line\\x0D\\x0Abreak"},  // control bytes shown, rows stay whole
        {std::string("nul\0x", 5), "nul\\x00x"},
        {"=HYPERLINK(\"x\")", "'=HYPERLINK(\"x\")"},
        {"+5V", "'+5V"},
        {"-12V", "'-12V"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"5=x", "5=x"},
    };
    for (const auto& c : cases) {
        const PartRow change{2, -40, 300, c.bytes, c.bytes, c.bytes, c.bytes, 1, 3};
        const std::string csv = cli::changesAsCsv({change, change});
        ASSERT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
        const std::vector<std::string> row{"3",     "-40",   "300", c.shown, c.shown,
                                           c.shown, c.shown, "1",   "3"};
        EXPECT_EQ(parseCsv(std::string_view(csv).substr(3)),
                  (Rows{{"sheet", "x", "y", "part name", "library name", "old reference",
                         "new reference", "old block", "new block"},
                        row,
                        row}))
            << c.shown;
    }
}

}  // namespace
}  // namespace wemb
