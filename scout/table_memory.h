#pragma once

#include <cstddef>
#include <memory>

namespace corvane {

// Large blocks for the code table, aligned so the kernel may back them with huge pages: a table
// of a million rows then costs a few hundred page faults instead of tens of thousands, which is
// most of what reading a large scout file costs.
struct LargeBlockDeleter {
    std::size_t size = 0;
    void operator()(void* block) const;
};
using LargeBlock = std::unique_ptr<void, LargeBlockDeleter>;

// Whether a block may be backed by huge pages. A huge page is resident whole from its first
// byte, so a small table (a match: a few hundred kilobytes) keeps ordinary pages, which are
// resident only as far as they are written, and huge pages serve the blocks of a large one.
enum class BlockPages { Ordinary, Huge };

// A zero-filled block of the given size (a multiple of the huge page size is best); throws
// std::bad_alloc when the system has no memory left.
LargeBlock allocateLargeBlock(std::size_t size, BlockPages pages);

}  // namespace corvane
