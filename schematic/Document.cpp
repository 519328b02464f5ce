#include "schematic/Document.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <string_view>

namespace wemb {
namespace {

constexpr std::uint8_t kPartRecord = 8;
constexpr std::uint8_t kHeaderRecord = 9;
constexpr std::size_t kMagicOffset = 2;
constexpr std::size_t kMinimumFileSize = 22;  // the header up to the magic's terminator
constexpr std::size_t kVariableLengthOffset = 10;

// Both magics are accepted alike; the header is written back unchanged, so a file keeps its own.
constexpr std::array<std::string_view, 2> kMagics = {
    std::string_view("VU ZUVI RARE $0000\x1a\0", 20),
    std::string_view("VU ZUVI RARE $0001\x1a\0", 20),
};

std::string_view magicIn(std::span<const std::uint8_t> bytes) {
    return std::string_view(reinterpret_cast<const char*>(bytes.data()) + kMagicOffset,
                            kMagics[0].size());
}

bool hasMagic(std::span<const std::uint8_t> bytes) {
    return std::find(kMagics.begin(), kMagics.end(), magicIn(bytes)) != kMagics.end();
}

std::string recordName(std::uint8_t type) {
    const std::string number = "(type " + std::to_string(type);
    if (type == kPartRecord) {
        return "part record " + number;
    }
    if (type == kHeaderRecord) {
        return "header record " + number;
    }
    return "record " + number;
}

FileError pastEnd(std::size_t offset, const std::string& what, std::size_t remaining) {
    return errorAt(
        FileErrorKind::PastEnd, offset,
        what + " runs past the end of the file (" + counted(remaining, "byte", "bytes") + " left)");
}

// Types 0 to 9 are fixed-length; 10 to 15 are invalid; from 16 on, a record gives its length.
constexpr std::array<std::size_t, 10> kFixedLengths = {6, 6, 10, 10, 10, 18, 18, 38, 60, 60};

// The length of a fixed-length record that lies wholly inside the data, or 0: the one check the
// walk makes for nearly every record of a large file.
std::size_t fixedLengthInside(std::span<const std::uint8_t> bytes, std::size_t offset) {
    const std::uint8_t type = bytes[offset];
    if (type >= kFixedLengths.size() || kFixedLengths[type] > bytes.size() - offset) {
        return 0;
    }
    return kFixedLengths[type];
}

// The length of the record at `offset`, or why it has none. The record and, for a variable-length
// record, its length field must lie wholly inside the data.
ReadResult<std::size_t> recordLength(std::span<const std::uint8_t> bytes, std::size_t offset) {
    const std::uint8_t type = bytes[offset];
    const std::size_t remaining = bytes.size() - offset;
    std::size_t length = 0;
    if (type < kFixedLengths.size()) {
        length = kFixedLengths[type];
    } else if (type < 16) {
        return errorAt(
            FileErrorKind::InvalidRecordType, offset,
            "invalid record type " + std::to_string(type) + " (10 to 15 have no length)");
    } else {
        if (remaining < kVariableLengthOffset + 2) {
            return errorAt(FileErrorKind::PastEnd, offset,
                           recordName(type) +
                               ") runs past the end of the file before its length field (" +
                               counted(remaining, "byte", "bytes") + " left)");
        }
        const auto field =
            static_cast<std::int16_t>(bytes[offset + kVariableLengthOffset] |
                                      (bytes[offset + kVariableLengthOffset + 1] << 8));
        if (field <= 0) {
            return errorAt(FileErrorKind::BadRecordLength, offset,
                           recordName(type) + ") gives its length as " + std::to_string(field));
        }
        length = static_cast<std::size_t>(field);
    }
    if (length > remaining) {
        return pastEnd(offset, recordName(type) + ", " + std::to_string(length) + " bytes)",
                       remaining);
    }
    return length;
}

}  // namespace

ReadResult<Document> Document::parse(std::vector<std::uint8_t> bytes) {
    Document document;
    document.owned_ = std::move(bytes);
    document.bytes_ = document.owned_;  // a vector's elements stay put when it is moved
    return walk(std::move(document));
}

ReadResult<Document> Document::parse(std::span<const std::uint8_t> bytes,
                                     std::shared_ptr<const void> keeper) {
    Document document;
    document.keeper_ = std::move(keeper);
    document.bytes_ = bytes;
    return walk(std::move(document));
}

ReadResult<Document> Document::walk(Document document) {
    const std::span<const std::uint8_t> bytes = document.bytes_;
    if (bytes.size() < kMinimumFileSize) {
        return fileError(FileErrorKind::TooShort,
                         "the file is " + counted(bytes.size(), "byte", "bytes") +
                             " long, too short for the magic of a header record (22 bytes)");
    }
    if (!hasMagic(bytes)) {
        return errorAt(FileErrorKind::BadMagic, kMagicOffset,
                       "expected " + quoted(kMagics[0]) + " or " + quoted(kMagics[1]) +
                           " but found " + quoted(magicIn(bytes)));
    }
    // Writing back starts at the first header record, so bytes before it would be lost.
    if (bytes[0] != kHeaderRecord) {
        return errorAt(FileErrorKind::NoLeadingHeader, 0,
                       "the file begins with a record of type " + std::to_string(bytes[0]) +
                           ", not with a header record (type 9)");
    }

    // Room for as many parts as the file could hold, so that the entries of a large drawing are
    // never copied to a larger array: a reservation costs address space until it is filled.
    document.parts_.reserve(bytes.size() / kPartRecordSize);
    std::int32_t sheetXOffset = 0;
    std::size_t offset = 0;
    while (offset < bytes.size()) {
        std::size_t length = fixedLengthInside(bytes, offset);
        if (length == 0) {
            const ReadResult<std::size_t> checked = recordLength(bytes, offset);
            if (!checked) {
                return checked.error();
            }
            length = *checked;
        }
        const std::uint8_t type = bytes[offset];
        if (type == kPartRecord) {
            document.parts_.emplace_back(bytes.subspan(offset).first<kPartRecordSize>(),
                                         sheetXOffset);
        } else if (type == kHeaderRecord &&
                   document.sheetStarts_.size() < static_cast<std::size_t>(kMaxSheets)) {
            document.sheetStarts_.push_back(offset);
            sheetXOffset += kSheetXOffset;
        }
        offset += length;
    }
    document.sheetStarts_.push_back(offset);
    return document;
}

std::span<const std::uint8_t> Document::sheet(int index) const {
    if (current_.empty()) {
        current_.assign(bytes_.begin(), bytes_.end());
    }
    for (const PartEntry& part : parts_) {
        part.layOver(std::span(current_).subspan(offsetOf(part)).first<kPartRecordSize>());
    }
    const auto i = static_cast<std::size_t>(index);
    return std::span<const std::uint8_t>(current_).subspan(sheetStarts_[i],
                                                           sheetStarts_[i + 1] - sheetStarts_[i]);
}

bool Document::writeSheet(int index,
                          const std::function<bool(std::span<const std::uint8_t>)>& write) const {
    // A piece small enough to stay in the cache between the copy and the write, and large enough
    // that the write calls cost nothing: 1 MB saves 5 ms on a 60 MB sheet against 256 KB.
    constexpr std::size_t kPieceSize = std::size_t{1} << 20;
    const auto i = static_cast<std::size_t>(index);
    const std::size_t end = sheetStarts_[i + 1];
    auto part = std::lower_bound(
        parts_.begin(), parts_.end(), sheetStarts_[i],
        [this](const PartEntry& p, std::size_t offset) { return offsetOf(p) < offset; });
    std::vector<std::uint8_t> piece;
    for (std::size_t start = sheetStarts_[i]; start < end;) {
        std::size_t stop = std::min(end, start + kPieceSize);
        auto next = part;
        for (; next != parts_.end() && offsetOf(*next) < stop; ++next) {
            stop = std::max(stop, offsetOf(*next) + kPartRecordSize);  // never cut a record
        }
        piece.assign(bytes_.begin() + static_cast<std::ptrdiff_t>(start),
                     bytes_.begin() + static_cast<std::ptrdiff_t>(stop));
        for (; part != next; ++part) {
            part->layOver(
                std::span(piece).subspan(offsetOf(*part) - start).first<kPartRecordSize>());
        }
        if (!write(piece)) {
            return false;
        }
        start = stop;
    }
    return true;
}

int Document::sheetOf(std::size_t fileOffset) const {
    const auto next = std::upper_bound(sheetStarts_.begin(), sheetStarts_.end() - 1, fileOffset);
    return std::max(0, static_cast<int>(next - sheetStarts_.begin()) - 1);
}

std::string Document::sheetFileName(const std::string& fileName, int index) {
    if (index == 0) {
        return fileName;
    }
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "-%02d", index);
    return fileName + suffix;
}

}  // namespace wemb
