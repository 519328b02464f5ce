#include "library/BinaryLibraryReader.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

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

// The blocks of one file, each a cursor from its position to the end of the data. A block whose
// position lies outside the data is absent; that fails the read only once something needs it,
// so a library without bitmaps may leave its bitmap positions unset.
struct Blocks {
    std::optional<ByteCursor> names;
    std::optional<ByteCursor> componentTable;
    std::optional<ByteCursor> components;
    std::optional<ByteCursor> patterns;
    std::optional<ByteCursor> bitmaps;
    std::optional<ByteCursor> strings;
};

// The positions in the head are counted from the start of the file; the body starts after the
// head, so a position inside the head points at nothing that was read.
std::optional<ByteCursor> blockAt(const ByteCursor& body, std::uint32_t position) {
    if (position < kBinaryHeadSize) {
        return std::nullopt;
    }
    return body.from(position - kBinaryHeadSize);
}

Blocks locateBlocks(const ByteCursor& head, const ByteCursor& body) {
    const auto position = [&](int index) {
        const auto value = head.u32At(kFirstPositionOffset + 4 * static_cast<std::size_t>(index));
        return value ? blockAt(body, *value) : std::nullopt;
    };
    return Blocks{position(0), position(1), position(2), position(3), position(4), position(5)};
}

// What a read builds before it is handed to the library in one piece.
struct Staging {
    std::vector<std::string_view> names;  // views of the file's bytes, copied in at commit
    std::vector<const LibraryPart*> partOfEntry;
    std::vector<std::unique_ptr<LibraryPart>> parts;  // order of first use
};

BinaryLibraryStatus readNames(const Blocks& blocks, std::size_t count, Staging& staging) {
    if (!blocks.names || !blocks.strings) {
        return BinaryLibraryStatus::NameOutOfRange;
    }
    // The table must hold every entry before its count sizes anything.
    if (!blocks.names->contains(0, 4 * count)) {
        return BinaryLibraryStatus::NameOutOfRange;
    }
    staging.names.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto offset = blocks.names->u32At(4 * i);
        const auto name = offset ? blocks.strings->cStringAt(*offset) : std::nullopt;
        if (!name) {
            return BinaryLibraryStatus::NameOutOfRange;
        }
        staging.names.emplace_back(*name);
    }
    return BinaryLibraryStatus::Loaded;
}

BinaryLibraryStatus readPartBitmap(const Blocks& blocks, std::uint16_t pattern, LibraryPart& part) {
    if (pattern == kNone) {
        return BinaryLibraryStatus::Loaded;
    }
    const auto offset =
        blocks.patterns ? blocks.patterns->u16At(kPatternRecordSize * pattern) : std::nullopt;
    if (!offset) {
        return BinaryLibraryStatus::PatternOutOfRange;
    }
    const auto start = blocks.bitmaps ? blocks.bitmaps->from(*offset) : std::nullopt;
    auto bitmap = start ? copyBitmap(*start) : std::nullopt;
    if (!bitmap) {
        return BinaryLibraryStatus::BitmapOutOfRange;
    }
    part.bitmap = std::move(*bitmap);
    return BinaryLibraryStatus::Loaded;
}

