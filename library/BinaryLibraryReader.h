#pragma once
// The reader of the editor's binary part libraries. A file is a 54-byte head (signature, entry
// count and the absolute positions of six blocks) followed by the blocks: the name table, the
// component table, the component records with their pins, the pattern table, the bitmaps and the
// string pool. Names with equal component-table values are aliases of one part.
//
// Everything a position or an offset leads to must lie inside the bytes that were read; anything
// else fails the whole read, because a library that is half understood would give wrong block
// counts without a word.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "library/Library.h"
#include "reading/ReadResult.h"

namespace wemb {

inline constexpr std::size_t kBinaryHeadSize = 54;
// Everything after the head is held in one work buffer of this size.
inline constexpr std::size_t kBinaryBodyCapacity = 65535;

// Where the bytes of a library file come from: fills the front of `into` as far as the file goes
// and gives the count that arrived (less than asked only at its end), or why the read failed.
using ByteSource = std::function<ReadResult<std::size_t>(std::span<std::uint8_t> into)>;

// Reads a library from the start of `source`. Its first 16 bytes are read on their own, so that
// a file without the signature is refused before anything else is read; then the rest of the
// head, then the body in one read into `workBuffer` (a buffer of this call's own when it is
// smaller than kBinaryBodyCapacity). The library is filled only when the whole file was
// understood; on any failure it is left as it was, and the error gives the offset from the
// file's first byte of what broke the read (the file name is left to the caller).
ReadResult<> readBinaryLibrary(Library& library, const ByteSource& source,
                               std::span<std::uint8_t> workBuffer);

}  // namespace wemb
