// One real job from the dialog's side: a data file in a scratch directory, renumbered, with the
// untouched file kept as the backup and the name put on top of the list.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/DialogController.h"
#include "platform/FileOps.h"
#include "tests/support/TempDirectory.h"
#include "tools/gen/DataFileBuilder.h"

namespace wemb {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::readFile;
using testing::writeFile;

// A dialog over the real file system, with no view and no settings file; message boxes and
// exclusive creates are logged in the order they happen.
struct DialogJob : DialogView, MessageSink, RecentFileStore, platform::FileOps {
    void display(const DialogState&) override {}
    void selectNumberField(NumberField) override {}
    void show(MessageId id, const std::string& text, MessageIcon) override {
        ids.push_back(id);
        texts.push_back(text);
        log.push_back("box " + std::to_string(static_cast<int>(id)));
    }
    int createExclusive(const std::string& path, mode_t mode) override {
        log.push_back("create");
        return FileOps::createExclusive(path, mode);
    }
    std::vector<std::string> load() override { return {}; }
    void save(const std::vector<std::string>&) override {}

    testing::TempDirectory dir;
    std::vector<MessageId> ids;
    std::vector<std::string> log;
    std::vector<std::string> texts;
    DialogController controller{*this, *this, *this, fileSystemJobRunner(std::string(), this)};
};

TEST(DialogJob, RenumbersAndKeepsTheUntouchedFileAsBackup) {
    DialogJob job;
    const Bytes original =
        gen::DataFileBuilder()
            .header()
            .part({.x = 100, .y = 100, .partName = "10k", .reference = "R5", .libraryName = "RES"})
            .part({.x = 200, .y = 100, .partName = "22k", .reference = "R9", .libraryName = "RES"})
            .bytes();
    const std::string file = job.dir.file("amp.CE2");
    writeFile(file, original);
    writeFile(job.dir.file("amp.$E2"), std::string("old"));
    writeFile(job.dir.file("amp.CE2-03"), std::string("a sheet of an earlier save"));

    job.controller.open(file);
    job.controller.chooseMode(NumberingMode::ReNum);
    job.controller.execute();

    EXPECT_EQ(job.ids, std::vector<MessageId>{MessageId::Finished});
    EXPECT_EQ(job.texts, std::vector<std::string>{"処理が終わりました\namp.CE2-03 exists beside "
                                                  "amp.CE2, which holds 1 sheet: its numbers are "
                                                  "not seen"});
    EXPECT_EQ(readFile(job.dir.file("amp.$E2")), original) << "the backup is not the old file";
    const Bytes renumbered = readFile(file);
    ASSERT_EQ(renumbered.size(), original.size());
    const std::string text(renumbered.begin(), renumbered.end());
    EXPECT_NE(text.find("\x02R1"), std::string::npos) << "nothing was renumbered";
    EXPECT_NE(text.find("\x02R2"), std::string::npos);
    EXPECT_EQ(job.controller.state().recentFiles, std::vector<std::string>{file});
    EXPECT_EQ(job.controller.state().fileName, file);
}

TEST(DialogJob, AFailedLibraryIsShownBeforeAnythingIsWritten) {
    DialogJob job;
    writeFile(job.dir.file("amp.CE2"),
              gen::DataFileBuilder().header().part({.reference = "R", .libraryName = "R"}).bytes());
    writeFile(job.dir.file("QUIL.INI"), "[LIBRARY]\nLIB0=" + job.dir.file("gone.LIB") + "\n");
    job.controller.open(job.dir.file("amp.CE2"));
    job.controller.execute();
    ASSERT_GE(job.log.size(), 3u);
    EXPECT_EQ(job.log[0], "box 102") << "the backup or the new file came first";
    EXPECT_EQ(job.log[1], "create");
    EXPECT_EQ(job.log.back(), "box 105");
}

TEST(DialogJob, NotADataFileIsLeftAloneAndTheFieldCleared) {
    DialogJob job;
    const std::string junk = "not a drawing";
    writeFile(job.dir.file("junk.CE2"), junk);
    job.controller.open(job.dir.file("junk.CE2"));
    job.controller.execute();

    EXPECT_EQ(job.ids, std::vector<MessageId>{MessageId::ReadFailed});
    EXPECT_EQ(readFile(job.dir.file("junk.CE2")), Bytes(junk.begin(), junk.end()));
    EXPECT_FALSE(std::filesystem::exists(job.dir.file("junk.$E2")));
    EXPECT_EQ(job.controller.state().fileName, "");
    EXPECT_TRUE(job.controller.state().recentFiles.empty());
}

}  // namespace
}  // namespace wemb
