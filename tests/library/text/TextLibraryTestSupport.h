#pragma once
// Building and loading small text libraries in memory for the reader tests.

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "library/Library.h"
#include "library/text/TextLibraryReader.h"

namespace wemb::testing {

// The magic, then one token a line.
inline std::string textLibrary(std::initializer_list<std::string_view> lines) {
    std::string text(kTextLibraryMagic);
    text += '\n';
    for (const std::string_view line : lines) {
        text += line;
        text += '\n';
    }
    return text;
}

struct Loaded {
    bool ok = false;
    std::string refusal;  // the error's kind, place and detail when not ok
    std::unique_ptr<Library> library = std::make_unique<Library>();
};

inline Loaded loadText(const std::string& text) {
    Loaded loaded;
    const ReadResult<> read =
        readTextLibrary(*loaded.library,
                        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    loaded.ok = read.has_value();
    if (!read) {
        loaded.refusal = std::string(kindName(read.error().kind)) + " at " + describe(read.error());
    }
    return loaded;
}

// Whether a file loads, or why it is refused: "KIND at line L, column C: DETAIL".
struct Outcome {
    Outcome(bool loaded) : loads(loaded) {}
    Outcome(const char* why) : loads(false), refusal(why) {}
    bool loads;
    std::string refusal;
};

// One row of a reader table: the file, whether it loads or why not, how many entries it then
// has (-1: not checked) and what else must hold of the library.
struct ReaderCase {
    const char* fault;
    std::string text;
    Outcome outcome;
    int entries = -1;
    std::function<void(const Library&)> check = nullptr;
};

inline void runReaderCases(const std::vector<ReaderCase>& cases) {
    for (const ReaderCase& row : cases) {
        SCOPED_TRACE(row.fault);
        const Loaded loaded = loadText(row.text);
        EXPECT_EQ(loaded.refusal, row.outcome.refusal);
        ASSERT_EQ(loaded.ok, row.outcome.loads);
        if (row.entries >= 0) {
            EXPECT_EQ(loaded.library->entryCount(), row.entries);
        }
        if (row.check) {
            row.check(*loaded.library);
        }
    }
}

inline const LibraryPart& partOf(const Library& library, int entry) {
    static const LibraryPart kNone;
    const LibraryEntry* found = library.getEntry(entry);
    EXPECT_NE(found, nullptr);
    EXPECT_NE(found != nullptr ? found->part : nullptr, nullptr);
    return found != nullptr && found->part != nullptr ? *found->part : kNone;
}

}  // namespace wemb::testing
