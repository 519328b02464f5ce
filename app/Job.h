#pragma once
// One numbering job, from its checks to its last message, shared by the command line and the
// dialog: check the numbers, read the data file, number it, keep the untouched file as the
// backup and save the result, one file per sheet. The job reports; the front ends talk.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/JobEvents.h"
#include "app/Messages.h"
#include "app/UnseenSheets.h"

namespace wemb {

namespace platform {
class FileOps;
}

enum class NumberingMode {
    AutonumLocked,    // Autonum-LockedMode
    AutonumOriginal,  // Autonum-Original
    ReNum,
};

struct JobRequest {
    std::string fileName;  // used as given, relative or full
    NumberingMode mode = NumberingMode::AutonumLocked;
    int initialNumber = 1;  // valid 1 to 1000
    int step = 1;           // valid 1 to 20
    bool dependenceNameMode = false;
    bool dryRun = false;  // number in memory and report, touch no file
    // Note what changed (JobReport::changes) in a real job too; a dry run always does. Off by
    // default, since a copy of every reference costs memory a large drawing cannot spare.
    bool reportChanges = false;
};

// One part as a report shows it: its place and names, and its reference and block number before
// and after the numbering (the same when it changed nothing).
struct PartRow {
    int sheet = 0;       // 0-based
    std::int32_t x = 0;  // as in the file, without the sheet offset
    std::int32_t y = 0;
    std::string partName;  // CP932 bytes
    std::string libraryName;
    std::string oldReference;
    std::string newReference;
    int oldBlock = 0;
    int newBlock = 0;
};

struct JobReport {
    // The message that ends the job; none when the file field was empty.
    std::optional<MessageId> outcome;
    // The file a 102 or 106 names.
    std::string messageFile;
    // Why the data file could not be read, beside a 102 that names it.
    std::optional<FileError> readError;
    // Why a library failed to load, its file the path as listed (reported once; the job went on
    // with no libraries).
    std::optional<FileError> failedLibrary;
    // Sheet files beside the data file whose numbers the job did not see.
    UnseenSheets unseenSheets;
    // What the numbering changed, in file order.
    std::vector<PartRow> changes;
    // Dry runs only: every part, changed or not, in file order (for the picture of the order).
    std::vector<PartRow> parts;
};

struct JobEnvironment {
    platform::FileOps* fileOps = nullptr;  // null: the real file system
    std::string programDirectory;          // where QUIL.INI is looked for second
    JobEvents* events = nullptr;           // null: nobody listens while the job runs
};

JobReport runJob(const JobRequest& request, const JobEnvironment& environment);

// The backup of a data file: the first character of its extension becomes "$" (amp.CE2 ->
// amp.$E2); a name with no extension, or a bare dot, gets ".$".
std::string backupName(const std::string& fileName);

// A number typed into a field: a whole decimal number (blanks around it allowed), else 0.
int parseNumberField(const std::string& text);

}  // namespace wemb
