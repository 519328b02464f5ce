#pragma once
// INI-format settings files read and written the way the Windows private-profile functions do:
// section and key names match ASCII case-insensitively (double-byte CP932 characters exactly),
// the first matching section and the first matching key in it win, blanks around keys and
// values are dropped, one pair of matching quotes around a value is removed, and lines that
// begin with ";" are comments. Values are bytes and come back unchanged.
//
// The in-memory forms do the work; the file forms only read and write whole files, so that the
// rules can be exercised without touching a disk.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "reading/ReadResult.h"

namespace wemb::platform {

// Settings files are small; anything larger is not one and is treated as absent (read) or
// left alone (write), so that a stray huge file cannot exhaust memory.
inline constexpr std::size_t kMaxProfileFileSize = 16u * 1024u * 1024u;

// The value of `key` in `section` of `iniText`, or `defaultValue` when the section or the key
// is missing.
std::string profileValue(std::string_view iniText, std::string_view section, std::string_view key,
                         std::string_view defaultValue = {});

// `iniText` with `key` in `section` set to `value`. Every other line stays as it was (comments,
// order, other sections, line-end style). A missing key is added after the last key of the
// section, a missing section at the end of the text. Nullopt when the names or the value cannot
// be stored in an INI line (line breaks or NUL bytes anywhere; an empty key, or a key containing
// "=" or beginning with ";" or "["; a section containing "]").
std::optional<std::string> withProfileValue(std::string_view iniText, std::string_view section,
                                            std::string_view key, std::string_view value);

// The whole text of the settings file at `iniPath`, or why it cannot be read: it is missing or
// unreadable (the system's words), not a regular file, or larger than kMaxProfileFileSize.
ReadResult<std::string> readProfileFile(const std::string& iniPath);

// profileValue over the file at `iniPath`; a missing, unreadable, non-regular or oversized file
// gives `defaultValue`.
std::string readProfileString(const std::string& iniPath, std::string_view section,
                              std::string_view key, std::string_view defaultValue = {});

// Stores one key in the file at `iniPath`, creating the file or the section when missing. The
// new text is written to a temporary file beside it and renamed over it, so the file is always
// either the old one or the new one, never half written. A symbolic link is followed and its
// target replaced; an existing file keeps its permission bits. False on any failure, with the
// file unchanged.
bool writeProfileString(const std::string& iniPath, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace wemb::platform
