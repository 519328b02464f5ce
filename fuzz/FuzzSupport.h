#pragma once
// What the fuzz targets share: stopping loudly when a property fails, a scratch directory on a
// memory-backed file system, and the tests' whole-file helpers. A target that finds a broken
// property must crash, so that libFuzzer keeps the input as a reproducer.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "library/Library.h"
#include "library/LibraryLoader.h"
#include "reading/ReadResult.h"
#include "tests/support/TempDirectory.h"

namespace wemb::fuzz {

using testing::readFile;
using testing::writeFile;

inline void require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}

// A refusal is told on one line of printable ASCII, whatever bytes the file held.
inline void checkReason(const FileError& error) {
    for (const char c : describe(error)) {
        require(c >= 0x20 && c <= 0x7E, "a reason is one line of printable ASCII");
    }
}

// A fresh directory for the whole fuzzing process, in /dev/shm when there is one so that the
// file system work of each input costs no disk traffic.
inline std::string makeScratchDirectory(const char* name) {
    const char* base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    std::string pattern = std::string(base) + "/" + name + "-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    return pattern;
}

// Removes everything inside `directory`, keeping the directory itself.
inline void emptyDirectory(const std::string& directory) {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(directory, ignored)) {
        std::filesystem::remove_all(entry.path(), ignored);
    }
}

inline std::string_view asText(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// What any loaded library must hold, whichever reader made it: every entry with a part finds an
// entry by its name and borrows a part the library owns, block counts stay in what the block
// byte holds, a text library's pins have a number slot per block, and every pin number and
// bitmap row can be read (the sanitizers watch the reads).
inline void checkLoadedLibrary(const Library& library) {
    const auto owns = [](const auto& owned, const auto* item) {
        for (const auto& held : owned) {
            if (held.get() == item) {
                return true;
            }
        }
        return item == nullptr;
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
            for (std::size_t row = 0; row < bitmap->storedRows(); ++row) {
                (void)bitmap->byteAt(row, bitmap->stride() - 1);
            }
        }
    }
}

}  // namespace wemb::fuzz
