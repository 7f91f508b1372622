#include "scout/table_memory.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace corvane {

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
}

void LargeBlockDeleter::operator()(void* block) const {
    if (block) ::munmap(block, size);
}

LargeBlock allocateLargeBlock(std::size_t size, BlockPages pages) {
    // Map a huge page more than asked, then give back the unaligned ends.
    const std::size_t mapped = size + kHugePage;
    void* raw = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
    if (aligned > start) ::munmap(raw, aligned - start);
    const std::size_t tail = start + mapped - (aligned + size);
    if (tail > 0) ::munmap(reinterpret_cast<void*>(aligned + size), tail);
    void* block = reinterpret_cast<void*>(aligned);
    // Only advice: without it the block still works. Said both ways, as a system may give huge
    // pages unasked.
    ::madvise(block, size, pages == BlockPages::Huge ? MADV_HUGEPAGE : MADV_NOHUGEPAGE);
    return LargeBlock(block, LargeBlockDeleter{size});
}

}  // namespace corvane
