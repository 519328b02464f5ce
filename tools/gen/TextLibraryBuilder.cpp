#include "tools/gen/TextLibraryBuilder.h"

#include <cstdio>
#include <fstream>
#include <random>

namespace wemb::gen {

std::string escapeTextField(std::string_view value) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string escaped;
    escaped.reserve(value.size());
    for (const char character : value) {
        if (character == ',' || character == '\n' || character == '\r' || character == '%') {
            const auto byte = static_cast<unsigned char>(character);
            escaped += '%';
            escaped += kHex[byte >> 4];
            escaped += kHex[byte & 0x0F];
        } else {
            escaped += character;
        }
    }
    return escaped;
}

std::string encodeBitmapRow(std::span<const std::uint8_t> bytes) {
    std::string row;
    row.reserve(bytes.size() * 2);
    for (const std::uint8_t byte : bytes) {
        row += static_cast<char>('@' + (byte >> 4));
        row += static_cast<char>('@' + (byte & 0x0F));
    }
    return row;
}

TextLibraryBuilder::TextLibraryBuilder() {
    raw(kTextMagic);
}

TextLibraryBuilder TextLibraryBuilder::withoutMagic() {
    return TextLibraryBuilder(Empty{});
}

void TextLibraryBuilder::key(std::string_view name, std::string_view value) {
    text_ += name;
    text_ += ':';
    text_ += escapeTextField(value);
    text_ += '\n';
}

void TextLibraryBuilder::pin(const TextPinDescription& description) {
    raw("+PIN");
    if (!description.name.empty()) {
        key("N", description.name);
    }
    if (!description.location.empty()) {
        key("L", description.location);
    }
    if (!description.type.empty()) {
        key("T", description.type);
    }
    for (const std::string& number : description.numbers) {
        key("M", number);
    }
    raw("-PIN");
}

TextLibraryBuilder& TextLibraryBuilder::component(const TextComponentDescription& description) {
    raw("+COMP");
    key("N", description.name);
    key("X", std::to_string(description.width));
    key("Y", std::to_string(description.height));
    key("B", std::to_string(description.blocks));
    if (description.prefix) {
        key("R", *description.prefix);
    }
    if (!description.pattern.empty()) {
        key("P", description.pattern);
    }
    for (const TextPinDescription& pinDescription : description.pins) {
        pin(pinDescription);
    }
    return raw("-COMP");
}

TextLibraryBuilder& TextLibraryBuilder::alias(std::string_view existingName,
                                              std::string_view newName) {
    raw("+ALIAS");
    key("N", existingName);
    key("A", newName);
    return raw("-ALIAS");
}

TextLibraryBuilder& TextLibraryBuilder::pattern(const TextPatternDescription& description) {
    raw("+PTN");
    key("N", description.name);
    key("X", std::to_string(description.width));
    key("Y", std::to_string(description.height));
    raw("+BMP");
    for (const auto& row : description.rows) {
        raw(encodeBitmapRow(row));
    }
    raw("-BMP");
    return raw("-PTN");
}

TextLibraryBuilder& TextLibraryBuilder::raw(std::string_view line) {
    text_ += line;
    text_ += '\n';
    return *this;
}

TextLibraryBuilder& TextLibraryBuilder::rawBytes(std::string_view bytes) {
    text_ += bytes;
    return *this;
}

std::vector<std::uint8_t> TextLibraryBuilder::bytes() const {
    return std::vector<std::uint8_t>(text_.begin(), text_.end());
}

bool TextLibraryBuilder::writeFile(const std::string& path) const {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text_.data(), static_cast<std::streamsize>(text_.size()));
    return static_cast<bool>(out.flush());
}

