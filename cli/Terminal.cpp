#include "cli/Terminal.h"

#include <iconv.h>
#include <langinfo.h>

#include <clocale>
#include <cstring>
#include <vector>

#include "platform/Cp932.h"

namespace wemb::cli {
namespace {

bool localeIsUtf8() {
    const char* codeset = nl_langinfo(CODESET);
    return codeset == nullptr || std::strcmp(codeset, "UTF-8") == 0;
}

}  // namespace

void useUserLocale() {
    std::setlocale(LC_ALL, "");
}

std::string forTerminal(std::string_view utf8) {
    if (localeIsUtf8()) {
        return std::string(utf8);
    }
    const std::string target = std::string(nl_langinfo(CODESET)) + "//TRANSLIT";
    iconv_t converter = iconv_open(target.c_str(), "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return std::string(utf8);
    }
    std::string input(utf8);
    std::vector<char> output(input.size() * 4 + 16);
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    while (inLeft > 0 &&
           iconv(converter, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) {
        if (errno != EILSEQ && errno != EINVAL) {
            break;
        }
        // A character the locale cannot show becomes "?".
        ++in;
        --inLeft;
        while (inLeft > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80) {
            ++in;
            --inLeft;
        }
        if (outLeft > 0) {
            *out++ = '?';
            --outLeft;
        }
    }
    iconv_close(converter);
    return std::string(output.data(), static_cast<std::size_t>(out - output.data()));
}

std::string cp932ForTerminal(std::string_view cp932) {
    return forTerminal(platform::cp932ToUtf8(cp932));
}

}  // namespace wemb::cli
