#include "cli/CheckFormat.h"

#include <array>

#include "cli/DisplayText.h"
#include "cli/FileErrorReport.h"
#include "cli/JsonWriter.h"
#include "platform/Paths.h"

namespace wemb::cli {
namespace {

// Every kind of finding, in the order of the counts, with its key in JSON, its column in the
// text table and its words after a count.
struct KindTexts {
    FindingKind kind;
    const char* key;
    const char* title;
    const char* counted;
};
constexpr std::array<KindTexts, 6> kKinds = {{
    {FindingKind::DuplicateReference, "duplicateReference", "duplicate reference ",
     "with a duplicate reference"},
    {FindingKind::MissingNumber, "missingNumber", "no number           ", "without a number"},
    {FindingKind::BlockOutOfRange, "blockOutOfRange", "block out of range  ",
     "with a block out of range"},
    {FindingKind::PackageNameMismatch, "packageNameMismatch", "part names disagree ",
     "in packages whose part names disagree"},
    {FindingKind::ReferenceAtLimit, "referenceAtLimit", "reference at limit  ",
     "with a reference at the 7-character limit"},
    {FindingKind::PassedOver, "passedOver", "passed over         ", "passed over by the numbering"},
}};

const KindTexts& textsOf(FindingKind kind) {
    for (const KindTexts& texts : kKinds) {
        if (texts.kind == kind) {
            return texts;
        }
    }
    return kKinds.back();
}

const char* reasonKey(PassReason reason) {
    switch (reason) {
        case PassReason::PowerSymbol:
            return "powerSymbol";
        case PassReason::EmptyReference:
            return "emptyReference";
        case PassReason::EmptyPartName:
            return "emptyPartName";
        case PassReason::None:
            break;
    }
    return "";
}

std::string detail(const Finding& finding) {
    const std::string shown = displayText(finding.part.reference);
    switch (finding.kind) {
        case FindingKind::DuplicateReference:
            return std::to_string(finding.sharedBy) + " parts carry this number (" + shown +
                   ") and are not the blocks of one package";
        case FindingKind::MissingNumber:
            return finding.part.reference.empty() ? "empty reference"
                                                  : "the reference ends in no digit";
        case FindingKind::BlockOutOfRange:
            return "block " + std::to_string(finding.part.block) + ", but the library gives " +
                   std::to_string(finding.blockCount) +
                   (finding.blockCount == 1 ? " block" : " blocks");
        case FindingKind::PackageNameMismatch:
            return std::to_string(finding.sharedBy) +
                   " parts share this number as blocks of one package under different part names";
        case FindingKind::ReferenceAtLimit:
            return "a renumbering with a longer number would cut it";
        case FindingKind::PassedOver:
            switch (finding.reason) {
                case PassReason::PowerSymbol:
                    return "power symbol";
                case PassReason::EmptyReference:
                    return "empty reference";
                case PassReason::EmptyPartName:
                    return "no part name";
                case PassReason::None:
                    break;
            }
    }
    return "";
}

std::string findingLine(const Finding& finding) {
    const CheckedPart& part = finding.part;
    const std::string reference =
        part.reference.empty() ? std::string("(empty)") : displayText(part.reference);
    const std::string name =
        part.partName.empty() ? std::string("(no part name)") : displayText(part.partName);
    return std::string("  ") + textsOf(finding.kind).title + reference + "  at " +
           std::to_string(part.x) + ", " + std::to_string(part.y) + "  " + name + "  " +
           detail(finding) + '\n';
}

std::string plural(int count, const char* one, const char* many) {
    return std::to_string(count) + ' ' + (count == 1 ? one : many);
}

// "2 parts with a duplicate reference, 1 part without a number", or "nothing found".
std::string countsText(const DrawingCheck& check, int sheet) {
    std::string text;
    for (const auto& [kind, key, title, counted] : kKinds) {
        const int count = sheet < 0 ? check.count(kind) : check.countOnSheet(sheet, kind);
        if (count == 0) {
            continue;
        }
        text += text.empty() ? "" : ", ";
        text += plural(count, "part ", "parts ") + counted;
    }
    return text.empty() ? "nothing found" : text;
}

void writeFinding(JsonWriter& json, const Finding& finding) {
    const CheckedPart& part = finding.part;
    json.beginObject();
    json.key("kind").value(textsOf(finding.kind).key);
    json.key("reference").value(displayText(part.reference));
    json.key("x").value(part.x);
    json.key("y").value(part.y);
    json.key("partName").value(displayText(part.partName));
    json.key("libraryName").value(displayText(part.libraryName));
    json.key("block").value(part.block);
    if (finding.kind == FindingKind::DuplicateReference ||
        finding.kind == FindingKind::PackageNameMismatch) {
        json.key("sharedBy").value(finding.sharedBy);
    }
    if (finding.kind == FindingKind::BlockOutOfRange) {
        json.key("blockCount").value(finding.blockCount);
    }
    if (finding.kind == FindingKind::PassedOver) {
        json.key("reason").value(reasonKey(finding.reason));
    }
    json.endObject();
}

void writeCounts(JsonWriter& json, const DrawingCheck& check, int sheet) {
    json.key("counts").beginObject();
    for (const auto& [kind, key, title, counted] : kKinds) {
        json.key(key).value(sheet < 0 ? check.count(kind) : check.countOnSheet(sheet, kind));
    }
    json.endObject();
}

int totalParts(const DrawingCheck& check) {
    int total = 0;
    for (const int count : check.partsOnSheet) {
        total += count;
    }
    return total;
}

}  // namespace

std::string checkAsText(const CliOptions& options, const CheckReport& report) {
    const DrawingCheck& check = report.check;
    std::string text = displayName(options.file) + ": " +
                       plural(check.sheetCount, "sheet", "sheets") + ", " +
                       plural(totalParts(check), "part", "parts") + '\n';
    for (int sheet = 0; sheet < check.sheetCount; ++sheet) {
        text += "sheet " + std::to_string(sheet + 1) + " (" +
                plural(check.partsOnSheet[static_cast<std::size_t>(sheet)], "part", "parts") +
                "): " + countsText(check, sheet) + '\n';
        for (const Finding& finding : check.findings) {
            if (finding.part.sheet == sheet) {
                text += findingLine(finding);
            }
        }
    }
    text += "whole file: " + countsText(check, -1) + '\n';
    if (!report.unseenSheets.files.empty()) {
        text += displayName(report.unseenSheets.note()) + '\n';
    }
    return text;
}

std::string checkAsJson(const CliOptions& options, const CheckReport& report) {
    const DrawingCheck& check = report.check;
    JsonWriter json;
    json.beginObject();
    json.key("file").value(displayName(options.file));
    json.key("dependenceName").value(options.job.dependenceNameMode);
    writeReadFailureFields(json, report.readError, report.failedLibrary);
    json.key("parts").value(totalParts(check));
    json.key("problems").value(check.problemCount());
    writeCounts(json, check, -1);
    json.key("unseenSheetFiles").beginArray();
    for (const std::string& file : report.unseenSheets.files) {
        json.value(displayName(platform::fileNameOf(file)));
    }
    json.endArray();
    json.key("sheets").beginArray();
    for (int sheet = 0; sheet < check.sheetCount; ++sheet) {
        json.beginObject();
        json.key("sheet").value(sheet + 1);
        json.key("parts").value(check.partsOnSheet[static_cast<std::size_t>(sheet)]);
        writeCounts(json, check, sheet);
        json.key("findings").beginArray();
        for (const Finding& finding : check.findings) {
            if (finding.part.sheet == sheet) {
                writeFinding(json, finding);
            }
        }
        json.endArray();
        json.endObject();
    }
    json.endArray();
    json.endObject();
    return json.text();
}

}  // namespace wemb::cli
