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

JobRequest requestFor(const std::vector<std::uint8_t>& bytes) {
    JobRequest request;
    if (bytes.size() >= 26) {
        request.initialNumber = 1 + (bytes[22] | (bytes[23] << 8)) % 1000;
        request.step = 1 + bytes[24] % 20;
        request.dependenceNameMode = (bytes[25] & 1) != 0;
        request.mode = static_cast<NumberingMode>((bytes[25] >> 1) % 3);
    }
    return request;
}

// Block counts as the library readers can give them (0 to 256), chosen by the last byte of the
// library name so that the input decides which parts are multi-block.
class FuzzedLibraries final : public BlockCountLookup {
  public:
    std::optional<int> blockCount(std::string_view libraryName) const override {
        static constexpr int kCounts[] = {-1, 1, 2, 4, 0, 255, 256, 3};
        const int count =
            libraryName.empty() ? -1 : kCounts[static_cast<unsigned char>(libraryName.back()) % 8];
        return count < 0 ? std::nullopt : std::optional<int>(count);
    }
};

std::optional<Document> numberedCopy(const std::vector<std::uint8_t>& original, NumberingMode mode,
                                     const JobRequest& request, const BlockCountLookup& libraries) {
    ReadResult<Document> parsed = Document::parse(original);
    if (!parsed) {
        checkReason(parsed.error());
        return std::nullopt;
    }
    if (mode == NumberingMode::ReNum) {
        reNum(*parsed, request.initialNumber, request.step);
    } else {
        autonum(*parsed,
                {request.initialNumber, request.step, mode == NumberingMode::AutonumLocked,
                 request.dependenceNameMode},
                libraries);
    }
    return std::move(parsed).value();
}

// With the reference fields (and, for Autonum, the block numbers) of every part put back as
// they were, the numbered file is the original again.
void checkOnlyNumberFieldsChanged(const std::vector<std::uint8_t>& original,
                                  const Document& document, NumberingMode mode) {
    const auto last = document.sheet(document.sheetCount() - 1);  // sheets lie end to end
    std::vector<std::uint8_t> restored(document.sheet(0).data(), last.data() + last.size());
    require(restored.size() == original.size(), "numbering keeps the file's length");
    for (const PartEntry& part : document.parts()) {
        const std::size_t reference = document.offsetOf(part) + PartEntry::kReferenceOffset;
        require(part.referenceField()[0] == original[reference] ||
                    part.referenceField()[0] < PartEntry::kReferenceSize,
                "a rewritten reference fits its field");
        std::copy_n(original.begin() + reference, PartEntry::kReferenceSize,
                    restored.begin() + reference);
        if (mode != NumberingMode::ReNum) {
            const std::size_t block = document.offsetOf(part) + PartEntry::kBlockNumberOffset;
            restored[block] = original[block];
        }
    }
    require(restored == original, "no byte outside reference and block number changes");
}

// The job on a real file: with no QUIL.INI anywhere it numbers without libraries.
void checkRealJob(const std::vector<std::uint8_t>& original, JobRequest request) {
    const std::string directory = emptyScratchDirectory();
    request.fileName = directory + "/amp.CE2";
    writeFile(request.fileName, original);
    const JobReport report = runJob(request, JobEnvironment{nullptr, directory + "/none"});
    const std::optional<Document> expected =
        numberedCopy(original, request.mode, request, NoLibraries());
    if (!expected) {
        require(report.outcome == MessageId::ReadFailed, "a refused file ends with 102");
        require(readFile(request.fileName) == original, "a refused file is left untouched");
        return;
    }
    require(report.outcome == MessageId::Finished, "a readable file is numbered and saved");
    require(readFile(directory + "/amp.$E2") == original, "the backup is the original");
    for (int sheet = 0; sheet < expected->sheetCount(); ++sheet) {
        const auto bytes = expected->sheet(sheet);
        require(readFile(Document::sheetFileName(request.fileName, sheet)) ==
                    std::vector<std::uint8_t>(bytes.begin(), bytes.end()),
                "every sheet file holds its numbered sheet");
    }
}

}  // namespace
}  // namespace wemb::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wemb;
    const std::vector<std::uint8_t> original(data, data + size);
    const JobRequest request = fuzz::requestFor(original);
    for (const NumberingMode mode :
         {NumberingMode::AutonumLocked, NumberingMode::AutonumOriginal, NumberingMode::ReNum}) {
        const std::optional<Document> document =
            fuzz::numberedCopy(original, mode, request, fuzz::FuzzedLibraries());
        if (!document) {
            break;
        }
        fuzz::checkOnlyNumberFieldsChanged(original, *document, mode);
    }
    fuzz::checkRealJob(original, request);
    return 0;
}
