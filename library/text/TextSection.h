#pragma once
// The walk that every section of a text library shares: its own end token closes it, any other
// end token breaks it, begin tokens open what the section reads or are passed over, and the end
// of the input (or a broken escape) closes it without the checks of its end token.

#include <string>
#include <string_view>

#include "library/text/TextToken.h"
#include "library/text/TextTokenizer.h"
#include "reading/ReadResult.h"

namespace wemb {

enum class SectionEnd {
    EndToken,    // the section's own end token: its end checks apply
    EndOfInput,  // no further token: the section completes without its end checks
};

// Passes over the section that `beginToken` opens: every token up to and including the first one
// equal to it with "-" in place of its "+". An error when the input ends first.
ReadResult<> skipSection(TextTokenizer& tokenizer, std::string_view beginToken);

// The error of a token that may not stand where the tokenizer has just read it.
FileError unexpectedToken(const TextTokenizer& tokenizer, std::string_view expected,
                          std::string_view found);
// The error of a token whose value breaks its rule; `rule` says what the value must be.
FileError badValue(const TextTokenizer& tokenizer, std::string_view token, std::string_view rule);

// Reads the tokens of a section until it ends. `onBegin(token)` handles a begin token and
// `onOther(token)` any token that neither begins nor ends a section; either returns an error to
// fail the section. A token is a view that the next read of the tokenizer ends.
template <typename OnBegin, typename OnOther>
ReadResult<SectionEnd> readSection(TextTokenizer& tokenizer, std::string_view endToken,
                                   OnBegin&& onBegin, OnOther&& onOther) {
    std::string_view token;
    while (tokenizer.readField(token) >= 0) {
        if (isEndToken(token)) {
            if (token != endToken) {
                return unexpectedToken(tokenizer, endToken, token);
            }
            return SectionEnd::EndToken;
        }
        ReadResult<> handled = isBeginToken(token) ? onBegin(token) : onOther(token);
        if (!handled) {
            return std::move(handled).error();
        }
    }
    return SectionEnd::EndOfInput;
}

// The handler of sections that read no inner section: every begin token is passed over.
inline auto skipEverySection(TextTokenizer& tokenizer) {
    return [&tokenizer](std::string_view token) { return skipSection(tokenizer, token); };
}

}  // namespace wemb
