#include "schematic/Document.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "schematic/CountedString.h"
#include "tools/gen/DataFileBuilder.h"

namespace wemb {
namespace {

using gen::DataFileBuilder;
using Bytes = std::vector<std::uint8_t>;

gen::PartSpec partAt(std::int16_t x) {
    return {.x = x, .partName = "74HC00", .reference = "U1", .libraryName = "7400"};
}

const auto cut = [](const Bytes& b, std::size_t n) { return Bytes(b.begin(), b.begin() + n); };
const auto withByte = [](Bytes bytes, std::size_t at, std::uint8_t value) {
    bytes[at] = value;
    return bytes;
};

// What a file reads as: "PARTS parts, SHEETS sheets", or "KIND at PLACE: DETAIL".
std::string readAs(const Bytes& bytes) {
    const ReadResult<Document> read = Document::parse(bytes);
    if (!read) {
        return std::string(kindName(read.error().kind)) + " at " + describe(read.error());
    }
    const auto last = read->sheet(read->sheetCount() - 1);  // the sheets run on to the file's end
    EXPECT_EQ(Bytes(read->sheet(0).data(), last.data() + last.size()), bytes);
    return std::to_string(read->parts().size()) + " parts, " + std::to_string(read->sheetCount()) +
           " sheets";
}

#define MAGIC(n) "\"VU ZUVI RARE $000" n "\\x1A\\x00\""
#define FOUND(text) \
    "badMagic at byte 2: expected " MAGIC("0") " or " MAGIC("1") " but found \"" text "\""

TEST(DocumentParse, AcceptsWellFormedFilesAndRefusesTheRest) {
    const Bytes oneHeader = DataFileBuilder().header().bytes();
    const auto variable = [](std::uint8_t type, std::int16_t length) {
        return DataFileBuilder().header().variableRecord(type, length).bytes();
    };
    std::vector<std::pair<Bytes, std::string>> cases = {
        // header only
        {oneHeader, "0 parts, 1 sheets"},
        // magic $0001
        {DataFileBuilder().header(true).part(partAt(1)).bytes(), "1 parts, 1 sheets"},
        // variable record of 24 bytes is skipped whole
        {DataFileBuilder().header().variableRecord(200, 24).part(partAt(1)).bytes(),
         "1 parts, 1 sheets"},
        // variable record of type 16
        {variable(16, 12), "0 parts, 1 sheets"},
        // variable record of type 255
        {variable(255, 40), "0 parts, 1 sheets"},
        // variable length 0
        {variable(20, 0), "badRecordLength at byte 60: record (type 20) gives its length as 0"},
        // variable length negative
        {variable(20, -4), "badRecordLength at byte 60: record (type 20) gives its length as -4"},
        // variable length past the end
        {cut(variable(20, 40), 60 + 39),
         "pastEnd at byte 60: record (type 20, 40 bytes) runs past the end of the file (39 bytes "
         "left)"},
        // variable record cut before its length field
        {cut(variable(20, 40), 60 + 11),
         "pastEnd at byte 60: record (type 20) runs past the end of the file before its length "
         "field (11 bytes left)"},
        // header record cut short
        {cut(oneHeader, 59),
         "pastEnd at byte 0: header record (type 9, 60 bytes) runs past the end of the file (59 "
         "bytes left)"},
        // shorter than the magic
        {cut(oneHeader, 21),
         "tooShort at the file is 21 bytes long, too short for the magic of a header record (22 "
         "bytes)"},
        // lower-case magic
        {withByte(oneHeader, 2, 'v'), FOUND("vU ZUVI RARE $0000\\x1A\\x00")},
        // magic of another version
        {withByte(oneHeader, 18, '2'), FOUND("VU ZUVI RARE $0020\\x1A\\x00")},
        // magic without 0x1A
        {withByte(oneHeader, 20, 0), FOUND("VU ZUVI RARE $0000\\x00\\x00")},
        // magic not terminated
        {withByte(oneHeader, 21, ' '), FOUND("VU ZUVI RARE $0000\\x1A ")},
        // first record not a header
        {withByte(oneHeader, 0, 7),
         "noLeadingHeader at byte 0: the file begins with a record of type 7, not with a header "
         "record (type 9)"},
    };
    for (std::uint8_t type = 0; type < 16; ++type) {
        if (type != 8 && type != 9) {
            cases.emplace_back(DataFileBuilder().header().record(type).part(partAt(1)).bytes(),
                               type < 10 ? "1 parts, 1 sheets"
                                         : "invalidRecordType at byte 60: invalid record type " +
                                               std::to_string(type) + " (10 to 15 have no length)");
        }
    }
    for (const auto& [bytes, expected] : cases) {
        EXPECT_EQ(readAs(bytes), expected) << &bytes - &cases[0].first;
    }
}

// Cut between records the file reads; cut anywhere else it fails at the record it cuts.
TEST(DocumentParse, AFileCutAnywhereButBetweenRecordsFailsAtTheRecordItCuts) {
    DataFileBuilder builder;
    builder.header().record(0).part(partAt(5)).variableRecord(30, 20).record(7).header();
    const Bytes whole = builder.bytes();
    const std::vector<std::size_t> starts = {0, 60, 66, 126, 146, 184, 244};
    for (std::size_t size = 0; size <= whole.size(); ++size) {
        const ReadResult<Document> parsed = Document::parse(cut(whole, size));
        if (size > 0 && std::find(starts.begin(), starts.end(), size) != starts.end()) {
            EXPECT_TRUE(parsed) << size;
            continue;
        }
        ASSERT_FALSE(parsed) << size;
        const bool tooShort = size < 22;
        EXPECT_EQ(parsed.error().kind, tooShort ? FileErrorKind::TooShort : FileErrorKind::PastEnd);
        if (!tooShort) {
            EXPECT_EQ(parsed.error().offset,
                      *(std::upper_bound(starts.begin(), starts.end(), size) - 1))
                << size;
        }
    }
}

// Three files joined: a part, a record and a part, nothing; each sheet is one file again.
TEST(DocumentSheets, JoinedFilesSplitBackIntoTheirSheets) {
    DataFileBuilder builder;
    builder.header().part(partAt(100)).header(true).record(2).part(partAt(100)).header();
    const Document document = Document::parse(builder.bytes()).value();
    ASSERT_EQ(document.sheetCount(), 3);
    for (const auto& [sheet, start, size] : {std::tuple(0, 0, 120), {1, 120, 130}, {2, 250, 60}}) {
        EXPECT_EQ(document.sheet(sheet).data() - document.sheet(0).data(), start) << sheet;
        EXPECT_EQ(document.sheet(sheet).size(), size) << sheet;
    }
    ASSERT_EQ(document.parts().size(), 2u);
    EXPECT_EQ(document.parts()[0].x(), 5100);
    EXPECT_EQ(document.parts()[1].x(), 10100);
    EXPECT_EQ(document.sheetOf(document.offsetOf(document.parts()[1])), 1);
    EXPECT_EQ(document.sheetOf(305), 2);
    EXPECT_EQ(Document::sheetFileName("C:\\d\\amp.CE2", 0), "C:\\d\\amp.CE2");
    EXPECT_EQ(Document::sheetFileName("C:\\d\\amp.CE2", 1), "C:\\d\\amp.CE2-01");
}

TEST(DocumentSheets, SheetsBeyondTheSixtyThirdBelongToIt) {
    DataFileBuilder builder;
    for (int i = 0; i < 70; ++i) {
        builder.header().part(partAt(1));
    }
    const Bytes bytes = builder.bytes();
    const Document document = Document::parse(bytes).value();
    ASSERT_EQ(document.sheetCount(), kMaxSheets);
    EXPECT_EQ(document.parts()[69].x(), 1 + 63 * kSheetXOffset);  // no further offset past it
    const auto last = document.sheet(62);  // from the 63rd header to the end: 8 headers, 8 parts
    EXPECT_EQ(last.size(), 8u * 120u);
    EXPECT_EQ(last.data() + last.size(), document.sheet(0).data() + bytes.size());
    EXPECT_EQ(document.sheetOf(bytes.size() - 1), 62);
}

// The references and block numbers as changed, laid over their records: in the copy of the whole
// file the document makes when asked (again after later changes), and in the pieces it streams
// each sheet in, wherever a piece boundary falls. Records of many lengths move the parts against
// the boundaries; a refused piece ends the stream.
TEST(DocumentSheets, ChangedFieldsLieOverTheirRecordsInTheCopyAndInEveryPiece) {
    DataFileBuilder builder;
    builder.header();
    for (int i = 0; i < 60000; ++i) {  // 1.5 MB a sheet: a piece boundary in each
        if (i % 20000 == 19999) {
            builder.header();
        }
        builder.variableRecord(20, static_cast<std::int16_t>(12 + i % 13)).part(partAt(1));
    }
    Bytes expected = builder.bytes();
    Document document = Document::parse(expected).value();
    ASSERT_EQ(document.sheetCount(), 4);
    document.sheet(0);  // the copy made before the changes
    for (std::size_t i = 0; i < document.parts().size(); ++i) {
        PartEntry& part = document.parts()[i];
        const std::string reference = std::string("R").append(std::to_string(i));
        const std::size_t at = document.offsetOf(part);
        writeCountedString(reference, part.referenceField());
        writeCountedString(reference, std::span(expected).subspan(at + PartEntry::kReferenceOffset,
                                                                  PartEntry::kReferenceSize));
        part.setBlockNumber(static_cast<std::uint8_t>(i % 251));
        expected[at + PartEntry::kBlockNumberOffset] = static_cast<std::uint8_t>(i % 251);
    }
    const auto last = document.sheet(3);
    EXPECT_EQ(Bytes(document.sheet(0).data(), last.data() + last.size()), expected);
    Bytes streamed;
    for (int sheet = 0; sheet < document.sheetCount(); ++sheet) {
        EXPECT_TRUE(document.writeSheet(sheet, [&](std::span<const std::uint8_t> piece) {
            streamed.insert(streamed.end(), piece.begin(), piece.end());
            return true;
        }));
    }
    EXPECT_EQ(streamed, expected);
    int offered = 0;
    EXPECT_FALSE(document.writeSheet(0, [&](auto) { return ++offered < 2; }));
    EXPECT_EQ(offered, 2);
}

}  // namespace
}  // namespace wemb
