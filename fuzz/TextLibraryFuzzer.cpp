// Feeds arbitrary bytes to the text library reader: it must neither crash, hang, read out of
// bounds nor allocate far beyond the input's size, and what it loads must hold together.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "library/Library.h"
#include "library/text/TextLibraryReader.h"

namespace {

// Every entry leads to a part of this library, every pin has one number slot per block, and
// every pattern a component points to belongs to the library.
void checkLoaded(const wemb::Library& library) {
    for (const wemb::LibraryEntry& entry : library.entries()) {
        bool owned = false;
        for (const auto& part : library.parts()) {
            owned = owned || part.get() == entry.part;
        }
        if (!owned) {
            std::abort();
        }
    }
    for (const auto& part : library.parts()) {
        for (const wemb::LibraryPin& pin : part->pins) {
            if (pin.numberCount() != part->blockCount) {
                std::abort();
            }
        }
        bool patternOwned = part->pattern == nullptr;
        for (const auto& pattern : library.patterns()) {
            patternOwned = patternOwned || pattern.get() == part->pattern;
        }
        if (!patternOwned || part->blockCount < 0 || part->blockCount > 256) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    wemb::Library library;
    if (wemb::readTextLibrary(library, std::span(data, size))) {
        checkLoaded(library);
    }
    return 0;
}
