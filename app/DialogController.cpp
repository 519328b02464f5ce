#include "app/DialogController.h"

#include <algorithm>
#include <utility>

namespace wemb {

NumberRange rangeOf(NumberField field) {
    return field == NumberField::InitialNumber ? NumberRange{1, 1000} : NumberRange{1, 20};
}

JobRunner fileSystemJobRunner(std::string programDirectory, platform::FileOps* fileOps) {
    return [directory = std::move(programDirectory), fileOps](const JobRequest& request,
                                                              JobEvents& events) {
        return runJob(request, JobEnvironment{fileOps, directory, &events});
    };
}

DialogController::DialogController(DialogView& view, MessageSink& messages, RecentFileStore& store,
                                   JobRunner runJob)
    : view_(view), messages_(messages), store_(store), runJob_(std::move(runJob)) {}

void DialogController::open(const std::string& commandLineName) {
    state_ = DialogState{};
    positions_ = {1, 1};
    state_.recentFiles = store_.load();
    if (state_.recentFiles.size() > maxRecentFiles) {
        state_.recentFiles.resize(maxRecentFiles);
    }
    if (!commandLineName.empty()) {
        state_.fileName = commandLineName;
    } else if (!state_.recentFiles.empty()) {
        state_.fileName = state_.recentFiles.front();
    }
    chooseMode(NumberingMode::AutonumLocked);
}

void DialogController::editFileName(std::string text) {
    state_.fileName = std::move(text);
}

void DialogController::editNumber(NumberField field, std::string text) {
    numberText(field) = std::move(text);
}

void DialogController::setDependenceNameMode(bool checked) {
    state_.dependenceNameMode = checked;
}

void DialogController::chooseMode(NumberingMode mode) {
    state_.mode = mode;
    // ReNum ignores the option; the check mark stays for when an Autonum mode comes back.
    state_.dependenceNameEnabled = mode != NumberingMode::ReNum;
    refresh();
}

void DialogController::stepNumber(NumberField field, int delta) {
    const NumberRange range = rangeOf(field);
    int& position = positions_[static_cast<std::size_t>(field)];
    const int typed = parseNumberField(numberText(field));
    if (range.contains(typed)) {
        position = typed;
    }
    position = std::clamp(position + delta, range.low, range.high);
    numberText(field) = std::to_string(position);
    refresh();
}

void DialogController::chooseFile(std::string fullPath) {
    state_.fileName = std::move(fullPath);
    refresh();
}

void DialogController::execute() {
    const int initialNumber = parseNumberField(state_.initialNumberText);
    if (!numberAccepted(NumberField::InitialNumber, initialNumber)) {
        return;
    }
    const int step = parseNumberField(state_.stepText);
    if (!numberAccepted(NumberField::Step, step)) {
        return;
    }
    if (state_.fileName.empty()) {
        return;
    }
    // Copied: the field is cleared or rewritten below while the name is still needed.
    const std::string fileName = state_.fileName;
    forget(fileName);
    refresh();

    JobRequest request;
    request.fileName = fileName;
    request.mode = state_.mode;
    request.initialNumber = initialNumber;
    request.step = step;
    request.dependenceNameMode = state_.dependenceNameMode;
    const JobReport report = runJob_(request, *this);
    finishJob(fileName, report);
}

void DialogController::quit() {
    std::vector<std::string> names = state_.recentFiles;
    if (names.size() > maxRecentFiles) {
        names.resize(maxRecentFiles);
    }
    store_.save(names);
}

bool DialogController::numberAccepted(NumberField field, int value) {
    if (rangeOf(field).contains(value)) {
        return true;
    }
    // Back to where the field started, ready to be typed over.
    constexpr int restart = 1;
    numberText(field) = std::to_string(restart);
    positions_[static_cast<std::size_t>(field)] = restart;
    refresh();
    const MessageId id = field == NumberField::InitialNumber ? MessageId::InitialOutOfRange
                                                             : MessageId::StepOutOfRange;
    messages_.show(id, messageText(id), MessageIcon::Information, {});
    view_.selectNumberField(field);
    return false;
}

void DialogController::libraryFailed(const FileError& error) {
    messages_.show(MessageId::ReadFailed, messageText(MessageId::ReadFailed, error.file),
                   MessageIcon::Information, readFailureReason(error));
}

void DialogController::finishJob(const std::string& fileName, const JobReport& report) {
    if (!report.outcome) {
        return;
    }
    const MessageId outcome = *report.outcome;
    const std::string& named = report.messageFile.empty() ? fileName : report.messageFile;
    switch (outcome) {
        case MessageId::ReadFailed:
            messages_.show(outcome, messageText(outcome, named), MessageIcon::None,
                           readFailureReason(report.readError));
            state_.fileName.clear();
            refresh();
            return;
        case MessageId::WriteFailed:
            // The file was read, so it is a data file worth offering again for another try.
            putOnTop(fileName);
            messages_.show(outcome, messageText(outcome, named), MessageIcon::Warning, {});
            return;
        case MessageId::InitialOutOfRange:
        case MessageId::StepOutOfRange:
            messages_.show(outcome, messageText(outcome), MessageIcon::Information, {});
            return;
        case MessageId::Finished: {
            putOnTop(fileName);
            // The numbers of sheet files the job did not read may now be handed out twice.
            const std::string note = report.unseenSheets.note();
            messages_.show(outcome, messageText(outcome) + (note.empty() ? "" : "\n" + note),
                           MessageIcon::Information, {});
            return;
        }
    }
}

void DialogController::putOnTop(const std::string& fileName) {
    forget(fileName);
    state_.recentFiles.insert(state_.recentFiles.begin(), fileName);
    if (state_.recentFiles.size() > maxRecentFiles) {
        state_.recentFiles.resize(maxRecentFiles);
    }
    state_.fileName = fileName;
    refresh();
}

void DialogController::forget(const std::string& fileName) {
    std::erase(state_.recentFiles, fileName);
}

std::string& DialogController::numberText(NumberField field) {
    return field == NumberField::InitialNumber ? state_.initialNumberText : state_.stepText;
}

}  // namespace wemb
