// The program's allocation policy: large blocks are asked to be backed by huge pages.
//
// A job's large arrays (the data file's bytes, an entry and a fact per part, the sort's second
// buffer) are each touched from end to end soon after they are made. With 4 KB pages that first
// touch takes one page fault per 4 KB, and on a drawing of a million parts those faults cost more
// than the numbering itself. Advising transparent huge pages before the first touch makes it one
// fault per 2 MB. It is only a hint: where the kernel has no huge page to give, the block is
// backed as before. Linked into the programs only, so the libraries keep the default allocator.

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
// Smaller blocks would hold few whole huge pages, and most are reused from the heap, already
// touched.
constexpr std::size_t kLargeBlock = 4 * kHugePage;

void adviseHugePages(void* block, std::size_t size) {
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t end = (start + size) & ~(kHugePage - 1);
    if (first < end) {
        madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
    }
}

void* allocate(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    if (size >= kLargeBlock) {
        adviseHugePages(block, size);
    }
    return block;
}

}  // namespace

void* operator new(std::size_t size) {
    return allocate(size);
}
void* operator new[](std::size_t size) {
    return allocate(size);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
