#include "schematic/Document.h"

#include <gtest/gtest.h>

#include <functional>

#include "tools/gen/DataFileBuilder.h"

namespace wemb {
namespace {

using gen::DataFileBuilder;
using Bytes = std::vector<std::uint8_t>;

gen::PartSpec partAt(std::int16_t x, std::int16_t y = 0) {
    gen::PartSpec fields;
    fields.x = x;
    fields.y = y;
    fields.partName = "74HC00";
    fields.reference = "U1";
    fields.libraryName = "7400";
    return fields;
}

Bytes cut(Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

Bytes withByte(Bytes bytes, std::size_t offset, std::uint8_t value) {
    bytes[offset] = value;
    return bytes;
}

struct ParseCase {
    const char* name;
    Bytes bytes;
    std::optional<ReadError> error;  // none: the file is read
    std::size_t parts = 0;
    int sheets = 1;
};

std::vector<ParseCase> parseCases() {
    const Bytes oneHeader = DataFileBuilder().header().bytes();
    std::vector<ParseCase> cases = {
        {"header only", oneHeader, std::nullopt, 0, 1},
        {"magic $0001", DataFileBuilder().header(true).part(partAt(1)).bytes(), std::nullopt, 1},
        {"variable record of 24 bytes is skipped whole",
         DataFileBuilder().header().variableRecord(200, 24).part(partAt(1)).bytes(), std::nullopt,
         1},
        {"variable record of type 16", DataFileBuilder().header().variableRecord(16, 12).bytes(),
         std::nullopt, 0},
        {"variable record of type 255", DataFileBuilder().header().variableRecord(255, 40).bytes(),
         std::nullopt, 0},
        {"variable length 0", DataFileBuilder().header().variableRecord(20, 0).bytes(),
         ReadError::BadRecordLength},
        {"variable length negative", DataFileBuilder().header().variableRecord(20, -4).bytes(),
         ReadError::BadRecordLength},
        {"variable length past the end",
         cut(DataFileBuilder().header().variableRecord(20, 40).bytes(), 60 + 39),
         ReadError::RecordPastEnd},
        {"variable record cut before its length field",
         cut(DataFileBuilder().header().variableRecord(20, 40).bytes(), 60 + 11),
         ReadError::RecordPastEnd},
        {"part record cut short", cut(DataFileBuilder().header().part(partAt(1)).bytes(), 119),
         ReadError::RecordPastEnd},
        {"header record cut short", cut(oneHeader, 59), ReadError::RecordPastEnd},
        {"shorter than the magic", cut(oneHeader, 21), ReadError::TooShort},
        {"empty", {}, ReadError::TooShort},
        {"just the magic", cut(oneHeader, 22), ReadError::RecordPastEnd},
        {"lower-case magic", withByte(oneHeader, 2, 'v'), ReadError::BadMagic},
        {"magic of another version", withByte(oneHeader, 18, '2'), ReadError::BadMagic},
        {"magic without 0x1A", withByte(oneHeader, 20, 0), ReadError::BadMagic},
        {"magic not terminated", withByte(oneHeader, 21, ' '), ReadError::BadMagic},
        {"first record not a header", withByte(DataFileBuilder().header().bytes(), 0, 7),
         ReadError::NoLeadingHeader},
    };
    for (std::uint8_t type = 0; type < 8; ++type) {
        cases.push_back({"fixed-length record",
                         DataFileBuilder().header().record(type).part(partAt(1)).bytes(),
                         std::nullopt, 1});
    }
    for (std::uint8_t type = 10; type < 16; ++type) {
        cases.push_back({"type without a length",
                         DataFileBuilder().header().part(partAt(1)).record(type).bytes(),
                         ReadError::InvalidRecordType});
    }
    return cases;
}

TEST(DocumentParse, AcceptsWellFormedFilesAndRefusesTheRest) {
    for (const ParseCase& c : parseCases()) {
        const Document::ParseResult result = Document::parse(c.bytes);
        if (c.error) {
            EXPECT_FALSE(result.document) << c.name;
            EXPECT_EQ(result.error, *c.error) << c.name;
            continue;
        }
        ASSERT_TRUE(result.document) << c.name;
        EXPECT_EQ(result.document->parts().size(), c.parts) << c.name;
        EXPECT_EQ(result.document->sheetCount(), c.sheets) << c.name;
        EXPECT_EQ(Bytes(result.document->bytes().begin(), result.document->bytes().end()), c.bytes)
            << c.name;
    }
}

TEST(DocumentParse, AFileCutAnywhereButBetweenRecordsIsRefused) {
    DataFileBuilder builder;
    builder.header().record(0).part(partAt(5)).variableRecord(30, 20).record(7).header();
    const Bytes whole = builder.bytes();
    const std::vector<std::size_t> boundaries = {60, 66, 126, 146, 184, 244};
    for (std::size_t size = 0; size <= whole.size(); ++size) {
        const bool atBoundary =
            std::find(boundaries.begin(), boundaries.end(), size) != boundaries.end();
        EXPECT_EQ(Document::parse(cut(whole, size)).document.has_value(), atBoundary) << size;
    }
}

TEST(DocumentSheets, JoinedFilesSplitBackIntoTheirSheets) {
    const Bytes first = DataFileBuilder().header().part(partAt(100)).bytes();
    const Bytes second = DataFileBuilder().header(true).record(2).part(partAt(100)).bytes();
    const Bytes third = DataFileBuilder().header().bytes();
    Bytes joined = first;
    joined.insert(joined.end(), second.begin(), second.end());
    joined.insert(joined.end(), third.begin(), third.end());
    const Document document = std::move(Document::parse(joined).document.value());
    ASSERT_EQ(document.sheetCount(), 3);
    const Bytes sheets[] = {first, second, third};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Bytes(document.sheet(i).begin(), document.sheet(i).end()), sheets[i]) << i;
    }
    ASSERT_EQ(document.parts().size(), 2u);
    EXPECT_EQ(document.parts()[0].x, 5100);
    EXPECT_EQ(document.parts()[1].x, 10100);
    EXPECT_EQ(document.sheetOf(document.parts()[1].fileOffset()), 1);
    EXPECT_EQ(document.sheetOf(joined.size() - 1), 2);
}

TEST(DocumentSheets, SheetsBeyondTheSixtyThirdBelongToIt) {
    DataFileBuilder builder;
    for (int i = 0; i < 70; ++i) {
        builder.header().part(partAt(1));
    }
    const Bytes bytes = builder.bytes();
    const Document document = std::move(Document::parse(bytes).document.value());
    ASSERT_EQ(document.sheetCount(), kMaxSheets);
    EXPECT_EQ(document.parts()[62].x, 1 + 63 * kSheetXOffset);
    EXPECT_EQ(document.parts()[69].x, 1 + 63 * kSheetXOffset);
    // The 63rd sheet runs from its header to the end: eight headers and their parts.
    EXPECT_EQ(document.sheet(62).size(), 8u * 120u);
    EXPECT_EQ(document.sheet(62).data() + document.sheet(62).size(),
              document.bytes().data() + bytes.size());
    EXPECT_EQ(document.sheetOf(bytes.size() - 1), 62);
}

TEST(DocumentSheets, SheetFileNames) {
    const std::tuple<int, std::string_view> cases[] = {{0, "C:\\data\\amp.CE2"},
                                                       {1, "C:\\data\\amp.CE2-01"},
                                                       {12, "C:\\data\\amp.CE2-12"},
                                                       {62, "C:\\data\\amp.CE2-62"}};
    for (const auto& [index, expected] : cases) {
        EXPECT_EQ(Document::sheetFileName("C:\\data\\amp.CE2", index), expected);
    }
}

}  // namespace
}  // namespace wemb
