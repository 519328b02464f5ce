#include "library/LibraryLoader.h"

#include <algorithm>
#include <array>
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

// Reads up to `into.size()` bytes; the count that arrived, 0 when the read failed.
std::size_t readSome(platform::InputFile& file, std::span<std::uint8_t> into) {
    return file.read(into).value_or(0);
}

// The head is read first, so that a file without the signature is refused before its body is
// read; the body then comes in one read into the work buffer. A byte beyond the buffer means the
// file is longer than any binary library can be.
bool loadBinaryLibrary(Library& library, const std::string& path,
                       std::span<std::uint8_t> workBuffer) {
    std::optional<platform::InputFile> opened = platform::InputFile::open(path);
    if (!opened) {
        return false;
    }
    platform::InputFile& file = *opened;
    std::array<std::uint8_t, kBinaryHeadSize> head{};
    const std::span<std::uint8_t> headBytes(head);
    if (readSome(file, headBytes.first(kBinarySignatureReadSize)) < kBinarySignatureReadSize ||
        !checkBinarySignature(head)) {
        return false;
    }
    if (readSome(file, headBytes.subspan(kBinarySignatureReadSize)) <
        kBinaryHeadSize - kBinarySignatureReadSize) {
        return false;
    }
    std::vector<std::uint8_t> ownBuffer;
    if (workBuffer.size() < kBinaryBodyCapacity) {
        ownBuffer.resize(kBinaryBodyCapacity);
        workBuffer = ownBuffer;
    }
    const std::optional<std::size_t> bodySize = file.read(workBuffer.first(kBinaryBodyCapacity));
    std::uint8_t beyond = 0;
    if (!bodySize || file.read(std::span(&beyond, 1)) != std::optional<std::size_t>(0)) {
        return false;
    }
    return readBinaryLibrary(library, head, workBuffer.first(*bodySize)) ==
           BinaryLibraryStatus::Loaded;
}

}  // namespace

bool isTextLibraryPath(std::string_view path) {
    constexpr std::string_view kTextExtension = ".LB3";
    const std::string_view extension = extensionOf(path);
    return std::equal(extension.begin(), extension.end(), kTextExtension.begin(),
                      kTextExtension.end(),
                      [](char a, char b) { return upperAscii(a) == upperAscii(b); });
}

bool loadLibrary(Library& library, const std::string& path, std::span<std::uint8_t> workBuffer) {
    if (library.path()) {
        return false;
    }
    const bool loaded = isTextLibraryPath(path) ? readTextLibrary(library, path)
                                                : loadBinaryLibrary(library, path, workBuffer);
    if (loaded) {
        library.setPath(path);
    }
    return loaded;
}

}  // namespace wemb
