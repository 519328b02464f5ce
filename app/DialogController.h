#pragma once
// What the main dialog does, apart from its widgets: the opening state, the mode change, the
// up-down arrows, the run command with its checks and messages, and the recent-file list. A
// toolkit binds its controls to this class and shows what it says; the class never draws.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/Job.h"
#include "app/Messages.h"
#include "app/RecentFiles.h"

namespace wemb {

enum class MessageIcon { None, Information, Warning };

// Message boxes: one text, one icon, a single OK button; returns when the user has closed it.
// A non-empty `detail` is a technical line (why a file could not be read) shown under the text,
// set off from it; the text itself stays exactly the message.
class MessageSink {
  public:
    virtual ~MessageSink() = default;
    virtual void show(MessageId id, const std::string& text, MessageIcon icon,
                      const std::string& detail) = 0;
};

enum class NumberField { InitialNumber, Step };

// The numbers an up-down control may reach; typed values outside are left to Execute to refuse.
struct NumberRange {
    int low = 1;
    int high = 1;
    bool contains(int value) const { return value >= low && value <= high; }
};

NumberRange rangeOf(NumberField field);

// What the controls show. Texts are bytes as the user typed or chose them.
struct DialogState {
    std::string fileName;                  // the field of the file combo box
    std::vector<std::string> recentFiles;  // its drop-down list, most recent first
    std::string initialNumberText = "1";
    std::string stepText = "1";
    NumberingMode mode = NumberingMode::AutonumLocked;
    bool dependenceNameMode = false;
    bool dependenceNameEnabled = true;  // off for ReNum, which ignores the option
};

// The controls, as far as the controller has to tell them something.
class DialogView {
  public:
    virtual ~DialogView() = default;
    // Make every control show `state`.
    virtual void display(const DialogState& state) = 0;
    // Select the whole text of a number field so that the user can type over a refused value.
    virtual void selectNumberField(NumberField field) = 0;
};

// Runs one job, telling `events` what happens as it happens.
using JobRunner = std::function<JobReport(const JobRequest&, JobEvents& events)>;

// The real job, with the libraries looked for beside the data file and then in `programDirectory`;
// files are touched through `fileOps` (null: the real file system).
JobRunner fileSystemJobRunner(std::string programDirectory, platform::FileOps* fileOps = nullptr);

class DialogController : private JobEvents {
  public:
    static constexpr std::size_t maxRecentFiles = 4;

    DialogController(DialogView& view, MessageSink& messages, RecentFileStore& store,
                     JobRunner runJob);

    // Opening: the stored names fill the list; a name from the command line wins the field,
    // else the most recent name does.
    void open(const std::string& commandLineName);

    // What the user did to a control.
    void editFileName(std::string text);
    void editNumber(NumberField field, std::string text);
    void setDependenceNameMode(bool checked);
    void chooseMode(NumberingMode mode);
    void stepNumber(NumberField field, int delta);  // an up-down arrow: +1 up, -1 down
    void chooseFile(std::string fullPath);          // confirmed in the file dialog

    // Execute: one job on the file in the field; the dialog stays open.
    void execute();
    // Quit, Esc or the close button: keep the recent-file list.
    void quit();

    const DialogState& state() const { return state_; }

  private:
    bool numberAccepted(NumberField field, int value);
    // Shown while the job waits, before it writes anything.
    void libraryFailed(const FileError& error) override;
    void finishJob(const std::string& fileName, const JobReport& report);
    void putOnTop(const std::string& fileName);
    void forget(const std::string& fileName);
    std::string& numberText(NumberField field);
    void refresh() { view_.display(state_); }

    DialogView& view_;
    MessageSink& messages_;
    RecentFileStore& store_;
    JobRunner runJob_;
    DialogState state_;
    // Where each up-down control stands; it steps from the field's value when that is in range.
    std::array<int, 2> positions_{1, 1};
};

}  // namespace wemb
