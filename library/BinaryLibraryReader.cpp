#include "library/BinaryLibraryReader.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "library/ByteCursor.h"

namespace wemb {
namespace {

// The pin attribute word of the file as LibraryPin::attributes: bits 0-7 stay, bits 8-9 become
// the side in bits 16-17, bits 12, 14 and 15 become the type flags in bits 28, 30 and 31.
std::uint32_t decodePinAttributes(std::uint16_t word);
// The bitmap whose header starts at the first byte of `at`: nothing when its header or rows
// reach past the data, a null bitmap when its width or height is 0.
std::optional<std::unique_ptr<PatternBitmap>> copyBitmap(const ByteCursor& at);

constexpr std::array<std::uint8_t, 14> kSignature = {'L', 'I', 'B', ' ', 'F', 'O', 'R',
                                                     ' ', 'R', 'I', '0', '0', '0', 0x1A};
constexpr std::uint16_t kNone = 0xFFFF;
constexpr std::size_t kEntryCountOffset = 16;
constexpr std::size_t kFirstPositionOffset = 18;
constexpr std::size_t kMinimumBodySize = 4;
constexpr std::size_t kComponentHeadSize = 12;
constexpr std::size_t kPatternRecordSize = 6;
constexpr int kMaxPinNameLength = 63;
// What a bitmap spends on each row it keeps, beside the row's bytes.
constexpr std::size_t kBytesPerKeptRow = 8;
// Records may share bytes, so a small file could name the same pins and bitmaps thousands of
// times over; what the parts hold in memory is kept to this many times the file's size.
constexpr std::size_t kMaxDecodedBytesPerFileByte = 128;

// A pin number as text, made without an allocation: a letter and at most three digits.
struct PinNumberText {
    std::array<char, 4> characters{};
    std::size_t length = 0;

    std::string_view view() const { return std::string_view(characters.data(), length); }
};

// Writes the text of a pin-number word into `text`; true for the mark "+".
bool writePinNumber(std::uint16_t word, PinNumberText& text) {
    text.length = 0;
    const unsigned letter = (word >> 10) & 0x1Fu;
    if (letter != 0) {
        text.characters[text.length++] = static_cast<char>(64 + letter);
    }
    const unsigned value = word & 0x01FFu;
    if (value >= 100) {
        text.characters[text.length++] = static_cast<char>('0' + value / 100);
    }
    if (value >= 10) {
        text.characters[text.length++] = static_cast<char>('0' + value / 10 % 10);
    }
    text.characters[text.length++] = static_cast<char>('0' + value % 10);
    return (word & 0x8000u) == 0;
}

// One block of the file: where the head says it starts, and a cursor from there to the end of the
// data. A block whose position lies outside the data has no cursor; that fails the read only once
// something needs it, so a library without bitmaps may leave its bitmap positions unset.
struct Block {
    const char* name;
    std::size_t headField;  // where the head holds its position
    std::uint32_t position = 0;
    std::optional<ByteCursor> cursor;
};

struct Blocks {
    std::uint64_t fileSize = 0;
    Block names{"name table", 18};
    Block componentTable{"component table", 22};
    Block components{"component area", 26};
    Block patterns{"pattern table", 30};
    Block bitmaps{"bitmap area", 34};
    Block strings{"string pool", 38};

    // What starts `offset` bytes into `block` and needs more bytes than the file holds. When it
    // starts inside the file the place is its start; otherwise it is `reference`, the field that
    // led there.
    FileError pastEnd(const Block& block, std::uint64_t offset, std::uint64_t reference,
                      const std::string& what) const {
        const std::uint64_t start = std::uint64_t{block.position} + offset;
        if (start > fileSize) {
            return errorAt(FileErrorKind::PastEnd, reference,
                           what + " at byte " + std::to_string(start) +
                               " lies past the end of the file (" +
                               counted(fileSize, "byte", "bytes") + ")");
        }
        return errorAt(FileErrorKind::PastEnd, start,
                       what + " runs past the end of the file (" +
                           counted(fileSize - start, "byte", "bytes") + " left)");
    }

