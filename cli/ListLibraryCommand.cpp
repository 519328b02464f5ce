// wemb-cli --list-library LIBFILE: the entries of one library as the numbering sees them.

#include <iostream>
#include <vector>

#include "app/Messages.h"
#include "cli/Commands.h"
#include "cli/DisplayText.h"
#include "cli/FileErrorReport.h"
#include "cli/JsonWriter.h"
#include "cli/Terminal.h"
#include "library/BinaryLibraryReader.h"
#include "library/Library.h"
#include "library/LibraryLoader.h"
#include "platform/Cp932.h"

namespace wemb::cli {
namespace {

void printText(const Library& library) {
    platform::Cp932Decoder decoder;
    for (const LibraryEntry& entry : library.entries()) {
        if (entry.part != nullptr) {
            std::cout << forTerminal(decoder.toUtf8(entry.name)) << '\t' << entry.blockCount()
                      << '\n';
        }
    }
}

void textOrNull(JsonWriter& json, const std::optional<std::string_view>& text,
                platform::Cp932Decoder& decoder) {
    if (text) {
        json.value(decoder.toUtf8(*text));
    } else {
        json.null();
    }
}

// Each pin of a part: its name, and its number in each block ("+" or "-" before it, as the
// library marks it), null where the library gives none.
void writePins(JsonWriter& json, const LibraryPart& part, platform::Cp932Decoder& decoder) {
    json.key("pins").beginArray();
    for (const LibraryPin& pin : part.pins) {
        json.beginObject().key("name");
        textOrNull(json, pin.name(), decoder);
        json.key("numbers").beginArray();
        for (int block = 0; block < pin.numberCount(); ++block) {
            textOrNull(json, pin.number(block), decoder);
        }
        json.endArray().endObject();
    }
    json.endArray();
}

// The part's pattern bitmap: its size and the rows that hold a set pixel, each in hex up to its
// last non-zero byte; null for a part without one.
void writeBitmap(JsonWriter& json, const LibraryPart& part) {
    const PatternBitmap* bitmap =
        part.bitmap ? part.bitmap.get() : (part.pattern ? part.pattern->bitmap.get() : nullptr);
    json.key("bitmap");
    if (bitmap == nullptr) {
        json.null();
        return;
    }
    json.beginObject().key("width").value(int{bitmap->width()});
    json.key("height").value(int{bitmap->height()});
    json.key("rows").beginArray();
    for (std::size_t position = 0; position < bitmap->storedRows(); ++position) {
        const PatternBitmap::KeptRow kept = bitmap->keptRow(position);
        std::string hex;
        for (const std::uint8_t byte : kept.bytes) {
            hex += {"0123456789ABCDEF"[byte >> 4], "0123456789ABCDEF"[byte & 15]};
        }
        json.beginObject().key("row").value(static_cast<std::int64_t>(kept.row));
        json.key("bytes").value(hex).endObject();
    }
    json.endArray().endObject();
}

void printJson(const Library& library, const std::string& path,
               const std::optional<FileError>& error) {
    platform::Cp932Decoder decoder;
    JsonWriter json;
    json.beginObject().key("library").value(displayName(path));
    writeErrorField(json, error);
    json.key("entries").beginArray();
    for (const LibraryEntry& entry : library.entries()) {
        if (entry.part == nullptr) {
            continue;
        }
        const LibraryPart& part = *entry.part;
        json.beginObject();
        json.key("name").value(decoder.toUtf8(entry.name));
        json.key("prefix").value(decoder.toUtf8(part.prefix.value_or("")));
        json.key("width").value(part.width);
        json.key("height").value(part.height);
        json.key("blockCount").value(part.blockCount);
        json.key("pinCount").value(part.pinCount());
        writePins(json, part, decoder);
        writeBitmap(json, part);
        json.endObject();
    }
    json.endArray().endObject();
    std::cout << json.text() << '\n';
}

}  // namespace

int runListLibraryCommand(const CliOptions& options) {
    Library library;
    std::vector<std::uint8_t> workBuffer(kBinaryBodyCapacity);
    ReadResult<> loaded = loadLibrary(library, options.file, workBuffer);
    if (!loaded) {
        printReadFailure(options.file, loaded.error());
        if (options.json) {
            printJson(library, options.file, loaded.error());
        }
        return kExitReadFailed;
    }
    if (options.json) {
        printJson(library, options.file, std::nullopt);
    } else {
        printText(library);
    }
    return kExitFinished;
}

}  // namespace wemb::cli
