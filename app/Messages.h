#pragma once
// Every text the program says to its user at the end of a job, in one place. Texts are UTF-8 here
// (the front ends print or show them as they are); "%1" stands for a file name.

#include <optional>
#include <string>
#include <string_view>

#include "reading/FileError.h"

namespace wemb {

enum class MessageId {
    ReadFailed = 102,         // "reading file %1 failed"
    InitialOutOfRange = 103,  // "the initial number is out of range; the run is cancelled"
    StepOutOfRange = 104,     // "the step is out of range; the run is cancelled"
    Finished = 105,           // "processing has finished"
    WriteFailed = 106,        // "writing file %1 failed"
};

// The message's text with every "%1" replaced by `file`.
std::string messageText(MessageId id, std::string_view file = {});

// What a 102 adds under its text: where and why the file could not be read, as one line of ASCII
// without the file's name, which the message gives. Empty when there is nothing to add: no error,
// or a file that could not be opened at all.
std::string readFailureReason(const std::optional<FileError>& error);

}  // namespace wemb
