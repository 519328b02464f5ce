// The job shared by both front ends: its checks, its read, the numbering dispatch, and the save
// with its backup, run on real files in a temporary directory.

#include "app/Job.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/IniFile.h"
#include "schematic/CountedString.h"
#include "schematic/Document.h"
#include "tests/support/TempDirectory.h"
#include "tools/gen/DataFileBuilder.h"

namespace wemb {
namespace {

using gen::DataFileBuilder;
using gen::PartSpec;
using testing::readFile;
using testing::TempDirectory;
using testing::writeFile;

std::vector<std::uint8_t> twoSheets() {
    DataFileBuilder file;
    file.header().part({.x = 100, .y = 10, .partName = "10k", .reference = "R5"});
    file.record(3).part({.x = 50, .y = 10, .partName = "10k", .reference = "R"});
    file.header(true).part({.x = 10, .y = 10, .partName = "1u", .reference = "C9"});
    return file.bytes();
}

std::vector<std::string> referencesOf(const std::vector<std::uint8_t>& bytes) {
    auto parsed = Document::parse(bytes);
    std::vector<std::string> references;
    for (const PartEntry& part : parsed->parts()) {
        references.push_back(readCountedString(part.referenceField()));
    }
    return references;
}

JobReport run(const std::string& file, NumberingMode mode, bool dryRun = false,
              bool reportChanges = false) {
    JobRequest request;
    request.fileName = file;
    request.mode = mode;
    request.dryRun = dryRun;
    request.reportChanges = reportChanges;
    return runJob(request, JobEnvironment{nullptr, "/nonexistent-program-dir"});
}

TEST(BackupName, ReplacesTheFirstCharacterOfTheExtension) {
    const struct {
        std::string file, backup;
    } cases[] = {
        {"amp.CE2", "amp.$E2"},
        {"amp.ce2", "amp.$e2"},
        {"/data/amp.CE2", "/data/amp.$E2"},
        {"amp", "amp.$"},                // no extension
        {"amp.", "amp.$"},               // a bare dot
        {"dir.v2/amp", "dir.v2/amp.$"},  // a dot in a directory is no extension
        {"a.b.CE2", "a.b.$E2"},          // only the last dot counts
        {".CE2", ".$E2"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(backupName(c.file), c.backup) << c.file;
    }
}

TEST(NumberField, ReadsWholeDecimalNumbersOnly) {
    const struct {
        std::string text;
        int value;
    } cases[] = {
        {"1", 1},    {"1000", 1000}, {" 20 ", 20},       {"-5", -5},
        {"", 0},     {"abc", 0},     {"12abc", 0},       {"1.5", 0},
        {"0x10", 0}, {"+3", 0},      {"99999999999", 0},  // overflow reads as no number
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseNumberField(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(Job, KeepsTheOriginalAsBackupAndWritesOneFilePerSheet) {
    TempDirectory dir;
    const auto original = twoSheets();
    writeFile(dir.file("amp.CE2"), original);
    writeFile(dir.file("amp.$E2"), std::string("an earlier backup"));
    writeFile(dir.file("amp.CE2-05"), std::string("stale sheet of an earlier run"));

    const JobReport report = run(dir.file("amp.CE2"), NumberingMode::AutonumOriginal, false, true);

    ASSERT_EQ(report.outcome, MessageId::Finished);
    EXPECT_EQ(dir.names(),
              (std::vector<std::string>{"amp.$E2", "amp.CE2", "amp.CE2-01", "amp.CE2-05"}));
    EXPECT_EQ(readFile(dir.file("amp.$E2")), original);
    EXPECT_EQ(readFile(dir.file("amp.CE2-05")),
              std::vector<std::uint8_t>(std::begin("stale sheet of an earlier run"),
                                        std::end("stale sheet of an earlier run") - 1));
    // The written sheets joined are the renumbered file: R at x 50 comes first.
    auto written = readFile(dir.file("amp.CE2"));
    const auto second = readFile(dir.file("amp.CE2-01"));
    written.insert(written.end(), second.begin(), second.end());
    EXPECT_EQ(written.size(), original.size());
    EXPECT_EQ(referencesOf(written), (std::vector<std::string>{"R2", "R1", "C1"}));
    EXPECT_EQ(report.changes.size(), 3u);
}

TEST(Job, DryRunReportsAndTouchesNoFile) {
    TempDirectory dir;
    const auto original = twoSheets();
    writeFile(dir.file("amp.CE2"), original);
    const JobReport report = run(dir.file("amp.CE2"), NumberingMode::ReNum, true);
    ASSERT_EQ(report.outcome, MessageId::Finished);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"amp.CE2"});
    EXPECT_EQ(readFile(dir.file("amp.CE2")), original);
    ASSERT_EQ(report.changes.size(), 3u);
    const PartRow& first = report.changes[0];
    EXPECT_EQ(first.sheet, 0);
    EXPECT_EQ(first.x, 100);  // the record's own x, without the sheet offset
    EXPECT_EQ(first.oldReference, "R5");
    EXPECT_EQ(first.newReference, "R2");
    EXPECT_EQ(report.changes[2].sheet, 1);
}

TEST(Job, AutonumWithoutPartsReadsNoLibrary) {
    TempDirectory dir;
    DataFileBuilder file;
    file.header().record(0);
    writeFile(dir.file("empty.CE2"), file.bytes());
    writeFile(dir.file("QUIL.INI"), std::string("[LIBRARY]\nLIB0=missing.LIB\n"));
    const JobReport report = run(dir.file("empty.CE2"), NumberingMode::AutonumLocked);
    EXPECT_EQ(report.outcome, MessageId::Finished);
    EXPECT_FALSE(report.failedLibrary.has_value());
    EXPECT_EQ(readFile(dir.file("empty.CE2")), file.bytes());
}

TEST(Job, AFailedLibraryIsReportedAndTheJobGoesOn) {
    TempDirectory dir;
    writeFile(dir.file("amp.CE2"), twoSheets());
    writeFile(dir.file("QUIL.INI"), "[LIBRARY]\nLIB0=" + dir.file("missing.LIB") + "\n");
    const JobReport report = run(dir.file("amp.CE2"), NumberingMode::AutonumOriginal);
    EXPECT_EQ(report.outcome, MessageId::Finished);
    ASSERT_TRUE(report.failedLibrary);
    EXPECT_EQ(report.failedLibrary->file, dir.file("missing.LIB"));
    // A settings file that is there but cannot be read is told the same way.
    std::filesystem::resize_file(dir.file("QUIL.INI"), platform::kMaxProfileFileSize + 1);
    const JobReport unlisted = run(dir.file("amp.CE2"), NumberingMode::AutonumOriginal);
    EXPECT_EQ(unlisted.outcome, MessageId::Finished);
    ASSERT_TRUE(unlisted.failedLibrary);
    EXPECT_EQ(unlisted.failedLibrary->file, dir.file("QUIL.INI"));
    EXPECT_EQ(unlisted.failedLibrary->kind, FileErrorKind::TooLarge);
}

}  // namespace
}  // namespace wemb
