#include "Platform/FreeMemory.h"

#include <malloc.h>

void returnFreeMemoryToSystem() {
    // Not only the top of each pool: glibc also releases the whole free pages inside them.
    ::malloc_trim(0);
}
