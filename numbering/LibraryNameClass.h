#pragma once
// Power symbols are told apart by their library name: a name that is exactly a power name is a
// power symbol and takes no part; a longer name that begins with one is power-prefixed and is
// numbered after the others, following their numbers.

#include <string_view>

namespace wemb {

enum class LibraryNameClass {
    Ordinary,       // no power name begins it
    Power,          // exactly a power name
    PowerPrefixed,  // a power name followed by more characters
};

LibraryNameClass classifyLibraryName(std::string_view libraryName);

}  // namespace wemb
