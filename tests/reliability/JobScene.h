#pragma once
// A three-sheet drawing in a directory of its own, the job run on it, and the promises every
// job keeps whatever fails: the original bytes stay under the data file's name or the backup
// name, nothing partial lies under any name the job writes, no temporary file is left, and a
// job that reports 105 left exactly the numbered sheets and the backup.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/Job.h"
#include "tests/support/TempDirectory.h"

namespace wemb::testing {

class JobScene {
  public:
    // Writes the drawing as amp.CE2 in a fresh directory.
    JobScene();

    const TempDirectory& directory() const { return dir_; }
    std::string dataPath() const { return dir_.file("amp.CE2"); }
    std::string backupPath() const { return dir_.file("amp.$E2"); }
    const std::vector<std::uint8_t>& original() const { return original_; }
    // What each sheet file holds after a successful ReNum of the drawing.
    const std::vector<std::vector<std::uint8_t>>& numberedSheets() const { return numbered_; }

    JobReport run(platform::FileOps* fileOps = nullptr) const { return runOn(dataPath(), fileOps); }
    static JobReport runOn(const std::string& path, platform::FileOps* fileOps = nullptr);

    // Empty when every promise holds, else what was broken. `allowStrays` lets files lie beside
    // the job's own (a temporary whose removal was itself made to fail).
    std::string brokenPromises(const JobReport& report, bool allowStrays = false) const;

  private:
    TempDirectory dir_;
    std::vector<std::uint8_t> original_;
    std::vector<std::vector<std::uint8_t>> numbered_;
};

// A file's bytes, or nullopt when there is no such file.
std::optional<std::vector<std::uint8_t>> bytesIfPresent(const std::string& path);

// wemb-cli run with `arguments`: its exit status and its standard error.
struct CliResult {
    int exitStatus = -1;
    std::string standardError;
};
CliResult runCli(const std::vector<std::string>& arguments);

}  // namespace wemb::testing
