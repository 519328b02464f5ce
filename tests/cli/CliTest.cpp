// wemb-cli end to end: the program run in a temporary directory with its own libraries; its exit
// status, what it prints and the files it leaves, byte for byte.

#include <gtest/gtest.h>

#include <filesystem>

#include "schematic/CountedString.h"
#include "schematic/Document.h"
#include "tests/app/CheckFixtures.h"
#include "tests/support/CliRunner.h"
#include "tests/support/TempDirectory.h"
#include "tools/gen/BinaryLibraryBuilder.h"
#include "tools/gen/TextLibraryBuilder.h"

namespace wemb {
namespace {

using Outcome = testing::CliRun;
using testing::cli;
using testing::readFile;
using testing::sheets;
using testing::TempDirectory;
using testing::writeFile;

// A drawing with its QUIL.INI and one text library, in which LM324 has four blocks.
void writeDrawing(const TempDirectory& dir, const std::vector<std::vector<gen::PartSpec>>& parts,
                  const std::string& libraries = "LIB0=parts.LB3") {
    writeFile(dir.file("amp.CE2"), testing::drawingBytes(parts));
    writeFile(dir.file("QUIL.INI"), "[LIBRARY]\n" + libraries + "\n");
    gen::TextLibraryBuilder library;
    library.component({.name = "LM324", .blocks = 4, .prefix = "IC"});
    library.component({.name = "R", .blocks = 1, .prefix = "R"});
    library.writeFile(dir.file("parts.LB3"));
}

// R7 stands right of R and C3, so that the file's order is not the order by place.
std::vector<std::uint8_t> example(const char* drawing = "R7, R, C3/100n/C") {
    auto parts = sheets(drawing);
    parts[0][0].x = 400;
    return testing::drawingBytes(parts);
}

std::vector<std::string> referencesIn(const std::string& path) {
    auto parsed = Document::parse(readFile(path));
    std::vector<std::string> references;
    for (const PartEntry& part : parsed->parts()) {
        references.push_back(readCountedString(part.referenceField()));
    }
    return references;
}

const char* const kCsvHeader =
    "\xEF\xBB\xBFsheet,x,y,part name,library name,old reference,new reference,old block,new "
    "block\r\n";

TEST(Cli, ModesGiveTheirNumbersAndTheMapItsTable) {
    const struct {
        std::string arguments;
        std::vector<std::string> references;
        std::string err = "";
        int status = 0;
    } cases[] = {
        {"", {"R7", "R1", "C3"}},  // locked is the default
        {"--mode locked --map map.csv", {"R7", "R1", "C3"}},
        {"-d -m original", {"R2", "R1", "C1"}},
        {"-d -m renum",
         {"R2", "R1", "C1"},
         "wemb-cli: -d (--dependence-name) has no effect in renum, which always passes over parts "
         "without a part name\n"},
        {"--mode renum", {"R2", "R1", "C1"}},
        {"--mode=renum --initial 1000 --step 20", {"R1020", "R1000", "C1000"}},  // the largest
        {"-m renum -i 5 -s 2", {"R7", "R5", "C5"}},
        // A failed last rename is not taken for a lost job.
        {"--map taken", {"R7", "R1", "C3"}, "wemb-cli: ﾌｧｲﾙ takenの書き込みに失敗しました\n", 5},
    };
    for (const auto& c : cases) {
        TempDirectory dir;
        writeFile(dir.file("amp.CE2"), example());
        std::filesystem::create_directories(dir.file("taken/full"));
        const Outcome run = cli(dir, c.arguments + " amp.CE2");
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_EQ(run.err, c.err) << c.arguments;
        EXPECT_EQ(run.out, "処理が終わりました\n") << c.arguments;
        EXPECT_EQ(referencesIn(dir.file("amp.CE2")), c.references) << c.arguments;
        EXPECT_EQ(readFile(dir.file("amp.$E2")), example()) << c.arguments;
        const auto map = testing::contentOf(dir.file("map.csv"));
        EXPECT_EQ(map.has_value(), c.arguments.find("map.csv") != std::string::npos);
        if (map) {
            EXPECT_EQ(*map, std::string(kCsvHeader) + "1,200,200,10k,R,R,R1,0,0\r\n");
        }
        EXPECT_EQ(dir.names().size(), map ? 4u : 3u) << "a temporary left behind";
    }
}

TEST(Cli, RefusalsHaveTheirExitStatusAndMessage) {
    const struct {
        std::string arguments;
        int status;
        std::string errorContains;
        const char* locale = "C.UTF-8";
    } cases[] = {
        {"--initial 0 amp.CE2", 2, "番号初期値が範囲外です\n   実行を中止します"},
        {"--initial abc --step 50 amp.CE2", 2, "番号初期値が範囲外です"},
        {"--step 21 amp.CE2", 2, "番号ステップ値が範囲外です\n   実行を中止します"},
        // A terminal that cannot show Japanese gets a mark for each character.
        {"--initial 0 amp.CE2", 2, "wemb-cli: ???????????\n   ????????\n", "C"},
        {"-n --json=yes amp.CE2", 2, "--json takes no value"},
        {"--mode fast amp.CE2", 2, "unknown mode"},
        {"--bogus amp.CE2", 2, "unknown option"},
        {"amp.CE2 --step", 2, "option --step needs a value"},
        {"", 2, "no file given"},
        {"a.CE2 b.CE2", 2, "more than one file"},
        {"--json amp.CE2", 2, "--dry-run"},
        {"--csv amp.CE2", 2, "--dry-run"},
        {"missing.CE2", 1, "ﾌｧｲﾙ missing.CE2の読み込みに失敗しました"},
        // A name that itself holds "%1" is put in once, not expanded again.
        {"%1.CE2", 1, "ﾌｧｲﾙ %1.CE2の読み込みに失敗しました"},
        {"broken.CE2", 1,
         "ﾌｧｲﾙ broken.CE2の読み込みに失敗しました\nwemb-cli: broken.CE2: byte 60: invalid "
         "record type 12 (10 to 15 have no length)\n"},
        // A name that is no valid text is shown escaped, on both lines.
        {"'miss\xFF.CE2'", 1,
         "ﾌｧｲﾙ miss\\xFF.CE2の読み込みに失敗しました\nwemb-cli: miss\\xFF.CE2: No such file"},
        // Reports never replace the drawing's own files, however they are reached.
        {"--map 'amp.$E2' sub/link.CE2", 2, "would replace"},
        {"-n --svg amp.CE2-01 sub/link.CE2", 2, "would replace"},
        {"--map 'sub/link.$E2' sub/link.CE2", 2, "would replace"},
        {"--map 'here/amp.$E2' amp.CE2", 2, "would replace"},
        {"--map here/amp.CE2-62 amp.CE2", 2, "would replace"},
        {"-n --svg ./amp.CE2 amp.CE2", 2, "would replace"},
        {"-n --svg sub/link.CE2 amp.CE2", 2, "would replace"},
        {"--map sub/hard.csv amp.CE2", 2, "would replace"},
        {"--map nodir/m.csv amp.CE2", 3, "ﾌｧｲﾙ nodir/m.csvの書き込みに失敗しました"},
        // A directory where the backup goes cannot be replaced: the save fails as a whole.
        {"amp.CE2", 3, "ﾌｧｲﾙ amp.$E2の書き込みに失敗しました"},
    };
    for (const auto& c : cases) {
        TempDirectory dir;
        writeFile(dir.file("amp.CE2"), example());
        std::vector<std::uint8_t> broken = example();
        broken[60] = 12;  // a record type that has no length
        writeFile(dir.file("broken.CE2"), broken);
        std::filesystem::create_directory(dir.file("sub"));
        std::filesystem::create_symlink("../amp.CE2", dir.file("sub/link.CE2"));
        std::filesystem::create_hard_link(dir.file("amp.CE2"), dir.file("sub/hard.csv"));
        std::filesystem::create_directory_symlink(".", dir.file("here"));
        std::filesystem::create_directory(dir.file("amp.$E2"));
        writeFile(dir.file("amp.$E2/x"), std::string("keeps the directory from being replaced"));
        const Outcome run = cli(dir, c.arguments, c.locale);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_NE(run.err.find(c.errorContains), std::string::npos)
            << c.arguments << ": " << run.err;
        EXPECT_EQ(run.out, "") << c.arguments;
        EXPECT_EQ(readFile(dir.file("amp.CE2")), example()) << c.arguments;
        EXPECT_EQ(dir.names(),
                  (std::vector<std::string>{"amp.$E2", "amp.CE2", "broken.CE2", "here", "sub"}))
            << c.arguments;
    }
}

TEST(Cli, ReportsAndListingsAreExactAndTouchNothing) {
    const struct {
        const char* arguments;
        int status;
        std::string out;
    } cases[] = {
        {"-n -m original amp.CE2", 0,
         "sheet\tx\ty\tpart name\told\tnew\told block\tnew block\n1\t400\t200\t10k\tR7\tR1\t0\t0\n"
         "2\t100\t200\t100n\tC3\tC1\t0\t0\n2 parts would change; no file was touched\n"},
        {"-n --json -m original amp.CE2", 0,
         R"({"file":"amp.CE2","mode":"original","initial":1,"step":1,"dependenceName":false,)"
         R"("failedLibrary":null,"error":null,"changes":[{"sheet":1,"x":400,"y":200,)"
         R"("partName":"10k","libraryName":"R","oldReference":"R7","newReference":"R1",)"
         R"("oldBlock":0,"newBlock":0},{"sheet":2,"x":100,"y":200,"partName":"100n",)"
         R"("libraryName":"C\t","oldReference":"C3","newReference":"C1","oldBlock":0,"newBlock":0}]})"
         "\n"},
        {"-n --csv -m original amp.CE2", 0,
         std::string(kCsvHeader) +
             "1,400,200,10k,R,R7,R1,0,0\r\n2,100,200,100n,C\\x09,C3,C1,0,0\r\n"},
        // A script gets its JSON when the file cannot be read too, with the reason; so does one
        // that lists a library.
        {"-n --json gone.CE2", 1,
         R"({"file":"gone.CE2","mode":"locked","initial":1,"step":1,"dependenceName":false,)"
         R"("failedLibrary":null,"error":{"file":"gone.CE2","kind":"cannotOpen",)"
         R"("detail":"No such file or directory"},"changes":[]})"
         "\n"},
        {"--list-library --json amp.CE2", 1,
         R"({"library":"amp.CE2","error":{"file":"amp.CE2","kind":"badMagic",)"
         R"("offset":0,"detail":"expected the signature \"LIB FOR RI000\\x1A\")"
         R"( but found \"\\x09\\xB0VU ZUVI RARE\""},"entries":[]})"
         "\n"},
        {"--version", 0, "wemb-cli (Wemb) 0.92Y\n"},
        // An entry whose file names no record has no part to list.
        {"--list-library parts.LIB", 0, "R\t2\n"},
        {"--list-library --json parts.LIB", 0,
         R"({"library":"parts.LIB","error":null,"entries":[{"name":"R","prefix":"R","width":2,)"
         R"("height":2,"blockCount":2,"pinCount":2,"pins":[{"name":"A","numbers":["+1","-2"]},)"
         R"({"name":null,"numbers":["+3","+0"]}],"bitmap":{"width":20,"height":3,)"
         R"("rows":[{"row":1,"bytes":"0102"}]}}]})"
         "\n"},
    };
    TempDirectory dir;
    writeFile(dir.file("amp.CE2"), example("R7 | C3/100n/C\t"));
    gen::BinaryLibraryBuilder library;
    library.addEntry("NONE", gen::kNoComponent)
        .addEntry("R", library.addComponent(
                           {.prefix = "R",
                            .blockCount = 2,
                            .pins = {{.name = "A", .numbers = {1, 0x8002}}, {.numbers = {3}}},
                            .bitmap = gen::BinaryBitmap{20, 3, {0, 0, 0, 1, 2, 0, 0, 0, 0}}}));
    writeFile(dir.file("parts.LIB"), library.bytes());
    for (const auto& c : cases) {
        const Outcome run = cli(dir, c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments << run.err;
        EXPECT_EQ(run.out, c.out) << c.arguments;
        EXPECT_EQ(run.err.empty(), c.status == 0) << c.arguments << run.err;
    }
    const Outcome help = cli(dir, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--mode locked|original|renum"), std::string::npos);
    EXPECT_EQ(cli(dir, "-n -m original --svg order.svg amp.CE2").status, 0);
    const std::string picture = testing::contentOf(dir.file("order.svg")).value_or("");
    EXPECT_EQ(picture.rfind("<?xml", 0), 0u);
    EXPECT_NE(picture.find(">R1</text>"), std::string::npos);
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"amp.CE2", "order.svg", "parts.LIB"}));
    EXPECT_EQ(readFile(dir.file("amp.CE2")), example("R7 | C3/100n/C\t"));
}

