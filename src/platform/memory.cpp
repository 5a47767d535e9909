#include "platform/memory.h"

#include <cstdlib>  // defines __GLIBC__ on the C library that has malloc_trim

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void ReturnFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
