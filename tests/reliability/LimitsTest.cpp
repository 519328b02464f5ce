// Limits on what a file can make the program do: a data file above 1 GiB is refused before it
// is read, and no count in a library file can make its reader allocate more than a fixed
// multiple of the file's own size.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "library/BinaryLibraryReader.h"
#include "library/text/TextLibraryReader.h"
#include "tests/library/LibraryTestSupport.h"
#include "tests/reliability/AllocationCounter.h"
#include "tests/reliability/JobScene.h"
#include "tools/gen/DataFileBuilder.h"
#include "tools/gen/TextLibraryBuilder.h"

namespace wemb::testing {
namespace {

// A data file with a valid first sheet, made sparse up to `size` bytes.
void writeSparseDrawing(const std::string& path, std::uintmax_t size) {
    writeFile(path, gen::DataFileBuilder().header().part({.reference = "R1"}).bytes());
    std::filesystem::resize_file(path, size);
}

TEST(Limits, DataFilesAbove1GiBAreRefusedUnread) {
    const std::uintmax_t sizes[] = {(std::uintmax_t{1} << 30) + 1,
                                    std::uintmax_t{1} << 32};  // the second is 0 in 32 bits
    for (const std::uintmax_t size : sizes) {
        SCOPED_TRACE(size);
        TempDirectory dir;
        writeSparseDrawing(dir.file("huge.CE2"), size);
        resetPeakMemory();
        JobRequest request;
        request.fileName = dir.file("huge.CE2");
        const JobReport report = runJob(request, JobEnvironment{nullptr, "/nonexistent"});
        EXPECT_EQ(report.outcome, MessageId::ReadFailed);
        EXPECT_EQ(report.readError.value().kind, FileErrorKind::TooLarge);
        EXPECT_LT(peakMemorySinceReset(), std::size_t{1} << 20);
        EXPECT_EQ(std::filesystem::file_size(dir.file("huge.CE2")), size);
        EXPECT_EQ(dir.names(), std::vector<std::string>{"huge.CE2"});
        EXPECT_EQ(runCli({dir.file("huge.CE2")}).exitStatus, 1);
    }
}

// What a reader may hold at once: this many times the bytes of its input, plus a little.
constexpr std::size_t kAllocationPerInputByte = 320;
constexpr std::size_t kAllocationSlack = 64 * 1024;

void putU16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void putU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    putU16(bytes, at, static_cast<std::uint16_t>(value));
    putU16(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
}

// A binary library head: signature, entry count and the six block positions.
std::vector<std::uint8_t> binaryHead(std::uint16_t entries, const std::uint32_t (&blocks)[6]) {
    std::vector<std::uint8_t> bytes(kBinaryHeadSize, 0);
    const std::string signature = "LIB FOR RI000\x1a";
    std::copy(signature.begin(), signature.end(), bytes.begin());
    putU16(bytes, 16, entries);
    for (std::size_t i = 0; i < 6; ++i) {
        putU32(bytes, 18 + 4 * i, blocks[i]);
    }
    return bytes;
}

// Component records laid over each other: every record starts 4 bytes after the last, and
// each claims 3840 pins of 4 bytes from the same shared run of bytes. No real library can hold
// that many pins in its size.
std::vector<std::uint8_t> overlappingComponents(std::uint16_t entries) {
    constexpr std::size_t kPins = 0x0F00;
    const std::uint32_t names = kBinaryHeadSize;
    const std::uint32_t table = names + 4u * entries;
    const std::uint32_t strings = table + 2u * entries;
    const std::uint32_t area = strings + 2;
    std::vector<std::uint8_t> bytes = binaryHead(entries, {names, table, area, 0, 0, strings});
    bytes.resize(area + 4u * entries + 12 + 4 * kPins, 0);
    for (std::uint16_t i = 0; i < entries; ++i) {
        putU16(bytes, table + 2u * i, static_cast<std::uint16_t>(4 * i));  // names all at 0
    }
    bytes[strings] = 'A';
    // Repeated, these four bytes read as: no pattern (0xFFFF), block count 0, prefix and pin
    // name offset 0x0F00 (an empty string inside the run), 0x0F00 pins of no name.
    for (std::size_t at = area; at + 4 <= bytes.size(); at += 4) {
        bytes[at] = 0xFF;
        bytes[at + 1] = 0xFF;
        bytes[at + 2] = 0x00;
        bytes[at + 3] = 0x0F;
    }
    return bytes;
}

// Many small components that all show one large bitmap; each part gets its own copy.
std::vector<std::uint8_t> componentsSharingABitmap(std::uint16_t entries) {
    constexpr std::uint16_t kWidth = 640, kHeight = 100;  // 8000 bytes of rows
    const std::uint32_t names = kBinaryHeadSize;
    const std::uint32_t table = names + 4u * entries;
    const std::uint32_t area = table + 2u * entries;
    const std::uint32_t patterns = area + 12u * entries;
    const std::uint32_t bitmaps = patterns + 6;
    const std::uint32_t strings = bitmaps + 4 + kWidth / 8 * kHeight;
    std::vector<std::uint8_t> bytes =
        binaryHead(entries, {names, table, area, patterns, bitmaps, strings});
    bytes.resize(strings + 2, 0);
    bytes[strings] = 'R';
    for (std::uint16_t i = 0; i < entries; ++i) {
        putU16(bytes, table + 2u * i, static_cast<std::uint16_t>(12 * i));
        const std::size_t record = area + 12u * i;
        bytes[record + 2] = 1;          // one block
        putU16(bytes, record + 8, 0);   // pattern 0
        putU16(bytes, record + 10, 0);  // no pins
    }
    putU16(bytes, bitmaps, kWidth);
    putU16(bytes, bitmaps + 2, kHeight);
    std::fill(bytes.begin() + bitmaps + 4, bytes.begin() + strings, 0x5A);
    return bytes;
}

// Pins of a 256-block part: each "+PIN" of a few bytes has a slot for every block.
std::vector<std::uint8_t> manyPinsOfManyBlocks(int pins) {
    gen::TextLibraryBuilder library;
    library.raw("+COMP").raw("N:BIG").raw("X:4").raw("Y:4").raw("B:256");
    for (int i = 0; i < pins; ++i) {
        library.raw("+PIN").raw("-PIN");
    }
    library.raw("-COMP");
    return library.bytes();
}

struct AllocationCase {
    const char* input;
    std::vector<std::uint8_t> (*make)();
    bool (*read)(std::span<const std::uint8_t>);
};

// The reader's work buffer, made before any allocation is counted.
std::vector<std::uint8_t> workBuffer(kBinaryBodyCapacity);

bool readBinary(std::span<const std::uint8_t> bytes) {
    Library library;
    return readBinaryBytes(library, bytes, workBuffer).has_value();
}

bool readText(std::span<const std::uint8_t> bytes) {
    Library library;
    return readTextLibrary(library, bytes).has_value();
}

TEST(Limits, NoLibraryCountAllocatesBeyondAMultipleOfTheFileSize) {
    const AllocationCase cases[] = {
        {"binary components whose pins overlap", [] { return overlappingComponents(200); },
         readBinary},
        {"binary components that share one large bitmap",
         [] { return componentsSharingABitmap(2000); }, readBinary},
        {"text pins of a part with 256 blocks", [] { return manyPinsOfManyBlocks(2000); },
         readText},
    };
    for (const AllocationCase& row : cases) {
        SCOPED_TRACE(row.input);
        const std::vector<std::uint8_t> bytes = row.make();
        resetPeakMemory();
        row.read(bytes);
        const std::size_t allocated = peakMemorySinceReset();
        EXPECT_LE(allocated, kAllocationPerInputByte * bytes.size() + kAllocationSlack)
            << allocated << " bytes for a file of " << bytes.size();
    }
}

}  // namespace
}  // namespace wemb::testing
