#pragma once
// The reader of the editor's binary part libraries. A file is a 54-byte head (signature, entry
// count and the absolute positions of six blocks) followed by the blocks: the name table, the
// component table, the component records with their pins, the pattern table, the bitmaps and the
// string pool. Names with equal component-table values are aliases of one part.
//
// Everything a position or an offset leads to must lie inside the bytes that were read; anything
// else fails the whole read, because a library that is half understood would give wrong block
// counts without a word.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "library/ByteCursor.h"
#include "library/Library.h"
#include "reading/ReadResult.h"

namespace wemb {

inline constexpr std::size_t kBinarySignatureReadSize = 16;
inline constexpr std::size_t kBinaryHeadSize = 54;
// Everything after the head is held in one work buffer of this size.
inline constexpr std::size_t kBinaryBodyCapacity = 65535;
inline constexpr std::size_t kMaxBinaryLibrarySize = kBinaryHeadSize + kBinaryBodyCapacity;
// Records may share bytes, so a small file could name the same pins and bitmaps thousands of
// times over; what the parts hold in memory is kept to this many times the file's size.
inline constexpr std::size_t kMaxDecodedBytesPerFileByte = 128;

// True when the first 14 of `firstBytes` are "LIB FOR RI000" and 0x1A; what follows plays no
// part.
bool checkBinarySignature(std::span<const std::uint8_t> firstBytes);

// Reads a library from its head (the first kBinaryHeadSize bytes of the file) and its body
// (every byte after the head, at most kBinaryBodyCapacity). The library is filled only when the
// whole file was understood; on any failure it is left as it was, and the error gives the
// offset from the file's first byte of what broke the read (the file name is left to the caller).
ReadResult<> readBinaryLibrary(Library& library, std::span<const std::uint8_t> head,
                               std::span<const std::uint8_t> body);

// Reads a library from the whole file held in memory: signature, size limit, head and body.
ReadResult<> readBinaryLibraryBytes(Library& library, std::span<const std::uint8_t> file);

// The errors of a file that is too short, too long, or lacks the signature.
FileError binaryLibraryTooShort(std::size_t fileSize);
FileError binaryLibraryTooLong();
FileError binarySignatureMismatch(std::span<const std::uint8_t> firstBytes);

}  // namespace wemb
