#pragma once
// What a field of a text library is, by its first byte: the begin or end of a section, a
// key-value pair, or nothing the readers look at. And the two ways a value is read.

#include <cstdint>
#include <optional>
#include <string_view>

namespace wemb {

inline bool isBeginToken(std::string_view token) {
    return !token.empty() && token.front() == '+';
}
inline bool isEndToken(std::string_view token) {
    return !token.empty() && token.front() == '-';
}

struct KeyValue {
    std::string_view key;
    std::string_view value;  // never empty
};

// The token split at its first ":", when that is neither its first nor its last byte and the
// token opens or closes no section; otherwise nothing, and the token is ignored.
std::optional<KeyValue> splitKeyValue(std::string_view token);

// A value read as C's atoi reads it: leading white space, an optional sign, the decimal digits
// up to the first other byte, 0 when there is none. Values beyond the 32-bit range stay at its
// ends, as the editor's own run-time library does.
std::int32_t integerValue(std::string_view value);

// A value read as text: its bytes up to the first zero byte.
std::string_view textValue(std::string_view value);

}  // namespace wemb
