#pragma once
// The parts an Autonum run numbers, in the two lists it numbers them in, each in position order.
// Power symbols are told apart by their library name: a name that is exactly a power name is a
// power symbol and takes no part; a longer name that begins with one is power-prefixed and is
// numbered after the others, following their numbers.

#include <span>
#include <string_view>
#include <vector>

#include "schematic/Document.h"

namespace wemb {

enum class LibraryNameClass {
    Ordinary,       // no power name begins it
    Power,          // exactly a power name
    PowerPrefixed,  // a power name followed by more characters
};

LibraryNameClass classifyLibraryName(std::string_view libraryName);

struct PartCollection {
    std::vector<PartEntry*> mainParts;
    std::vector<PartEntry*> powerPrefixedParts;
};

// In file order; power symbols are left out. The entries stay owned by the document.
PartCollection collectParts(std::span<PartEntry> parts);

// By x, then y; parts at the same place keep their file order, so a run is reproducible.
void sortByPosition(PartCollection& collection);

}  // namespace wemb