TEST(CheckCommand, ExitStatusTellsWhetherAnythingWasFound) {
    const struct {
        const char *fault, *drawing, *arguments;
        int status;
        const char* told;
        bool sheetBeside = false;  // amp.CE2-01 of an earlier save
    } cases[] = {
        {"a clean drawing fails", "R1, R2", "", 0, "nothing found"},
        {"power symbols alone fail", "GND//GND", "", 0, "passed over"},
        {"a duplicate passes", "R1, R1", "", 4, "duplicate reference"},
        {"the library's block count unused", "IC1/LM324/LM324/4", "", 4,
         "block 4, but the library gives 4 blocks"},
        {"the option not passed on", "R1/", "--dependence-name", 0, "no part name"},
        {"JSON not written", "R1, R1", "--json", 4, "\"duplicateReference\":2"},
        {"a sheet file beside not told", "R1", "", 4,
         "amp.CE2-01 exists beside amp.CE2, which holds 1 sheet: its numbers are not seen", true},
        {"nor in JSON", "R1", "--json", 4, "\"unseenSheetFiles\":[\"amp.CE2-01\"]", true},
        {"a sheet the file holds told as unseen", "R1 | R2", "", 0, "nothing found", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        TempDirectory dir;
        writeDrawing(dir, sheets(c.drawing));
        if (c.sheetBeside) {
            writeFile(dir.file("amp.CE2-01"), std::string("a sheet of an earlier save"));
        }
        const Outcome run = cli(dir, std::string("--check ") + c.arguments + " amp.CE2");
        EXPECT_EQ(run.status, c.status) << run.out << run.err;
        EXPECT_NE(run.out.find(c.told), std::string::npos) << run.out;
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(readFile(dir.file("amp.CE2")), testing::drawingBytes(sheets(c.drawing)));
        EXPECT_EQ(dir.names().size(), c.sheetBeside ? 4u : 3u);
    }
}

TEST(CheckCommand, AnUnreadableDrawingExitsWithOneAFailedLibraryIsToldAndTheCheckGoesOn) {
    const struct {
        const char *arguments, *err, *outHas;
        int status;
    } cases[] = {
        {"--check missing.CE2",
         "wemb-cli: ﾌｧｲﾙ missing.CE2の読み込みに失敗しました\n"
         "wemb-cli: missing.CE2: No such file or directory\n",
         "", 1},
        {"--check --json cut.CE2",
         "wemb-cli: ﾌｧｲﾙ cut.CE2の読み込みに失敗しました\nwemb-cli: cut.CE2: byte 60: part record "
         "(type "
         "8, 60 bytes) runs past the end of the file (40 bytes left)\n",
         R"j("error":{"file":"cut.CE2","kind":"pastEnd","offset":60,"detail":"part record (type 8, )j"
         R"j(60 bytes) runs past the end of the file (40 bytes left)"})j",
         1},
        // LIB0 loads, LIB1 does not: the set is empty, so no block count is known.
        {"--check --json amp.CE2",
         "wemb-cli: ﾌｧｲﾙ bad.LB3の読み込みに失敗しました\n"
         "wemb-cli: bad.LB3: line 2, column 15: expected \"-COMP\" but found \"-PIN\"\n",
         R"("failedLibrary":"bad.LB3","error":{"file":"bad.LB3","kind":"unexpectedToken","line":2,)"
         R"("column":15,"detail":"expected \"-COMP\" but found \"-PIN\""},"parts":3,"problems":2,)",
         4},
    };
    TempDirectory dir;
    writeDrawing(dir, sheets("IC1/LM324/LM324/7, R1, R1"), "LIB0=parts.LB3\nLIB1=bad.LB3");
    writeFile(dir.file("bad.LB3"), std::string("+RIRI3_DAR_I.1.0\n+COMP,N:A,X:1,-PIN\n"));
    std::vector<std::uint8_t> cut = testing::drawingBytes(sheets("R1"));
    cut.resize(100);
    writeFile(dir.file("cut.CE2"), cut);
    for (const auto& c : cases) {
        const Outcome run = cli(dir, c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_EQ(run.err, c.err);
        EXPECT_NE(run.out.find(c.outHas), std::string::npos) << run.out;
    }
}

}  // namespace
}  // namespace wemb
