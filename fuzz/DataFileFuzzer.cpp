// Reads a data file and numbers it in each of the three modes, checking that nothing but the
// reference and block number fields of part records changes; then a real job on the file either
// refuses it untouched or leaves exactly the numbered sheets and the original as the backup.
//
// The numbering parameters come from bytes 22 to 25 of the first header record, which the
// reader never interprets: the initial number, the step, the dependence-name flag and the mode
// of the real job.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/Job.h"
#include "fuzz/FuzzSupport.h"
#include "numbering/Autonum.h"
#include "numbering/ReNum.h"
#include "schematic/Document.h"

namespace wemb::fuzz {
namespace {

struct Parameters {
    int initialNumber = 1;
    int step = 1;
    bool dependenceNameMode = false;
    NumberingMode jobMode = NumberingMode::AutonumLocked;
};

Parameters parametersOf(const std::vector<std::uint8_t>& bytes) {
    Parameters parameters;
    if (bytes.size() >= 26) {
        parameters.initialNumber = 1 + (bytes[22] | (bytes[23] << 8)) % 1000;
        parameters.step = 1 + bytes[24] % 20;
        parameters.dependenceNameMode = (bytes[25] & 1) != 0;
        parameters.jobMode = static_cast<NumberingMode>((bytes[25] >> 1) % 3);
    }
    return parameters;
}

// Block counts as the library readers can give them (0 to 256), chosen by the last byte of the
// library name so that the input decides which parts are multi-block.
class FuzzedLibraries final : public BlockCountLookup {
  public:
    std::optional<int> blockCount(std::string_view libraryName) const override {
        if (libraryName.empty()) {
            return std::nullopt;
        }
        static constexpr int kCounts[] = {-1, 1, 2, 4, 0, 255, 256, 3};
        const int count = kCounts[static_cast<unsigned char>(libraryName.back()) % 8];
        return count < 0 ? std::nullopt : std::optional<int>(count);
    }
};

void number(Document& document, NumberingMode mode, const Parameters& parameters,
            const BlockCountLookup& libraries) {
    if (mode == NumberingMode::ReNum) {
        reNum(document, parameters.initialNumber, parameters.step);
        return;
    }
    const AutonumSettings settings{parameters.initialNumber, parameters.step,
                                   mode == NumberingMode::AutonumLocked,
                                   parameters.dependenceNameMode};
    autonum(document, settings, libraries);
}

// Offsets that numbering may change: the reference field of every part record, and for Autonum
// its block number byte.
std::vector<bool> changeableBytes(const Document& document, NumberingMode mode) {
    std::vector<bool> changeable(document.bytes().size(), false);
    for (const PartEntry& part : document.parts()) {
        const std::size_t at = part.fileOffset();
        for (std::size_t i = 0; i < PartEntry::kReferenceSize; ++i) {
            changeable[at + PartEntry::kReferenceOffset + i] = true;
        }
        if (mode != NumberingMode::ReNum) {
            changeable[at + PartEntry::kBlockNumberOffset] = true;
        }
    }
    return changeable;
}

void checkOnlyNumberFieldsChanged(const std::vector<std::uint8_t>& original,
                                  const Document& document, NumberingMode mode) {
    const auto now = document.bytes();
    require(now.size() == original.size(), "numbering keeps the file's length");
    const std::vector<bool> changeable = changeableBytes(document, mode);
    for (std::size_t i = 0; i < now.size(); ++i) {
        require(changeable[i] || now[i] == original[i],
                "no byte outside reference and block number changes");
    }
    for (const PartEntry& part : document.parts()) {
        const std::uint8_t length = part.referenceField()[0];
        const std::uint8_t before = original[part.fileOffset() + PartEntry::kReferenceOffset];
        require(length == before || length < PartEntry::kReferenceSize,
                "a rewritten reference fits its field");
    }
}

std::optional<Document> numberedCopy(const std::vector<std::uint8_t>& original, NumberingMode mode,
                                     const Parameters& parameters,
                                     const BlockCountLookup& libraries) {
    ReadResult<Document> parsed = Document::parse(original);
    if (!parsed) {
        checkReason(parsed.error());
        return std::nullopt;
    }
    number(*parsed, mode, parameters, libraries);
    return std::move(parsed).value();
}

// The job on a real file: with no QUIL.INI anywhere it numbers without libraries.
void checkRealJob(const std::string& directory, const std::vector<std::uint8_t>& original,
                  const Parameters& parameters) {
    emptyDirectory(directory);
    const std::string dataPath = directory + "/amp.CE2";
    writeFile(dataPath, original);
    JobRequest request;
    request.fileName = dataPath;
    request.mode = parameters.jobMode;
    request.initialNumber = parameters.initialNumber;
    request.step = parameters.step;
    request.dependenceNameMode = parameters.dependenceNameMode;
    const JobReport report = runJob(request, JobEnvironment{nullptr, directory + "/none"});

    const std::optional<Document> expected =
        numberedCopy(original, parameters.jobMode, parameters, NoLibraries());
    if (!expected) {
        require(report.outcome == MessageId::ReadFailed, "a refused file ends with 102");
        require(readFile(dataPath) == original, "a refused file is left untouched");
        return;
    }
    require(report.outcome == MessageId::Finished, "a readable file is numbered and saved");
    require(readFile(directory + "/amp.$E2") == original, "the backup is the original");
    for (int sheet = 0; sheet < expected->sheetCount(); ++sheet) {
        const auto bytes = expected->sheet(sheet);
        require(readFile(Document::sheetFileName(dataPath, sheet)) ==
                    std::vector<std::uint8_t>(bytes.begin(), bytes.end()),
                "every sheet file holds its numbered sheet");
    }
}

}  // namespace
}  // namespace wemb::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wemb;
    using namespace wemb::fuzz;
    const std::vector<std::uint8_t> original(data, data + size);
    const Parameters parameters = parametersOf(original);
    const FuzzedLibraries libraries;
    for (const NumberingMode mode :
         {NumberingMode::AutonumLocked, NumberingMode::AutonumOriginal, NumberingMode::ReNum}) {
        const std::optional<Document> document =
            numberedCopy(original, mode, parameters, libraries);
        if (!document) {
            break;
        }
        checkOnlyNumberFieldsChanged(original, *document, mode);
    }
    static const std::string directory = makeScratchDirectory("wemb-datafile");
    checkRealJob(directory, original, parameters);
    return 0;
}
