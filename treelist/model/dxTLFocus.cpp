// The focus of a tree list: the focused node and column, ChangeFocus (the one road by which the
// focus moves, with its events), FocusRow, and what the input focus arriving or leaving
// repaints.
#include "treelist/dxTL.h"

#include <algorithm>
#include <exception>

namespace dxtl {

using namespace fw;

int TCustomdxTreeList::FocusedColumn() const {
    if (RowSelectMode())
        return 0;
    return FFocusedColumn >= 0 && FFocusedColumn < VisibleColumnCount() ? FFocusedColumn : 0;
}

void TCustomdxTreeList::SetFocusedColumn(int column) {
    if (FFocusedNode)
        ChangeFocus(FFocusedNode, column, true);
    else
        FFocusedColumn = column;
}

TRect TCustomdxTreeList::NodeCellRect(const TdxTreeListNode* node, int) const {
    return NodeRowRect(node);
}

void TCustomdxTreeList::ChangeFocus(TdxTreeListNode* node, int column, bool makeVisible) {
    if (!node)
        return;
    if (node->FOwner != this)
        throw EInvaliddxTreeListOperation("Cannot focus a node of another list");
    CancelEditing();
    TdxTreeListNode* const oldNode = FFocusedNode;
    const int oldColumn = FocusedColumn();
    // Scrolling a column into view raises OnChangeLeftCoord, whose handler may free the list.
    const fw::TLifeToken alive = LifeToken();
    // The finishing steps run on every way out; the first exception is the one reported.
    const TScopeExit finish(*this, [&] { FinishFocusChange(oldNode, oldColumn, makeVisible); });
    if (FLockUpdate > 0) {
        FFocusedNode = node;
        FFocusedColumn = column;
    } else if (node == FFocusedNode) {
        // Another cell of the focused row (cell mode only): both cells repaint.
        if (!RowSelectMode() && column != oldColumn) {
            MakeColumnVisible(column);
            if (!alive)
                return;
            const TRect oldCell = NodeCellRect(node, oldColumn);
            FFocusedColumn = column;
            const TRect newCell = NodeCellRect(node, FocusedColumn());
            for (const TRect& cell : {oldCell, newCell})
                if (!cell.IsEmpty() && HandleAllocated())
                    InvalidateRect(cell);
        }
    } else {
        if (!RowSelectMode()) {
            FFocusedColumn = column;
            MakeColumnVisible(column);
            if (!alive)
                return;
        }
        FFocusedNode = node;
        if (oldNode)
            NodeChanged(oldNode, false);
        NodeChanged(node, false);
    }
}

void TCustomdxTreeList::FinishFocusChange(TdxTreeListNode* oldNode, int oldColumn,
                                          bool makeVisible) {
    // Expansion, top row and focus handlers may free the list.
    const fw::TLifeToken alive = LifeToken();
    if (makeVisible && FFocusedNode) {
        MakeVisible(FFocusedNode);
        if (!alive)
            return;
    }
    if (FFocusedNode != oldNode && OnChangeNode) {
        OnChangeNode(this, oldNode, FFocusedNode);
        if (!alive)
            return;
    }
    if (const int column = FocusedColumn(); column != oldColumn && OnChangeColumn)
        OnChangeColumn(this, FFocusedNode, column);
}

void TCustomdxTreeList::FocusRow(int row) {
    if (TdxTreeListNode* target = FocusRowTarget(row))
        ChangeFocus(target, FocusedColumn(), true);
}

TdxTreeListNode* TCustomdxTreeList::FocusRowTarget(int row) const {
    if (FNodes.empty())
        return nullptr;
    const int current = FFocusedNode ? std::max(RowOf(FFocusedNode), 0) : 0;
    if (row == current)
        return nullptr;
    row = std::clamp(row, 0, std::max(AbsoluteCount() - 1, 0));
    if (row == current)
        return nullptr;
    return NodeAtAbsoluteIndex(row);
}

// Focused and selected rows are drawn in the highlight colours only while the list has the
// input focus.
void TCustomdxTreeList::FocusGained() {
    // Directly: taking the input focus raises no focus event.
    if (!FFocusedNode)
        FFocusedNode = FTopVisibleNode;
    NodeChanged(FFocusedNode, false);
    if (MultiSelect() && FSelection.Count() > 0)
        InvalidateSelection();
}

void TCustomdxTreeList::FocusLost() {
    NodeChanged(FFocusedNode, false);
    CancelEditing();
    if (MultiSelect() && FSelection.Count() > 0)
        InvalidateSelection();
}

} // namespace dxtl
