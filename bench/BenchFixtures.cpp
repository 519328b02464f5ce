#include "bench/BenchFixtures.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <utility>

#include "tools/gen/SyntheticLibraries.h"
#include "tools/gen/TextLibraryBuilder.h"

namespace wemb::bench {
namespace {

// Removes the scratch folder when the program ends.
class ScratchFolder {
  public:
    ScratchFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("wemb-bench-" + std::to_string(std::random_device{}()))) {
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

ScratchFolder& scratch() {
    static ScratchFolder folder;
    return folder;
}

void writeFile(const std::string& path, const void* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace

const std::vector<std::uint8_t>& drawingBytes(std::int64_t parts, gen::DrawingMix mix) {
    static std::map<std::pair<std::int64_t, gen::DrawingMix>, std::vector<std::uint8_t>> made;
    auto& bytes = made[{parts, mix}];
    if (bytes.empty()) {
        bytes = gen::makeSyntheticDrawing({static_cast<std::size_t>(parts), 1, mix});
    }
    return bytes;
}

Document parsedDrawing(std::int64_t parts, gen::DrawingMix mix) {
    return Document::parse(drawingBytes(parts, mix)).value();
}

const std::vector<std::string>& libraryPaths() {
    static const std::vector<std::string> paths = [] {
        std::vector<std::string> written;
        for (int library = 0; library < gen::kSyntheticLibraryCount; ++library) {
            written.push_back(scratch().file(gen::syntheticLibraryFileName(library)));
            const std::vector<std::uint8_t> bytes = gen::syntheticLibrary(library);
            writeFile(written.back(), bytes.data(), bytes.size());
        }
        return written;
    }();
    return paths;
}

const std::string& textLibraryPath(std::size_t bytes) {
    static std::map<std::size_t, std::string> made;
    auto& path = made[bytes];
    if (path.empty()) {
        path = scratch().file("TEXT" + std::to_string(bytes) + ".LB3");
        const std::string text = gen::makeLargeTextLibrary(bytes);
        writeFile(path, text.data(), text.size());
    }
    return path;
}

}  // namespace wemb::bench