// Pin names are counted: a length byte, read as signed, then the characters. A length of -1
// stands for "up to the terminator", any other negative length for the empty name, and at most
// 63 characters count.
BinaryLibraryStatus readPinName(const Blocks& blocks, std::uint16_t offset, LibraryPin& pin) {
    if (offset == kNone) {
        return BinaryLibraryStatus::Loaded;
    }
    const auto lengthByte = blocks.strings ? blocks.strings->u8At(offset) : std::nullopt;
    if (!lengthByte) {
        return BinaryLibraryStatus::PinNameOutOfRange;
    }
    const int length =
        std::min(static_cast<int>(static_cast<std::int8_t>(*lengthByte)), kMaxPinNameLength);
    const std::size_t first = std::size_t{offset} + 1;
    if (length == -1) {
        const auto text = blocks.strings->cStringAt(first);
        if (!text) {
            return BinaryLibraryStatus::PinNameOutOfRange;
        }
        pin.setName(*text);
        return BinaryLibraryStatus::Loaded;
    }
    if (length < 0) {
        pin.setName({});
        return BinaryLibraryStatus::Loaded;
    }
    const auto characters = blocks.strings->bytesAt(first, static_cast<std::size_t>(length));
    if (!characters) {
        return BinaryLibraryStatus::PinNameOutOfRange;
    }
    pin.setName(
        std::string_view(reinterpret_cast<const char*>(characters->data()), characters->size()));
    return BinaryLibraryStatus::Loaded;
}

BinaryLibraryStatus readPin(const Blocks& blocks, ByteCursor& record, int blockCount,
                            LibraryPin& pin) {
    const auto attributes = record.readU16();
    const auto nameOffset = record.readU16();
    const auto numbers = record.readBytes(2 * static_cast<std::size_t>(blockCount));
    if (!attributes || !nameOffset || !numbers) {
        return BinaryLibraryStatus::ComponentOutOfRange;
    }
    pin.allocNumbers(blockCount);
    pin.attributes = decodePinAttributes(*attributes);
    const ByteCursor words(*numbers);
    PinNumberText text;
    for (int block = 0; block < blockCount; ++block) {
        const bool plus = writePinNumber(*words.u16At(2 * static_cast<std::size_t>(block)), text);
        pin.setNumber(block, plus, text.view());
    }
    return readPinName(blocks, *nameOffset, pin);
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

BinaryLibraryStatus readComponent(const Blocks& blocks, std::uint16_t offset, LibraryPart& part) {
    auto record = blocks.components ? blocks.components->from(offset) : std::nullopt;
    if (!record || !record->contains(0, kComponentHeadSize)) {
        return BinaryLibraryStatus::ComponentOutOfRange;
    }
    part.width = *record->u8At(0);
    part.height = *record->u8At(1);
    part.blockCount = *record->u8At(2);
    const auto prefix =
        blocks.strings ? blocks.strings->cStringAt(*record->u16At(6)) : std::nullopt;
    if (!prefix) {
        return BinaryLibraryStatus::PrefixOutOfRange;
    }
    part.prefix = std::string(*prefix);
    if (const auto status = readPartBitmap(blocks, *record->u16At(8), part);
        status != BinaryLibraryStatus::Loaded) {
        return status;
    }
    const std::uint16_t pinWord = *record->u16At(10);
    const std::size_t pinCount = pinWord & 0x0FFFu;
    const std::size_t pinSize = 4 + 2 * static_cast<std::size_t>(part.blockCount);
    if (!record->contains(kComponentHeadSize, pinCount * pinSize)) {
        return BinaryLibraryStatus::ComponentOutOfRange;
    }
    part.sideMask = sideMaskOf(pinWord);
    part.pins.resize(pinCount);
    record->seek(kComponentHeadSize);
    for (LibraryPin& pin : part.pins) {
        if (const auto status = readPin(blocks, *record, part.blockCount, pin);
            status != BinaryLibraryStatus::Loaded) {
            return status;
        }
    }
    return BinaryLibraryStatus::Loaded;
}

// What a part holds in memory beyond its own object: its pins with their number slots, and its
// bitmap.
std::size_t decodedSize(const LibraryPart& part) {
    std::size_t size = sizeof(LibraryPart);
    for (const LibraryPin& pin : part.pins) {
        size += sizeof(LibraryPin) + pin.numberBytesHeld();
    }
    if (part.bitmap) {
        size += sizeof(PatternBitmap) + part.bitmap->storedRows() * kBytesPerKeptRow +
                part.bitmap->bytesHeld();
    }
    return size;
}

// Entries with equal component-table values share one part, made at the first of them. A value
// of 0xFFFF is no record at all: that entry is kept without a part, and lookups pass it over.
BinaryLibraryStatus readParts(const Blocks& blocks, std::size_t count, std::size_t budget,
                              Staging& staging) {
    if (!blocks.componentTable) {
        return BinaryLibraryStatus::ComponentOutOfRange;
    }
    if (!blocks.componentTable->contains(0, 2 * count)) {
        return BinaryLibraryStatus::ComponentOutOfRange;
    }
    std::unordered_map<std::uint16_t, const LibraryPart*> partAt;
    staging.partOfEntry.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto offset = blocks.componentTable->u16At(2 * i);
        if (!offset) {
            return BinaryLibraryStatus::ComponentOutOfRange;
        }
        if (*offset == kNone) {
            staging.partOfEntry.push_back(nullptr);
            continue;
        }
        const auto [found, isNew] = partAt.try_emplace(*offset, nullptr);
        if (isNew) {
            auto part = std::make_unique<LibraryPart>();
            if (const auto status = readComponent(blocks, *offset, *part);
                status != BinaryLibraryStatus::Loaded) {
                return status;
            }
            const std::size_t size = decodedSize(*part);
            if (size > budget) {
                return BinaryLibraryStatus::TooMuchContent;
            }
            budget -= size;
            found->second = part.get();
            staging.parts.push_back(std::move(part));
        }
        staging.partOfEntry.push_back(found->second);
    }
    return BinaryLibraryStatus::Loaded;
}

