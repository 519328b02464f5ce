#include "tests/reliability/JobScene.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "tools/gen/DataFileBuilder.h"

namespace wemb::testing {
namespace {

const std::string kSheetNames[] = {"amp.CE2", "amp.CE2-01", "amp.CE2-02"};

// Three sheets with parts on each, so that a failure can strike before, in and after any sheet.
std::vector<std::uint8_t> threeSheetDrawing() {
    gen::DataFileBuilder file;
    file.header().part({.x = 100, .y = 10, .partName = "10k", .reference = "R5"});
    file.record(3).part({.x = 50, .y = 10, .partName = "10k", .reference = "R9"});
    file.header(true).part({.x = 10, .y = 10, .partName = "1u", .reference = "C9"});
    file.variableRecord(30, 200).part({.x = 20, .y = 10, .partName = "1u", .reference = "C4"});
    file.header().part({.x = 10, .y = 10, .partName = "LM324", .reference = "U8"});
    return file.bytes();
}

// The sheets a clean job writes, taken once from a job of its own.
std::vector<std::vector<std::uint8_t>> renumberedSheets() {
    TempDirectory dir;
    writeFile(dir.file("amp.CE2"), threeSheetDrawing());
    JobScene::runOn(dir.file("amp.CE2"));
    std::vector<std::vector<std::uint8_t>> sheets;
    for (const std::string& name : kSheetNames) {
        sheets.push_back(readFile(dir.file(name)));
    }
    return sheets;
}

}  // namespace

JobScene::JobScene() : original_(threeSheetDrawing()) {
    static const std::vector<std::vector<std::uint8_t>> numbered = renumberedSheets();
    numbered_ = numbered;
    writeFile(dataPath(), original_);
}

JobReport JobScene::runOn(const std::string& path, platform::FileOps* fileOps) {
    JobRequest request;
    request.fileName = path;
    request.mode = NumberingMode::ReNum;
    return runJob(request, JobEnvironment{fileOps, "/nonexistent"});
}

std::string JobScene::brokenPromises(const JobReport& report, bool allowStrays) const {
    std::string broken;
    const auto data = bytesIfPresent(dataPath());
    const auto backup = bytesIfPresent(backupPath());
    bool saved = backup == original_;
    for (std::size_t sheet = 0; sheet < 3; ++sheet) {
        const auto bytes = bytesIfPresent(dir_.file(kSheetNames[sheet]));
        saved = saved && bytes == numbered_[sheet];
        if (bytes && *bytes != numbered_[sheet] && (sheet > 0 || *bytes != original_)) {
            broken += kSheetNames[sheet] + " holds a partial sheet; ";
        }
    }
    if (data != original_ && backup != original_) {
        broken += "the original is under neither the data file's name nor the backup name; ";
    }
    const std::vector<std::string> names = dir_.names();
    for (const std::string& name : names) {
        if (!allowStrays && name != "amp.$E2" && std::ranges::count(kSheetNames, name) == 0) {
            broken += name + " left behind; ";
        }
    }
    if (!report.outcome) {
        return broken + "no message";
    }
    switch (*report.outcome) {
        case MessageId::Finished:
            return broken + (saved ? "" : "105 but the sheets and the backup are not all saved");
        case MessageId::ReadFailed:
            return broken + (data == original_ && names.size() == 1 ? "" : "102 but files touched");
        case MessageId::WriteFailed:
            return broken + (report.messageFile.empty() ? "106 names no file" : "");
        default:
            return broken + "an unexpected message";
    }
}

std::optional<std::vector<std::uint8_t>> bytesIfPresent(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    return readFile(path);
}

CliResult runCli(const std::vector<std::string>& arguments) {
    TempDirectory output;
    const std::string errorPath = output.file("stderr");
    std::string command = "\"" + std::string(WEMB_BINARY_DIR) + "/bin/wemb-cli\"";
    for (const std::string& argument : arguments) {
        command += " \"" + argument + "\"";
    }
#ifdef _WIN32
    // cmd.exe takes the outer quotes off and runs the rest; the test paths hold no quotes.
    const int status = std::system(("\"" + command + " >NUL 2>\"" + errorPath + "\"\"").c_str());
#else
    const int raw =
        std::system(("LC_ALL=C.UTF-8 " + command + " >/dev/null 2>\"" + errorPath + "\"").c_str());
    const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
    const std::vector<std::uint8_t> err = readFile(errorPath);
    return {status, std::string(err.begin(), err.end())};
}

}  // namespace wemb::testing
