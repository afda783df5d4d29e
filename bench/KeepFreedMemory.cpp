// Every benchmark of native_bench runs with glibc's trim and mmap thresholds fixed, so that freed memory
// stays with the allocator. By default glibc hands freed memory back to the kernel until a large block has
// been freed (which raises its thresholds), so whether an iteration pays a page fault for every page it
// allocates depended on what ran before it: the GIF strip decoded more than ten times faster after the
// photo than in a fresh process, for ours and for the baseline alike. Fixed thresholds keep the figures
// the code's work rather than the kernel's, whatever order the benchmarks run in.
#include <malloc.h>

namespace {
const bool Kept = [] {
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    return true;
}();
}
