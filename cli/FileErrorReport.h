#pragma once
// How wemb-cli tells why a file could not be read: the reason in the form compilers use
// ("FILE: byte 1234: ...", printed under message 102 by printReadFailure), and the same facts as
// a JSON object for scripts. File names are shown escaped where they are not valid text.

#include <optional>

#include "cli/JsonWriter.h"
#include "reading/FileError.h"

namespace wemb::cli {

// The reason as printReadFailure puts it on its second line, without "wemb-cli: ".
std::string reasonLine(const FileError& error);

// Writes the key "error": null, or {"file", "kind", "offset" or "line" and "column", "detail"}.
void writeErrorField(JsonWriter& json, const std::optional<FileError>& error);

// Writes what a job or a check read wrong: "failedLibrary" (the library's name, or null, kept for
// scripts older than the error object) and "error", the data file's error or else the failed
// library's. Never both: libraries are read only once the drawing was.
void writeReadFailureFields(JsonWriter& json, const std::optional<FileError>& readError,
                            const std::optional<FileError>& failedLibrary);

}  // namespace wemb::cli
