#include "tools/gen/BinaryLibraryBuilder.h"
