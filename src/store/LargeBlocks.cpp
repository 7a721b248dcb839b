#include "store/LargeBlocks.h"

#include <new>

namespace LargeBlocks {

// The platform's side (LargeBlocksPosix.cpp, LargeBlocksWin32.cpp).
void* AllocateFromPlatform(std::size_t size) noexcept;
void ReleaseToPlatform(void* block, std::size_t size) noexcept;

void Release::operator()(std::byte* block) const noexcept {
    if (size >= kLargeBlock)
        ReleaseToPlatform(block, size);
    else
        delete[] block;
}

Block Allocate(std::size_t size) {
    if (size < kLargeBlock)
        return Block(new std::byte[size], Release{size});
    void* block = AllocateFromPlatform(size);
    if (!block)
        throw std::bad_alloc();
    return Block(static_cast<std::byte*>(block), Release{size});
}

}  // namespace LargeBlocks
