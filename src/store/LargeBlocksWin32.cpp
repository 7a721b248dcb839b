// Large blocks on Windows: committed virtual memory, whose pages the system
// provides on first touch.
#include "store/LargeBlocks.h"

#include <windows.h>

namespace LargeBlocks {

void* AllocateFromPlatform(std::size_t size) noexcept {
    return ::VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void ReleaseToPlatform(void* block, std::size_t) noexcept { ::VirtualFree(block, 0, MEM_RELEASE); }

}  // namespace LargeBlocks