void commit(Library& library, Staging& staging) {
    for (auto& part : staging.parts) {
        library.addPart(std::move(part));
    }
    for (std::size_t i = 0; i < staging.names.size(); ++i) {
        library.addEntry(staging.names[i], staging.partOfEntry[i]);
    }
}

}  // namespace

bool checkBinarySignature(std::span<const std::uint8_t> firstBytes) {
    return firstBytes.size() >= kSignature.size() &&
           std::equal(kSignature.begin(), kSignature.end(), firstBytes.begin());
}

BinaryLibraryStatus readBinaryLibrary(Library& library, std::span<const std::uint8_t> head,
                                      std::span<const std::uint8_t> body) {
    const ByteCursor headCursor(head);
    const ByteCursor bodyCursor(body);
    if (head.size() < kBinaryHeadSize || body.size() < kMinimumBodySize) {
        return BinaryLibraryStatus::TooShort;
    }
    if (body.size() > kBinaryBodyCapacity) {
        return BinaryLibraryStatus::TooLong;
    }
    const std::size_t entryCount = *headCursor.u16At(kEntryCountOffset);
    if (entryCount == 0) {
        return BinaryLibraryStatus::NoEntries;
    }
    const Blocks blocks = locateBlocks(headCursor, bodyCursor);
    Staging staging;
    auto status = readNames(blocks, entryCount, staging);
    if (status == BinaryLibraryStatus::Loaded) {
        const std::size_t budget = kMaxDecodedBytesPerFileByte * (head.size() + body.size());
        status = readParts(blocks, entryCount, budget, staging);
    }
    if (status == BinaryLibraryStatus::Loaded) {
        commit(library, staging);
    }
    return status;
}

BinaryLibraryStatus readBinaryLibraryBytes(Library& library, std::span<const std::uint8_t> file) {
    if (file.size() < kBinarySignatureReadSize) {
        return BinaryLibraryStatus::TooShort;
    }
    if (!checkBinarySignature(file)) {
        return BinaryLibraryStatus::BadSignature;
    }
    if (file.size() > kMaxBinaryLibrarySize) {
        return BinaryLibraryStatus::TooLong;
    }
    if (file.size() < kBinaryHeadSize) {
        return BinaryLibraryStatus::TooShort;
    }
    return readBinaryLibrary(library, file.first(kBinaryHeadSize), file.subspan(kBinaryHeadSize));
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
