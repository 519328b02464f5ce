// Writes the seeds of the job-level fuzz targets under the given fuzz/seeds directory:
//   wemb_write_fuzz_seeds fuzz/seeds
// Each target's folder is replaced as a whole, so seeds that are no longer made disappear.

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tests/reliability/FuzzSeeds.h"

namespace {

bool writeSeeds(const std::filesystem::path& folder,
                const std::vector<wemb::testing::FuzzSeed>& seeds) {
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    std::filesystem::create_directories(folder, error);
    for (const wemb::testing::FuzzSeed& seed : seeds) {
        std::ofstream out(folder / seed.name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(seed.bytes.data()),
                  static_cast<std::streamsize>(seed.bytes.size()));
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", (folder / seed.name).c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FUZZ_SEEDS_DIRECTORY\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root = argv[1];
    const bool written = writeSeeds(root / "datafile", wemb::testing::dataFileSeeds()) &&
                         writeSeeds(root / "ini", wemb::testing::iniSeeds()) &&
                         writeSeeds(root / "libraryset", wemb::testing::librarySetSeeds());
    return written ? 0 : 1;
}
