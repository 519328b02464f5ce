#pragma once
// Which parts a numbering run leaves alone, and why: the one rule that Autonum, ReNum and the
// drawing check share.

#include <string_view>

#include "numbering/LibraryNameClass.h"
#include "schematic/PartEntry.h"

namespace wemb {

enum class PassReason {
    None,
    PowerSymbol,  // library name exactly a power name
    EmptyReference,
    EmptyPartName,  // only when parts without a part name are not processed
};

// Autonum passes over power symbols, references that read empty and, in dependence-name mode,
// part names that read empty.
PassReason autonumPassReason(LibraryNameClass libraryClass, std::string_view reference,
                             std::string_view partName, bool dependenceNameMode);

// ReNum takes every part, power symbols too, whose reference reads non-empty and whose part name
// length byte is not 0, in every mode.
bool reNumTakes(const PartEntry& part);

}  // namespace wemb
