#pragma once
// Every text the program says to its user at the end of a job, in one place. Texts are UTF-8 here
// (the front ends print or show them as they are); "%1" stands for a file name.

#include <string>
#include <string_view>

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

}  // namespace wemb
