// The reports byte for byte. A check as text and as JSON: every finding with its part, whatever
// bytes the part's names hold, and the counts of each sheet and of the whole file. The table of
// changes as a spreadsheet reads it: every name quoted where RFC 4180 needs it, shown whatever
// bytes it holds, and none can start a formula.

#include <gtest/gtest.h>

#include "cli/ChangeReport.h"
#include "cli/CheckFormat.h"
#include "platform/Cp932.h"
#include "tests/app/CheckFixtures.h"

namespace wemb {
namespace {

TEST(CheckJson, EveryFindingWithItsNamesShown) {
    auto parts =
        testing::sheets("R1/a\"b\\c/LM324, R1/x/LM324, Q/x/LM324 | U9/LM324/LM324/4, GND//GND");
    parts[0][1].partName = *platform::utf8ToCp932("抵抗");
    parts[0][2].partName = "\n\x01\xFD";
    parts[1][0].y = -5;
    CheckReport report;
    report.check =
        checkDrawing(testing::drawing(parts), testing::TableLibraries({{"LM324", 4}}), {});
    report.failedLibrary = errorAt(FileErrorKind::UnexpectedToken, {12, 5}, "expected \"-PIN\"");
    report.failedLibrary->file = "lib/\"x\"\xFF.LB3";
    cli::CliOptions options;
    options.file = "amp \"1\".CE2";
    EXPECT_EQ(
        cli::checkAsJson(options, report),
        R"({"file":"amp \"1\".CE2","dependenceName":false,"failedLibrary":"lib/\"x\"\\xFF.LB3",)"
        R"("error":{"file":"lib/\"x\"\\xFF.LB3","kind":"unexpectedToken","line":12,"column":5,)"
        R"("detail":"expected \"-PIN\""},)"
        R"("parts":5,"problems":4,"counts":{"duplicateReference":2,"missingNumber":1,"blockOutOfRange":1,)"
        R"("packageNameMismatch":0,"referenceAtLimit":0,"passedOver":1},"unseenSheetFiles":[],"sheets":[)"
        R"({"sheet":1,"parts":3,"counts":{"duplicateReference":2,"missingNumber":1,"blockOutOfRange":0,)"
        R"("packageNameMismatch":0,"referenceAtLimit":0,"passedOver":0},"findings":[)"
        R"({"kind":"duplicateReference","reference":"R1","x":100,"y":200,"partName":"a\"b\\c",)"
        R"("libraryName":"LM324","block":0,"sharedBy":2},)"
        R"({"kind":"duplicateReference","reference":"R1","x":200,"y":200,"partName":"抵抗",)"
        R"("libraryName":"LM324","block":0,"sharedBy":2},)"
        R"({"kind":"missingNumber","reference":"Q","x":300,"y":200,"partName":"\\x0A\\x01\\xFD",)"
        R"("libraryName":"LM324","block":0}]},)"
        R"({"sheet":2,"parts":2,"counts":{"duplicateReference":0,"missingNumber":0,"blockOutOfRange":1,)"
        R"("packageNameMismatch":0,"referenceAtLimit":0,"passedOver":1},"findings":[)"
        R"({"kind":"blockOutOfRange","reference":"U9","x":100,"y":-5,"partName":"LM324",)"
        R"("libraryName":"LM324","block":4,"blockCount":4},)"
        R"({"kind":"passedOver","reference":"GND","x":200,"y":200,"partName":"","libraryName":"GND",)"
        R"("block":0,"reason":"powerSymbol"}]}]})");
}

TEST(CheckText, FindingsOfEachSheetThenTheCounts) {
    const auto parts = testing::sheets("R1, R1/x, C/x/ONE/1 | U9/LM324/LM324/4, R2/y/ONE/2");
    CheckReport report;
    report.check = checkDrawing(testing::drawing(parts),
                                testing::TableLibraries({{"LM324", 4}, {"ONE", 1}}), {});
    cli::CliOptions options;
    options.file = "amp.CE2";
    EXPECT_EQ(
        cli::checkAsText(options, report),
        "amp.CE2: 2 sheets, 5 parts\n"
        "sheet 1 (3 parts): 2 parts with a duplicate reference, 1 part without a number, "
        "1 part with a block out of range\n"
        "  duplicate reference R1  at 100, 200  10k  2 parts carry this number (R1) and are "
        "not the blocks of one package\n"
        "  duplicate reference R1  at 200, 200  x  2 parts carry this number (R1) and are "
        "not the blocks of one package\n"
        "  no number           C  at 300, 200  x  the reference ends in no digit\n"
        "  block out of range  C  at 300, 200  x  block 1, but the library gives 1 block\n"
        "sheet 2 (2 parts): 2 parts with a block out of range\n"
        "  block out of range  U9  at 100, 200  LM324  block 4, but the library gives 4 blocks\n"
        "  block out of range  R2  at 200, 200  y  block 2, but the library gives 1 block\n"
        "whole file: 2 parts with a duplicate reference, 1 part without a number, "
        "3 parts with a block out of range\n");
}

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
        {"A\xFD", "A\\xFD"},
        {"B\x81", "B\\x81"},  // a lead byte without its trail byte
        {"line\r\nbreak", "line\\x0D\\x0Abreak"},
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
