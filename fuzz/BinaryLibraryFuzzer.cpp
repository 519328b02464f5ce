// Feeds arbitrary bytes to the binary library reader as a whole file. Whatever it accepts must
// hold together.

#include "fuzz/FuzzSupport.h"
#include "library/BinaryLibraryReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    wemb::Library library;
    const wemb::ReadResult<> read = wemb::readBinaryLibraryBytes(library, {data, size});
    wemb::fuzz::checkRefusal(read);
    if (read) {
        wemb::fuzz::checkLoadedLibrary(library);
    }
    return 0;
}