    // Why `block` has no cursor.
    FileError absent(const Block& block) const {
        if (block.position < kBinaryHeadSize) {
            return errorAt(FileErrorKind::BadTable, block.headField,
                           std::string(block.name) + " position " + std::to_string(block.position) +
                               " lies inside the 54-byte head");
        }
        return pastEnd(block, 0, block.headField, block.name);
    }
};

// The positions in the head are counted from the start of the file; the body starts after the
// head, so a position inside the head points at nothing that was read.
void locate(Block& block, const ByteCursor& head, const ByteCursor& body) {
    block.position = *head.u32At(block.headField);
    if (block.position >= kBinaryHeadSize) {
        block.cursor = body.from(block.position - kBinaryHeadSize);
    }
}

Blocks locateBlocks(const ByteCursor& head, const ByteCursor& body) {
    Blocks blocks;
    blocks.fileSize = head.size() + body.size();
    for (Block* block : {&blocks.names, &blocks.componentTable, &blocks.components,
                         &blocks.patterns, &blocks.bitmaps, &blocks.strings}) {
        locate(*block, head, body);
    }
    return blocks;
}

// What a read builds before it is handed to the library in one piece.
struct Staging {
    std::vector<std::string_view> names;  // views of the file's bytes, copied in at commit
    std::vector<const LibraryPart*> partOfEntry;
    std::vector<std::unique_ptr<LibraryPart>> parts;  // order of first use
};

std::string ofEntry(std::size_t entry) {
    return " of entry " + std::to_string(entry);
}

// The reads below name what they read by a callable that puts it into words (`what()`), called
// only when the read fails: a library names a million pins, and nearly every read succeeds.

// A zero-terminated text at `offset` in the string pool, found through the field at `reference`.
template <class Describe>
ReadResult<std::string_view> poolText(const Blocks& blocks, std::size_t offset,
                                      std::uint64_t reference, const Describe& what) {
    if (!blocks.strings.cursor) {
        return blocks.absent(blocks.strings);
    }
    const auto text = blocks.strings.cursor->cStringAt(offset);
    if (!text) {
        return blocks.pastEnd(blocks.strings, offset, reference, what());
    }
    return *text;
}

ReadResult<> readNames(const Blocks& blocks, std::size_t entryCount, Staging& staging) {
    const Block& table = blocks.names;
    if (!table.cursor) {
        return blocks.absent(table);
    }
    // The table must hold every entry before its count sizes anything.
    if (!table.cursor->contains(0, 4 * entryCount)) {
        return blocks.pastEnd(table, 0, table.headField,
                              "name table (" + counted(entryCount, "entry", "entries") + ")");
    }
    staging.names.reserve(entryCount);
    for (std::size_t i = 0; i < entryCount; ++i) {
        auto name = poolText(blocks, *table.cursor->u32At(4 * i), table.position + 4 * i,
                             [i] { return "name" + ofEntry(i); });
        if (!name) {
            return std::move(name).error();
        }
        staging.names.emplace_back(*name);
    }
    return {};
}

ReadResult<> readPartBitmap(const Blocks& blocks, std::uint16_t pattern, std::uint64_t reference,
                            std::size_t entry, LibraryPart& part) {
    if (pattern == kNone) {
        return {};
    }
    const Block& table = blocks.patterns;
    if (!table.cursor) {
        return blocks.absent(table);
    }
    const std::size_t record = kPatternRecordSize * pattern;
    const auto offset = table.cursor->u16At(record);
    if (!offset) {
        return blocks.pastEnd(table, record, reference,
                              "pattern " + std::to_string(pattern) + ofEntry(entry));
    }
    if (!blocks.bitmaps.cursor) {
        return blocks.absent(blocks.bitmaps);
    }
    const auto start = blocks.bitmaps.cursor->from(*offset);
    auto bitmap = start ? copyBitmap(*start) : std::nullopt;
    if (!bitmap) {
        const auto size = start ? start->subAt(0, 4) : std::nullopt;
        const std::string what = size ? "bitmap" + ofEntry(entry) + " (" +
                                            std::to_string(*size->u16At(0)) + " x " +
                                            std::to_string(*size->u16At(2)) + " pixels)"
                                      : "bitmap header" + ofEntry(entry);
        return blocks.pastEnd(blocks.bitmaps, *offset, table.position + record, what);
    }
    part.bitmap = std::move(*bitmap);
    return {};
}

// Pin names are counted: a length byte, read as signed, then the characters. A length of -1
// stands for "up to the terminator", any other negative length for the empty name, and at most
// 63 characters count.
template <class Describe>
ReadResult<> readPinName(const Blocks& blocks, std::uint16_t offset, std::uint64_t reference,
                         const Describe& what, LibraryPin& pin) {
    if (offset == kNone) {
        return {};
    }
    if (!blocks.strings.cursor) {
        return blocks.absent(blocks.strings);
    }
    const ByteCursor& strings = *blocks.strings.cursor;
    const auto lengthByte = strings.u8At(offset);
    if (!lengthByte) {
        return blocks.pastEnd(blocks.strings, offset, reference, what());
    }
    const int length =
        std::min(static_cast<int>(static_cast<std::int8_t>(*lengthByte)), kMaxPinNameLength);
    const std::size_t first = std::size_t{offset} + 1;
    if (length == -1) {
        const auto text = strings.cStringAt(first);
        if (!text) {
            return blocks.pastEnd(blocks.strings, offset, reference, what());
        }
        pin.setName(*text);
        return {};
    }
    if (length < 0) {
        pin.setName({});
        return {};
    }
    const auto characters = strings.bytesAt(first, static_cast<std::size_t>(length));
    if (!characters) {
        return blocks.pastEnd(
            blocks.strings, offset, reference,
            what() + " (" + counted(static_cast<std::size_t>(length), "character", "characters") +
                ")");
    }
    pin.setName(
        std::string_view(reinterpret_cast<const char*>(characters->data()), characters->size()));
    return {};
}

// The pin record under `record`, whose whole extent the caller has checked.
template <class Describe>
ReadResult<> readPin(const Blocks& blocks, ByteCursor& record, std::uint64_t at, int blockCount,
                     const Describe& what, LibraryPin& pin) {
    const std::uint16_t attributes = *record.readU16();
    const std::uint16_t nameOffset = *record.readU16();
    const ByteCursor words(*record.readBytes(2 * static_cast<std::size_t>(blockCount)));
    pin.allocNumbers(blockCount);
    pin.attributes = decodePinAttributes(attributes);
    PinNumberText text;
    for (int block = 0; block < blockCount; ++block) {
        const bool plus = writePinNumber(*words.u16At(2 * static_cast<std::size_t>(block)), text);
        pin.addNumber(plus, text.view());
    }
    return readPinName(
        blocks, nameOffset, at + 2, [&what] { return "name of " + what(); }, pin);
}

// Bits 15, 14, 13 and 12 of the pin word stand for sides 0, 1, 2 and 3.
std::uint32_t sideMaskOf(std::uint16_t pinWord) {
    std::uint32_t mask = 0;
    for (int side = 0; side < 4; ++side) {
        if (pinWord & (0x8000u >> side)) {
            mask |= 1u << side;
        }
    }
    return mask;
}

ReadResult<> readPins(const Blocks& blocks, ByteCursor& record, std::uint64_t at, std::size_t entry,
                      LibraryPart& part) {
    const std::uint16_t pinWord = *record.u16At(10);
    const std::size_t pinCount = pinWord & 0x0FFFu;
    const std::size_t pinSize = 4 + 2 * static_cast<std::size_t>(part.blockCount);
    if (!record.contains(kComponentHeadSize, pinCount * pinSize)) {
        return blocks.pastEnd(
            blocks.components, at + kComponentHeadSize - blocks.components.position, at + 10,
            "pin list" + ofEntry(entry) + " (" + counted(pinCount, "pin", "pins") + " of " +
                std::to_string(pinSize) + " bytes)");
    }
    part.sideMask = sideMaskOf(pinWord);
    part.pins.resize(pinCount);
    record.seek(kComponentHeadSize);
    for (std::size_t k = 0; k < pinCount; ++k) {
        const std::uint64_t pinAt = at + record.position();
        auto pin = readPin(
            blocks, record, pinAt, part.blockCount,
            [k, entry] { return "pin " + std::to_string(k) + ofEntry(entry); }, part.pins[k]);
        if (!pin) {
            return pin;
        }
    }
    return {};
}

ReadResult<> readComponent(const Blocks& blocks, std::uint16_t offset, std::uint64_t reference,
                           std::size_t entry, LibraryPart& part) {
    const Block& area = blocks.components;
    if (!area.cursor) {
        return blocks.absent(area);
    }
    auto record = area.cursor->from(offset);
    if (!record || !record->contains(0, kComponentHeadSize)) {
        return blocks.pastEnd(area, offset, reference,
                              "component record" + ofEntry(entry) + " (12 bytes)");
    }
    const std::uint64_t at = std::uint64_t{area.position} + offset;
    part.width = *record->u8At(0);
    part.height = *record->u8At(1);
    part.blockCount = *record->u8At(2);
    auto prefix =
        poolText(blocks, *record->u16At(6), at + 6, [entry] { return "prefix" + ofEntry(entry); });
    if (!prefix) {
        return std::move(prefix).error();
    }
    part.prefix = std::string(*prefix);
    if (auto bitmap = readPartBitmap(blocks, *record->u16At(8), at + 8, entry, part); !bitmap) {
        return bitmap;
    }
    return readPins(blocks, *record, at, entry, part);
}

// What a part holds in memory beyond its own object: its pins with their number slots, and its
// bitmap.
std::size_t decodedSize(const LibraryPart& part) {
    std::size_t size = sizeof(LibraryPart);
    for (const LibraryPin& pin : part.pins) {
        size += sizeof(LibraryPin) + pin.textBytesHeld();
    }
    if (part.bitmap) {
        size += sizeof(PatternBitmap) + part.bitmap->storedRows() * kBytesPerKeptRow +
                part.bitmap->bytesHeld();
    }
    return size;
}

// Entries with equal component-table values share one part, made at the first of them. A value
// of 0xFFFF is no record at all: that entry is kept without a part, and lookups pass it over.
ReadResult<> readParts(const Blocks& blocks, std::size_t entryCount, std::size_t budget,
                       Staging& staging) {
    const Block& table = blocks.componentTable;
    if (!table.cursor) {
        return blocks.absent(table);
    }
    if (!table.cursor->contains(0, 2 * entryCount)) {
        return blocks.pastEnd(table, 0, table.headField,
                              "component table (" + counted(entryCount, "entry", "entries") + ")");
    }
    std::unordered_map<std::uint16_t, const LibraryPart*> partAt;
    staging.partOfEntry.reserve(entryCount);
    for (std::size_t i = 0; i < entryCount; ++i) {
        const std::uint16_t offset = *table.cursor->u16At(2 * i);
        if (offset == kNone) {
            staging.partOfEntry.push_back(nullptr);
            continue;
        }
        const auto [found, isNew] = partAt.try_emplace(offset, nullptr);
        if (isNew) {
            auto part = std::make_unique<LibraryPart>();
            if (auto read = readComponent(blocks, offset, table.position + 2 * i, i, *part);
                !read) {
                return read;
            }
            const std::size_t size = decodedSize(*part);
            if (size > budget) {
                return errorAt(FileErrorKind::TooMuchContent,
                               std::uint64_t{blocks.components.position} + offset,
                               "the parts up to entry " + std::to_string(i) +
                                   " take more than 128 times the file's size in memory");
            }
            budget -= size;
            found->second = part.get();
            staging.parts.push_back(std::move(part));
        }
        staging.partOfEntry.push_back(found->second);
    }
    return {};
}

void commit(Library& library, Staging& staging) {
    for (auto& part : staging.parts) {
        library.addPart(std::move(part));
    }
    for (std::size_t i = 0; i < staging.names.size(); ++i) {
        library.addEntry(staging.names[i], staging.partOfEntry[i]);
    }
}

constexpr std::size_t kSignatureReadSize = 16;

FileError tooShort(std::size_t fileSize) {
    return fileError(FileErrorKind::TooShort,
                     "the file is " + counted(fileSize, "byte", "bytes") +
                         " long, too short for a library's head and data (at least 58 bytes)");
}

FileError signatureMismatch(std::span<const std::uint8_t> firstBytes) {
    const auto text = [](std::span<const std::uint8_t> bytes) {
        return quoted(std::string_view(reinterpret_cast<const char*>(bytes.data()),
                                       std::min(bytes.size(), kSignature.size())));
    };
    return errorAt(FileErrorKind::BadMagic, 0,
                   "expected the signature " + text(kSignature) + " but found " + text(firstBytes));
}

ReadResult<> readHeadAndBody(Library& library, std::span<const std::uint8_t> head,
                             std::span<const std::uint8_t> body) {
    if (body.size() < kMinimumBodySize) {
        return tooShort(head.size() + body.size());
    }
    const ByteCursor headCursor(head);
    const std::size_t entryCount = *headCursor.u16At(kEntryCountOffset);
    if (entryCount == 0) {
        return errorAt(FileErrorKind::NoEntries, kEntryCountOffset, "the entry count is 0");
    }
    const Blocks blocks = locateBlocks(headCursor, ByteCursor(body));
    Staging staging;
    if (auto names = readNames(blocks, entryCount, staging); !names) {
        return names;
    }
    const std::size_t budget = kMaxDecodedBytesPerFileByte * (head.size() + body.size());
    if (auto parts = readParts(blocks, entryCount, budget, staging); !parts) {
        return parts;
    }
    commit(library, staging);
    return {};
}

}  // namespace

ReadResult<> readBinaryLibrary(Library& library, const ByteSource& source,
                               std::span<std::uint8_t> workBuffer) {
    std::array<std::uint8_t, kBinaryHeadSize> head{};
    const ReadResult<std::size_t> signatureBytes =
        source(std::span(head).first(kSignatureReadSize));
    if (!signatureBytes) {
        return signatureBytes.error();
    }
    if (*signatureBytes < kSignatureReadSize) {
        return tooShort(*signatureBytes);
    }
    if (!std::equal(kSignature.begin(), kSignature.end(), head.begin())) {
        return signatureMismatch(head);
    }
    const ReadResult<std::size_t> restOfHead = source(std::span(head).subspan(kSignatureReadSize));
    if (!restOfHead) {
        return restOfHead.error();
    }
    if (*restOfHead < kBinaryHeadSize - kSignatureReadSize) {
        return tooShort(kSignatureReadSize + *restOfHead);
    }
    std::vector<std::uint8_t> ownBuffer;
    if (workBuffer.size() < kBinaryBodyCapacity) {
        ownBuffer.resize(kBinaryBodyCapacity);
        workBuffer = ownBuffer;
    }
    const ReadResult<std::size_t> bodySize = source(workBuffer.first(kBinaryBodyCapacity));
    if (!bodySize) {
        return bodySize.error();
    }
    // A byte beyond the buffer means the file is longer than any binary library can be.
    std::uint8_t beyond = 0;
    const ReadResult<std::size_t> more = source(std::span(&beyond, 1));
    if (!more) {
        return more.error();
    }
    if (*more != 0) {
        return fileError(FileErrorKind::TooLarge,
                         "the file is longer than 65589 bytes, the most a binary library can be");
    }
    return readHeadAndBody(library, head, workBuffer.first(*bodySize));
}

namespace {

std::uint32_t decodePinAttributes(std::uint16_t word) {
    const std::uint32_t w = word;
    return (w & 0x00FFu) | ((w & 0x0300u) << 8) | ((w & 0x1000u) << 16) | ((w & 0xC000u) << 16);
}

std::optional<std::unique_ptr<PatternBitmap>> copyBitmap(const ByteCursor& at) {
    const auto width = at.u16At(0);
    const auto height = at.u16At(2);
    if (!width || !height) {
        return std::nullopt;
    }
    if (*width == 0 || *height == 0) {
        return std::unique_ptr<PatternBitmap>();
    }
    auto bitmap = std::make_unique<PatternBitmap>(*width, *height);
    const std::size_t rowBytes = bitmap->dataBytesPerRow();
    const auto rows = at.bytesAt(4, rowBytes * *height);
    if (!rows) {
        return std::nullopt;
    }
    // Sized only once the rows are known to be in the file.
    bitmap->reserve(*height, rows->size());
    for (std::size_t row = 0; row < *height; ++row) {
        bitmap->storeRow(row, rows->subspan(row * rowBytes, rowBytes));
    }
    return bitmap;
}

}  // namespace

}  // namespace wemb
