#include "library/text/TextSection.h"

namespace wemb {

ReadResult<> skipSection(TextTokenizer& tokenizer, std::string_view beginToken) {
    const TextPosition opened = tokenizer.position();
    // A copy: reading on ends the view.
    std::string endToken(beginToken);
    endToken.front() = '-';
    if (tokenizer.skipTo(endToken) == 0) {
        return {};
    }
    std::string begin = endToken;
    begin.front() = '+';
    return errorAt(FileErrorKind::EndInsideSection, opened,
                   quoted(begin) + " is never closed: no " + quoted(endToken) + " before " +
                       tokenizer.stopText());
}

FileError unexpectedToken(const TextTokenizer& tokenizer, std::string_view expected,
                          std::string_view found) {
    return errorAt(FileErrorKind::UnexpectedToken, tokenizer.position(),
                   "expected " + quoted(expected) + " but found " + quoted(found));
}

FileError badValue(const TextTokenizer& tokenizer, std::string_view token, std::string_view rule) {
    return errorAt(FileErrorKind::BadValue, tokenizer.position(),
                   quoted(token) + ": " + std::string(rule));
}

}  // namespace wemb
