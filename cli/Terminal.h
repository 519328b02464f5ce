#pragma once
// Text for the terminal: messages are UTF-8 inside the program and file texts are CP932; both are
// printed in the encoding of the user's locale.

#include <string>
#include <string_view>

namespace wemb::cli {

// Call once at start-up: takes the locale from the environment.
void useUserLocale();

// UTF-8 text in the locale's encoding (unchanged when that is UTF-8).
std::string forTerminal(std::string_view utf8);

// CP932 bytes from a file in the locale's encoding; bytes that do not convert show as \xNN.
std::string cp932ForTerminal(std::string_view cp932);

}  // namespace wemb::cli
