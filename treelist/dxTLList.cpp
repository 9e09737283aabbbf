// List-level node operations and the hooks nodes call.
//
// Sections:
//   lifetime                 - construction, destruction
//   adding and clearing      - AddNode, NodeAt, ClearNodes
//   update lock              - BeginUpdate, EndUpdate, LayoutChanged
//   node events              - NodeAdded, NodeDeleted, expansion, MakeVisible
//   edits                    - ending an in-place edit
#include "treelist/dxTL.h"

#include <cstdio>
#include <exception>

namespace dxtl {

using namespace fw;

std::string ValueToText(const TdxValue& value) {
    struct TVisitor {
        std::string operator()(std::monostate) const { return {}; }
        std::string operator()(std::int64_t v) const { return std::to_string(v); }
        std::string operator()(double v) const {
            char text[32];
            std::snprintf(text, sizeof text, "%.15g", v);
            return text;
        }
        std::string operator()(bool v) const { return v ? "True" : "False"; }
        std::string operator()(const std::string& v) const { return v; }
    };
    return std::visit(TVisitor{}, value);
}

// --- lifetime --------------------------------------------------------------------------------

TCustomdxTreeList::TCustomdxTreeList(TComponent* owner) : TCustomControl(owner) {}

TCustomdxTreeList::~TCustomdxTreeList() {
    // Reached without BeforeDestruction only through a plain delete.
    FDestroying = true;
    FreeAllQuietly();
}

void TCustomdxTreeList::BeforeDestruction() {
    // The nodes go while the whole list still exists: deletion handlers may read them
    // through hooks of the derived classes.
    FDestroying = true;
    FreeAllQuietly();
    TCustomControl::BeforeDestruction();
}

void TCustomdxTreeList::FreeAllQuietly() {
    // A list being destroyed has no caller to report a failing OnDeletion handler to; every
    // node is freed all the same.
    try {
        ClearNodes();
    } catch (...) {
    }
}

// --- adding and clearing ---------------------------------------------------------------------

TdxTreeListNode* TCustomdxTreeList::AddNode() {
    CheckTreeCanChange("add a node");
    TdxTreeListNode* node = CreateOwnedNode();
    try {
        FNodes.push_back(node);
    } catch (...) {
        DisposeNode(node);
        throw;
    }
    node->FIndexHint = FNodes.Place(FNodes.size() - 1);
    NodeAdded(node);
    return node;
}

TdxTreeListNode* TCustomdxTreeList::NodeAt(int index) const {
    if (index < 0 || index >= NodeCount())
        return nullptr;
    return FNodes[static_cast<std::size_t>(index)];
}

void TCustomdxTreeList::ForgetNodeReferences() {
    SetTopVisibleNode(nullptr);
    FFocusedNode = nullptr;
    FEditingNode = nullptr;
    FEditingColumn = -1;
    FSelection.Anchor = nullptr;
    FSelection.Extending = false;
    FSelection.RangeStart = nullptr;
    NodeGone(nullptr);
}

void TCustomdxTreeList::ClearNodes() {
    CheckTreeCanChange("clear the nodes");
    if (!FFreeing.empty())
        throw EInvaliddxTreeListOperation("Cannot clear the nodes while a node is being freed");
    // Clearing before the lock: the lock's reset of the row heights would walk every node
    // just before each one is freed.
    FClearing = true;
    const bool takeLock = !ListDestroying();
    if (takeLock)
        BeginUpdate();
    ClearRowIndex();

    std::exception_ptr firstError;
    try {
        ClearSelection();
    } catch (...) {
        firstError = std::current_exception();
    }
    ForgetNodeReferences();
    // Detached first, so that no OnDeletion handler reaches a node that has gone already.
    TNodeList nodes = std::move(FNodes);
    FNodes.clear();
    for (TdxTreeListNode* node : nodes) {
        try {
            FreeSubtree(node);
        } catch (...) {
            if (!firstError)
                firstError = std::current_exception();
        }
    }

    FTreeSummary.Emptied();
    FClearing = false;
    if (takeLock) {
        try {
            EndUpdate();
        } catch (...) {
            if (!firstError)
                firstError = std::current_exception();
        }
    }
    if (firstError)
        std::rethrow_exception(firstError);
}

// --- update lock -----------------------------------------------------------------------------

void TCustomdxTreeList::BeginUpdate() {
    ++FLockUpdate;
    BeginSelection();
    UpdateLockTaken();
    CancelEditing();
    // Under the lock nothing builds the index or caches a height again: once is enough.
    if (FLockUpdate == 1)
        ClearRowIndex();
}

void TCustomdxTreeList::EndUpdate() {
    // An unbalanced call must not leave the lock negative, which would disable every repaint.
    if (FLockUpdate == 0)
        return;
    --FLockUpdate;
    // The recalculation may scroll, and a top row handler may free the list.
    const fw::TLifeToken alive = LifeToken();
    // The selection lock is given back also when the recalculation raises.
    try {
        LayoutChanged();
    } catch (...) {
        if (alive)
            FSelection.Unlock();
        throw;
    }
    if (alive)
        EndSelection();
}

void TCustomdxTreeList::LayoutChanged() {
    // Loading ends with one full recalculation (Loaded).
    if (FLockUpdate != 0 || IsLoading() || ListDestroying())
        return;
    {
        const TTemporaryValue locked(*this, FLockUpdate, FLockUpdate + 1);
        RecalcLayout();
    }
    LayoutApplied();
}

void TCustomdxTreeList::RecalcLayout() {
    RebuildRowIndex();
}

void TCustomdxTreeList::LayoutApplied() {
    const fw::TLifeToken alive = LifeToken();
    UpdateScrollBars();
    if (!alive)
        return;
    ClampView();
    if (alive)
        Invalidate();
}

// --- node events -----------------------------------------------------------------------------

void TCustomdxTreeList::NodeAdded(TdxTreeListNode* node) {
    CancelEditing();
    if (!FTopVisibleNode)
        SetTopVisibleNode(node);
    // Directly: adding a node raises no focus event.
    if (!FFocusedNode)
        FFocusedNode = FTopVisibleNode;
    if (FLockUpdate != 0)
        return;
    TdxTreeListNode* repaintFrom = node->GetPrevSibling();
    if (!repaintFrom)
        repaintFrom = node->FParent ? node->FParent : node;
    if (IsLoading()) {
        // Loading skips the incremental update, so an index built before would be stale.
        FRowIndex.Clear();
    } else if (!ListDestroying()) {
        UpdateRowIndexFor(node, node->IsVisible(), node->IsLast(), false);
    }
    NodeChanged(repaintFrom, true);
}

bool TCustomdxTreeList::NodeHasChildren(const TdxTreeListNode* node) const {
    return node->ChildCount() > 0;
}

void TCustomdxTreeList::DoCollapsed(TdxTreeListNode* node) {
    if (OnCollapsed)
        OnCollapsed(this, node);
}

void TCustomdxTreeList::DoExpanded(TdxTreeListNode* node) {
    if (OnExpanded)
        OnExpanded(this, node);
}

void TCustomdxTreeList::DoCollapsing(TdxTreeListNode* node, bool& allow) {
    if (OnCollapsing)
        OnCollapsing(this, node, allow);
}

void TCustomdxTreeList::DoExpanding(TdxTreeListNode* node, bool& allow) {
    if (OnExpanding)
        OnExpanding(this, node, allow);
}

void TCustomdxTreeList::NodeDeleted(TdxTreeListNode* node, TdxTreeListNode* previous,
                                    TdxTreeListNode* next, bool last, bool visible) {
    // Read before the handler runs: a deletion inside it sets the flag for its own node.
    const bool wasDisplayed = FPendingWasVisible;
    // The row goes before the handler runs, so that the index matches the tree the handler
    // sees and never leads it to a node that has been taken out.
    if (!FClearing && wasDisplayed && FLockUpdate == 0 && !ListDestroying() && !FNodes.empty())
        UpdateRowIndexFor(node, true, last, true);
    // The references below must leave the node even when the handler raises, or they would
    // point at freed memory; the exception propagates at the end.
    std::exception_ptr handlerError;
    try {
        if (OnDeletion)
            OnDeletion(this, node);
    } catch (...) {
        handlerError = std::current_exception();
    }
    // The handler may have freed a neighbour: take the replacements kept in step.
    if (!FNeighbours.empty() && FNeighbours.back()->Node == node) {
        previous = FNeighbours.back()->Previous;
        next = FNeighbours.back()->Next;
    }
    const auto finish = [&] {
        if (handlerError)
            std::rethrow_exception(handlerError);
    };
    if (FClearing)
        return finish();
    // A freed node leaves the selection whatever the options now say.
    if (FSelection.Remove(node))
        SelectionCountChanged();
    if (FNodes.empty()) {
        FTreeSummary.Emptied();
        if (!ListDestroying())
            ClearRowIndex();
        ForgetNodeReferences();
        if (FLockUpdate == 0 && !ListDestroying()) {
            UpdateScrollBars();
            Invalidate();
        }
        return finish();
    }

    TdxTreeListNode* const replacement = previous ? previous : next;
    TdxTreeListNode* repaintFrom = nullptr;
    if (node == FTopVisibleNode) {
        SetTopVisibleNode(replacement);
        repaintFrom = FTopVisibleNode;
    }
    // Directly: deleting a node raises no focus event.
    if (node == FFocusedNode) {
        FFocusedNode = replacement;
        if (!repaintFrom)
            repaintFrom = FFocusedNode;
    }
    if (node == FSelection.Anchor)
        FSelection.Anchor = replacement;
    NodeGone(node);
    CancelEditing();
    if (visible) {
        if (!repaintFrom)
            repaintFrom = replacement;
        if (repaintFrom)
            NodeChanged(repaintFrom, true);
    }
    finish();
}

bool TCustomdxTreeList::FocusNodeBeforeCollapse(TdxTreeListNode* node) {
    ChangeFocus(node, FocusedColumn(), true);
    return true;
}

bool TCustomdxTreeList::CanSetNodeData(TdxTreeListNode*) {
    return true;
}

void TCustomdxTreeList::SetNodeExpanded(TdxTreeListNode* node, bool expanded) {
    if (!node->FHasChildren || node->FExpanded == expanded)
        return;
    // Every handler raised on the way may free the list.
    const fw::TLifeToken alive = LifeToken();
    bool allow = true;
    if (expanded)
        DoExpanding(node, allow);
    else
        DoCollapsing(node, allow);
    if (!alive || !allow)
        return;
    if (!expanded) {
        if (FTopVisibleNode && FTopVisibleNode->HasAsParent(node)) {
            SetTopVisibleNode(node);
            if (!alive)
                return;
        }
        if (FFocusedNode && FFocusedNode->HasAsParent(node) && !FocusNodeBeforeCollapse(node))
            return;
        if (!alive)
            return;
        // The anchor follows the focus out of the subtree, or a Shift range would start at a
        // row that is no longer shown.
        if (FSelection.Anchor && FSelection.Anchor->HasAsParent(node))
            FSelection.Anchor = node;
    }
    node->FExpanded = expanded;
    if (FLockUpdate == 0 && !ListDestroying())
        RebuildRowIndex();
    NodeChanged(node, true);
    if (!alive)
        return;
    if (expanded)
        DoExpanded(node);
    else
        DoCollapsed(node);
}

// --- edits ---------------------------------------------------------------------------------

void TCustomdxTreeList::CancelEditing() {
    FEditingNode = nullptr;
    FEditingColumn = -1;
    CloseEditor();
}

} // namespace dxtl
