#include "library/text/TextLibraryReader.h"

namespace wemb {

bool readTextLibrary(Library&, const std::string&) { return false; }

}  // namespace wemb
