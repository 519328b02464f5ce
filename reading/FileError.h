#pragma once
// Why a file could not be read, said the way a compiler says it: the file, the place (a byte
// offset in a binary file, a line and column in a text file) and one line of plain ASCII that
// names what was found and what was expected. Every reader of every layer returns this one value,
// so that the front ends can show any refusal without knowing which reader made it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wemb {

enum class FileErrorKind {
    CannotOpen,         // the system refused to open it (the system's own words follow)
    Locked,             // another job holds it
    ReadFailed,         // the system failed while reading it, or it changed meanwhile
    TooLarge,           // larger than any file of its kind can be
    TooShort,           // too short to hold what every file of its kind begins with
    BadMagic,           // it does not begin with its format's signature
    NoLeadingHeader,    // a data file whose first record is not a header
    InvalidRecordType,  // a data file record type that has no length
    BadRecordLength,    // a variable length of zero or below
    PastEnd,            // a record, table or name runs past the end of the file
    BadTable,           // a table position that points into the file's own head
    NoEntries,          // a binary library that names no part
    TooMuchContent,     // records laid over each other decode to far more than the file holds
    UnexpectedToken,    // a text library token that may not stand where it stands
    BadValue,           // a text library value out of its range
    IncompleteSection,  // a text library section closed without what it needs
    EndInsideSection,   // a text library ending inside a section that must be closed
};

struct TextPosition {
    int line = 1;    // from 1
    int column = 1;  // from 1, in bytes

    friend bool operator==(const TextPosition&, const TextPosition&) = default;
};

struct FileError {
    FileErrorKind kind = FileErrorKind::CannotOpen;
    // As the caller named the file: bytes, shown escaped where the output cannot take them.
    std::string file;
    std::optional<std::uint64_t> offset;   // binary formats: from the file's first byte
    std::optional<TextPosition> position;  // text formats
    std::string detail;                    // one line of ASCII, without the file and place
    int errorNumber = 0;                   // the errno of CannotOpen and ReadFailed, else 0
};

// An error of the whole file, at no one place; at a byte offset; at a line and column.
FileError fileError(FileErrorKind kind, std::string detail);
FileError errorAt(FileErrorKind kind, std::uint64_t offset, std::string detail);
FileError errorAt(FileErrorKind kind, TextPosition position, std::string detail);
// An error of the system, in the system's words for `errorNumber`.
FileError systemError(FileErrorKind kind, int errorNumber);

// "1 byte", "20 bytes": a count with its noun, for details.
std::string counted(std::uint64_t count, std::string_view one, std::string_view many);

// The place and the detail, "byte 1234: ..." or "line 12, column 5: ...", or the detail alone
// when the error has no place. The file is left to the caller, who knows how to show it.
std::string describe(const FileError& error);

// The kind as a report names it: "pastEnd", "unexpectedToken", ...
const char* kindName(FileErrorKind kind);

// Bytes from a file as a quoted ASCII text: printable characters stay, every other byte and the
// quote and backslash show as "\xNN", and a long text is cut with "...", so that whatever a file
// holds keeps a detail on one line.
std::string quoted(std::string_view bytes);

}  // namespace wemb
