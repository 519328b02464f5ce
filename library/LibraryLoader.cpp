#include "library/LibraryLoader.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <vector>

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

// Reads `into` as far as the file goes: the count that arrived, or why the read failed.
ReadResult<std::size_t> readSome(platform::InputFile& file, std::span<std::uint8_t> into) {
    const std::optional<std::size_t> got = file.read(into);
    if (!got) {
        return systemError(FileErrorKind::ReadFailed, errno);
    }
    return *got;
}

// The head is read first, so that a file without the signature is refused before its body is
// read; the body then comes in one read into the work buffer. A byte beyond the buffer means the
// file is longer than any binary library can be.
ReadResult<> loadBinaryLibrary(Library& library, const std::string& path,
                               std::span<std::uint8_t> workBuffer) {
    std::optional<platform::InputFile> opened = platform::InputFile::open(path);
    if (!opened) {
        return systemError(FileErrorKind::CannotOpen, errno);
    }
    platform::InputFile& file = *opened;
    std::array<std::uint8_t, kBinaryHeadSize> head{};
    const std::span<std::uint8_t> headBytes(head);
    const ReadResult<std::size_t> signatureBytes =
        readSome(file, headBytes.first(kBinarySignatureReadSize));
    if (!signatureBytes) {
        return signatureBytes.error();
    }
    if (*signatureBytes < kBinarySignatureReadSize) {
        return binaryLibraryTooShort(*signatureBytes);
    }
    if (!checkBinarySignature(head)) {
        return binarySignatureMismatch(head);
    }
    const ReadResult<std::size_t> restOfHead =
        readSome(file, headBytes.subspan(kBinarySignatureReadSize));
    if (!restOfHead) {
        return restOfHead.error();
    }
    if (*restOfHead < kBinaryHeadSize - kBinarySignatureReadSize) {
        return binaryLibraryTooShort(kBinarySignatureReadSize + *restOfHead);
    }
    std::vector<std::uint8_t> ownBuffer;
    if (workBuffer.size() < kBinaryBodyCapacity) {
        ownBuffer.resize(kBinaryBodyCapacity);
        workBuffer = ownBuffer;
    }
    const ReadResult<std::size_t> bodySize = readSome(file, workBuffer.first(kBinaryBodyCapacity));
    std::uint8_t beyond = 0;
    const ReadResult<std::size_t> more = readSome(file, std::span(&beyond, 1));
    if (!bodySize || !more) {
        return !bodySize ? bodySize.error() : more.error();
    }
    if (*more != 0) {
        return binaryLibraryTooLong();
    }
    return readBinaryLibrary(library, head, workBuffer.first(*bodySize));
}

}  // namespace

bool isTextLibraryPath(std::string_view path) {
    constexpr std::string_view kTextExtension = ".LB3";
    const std::string_view extension = extensionOf(path);
    return std::equal(extension.begin(), extension.end(), kTextExtension.begin(),
                      kTextExtension.end(),
                      [](char a, char b) { return upperAscii(a) == upperAscii(b); });
}

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
