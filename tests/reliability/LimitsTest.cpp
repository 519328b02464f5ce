// Limits on what a file can make the program do: a data file above 1 GiB is refused before it
// is read, and no count in a library file can make its reader allocate more than a fixed
// multiple of the file's own size.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "library/BinaryLibraryReader.h"
#include "library/text/TextLibraryReader.h"
#include "tests/library/LibraryTestSupport.h"
#include "tests/reliability/AllocationCounter.h"
#include "tests/reliability/JobScene.h"
#include "tools/gen/BinaryLibraryBuilder.h"
#include "tools/gen/DataFileBuilder.h"
#include "tools/gen/TextLibraryBuilder.h"

namespace wemb::testing {
namespace {

TEST(Limits, DataFilesAbove1GiBAreRefusedUnread) {
    const std::uintmax_t sizes[] = {(std::uintmax_t{1} << 30) + 1,
                                    std::uintmax_t{1} << 32};  // the second is 0 in 32 bits
    for (const std::uintmax_t size : sizes) {
        SCOPED_TRACE(size);
        TempDirectory dir;
        // A valid first sheet, made sparse up to the size.
        writeFile(dir.file("huge.CE2"), gen::DataFileBuilder().header().part({}).bytes());
        std::filesystem::resize_file(dir.file("huge.CE2"), size);
        resetPeakMemory();
        const JobReport report = JobScene::runOn(dir.file("huge.CE2"));
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

// Component records laid over each other: every record starts 4 bytes after the last, and
// each claims 3840 pins of 4 bytes from the same shared run of bytes. No real library can hold
// that many pins in its size.
std::vector<std::uint8_t> overlappingComponents(std::uint16_t entries) {
    const std::uint32_t table = kBinaryHeadSize + 4u * entries;  // names all at 0
    const std::uint32_t strings = table + 2u * entries;
    const std::uint32_t area = strings + 2;
    gen::BuiltBinaryLibrary library = gen::BinaryLibraryBuilder().build();
    library.bytes.resize(area + 4u * entries + 12 + 4 * 0x0F00, 0);
    library.putU16(16, entries);
    const std::uint32_t blocks[] = {kBinaryHeadSize, table, area, 0, 0, strings};
    for (std::size_t i = 0; i < 6; ++i) {
        library.putU32(18 + 4 * i, blocks[i]);  // the head's six block positions
    }
    for (std::uint16_t i = 0; i < entries; ++i) {
        library.putU16(table + 2u * i, static_cast<std::uint16_t>(4 * i));
    }
    library.putU8(strings, 'A');
    // Repeated, these four bytes read as: no pattern (0xFFFF), block count 0, prefix and pin
    // name offset 0x0F00 (an empty string inside the run), 0x0F00 pins of no name.
    for (std::size_t at = area; at + 4 <= library.bytes.size(); at += 4) {
        library.putU32(at, 0x0F00FFFF);
    }
    return library.bytes;
}

// Many small components that all show one large bitmap; each part gets its own copy.
std::vector<std::uint8_t> componentsSharingABitmap(int entries) {
    gen::BinaryLibraryBuilder builder;
    builder.addEntry(
        "R", builder.addComponent(
                 {.bitmap = gen::BinaryBitmap{640, 100, std::vector<std::uint8_t>(8000, 0x5A)}}));
    for (int i = 1; i < entries; ++i) {
        builder.addEntry("R", builder.addComponent({}));
    }
    gen::BuiltBinaryLibrary library = builder.build();
    for (const std::uint32_t record : library.layout.components) {
        library.putU16(record + 8, 0);  // the first component's pattern
    }
    return library.bytes;
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

TEST(Limits, NoLibraryCountAllocatesBeyondAMultipleOfTheFileSize) {
    const struct {
        const char* input;
        std::vector<std::uint8_t> bytes;
        bool text;
    } cases[] = {
        {"binary components whose pins overlap", overlappingComponents(200), false},
        {"binary components that share one large bitmap", componentsSharingABitmap(2000), false},
        {"text pins of a part with 256 blocks", manyPinsOfManyBlocks(2000), true},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.input);
        Library library;
        // The binary reader's work buffer, made before any allocation is counted.
        std::vector<std::uint8_t> workBuffer(row.text ? 0 : kBinaryBodyCapacity);
        resetPeakMemory();
        if (row.text) {
            (void)readTextLibrary(library, row.bytes);
        } else {
            (void)readBinaryBytes(library, row.bytes, workBuffer);
        }
        const std::size_t allocated = peakMemorySinceReset();
        EXPECT_LE(allocated, kAllocationPerInputByte * row.bytes.size() + kAllocationSlack)
            << allocated << " bytes for a file of " << row.bytes.size();
    }
}

}  // namespace
}  // namespace wemb::testing
