#include "library/LibraryLoader.h"

#include <algorithm>
#include <cerrno>

#include "library/BinaryLibraryReader.h"
#include "library/text/TextLibraryReader.h"
#include "platform/InputFile.h"

namespace wemb {
namespace {

std::string_view extensionOf(std::string_view path) {
    const std::size_t separator = path.find_last_of("/\\");
    const std::string_view fileName =
        separator == std::string_view::npos ? path : path.substr(separator + 1);
    const std::size_t dot = fileName.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : fileName.substr(dot);
}

char upperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

ReadResult<> loadBinaryLibrary(Library& library, const std::string& path,
                               std::span<std::uint8_t> workBuffer) {
    std::optional<platform::InputFile> file = platform::InputFile::open(path);
    if (!file) {
        return systemError(FileErrorKind::CannotOpen, errno);
    }
    const auto readSome = [&file](std::span<std::uint8_t> into) -> ReadResult<std::size_t> {
        const std::optional<std::size_t> got = file->read(into);
        if (!got) {
            return systemError(FileErrorKind::ReadFailed, errno);
        }
        return *got;
    };
    return readBinaryLibrary(library, readSome, workBuffer);
}

// A name ending in ".LB3" (any letter case) after its last "/" or "\\" is a text library.
bool isTextLibraryPath(std::string_view path) {
    constexpr std::string_view kTextExtension = ".LB3";
    const std::string_view extension = extensionOf(path);
    return std::equal(extension.begin(), extension.end(), kTextExtension.begin(),
                      kTextExtension.end(),
                      [](char a, char b) { return upperAscii(a) == upperAscii(b); });
}

}  // namespace

ReadResult<> loadLibrary(Library& library, const std::string& path,
                         std::span<std::uint8_t> workBuffer) {
    if (library.path()) {
        FileError error;
        error.kind = FileErrorKind::CannotOpen;
        error.file = path;
        error.detail = "the library holds " + quoted(*library.path()) + " already";
        return error;
    }
    ReadResult<> loaded = isTextLibraryPath(path) ? readTextLibrary(library, path)
                                                  : loadBinaryLibrary(library, path, workBuffer);
    if (!loaded) {
        FileError error = std::move(loaded).error();
        error.file = path;
        return error;
    }
    library.setPath(path);
    return loaded;
}

}  // namespace wemb
