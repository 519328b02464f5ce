#pragma once
// A three-sheet drawing in a directory of its own, the job run on it, and the promises every
// job keeps whatever fails: the original bytes stay under the data file's name or the backup
// name, nothing partial lies under any name the job writes, no temporary file is left, and a
// job that reports 105 left exactly the numbered sheets and the backup.

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/Job.h"
#include "tests/support/TempDirectory.h"

namespace wemb::platform {
class FileOps;
}

namespace wemb::testing {

// Three sheets with parts on each, so that a failure can strike before, in and after any sheet.
std::vector<std::uint8_t> threeSheetDrawing();

class JobScene {
  public:
    // Writes the drawing as amp.CE2 in a fresh directory (or in `directory` when given).
    explicit JobScene(std::optional<std::string> directory = std::nullopt);

    const std::string& directory() const { return directory_; }
    std::string dataPath() const { return file("amp.CE2"); }
    std::string backupPath() const { return file("amp.$E2"); }
    std::string file(const std::string& name) const { return directory_ + "/" + name; }
    const std::vector<std::uint8_t>& original() const { return original_; }
    // What each sheet file holds after a successful ReNum of the drawing.
    const std::vector<std::vector<std::uint8_t>>& numberedSheets() const { return numbered_; }

    JobReport run(platform::FileOps* fileOps = nullptr) const;

    // The names in the directory.
    std::set<std::string> names() const;
    // Empty when every promise holds, else what was broken. `allowStrays` names files that may be
    // left beside the job's own (a temporary whose removal was itself made to fail).
    std::string brokenPromises(const JobReport& report, bool allowStrays = false) const;

  private:
    std::optional<TempDirectory> owned_;
    std::string directory_;
    std::vector<std::uint8_t> original_;
    std::vector<std::vector<std::uint8_t>> numbered_;
};

// A file's bytes, or nullopt when there is no such file.
std::optional<std::vector<std::uint8_t>> bytesIfPresent(const std::string& path);

// wemb-cli run with `arguments`; its exit status, and its standard error.
struct CliResult {
    int exitStatus = -1;
    std::string standardError;
};
CliResult runCli(const std::vector<std::string>& arguments);

}  // namespace wemb::testing
