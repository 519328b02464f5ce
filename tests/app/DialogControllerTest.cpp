// The dialog's behaviour without widgets: the name from the command line, opening, mode change,
// arrows, the run command's checks, messages and recent-file list, and Quit; and one real job run
// from the dialog. What the view last showed is what is checked, so a change never shown fails.

#include "app/DialogController.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "tests/support/TempDirectory.h"
#include "tools/gen/DataFileBuilder.h"

namespace wemb {
namespace {

using Names = std::vector<std::string>;
using F = NumberField;
using M = NumberingMode;
using enum MessageId;

struct Shown {
    MessageId id;
    std::string text;
    MessageIcon icon;
    std::string detail;
    bool operator==(const Shown&) const = default;
};

Shown told(MessageId id, const std::string& file = {}, MessageIcon icon = MessageIcon::Information,
           const std::string& detail = {}) {
    return {id, file.empty() ? messageText(id) : messageText(id, file), icon, detail};
}

// "a,b" as a list of names.
Names list(const std::string& names) {
    Names result;
    std::istringstream in(names);
    for (std::string name; std::getline(in, name, ',');) {
        result.push_back(name);
    }
    return result;
}

// The view, the message boxes and the settings file at once; every job answers `answer`.
struct Harness : DialogView, MessageSink, RecentFileStore {
    explicit Harness(const std::string& names = {}) : stored(list(names)) {
        answer.outcome = Finished;
    }
    void display(const DialogState& state) override { last = state; }
    void selectNumberField(NumberField field) override { selected = field; }
    void show(MessageId id, const std::string& text, MessageIcon icon,
              const std::string& detail) override {
        shown.push_back({id, text, icon, detail});
    }
    Names load() override { return stored; }
    void save(const Names& names) override {
        stored = names;
        ++saves;
    }
    std::string numbers() const { return last.initialNumberText + "," + last.stepText; }

