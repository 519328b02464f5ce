// The job shared by both front ends: the backup's name, the number fields, and which libraries
// it reads, on real files in a temporary directory. The save itself is tested by the reliability
// suite, the numbering by its own.

#include "app/Job.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/IniFile.h"
#include "tests/support/TempDirectory.h"
#include "tools/gen/DataFileBuilder.h"

namespace wemb {
namespace {

using testing::readFile;
using testing::writeFile;

JobReport run(const std::string& file) {
    JobRequest request;
    request.fileName = file;
    return runJob(request, JobEnvironment{nullptr, "/nonexistent-program-dir"});
}

TEST(BackupName, ReplacesTheFirstCharacterOfTheExtension) {
    const struct {
        std::string file, backup;
    } cases[] = {
        {"amp.CE2", "amp.$E2"}, {"amp.ce2", "amp.$e2"}, {"/data/amp.CE2", "/data/amp.$E2"},
        {"amp", "amp.$"},       {"amp.", "amp.$"},      {"dir.v2/amp", "dir.v2/amp.$"},
        {"a.b.CE2", "a.b.$E2"}, {".CE2", ".$E2"},
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

TEST(Job, AutonumWithoutPartsTellsNoFailedLibraryAndAnUnreadableListIsOne) {
    testing::TempDirectory dir;
    const std::vector<std::uint8_t> empty = gen::DataFileBuilder().header().record(0).bytes();
    writeFile(dir.file("empty.CE2"), empty);
    writeFile(dir.file("amp.CE2"), gen::DataFileBuilder().header().part({}).bytes());
    writeFile(dir.file("QUIL.INI"), std::string("[LIBRARY]\nLIB0=missing.LIB\n"));
    const JobReport none = run(dir.file("empty.CE2"));
    EXPECT_EQ(none.outcome, MessageId::Finished);
    EXPECT_FALSE(none.failedLibrary.has_value());
    EXPECT_EQ(readFile(dir.file("empty.CE2")), empty);
    // A settings file that is there but cannot be read is told as the library that failed.
    std::filesystem::resize_file(dir.file("QUIL.INI"), platform::kMaxProfileFileSize + 1);
    const JobReport unlisted = run(dir.file("amp.CE2"));
    EXPECT_EQ(unlisted.outcome, MessageId::Finished);
    ASSERT_TRUE(unlisted.failedLibrary);
    EXPECT_EQ(unlisted.failedLibrary->file, dir.file("QUIL.INI"));
    EXPECT_EQ(unlisted.failedLibrary->kind, FileErrorKind::TooLarge);
}

}  // namespace
}  // namespace wemb
