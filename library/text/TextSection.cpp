#include "library/text/TextSection.h"

namespace wemb {

bool skipSection(TextTokenizer& tokenizer, std::string& beginToken) {
    beginToken.front() = '-';
    return tokenizer.skipTo(beginToken) == 0;
}

}  // namespace wemb