    DialogState last;
    std::optional<NumberField> selected;
    std::vector<Shown> shown;
    Names stored, listDuringJob;
    int saves = 0;
    JobReport answer;
    std::vector<JobRequest> requests;
    DialogController controller{*this, *this, *this,
                                [this](const JobRequest& request, JobEvents& events) {
                                    requests.push_back(request);
                                    listDuringJob = last.recentFiles;
                                    if (answer.failedLibrary) {
                                        events.libraryFailed(*answer.failedLibrary);
                                    }
                                    return answer;
                                }};
};

// The name comes from the program's arguments as the dialog's start takes it.
TEST(DialogController, OpeningTakesTheCommandLinesNameElseTheMostRecent) {
    const struct {
        const char* fault;
        std::string stored;
        Names arguments;
        std::string field, listed;
    } cases[] = {
        {"an empty start shows something", "", {}, "", ""},
        {"the most recent name is not offered", "b,a", {}, "b", "b,a"},
        {"the command line loses to the list", "b", {"/d/x.CE2"}, "/d/x.CE2", "b"},
        {"a store's fifth name listed", "a,b,c,d,e", {}, "a", "a,b,c,d"},
        {"an option taken for a name", "b", {"--help", "/x"}, "b", "b"},
        {"the second of two names taken", "", {"a", "b"}, "a", ""},
        {"an empty argument taken", "", {"", "a"}, "a", ""},
        {"an unknown option taken for the name", "", {"-x", "/p2", "a"}, "a", ""},
        {"a path at the root taken for an option", "", {"/a.CE2"}, "/a.CE2", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        Harness h(c.stored);
        h.controller.open(startupFileName(c.arguments));
        EXPECT_EQ(h.last.fileName, c.field);
        EXPECT_EQ(h.last.recentFiles, list(c.listed));
        EXPECT_EQ(h.numbers(), "1,1");
        EXPECT_EQ(h.last.mode, M::AutonumLocked);
        EXPECT_FALSE(h.last.dependenceNameMode);
        EXPECT_TRUE(h.last.dependenceNameEnabled);
    }
}

// Every row has the option checked, clicks ReNum and then its mode: only ReNum disables the
// option, and its check mark is kept for the job.
TEST(DialogController, ModesArrowsAndExecuteKeepNumbersInTheirRange) {
    const M L = M::AutonumLocked, O = M::AutonumOriginal, N = M::ReNum;
    const F I = F::InitialNumber, S = F::Step;
    const struct {
        const char* fault;
        M mode;
        std::string initial, step;
        F field;
        int clicks;  // up when positive, down when negative
        std::string after;
        std::optional<MessageId> refusal;
    } cases[] = {
        {"down goes below 1", L, "1", "1", I, -1, "1,1"},
        {"up goes beyond 1000", O, "1000", "1", I, 1, "1000,1"},
        {"up goes beyond 20", N, "1", "20", S, 1, "1,20"},
        {"a typed value is not stepped from", L, "1", "7", S, 2, "1,9"},
        {"an out-of-range value is stepped from", O, "5000", "1", I, 1, "2,1"},
        {"text is stepped from as a number", N, "1", "abc", S, 1, "1,2"},
        {"the step range is the initial number's", L, "1", "19", S, 3, "1,20"},
        {"1000 and 20 refused", N, "1000", "20", S, 0, "1000,20"},
        {"1001 accepted", N, "1001", "1", S, 0, "1,1", InitialOutOfRange},
        {"0 accepted, or checked before Execute", N, "0", "1", S, 0, "1,1", InitialOutOfRange},
        {"text read as a number", N, "abc", "1", S, 0, "1,1", InitialOutOfRange},
        {"21 accepted as a step", N, "5", "21", S, 0, "5,1", StepOutOfRange},
        {"text accepted as a step", N, "5", "x", S, 0, "5,1", StepOutOfRange},
        {"both refused, or the step reset too", N, "0", "50", S, 0, "1,50", InitialOutOfRange},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        Harness h;
        h.controller.open("amp.CE2");
        h.controller.setDependenceNameMode(true);
        h.controller.editNumber(I, c.initial);
        h.controller.editNumber(S, c.step);
        for (int i = 0; i < std::abs(c.clicks); ++i) {
            h.controller.stepNumber(c.field, c.clicks > 0 ? 1 : -1);
        }
        h.controller.chooseMode(N);
        h.controller.chooseMode(c.mode);
        EXPECT_EQ(h.last.dependenceNameEnabled, c.mode != N);
        EXPECT_TRUE(h.shown.empty());
        h.controller.execute();
        EXPECT_EQ(h.numbers(), c.after);
        if (c.refusal) {
            EXPECT_TRUE(h.requests.empty()) << "a refused number still ran the job";
            EXPECT_EQ(h.shown, std::vector<Shown>{told(*c.refusal)});
            EXPECT_EQ(h.selected, *c.refusal == InitialOutOfRange ? I : S);
        } else {
            ASSERT_EQ(h.requests.size(), 1u);
            const JobRequest& r = h.requests[0];
            EXPECT_EQ(std::to_string(r.initialNumber) + "," + std::to_string(r.step), c.after);
            EXPECT_EQ(r.mode, c.mode);
            EXPECT_TRUE(r.dependenceNameMode) << "the check mark was lost";
            EXPECT_FALSE(h.selected.has_value());
        }
    }
}

TEST(DialogController, ExecuteKeepsTheRecentListAndTellsTheOutcome) {
    const auto info = MessageIcon::Information;
    const struct {
        const char* fault;
        std::string stored, field;
        MessageId outcome;
        std::string listAfter, fieldAfter;
        MessageIcon icon;
    } cases[] = {
        {"a new name is not put on top", "a", "b", Finished, "b,a", "b", info},
        {"duplicates survive", "a,b,a", "a", Finished, "a,b", "a", info},
        {"the fifth name keeps the oldest", "a,b,c,d", "e", Finished, "e,a,b,c", "e", info},
        {"names compared without case", "A.CE2", "a.CE2", Finished, "a.CE2,A.CE2", "a.CE2", info},
        {"a failed read keeps the name or the field", "a,b", "a", ReadFailed, "b", "",
         MessageIcon::None},
        {"a failed save is not a warning or loses the name", "b", "a", WriteFailed, "a,b", "a",
         MessageIcon::Warning},
    };
    const char* const cutShort = "part record (type 8, 60 bytes) runs past the end of the file";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        Harness h(c.stored);
        h.answer.outcome = c.outcome;
        h.answer.readError = errorAt(FileErrorKind::PastEnd, 60, cutShort);
        h.controller.open(c.field);
        h.controller.execute();
        ASSERT_EQ(h.requests.size(), 1u);
        EXPECT_EQ(h.requests[0].fileName, c.field);
        EXPECT_EQ(std::count(h.listDuringJob.begin(), h.listDuringJob.end(), c.field), 0)
            << "the name stayed on the list while the job read it";
        EXPECT_EQ(h.last.recentFiles, list(c.listAfter));
        EXPECT_EQ(h.last.fileName, c.fieldAfter);
        const Shown message =
            told(c.outcome, c.outcome == Finished ? "" : c.field, c.icon,
                 c.outcome == ReadFailed ? "byte 60: " + std::string(cutShort) : "");
        EXPECT_EQ(h.shown, std::vector<Shown>{message});
        EXPECT_EQ(h.saves, 0) << "saved before Quit";
        h.controller.quit();
        EXPECT_EQ(h.stored, list(c.listAfter));
    }
}

TEST(DialogController, FailedLibraryIsToldBeforeTheEnd) {
    // A file that cannot be opened needs no more than the message; a broken one says where.
    for (const bool opened : {false, true}) {
        Harness h;
        h.answer.failedLibrary = opened ? errorAt(FileErrorKind::UnexpectedToken, {12, 5}, "x")
                                        : systemError(FileErrorKind::CannotOpen, ENOENT);
        h.answer.failedLibrary->file = "/lib/PARTS.LB3";
        h.controller.open("amp.CE2");
        h.controller.execute();
        EXPECT_EQ(h.shown,
                  (std::vector<Shown>{told(ReadFailed, "/lib/PARTS.LB3", MessageIcon::Information,
                                           opened ? "line 12, column 5: x" : ""),
                                      told(Finished)}));
    }
}

TEST(DialogController, AnEmptyFieldRunsNothingAndBrowseOnlyFillsTheField) {
    Harness h("a,b");
    h.controller.open("");
    h.controller.editFileName("");
    h.controller.execute();
    EXPECT_TRUE(h.requests.empty() && h.shown.empty());
    h.controller.chooseFile("c");
    EXPECT_EQ(h.last.fileName, "c");
    EXPECT_EQ(h.last.recentFiles, list("a,b")) << "Browse put the name on the list";
}

// A dialog over the real file system, with no view and no settings file: each message box as it
// is shown, after the number of files the directory then holds.
struct DialogJob : DialogView, MessageSink, RecentFileStore {
    void display(const DialogState&) override {}
    void selectNumberField(NumberField) override {}
    void show(MessageId, const std::string& text, MessageIcon, const std::string&) override {
        shown.push_back(std::to_string(dir.names().size()) + " " + text);
    }
    Names load() override { return {}; }
    void save(const Names&) override {}

    testing::TempDirectory dir;
    Names shown;
    DialogController controller{*this, *this, *this, fileSystemJobRunner(std::string(), nullptr)};
};

TEST(DialogJob, AFailedLibraryIsShownBeforeAnythingIsWrittenAndUnseenSheetsAtTheEnd) {
    DialogJob job;
    testing::writeFile(job.dir.file("amp.CE2"), gen::DataFileBuilder().header().part({}).bytes());
    testing::writeFile(job.dir.file("QUIL.INI"), "[LIBRARY]\nLIB0=" + job.dir.file("gone.LIB"));
    testing::writeFile(job.dir.file("amp.CE2-01"), std::string("a sheet of an earlier save"));
    job.controller.open(job.dir.file("amp.CE2"));
    job.controller.execute();
    EXPECT_EQ(job.shown, (Names{"3 " + messageText(ReadFailed, job.dir.file("gone.LIB")),
                                "4 処理が終わりました\namp.CE2-01 exists beside amp.CE2, which "
                                "holds 1 sheet: its numbers are not seen"}));
}

}  // namespace
}  // namespace wemb
