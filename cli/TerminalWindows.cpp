#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <iostream>
#include <streambuf>

#include "cli/Terminal.h"
#include "platform/Cp932.h"
#include "platform/windows/WideText.h"

namespace wemb::cli {
namespace {

// A console shows UTF-16 whatever its code page; text handed to it in `codePage` is converted
// and written with WriteConsoleW.
class ConsoleBuffer : public std::streambuf {
  public:
    ConsoleBuffer(HANDLE console, UINT codePage) : console_(console), codePage_(codePage) {}
    ~ConsoleBuffer() override { sync(); }

  protected:
    int_type overflow(int_type c) override {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            pending_ += traits_type::to_char_type(c);
            if (c == '\n') {
                sync();
            }
        }
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        pending_.append(text, static_cast<std::size_t>(count));
        return count;
    }
    int sync() override {
        const int size = static_cast<int>(pending_.size());
        std::wstring wide(static_cast<std::size_t>(
                              MultiByteToWideChar(codePage_, 0, pending_.data(), size, nullptr, 0)),
                          L'\0');
        MultiByteToWideChar(codePage_, 0, pending_.data(), size, wide.data(),
                            static_cast<int>(wide.size()));
        DWORD written = 0;
        WriteConsoleW(console_, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        pending_.clear();
        return 0;
    }

  private:
    HANDLE console_;
    UINT codePage_;
    std::string pending_;
};

// The code page messages are printed in: UTF-8 while the output is a console (the console
// buffer shows it as such), else the console's output code page, as Windows programs write
// redirected text; without a console at all, the OEM code page.
UINT gMessageCodePage = CP_UTF8;

bool isConsole(HANDLE handle) {
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != 0;
}

void attach(std::ostream& stream, HANDLE handle, std::FILE* file) {
    // JSON, CSV and the pictures are UTF-8 with "\n" line ends, as on every system.
    _setmode(_fileno(file), _O_BINARY);
    if (isConsole(handle)) {
        static ConsoleBuffer* buffers[2] = {};
        ConsoleBuffer*& buffer = buffers[file == stdout ? 0 : 1];
        buffer = new ConsoleBuffer(handle, gMessageCodePage);  // lives as long as the stream
        stream.flush();
        stream.rdbuf(buffer);
    }
}

}  // namespace

void useUserLocale() {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (!isConsole(out)) {
        const UINT console = GetConsoleOutputCP();
        gMessageCodePage = console != 0 ? console : GetOEMCP();
    }
    attach(std::cout, out, stdout);
    attach(std::cerr, GetStdHandle(STD_ERROR_HANDLE), stderr);
}

std::string forTerminal(std::string_view utf8) {
    if (gMessageCodePage == CP_UTF8) {
        return std::string(utf8);
    }
    return platform::inCodePage(platform::widened(utf8), gMessageCodePage);
}

std::string cp932ForTerminal(std::string_view cp932) {
    return forTerminal(platform::cp932ToUtf8(cp932));
}

}  // namespace wemb::cli
