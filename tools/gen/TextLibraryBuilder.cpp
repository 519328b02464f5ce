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

void TextLibraryBuilder::pin(const TextPinSpec& spec) {
    raw("+PIN");
    if (!spec.name.empty()) {
        key("N", spec.name);
    }
    if (!spec.location.empty()) {
        key("L", spec.location);
    }
    if (!spec.type.empty()) {
        key("T", spec.type);
    }
    for (const std::string& number : spec.numbers) {
        key("M", number);
    }
    raw("-PIN");
}

TextLibraryBuilder& TextLibraryBuilder::component(const TextComponentSpec& spec) {
    raw("+COMP");
    key("N", spec.name);
    key("X", std::to_string(spec.width));
    key("Y", std::to_string(spec.height));
    key("B", std::to_string(spec.blocks));
    if (spec.prefix) {
        key("R", *spec.prefix);
    }
    if (!spec.pattern.empty()) {
        key("P", spec.pattern);
    }
    for (const TextPinSpec& pinSpec : spec.pins) {
        pin(pinSpec);
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

TextLibraryBuilder& TextLibraryBuilder::pattern(const TextPatternSpec& spec) {
    raw("+PTN");
    key("N", spec.name);
    key("X", std::to_string(spec.width));
    key("Y", std::to_string(spec.height));
    raw("+BMP");
    for (const auto& row : spec.rows) {
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

TextPatternSpec largePattern(std::mt19937& random, int index) {
    TextPatternSpec spec;
    spec.name = numbered("PTN", static_cast<std::size_t>(index));
    spec.width = 16 + static_cast<int>(random() % 48);
    spec.height = 8 + static_cast<int>(random() % 24);
    const std::size_t rowBytes = (static_cast<std::size_t>(spec.width) + 7) / 8;
    for (int row = 0; row < spec.height; ++row) {
        std::vector<std::uint8_t> bytes(rowBytes);
        for (std::uint8_t& byte : bytes) {
            byte = static_cast<std::uint8_t>(random());
        }
        spec.rows.push_back(std::move(bytes));
    }
    return spec;
}

TextComponentSpec largeComponent(std::mt19937& random, int index, int patternCount) {
    static const char* const kPrefixes[] = {"R", "C", "IC", "Q", "D", "L", "CN", "SW"};
    static const char* const kSides = "LTRB";
    static const char* const kTypes[] = {"", "C", "N", "S", "CN", "m"};
    TextComponentSpec spec;
    spec.name = numbered("PART", static_cast<std::size_t>(index),
                         "/\x83\x70\x81\x5B\x83\x63");  // パーツ in CP932
    spec.width = 2 + static_cast<int>(random() % 20);
    spec.height = 2 + static_cast<int>(random() % 20);
    spec.blocks = 1 + static_cast<int>(random() % 8);
    spec.prefix = kPrefixes[random() % 8];
    if (patternCount > 0) {
        spec.pattern = numbered("PTN", random() % static_cast<unsigned>(patternCount));
    }
    const int pinCount = 1 + static_cast<int>(random() % 14);
    for (int pin = 0; pin < pinCount; ++pin) {
        TextPinSpec pinSpec;
        pinSpec.name = numbered("P", static_cast<std::size_t>(pin), pin % 3 == 0 ? "\\C\\S" : "");
        pinSpec.location = numbered(std::string(1, kSides[random() % 4]), random() % 256);
        pinSpec.type = kTypes[random() % 6];
        for (int block = 0; block < spec.blocks; ++block) {
            pinSpec.numbers.push_back(std::to_string(block * pinCount + pin + 1));
        }
        spec.pins.push_back(std::move(pinSpec));
    }
    return spec;
}

}  // namespace

std::string makeLargeTextLibrary(std::size_t targetBytes, std::uint32_t seed,
                                 std::size_t* entryCount) {
    std::mt19937 random(seed);
    TextLibraryBuilder builder;
    constexpr int kPatterns = 64;
    for (int index = 0; index < kPatterns; ++index) {
        builder.pattern(largePattern(random, index));
    }
    std::size_t entries = 0;
    for (int index = 0; builder.text().size() < targetBytes; ++index) {
        const TextComponentSpec spec = largeComponent(random, index, kPatterns);
        builder.component(spec);
        ++entries;
        if (random() % 4 == 0) {
            builder.alias(spec.name, spec.name + "-ALT");
            ++entries;
        }
    }
    if (entryCount != nullptr) {
        *entryCount = entries;
    }
    return builder.text();
}

}  // namespace wemb::gen
