// Feeds arbitrary bytes to the text library reader: it must neither crash, hang, read out of
// bounds nor allocate far beyond the input's size, and what it loads must hold together, with
// one number slot per block on every pin.

#include "fuzz/FuzzSupport.h"
#include "library/text/TextLibraryReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    wemb::Library library;
    const wemb::ReadResult<> read = wemb::readTextLibrary(library, std::span(data, size));
    wemb::fuzz::checkRefusal(read);
    if (read) {
        wemb::fuzz::checkLoadedLibrary(library);
        for (const auto& part : library.parts()) {
            for (const wemb::LibraryPin& pin : part->pins) {
                wemb::fuzz::require(pin.numberCount() == part->blockCount, "a slot per block");
            }
        }
    }
    return 0;
}
