#include "reading/FileError.h"

#include <cstring>

namespace wemb {
namespace {

// Enough to tell a token apart; a longer one would make the reason hard to read on one line.
constexpr std::size_t kMaxQuotedBytes = 24;

void appendHex(std::string& out, unsigned char byte) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += "\\x";
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
}

}  // namespace

FileError fileError(FileErrorKind kind, std::string detail) {
    FileError error;
    error.kind = kind;
    error.detail = std::move(detail);
    return error;
}

FileError errorAt(FileErrorKind kind, std::uint64_t offset, std::string detail) {
    FileError error;
    error.kind = kind;
    error.offset = offset;
    error.detail = std::move(detail);
    return error;
}

FileError errorAt(FileErrorKind kind, TextPosition position, std::string detail) {
    FileError error;
    error.kind = kind;
    error.position = position;
    error.detail = std::move(detail);
    return error;
}

FileError systemError(FileErrorKind kind, int errorNumber) {
    FileError error;
    error.kind = kind;
    error.systemError = errorNumber;
    // strerror's text is ASCII in the C locale the core never leaves.
    error.detail = errorNumber != 0 ? std::strerror(errorNumber) : "unknown error";
    return error;
}

std::string counted(std::uint64_t count, std::string_view one, std::string_view many) {
    return std::to_string(count) + ' ' + std::string(count == 1 ? one : many);
}

std::string describe(const FileError& error) {
    if (error.offset) {
        return "byte " + std::to_string(*error.offset) + ": " + error.detail;
    }
    if (error.position) {
        return "line " + std::to_string(error.position->line) + ", column " +
               std::to_string(error.position->column) + ": " + error.detail;
    }
    return error.detail;
}

const char* kindName(FileErrorKind kind) {
    switch (kind) {
        case FileErrorKind::CannotOpen:
            return "cannotOpen";
        case FileErrorKind::Locked:
            return "locked";
        case FileErrorKind::ReadFailed:
            return "readFailed";
        case FileErrorKind::TooLarge:
            return "tooLarge";
        case FileErrorKind::TooShort:
            return "tooShort";
        case FileErrorKind::BadMagic:
            return "badMagic";
        case FileErrorKind::NoLeadingHeader:
            return "noLeadingHeader";
        case FileErrorKind::InvalidRecordType:
            return "invalidRecordType";
        case FileErrorKind::BadRecordLength:
            return "badRecordLength";
        case FileErrorKind::PastEnd:
            return "pastEnd";
        case FileErrorKind::BadTable:
            return "badTable";
        case FileErrorKind::NoEntries:
            return "noEntries";
        case FileErrorKind::TooMuchContent:
            return "tooMuchContent";
        case FileErrorKind::UnexpectedToken:
            return "unexpectedToken";
        case FileErrorKind::BadValue:
            return "badValue";
        case FileErrorKind::IncompleteSection:
            return "incompleteSection";
        case FileErrorKind::EndInsideSection:
            return "endInsideSection";
    }
    return "";
}

std::string quoted(std::string_view bytes) {
    std::string out = "\"";
    for (const char c : bytes.substr(0, kMaxQuotedBytes)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte > 0x7E || byte == '"' || byte == '\\') {
            appendHex(out, byte);
        } else {
            out += c;
        }
    }
    out += bytes.size() > kMaxQuotedBytes ? "...\"" : "\"";
    return out;
}

}  // namespace wemb
