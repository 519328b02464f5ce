#include "platform/IniFile.h"

#include <sys/types.h>

#include <cerrno>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/Cp932.h"
#include "platform/FileOps.h"
#include "platform/InputFile.h"
#include "platform/Paths.h"
#include "platform/TemporaryFile.h"

namespace wemb::platform {

namespace {

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

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// ASCII letters match in either case. The second byte of a double-byte character may look like
// an ASCII letter, so both bytes of such a character must match exactly.
bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (isCp932LeadByte(static_cast<unsigned char>(a[i]))) {
            if (a[i] != b[i] || (i + 1 < a.size() && a[i + 1] != b[i + 1])) {
                return false;
            }
            ++i;
        } else if (asciiLower(a[i]) != asciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

enum class LineKind { Other, Section, Key };

// One line of the text: where it lies and what it says. Offsets are into the whole text.
struct Line {
    std::size_t begin = 0;
    std::size_t contentEnd = 0;  // before the line end ("\n" or "\r\n")
    std::size_t next = 0;        // start of the following line
    LineKind kind = LineKind::Other;
    std::string_view name;       // section or key name, trimmed
    std::size_t valueBegin = 0;  // Key: first byte of the trimmed value
    std::string_view value;      // Key: the value, trimmed, quotes kept
};

void classify(std::string_view text, Line& line) {
    const std::string_view content = text.substr(line.begin, line.contentEnd - line.begin);
    const std::string_view body = trimmed(content);
    if (body.empty() || body.front() == ';') {
        return;
    }
    if (body.front() == '[') {
        const std::size_t close = body.rfind(']');
        if (close != std::string_view::npos) {
            line.kind = LineKind::Section;
            line.name = trimmed(body.substr(1, close - 1));
            return;
        }
    }
    const std::size_t equals = content.find('=');
    if (equals == std::string_view::npos) {
        return;
    }
    line.kind = LineKind::Key;
    line.name = trimmed(content.substr(0, equals));
    std::size_t valueBegin = equals + 1;
    while (valueBegin < content.size() && isBlank(content[valueBegin])) {
        ++valueBegin;
    }
    line.valueBegin = line.begin + valueBegin;
    line.value = trimmed(content.substr(valueBegin));
}

std::vector<Line> splitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        Line line;
        line.begin = begin;
        const std::size_t newline = text.find('\n', begin);
        line.next = newline == std::string_view::npos ? text.size() : newline + 1;
        line.contentEnd = newline == std::string_view::npos ? text.size() : newline;
        if (line.contentEnd > begin && text[line.contentEnd - 1] == '\r') {
            --line.contentEnd;
        }
        classify(text, line);
        lines.push_back(line);
        begin = line.next;
    }
    return lines;
}

// Where a key stands in the text: the first section of that name, the first key of that name
// in it, and the last key line of the section (after which a new key goes).
struct KeyLocation {
    std::optional<std::size_t> section;
    std::optional<std::size_t> key;
    std::size_t lastLineOfSection = 0;
};

KeyLocation locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    KeyLocation location;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        if (line.kind == LineKind::Section) {
            if (location.section) {
                break;  // only the first section of the name counts
            }
            if (sameName(line.name, section)) {
                location.section = i;
                location.lastLineOfSection = i;
            }
        } else if (location.section && line.kind == LineKind::Key) {
            location.lastLineOfSection = i;
            if (!location.key && sameName(line.name, key)) {
                location.key = i;
            }
        }
    }
    return location;
}

std::string_view withoutQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// The line end this text already uses; a text without one gets the platform's own.
std::string_view lineEndOf(std::string_view text) {
    const std::size_t newline = text.find('\n');
    if (newline != std::string_view::npos && newline > 0 && text[newline - 1] == '\r') {
        return "\r\n";
    }
    return "\n";
}

bool storable(std::string_view section, std::string_view key, std::string_view value) {
    const auto breaksLine = [](std::string_view text) {
        return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
    };
    if (breaksLine(section) || breaksLine(key) || breaksLine(value)) {
        return false;
    }
    const std::string_view keyName = trimmed(key);
    if (keyName.empty() || keyName.size() != key.size() || keyName.front() == ';' ||
        keyName.front() == '[' || key.find('=') != std::string_view::npos) {
        return false;
    }
    return trimmed(section).size() == section.size() && section.find(']') == std::string_view::npos;
}

bool isBlankLine(std::string_view text, const Line& line) {
    return trimmed(text.substr(line.begin, line.contentEnd - line.begin)).empty();
}

std::string appendedSection(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view value) {
    const std::string_view lineEnd = lineEndOf(text);
    std::string out(text);
    if (!out.empty() && out.back() != '\n') {
        out += lineEnd;
    }
    const std::vector<Line> lines = splitLines(text);
    if (!lines.empty() && !isBlankLine(text, lines.back())) {
        out += lineEnd;  // a blank line between sections, as Windows writes them
    }
    out.append("[").append(section).append("]").append(lineEnd);
    out.append(key).append("=").append(value).append(lineEnd);
    return out;
}

