// The node pool: size classes, blocks, free lists and slot numbers.
#include "treelist/model/dxTLNodePool.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define VARNEL_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define VARNEL_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define VARNEL_POISON(p, n) ((void)(p), (void)(n))
#define VARNEL_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace dxtl {

namespace {

// The inverse of an odd number modulo 2^32 (Newton's iteration doubles the correct bits).
std::uint32_t OddInverse(std::uint32_t odd) {
    std::uint32_t inverse = odd;
    for (int i = 0; i < 5; ++i)
        inverse *= 2u - odd * inverse;
    return inverse;
}

} // namespace

TdxNodePool::~TdxNodePool() {
    ReleaseBlocks();
}

TdxNodePool::TSizeClass& TdxNodePool::ClassFor(std::size_t slotSize) {
    for (TSizeClass& c : FClasses)
        if (c.SlotSize == slotSize)
            return c;
    unsigned shift = 0;
    while (((slotSize >> shift) & 1u) == 0)
        ++shift;
    FClasses.push_back(
        {slotSize, shift, OddInverse(static_cast<std::uint32_t>(slotSize >> shift))});
    return FClasses.back();
}

void* TdxNodePool::Allocate(std::size_t size, std::size_t align) {
    if (align == 0 || align > __STDCPP_DEFAULT_NEW_ALIGNMENT__ || (align & (align - 1)) != 0)
        throw std::invalid_argument("node alignment beyond what the node pool supports");
    if (size > kMaxBlockBytes / 4)
        throw std::length_error("node too large for the node pool");
    // A free slot holds the free list's link.
    const std::size_t minimum = std::max(size, sizeof(void*));
    const std::size_t slotSize = (minimum + align - 1) / align * align;
    TSizeClass* c = &ClassFor(slotSize);
    const auto classIndex = static_cast<unsigned>(c - FClasses.data());
    void* slot;
    if (c->FreeList) {
        slot = c->FreeList;
        VARNEL_UNPOISON(slot, slotSize);
        c->FreeList = *static_cast<void**>(slot);
    } else {
        if (c->Next == c->End) {
            AddBlock(classIndex);
            c = &FClasses[classIndex];
        }
        slot = c->Next;
        c->Next += slotSize;
        VARNEL_UNPOISON(slot, slotSize);
    }
    ++FLive;
    return slot;
}

void TdxNodePool::AddBlock(unsigned sizeClass) {
    TSizeClass& c = FClasses[sizeClass];
    const std::size_t slots = c.NextBlockSlots;
    const std::size_t bytes = slots * c.SlotSize;
    if (FSlotCount > 0x7FFFFFFF - int(slots))
        throw std::length_error("too many nodes");
    FBlocks.reserve(FBlocks.size() + 1);
    char* memory = static_cast<char*>(::operator new(bytes));
    VARNEL_POISON(memory, bytes);
    const TBlock block{
        reinterpret_cast<std::uintptr_t>(memory), bytes, FSlotCount, sizeClass, c.Shift, c.Inverse};
    const auto at =
        std::upper_bound(FBlocks.begin(), FBlocks.end(), block.Begin,
                         [](std::uintptr_t begin, const TBlock& b) { return begin < b.Begin; });
    FBlocks.insert(at, block);
    FLastBlock = 0;
    FSlotCount += int(slots);
    c.Next = memory;
    c.End = memory + bytes;
    c.NextBlockSlots = std::max<std::size_t>(
        slots, std::min(slots * 2, std::max<std::size_t>(1, kMaxBlockBytes / c.SlotSize)));
}

int TdxNodePool::FindBlock(const void* p) const noexcept {
    const auto address = reinterpret_cast<std::uintptr_t>(p);
    if (FLastBlock < FBlocks.size()) {
        const TBlock& last = FBlocks[FLastBlock];
        if (address - last.Begin < last.Bytes)
            return int(FLastBlock);
    }
    const auto after =
        std::upper_bound(FBlocks.begin(), FBlocks.end(), address,
                         [](std::uintptr_t a, const TBlock& b) { return a < b.Begin; });
    if (after == FBlocks.begin())
        return -1;
    const TBlock& block = *(after - 1);
    if (address - block.Begin >= block.Bytes)
        return -1;
    FLastBlock = std::size_t(after - 1 - FBlocks.begin());
    return int(FLastBlock);
}

int TdxNodePool::SlotOfSlow(const void* slot) const noexcept {
    const int b = FindBlock(slot);
    if (b < 0)
        return -1;
    const TBlock& block = FBlocks[std::size_t(b)];
    return block.SlotAt(reinterpret_cast<std::uintptr_t>(slot) - block.Begin);
}

bool TdxNodePool::Release(void* slot) noexcept {
    const int b = FindBlock(slot);
    if (b < 0)
        return false;
    TSizeClass& c = FClasses[FBlocks[std::size_t(b)].SizeClass];
    *static_cast<void**>(slot) = c.FreeList;
    c.FreeList = slot;
    VARNEL_POISON(slot, c.SlotSize);
    if (--FLive == 0)
        ReleaseBlocks();
    return true;
}

void TdxNodePool::ReleaseBlocks() noexcept {
    for (const TBlock& block : FBlocks) {
        void* memory = reinterpret_cast<void*>(block.Begin);
        VARNEL_UNPOISON(memory, block.Bytes);
        ::operator delete(memory);
    }
    FBlocks.clear();
    FClasses.clear();
    FLastBlock = 0;
    FSlotCount = 0;
    FLive = 0;
}

} // namespace dxtl
