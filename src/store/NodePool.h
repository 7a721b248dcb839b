// NodePool: the memory of a mapping table's tree nodes. All nodes of one
// table have one size, so a node is a slot cut from a large block: taking
// one is a pointer bump, a freed one goes onto a free list for the next
// insert, and emptying the table makes every slot free again at once. The
// blocks stay with the pool until it is destroyed, so a table that is
// cleared and read again reuses them.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>

class NodePool {
public:
    NodePool() = default;
    NodePool(const NodePool&) = delete;
    NodePool& operator=(const NodePool&) = delete;

    // Memory for one object of size bytes. The first request fixes the slot
    // size; requests of any other size go to the global heap.
    void* Allocate(size_t size) {
        if (m_slotSize == 0)
            m_slotSize = size;
        if (size != m_slotSize)
            return ::operator new(size);
        if (m_free) {
            Slot* slot = m_free;
            m_free = slot->next;
            return slot;
        }
        if (m_used == m_capacity)
            NextBlock();
        return m_current + SlotBytes() * m_used++;
    }

    void Deallocate(void* p, size_t size) noexcept {
        if (size != m_slotSize) {
            ::operator delete(p);
            return;
        }
        Slot* slot = static_cast<Slot*>(p);
        slot->next = m_free;
        m_free = slot;
    }

    // Makes every slot free. Only for a pool whose objects are all
    // destroyed already.
    void Reset() noexcept {
        m_free = nullptr;
        m_block = 0;
        m_current = m_blocks.empty() ? nullptr : m_blocks.front().data.get();
        m_capacity = m_blocks.empty() ? 0 : m_blocks.front().slots;
        m_used = 0;
    }

private:
    struct Slot {
        Slot* next;
    };
    struct Block {
        std::unique_ptr<std::byte[]> data;
        size_t slots;
    };
    static constexpr size_t kFirstBlockSlots = 32;
    static constexpr size_t kLargestBlockBytes = size_t(4) << 20;
    static constexpr size_t kAlign = alignof(std::max_align_t);

    size_t SlotBytes() const {
        size_t size = m_slotSize < sizeof(Slot) ? sizeof(Slot) : m_slotSize;
        return (size + kAlign - 1) / kAlign * kAlign;
    }

    // Moves on to the next kept block, or adds one twice as large as the
    // last (up to a few megabytes each).
    void NextBlock() {
        if (m_current && m_block + 1 < m_blocks.size()) {
            ++m_block;
        } else {
            size_t slots = m_blocks.empty() ? kFirstBlockSlots : m_blocks.back().slots * 2;
            if (slots * SlotBytes() > kLargestBlockBytes)
                slots = kLargestBlockBytes / SlotBytes();
            // new std::byte[] is aligned for any fundamental type.
            m_blocks.push_back(Block{std::unique_ptr<std::byte[]>(new std::byte[slots * SlotBytes()]), slots});
            m_block = m_blocks.size() - 1;
        }
        m_current = m_blocks[m_block].data.get();
        m_capacity = m_blocks[m_block].slots;
        m_used = 0;
    }

    size_t m_slotSize = 0;
    Slot* m_free = nullptr;
    std::vector<Block> m_blocks;
    size_t m_block = 0;             // index of the block in use
    std::byte* m_current = nullptr; // its memory
    size_t m_capacity = 0;          // its slots
    size_t m_used = 0;              // its slots handed out
};

// The allocator a table's map uses: nodes come from the table's pool. It
// goes with the tree on move and swap, so the nodes always stay with the
// pool they came from.
template <typename T>
class NodePoolAllocator {
public:
    using value_type = T;
    using propagate_on_container_copy_assignment = std::true_type;
    using propagate_on_container_move_assignment = std::true_type;
    using propagate_on_container_swap = std::true_type;

    explicit NodePoolAllocator(NodePool* pool) noexcept : m_pool(pool) {}
    template <typename U>
    NodePoolAllocator(const NodePoolAllocator<U>& other) noexcept : m_pool(other.Pool()) {}

    T* allocate(size_t n) {
        if (n != 1)
            return std::allocator<T>().allocate(n);
        static_assert(alignof(T) <= alignof(std::max_align_t));
        return static_cast<T*>(m_pool->Allocate(sizeof(T)));
    }
    void deallocate(T* p, size_t n) noexcept {
        if (n != 1)
            std::allocator<T>().deallocate(p, n);
        else
            m_pool->Deallocate(p, sizeof(T));
    }

    NodePool* Pool() const noexcept { return m_pool; }
    friend bool operator==(const NodePoolAllocator& a, const NodePoolAllocator& b) noexcept {
        return a.m_pool == b.m_pool;
    }

private:
    NodePool* m_pool;
};
