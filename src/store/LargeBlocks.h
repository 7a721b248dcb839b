// Memory for the store's large blocks (a table's entries) straight from the
// platform. On Linux a block is aligned to, and asked to be backed by, the
// system's 2 MB pages, so that filling it costs one fault per 2 MB instead
// of one per 4 KB: a million pairs touch some 50 MB at once. Small blocks
// come from the heap. Untouched memory costs nothing on either platform.
#pragma once

#include <cstddef>
#include <memory>

namespace LargeBlocks {

// Blocks this large or larger come from the platform.
constexpr std::size_t kLargeBlock = std::size_t(2) << 20;

struct Release {
    std::size_t size;
    void operator()(std::byte* block) const noexcept;
};
using Block = std::unique_ptr<std::byte[], Release>;

// size bytes, uninitialised; throws std::bad_alloc when there are none.
Block Allocate(std::size_t size);

}  // namespace LargeBlocks
