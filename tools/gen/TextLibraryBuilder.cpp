#include "tools/gen/TextLibraryBuilder.h"