namespace {

// Built by appending: g++ 12 warns falsely on a literal added to a temporary string.
std::string numbered(std::string_view stem, std::size_t number, std::string_view tail = {}) {
    std::string name(stem);
    name += std::to_string(number);
    name += tail;
    return name;
}

TextPatternDescription largePattern(std::mt19937& random, std::string name) {
    TextPatternDescription description;
    description.name = std::move(name);
    description.width = 16 + static_cast<int>(random() % 48);
    description.height = 8 + static_cast<int>(random() % 24);
    const std::size_t rowBytes = (static_cast<std::size_t>(description.width) + 7) / 8;
    for (int row = 0; row < description.height; ++row) {
        std::vector<std::uint8_t> bytes(rowBytes);
        for (std::uint8_t& byte : bytes) {
            byte = static_cast<std::uint8_t>(random());
        }
        description.rows.push_back(std::move(bytes));
    }
    return description;
}

struct PartShape {
    int blocks;
    int pins;
    const char* prefix;
};

// Typical: half two-pin passives, a third single-block ICs, the rest multi-block gates.
// PinHeavy: one to eight blocks and one to fourteen pins, evenly: the most numbers per byte.
PartShape largeShape(std::mt19937& random, LargeLibraryMix mix) {
    static const char* const kPrefixes[] = {"R", "C", "IC", "Q", "D", "L", "CN", "SW"};
    if (mix == LargeLibraryMix::PinHeavy) {
        return {1 + static_cast<int>(random() % 8), 1 + static_cast<int>(random() % 14),
                kPrefixes[random() % 8]};
    }
    const auto kind = random() % 6;
    if (kind < 3) {
        return {1, 2, kPrefixes[random() % 2]};
    }
    if (kind < 5) {
        return {1, 8 + static_cast<int>(random() % 33), "IC"};
    }
    return {2 + static_cast<int>(random() % 3), 3 + static_cast<int>(random() % 12), "IC"};
}

TextComponentDescription largeComponent(std::mt19937& random, int index, LargeLibraryMix mix,
                                        std::string pattern) {
    static const char* const kSides = "LTRB";
    static const char* const kTypes[] = {"", "C", "N", "S", "CN", "m"};
    const PartShape shape = largeShape(random, mix);
    TextComponentDescription description;
    description.name = numbered("PART", static_cast<std::size_t>(index),
                                "/\x83\x70\x81\x5B\x83\x63");  // パーツ in CP932
    description.width = 2 + static_cast<int>(random() % 20);
    description.height = 2 + static_cast<int>(random() % 20);
    description.blocks = shape.blocks;
    description.prefix = shape.prefix;
    description.pattern = std::move(pattern);
    for (int pin = 0; pin < shape.pins; ++pin) {
        TextPinDescription pinDescription;
        pinDescription.name =
            numbered("P", static_cast<std::size_t>(pin), pin % 3 == 0 ? "\\C\\S" : "");
        pinDescription.location = numbered(std::string(1, kSides[random() % 4]), random() % 256);
        pinDescription.type = kTypes[random() % 6];
        for (int block = 0; block < description.blocks; ++block) {
            pinDescription.numbers.push_back(std::to_string(block * shape.pins + pin + 1));
        }
        description.pins.push_back(std::move(pinDescription));
    }
    return description;
}

}  // namespace

std::string makeLargeTextLibrary(std::size_t targetBytes, std::uint32_t seed,
                                 std::size_t* entryCount, LargeLibraryMix mix) {
    std::mt19937 random(seed);
    TextLibraryBuilder builder;
    // Shared patterns first; in the typical mix half the parts also have a pattern of their own
    // just before them.
    constexpr unsigned kSharedPatterns = 64;
    for (unsigned index = 0; index < kSharedPatterns; ++index) {
        builder.pattern(largePattern(random, numbered("PTN", index)));
    }
    std::size_t entries = 0;
    for (int index = 0; builder.text().size() < targetBytes; ++index) {
        std::string pattern = numbered("PTN", random() % kSharedPatterns);
        if (mix == LargeLibraryMix::Typical && random() % 2 == 0) {
            pattern = numbered("OWN", static_cast<std::size_t>(index));
            builder.pattern(largePattern(random, pattern));
        }
        const TextComponentDescription description =
            largeComponent(random, index, mix, std::move(pattern));
        builder.component(description);
        ++entries;
        if (random() % 4 == 0) {
            builder.alias(description.name, description.name + "-ALT");
            ++entries;
        }
    }
    if (entryCount != nullptr) {
        *entryCount = entries;
    }
    return builder.text();
}

}  // namespace wemb::gen
