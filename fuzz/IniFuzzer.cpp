// Writes one key into a settings text and reads it back: a plain value reads back as written,
// the keys the program keeps read as they did before unless they are the written one, and the
// file forms agree with the text forms.
//
// The input is a section name, a key name and a value, each ended by the byte 0x1F, then the
// settings text itself.

#include <strings.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "platform/IniFile.h"

namespace wemb::fuzz {
namespace {

using platform::profileValue;

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

void checkWrite(std::string_view section, std::string_view key, std::string_view value,
                std::string_view text) {
    const std::optional<std::string> updated =
        platform::withProfileValue(text, section, key, value);
    // Letters, digits and path characters: nothing a reader could take for blanks or quotes.
    const bool plain = value.find_first_not_of(
                           "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                           "0123456789./\\:_-") == std::string_view::npos;
    require(!updated || !plain || profileValue(*updated, section, key) == value,
            "a plain value reads back as written");
    static const char* const kKept[][2] = {
        {"LIBRARY", "LIB0"},           {"LIBRARY", "LIB1"},           {"LIBRARY", "LIB15"},
        {"Recent File List", "File1"}, {"Recent File List", "File2"}, {"library", "lib0"}};
    for (const auto& [keptSection, keptKey] : kKept) {
        require(!updated || (sameName(keptSection, section) && sameName(keptKey, key)) ||
                    profileValue(text, keptSection, keptKey, "\x01") ==
                        profileValue(*updated, keptSection, keptKey, "\x01"),
                "writing one key leaves every other key as it was");
    }

    const std::string path = emptyScratchDirectory() + "/Wemb.INI";
    writeFile(path, std::string(text));
    require(platform::writeProfileString(path, section, key, value) == updated.has_value(),
            "the file form stores what the text form can");
    const std::vector<std::uint8_t> after = readFile(path);
    require(asText(after) == (updated ? std::string_view(*updated) : text),
            "the file holds what the text form gives, or is unchanged");
    require(platform::readProfileString(path, section, key, "\x01") ==
                profileValue(asText(after), section, key, "\x01"),
            "the file form reads what the text form reads");
}

}  // namespace
}  // namespace wemb::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input = wemb::fuzz::asText({data, size});
    std::string_view fields[3];
    for (std::string_view& field : fields) {
        const std::size_t end = input.find('\x1f');
        if (end == std::string_view::npos) {
            return 0;
        }
        field = input.substr(0, end);
        input.remove_prefix(end + 1);
    }
    wemb::fuzz::checkWrite(fields[0], fields[1], fields[2], input);
    return 0;
}
