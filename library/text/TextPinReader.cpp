#include "library/text/TextPinReader.h"

#include "library/text/TextSection.h"
#include "library/text/TextToken.h"

namespace wemb {

namespace {

constexpr std::int32_t kMaxPinOffset = 255;

struct PinDraft {
    LibraryPin& pin;
    std::uint32_t attributes = 0;
    bool numbersHidden = false;  // an "m" in a "T" hides the numbers given after it
    int numbersStored = 0;
    int blockCount = 0;
};

// "L": the side by the first letter (a letter other than B, R or T means left), then the offset
// along that side, which only a value of 0 to 255 replaces.
void readLocation(PinDraft& draft, std::string_view value) {
    switch (value.front()) {
        case 'B':
            draft.attributes |= 3u << kPinSideShift;
            break;
        case 'R':
            draft.attributes |= 2u << kPinSideShift;
            break;
        case 'T':
            draft.attributes |= 1u << kPinSideShift;
            break;
        default:
            break;
    }
    const std::int32_t offset = integerValue(value.substr(1));
    if (offset >= 0 && offset <= kMaxPinOffset) {
        draft.attributes =
            (draft.attributes & ~kPinOffsetMask) | static_cast<std::uint32_t>(offset);
    }
}

void readType(PinDraft& draft, std::string_view letters) {
    for (const char letter : letters) {
        switch (letter) {
            case 'C':
                draft.attributes |= kPinTypeC;
                break;
            case 'N':
                draft.attributes |= kPinTypeN;
                break;
            case 'S':
                draft.attributes |= kPinTypeS;
                break;
            case 'm':
                draft.numbersHidden = true;
                break;
            default:
                break;
        }
    }
}

void readNumber(PinDraft& draft, std::string_view number) {
    if (draft.numbersStored >= draft.blockCount) {
        return;
    }
    draft.pin.addNumber(!draft.numbersHidden, number);
    ++draft.numbersStored;
}

void readPinKey(PinDraft& draft, const KeyValue& pair) {
    if (pair.key == "N") {
        draft.pin.setName(textValue(pair.value));
    } else if (pair.key == "L") {
        readLocation(draft, pair.value);
    } else if (pair.key == "T") {
        readType(draft, textValue(pair.value));
    } else if (pair.key == "M") {
        readNumber(draft, textValue(pair.value));
    }
}

}  // namespace

ReadResult<> readPin(TextTokenizer& tokenizer, int blockCount, LibraryPin& pin) {
    PinDraft draft{.pin = pin};
    draft.blockCount = blockCount;
    draft.pin.allocNumbers(blockCount);
    const auto onOther = [&draft](std::string_view other) -> ReadResult<> {
        if (const auto pair = splitKeyValue(other)) {
            readPinKey(draft, *pair);
        }
        return {};
    };
    ReadResult<SectionEnd> end =
        readSection(tokenizer, "-PIN", skipEverySection(tokenizer), onOther);
    if (!end) {
        return std::move(end).error();
    }
    draft.pin.attributes = draft.attributes;
    return {};
}

}  // namespace wemb
