#include "reading/FileError.h"

#include <cstring>

#ifndef _WIN32
#include <locale.h>
#endif

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

// The system's words for `errorNumber`, in English whatever the user's locale: a reason is plain
// ASCII, the same on every machine, so that scripts and tests can compare it.
std::string systemText(int errorNumber) {
#ifdef _WIN32
    return std::strerror(errorNumber);
#else
    const locale_t plain = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    if (plain == static_cast<locale_t>(0)) {
        return std::strerror(errorNumber);
    }
    std::string text = strerror_l(errorNumber, plain);
    freelocale(plain);
    return text;
#endif
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
    error.errorNumber = errorNumber;
    error.detail = errorNumber != 0 ? systemText(errorNumber) : "unknown error";
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
