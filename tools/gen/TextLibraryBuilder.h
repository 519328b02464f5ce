#pragma once
// Writes text (.LB3) part libraries for tests, fuzz seeds and benchmarks: components with pins,
// aliases and patterns from a plain description, one token a line, plus raw lines for the broken
// files that a reader must refuse or survive.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace wemb::gen {

inline constexpr std::string_view kTextMagic = "+RIRI3_DAR_I.1.0";

// Every member has an initializer, so that designated initializers may leave any of them out.
struct TextPinDescription {
    std::string name{};                  // "N"; empty writes none
    std::string location = "L1";         // "L": side letter and offset; empty writes none
    std::string type{};                  // "T" letters; empty writes none
    std::vector<std::string> numbers{};  // one "M" each, in order
};

struct TextComponentDescription {
    std::string name{};                   // "N"
    int width = 4;                        // "X"
    int height = 4;                       // "Y"
    int blocks = 1;                       // "B"
    std::optional<std::string> prefix{};  // "R"; none writes no "R"
    std::string pattern{};                // "P"; empty writes none
    std::vector<TextPinDescription> pins{};
};

struct TextPatternDescription {
    std::string name{};                             // "N"
    int width = 8;                                  // "X"
    int height = 1;                                 // "Y"
    std::vector<std::vector<std::uint8_t>> rows{};  // bytes of each row, top row first
};

// `value` with every byte that would end or break a field (comma, line feed, carriage return,
// "%") written as "%" and two upper-case hexadecimal digits.
std::string escapeTextField(std::string_view value);

// `bytes` as one bitmap row: each byte as two characters from "@" (0) to "O" (15), high half
// first.
std::string encodeBitmapRow(std::span<const std::uint8_t> bytes);

class TextLibraryBuilder {
  public:
    // Starts with the magic line.
    TextLibraryBuilder();
    // Starts empty, for files whose first token is wrong or missing.
    static TextLibraryBuilder withoutMagic();

    TextLibraryBuilder& component(const TextComponentDescription& description);
    TextLibraryBuilder& alias(std::string_view existingName, std::string_view newName);
    TextLibraryBuilder& pattern(const TextPatternDescription& description);
    // `line` as it stands, then a line feed.
    TextLibraryBuilder& raw(std::string_view line);
    // `bytes` as they stand, with nothing after them.
    TextLibraryBuilder& rawBytes(std::string_view bytes);

    const std::string& text() const { return text_; }
    std::vector<std::uint8_t> bytes() const;
    bool writeFile(const std::string& path) const;

  private:
    struct Empty {};
    explicit TextLibraryBuilder(Empty) {}
    void key(std::string_view name, std::string_view value);
    void pin(const TextPinDescription& description);

    std::string text_;
};

enum class LargeLibraryMix {
    Typical,   // mostly passives and single-block ICs, half of them with a pattern of their own
    PinHeavy,  // one to eight blocks and up to fourteen pins each: the most pin numbers per byte
};

// A valid library of at least `targetBytes` bytes: patterns, components with pins, and aliases
// of a quarter of them, varied by `seed` and the same for the same seed. The entry count is
// returned through `entryCount` when given.
std::string makeLargeTextLibrary(std::size_t targetBytes, std::uint32_t seed = 1,
                                 std::size_t* entryCount = nullptr,
                                 LargeLibraryMix mix = LargeLibraryMix::Typical);

}  // namespace wemb::gen
