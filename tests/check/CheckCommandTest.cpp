// wemb-cli --check, --csv, --svg and --map end to end: the program run in a temporary directory
// with its own libraries; its exit status, what it prints, and that no file of the drawing is
// touched.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "tests/check/CheckFixtures.h"
#include "tests/support/TempDirectory.h"
#include "tools/gen/TextLibraryBuilder.h"

namespace wemb {
namespace {

using gen::PartSpec;
using testing::readFile;
using testing::TempDirectory;
using testing::writeFile;

struct Outcome {
    int status = -1;
    std::string out, err;
};

std::string textOf(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

Outcome cli(const TempDirectory& dir, const std::string& arguments) {
    const std::string program = std::string(WEMB_BINARY_DIR) + "/bin/wemb-cli";
    const std::string command = "cd '" + dir.path().string() + "' && LC_ALL=C.UTF-8 '" + program +
                                "' " + arguments + " >.out 2>.err";
    Outcome run;
    const int status = std::system(command.c_str());
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = textOf(readFile(dir.file(".out")));
    run.err = textOf(readFile(dir.file(".err")));
    std::filesystem::remove(dir.file(".out"));
    std::filesystem::remove(dir.file(".err"));
    return run;
}

PartSpec part(std::string reference, std::string name = "10k", std::string library = "R",
              std::uint8_t block = 0, std::int16_t x = 100) {
    return {.x = x,
            .y = 200,
            .partName = name,
            .reference = reference,
            .libraryName = library,
            .block = block};
}

// A drawing with its QUIL.INI and one text library: LM324 has four blocks.
void writeDrawing(const TempDirectory& dir, const std::vector<std::vector<PartSpec>>& sheets,
                  const std::string& libraryLine = "LIB0=parts.LB3") {
    writeFile(dir.file("amp.CE2"), testing::drawingBytes(sheets));
    writeFile(dir.file("QUIL.INI"), "[LIBRARY]\n" + libraryLine + "\n");
    gen::TextLibraryBuilder library;
    library.component({.name = "LM324", .blocks = 4, .prefix = "IC"});
    library.component({.name = "R", .blocks = 1, .prefix = "R"});
    library.writeFile(dir.file("parts.LB3"));
}

const std::vector<std::string> kDrawingFiles = {"QUIL.INI", "amp.CE2", "parts.LB3"};

TEST(CheckCommand, ExitStatusTellsWhetherAnythingWasFound) {
    const struct {
        const char* name;
        std::vector<std::vector<PartSpec>> sheets;
        std::string arguments;
        int status;
        std::string outContains;
    } cases[] = {
        {"clean", {{part("R1"), part("R2", "10k", "R", 0, 300)}}, "", 0, "nothing found"},
        {"power symbols alone are no fault", {{part("GND", "", "GND")}}, "", 0, "passed over"},
        {"duplicate", {{part("R1"), part("R1")}}, "", 4, "duplicate reference"},
        {"block past the package from the real library",
         {{part("IC1", "LM324", "LM324", 4)}},
         "",
         4,
         "block 4, but the library gives 4 blocks"},
        {"blocks of one package",
         {{part("IC1", "LM324", "LM324", 0), part("IC1", "LM324", "LM324", 3)}},
         "",
         0,
         "nothing found"},
        {"without a number", {{part("R")}}, "", 4, "no number"},
        {"no part name passed over", {{part("R1", "")}}, "--dependence-name", 0, "no part name"},
        {"second sheet counted from 1", {{part("R1")}, {part("R1")}}, "", 4, "sheet 2 (1 part)"},
        {"json", {{part("R1"), part("R1")}}, "--json", 4, "\"duplicateReference\":2"},
    };
    for (const auto& c : cases) {
        TempDirectory dir;
        writeDrawing(dir, c.sheets);
        const std::vector<std::uint8_t> before = readFile(dir.file("amp.CE2"));
        const Outcome run = cli(dir, "--check " + c.arguments + " amp.CE2");
        EXPECT_EQ(run.status, c.status) << c.name << run.out << run.err;
        EXPECT_NE(run.out.find(c.outContains), std::string::npos) << c.name << "\n" << run.out;
        EXPECT_EQ(run.err, "") << c.name;
        EXPECT_EQ(readFile(dir.file("amp.CE2")), before) << c.name;
        EXPECT_EQ(dir.names(), kDrawingFiles) << c.name;
    }
}

TEST(CheckCommand, UnreadableFileExitsWithOne) {
    TempDirectory dir;
    writeDrawing(dir, {{part("R1")}});
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
    writeDrawing(dir, {{part("IC1", "LM324", "LM324", 7), part("R1"), part("R1")}},
                 "LIB0=parts.LB3\nLIB1=gone.LB3");
    const Outcome run = cli(dir, "--check amp.CE2");
    EXPECT_EQ(run.status, 4);
    EXPECT_EQ(run.err, "wemb-cli: ﾌｧｲﾙ gone.LB3の読み込みに失敗しました\n");
    EXPECT_NE(run.out.find("duplicate reference"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("block out of range"), std::string::npos) << run.out;

    const Outcome json = cli(dir, "--check --json amp.CE2");
    EXPECT_NE(json.out.find("\"failedLibrary\":\"gone.LB3\""), std::string::npos) << json.out;
}

TEST(CheckCommand, DryRunTablesAndPicture) {
    TempDirectory dir;
    writeDrawing(dir, {{part("R", "10k", "R", 0, 300), part("R", "a,\"b\"", "R", 0, 100)}});
    const std::vector<std::uint8_t> before = readFile(dir.file("amp.CE2"));

    const Outcome csv = cli(dir, "--dry-run --csv amp.CE2");
    EXPECT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(csv.out,
              "\xEF\xBB\xBFsheet,x,y,part name,library name,old reference,new reference,old "
              "block,new block\r\n"
              "1,300,200,10k,R,R,R2,0,0\r\n"
              "1,100,200,\"a,\"\"b\"\"\",R,R,R1,0,0\r\n");

    const Outcome svg = cli(dir, "--dry-run --svg order.svg amp.CE2");
    EXPECT_EQ(svg.status, 0) << svg.err;
    const std::string picture = textOf(readFile(dir.file("order.svg")));
    EXPECT_EQ(picture.rfind("<?xml", 0), 0u);
    EXPECT_NE(picture.find(">R1</text>"), std::string::npos);
    EXPECT_NE(picture.find(">R2</text>"), std::string::npos);
    EXPECT_NE(picture.find("a,&quot;b&quot;"), std::string::npos);
    EXPECT_EQ(readFile(dir.file("amp.CE2")), before);
}

TEST(CheckCommand, ReportsNeverReplaceTheDrawing) {
    const struct {
        std::string svgPath;
        std::string target;  // the file that must stay as it was
    } cases[] = {
        {"amp.CE2", "amp.CE2"}, {"./amp.CE2", "amp.CE2"}, {"amp.CE2-01", "amp.CE2-01"},
        {"amp.$E2", "amp.$E2"}, {"link.svg", "amp.CE2"},
    };
    for (const auto& c : cases) {
        TempDirectory dir;
        writeDrawing(dir, {{part("R")}, {part("R")}});
        writeFile(dir.file("amp.CE2-01"), std::string("sheet file"));
        writeFile(dir.file("amp.$E2"), std::string("backup"));
        std::filesystem::create_symlink("amp.CE2", dir.file("link.svg"));
        const std::vector<std::uint8_t> before = readFile(dir.file(c.target));
        const Outcome run = cli(dir, "--dry-run --svg '" + c.svgPath + "' amp.CE2");
        EXPECT_EQ(run.status, 3) << c.svgPath << run.err;
        EXPECT_NE(run.err.find("の書き込みに失敗しました"), std::string::npos) << c.svgPath;
        EXPECT_EQ(readFile(dir.file(c.target)), before) << c.svgPath;
    }
}

TEST(CheckCommand, MapNeverReplacesTheSavedDrawingOrItsBackup) {
    for (const std::string target : {"amp.CE2", "amp.$E2"}) {
        TempDirectory dir;
        writeDrawing(dir, {{part("R")}});
        const std::vector<std::uint8_t> original = readFile(dir.file("amp.CE2"));
        const Outcome run = cli(dir, "--map '" + target + "' amp.CE2");
        EXPECT_EQ(run.status, 3) << target;
        EXPECT_EQ(readFile(dir.file("amp.$E2")), original) << target;
        EXPECT_EQ(textOf(readFile(dir.file("amp.CE2"))).find("sheet,"), std::string::npos)
            << target;
    }
}

TEST(CheckCommand, MapAfterARealJob) {
    TempDirectory dir;
    writeDrawing(dir, {{part("R"), part("R1", "10k", "R", 0, 300)}});
    const Outcome run = cli(dir, "--map map.csv amp.CE2");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(textOf(readFile(dir.file("map.csv"))),
              "\xEF\xBB\xBFsheet,x,y,part name,library name,old reference,new reference,old "
              "block,new block\r\n"
              "1,100,200,10k,R,R,R2,0,0\r\n");
}

}  // namespace
}  // namespace wemb
