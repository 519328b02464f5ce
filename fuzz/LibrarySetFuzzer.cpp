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

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/EditorSettings.h"
#include "fuzz/FuzzSupport.h"
#include "library/LibrarySet.h"

namespace wemb::fuzz {
namespace {

constexpr std::string_view kSeparator = "\n=====\n";

std::vector<std::string_view> splitFiles(std::string_view input) {
    std::vector<std::string_view> files;
    for (;;) {
        const std::size_t at = input.find(kSeparator);
        files.push_back(input.substr(0, at));
        if (at == std::string_view::npos) {
            return files;
        }
        input.remove_prefix(at + kSeparator.size());
    }
}

// A plain file name, so that no input writes outside the scratch directory.
std::string safeName(std::string_view name, std::size_t index) {
    const bool plain = !name.empty() && name.size() <= 40 && name != "." && name != ".." &&
                       name != "QUIL.INI" && std::all_of(name.begin(), name.end(), [](char c) {
                           return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                                  (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
                       });
    return plain ? std::string(name) : "file" + std::to_string(index);
}

void writeInputFiles(const std::vector<std::string_view>& files) {
    writeFile("QUIL.INI", std::string(files[0]));
    for (std::size_t i = 1; i < files.size(); ++i) {
        const std::size_t newline = files[i].find('\n');
        const std::string_view name = files[i].substr(0, newline);
        const std::string_view content =
            newline == std::string_view::npos ? std::string_view() : files[i].substr(newline + 1);
        writeFile(safeName(name, i), std::string(content));
    }
}

const LibraryEntry* firstByScan(const LibrarySet& set, std::string_view name) {
    for (int slot = 0; slot < set.libraryCount(); ++slot) {
        const Library& library = *set.library(slot);
        for (int index = 0; index < library.entryCount(); ++index) {
            const LibraryEntry* entry = library.getEntry(index);
            if (entry->part && entry->name == name) {
                return entry;
            }
        }
    }
    return nullptr;
}

void checkLoadedSet(const std::vector<std::string>& listed, const LibrarySetLoad& load) {
    if (load.failedLibrary) {
        require(load.set.empty(), "a failed load leaves the set empty");
        require(std::find(listed.begin(), listed.end(), load.failedLibrary->file) != listed.end(),
                "the failed library is one that QUIL.INI lists");
        checkReason(*load.failedLibrary);
        return;
    }
    require(load.set.libraryCount() == static_cast<int>(listed.size()),
            "every listed library is loaded");
    require(load.set.libraryCount() <= kMaxLibraries, "at most 16 libraries");
    for (int slot = 0; slot < load.set.libraryCount(); ++slot) {
        const Library& library = *load.set.library(slot);
        require(library.path() == listed[static_cast<std::size_t>(slot)],
                "each slot holds the library of its key");
        checkLoadedLibrary(library);
        for (const LibraryEntry& entry : library.entries()) {
            require(load.set.findLibraryEntry(entry.name) == firstByScan(load.set, entry.name),
                    "a name finds the first entry in slot order, then entry order");
        }
    }
}

}  // namespace
}  // namespace wemb::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static const std::string directory = wemb::fuzz::makeScratchDirectory("wemb-libraryset");
    wemb::fuzz::require(chdir(directory.c_str()) == 0, "the scratch directory can be entered");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wemb;
    using namespace wemb::fuzz;
    emptyDirectory(".");
    writeInputFiles(splitFiles(std::string_view(reinterpret_cast<const char*>(data), size)));
    const std::string settings = locateEditorSettings("amp.CE2", "/nonexistent");
    require(settings == "QUIL.INI", "the settings beside the data file are used");
    const ReadResult<std::vector<std::string>> read = listedLibraries(settings);
    require(read.has_value(), "a settings file written whole is read");
    const std::vector<std::string>& listed = *read;
    require(listed.size() <= static_cast<std::size_t>(kMaxLibraries), "at most 16 keys are read");
    checkLoadedSet(listed, LibrarySet::load(listed));
    return 0;
}
