// The memory that a list's nodes live in. Internal to treelist/: each list owns one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dxtl {

// Fixed-size slots carved from a few large blocks, one free list per slot size: a node costs
// its own bytes and no allocator header, and adding or freeing one is a pointer swap. Blocks
// grow geometrically up to kMaxBlockBytes. Every slot has a number, dense from 0 and stable
// while the pool holds a live slot, so the row index can keep a node's row in a plain array.
// When the last live slot goes, every block is released. Under AddressSanitizer free slots are
// poisoned, so a freed node that is touched again is reported.
class TdxNodePool {
public:
    TdxNodePool() = default;
    // Releases the blocks; the objects in them must have been destroyed.
    ~TdxNodePool();
    TdxNodePool(const TdxNodePool&) = delete;
    TdxNodePool& operator=(const TdxNodePool&) = delete;

    // Memory for one object of `size` bytes aligned to `align`, which may not exceed the
    // default alignment of operator new.
    void* Allocate(std::size_t size, std::size_t align);
    // Gives a slot back (the object in it destroyed). False, and nothing done, for memory that
    // is not one of this pool's slots.
    bool Release(void* slot) noexcept;
    bool Owns(const void* p) const noexcept { return FindBlock(p) >= 0; }
    // The slot's number; -1 for memory that is not one of this pool's slots. Inline for the
    // usual case, a slot in the block of the last lookup.
    int SlotOf(const void* slot) const noexcept {
        if (FLastBlock < FBlocks.size()) {
            const TBlock& block = FBlocks[FLastBlock];
            const std::uintptr_t offset = reinterpret_cast<std::uintptr_t>(slot) - block.Begin;
            if (offset < block.Bytes)
                return block.SlotAt(offset);
        }
        return SlotOfSlow(slot);
    }
    // One more than the highest slot number in use.
    int SlotCount() const { return FSlotCount; }
    std::size_t LiveCount() const { return FLive; }

private:
    static constexpr std::size_t kFirstBlockSlots = 32;
    // Large enough that a million nodes take about 60 blocks, small enough that the unused
    // rest of the last block stays near one byte per node at that size.
    static constexpr std::size_t kMaxBlockBytes = std::size_t(1) << 20;

    struct TSizeClass {
        std::size_t SlotSize;
        // Exact division of a slot offset by SlotSize: shift out its power of two, multiply by
        // the inverse of its odd part modulo 2^32.
        unsigned Shift;
        std::uint32_t Inverse;
        void* FreeList = nullptr;
        // The unused tail of the newest block of this size.
        char* Next = nullptr;
        char* End = nullptr;
        std::size_t NextBlockSlots = kFirstBlockSlots;
    };
    struct TBlock {
        std::uintptr_t Begin;
        std::size_t Bytes;
        int FirstSlot;
        unsigned SizeClass;
        // Of the size class, kept here for SlotOf.
        unsigned Shift;
        std::uint32_t Inverse;
        int SlotAt(std::uintptr_t offset) const {
            return FirstSlot + int((static_cast<std::uint32_t>(offset) >> Shift) * Inverse);
        }
    };

    TSizeClass& ClassFor(std::size_t slotSize);
    void AddBlock(unsigned sizeClass);
    // Index into FBlocks of the block holding `p`, or -1.
    int FindBlock(const void* p) const noexcept;
    int SlotOfSlow(const void* slot) const noexcept;
    void ReleaseBlocks() noexcept;

    std::vector<TSizeClass> FClasses;
    // Ascending by address.
    std::vector<TBlock> FBlocks;
    // Walks go through neighbouring nodes: the block of the last lookup is tried first.
    mutable std::size_t FLastBlock = 0;
    int FSlotCount = 0;
    std::size_t FLive = 0;
};

} // namespace dxtl
