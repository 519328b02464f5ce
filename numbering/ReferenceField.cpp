#include "numbering/ReferenceField.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "schematic/CountedString.h"

namespace wemb {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

ReferenceSplit splitReference(std::string_view reference) {
    if (reference.empty() || !isDigit(reference.back())) {
        return {reference.size(), 0};
    }
    std::size_t digitsStart = reference.size();
    while (digitsStart > 1 && isDigit(reference[digitsStart - 1])) {
        --digitsStart;
    }
    int number = 0;
    for (const char c : reference.substr(digitsStart)) {
        number = number * 10 + (c - '0');
    }
    return {digitsStart, number};
}

bool endsWithDigit(std::string_view text) {
    return !text.empty() && isDigit(text.back());
}

std::uint64_t packPrefix(std::string_view prefix) {
    const std::size_t length = std::min(prefix.size(), kReferenceCapacity);
    std::uint64_t key = static_cast<std::uint64_t>(length) << 56;
    for (std::size_t i = 0; i < length; ++i) {
        key |= static_cast<std::uint64_t>(static_cast<std::uint8_t>(prefix[i])) << (8 * i);
    }
    return key;
}

PrefixText unpackPrefix(std::uint64_t key) {
    PrefixText prefix;
    prefix.length = std::min(static_cast<std::size_t>(key >> 56), kReferenceCapacity);
    for (std::size_t i = 0; i < prefix.length; ++i) {
        prefix.bytes[i] = static_cast<char>((key >> (8 * i)) & 0xff);
    }
    return prefix;
}

FormattedReference formatReference(std::string_view prefix, std::int64_t number) {
    // Room for any prefix a field holds and any 64-bit number with its sign.
    std::array<char, 32> text{};
    const std::size_t prefixLength = std::min(prefix.size(), kReferenceCapacity);
    std::copy_n(prefix.data(), prefixLength, text.data());
    const auto end = std::to_chars(text.data() + prefixLength, text.data() + text.size(), number);
    FormattedReference formatted;
    formatted.length =
        std::min(static_cast<std::size_t>(end.ptr - text.data()), kReferenceCapacity);
    std::copy_n(text.data(), formatted.length, formatted.bytes.data());
    return formatted;
}

void renumberReference(std::span<std::uint8_t> field, std::size_t prefixLength,
                       std::int64_t number) {
    const std::size_t kept = std::min(prefixLength, countedStringView(field).size());
    std::array<char, 24> digits{};  // any 64-bit number with its sign
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), number).ptr;
    const std::size_t room = std::min(field.size() - 1, kReferenceCapacity) - kept;
    const std::size_t written = std::min(static_cast<std::size_t>(end - digits.data()), room);
    std::copy_n(digits.data(), written, field.begin() + 1 + static_cast<std::ptrdiff_t>(kept));
    field[0] = static_cast<std::uint8_t>(kept + written);
}

}  // namespace wemb
