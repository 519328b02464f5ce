#include "cli/FileErrorReport.h"

#include "cli/DisplayText.h"

namespace wemb::cli {

std::string reasonLine(const FileError& error) {
    return displayName(error.file) + ": " + describe(error);
}

void writeErrorField(JsonWriter& json, const std::optional<FileError>& error) {
    json.key("error");
    if (!error) {
        json.null();
        return;
    }
    json.beginObject();
    json.key("file").value(displayName(error->file));
    json.key("kind").value(kindName(error->kind));
    if (error->offset) {
        json.key("offset").value(static_cast<std::int64_t>(*error->offset));
    }
    if (error->position) {
        json.key("line").value(error->position->line);
        json.key("column").value(error->position->column);
    }
    json.key("detail").value(error->detail);
    json.endObject();
}

void writeReadFailureFields(JsonWriter& json, const std::optional<FileError>& readError,
                            const std::optional<FileError>& failedLibrary) {
    json.key("failedLibrary");
    if (failedLibrary) {
        json.value(displayName(failedLibrary->file));
    } else {
        json.null();
    }
    writeErrorField(json, readError ? readError : failedLibrary);
}

}  // namespace wemb::cli
