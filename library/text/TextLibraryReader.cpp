#include "library/text/TextLibraryReader.h"

#include <cerrno>

#include "library/text/LibraryNameIndex.h"
#include "library/text/TextAliasReader.h"
#include "library/text/TextComponentReader.h"
#include "library/text/TextPatternReader.h"
#include "library/text/TextSection.h"

namespace wemb {

namespace {

// A component, pin or pattern section at the wrong level is of no known kind there, and is
// passed over whole.
ReadResult<> readTopLevelSection(Library& library, const LibraryNameIndex& names,
                                 TextTokenizer& tokenizer, std::string_view token,
                                 ComponentScratch& component, BitmapScratch& bitmap) {
    if (token == "+COMP") {
        return readComponent(library, names, tokenizer, component);
    }
    if (token == "+PTN") {
        return readPattern(library, tokenizer, bitmap);
    }
    if (token == "+ALIAS") {
        return readAlias(library, names, tokenizer);
    }
    return skipSection(tokenizer, token);
}

ReadResult<> readFrom(Library& library, ByteStream& stream) {
    TextTokenizer tokenizer;
    tokenizer.attach(stream);
    ReadResult<> read = readText(library, tokenizer);
    // A read error mid-file would otherwise pass for the end of the input, which every section
    // but a bitmap takes as a normal end: a truncated library would load as if whole.
    if (stream.readFailed()) {
        return systemError(FileErrorKind::ReadFailed, stream.readError());
    }
    return read;
}

}  // namespace

ReadResult<> readText(Library& library, TextTokenizer& tokenizer) {
    std::string_view token;
    if (tokenizer.readField(token) < 0) {
        return errorAt(FileErrorKind::BadMagic, tokenizer.here(),
                       "expected " + quoted(kTextLibraryMagic) + " but found the end of the file");
    }
    if (token != kTextLibraryMagic) {
        return errorAt(FileErrorKind::BadMagic, tokenizer.position(),
                       "expected " + quoted(kTextLibraryMagic) + " but found " + quoted(token));
    }
    LibraryNameIndex names(library);
    // Kept from one section to the next, so that their room is reused.
    ComponentScratch component;
    BitmapScratch bitmap;
    while (tokenizer.readField(token) >= 0) {
        // Tokens that open no section are ignored here, end tokens included.
        if (isBeginToken(token)) {
            if (auto read =
                    readTopLevelSection(library, names, tokenizer, token, component, bitmap);
                !read) {
                return read;
            }
        }
        // Indexed while the new name is still in the cache.
        names.update();
    }
    return {};
}

ReadResult<> readTextLibrary(Library& library, const std::string& path) {
    const std::unique_ptr<ByteStream> stream = ByteStream::openFile(path);
    ReadResult<> read =
        stream ? readFrom(library, *stream) : systemError(FileErrorKind::CannotOpen, errno);
    if (!read) {
        FileError error = std::move(read).error();
        error.file = path;
        return error;
    }
    return read;
}

ReadResult<> readTextLibrary(Library& library, std::span<const std::uint8_t> bytes) {
    ByteStream stream(bytes);
    return readFrom(library, stream);
}

}  // namespace wemb
