#include "numbering/PassReason.h"

#include "numbering/ReferenceField.h"

namespace wemb {

PassReason autonumPassReason(LibraryNameClass libraryClass, std::string_view reference,
                             std::string_view partName, bool dependenceNameMode) {
    if (libraryClass == LibraryNameClass::Power) {
        return PassReason::PowerSymbol;
    }
    if (reference.empty()) {
        return PassReason::EmptyReference;
    }
    if (dependenceNameMode && partName.empty()) {
        return PassReason::EmptyPartName;
    }
    return PassReason::None;
}

bool reNumTakes(const PartEntry& part) {
    return !referenceText(part).empty() && part.partNameField()[0] != 0;
}

}  // namespace wemb
