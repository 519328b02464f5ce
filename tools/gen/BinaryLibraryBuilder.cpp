#include "tools/gen/BinaryLibraryBuilder.h"

#include <algorithm>
#include <map>

namespace wemb::gen {
namespace {

constexpr std::string_view kSignature = "LIB FOR RI000\x1a";
constexpr std::size_t kHeadSize = 54;
constexpr std::size_t kMaxFileSize = 65589;
constexpr std::uint16_t kNone = 0xFFFF;

void appendU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void appendU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    appendU16(out, static_cast<std::uint16_t>(value & 0xFFFF));
    appendU16(out, static_cast<std::uint16_t>(value >> 16));
}

void appendText(std::vector<std::uint8_t>& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
}

// The string pool: prefixes and pin names first, so that their 16-bit offsets reach them, then
// the entry names. Equal texts are written once.
class StringPool {
  public:
    std::uint16_t zeroTerminated(std::string_view text) {
        return static_cast<std::uint16_t>(placed(std::string(text) + '\0'));
    }
    std::uint16_t counted(const BinaryPin& pin) {
        const std::string& name = *pin.name;
        std::string record(
            1,
            static_cast<char>(pin.nameLengthByte.value_or(static_cast<std::uint8_t>(name.size()))));
        record += name;
        record += '\0';  // lets a length byte of 0xFF ("up to the terminator") be tried
        return static_cast<std::uint16_t>(placed(record));
    }
    std::uint32_t name(std::string_view text) {
        return static_cast<std::uint32_t>(placed(std::string(text) + '\0'));
    }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

  private:
    std::size_t placed(const std::string& record) {
        const auto [found, isNew] = offsets_.try_emplace(record, bytes_.size());
        if (isNew) {
            appendText(bytes_, record);
        }
        return found->second;
    }

    std::map<std::string, std::size_t> offsets_;
    std::vector<std::uint8_t> bytes_;
};

std::vector<std::uint8_t> componentRecord(const BinaryComponent& component, StringPool& pool,
                                          std::uint16_t pattern) {
    std::vector<std::uint8_t> out = {
        component.width, component.height, component.blockCount, 0, 0, 0};
    appendU16(out, pool.zeroTerminated(component.prefix));
    appendU16(out, pattern);
    appendU16(out, static_cast<std::uint16_t>((component.sideFlags & 0xF) << 12 |
                                              (component.pins.size() & 0x0FFF)));
    for (const BinaryPin& pin : component.pins) {
        appendU16(out, pin.attributes);
        appendU16(out, pin.name ? pool.counted(pin) : kNone);
        for (std::size_t block = 0; block < component.blockCount; ++block) {
            appendU16(out, block < pin.numbers.size() ? pin.numbers[block] : std::uint16_t{0});
        }
    }
    return out;
}

std::vector<std::uint8_t> bitmapRecord(const BinaryBitmap& bitmap) {
    std::vector<std::uint8_t> out;
    appendU16(out, bitmap.width);
    appendU16(out, bitmap.height);
    const std::size_t size = (std::size_t{bitmap.width} + 7) / 8 * bitmap.height;
    std::vector<std::uint8_t> rows = bitmap.rows;
    rows.resize(size, 0);
    out.insert(out.end(), rows.begin(), rows.end());
    return out;
}

void place(std::vector<std::uint8_t>& area, std::size_t offset,
           const std::vector<std::uint8_t>& record) {
    if (area.size() < offset + record.size()) {
        area.resize(offset + record.size(), 0);
    }
    std::copy(record.begin(), record.end(), area.begin() + static_cast<std::ptrdiff_t>(offset));
}

}  // namespace

void BuiltBinaryLibrary::putU8(std::size_t position, std::uint8_t value) {
    if (bytes.size() <= position) {
        bytes.resize(position + 1, 0);
    }
    bytes[position] = value;
}

void BuiltBinaryLibrary::putU16(std::size_t position, std::uint16_t value) {
    putU8(position, static_cast<std::uint8_t>(value & 0xFF));
    putU8(position + 1, static_cast<std::uint8_t>(value >> 8));
}

void BuiltBinaryLibrary::putU32(std::size_t position, std::uint32_t value) {
    putU16(position, static_cast<std::uint16_t>(value & 0xFFFF));
    putU16(position + 2, static_cast<std::uint16_t>(value >> 16));
}

int BinaryLibraryBuilder::addComponent(BinaryComponent component) {
    components_.push_back(std::move(component));
    return static_cast<int>(components_.size()) - 1;
}

BinaryLibraryBuilder& BinaryLibraryBuilder::addEntry(std::string name, int component) {
    entries_.push_back(Entry{std::move(name), component});
    return *this;
}

BinaryLibraryBuilder& BinaryLibraryBuilder::pad(std::size_t trailingBytes) {
    trailingBytes_ = trailingBytes;
    return *this;
}

