// The dialog's behaviour without widgets: opening, mode change, arrows, the run command's checks,
// messages and recent-file list, and Quit.

#include "app/DialogController.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace wemb {
namespace {

using Names = std::vector<std::string>;

struct ShownMessage {
    MessageId id;
    std::string text;
    MessageIcon icon;
    bool operator==(const ShownMessage&) const = default;
};

class RecordingMessages : public MessageSink {
  public:
    void show(MessageId id, const std::string& text, MessageIcon icon) override {
        shown.push_back({id, text, icon});
    }
    std::vector<ShownMessage> shown;
};

class RecordingView : public DialogView {
  public:
    void display(const DialogState& state) override { last = state; }
    void selectNumberField(NumberField field) override { selected = field; }
    DialogState last;
    std::optional<NumberField> selected;
};

class MemoryStore : public RecentFileStore {
  public:
    explicit MemoryStore(Names names = {}) : stored(std::move(names)) {}
    Names load() override { return stored; }
    void save(const Names& names) override {
        stored = names;
        ++saves;
    }
    Names stored;
    int saves = 0;
};

// Answers every job with one report and remembers what it was asked.
struct ScriptedJobs {
    JobReport answer;
    std::vector<JobRequest> requests;
    JobRunner runner() {
        return [this](const JobRequest& request) {
            requests.push_back(request);
            return answer;
        };
    }
};

JobReport reportOf(MessageId outcome) {
    JobReport report;
    report.outcome = outcome;
    return report;
}

struct Harness {
    explicit Harness(Names stored = {}, JobReport answer = reportOf(MessageId::Finished))
        : store(std::move(stored)) {
        jobs.answer = std::move(answer);
    }
    RecordingView view;
    RecordingMessages messages;
    MemoryStore store;
    ScriptedJobs jobs;
    DialogController controller{view, messages, store, jobs.runner()};
};

// --- opening ---------------------------------------------------------------------------------

struct OpeningCase {
    const char* fault;
    Names stored;
    std::string commandLine;
    std::string field;
};

class Opening : public testing::TestWithParam<OpeningCase> {};

TEST_P(Opening, FillsListAndFieldAndDefaults) {
    const OpeningCase& c = GetParam();
    Harness h(c.stored);
    h.controller.open(c.commandLine);
    const DialogState& shown = h.view.last;
    EXPECT_EQ(shown.fileName, c.field);
    EXPECT_EQ(shown.recentFiles, c.stored);
    EXPECT_EQ(shown.initialNumberText, "1");
    EXPECT_EQ(shown.stepText, "1");
    EXPECT_EQ(shown.mode, NumberingMode::AutonumLocked);
    EXPECT_FALSE(shown.dependenceNameMode);
    EXPECT_TRUE(shown.dependenceNameEnabled);
}

INSTANTIATE_TEST_SUITE_P(
    DialogController, Opening,
    testing::Values(
        OpeningCase{"an empty start shows something", {}, "", ""},
        OpeningCase{"the most recent name is not offered", {"b.CE2", "a.CE2"}, "", "b.CE2"},
        OpeningCase{"the command line loses to the list", {"b.CE2"}, "x.CE2", "x.CE2"},
        OpeningCase{"the command line is ignored without a list", {}, "x.CE2", "x.CE2"}));

// --- mode change -----------------------------------------------------------------------------

struct ModeCase {
    const char* fault;
    std::vector<NumberingMode> clicks;
    bool enabled;
};

class ModeChange : public testing::TestWithParam<ModeCase> {};

TEST_P(ModeChange, EnablesTheOptionForAutonumOnlyAndKeepsItsCheck) {
    const ModeCase& c = GetParam();
    Harness h;
    h.controller.open("");
    h.controller.setDependenceNameMode(true);
    for (NumberingMode mode : c.clicks) {
        h.controller.chooseMode(mode);
    }
    EXPECT_EQ(h.view.last.dependenceNameEnabled, c.enabled);
    EXPECT_TRUE(h.view.last.dependenceNameMode) << "the check mark was lost";
    EXPECT_EQ(h.view.last.mode, c.clicks.back());
}

INSTANTIATE_TEST_SUITE_P(
    DialogController, ModeChange,
    testing::Values(ModeCase{"ReNum leaves the option usable", {NumberingMode::ReNum}, false},
                    ModeCase{
                        "Original disables the option", {NumberingMode::AutonumOriginal}, true},
                    ModeCase{"Locked after ReNum stays disabled",
                             {NumberingMode::ReNum, NumberingMode::AutonumLocked},
                             true},
                    ModeCase{"Original after ReNum stays disabled",
                             {NumberingMode::ReNum, NumberingMode::AutonumOriginal},
                             true}));

// --- up-down arrows --------------------------------------------------------------------------

struct ArrowCase {
    const char* fault;
    NumberField field;
    std::string typed;
    std::vector<int> clicks;
    std::string shown;
};

class Arrows : public testing::TestWithParam<ArrowCase> {};

TEST_P(Arrows, StepWithinTheRange) {
    const ArrowCase& c = GetParam();
    Harness h;
    h.controller.open("");
    h.controller.editNumber(c.field, c.typed);
    for (int delta : c.clicks) {
        h.controller.stepNumber(c.field, delta);
    }
    const DialogState& shown = h.view.last;
    EXPECT_EQ(c.field == NumberField::InitialNumber ? shown.initialNumberText : shown.stepText,
              c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    DialogController, Arrows,
    testing::Values(
        ArrowCase{"down goes below 1", NumberField::InitialNumber, "1", {-1}, "1"},
        ArrowCase{"up goes beyond 1000", NumberField::InitialNumber, "1000", {1}, "1000"},
        ArrowCase{"up goes beyond 20", NumberField::Step, "20", {1}, "20"},
        ArrowCase{"a typed value is not stepped from", NumberField::Step, "7", {1, 1}, "9"},
        ArrowCase{
            "an out-of-range value is stepped from", NumberField::InitialNumber, "5000", {1}, "2"},
        ArrowCase{"text is stepped from as a number", NumberField::Step, "abc", {1}, "2"},
        ArrowCase{
            "the step range is the initial number's", NumberField::Step, "19", {1, 1, 1}, "20"}));

TEST(DialogControllerTyping, TypedValuesStayUntilExecute) {
    Harness h;
    h.controller.open("");
    h.controller.editNumber(NumberField::InitialNumber, "5000");
    h.controller.editNumber(NumberField::Step, "0");
    h.controller.chooseMode(NumberingMode::ReNum);
    EXPECT_EQ(h.view.last.initialNumberText, "5000");
    EXPECT_EQ(h.view.last.stepText, "0");
    EXPECT_TRUE(h.messages.shown.empty());
}

// --- the number checks -----------------------------------------------------------------------

struct NumberCase {
    const char* fault;
    std::string initial, step;
    std::optional<MessageId> refusal;
    std::string initialAfter, stepAfter;
};

class NumberChecks : public testing::TestWithParam<NumberCase> {};

TEST_P(NumberChecks, RefuseOutOfRangeAndResetToOne) {
    const NumberCase& c = GetParam();
    Harness h;
    h.controller.open("amp.CE2");
    h.controller.editNumber(NumberField::InitialNumber, c.initial);
    h.controller.editNumber(NumberField::Step, c.step);
    h.controller.execute();

    const DialogState& shown = h.view.last;
    EXPECT_EQ(shown.initialNumberText, c.initialAfter);
    EXPECT_EQ(shown.stepText, c.stepAfter);
    if (c.refusal) {
        EXPECT_TRUE(h.jobs.requests.empty()) << "a refused number still ran the job";
        ASSERT_EQ(h.messages.shown.size(), 1u);
        EXPECT_EQ(h.messages.shown[0],
                  (ShownMessage{*c.refusal, messageText(*c.refusal), MessageIcon::Information}));
        const NumberField field = *c.refusal == MessageId::InitialOutOfRange
                                      ? NumberField::InitialNumber
                                      : NumberField::Step;
        EXPECT_EQ(h.view.selected, field);
    } else {
        ASSERT_EQ(h.jobs.requests.size(), 1u);
        EXPECT_EQ(h.jobs.requests[0].initialNumber, std::stoi(c.initial));
        EXPECT_EQ(h.jobs.requests[0].step, std::stoi(c.step));
        EXPECT_FALSE(h.view.selected.has_value());
    }
}

INSTANTIATE_TEST_SUITE_P(
    DialogController, NumberChecks,
    testing::Values(
        NumberCase{"1000 refused", "1000", "20", std::nullopt, "1000", "20"},
        NumberCase{"1 refused", "1", "1", std::nullopt, "1", "1"},
        NumberCase{"1001 accepted", "1001", "1", MessageId::InitialOutOfRange, "1", "1"},
        NumberCase{"0 accepted", "0", "1", MessageId::InitialOutOfRange, "1", "1"},
        NumberCase{"text read as a number", "abc", "1", MessageId::InitialOutOfRange, "1", "1"},
        NumberCase{"21 accepted as a step", "5", "21", MessageId::StepOutOfRange, "5", "1"},
        NumberCase{"text accepted as a step", "5", "x", MessageId::StepOutOfRange, "5", "1"},
        NumberCase{"both refused: the step checked first or reset too", "0", "50",
                   MessageId::InitialOutOfRange, "1", "50"}));

// --- the run command and the recent-file list ------------------------------------------------

struct JobCase {
    const char* fault;
    Names stored;
    std::string field;
    MessageId outcome;
    Names listAfter;
    std::string fieldAfter;
    ShownMessage message;
};

class RunCommand : public testing::TestWithParam<JobCase> {};

TEST_P(RunCommand, KeepsTheListAndTellsTheOutcome) {
    const JobCase& c = GetParam();
    Harness h(c.stored, reportOf(c.outcome));
    h.controller.open(c.field);
    h.controller.execute();

    ASSERT_EQ(h.jobs.requests.size(), 1u);
    EXPECT_EQ(h.jobs.requests[0].fileName, c.field);
    EXPECT_EQ(h.view.last.recentFiles, c.listAfter);
    EXPECT_EQ(h.view.last.fileName, c.fieldAfter);
    EXPECT_EQ(h.messages.shown, std::vector<ShownMessage>{c.message});
}

const ShownMessage finished{MessageId::Finished, messageText(MessageId::Finished),
                            MessageIcon::Information};

INSTANTIATE_TEST_SUITE_P(
    DialogController, RunCommand,
    testing::Values(JobCase{"a new name is not put on top",
                            {"a"},
                            "b",
                            MessageId::Finished,
                            {"b", "a"},
                            "b",
                            finished},
                    JobCase{"duplicates survive",
                            {"a", "b", "a"},
                            "a",
                            MessageId::Finished,
                            {"a", "b"},
                            "a",
                            finished},
                    JobCase{"the fifth name keeps the oldest",
                            {"a", "b", "c", "d"},
                            "e",
                            MessageId::Finished,
                            {"e", "a", "b", "c"},
                            "e",
                            finished},
                    JobCase{"names compared without case",
                            {"A.CE2"},
                            "a.CE2",
                            MessageId::Finished,
                            {"a.CE2", "A.CE2"},
                            "a.CE2",
                            finished},
                    JobCase{"a failed read keeps the name or the field",
                            {"a", "b"},
                            "a",
                            MessageId::ReadFailed,
                            {"b"},
                            "",
                            {MessageId::ReadFailed, messageText(MessageId::ReadFailed, "a"),
                             MessageIcon::None}},
                    JobCase{"a failed save is not a warning or loses the name",
                            {"b"},
                            "a",
                            MessageId::WriteFailed,
                            {"a", "b"},
                            "a",
                            {MessageId::WriteFailed, messageText(MessageId::WriteFailed, "a"),
                             MessageIcon::Warning}}));

TEST(DialogControllerRun, EmptyFieldDoesNothing) {
    Harness h({"a", "b"});
    h.controller.open("");
    h.controller.editFileName("");
    h.controller.execute();
    EXPECT_TRUE(h.jobs.requests.empty());
    EXPECT_TRUE(h.messages.shown.empty());
    EXPECT_EQ(h.view.last.recentFiles, (Names{"a", "b"}));
}

TEST(DialogControllerRun, PassesTheModeAndOption) {
    Harness h;
    h.controller.open("amp.CE2");
    h.controller.chooseMode(NumberingMode::AutonumOriginal);
    h.controller.setDependenceNameMode(true);
    h.controller.editNumber(NumberField::InitialNumber, "100");
    h.controller.editNumber(NumberField::Step, "10");
    h.controller.execute();
    ASSERT_EQ(h.jobs.requests.size(), 1u);
    const JobRequest& request = h.jobs.requests[0];
    EXPECT_EQ(request.mode, NumberingMode::AutonumOriginal);
    EXPECT_TRUE(request.dependenceNameMode);
    EXPECT_EQ(request.initialNumber, 100);
    EXPECT_EQ(request.step, 10);
    EXPECT_FALSE(request.dryRun);
}

TEST(DialogControllerRun, FailedLibraryIsToldBeforeTheEnd) {
    JobReport report = reportOf(MessageId::Finished);
    report.failedLibrary = "/lib/PARTS.LB3";
    Harness h({}, report);
    h.controller.open("amp.CE2");
    h.controller.execute();
    const std::vector<ShownMessage> expected{
        {MessageId::ReadFailed, messageText(MessageId::ReadFailed, "/lib/PARTS.LB3"),
         MessageIcon::Information},
        finished,
    };
    EXPECT_EQ(h.messages.shown, expected);
}

TEST(DialogControllerRun, TheListIsGoneBeforeTheRead) {
    Harness h({"a", "b"});
    Names listDuringJob;
    DialogController controller(h.view, h.messages, h.store, [&](const JobRequest&) {
        listDuringJob = h.view.last.recentFiles;
        return reportOf(MessageId::Finished);
    });
    controller.open("a");
    controller.execute();
    EXPECT_EQ(listDuringJob, Names{"b"});
}

TEST(DialogControllerRun, BrowseResultGoesIntoTheFieldOnly) {
    Harness h({"a"});
    h.controller.open("");
    h.controller.chooseFile("/data/amp.CE2");
    EXPECT_EQ(h.view.last.fileName, "/data/amp.CE2");
    EXPECT_EQ(h.view.last.recentFiles, Names{"a"});
}

// --- Quit ------------------------------------------------------------------------------------

TEST(DialogControllerQuit, SavesTheListAsShown) {
    Harness h({"a", "b"});
    h.controller.open("c");
    h.controller.execute();
    EXPECT_EQ(h.store.saves, 0) << "saved before Quit";
    h.controller.quit();
    EXPECT_EQ(h.store.saves, 1);
    EXPECT_EQ(h.store.stored, (Names{"c", "a", "b"}));
}

}  // namespace
}  // namespace wemb
