// EntryArena: the memory of one mapping table's entries. An entry is cut
// from a large block by a pointer bump and stays where it is until the
// arena is emptied or destroyed: no allocation per entry, no header per
// entry, and nothing ever moves. The allocations can be walked in the order
// made, so that a batch needs no list of its entries while it fills.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

class EntryArena {
public:
    EntryArena() = default;
    EntryArena(const EntryArena&) = delete;
    EntryArena& operator=(const EntryArena&) = delete;
    EntryArena(EntryArena&& other) noexcept { swap(other); }
    EntryArena& operator=(EntryArena&& other) noexcept {
        Clear();
        swap(other);
        return *this;
    }

    // size bytes aligned to kAlign; a request larger than a block gets a
    // block of its own.
    void* Allocate(size_t size) {
        size = Rounded(size);
        if (size > m_free) {
            // Blocks double from a few kilobytes (seven tables, most of
            // them small) up to a few megabytes each.
            size_t block = m_blocks.empty() ? kFirstBlock : std::min(m_blockSize * 2, kLargestBlock);
            m_blockSize = block;
            if (size > block)
                block = size;
            if (!m_blocks.empty())
                m_blocks.back().used = m_blocks.back().size - m_free;
            m_blocks.push_back(Block{std::make_unique_for_overwrite<std::byte[]>(block), block, 0});
            m_next = m_blocks.back().memory.get();
            m_free = block;
        }
        void* p = m_next;
        m_next += size;
        m_free -= size;
        return p;
    }

    // Calls visit(p) for every allocation p, in the order made; sizeOf(p)
    // gives the size that was asked for. Only for an arena that adopted none.
    template <class SizeOf, class Visit>
    void ForEach(SizeOf sizeOf, Visit visit) const {
        for (size_t b = 0; b < m_blocks.size(); ++b) {
            const std::byte* p = m_blocks[b].memory.get();
            const std::byte* end = p + (b + 1 < m_blocks.size() ? m_blocks[b].used : m_blocks[b].size - m_free);
            while (p != end) {
                visit(p);
                p += Rounded(sizeOf(p));
            }
        }
    }

    // Frees every block: everything allocated so far is gone.
    void Clear() noexcept {
        m_blocks.clear();
        m_next = nullptr;
        m_free = 0;
        m_blockSize = 0;
    }

    // Takes over other's blocks, which stay where they are: what was cut
    // from either arena lives as long as this one. Later allocations go on
    // in this arena's current block; other is left empty.
    void Adopt(EntryArena&& other) {
        if (m_blocks.empty()) {
            swap(other);
            return;
        }
        m_blocks.reserve(m_blocks.size() + other.m_blocks.size());
        for (auto& block : other.m_blocks)
            m_blocks.push_back(std::move(block));
        other.Clear();
    }

    void swap(EntryArena& other) noexcept {
        m_blocks.swap(other.m_blocks);
        std::swap(m_next, other.m_next);
        std::swap(m_free, other.m_free);
        std::swap(m_blockSize, other.m_blockSize);
    }

    static constexpr size_t kAlign = 4;

private:
    static size_t Rounded(size_t size) { return (size + kAlign - 1) / kAlign * kAlign; }

    static constexpr size_t kFirstBlock = size_t(4) << 10;
    static constexpr size_t kLargestBlock = size_t(4) << 20;

    struct Block {
        std::unique_ptr<std::byte[]> memory;
        size_t size;
        size_t used;  // set once the next block begins
    };
    std::vector<Block> m_blocks;
    std::byte* m_next = nullptr;
    size_t m_free = 0;       // bytes left in the last block
    size_t m_blockSize = 0;  // the last block's planned size
};