std::string insertedKey(std::string_view text, const Line& after, std::string_view key,
                        std::string_view value) {
    const std::string_view lineEnd = lineEndOf(text);
    std::string out(text.substr(0, after.next));
    if (after.next == 0 || text[after.next - 1] != '\n') {
        out += lineEnd;  // the last line of the text had no line end
    }
    out.append(key).append("=").append(value).append(lineEnd);
    out.append(text.substr(after.next));
    return out;
}

std::string replacedValue(std::string_view text, const Line& line, std::string_view value) {
    std::string out(text.substr(0, line.valueBegin));
    out.append(value);
    out.append(text.substr(line.contentEnd));
    return out;
}

FileError tooLarge() {
    return fileError(FileErrorKind::TooLarge, "the file is larger than " +
                                                  std::to_string(kMaxProfileFileSize) +
                                                  " bytes, more than a settings file can be");
}

// The whole file, if it is an ordinary file of a sensible size.
ReadResult<std::string> readSmallFile(const std::string& path, mode_t* permissions = nullptr) {
    std::optional<InputFile> file = InputFile::open(path);
    if (!file) {
        return systemError(FileErrorKind::CannotOpen, errno);
    }
    if (file->size() > kMaxProfileFileSize) {
        return tooLarge();
    }
    if (permissions != nullptr) {
        *permissions = static_cast<mode_t>(file->permissions());
    }
    std::string text;
    std::uint8_t chunk[4096];
    for (;;) {
        const std::optional<std::size_t> got = file->read(chunk);
        if (!got) {
            return systemError(FileErrorKind::ReadFailed, errno);
        }
        if (text.size() + *got > kMaxProfileFileSize) {
            return tooLarge();
        }
        text.append(reinterpret_cast<const char*>(chunk), *got);
        if (*got < sizeof chunk) {
            return text;
        }
    }
}

bool replaceFile(const std::string& path, std::string_view text,
                 std::optional<mode_t> permissions) {
    FileOps& fileOps = realFileOps();
    const std::string directory = directoryOf(path);
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()),
                                              text.size());
    const TemporaryMode mode =
        permissions ? TemporaryMode{*permissions, true} : TemporaryMode{0666, false};
    const std::optional<std::string> temporary =
        writeTemporaryFile(fileOps, directory, fileNameOf(path), bytes, mode);
    if (!temporary) {
        return false;
    }
    if (fileOps.rename(*temporary, path) != 0) {
        fileOps.remove(*temporary);
        return false;
    }
    fileOps.fsyncDirectory(directory);
    return true;
}

}  // namespace

std::string profileValue(std::string_view iniText, std::string_view section, std::string_view key,
                         std::string_view defaultValue) {
    const std::vector<Line> lines = splitLines(iniText);
    const KeyLocation location = locate(lines, section, key);
    if (!location.key) {
        return std::string(defaultValue);
    }
    return std::string(withoutQuotes(lines[*location.key].value));
}

std::optional<std::string> withProfileValue(std::string_view iniText, std::string_view section,
                                            std::string_view key, std::string_view value) {
    if (!storable(section, key, value)) {
        return std::nullopt;
    }
    const std::vector<Line> lines = splitLines(iniText);
    const KeyLocation location = locate(lines, section, key);
    if (location.key) {
        return replacedValue(iniText, lines[*location.key], value);
    }
    if (location.section) {
        return insertedKey(iniText, lines[location.lastLineOfSection], key, value);
    }
    return appendedSection(iniText, section, key, value);
}

ReadResult<std::string> readProfileFile(const std::string& iniPath) {
    ReadResult<std::string> text = readSmallFile(iniPath);
    if (!text) {
        FileError error = std::move(text).error();
        error.file = iniPath;
        return error;
    }
    return text;
}

std::string readProfileString(const std::string& iniPath, std::string_view section,
                              std::string_view key, std::string_view defaultValue) {
    const ReadResult<std::string> text = readSmallFile(iniPath);
    if (!text) {
        return std::string(defaultValue);
    }
    return profileValue(*text, section, key, defaultValue);
}

bool writeProfileString(const std::string& iniPath, std::string_view section, std::string_view key,
                        std::string_view value) {
    // Through a symbolic link the file it points at is the settings file; renaming over the
    // link would cut it off.
    const std::string resolved = resolvedPath(iniPath);
    const std::string path = resolved.empty() ? iniPath : resolved;
    mode_t permissions = 0;
    ReadResult<std::string> text = readSmallFile(path, &permissions);
    std::optional<mode_t> keptPermissions;
    if (text) {
        keptPermissions = permissions;
    } else if (resolved.empty()) {
        text = std::string();  // no such file yet: create it
    } else {
        return false;  // there, but unreadable, not a file, or too large: leave it alone
    }
    const std::optional<std::string> updated = withProfileValue(*text, section, key, value);
    if (!updated) {
        return false;
    }
    return replaceFile(path, *updated, keptPermissions);
}

}  // namespace wemb::platform
