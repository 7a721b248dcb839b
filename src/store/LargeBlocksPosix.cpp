// Large blocks on POSIX: anonymous mappings, on Linux aligned to 2 MB and
// advised to use the large pages that the system hands out on request.
#include "store/LargeBlocks.h"

#include <cstdint>
#include <sys/mman.h>

namespace LargeBlocks {

void* AllocateFromPlatform(std::size_t size) noexcept {
    // Room to slide the block onto a 2 MB boundary; the slack is given back.
    const std::size_t mapped = size + kLargeBlock;
    void* region = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (region == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(region);
    const std::uintptr_t aligned = (start + kLargeBlock - 1) & ~std::uintptr_t(kLargeBlock - 1);
    if (aligned > start)
        ::munmap(region, aligned - start);
    if (const std::uintptr_t tail = start + mapped - (aligned + size); tail > 0)
        ::munmap(reinterpret_cast<void*>(aligned + size), tail);
    void* block = reinterpret_cast<void*>(aligned);
#ifdef MADV_HUGEPAGE
    ::madvise(block, size, MADV_HUGEPAGE);  // a hint: without large pages the block works as well
#endif
    return block;
}

void ReleaseToPlatform(void* block, std::size_t size) noexcept { ::munmap(block, size); }

}  // namespace LargeBlocks
