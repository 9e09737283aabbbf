// The selection state of a tree list: the selected nodes as a set ordered by node identity, the
// anchor of Shift ranges, the extending flag, the running range's start and the selection lock.
// Internal to treelist/: the list keeps one and raises the events around it.
#pragma once

#include <cstddef>
#include <vector>

namespace dxtl {

class TdxTreeListNode;

class TdxTreeListSelection {
public:
    // --- The set: node addresses in ascending order, no duplicates ---------------------------
    int Count() const { return static_cast<int>(FNodes.size()); }
    // None outside 0 .. Count() - 1.
    TdxTreeListNode* At(int index) const;
    bool Contains(const TdxTreeListNode* node) const;
    // False when it was there already.
    bool Insert(TdxTreeListNode* node);
    // False when it was not there.
    bool Remove(const TdxTreeListNode* node);
    void Clear() { FNodes.clear(); }
    // Adds `nodes` (any order, duplicates allowed): one sort and one merge.
    void Merge(std::vector<TdxTreeListNode*> nodes);
    // Without aoExtMultiSelect the selected nodes share one parent: the node has the parent of
    // the first selected node (of the running range's start when none is selected).
    bool SharesParentWithFirst(const TdxTreeListNode* node) const;
    // The nodes in one of the two sets only, in identity order.
    std::vector<TdxTreeListNode*> ChangedNodes(const TdxTreeListSelection& other) const;
    // Takes the nodes, the anchor and the extending flag of a decided selection; the lock
    // stays as it is.
    void Adopt(const TdxTreeListSelection& decided);

    // --- Gesture state --------------------------------------------------------------------------
    TdxTreeListNode* Anchor = nullptr;
    // A run of Shift+arrow keys keeps extending one range.
    bool Extending = false;
    // The first node the running SelectRange visited; none outside it.
    TdxTreeListNode* RangeStart = nullptr;

    // --- Lock: OnSelectedCountChange waits while it is held ----------------------------------
    // Takes the lock, remembering the count when it was free.
    void Lock();
    // Gives it back; true when it came free with another count than the one remembered.
    bool Unlock();
    bool Locked() const { return FLock > 0; }

private:
    std::vector<TdxTreeListNode*> FNodes;
    int FLock = 0;
    int FCountAtLock = 0;
};

} // namespace dxtl
