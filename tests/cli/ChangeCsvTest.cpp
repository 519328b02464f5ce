// The table of changes as a spreadsheet reads it, byte for byte: every name is quoted where
// RFC 4180 needs it, shown whatever bytes it holds, and none can start a formula.

#include <gtest/gtest.h>

#include "cli/ChangeReport.h"
#include "platform/Cp932.h"

namespace wemb {
namespace {

TEST(ChangeCsv, EveryNameReadsBackAsShownAndNoneStartsAFormula) {
    const struct {
        std::string bytes;  // as the file holds it
        std::string field;  // as the table must hold it
    } cases[] = {
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"", ""},
        {*platform::utf8ToCp932("抵抗"), "抵抗"},
        {*platform::utf8ToCp932("ｱﾝﾌﾟ"), "ｱﾝﾌﾟ"},
        {"A\xFD", "A\\xFD"},                       // a byte CP932 does not have
        {"B\x81", "B\\x81"},                       // a lead byte without its trail byte
        {"line\r\nbreak", "line\\x0D\\x0Abreak"},  // control bytes shown, rows stay whole
        {std::string("nul\0x", 5), "nul\\x00x"},
        {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
        {"+5V", "'+5V"},
        {"-12V", "'-12V"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"5=x", "5=x"},
    };
    for (const auto& c : cases) {
        const PartRow change{2, -40, 300, c.bytes, c.bytes, c.bytes, c.bytes, 1, 3};
        const std::string row =
            "3,-40,300," + c.field + "," + c.field + "," + c.field + "," + c.field + ",1,3\r\n";
        EXPECT_EQ(cli::changesAsCsv({change, change}),
                  "\xEF\xBB\xBFsheet,x,y,part name,library name,old reference,new reference,old "
                  "block,new block\r\n" +
                      row + row);
    }
}

}  // namespace
}  // namespace wemb
