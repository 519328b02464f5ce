// wemb-cli end to end: the program run in a temporary directory, its exit status, what it prints
// and the files it leaves, byte for byte.

#include <gtest/gtest.h>

#include <filesystem>

#include "schematic/CountedString.h"
#include "schematic/Document.h"
#include "tests/support/CliRunner.h"
#include "tests/support/TempDirectory.h"
#include "tools/gen/DataFileBuilder.h"

namespace wemb {
namespace {

using gen::DataFileBuilder;
using testing::readFile;
using testing::TempDirectory;
using testing::writeFile;

using testing::cli;
using testing::CliRun;

std::vector<std::uint8_t> example() {
    DataFileBuilder file;
    file.header()
        .part({.x = 300, .y = 0, .partName = "10k", .reference = "R7"})
        .record(5)
        .part({.x = 100, .y = 0, .partName = "10k", .reference = "R"})
        .variableRecord(20, 24)
        .part({.x = 200, .y = 0, .partName = "100n", .reference = "C3"});
    return file.bytes();
}

std::vector<std::string> referencesIn(const std::string& path) {
    auto parsed = Document::parse(readFile(path));
    std::vector<std::string> references;
    for (const PartEntry& part : parsed->parts()) {
        references.push_back(readCountedString(part.referenceField()));
    }
    return references;
}

TEST(Cli, ModesGiveTheirNumbers) {
    const struct {
        std::string arguments;
        std::vector<std::string> references;
    } cases[] = {
        {"", {"R7", "R1", "C3"}},  // locked is the default
        {"--mode locked", {"R7", "R1", "C3"}},
        {"-m original", {"R2", "R1", "C1"}},
        {"--mode renum", {"R2", "R1", "C1"}},
        {"--mode=renum --initial 1000 --step 20", {"R1020", "R1000", "C1000"}},  // the largest
        {"-m renum -i 5 -s 2", {"R7", "R5", "C5"}},
    };
    for (const auto& c : cases) {
        TempDirectory dir;
        writeFile(dir.file("amp.CE2"), example());
        const CliRun run = cli(dir, c.arguments + " amp.CE2");
        EXPECT_EQ(run.status, 0) << c.arguments << run.err;
        EXPECT_EQ(run.out, "処理が終わりました\n") << c.arguments;
        EXPECT_EQ(referencesIn(dir.file("amp.CE2")), c.references) << c.arguments;
        EXPECT_EQ(readFile(dir.file("amp.$E2")), example()) << c.arguments;
    }
}

TEST(Cli, RefusalsHaveTheirExitStatusAndMessage) {
    const struct {
        std::string arguments;
        int status;
        std::string errorContains;
    } cases[] = {
        {"--initial 0 amp.CE2", 2, "番号初期値が範囲外です\n   実行を中止します"},
        {"--initial 1001 amp.CE2", 2, "番号初期値が範囲外です"},
        {"--initial abc --step 50 amp.CE2", 2, "番号初期値が範囲外です"},
        {"--step 21 amp.CE2", 2, "番号ステップ値が範囲外です\n   実行を中止します"},
        {"--step x amp.CE2", 2, "番号ステップ値が範囲外です"},
        {"--mode fast amp.CE2", 2, "unknown mode"},
        {"--bogus amp.CE2", 2, "unknown option"},
        {"", 2, "no file given"},
        {"a.CE2 b.CE2", 2, "more than one file"},
        {"--json amp.CE2", 2, "--dry-run"},
        {"missing.CE2", 1, "ﾌｧｲﾙ missing.CE2の読み込みに失敗しました"},
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
        const CliRun run = cli(dir, c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_NE(run.err.find(c.errorContains), std::string::npos)
            << c.arguments << ": " << run.err;
        EXPECT_EQ(run.out, "") << c.arguments;
        EXPECT_EQ(readFile(dir.file("amp.CE2")), example()) << c.arguments;
        EXPECT_EQ(readFile(dir.file("broken.CE2")), broken) << c.arguments;
        EXPECT_EQ(dir.names(), (std::vector<std::string>{"amp.CE2", "broken.CE2", "here", "sub"}))
            << c.arguments;
    }
}

TEST(Cli, HelpAndVersion) {
    TempDirectory dir;
    const CliRun help = cli(dir, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--mode locked|original|renum"), std::string::npos);
    const CliRun version = cli(dir, "--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_NE(version.out.find("0.92Y"), std::string::npos);
}

TEST(Cli, DryRunReportsEachChangeAndTouchesNothing) {
    TempDirectory dir;
    writeFile(dir.file("amp.CE2"), example());
    const CliRun text = cli(dir, "--dry-run -m original amp.CE2");
    EXPECT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("1\t300\t0\t10k\tR7\tR2\t0\t0\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("3 parts would change"), std::string::npos) << text.out;

    const CliRun json = cli(dir, "-n --json -m original amp.CE2");
    EXPECT_EQ(json.status, 0) << json.err;
    EXPECT_NE(
        json.out.find(
            R"({"sheet":1,"x":100,"y":0,"partName":"10k","libraryName":"","oldReference":"R","newReference":"R1","oldBlock":0,"newBlock":0})"),
        std::string::npos)
        << json.out;
    // A script gets its JSON when the file cannot be read too, with the reason; so does one that
    // lists a library.
    const CliRun missing = cli(dir, "-n --json gone.CE2");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.out.find(R"("error":{"file":"gone.CE2","kind":"cannotOpen",)"
                               R"("detail":"No such file or directory"},"changes":[]})"),
              std::string::npos)
        << missing.out;
    const CliRun library = cli(dir, "--list-library --json amp.CE2");
    EXPECT_EQ(library.status, 1);
    EXPECT_EQ(library.out, R"({"library":"amp.CE2","error":{"file":"amp.CE2","kind":"badMagic",)"
                           R"("offset":0,"detail":"expected the signature \"LIB FOR RI000\\x1A\")"
                           R"( but found \"\\x09\\xB0VU ZUVI RARE\""},"entries":[]})"
                           "\n");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"amp.CE2"});
    EXPECT_EQ(readFile(dir.file("amp.CE2")), example());
}

TEST(Cli, WriteFailureExitsWithThree) {
    TempDirectory dir;
    writeFile(dir.file("amp.CE2"), example());
    std::filesystem::create_directory(dir.file("amp.$E2"));
    writeFile(dir.file("amp.$E2/x"), std::string("keeps the directory from being replaced"));
    const CliRun run = cli(dir, "amp.CE2");
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("の書き込みに失敗しました"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(readFile(dir.file("amp.CE2")), example());
}

}  // namespace
}  // namespace wemb
