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

bool readComponentKey(ComponentDraft& draft, const KeyValue& pair) {
    if (pair.key == "N") {
        draft.name = textValue(pair.value);
    } else if (pair.key == "R") {
        draft.prefix = textValue(pair.value);
    } else if (pair.key == "P") {
        draft.patternName = textValue(pair.value);
    } else if (pair.key == "X") {
        draft.width = integerValue(pair.value);
        return draft.width >= 0;
    } else if (pair.key == "Y") {
        draft.height = integerValue(pair.value);
        return draft.height >= 0;
    } else if (pair.key == "B") {
        // A block count may be given again only while it is still 0.
        if (draft.blockCount != 0) {
            return false;
        }
        draft.blockCount = integerValue(pair.value);
        return draft.blockCount >= 0 && draft.blockCount <= kMaxBlockCount;
    }
    return true;
}

// Pins need the part's size and block count first: the block count sizes their number slots.
bool readComponentSection(ComponentDraft& draft, TextTokenizer& tokenizer, std::string& token) {
    const auto onBegin = [&](std::string& begin) {
        if (begin != "+PIN") {
            return skipSection(tokenizer, begin);
        }
        if (!draft.hasSize()) {
            return false;
        }
        // Read in place; a pin that fails fails the component, which drops its pins.
        return readPin(tokenizer, token, draft.blockCount, draft.pins.emplace_back());
    };
    const auto onOther = [&draft](const std::string& other) {
        const auto pair = splitKeyValue(other);
        return !pair || readComponentKey(draft, *pair);
    };
    switch (readSection(tokenizer, token, "-COMP", onBegin, onOther)) {
        case SectionEnd::EndToken:
            return !draft.name.empty() && draft.hasSize();
        case SectionEnd::EndOfInput:
            return true;
        case SectionEnd::Failed:
            break;
    }
    return false;
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

bool readComponent(Library& library, const LibraryNameIndex& names, TextTokenizer& tokenizer,
                   std::string& token, ComponentScratch& scratch) {
    scratch.name.clear();
    scratch.patternName.clear();
    scratch.pins.clear();
    ComponentDraft draft{
        .name = scratch.name, .patternName = scratch.patternName, .pins = scratch.pins};
    if (!readComponentSection(draft, tokenizer, token)) {
        return false;
    }
    const LibraryPart& part = library.addPart(makePart(names, draft));
    library.addEntry(draft.name, &part);
    return true;
}

}  // namespace wemb
