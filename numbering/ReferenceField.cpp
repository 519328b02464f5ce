#include "numbering/ReferenceField.h"

#include "schematic/CountedString.h"

namespace wemb {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

SplitReference splitReference(std::string_view reference) {
    if (reference.empty() || !isDigit(reference.back())) {
        return {std::string(reference), 0};
    }
    std::size_t digitsStart = reference.size();
    while (digitsStart > 1 && isDigit(reference[digitsStart - 1])) {
        --digitsStart;
    }
    int number = 0;
    for (const char c : reference.substr(digitsStart)) {
        const int digit = c - '0';
        number =
            number > (kMaxReferenceNumber - digit) / 10 ? kMaxReferenceNumber : number * 10 + digit;
    }
    return {std::string(reference.substr(0, digitsStart)), number};
}

bool endsWithDigit(std::string_view text) {
    return !text.empty() && isDigit(text.back());
}

std::string formatReference(std::string_view prefix, std::int64_t number) {
    std::string text(prefix);
    text += std::to_string(number);
    if (text.size() > kReferenceCapacity) {
        text.resize(kReferenceCapacity);
    }
    return text;
}

std::string readReference(const PartEntry& part) {
    return readCountedString(part.referenceField());
}

std::string readPartName(const PartEntry& part) {
    return readCountedString(part.partNameField());
}

void writeReference(PartEntry& part, std::string_view prefix, std::int64_t number) {
    writeCountedString(formatReference(prefix, number), part.referenceField());
}

}  // namespace wemb
