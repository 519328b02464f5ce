// Feeds arbitrary bytes to the binary library reader as a whole file. Whatever it accepts must
// hold together: every entry either has no part or one the library owns, and every stored
// pixel and pin number can be read back.

#include <cstddef>
#include <cstdint>
#include <span>

#include "library/BinaryLibraryReader.h"

namespace {

void walk(const wemb::Library& library) {
    for (const wemb::LibraryEntry& entry : library.entries()) {
        if (entry.part == nullptr) {
            continue;
        }
        if (library.findEntry(entry.name) == nullptr || entry.getBlockCount() < 0) {
            __builtin_trap();
        }
        for (const wemb::LibraryPin& pin : entry.part->pins) {
            for (int block = 0; block < pin.numberCount(); ++block) {
                (void)pin.number(block);
            }
        }
        if (const wemb::PatternBitmap* bitmap = entry.part->bitmap.get()) {
            for (std::size_t row = 0; row < bitmap->storedRows(); ++row) {
                (void)bitmap->byteAt(row, bitmap->stride() - 1);
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    wemb::Library library;
    if (wemb::readBinaryLibraryBytes(library, std::span<const std::uint8_t>(data, size)) ==
        wemb::BinaryLibraryStatus::Loaded) {
        walk(library);
    }
    return 0;
}
