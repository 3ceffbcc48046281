#include "base/MemoryReuse.h"

#include <cstdlib>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace vorrel {

void keepFreedMemoryForReuse()
{
#if defined(__GLIBC__)
    // Blocks above this still come from the system and go back to it: a document near the
    // size limit should not stay in memory after it is closed.
    constexpr int kLargestReused = 64 << 20;
    // Setting the first limit stops the library from adapting the second; freed memory is
    // handed back only beyond this much.
    constexpr int kKeptFree = 512 << 20;
    mallopt(M_MMAP_THRESHOLD, kLargestReused);
    mallopt(M_TRIM_THRESHOLD, kKeptFree);
#endif
}

} // namespace vorrel
