// One real job from the dialog's side: a data file in a scratch directory, renumbered, with the
// untouched file kept as the backup and the name put on top of the list.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/DialogController.h"
#include "tools/gen/DataFileBuilder.h"

namespace wemb {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class NullView : public DialogView {
  public:
    void display(const DialogState&) override {}
    void selectNumberField(NumberField) override {}
};

class Messages : public MessageSink {
  public:
    void show(MessageId id, const std::string&, MessageIcon) override { ids.push_back(id); }
    std::vector<MessageId> ids;
};

class NoStore : public RecentFileStore {
  public:
    std::vector<std::string> load() override { return {}; }
    void save(const std::vector<std::string>&) override {}
};

class DialogJob : public testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "wemb-dialog-job-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        directory_ = pattern;
    }
    void TearDown() override { fs::remove_all(directory_); }

    std::string path(const std::string& name) const { return (directory_ / name).string(); }
    void write(const std::string& name, const Bytes& bytes) const {
        std::ofstream(path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    Bytes read(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    fs::path directory_;
    NullView view_;
    Messages messages_;
    NoStore store_;
    DialogController controller_{view_, messages_, store_, fileSystemJobRunner(std::string())};
};

Bytes twoResistors() {
    return gen::DataFileBuilder()
        .header()
        .part({.x = 100, .y = 100, .partName = "10k", .reference = "R5", .libraryName = "RES"})
        .part({.x = 200, .y = 100, .partName = "22k", .reference = "R9", .libraryName = "RES"})
        .bytes();
}

TEST_F(DialogJob, RenumbersAndKeepsTheBackup) {
    const Bytes original = twoResistors();
    write("amp.CE2", original);
    write("amp.$E2", Bytes{'o', 'l', 'd'});

    controller_.open(path("amp.CE2"));
    controller_.chooseMode(NumberingMode::ReNum);
    controller_.execute();

    EXPECT_EQ(messages_.ids, std::vector<MessageId>{MessageId::Finished});
    EXPECT_EQ(read("amp.$E2"), original) << "the backup is not the untouched file";
    const Bytes renumbered = read("amp.CE2");
    ASSERT_EQ(renumbered.size(), original.size());
    EXPECT_NE(renumbered, original) << "nothing was renumbered";
    const std::string text(renumbered.begin(), renumbered.end());
    EXPECT_NE(text.find("\x02R1"), std::string::npos);
    EXPECT_NE(text.find("\x02R2"), std::string::npos);
    EXPECT_EQ(controller_.state().recentFiles, std::vector<std::string>{path("amp.CE2")});
    EXPECT_EQ(controller_.state().fileName, path("amp.CE2"));
}

TEST_F(DialogJob, NotADataFileIsLeftAloneAndTheFieldCleared) {
    const Bytes junk{'n', 'o', 't', ' ', 'a', ' ', 'd', 'r', 'a', 'w', 'i', 'n', 'g'};
    write("junk.CE2", junk);
    controller_.open(path("junk.CE2"));
    controller_.execute();

    EXPECT_EQ(messages_.ids, std::vector<MessageId>{MessageId::ReadFailed});
    EXPECT_EQ(read("junk.CE2"), junk);
    EXPECT_FALSE(fs::exists(path("junk.$E2")));
    EXPECT_EQ(controller_.state().fileName, "");
    EXPECT_TRUE(controller_.state().recentFiles.empty());
}

}  // namespace
}  // namespace wemb
