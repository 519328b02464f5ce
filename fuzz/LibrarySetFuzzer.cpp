// Loads the whole library set the way a job does: QUIL.INI beside the data file, then every
// library it lists, binary or text, from a scratch directory; any bytes of a library file reach
// its reader, so this is also the fuzz target of the two library readers. A load either fails
// naming one listed library and leaves the set empty, or holds at most 16 libraries that each
// hold together; a name then finds exactly the entry that a plain scan in slot order and then
// entry order finds first.
//
// The input is QUIL.INI followed by the library files, each file after the separator line
// "=====", its first line being its name. The process works inside the scratch directory, so
// the relative paths in QUIL.INI name those files.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/EditorSettings.h"
#include "fuzz/FuzzSupport.h"
#include "library/BinaryLibraryReader.h"
#include "library/LibraryLoader.h"
#include "library/LibrarySet.h"

namespace wemb::fuzz {
namespace {

// Writes QUIL.INI and each library file under its own name when that is a plain file name, so
// that no input writes outside the scratch directory, else under a made-up one.
void writeInputFiles(std::string_view input) {
    constexpr std::string_view kSeparator = "\n=====\n";
    constexpr std::string_view kPlain =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789._-";
    for (std::size_t index = 0;; ++index) {
        const std::size_t end = input.find(kSeparator);
        std::string_view file = input.substr(0, end);
        const std::string_view name = index == 0 ? "QUIL.INI" : file.substr(0, file.find('\n'));
        file.remove_prefix(index == 0 ? 0 : std::min(file.size(), name.size() + 1));
        const bool plain =
            index == 0 || (name.size() <= 40 && name != "QUIL.INI" &&
                           name.find_first_not_of(kPlain) == std::string_view::npos &&
                           name.find_first_not_of('.') != std::string_view::npos);
        writeFile(plain ? std::string(name) : "file" + std::to_string(index), std::string(file));
        if (end == std::string_view::npos) {
            return;
        }
        input.remove_prefix(end + kSeparator.size());
    }
}

// Every entry with a part borrows a part its library owns, block counts stay in what the block
// byte holds, every pin has a number slot per block, and every pin number and
// bitmap row can be read (the sanitizers watch the reads).
void checkLoadedLibrary(const Library& library) {
    const auto owns = [](const auto& owned, const auto* item) {
        return item == nullptr || std::any_of(owned.begin(), owned.end(),
                                              [&](const auto& held) { return held.get() == item; });
    };
    for (const LibraryEntry& entry : library.entries()) {
        require(owns(library.parts(), entry.part), "an entry borrows a part of its library");
    }
    for (const auto& part : library.parts()) {
        require(part->blockCount >= 0 && part->blockCount <= 256, "a block count fits");
        require(owns(library.patterns(), part->pattern), "a pattern belongs to the library");
        for (const LibraryPin& pin : part->pins) {
            require(pin.numberCount() == part->blockCount, "a pin has a number slot per block");
            for (int block = 0; block < pin.numberCount(); ++block) {
                (void)pin.number(block);
            }
        }
        if (const PatternBitmap* bitmap = part->bitmap.get()) {
            const std::size_t stride = (std::size_t{bitmap->width()} + 15) / 16 * 2;
            for (std::size_t position = 0; position < bitmap->storedRows(); ++position) {
                const PatternBitmap::KeptRow kept = bitmap->keptRow(position);
                require(kept.row < bitmap->height() && !kept.bytes.empty() &&
                            kept.bytes.size() <= stride && kept.bytes.back() != 0,
                        "a kept row lies inside the bitmap and ends with a set pixel");
                require(position == 0 || bitmap->keptRow(position - 1).row < kept.row,
                        "kept rows come in row order");
            }
        }
    }
}

void checkLoadedSet(const std::vector<std::string>& listed, const LibrarySetLoad& load) {
    if (load.failedLibrary) {
        require(load.set.libraryCount() == 0, "a failed load leaves the set empty");
        require(std::find(listed.begin(), listed.end(), load.failedLibrary->file) != listed.end(),
                "the failed library is one that QUIL.INI lists");
        checkReason(*load.failedLibrary);
        return;
    }
    require(load.set.libraryCount() == static_cast<int>(listed.size()),
            "every listed library is loaded");
    std::vector<std::uint8_t> workBuffer(kBinaryBodyCapacity);
    std::set<std::string, std::less<>> taken;  // names an earlier entry with a part holds
    for (const std::string& path : listed) {
        Library library;  // loaded again on its own, to walk its entries in order
        require(loadLibrary(library, path, workBuffer) && library.path() == path,
                "each slot holds the library of its key");
        checkLoadedLibrary(library);
        for (const LibraryEntry& entry : library.entries()) {
            if (entry.part && taken.emplace(entry.name).second) {
                const LibraryEntry* found = load.set.findLibraryEntry(entry.name);
                require(
                    found && found->name == entry.name && found->blockCount() == entry.blockCount(),
                    "a name finds the first entry in slot order, then entry order");
            }
        }
    }
}

}  // namespace
}  // namespace wemb::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    using wemb::fuzz::require;
    require(chdir(wemb::fuzz::emptyScratchDirectory().c_str()) == 0, "the scratch can be entered");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wemb;
    using namespace wemb::fuzz;
    emptyScratchDirectory();
    writeInputFiles(asText({data, size}));
    const std::string settings = locateEditorSettings("amp.CE2", "/nonexistent");
    require(settings == "QUIL.INI", "the settings beside the data file are used");
    const ReadResult<std::vector<std::string>> listed = listedLibraries(settings);
    require(listed.has_value(), "a settings file written whole is read");
    require(listed->size() <= static_cast<std::size_t>(kMaxLibraries), "at most 16 keys are read");
    checkLoadedSet(*listed, LibrarySet::load(*listed));
    return 0;
}
