#include "tools/gen/DataFileBuilder.h"
