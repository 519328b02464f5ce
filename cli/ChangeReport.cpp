#include "cli/ChangeReport.h"

#include "cli/DisplayText.h"
#include "cli/FileErrorReport.h"
#include "cli/JsonWriter.h"
#include "cli/Terminal.h"
#include "platform/Cp932.h"

namespace wemb::cli {
namespace {

const char* modeName(NumberingMode mode) {
    switch (mode) {
        case NumberingMode::AutonumLocked:
            return "locked";
        case NumberingMode::AutonumOriginal:
            return "original";
        case NumberingMode::ReNum:
            return "renum";
    }
    return "";
}

}  // namespace

std::string changesAsText(const JobReport& report) {
    std::string text = "sheet\tx\ty\tpart name\told\tnew\told block\tnew block\n";
    for (const PartRow& change : report.changes) {
        text += std::to_string(change.sheet + 1) + '\t' + std::to_string(change.x) + '\t' +
                std::to_string(change.y) + '\t' + cp932ForTerminal(change.partName) + '\t' +
                cp932ForTerminal(change.oldReference) + '\t' +
                cp932ForTerminal(change.newReference) + '\t' + std::to_string(change.oldBlock) +
                '\t' + std::to_string(change.newBlock) + '\n';
    }
    text += std::to_string(report.changes.size()) +
            (report.changes.size() == 1 ? " part would change" : " parts would change") +
            "; no file was touched\n";
    return text;
}

std::string changesAsJson(const CliOptions& options, const JobReport& report) {
    JsonWriter json;
    json.beginObject();
    json.key("file").value(displayName(options.file));
    json.key("mode").value(modeName(options.job.mode));
    json.key("initial").value(options.job.initialNumber);
    json.key("step").value(options.job.step);
    json.key("dependenceName").value(options.job.dependenceNameMode);
    writeReadFailureFields(json, report.readError, report.failedLibrary);
    json.key("changes").beginArray();
    for (const PartRow& change : report.changes) {
        json.beginObject();
        json.key("sheet").value(change.sheet + 1);
        json.key("x").value(change.x);
        json.key("y").value(change.y);
        json.key("partName").value(platform::cp932ToUtf8(change.partName));
        json.key("libraryName").value(platform::cp932ToUtf8(change.libraryName));
        json.key("oldReference").value(platform::cp932ToUtf8(change.oldReference));
        json.key("newReference").value(platform::cp932ToUtf8(change.newReference));
        json.key("oldBlock").value(change.oldBlock);
        json.key("newBlock").value(change.newBlock);
        json.endObject();
    }
    json.endArray();
    json.endObject();
    return json.text();
}

}  // namespace wemb::cli
