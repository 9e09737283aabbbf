// The selection of a tree list: membership, single changes with their event, the selection
// filter, ranges, deciding on a copy and committing a decision in one step (its changed rows
// repainted, the count told once), the lock that makes a gesture raise one event, the repaint
// of the selection and freeing the selected nodes.
#include "treelist/dxTL.h"

#include <exception>
#include <vector>

namespace dxtl {

using namespace fw;

namespace {
// Above this many selected rows one repaint of the control is cheaper than one per row.
constexpr int kRowByRowRepaintLimit = 10;
} // namespace

bool TCustomdxTreeList::IsNodeSelected(const TdxTreeListNode* node) const {
    if (!node)
        return false;
    return MultiSelect() ? FSelection.Contains(node) : node == FFocusedNode;
}

void TCustomdxTreeList::SelectionCountChanged() {
    if (!ListDestroying() && !FSelection.Locked() && OnSelectedCountChange)
        OnSelectedCountChange(this);
}

void TCustomdxTreeList::SetNodeSelected(TdxTreeListNode* node, bool selected) {
    if (!MultiSelect() || !node)
        return;
    if (selected) {
        // The filter's handler may free the list, or nodes (this one, say): then nothing is
        // selected.
        const TLifeToken alive = LifeToken();
        if (!CanSelectNode(node) || !alive)
            return;
        FSelection.Insert(node);
    } else {
        FSelection.Remove(node);
    }
    NodeChanged(node, false);
    // Outside a lock every call that got here tells, also when the set did not change.
    SelectionCountChanged();
}

bool TCustomdxTreeList::CanSelectNode(TdxTreeListNode* node) {
    // The handler may free the list: then nothing is selected.
    if (AskHandler(node) != TdxHandlerVerdict::Allows)
        return false;
    return ExtMultiSelect() || FSelection.SharesParentWithFirst(node);
}

TdxHandlerVerdict TCustomdxTreeList::AskHandler(TdxTreeListNode* node) {
    if (!OnCanNodeSelected)
        return TdxHandlerVerdict::Allows;
    bool allow = true;
    const TLifeToken alive = LifeToken();
    const std::uint64_t freedBefore = FNodesFreed;
    OnCanNodeSelected(this, node, allow);
    if (!alive)
        return TdxHandlerVerdict::FreedList;
    if (FNodesFreed != freedBefore)
        return TdxHandlerVerdict::FreedNodes;
    return allow ? TdxHandlerVerdict::Allows : TdxHandlerVerdict::Refuses;
}

void TCustomdxTreeList::ClearSelection() {
    if (FSelection.Count() == 0)
        return;
    if (!ListDestroying() && !FClearing)
        InvalidateSelection();
    FSelection.Clear();
    FSelection.Extending = false;
    SelectionCountChanged();
}

TdxTreeListNode* TCustomdxTreeList::ShownNodeOf(TdxTreeListNode* node) const {
    TdxTreeListNode* shown = node;
    for (TdxTreeListNode* p = node ? node->FParent : nullptr; p; p = p->FParent)
        if (!p->FExpanded)
            shown = p;
    return shown;
}

void TCustomdxTreeList::SelectRange(TdxTreeListNode* a, TdxTreeListNode* b) {
    // The filter's handler may free the list.
    const TLifeToken alive = LifeToken();
    TdxSelectionDecision decision = DecideSelection();
    decision.SelectRange(a, b);
    if (alive)
        CommitSelection(decision);
}

// --- deciding and committing -----------------------------------------------------------------

TdxSelectionDecision TCustomdxTreeList::DecideSelection() {
    return TdxSelectionDecision(*this, FSelection, MultiSelect(), ExtMultiSelect());
}

bool TCustomdxTreeList::CommitSelection(const TdxSelectionDecision& decision) {
    if (decision.Stopped())
        return false;
    const std::vector<TdxTreeListNode*> changed = FSelection.ChangedNodes(decision.Result());
    // The lock tells the count once, when it changed, as it is given back.
    const TSelectionLock lock(*this);
    FSelection.Adopt(decision.Result());
    if (ListDestroying())
        return true;
    if (changed.size() > std::size_t(kRowByRowRepaintLimit)) {
        if (HandleAllocated() && FLockUpdate == 0)
            Invalidate();
        return true;
    }
    for (TdxTreeListNode* node : changed)
        NodeChanged(node, false);
    return true;
}

int TCustomdxTreeList::RowOfNode(const TdxTreeListNode* node) const {
    return RowOf(node);
}

TdxTreeListNode* TCustomdxTreeList::RowAfter(const TdxTreeListNode* node) const {
    return NextRowOf(node);
}

TdxTreeListNode* TCustomdxTreeList::ShownRowOf(TdxTreeListNode* node) const {
    TdxTreeListNode* shown = ShownNodeOf(node);
    return shown && shown->FOwner == this ? shown : nullptr;
}

int TCustomdxTreeList::CompareWithAnchor(const TdxTreeListNode* node) const {
    const int difference = RowOf(node) - RowOf(FSelection.Anchor);
    return difference < 0 ? -1 : difference > 0 ? 1 : 0;
}

void TCustomdxTreeList::EndSelection() {
    if (FSelection.Unlock())
        SelectionCountChanged();
}

void TCustomdxTreeList::InvalidateSelection() {
    NodeChanged(FFocusedNode, false);
    if (FSelection.Count() > kRowByRowRepaintLimit) {
        if (HandleAllocated() && FLockUpdate == 0)
            Invalidate();
        return;
    }
    for (int i = 0; i < FSelection.Count(); ++i)
        NodeChanged(FSelection.At(i), false);
}

void TCustomdxTreeList::DeleteSelection() {
    const TUpdateLock lock(*this);
    // Each deletion takes the node out of the set (with its selected descendants).
    while (FSelection.Count() > 0)
        FSelection.At(0)->Free();
    FSelection.Clear();
}

} // namespace dxtl
