// Writes one key into a settings text and reads it back: what was written reads back, every
// other key reads as it did before, and the file forms agree with the text forms.
//
// The input is a section name, a key name and a value, each ended by the byte 0x1F, then the
// settings text itself.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "platform/IniFile.h"

namespace wemb::fuzz {
namespace {

constexpr char kFieldEnd = '\x1f';

struct IniInput {
    std::string_view section, key, value, text;
};

std::optional<IniInput> splitInput(std::string_view input) {
    std::string_view fields[3];
    for (std::string_view& field : fields) {
        const std::size_t end = input.find(kFieldEnd);
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        field = input.substr(0, end);
        input.remove_prefix(end + 1);
    }
    return IniInput{fields[0], fields[1], fields[2], input};
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Reads back as written: no blanks around it for the reader to drop, no quotes for it to take
// off.
bool readsBackVerbatim(std::string_view value) {
    if (trimmed(value) != value) {
        return false;
    }
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    return !quoted;
}

// Looser than the reader's own comparison (every byte folds ASCII case), so that a name left
// out of the "other keys" check is never one the reader would tell apart from the written one.
bool mayBeSameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    const auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// Every section and key name the text might hold, paired each with each: a superset of the keys
// the reader finds.
std::set<std::pair<std::string, std::string>> candidateKeys(std::string_view text) {
    std::set<std::string> sections;
    std::set<std::string> keys;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        const std::size_t newline = std::min(text.find('\n', begin), text.size());
        const std::string_view line = text.substr(begin, newline - begin);
        const std::string_view body = trimmed(line);
        if (!body.empty() && body.front() == '[' && body.rfind(']') != std::string_view::npos) {
            sections.emplace(trimmed(body.substr(1, body.rfind(']') - 1)));
        }
        if (const std::size_t equals = line.find('='); equals != std::string_view::npos) {
            keys.emplace(trimmed(line.substr(0, equals)));
        }
        begin = newline + 1;
    }
    std::set<std::pair<std::string, std::string>> pairs;
    for (const std::string& section : sections) {
        for (const std::string& key : keys) {
            if (pairs.size() < 256) {
                pairs.emplace(section, key);
            }
        }
    }
    return pairs;
}

void checkOtherKeysUnchanged(const IniInput& input, std::string_view updated) {
    for (const auto& [section, key] : candidateKeys(input.text)) {
        if (mayBeSameName(section, input.section) && mayBeSameName(key, input.key)) {
            continue;
        }
        require(platform::profileValue(input.text, section, key, "\x01") ==
                    platform::profileValue(updated, section, key, "\x01"),
                "writing one key leaves every other key as it was");
    }
}

void checkFileForms(const std::string& directory, const IniInput& input,
                    const std::optional<std::string>& updated) {
    const std::string path = directory + "/Wemb.INI";
    writeWholeFile(path, input.text);
    const bool written = platform::writeProfileString(path, input.section, input.key, input.value);
    require(written == updated.has_value(), "the file form stores what the text form can");
    const std::vector<std::uint8_t> after = readWholeFile(path);
    require(asText(after) == (updated ? std::string_view(*updated) : input.text),
            "the file holds what the text form gives, or is unchanged");
    require(platform::readProfileString(path, input.section, input.key, "\x01") ==
                platform::profileValue(asText(after), input.section, input.key, "\x01"),
            "the file form reads what the text form reads");
}

std::string& scratchDirectory() {
    static std::string directory = makeScratchDirectory("wemb-ini");
    return directory;
}

}  // namespace
}  // namespace wemb::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wemb::fuzz;
    const std::optional<IniInput> input =
        splitInput(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!input) {
        return 0;
    }
    const std::optional<std::string> updated =
        wemb::platform::withProfileValue(input->text, input->section, input->key, input->value);
    if (updated) {
        if (readsBackVerbatim(input->value)) {
            require(
                wemb::platform::profileValue(*updated, input->section, input->key) == input->value,
                "what was written reads back");
        }
        checkOtherKeysUnchanged(*input, *updated);
    }
    checkFileForms(scratchDirectory(), *input, updated);
    return 0;
}
