#pragma once
// The check of a drawing: what would surprise the user about its references before (or instead
// of) a numbering — numbers used twice, parts without a number, block numbers that the part's
// package does not have, packages whose blocks disagree, references that a renumbering could cut,
// and the parts the numbering never looks at. It reads the data file the way a job does and
// changes nothing.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/Job.h"
#include "app/UnseenSheets.h"
#include "numbering/BlockCountLookup.h"
#include "numbering/PassReason.h"
#include "schematic/Document.h"

namespace wemb {

enum class FindingKind {
    // Parts carrying the same prefix and number that are not the blocks of one package.
    DuplicateReference,
    // The reference has no trailing digits, or is empty.
    MissingNumber,
    // The block number is at or above the block count the library gives for the part.
    BlockOutOfRange,
    // Parts sharing one reference with distinct blocks, as one package would, but under
    // different part names.
    PackageNameMismatch,
    // The reference fills its 7-character field: a longer number would be cut.
    ReferenceAtLimit,
    // The numbering leaves the part alone (see PassReason). Told, but not a fault.
    PassedOver,
};

// A part as a finding names it; texts are CP932 bytes as the file holds them.
struct CheckedPart {
    std::size_t index = 0;  // in file order
    int sheet = 0;          // 0-based
    std::int32_t x = 0;     // the record's own position, without the sheet offset
    std::int32_t y = 0;
    std::string partName;
    std::string libraryName;
    std::string reference;
    int block = 0;
};

struct Finding {
    FindingKind kind = FindingKind::DuplicateReference;
    CheckedPart part;
    PassReason reason = PassReason::None;  // PassedOver only
    int blockCount = 0;                    // BlockOutOfRange: the library's count
    int sharedBy = 0;  // DuplicateReference, PackageNameMismatch: parts with this prefix and number
};

bool isProblem(FindingKind kind);

struct DrawingCheck {
    int sheetCount = 0;
    std::vector<int> partsOnSheet;  // one count per sheet
    // By sheet, then kind (in the order of FindingKind), then file order.
    std::vector<Finding> findings;

    int count(FindingKind kind) const;
    int countOnSheet(int sheet, FindingKind kind) const;
    // Findings other than parts passed over: what makes a check fail.
    int problemCount() const;
};

struct CheckSettings {
    bool dependenceNameMode = false;  // parts without a part name are passed over
};

// Checks the document as it stands. `libraries` gives block counts; a part it does not know is
// not checked against one.
DrawingCheck checkDrawing(const Document& document, const BlockCountLookup& libraries,
                          const CheckSettings& settings);

struct CheckRequest {
    std::string fileName;
    CheckSettings settings;
};

struct CheckReport {
    // Finished, or ReadFailed when the data file could not be read (then `check` is empty).
    MessageId outcome = MessageId::Finished;
    std::string messageFile;
    // Why the data file could not be read, beside a ReadFailed outcome.
    std::optional<FileError> readError;
    // Why a library failed to load, its file the path as listed; the check went on with no
    // libraries.
    std::optional<FileError> failedLibrary;
    DrawingCheck check;
    // Sheet files beside the data file that it does not hold; they make the check fail too.
    UnseenSheets unseenSheets;
};

// Reads the data file through the same lock as a job and the libraries a job would load, and
// checks the drawing. No file is written.
CheckReport runCheck(const CheckRequest& request, const JobEnvironment& environment);

}  // namespace wemb
