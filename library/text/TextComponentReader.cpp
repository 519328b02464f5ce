#include "library/text/TextComponentReader.h"

#include <iterator>
#include <memory>
#include <vector>

#include "library/text/TextPinReader.h"
#include "library/text/TextSection.h"
#include "library/text/TextToken.h"

namespace wemb {

namespace {

// The name, pattern name and pins live in the caller's scratch, whose room is reused.
struct ComponentDraft {
    std::string& name;
    std::string prefix = "U";
    std::string& patternName;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t blockCount = 0;  // stays 0 when no "B" is read
    std::vector<LibraryPin>& pins;

    bool hasSize() const { return width >= 1 && height >= 1 && blockCount >= 1; }
};

// The width, height and block count as an error names them.
std::string sizeText(const ComponentDraft& draft) {
    return "width " + std::to_string(draft.width) + ", height " + std::to_string(draft.height) +
           ", blocks " + std::to_string(draft.blockCount);
}

ReadResult<> readComponentKey(ComponentDraft& draft, const KeyValue& pair,
                              const TextTokenizer& tokenizer, std::string_view token) {
    if (pair.key == "N") {
        draft.name = textValue(pair.value);
    } else if (pair.key == "R") {
        draft.prefix = textValue(pair.value);
    } else if (pair.key == "P") {
        draft.patternName = textValue(pair.value);
    } else if (pair.key == "X") {
        draft.width = integerValue(pair.value);
        if (draft.width < 0) {
            return badValue(tokenizer, token, "a width may not be negative");
        }
    } else if (pair.key == "Y") {
        draft.height = integerValue(pair.value);
        if (draft.height < 0) {
            return badValue(tokenizer, token, "a height may not be negative");
        }
    } else if (pair.key == "B") {
        // A block count may be given again only while it is still 0.
        if (draft.blockCount != 0) {
            return badValue(tokenizer, token,
                            "a second block count, after " + std::to_string(draft.blockCount));
        }
        draft.blockCount = integerValue(pair.value);
        if (draft.blockCount < 0 || draft.blockCount > kMaxBlockCount) {
            return badValue(tokenizer, token, "a block count must lie in 0 to 256");
        }
    }
    return {};
}

// Pins need the part's size and block count first: the block count sizes their number slots.
ReadResult<> readComponentSection(ComponentDraft& draft, TextTokenizer& tokenizer) {
    const auto onBegin = [&](std::string_view begin) -> ReadResult<> {
        if (begin != "+PIN") {
            return skipSection(tokenizer, begin);
        }
        if (!draft.hasSize()) {
            return errorAt(FileErrorKind::UnexpectedToken, tokenizer.position(),
                           "\"+PIN\" before the component's \"X\", \"Y\" and \"B\" are each 1 or "
                           "more (" +
                               sizeText(draft) + ")");
        }
        // Read in place; a pin that fails fails the component, which drops its pins.
        return readPin(tokenizer, draft.blockCount, draft.pins.emplace_back());
    };
    const auto onOther = [&](std::string_view other) -> ReadResult<> {
        const auto pair = splitKeyValue(other);
        if (!pair) {
            return {};
        }
        return readComponentKey(draft, *pair, tokenizer, other);
    };
    ReadResult<SectionEnd> end = readSection(tokenizer, "-COMP", onBegin, onOther);
    if (!end) {
        return std::move(end).error();
    }
    if (*end == SectionEnd::EndOfInput) {
        return {};
    }
    if (draft.name.empty()) {
        return errorAt(FileErrorKind::IncompleteSection, tokenizer.position(),
                       "\"-COMP\" closes a component without a name (\"N\")");
    }
    if (!draft.hasSize()) {
        return errorAt(
            FileErrorKind::IncompleteSection, tokenizer.position(),
            "\"-COMP\" closes a component of " + sizeText(draft) + " (each must be 1 or more)");
    }
    return {};
}

std::unique_ptr<LibraryPart> makePart(const LibraryNameIndex& names, ComponentDraft& draft) {
    auto part = std::make_unique<LibraryPart>();
    if (!draft.patternName.empty()) {
        part->pattern = names.findPattern(draft.patternName);
    }
    part->width = draft.width;
    part->height = draft.height;
    part->blockCount = draft.blockCount;
    part->prefix = std::move(draft.prefix);
    for (const LibraryPin& pin : draft.pins) {
        part->sideMask |= 1u << pinSide(pin.attributes);
    }
    // Sized exactly: the draft's list grew by doubling.
    part->pins.reserve(draft.pins.size());
    std::move(draft.pins.begin(), draft.pins.end(), std::back_inserter(part->pins));
    return part;
}

}  // namespace

ReadResult<> readComponent(Library& library, const LibraryNameIndex& names,
                           TextTokenizer& tokenizer, ComponentScratch& scratch) {
    scratch.name.clear();
    scratch.patternName.clear();
    scratch.pins.clear();
    ComponentDraft draft{
        .name = scratch.name, .patternName = scratch.patternName, .pins = scratch.pins};
    if (auto read = readComponentSection(draft, tokenizer); !read) {
        return read;
    }
    const LibraryPart& part = library.addPart(makePart(names, draft));
    library.addEntry(draft.name, &part);
    return {};
}

}  // namespace wemb
