#include "library/text/TextToken.h"

#include <algorithm>
#include <limits>

namespace wemb {

std::optional<KeyValue> splitKeyValue(std::string_view token) {
    if (isBeginToken(token) || isEndToken(token)) {
        return std::nullopt;
    }
    // Nearly every key is one letter.
    if (token.size() > 2 && token[1] == ':' && token[0] != ':') {
        return KeyValue{token.substr(0, 1), token.substr(2)};
    }
    // Keys are a letter or two: a plain loop beats a call into the C library here.
    std::size_t colon = 0;
    while (colon < token.size() && token[colon] != ':') {
        ++colon;
    }
    if (colon == token.size() || colon == 0 || colon + 1 == token.size()) {
        return std::nullopt;
    }
    return KeyValue{token.substr(0, colon), token.substr(colon + 1)};
}

std::int32_t integerValue(std::string_view value) {
    std::size_t at = 0;
    while (at < value.size() && (value[at] == ' ' || (value[at] >= '\t' && value[at] <= '\r'))) {
        ++at;
    }
    bool negative = false;
    if (at < value.size() && (value[at] == '+' || value[at] == '-')) {
        negative = value[at] == '-';
        ++at;
    }
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; at < value.size() && value[at] >= '0' && value[at] <= '9'; ++at) {
        magnitude = std::min(magnitude * 10 + (value[at] - '0'), kLimit);
    }
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    const std::int64_t clamped = std::min<std::int64_t>(
        std::max<std::int64_t>(signedValue, std::numeric_limits<std::int32_t>::min()),
        std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(clamped);
}

std::string_view textValue(std::string_view value) {
    std::size_t end = 0;
    while (end < value.size() && value[end] != '\0') {
        ++end;
    }
    return value.substr(0, end);
}

}  // namespace wemb
