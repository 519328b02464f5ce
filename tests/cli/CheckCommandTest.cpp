// wemb-cli --check, --csv, --svg and --map end to end: the program run in a temporary directory
// with its own libraries; its exit status, what it prints, and that no file of the drawing is
// touched.

#include <gtest/gtest.h>

#include <algorithm>
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
using testing::cli;
using testing::fileText;

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
        const char* besideFile = nullptr;  // written beside the drawing
    } cases[] = {
        {"a clean drawing fails", "R1, R2", "", 0, "nothing found"},
        {"power symbols alone fail", "GND//GND", "", 0, "passed over"},
        {"a duplicate passes", "R1, R1", "", 4, "duplicate reference"},
        {"the library's block count unused", "IC1/LM324/LM324/4", "", 4,
         "block 4, but the library gives 4 blocks"},
        {"the option not passed on", "R1/", "--dependence-name", 0, "no part name"},
        {"JSON not written", "R1, R1", "--json", 4, "\"duplicateReference\":2"},
        {"a sheet file beside not told", "R1", "", 4,
         "amp.CE2-01 exists beside amp.CE2, which holds 1 sheet: its numbers are not seen",
         "amp.CE2-01"},
        {"nor in JSON", "R1", "--json", 4, "\"unseenSheetFiles\":[\"amp.CE2-01\"]", "amp.CE2-01"},
        {"a sheet the file holds told as unseen", "R1 | R2", "", 0, "nothing found", "amp.CE2-01"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        TempDirectory dir;
        writeDrawing(dir, sheets(c.drawing));
        std::vector<std::string> names{"QUIL.INI", "amp.CE2", "parts.LB3"};
        if (c.besideFile) {
            writeFile(dir.file(c.besideFile), std::string("a sheet of an earlier save"));
            names.push_back(c.besideFile);
        }
        const std::vector<std::uint8_t> before = readFile(dir.file("amp.CE2"));
        const Outcome run = cli(dir, std::string("--check ") + c.arguments + " amp.CE2");
        EXPECT_EQ(run.status, c.status) << run.out << run.err;
        EXPECT_NE(run.out.find(c.told), std::string::npos) << run.out;
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(readFile(dir.file("amp.CE2")), before);
        std::sort(names.begin(), names.end());
        EXPECT_EQ(dir.names(), names);
    }
}

TEST(CheckCommand, UnreadableFileExitsWithOne) {
    TempDirectory dir;
    const Outcome missing = cli(dir, "--check missing.CE2");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err,
              "wemb-cli: ﾌｧｲﾙ missing.CE2の読み込みに失敗しました\n"
              "wemb-cli: missing.CE2: No such file or directory\n");
    EXPECT_EQ(missing.out, "");
    writeDrawing(dir, sheets("R1"));
    std::filesystem::resize_file(dir.file("amp.CE2"), 100);
    const Outcome cut = cli(dir, "--check --json amp.CE2");
    EXPECT_EQ(cut.status, 1);
    const std::string reason =
        "part record (type 8, 60 bytes) runs past the end of the file (40 "
        "bytes left)";
    EXPECT_EQ(cut.err.substr(cut.err.find('\n') + 1),
              "wemb-cli: amp.CE2: byte 60: " + reason + "\n");
    EXPECT_NE(cut.out.find(R"("error":{"file":"amp.CE2","kind":"pastEnd","offset":60,"detail":")" +
                           reason + "\"}"),
              std::string::npos)
        << cut.out;
}

TEST(CheckCommand, FailedLibraryIsToldOnceAndTheCheckGoesOn) {
    TempDirectory dir;
    // LIB0 loads, LIB1 does not: the set is empty, so no block count is known.
    writeDrawing(dir, sheets("IC1/LM324/LM324/7, R1, R1"), "LIB0=parts.LB3\nLIB1=bad.LB3");
    writeFile(dir.file("bad.LB3"), std::string("+RIRI3_DAR_I.1.0\n+COMP,N:A,X:1,-PIN\n"));
    const Outcome run = cli(dir, "--check amp.CE2");
    EXPECT_EQ(run.status, 4);
    EXPECT_EQ(run.err,
              "wemb-cli: ﾌｧｲﾙ bad.LB3の読み込みに失敗しました\n"
              "wemb-cli: bad.LB3: line 2, column 15: expected \"-COMP\" but found \"-PIN\"\n");
    EXPECT_NE(run.out.find("duplicate reference"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("block out of range"), std::string::npos) << run.out;
    const Outcome json = cli(dir, "--check --json amp.CE2");
    EXPECT_NE(json.out.find(R"("failedLibrary":"bad.LB3","error":{"file":"bad.LB3",)"
                            R"("kind":"unexpectedToken","line":2,"column":15,)"),
              std::string::npos)
        << json.out;
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

TEST(CheckCommand, MapAfterARealJob) {
    const struct {
        const char *fault, *map;
        int status;
        const char* error;
    } cases[] = {
        {"the table not written", "map.csv", 0, ""},
        {"a failed last rename taken for a lost job", "taken", 5,
         "wemb-cli: ﾌｧｲﾙ takenの書き込みに失敗しました\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        TempDirectory dir;
        writeDrawing(dir, sheets("R, R1"));
        std::filesystem::create_directories(dir.file("taken/full"));
        const std::vector<std::uint8_t> original = readFile(dir.file("amp.CE2"));
        const Outcome run = cli(dir, std::string("--map ") + c.map + " amp.CE2");
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.err, c.error);
        EXPECT_EQ(run.out, "処理が終わりました\n");
        EXPECT_EQ(readFile(dir.file("amp.$E2")), original);
        if (c.status == 0) {
            EXPECT_EQ(fileText(dir.file(c.map)),
                      std::string(kCsvHeader) + "1,100,200,10k,R,R,R2,0,0\r\n");
        }
        for (const std::string& name : dir.names()) {
            EXPECT_NE(name[0], '.') << "a temporary left behind";
        }
    }
}

}  // namespace
}  // namespace wemb