BuiltBinaryLibrary BinaryLibraryBuilder::build() const {
    StringPool pool;
    std::vector<std::uint8_t> area;
    std::vector<std::uint8_t> patternTable;
    std::vector<std::uint8_t> bitmaps;
    std::vector<std::size_t> componentOffsets;
    for (const BinaryComponent& component : components_) {
        std::uint16_t pattern = kNone;
        if (component.bitmap) {
            pattern = static_cast<std::uint16_t>(patternTable.size() / 6);
            appendU16(patternTable, static_cast<std::uint16_t>(bitmaps.size()));
            appendU32(patternTable, 0);
            const auto record = bitmapRecord(*component.bitmap);
            bitmaps.insert(bitmaps.end(), record.begin(), record.end());
        }
        const std::size_t offset = component.areaOffset.value_or(area.size());
        place(area, offset, componentRecord(component, pool, pattern));
        componentOffsets.push_back(offset);
    }
    std::vector<std::uint32_t> nameOffsets;
    for (const Entry& entry : entries_) {
        nameOffsets.push_back(pool.name(entry.name));
    }

    BuiltBinaryLibrary built;
    BinaryLibraryLayout& layout = built.layout;
    const std::size_t count = entries_.size();
    layout.nameTable = static_cast<std::uint32_t>(kHeadSize);
    layout.componentTable = static_cast<std::uint32_t>(layout.nameTable + 4 * count);
    layout.componentArea = static_cast<std::uint32_t>(layout.componentTable + 2 * count);
    layout.patternTable = static_cast<std::uint32_t>(layout.componentArea + area.size());
    layout.bitmapArea = static_cast<std::uint32_t>(layout.patternTable + patternTable.size());
    layout.stringPool = static_cast<std::uint32_t>(layout.bitmapArea + bitmaps.size());
    for (const std::size_t offset : componentOffsets) {
        layout.components.push_back(static_cast<std::uint32_t>(layout.componentArea + offset));
    }

    std::vector<std::uint8_t>& out = built.bytes;
    appendText(out, kSignature);
    appendU16(out, 0);
    appendU16(out, static_cast<std::uint16_t>(count));
    for (const std::uint32_t position :
         {layout.nameTable, layout.componentTable, layout.componentArea, layout.patternTable,
          layout.bitmapArea, layout.stringPool}) {
        appendU32(out, position);
    }
    out.resize(kHeadSize, 0);
    for (const std::uint32_t offset : nameOffsets) {
        appendU32(out, offset);
    }
    for (const Entry& entry : entries_) {
        appendU16(out, entry.component == kNoComponent
                           ? kNone
                           : static_cast<std::uint16_t>(
                                 componentOffsets[static_cast<std::size_t>(entry.component)]));
    }
    for (const auto& block : {area, patternTable, bitmaps, pool.bytes()}) {
        out.insert(out.end(), block.begin(), block.end());
    }
    out.resize(out.size() + trailingBytes_, 0);
    return built;
}

namespace {

// The pins of one LM324 block: output, inverting and non-inverting input, and the supply pins
// that every block shares.
BinaryComponent quadOpAmp() {
    BinaryComponent opAmp;
    opAmp.prefix = "IC";
    opAmp.width = 4;
    opAmp.height = 4;
    opAmp.blockCount = 4;
    opAmp.sideFlags = 0xA;  // sides 0 and 2
    constexpr std::uint16_t kRight = 0x0200;
    opAmp.pins = {
        BinaryPin{kRight | 2, "OUT", std::nullopt, {1, 7, 8, 14}},
        BinaryPin{1, "-IN", std::nullopt, {2, 6, 9, 13}},
        BinaryPin{3, "+IN", std::nullopt, {3, 5, 10, 12}},
        BinaryPin{0x0100 | 2, "V+", std::nullopt, {4, 4, 4, 4}},
        BinaryPin{0x0300 | 2, "GND", std::nullopt, {11, 11, 11, 11}},
    };
    return opAmp;
}

BinaryComponent twoPinPart(std::string prefix) {
    BinaryComponent part;
    part.prefix = std::move(prefix);
    part.width = 4;
    part.height = 1;
    part.sideFlags = 0xA;
    part.pins = {BinaryPin{1, std::nullopt, std::nullopt, {1}},
                 BinaryPin{0x0200 | 1, std::nullopt, std::nullopt, {2}}};
    return part;
}

BinaryLibraryBuilder numberedOpAmps(std::string_view namePrefix, int count) {
    BinaryLibraryBuilder builder;
    for (int i = 0; i < count; ++i) {
        std::string number = std::to_string(i);
        number.insert(0, 5 - std::min<std::size_t>(number.size(), 5), '0');
        builder.addEntry(std::string(namePrefix) + number, builder.addComponent(quadOpAmp()));
    }
    return builder;
}

}  // namespace

BinaryLibraryBuilder exampleBinaryLibrary() {
    BinaryLibraryBuilder builder;
    const int opAmp = builder.addComponent(quadOpAmp());
    const int resistor = builder.addComponent(twoPinPart("R"));
    const int capacitor = builder.addComponent(twoPinPart("C"));
    builder.addEntry("LM324", opAmp)
        .addEntry("R", resistor)
        .addEntry("C", capacitor)
        .addEntry("LM2902", opAmp);
    return builder;
}

std::vector<std::uint8_t> largestBinaryLibrary(std::string_view namePrefix) {
    int fits = 1;
    int tooMany = 2;
    while (numberedOpAmps(namePrefix, tooMany).size() <= kMaxFileSize) {
        fits = tooMany;
        tooMany *= 2;
    }
    while (tooMany - fits > 1) {
        const int middle = (fits + tooMany) / 2;
        (numberedOpAmps(namePrefix, middle).size() <= kMaxFileSize ? fits : tooMany) = middle;
    }
    BinaryLibraryBuilder builder = numberedOpAmps(namePrefix, fits);
    return builder.pad(kMaxFileSize - builder.size()).bytes();
}

}  // namespace wemb::gen
