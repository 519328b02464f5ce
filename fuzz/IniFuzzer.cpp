// Writes one key into a settings text and reads it back: a plain value reads back as written,
// the keys the program keeps read as they did before unless they are the written one, and the
// file forms agree with the text forms.
//
// The input is a section name, a key name and a value, each ended by the byte 0x1F, then the
// settings text itself.

#include <strings.h>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "platform/IniFile.h"

namespace wemb::fuzz {
namespace {

struct IniInput {
    std::string_view section, key, value, text;
};

std::optional<IniInput> splitInput(std::string_view input) {
    std::string_view fields[3];
    for (std::string_view& field : fields) {
        const std::size_t end = input.find('\x1f');
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        field = input.substr(0, end);
        input.remove_prefix(end + 1);
    }
    return IniInput{fields[0], fields[1], fields[2], input};
}

// Letters, digits and path characters: nothing a reader could take for blanks or quotes.
bool isPlain(std::string_view value) {
    return std::all_of(value.begin(), value.end(), [](char c) {
        return std::string_view("./\\:_-").find(c) != std::string_view::npos ||
               (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
    });
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// The keys the program reads and writes.
void checkKeptKeysUnchanged(const IniInput& input, std::string_view updated) {
    static const char* const kKeys[][2] = {
        {"LIBRARY", "LIB0"},           {"LIBRARY", "LIB1"},           {"LIBRARY", "LIB15"},
        {"Recent File List", "File1"}, {"Recent File List", "File2"}, {"library", "lib0"}};
    for (const auto& [section, key] : kKeys) {
        if (!(sameName(section, input.section) && sameName(key, input.key))) {
            require(platform::profileValue(input.text, section, key, "\x01") ==
                        platform::profileValue(updated, section, key, "\x01"),
                    "writing one key leaves every other key as it was");
        }
    }
}

void checkFileForms(const std::string& directory, const IniInput& input,
                    const std::optional<std::string>& updated) {
    const std::string path = directory + "/Wemb.INI";
    writeFile(path, std::string(input.text));
    const bool written = platform::writeProfileString(path, input.section, input.key, input.value);
    require(written == updated.has_value(), "the file form stores what the text form can");
    const std::vector<std::uint8_t> after = readFile(path);
    require(asText(after) == (updated ? std::string_view(*updated) : input.text),
            "the file holds what the text form gives, or is unchanged");
    require(platform::readProfileString(path, input.section, input.key, "\x01") ==
                platform::profileValue(asText(after), input.section, input.key, "\x01"),
            "the file form reads what the text form reads");
}

}  // namespace
}  // namespace wemb::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wemb::fuzz;
    static const std::string directory = makeScratchDirectory("wemb-ini");
    const std::optional<IniInput> input = splitInput(asText({data, size}));
    if (!input) {
        return 0;
    }
    const std::optional<std::string> updated =
        wemb::platform::withProfileValue(input->text, input->section, input->key, input->value);
    if (updated) {
        require(!isPlain(input->value) || wemb::platform::profileValue(*updated, input->section,
                                                                       input->key) == input->value,
                "a plain value reads back as written");
        checkKeptKeysUnchanged(*input, *updated);
    }
    checkFileForms(directory, *input, updated);
    return 0;
}
