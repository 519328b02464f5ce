#include "library/text/TextLibraryReader.h"

#include "library/text/LibraryNameIndex.h"
#include "library/text/TextAliasReader.h"
#include "library/text/TextComponentReader.h"
#include "library/text/TextPatternReader.h"
#include "library/text/TextSection.h"

namespace wemb {

namespace {

// A component, pin or pattern section at the wrong level is of no known kind there, and is
// passed over whole.
bool readTopLevelSection(Library& library, const LibraryNameIndex& names, TextTokenizer& tokenizer,
                         std::string& token, ComponentScratch& component, BitmapScratch& bitmap) {
    if (token == "+COMP") {
        return readComponent(library, names, tokenizer, token, component);
    }
    if (token == "+PTN") {
        return readPattern(library, tokenizer, token, bitmap);
    }
    if (token == "+ALIAS") {
        return readAlias(library, names, tokenizer, token);
    }
    return skipSection(tokenizer, token);
}

bool readFrom(Library& library, ByteStream& stream) {
    TextTokenizer tokenizer;
    tokenizer.attach(stream);
    // A read error mid-file would otherwise pass for the end of the input, which every section
    // but a bitmap takes as a normal end: a truncated library would load as if whole.
    return readText(library, tokenizer) && !stream.readFailed();
}

}  // namespace

bool readText(Library& library, TextTokenizer& tokenizer) {
    std::string token;
    token.reserve(256);
    if (tokenizer.readToken(token) < 0 || token != kTextLibraryMagic) {
        return false;
    }
    LibraryNameIndex names(library);
    // Kept from one section to the next, so that their room is reused.
    ComponentScratch component;
    BitmapScratch bitmap;
    while (tokenizer.readToken(token) >= 0) {
        // Tokens that open no section are ignored here, end tokens included.
        if (isBeginToken(token) &&
            !readTopLevelSection(library, names, tokenizer, token, component, bitmap)) {
            return false;
        }
        // Indexed while the new name is still in the cache.
        names.update();
    }
    return true;
}

bool readTextLibrary(Library& library, const std::string& path) {
    const std::unique_ptr<ByteStream> stream = ByteStream::openFile(path);
    return stream != nullptr && readFrom(library, *stream);
}

bool readTextLibrary(Library& library, std::span<const std::uint8_t> bytes) {
    ByteStream stream(bytes);
    return readFrom(library, stream);
}

}  // namespace wemb
