// wemb-cli --check, --csv, --svg and --map end to end: the program run in a temporary directory
// with its own libraries; its exit status, what it prints, and that no file of the drawing is
// touched.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "tests/app/CheckFixtures.h"
#include "tests/support/CliRunner.h"
#include "tests/support/TempDirectory.h"
#include "tools/gen/TextLibraryBuilder.h"

namespace wemb {
namespace {

using testing::readFile;
using testing::sheets;
using testing::TempDirectory;
using testing::writeFile;

using Outcome = testing::CliRun;
using testing::fileText;

Outcome cli(const TempDirectory& dir, const std::string& arguments) {
    return testing::runCli(dir, arguments);
}

// A drawing with its QUIL.INI and one text library, in which
// LM324 has four blocks.
void writeDrawing(const TempDirectory& dir, const std::vector<std::vector<gen::PartSpec>>& parts,
                  const std::string& libraries = "LIB0=parts.LB3") {
    writeFile(dir.file("amp.CE2"), testing::drawingBytes(parts));
    writeFile(dir.file("QUIL.INI"), "[LIBRARY]\n" + libraries + "\n");
    gen::TextLibraryBuilder library;
    library.component({.name = "LM324", .blocks = 4, .prefix = "IC"});
    library.component({.name = "R", .blocks = 1, .prefix = "R"});
    library.writeFile(dir.file("parts.LB3"));
}

const char* const kCsvHeader =
    "\xEF\xBB\xBFsheet,x,y,part name,library name,old reference,new reference,old block,new "
    "block\r\n";

TEST(CheckCommand, ExitStatusTellsWhetherAnythingWasFound) {
    const struct {
        const char *fault, *drawing, *arguments;
        int status;
        const char* told;
    } cases[] = {
        {"a clean drawing fails", "R1, R2", "", 0, "nothing found"},
        {"power symbols alone fail", "GND//GND", "", 0, "passed over"},
        {"a duplicate passes", "R1, R1", "", 4, "duplicate reference"},
        {"the library's block count unused", "IC1/LM324/LM324/4", "", 4,
         "block 4, but the library gives 4 blocks"},
        {"blocks of one package fail", "IC1/LM324/LM324/0, IC1/LM324/LM324/3", "", 0,
         "nothing found"},
        {"a missing number passes", "R", "", 4, "no number"},
        {"the option not passed on", "R1/", "--dependence-name", 0, "no part name"},
        {"sheets counted from 0", "R1 | R1", "", 4, "sheet 2 (1 part)"},
        {"JSON not written", "R1, R1", "--json", 4, "\"duplicateReference\":2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        TempDirectory dir;
        writeDrawing(dir, sheets(c.drawing));
        const std::vector<std::uint8_t> before = readFile(dir.file("amp.CE2"));
        const Outcome run = cli(dir, std::string("--check ") + c.arguments + " amp.CE2");
        EXPECT_EQ(run.status, c.status) << run.out << run.err;
        EXPECT_NE(run.out.find(c.told), std::string::npos) << run.out;
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(readFile(dir.file("amp.CE2")), before);
        EXPECT_EQ(dir.names(), (std::vector<std::string>{"QUIL.INI", "amp.CE2", "parts.LB3"}));
    }
}

TEST(CheckCommand, UnreadableFileExitsWithOne) {
    TempDirectory dir;
    const Outcome missing = cli(dir, "--check missing.CE2");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "wemb-cli: ﾌｧｲﾙ missing.CE2の読み込みに失敗しました\n");
    EXPECT_EQ(missing.out, "");
    writeFile(dir.file("broken.CE2"), std::string("not a drawing at all, not at all"));
    EXPECT_EQ(cli(dir, "--check broken.CE2").status, 1);
}

TEST(CheckCommand, FailedLibraryIsToldOnceAndTheCheckGoesOn) {
    TempDirectory dir;
    // LIB0 loads, LIB1 does not: the set is empty, so no block count is known.
    writeDrawing(dir, sheets("IC1/LM324/LM324/7, R1, R1"), "LIB0=parts.LB3\nLIB1=gone.LB3");
    const Outcome run = cli(dir, "--check amp.CE2");
    EXPECT_EQ(run.status, 4);
    EXPECT_EQ(run.err, "wemb-cli: ﾌｧｲﾙ gone.LB3の読み込みに失敗しました\n");
    EXPECT_NE(run.out.find("duplicate reference"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("block out of range"), std::string::npos) << run.out;
    const Outcome json = cli(dir, "--check --json amp.CE2");
    EXPECT_NE(json.out.find("\"failedLibrary\":\"gone.LB3\""), std::string::npos) << json.out;
}

TEST(CheckCommand, DryRunTablesAndPictureLeaveTheDrawing) {
    TempDirectory dir;
    // Numbered by place, listed in file order.
    auto parts = sheets("R, R/a,\"b\"");
    parts[0][0].x = 300;
    writeDrawing(dir, parts);
    const std::vector<std::uint8_t> before = readFile(dir.file("amp.CE2"));
    const Outcome csv = cli(dir, "--dry-run --csv amp.CE2");
    EXPECT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(csv.out, std::string(kCsvHeader) + "1,300,200,10k,R,R,R2,0,0\r\n" +
                           "1,200,200,\"a,\"\"b\"\"\",R,R,R1,0,0\r\n");
    const Outcome svg = cli(dir, "--dry-run --svg order.svg amp.CE2");
    EXPECT_EQ(svg.status, 0) << svg.err;
    const std::string picture = fileText(dir.file("order.svg"));
    EXPECT_EQ(picture.rfind("<?xml", 0), 0u);
    EXPECT_NE(picture.find(">R1</text>"), std::string::npos);
    EXPECT_NE(picture.find(">R2</text>"), std::string::npos);
    EXPECT_NE(picture.find("a,&quot;b&quot;"), std::string::npos);
    EXPECT_EQ(readFile(dir.file("amp.CE2")), before);
}

TEST(CheckCommand, PictureNeverReplacesTheDrawingItsSheetsOrItsBackup) {
    for (const auto& [path, target] : std::vector<std::pair<std::string, std::string>>{
             {"amp.CE2", "amp.CE2"},
             {"./amp.CE2", "amp.CE2"},
             {"amp.CE2-01", "amp.CE2-01"},
             {"amp.$E2", "amp.$E2"},
             {"link.svg", "amp.CE2"},
         }) {
        TempDirectory dir;
        writeDrawing(dir, sheets("R | R"));
        writeFile(dir.file("amp.CE2-01"), std::string("sheet file"));
        writeFile(dir.file("amp.$E2"), std::string("backup"));
        std::filesystem::create_symlink("amp.CE2", dir.file("link.svg"));
        const std::vector<std::uint8_t> before = readFile(dir.file(target));
        const Outcome run = cli(dir, "--dry-run --svg '" + path + "' amp.CE2");
        EXPECT_EQ(run.status, 3) << path << run.err;
        EXPECT_NE(run.err.find("の書き込みに失敗しました"), std::string::npos) << path;
        EXPECT_EQ(readFile(dir.file(target)), before) << path;
    }
}

TEST(CheckCommand, MapNeverReplacesTheSavedDrawingOrItsBackup) {
    for (const std::string target : {"amp.CE2", "amp.$E2"}) {
        TempDirectory dir;
        writeDrawing(dir, sheets("R"));
        const std::vector<std::uint8_t> original = readFile(dir.file("amp.CE2"));
        EXPECT_EQ(cli(dir, "--map '" + target + "' amp.CE2").status, 3) << target;
        EXPECT_EQ(readFile(dir.file("amp.$E2")), original) << target;
        EXPECT_EQ(fileText(dir.file("amp.CE2")).find("sheet,"), std::string::npos) << target;
    }
}

TEST(CheckCommand, MapAfterARealJob) {
    TempDirectory dir;
    writeDrawing(dir, sheets("R, R1"));
    const Outcome run = cli(dir, "--map map.csv amp.CE2");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(fileText(dir.file("map.csv")),
              std::string(kCsvHeader) + "1,100,200,10k,R,R,R2,0,0\r\n");
}

}  // namespace
}  // namespace wemb
