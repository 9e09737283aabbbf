// What node changes do to the view: the rows' geometry, repaint requests and the top row. Rows
// are stacked from the top row down the data area, each NodeHeight pixels high.
#include "treelist/dxTL.h"

#include <algorithm>

namespace dxtl {

using namespace fw;

int TCustomdxTreeList::NodeHeight(const TdxTreeListNode*) const {
    return RowHeight();
}

TdxTreeListNode* TCustomdxTreeList::FirstViewRow() const {
    return FTopVisibleNode ? FTopVisibleNode : NodeAtAbsoluteIndex(0);
}

bool TCustomdxTreeList::RowTop(const TdxTreeListNode* node, const TRect& area, int& top) const {
    // A row above the top row is not in view; no walk can tell that cheaper than the index.
    if (RowOf(node) < std::max(RowOf(FTopVisibleNode), 0))
        return false;
    bool found = false;
    StackRows(FirstViewRow(), area.Top, area.Bottom, [&](TdxTreeListNode* n, int rowTop) {
        if (n != node)
            return NodeHeight(n);
        top = rowTop;
        found = true;
        return -1;
    });
    return found;
}

void TCustomdxTreeList::NodeChanged(TdxTreeListNode* node, bool fromRowDownward) {
    if (!node || node->FDeleting || FLockUpdate != 0 || ListDestroying() || !node->IsVisible())
        return;
    // Nothing on screen yet: no row to repaint (and no row number to work out).
    if (!HandleAllocated())
        return;
    if (!fromRowDownward) {
        const TRect row = NodeRowRect(node);
        if (!row.IsEmpty())
            InvalidateRect(row);
        return;
    }
    // The rows below may move because this one changed height (wrapped texts, previews):
    // measure it again.
    node->FRowHeight = 0;
    // Keeping the view in range may scroll, and a top row handler may free the list.
    const TLifeToken alive = LifeToken();
    UpdateScrollBars();
    if (!alive)
        return;
    ClampView();
    if (!alive)
        return;
    const TRect area = DataAreaRect();
    const int row = RowOf(node);
    if (row < 0)
        return;
    int top = area.Top;
    // A row above the top row moves every row in view.
    if (row >= std::max(RowOf(FTopVisibleNode), 0) && !RowTop(node, area, top))
        return;
    const TRect below{ClientRect().Left, top, area.Right, area.Bottom};
    if (!below.IsEmpty())
        InvalidateRect(below);
}

void TCustomdxTreeList::SetTopVisibleNode(TdxTreeListNode* node) {
    if (node == FTopVisibleNode)
        return;
    FTopVisibleNode = node;
    if (OnChangeTopVisibleNode && !ListDestroying())
        OnChangeTopVisibleNode(this);
}

TRect TCustomdxTreeList::DataAreaRect() const {
    return ClientRect();
}

// The row from the client's left edge (an indicator cell belongs to its row) to the data
// area's right, cut at the area's bottom.
TRect TCustomdxTreeList::NodeRowRect(const TdxTreeListNode* node) const {
    const TRect area = DataAreaRect();
    int top = 0;
    if (!RowTop(node, area, top))
        return {};
    return {ClientRect().Left, top, area.Right, std::min(top + NodeHeight(node), area.Bottom)};
}

} // namespace dxtl
