// A list of sibling nodes. Internal to treelist/: a node keeps its children in one, the list its
// top-level nodes.
#pragma once

#include <cstddef>
#include <span>
#include <utility>
#include <vector>

namespace dxtl {

class TdxTreeListNode;

// Sibling nodes in display order, contiguous. Removing the first entry is O(1) and leaves the
// others at their places in the storage: a subtree is freed one first child at a time, and
// erasing from the front of a plain vector would make that quadratic. Nodes remember their
// place (Place), not their index, so that what they remember stays right while the nodes
// before them go. The dead entries in front are dropped when an entry is added while they
// make up half the storage.
class TdxNodeList {
public:
    TdxNodeList() = default;
    TdxNodeList(const TdxNodeList&) = delete;
    TdxNodeList& operator=(const TdxNodeList&) = delete;
    TdxNodeList(TdxNodeList&& other) noexcept
        : FItems(std::move(other.FItems)), FHead(std::exchange(other.FHead, 0)) {
        other.FItems.clear();
    }
    TdxNodeList& operator=(TdxNodeList&& other) noexcept {
        FItems = std::move(other.FItems);
        FHead = std::exchange(other.FHead, 0);
        other.FItems.clear();
        return *this;
    }

    std::size_t size() const { return FItems.size() - FHead; }
    bool empty() const { return FItems.size() == FHead; }
    TdxTreeListNode* operator[](std::size_t i) const { return FItems[FHead + i]; }
    TdxTreeListNode*& operator[](std::size_t i) { return FItems[FHead + i]; }
    TdxTreeListNode* front() const { return FItems[FHead]; }
    TdxTreeListNode* back() const { return FItems.back(); }
    TdxTreeListNode* const* begin() const { return FItems.data() + FHead; }
    TdxTreeListNode* const* end() const { return FItems.data() + FItems.size(); }
    std::span<TdxTreeListNode* const> Span() const { return {begin(), size()}; }
    // The storage place of entry `i`, and the entry at a place (may lie out of range).
    int Place(std::size_t i) const { return static_cast<int>(FHead + i); }
    int IndexAt(int place) const { return place - static_cast<int>(FHead); }

    void push_back(TdxTreeListNode* node) {
        CompactBeforeAdding();
        FItems.push_back(node);
    }
    void insert(std::size_t at, TdxTreeListNode* node) {
        if (at == 0 && FHead > 0) {
            FItems[--FHead] = node;
            return;
        }
        CompactBeforeAdding();
        FItems.insert(FItems.begin() + std::ptrdiff_t(FHead + at), node);
    }
    void erase(std::size_t at) {
        if (at == 0) {
            FItems[FHead++] = nullptr;
            if (FHead == FItems.size())
                clear();
            return;
        }
        FItems.erase(FItems.begin() + std::ptrdiff_t(FHead + at));
    }
    void clear() {
        FItems.clear();
        FHead = 0;
    }

private:
    // Bounds the storage of a list used as a queue (added at the end, taken from the front).
    void CompactBeforeAdding() {
        if (FHead > 0 && FHead * 2 >= FItems.size()) {
            FItems.erase(FItems.begin(), FItems.begin() + std::ptrdiff_t(FHead));
            FHead = 0;
        }
    }

    std::vector<TdxTreeListNode*> FItems;
    // Entries before it are dead.
    std::size_t FHead = 0;
};

} // namespace dxtl
