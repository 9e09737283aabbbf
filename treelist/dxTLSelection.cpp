// The selection of a tree list: membership, single changes with their event, the selection
// filter, ranges (one sort and one merge), the lock that makes a gesture raise one event, the
// repaint of the selection and freeing the selected nodes.
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
        // The filter's handler may free the list.
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
    bool allow = true;
    if (OnCanNodeSelected) {
        // The handler may free the list: then nothing is selected.
        const TLifeToken alive = LifeToken();
        OnCanNodeSelected(this, node, allow);
        if (!alive)
            return false;
    }
    if (allow && !ExtMultiSelect()) {
        const TdxTreeListNode* first =
            FSelection.Count() > 0 ? FSelection.At(0) : FSelection.RangeStart;
        if (first)
            allow = node->Parent() == first->Parent();
    }
    return allow;
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
    // Both ends are taken among the shown rows: a hidden node stands for its nearest shown
    // ancestor, so the range never starts at a row that does not exist.
    a = ShownNodeOf(a);
    b = ShownNodeOf(b);
    if (!a || !b || a->FOwner != this || b->FOwner != this)
        return;
    // Rows are read before the lock, while the row index answers them at once.
    if (RowOf(a) > RowOf(b))
        std::swap(a, b);
    // The filter's handler may free the list: then nothing of it is touched any more.
    const TLifeToken alive = LifeToken();
    const TSelectionLock selectionLock(*this);
    const TUpdateLock updateLock(*this);
    const TTemporaryValue<TdxTreeListNode*> rangeStart(*this, FSelection.RangeStart, nullptr);
    std::vector<TdxTreeListNode*> collected;
    for (TdxTreeListNode* node = a; node; node = node->GetNextRow()) {
        if (!FSelection.RangeStart)
            FSelection.RangeStart = node;
        const bool allowed = CanSelectNode(node);
        if (!alive)
            return;
        if (allowed)
            collected.push_back(node);
        if (node == b)
            break;
    }
    FSelection.Merge(std::move(collected));
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

// --- the selection as text ------------------------------------------------------------------

std::string TCustomdxTreeListControl::SelectionText() {
    const std::vector<TdxHeaderItem>& items = Layout().HeaderItems;
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            text += '\t';
        text += FColumns[std::size_t(items[i].Column)]->Caption();
    }
    // The header line ends in a line break of its own, so an empty line follows it.
    text += "\r\n";
    std::vector<TdxTreeListNode*> rows;
    if (MultiSelect()) {
        // Tree order: every node in pre-order, the selected ones picked.
        if (SelectedCount() > 0)
            for (TdxTreeListNode* node = NodeAt(0); node; node = node->GetNext())
                if (IsNodeSelected(node))
                    rows.push_back(node);
    } else if (FocusedNode()) {
        rows.push_back(FocusedNode());
    }
    text += "\r\n";
    for (TdxTreeListNode* node : rows) {
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (i > 0)
                text += '\t';
            text += GetNodeString(node, FColumns[std::size_t(items[i].Column)]->FieldIndex());
        }
        text += "\r\n";
    }
    return text;
}

void TCustomdxTreeListControl::CopySelectionToClipboard() {
    if (HasPlatform())
        Platform().SetClipboardText(SelectionText());
}

} // namespace dxtl
