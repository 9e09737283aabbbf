// What node changes do to the view: repaint requests and the top row. Until the layout and
// scrolling exist, every row is RowHeight() pixels high and the data area is the client area.
#include "treelist/dxTL.h"

#include <algorithm>

namespace dxtl {

using namespace fw;

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
    UpdateScrollBars();
    const TRect area = DataAreaRect();
    const int row = RowOf(node);
    const int top = std::max(RowOf(FTopVisibleNode), 0);
    if (row < 0)
        return;
    const long long y = area.Top + static_cast<long long>(row - top) * RowHeight();
    const TRect below{area.Left, static_cast<int>(std::clamp<long long>(y, area.Top, area.Bottom)),
                      area.Right, area.Bottom};
    if (!below.IsEmpty())
        InvalidateRect(below);
}

void TCustomdxTreeList::SetTopVisibleNode(TdxTreeListNode* node) {
    if (node == FTopVisibleNode)
        return;
    FTopVisibleNode = node;
    if (FLockUpdate == 0 && !ListDestroying() && HandleAllocated())
        Invalidate();
}

TRect TCustomdxTreeList::DataAreaRect() const {
    return ClientRect();
}

int TCustomdxTreeList::VisibleRowCount() const {
    return std::max(1, DataAreaRect().Height() / RowHeight());
}

TRect TCustomdxTreeList::NodeRowRect(const TdxTreeListNode* node) const {
    const int row = RowOf(node);
    if (row < 0)
        return {};
    const int top = std::max(RowOf(FTopVisibleNode), 0);
    const TRect area = DataAreaRect();
    const long long y = area.Top + static_cast<long long>(row - top) * RowHeight();
    if (y < area.Top || y >= area.Bottom)
        return {};
    const int rowTop = static_cast<int>(y);
    return IntersectRect({area.Left, rowTop, area.Right, rowTop + RowHeight()}, area);
}

} // namespace dxtl
