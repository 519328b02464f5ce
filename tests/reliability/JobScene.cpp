#include "tests/reliability/JobScene.h"

#include <fcntl.h>
#ifdef _WIN32
#include <process.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>

#include "schematic/Document.h"
#include "tools/gen/DataFileBuilder.h"

namespace wemb::testing {
namespace {

const char* const kJobNames[] = {"amp.CE2", "amp.$E2", "amp.CE2-01", "amp.CE2-02"};

std::vector<std::vector<std::uint8_t>> renumberedSheets(const std::vector<std::uint8_t>& bytes) {
    TempDirectory dir;
    writeFile(dir.file("amp.CE2"), bytes);
    JobRequest request;
    request.fileName = dir.file("amp.CE2");
    request.mode = NumberingMode::ReNum;
    runJob(request, JobEnvironment{nullptr, "/nonexistent"});
    std::vector<std::vector<std::uint8_t>> sheets;
    for (int sheet = 0; sheet < 3; ++sheet) {
        sheets.push_back(readFile(Document::sheetFileName(dir.file("amp.CE2"), sheet)));
    }
    return sheets;
}

std::string describe(const std::string& name, const std::string& what) {
    return name + ": " + what + "; ";
}

}  // namespace

std::vector<std::uint8_t> threeSheetDrawing() {
    gen::DataFileBuilder file;
    file.header().part({.x = 100, .y = 10, .partName = "10k", .reference = "R5"});
    file.record(3).part({.x = 50, .y = 10, .partName = "10k", .reference = "R9"});
    file.header(true).part({.x = 10, .y = 10, .partName = "1u", .reference = "C9"});
    file.variableRecord(30, 200).part({.x = 20, .y = 10, .partName = "1u", .reference = "C4"});
    file.header().part({.x = 10, .y = 10, .partName = "LM324", .reference = "U8"});
    return file.bytes();
}

JobScene::JobScene(std::optional<std::string> directory) : original_(threeSheetDrawing()) {
    if (directory) {
        directory_ = *directory;
    } else {
        owned_.emplace();
        directory_ = owned_->path().string();
    }
    writeFile(dataPath(), original_);
    numbered_ = renumberedSheets(original_);
}

JobReport JobScene::run(platform::FileOps* fileOps) const {
    JobRequest request;
    request.fileName = dataPath();
    request.mode = NumberingMode::ReNum;
    return runJob(request, JobEnvironment{fileOps, "/nonexistent"});
}

std::set<std::string> JobScene::names() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory_)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

std::string JobScene::brokenPromises(const JobReport& report, bool allowStrays) const {
    std::string broken;
    const auto data = bytesIfPresent(dataPath());
    const auto backup = bytesIfPresent(backupPath());
    if (data != original_ && backup != original_) {
        broken += describe("original", "under neither the data file's name nor the backup name");
    }
    if (data && *data != original_ && *data != numbered_[0]) {
        broken += describe("amp.CE2", "holds neither the original nor the whole new first sheet");
    }
    for (int sheet = 1; sheet < 3; ++sheet) {
        const std::string name = Document::sheetFileName("amp.CE2", sheet);
        const auto bytes = bytesIfPresent(file(name));
        if (bytes && *bytes != numbered_[static_cast<std::size_t>(sheet)]) {
            broken += describe(name, "holds a partial sheet");
        }
    }
    for (const std::string& name : names()) {
        const bool ours =
            std::find(std::begin(kJobNames), std::end(kJobNames), name) != std::end(kJobNames);
        if (!ours && !allowStrays) {
            broken += describe(name, "left behind");
        }
    }
    if (!report.outcome) {
        return broken + "no message; ";
    }
    switch (*report.outcome) {
        case MessageId::Finished:
            if (data != numbered_[0] || backup != original_ ||
                bytesIfPresent(file("amp.CE2-01")) != numbered_[1] ||
                bytesIfPresent(file("amp.CE2-02")) != numbered_[2]) {
                broken +=
                    describe("105", "reported but the sheets and the backup are not all saved");
            }
            break;
        case MessageId::ReadFailed:
            if (data != original_ || names().size() != 1) {
                broken += describe("102", "reported but files were touched");
            }
            break;
        case MessageId::WriteFailed:
            if (report.messageFile.empty()) {
                broken += describe("106", "names no file");
            }
            break;
        default:
            broken += describe("message", std::to_string(static_cast<int>(*report.outcome)));
    }
    return broken;
}

std::optional<std::vector<std::uint8_t>> bytesIfPresent(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    return readFile(path);
}

CliResult runCli(const std::vector<std::string>& arguments) {
    const std::string program = std::string(WEMB_BINARY_DIR) + "/bin/wemb-cli";
    TempDirectory output;
    const std::string errorPath = output.file("stderr");
#ifdef _WIN32
    // cmd.exe takes the outer quotes off and runs the rest; the test paths hold no quotes.
    std::string command = "\"\"" + program + ".exe\"";
    for (const std::string& argument : arguments) {
        command += " \"" + argument + "\"";
    }
    command += " >NUL 2>\"" + errorPath + "\"\"";
    const int status = std::system(command.c_str());
    const std::vector<std::uint8_t> err = readFile(errorPath);
    return {status, std::string(err.begin(), err.end())};
#else
    const pid_t child = fork();
    if (child == 0) {
        const int err = ::open(errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int null = ::open("/dev/null", O_WRONLY);
        dup2(err, STDERR_FILENO);
        dup2(null, STDOUT_FILENO);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        setenv("LC_ALL", "C.UTF-8", 1);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    const std::vector<std::uint8_t> err = readFile(errorPath);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, std::string(err.begin(), err.end())};
#endif
}

}  // namespace wemb::testing
