#include "tests/reliability/AllocationCounter.h"

#include <malloc.h>
#ifdef _WIN32
#define malloc_usable_size _msize
#endif

#include <cstdlib>
#include <new>

namespace {

// The test program runs one thread, so plain counters do.
std::size_t held = 0;
std::size_t peak = 0;
std::size_t baseline = 0;

}  // namespace

// The array and sized forms of the library's own operators come here.
void* operator new(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    held += malloc_usable_size(block);
    peak = held > peak ? held : peak;
    return block;
}

void operator delete(void* block) noexcept {
    held -= block != nullptr ? malloc_usable_size(block) : 0;
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}

namespace wemb::testing {

void resetPeakMemory() {
    baseline = peak = held;
}

std::size_t peakMemorySinceReset() {
    return peak - baseline;
}

}  // namespace wemb::testing
