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
    void show(MessageId id, const std::string& text, MessageIcon, const std::string&) override {
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

}  // namespace
}  // namespace wemb
