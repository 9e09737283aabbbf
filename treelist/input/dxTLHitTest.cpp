// Hit testing of a tree list: what lies under a point, found in the geometry the paint pass
// draws (TGeometry), never in rectangles computed a second time. Panels first (the band and
// header panels are the header panel's, dxTLHeaderPanel.h; new item row, footer), then the
// indicator column, then the rows: a row's footer lines, its preview, the tree part of its indent,
// its cells and what lies right of them.
#include "treelist/dxTLControlParts.h"
#include "treelist/header/dxTLHeaderPanel.h"
#include "treelist/layout/dxTLGeometry.h"

#include <algorithm>

namespace dxtl {

using namespace fw;

namespace {

// The tree part of a row's indent: the expand button in the node's own level slot, then the
// state image and the node image; left of the first of them lies the indent.
TTreeListHitArea TreePartAt(const TdxRowGeometry& found, TPoint p, bool showButtons) {
    TRect button;
    if (found.Node->HasChildren() && showButtons && found.LevelSlots > 0)
        button = found.Slot(found.LevelSlots - 1);
    TRect stateImage = found.StateImage;
    TRect nodeImage = found.NodeImage;
    // Without a state image the node image's last column belongs to no part.
    if (stateImage.IsEmpty() && !nodeImage.IsEmpty())
        --nodeImage.Right;
    if (!button.IsEmpty() && button.Contains(p))
        return haExpandButton;
    if (stateImage.Contains(p))
        return haStateImage;
    if (nodeImage.Contains(p))
        return haNodeImage;
    const int firstElement = !button.IsEmpty()       ? button.Left
                             : !stateImage.IsEmpty() ? stateImage.Left
                             : !nodeImage.IsEmpty()  ? nodeImage.Left
                                                     : found.IndentRight;
    return p.X < firstElement ? haIndent : haEmpty;
}

// The cell of the row under the point; false when the point lies in none.
template <class TGeometry>
bool HitCell(const TGeometry& geometry, const TdxRowGeometry& found, TPoint p, bool showGrid,
             TTreeListHitInfo& hit) {
    const TdxLayoutLists& layout = geometry.Layout();
    for (const TdxHeaderItem& item : layout.HeaderItems) {
        TRect cell;
        if (!geometry.CellRect(found, item, cell))
            continue;
        // The grid line right of a cell belongs to it; a scrolling band's cell only where it
        // shows between the fixed bands.
        const TRect target = geometry.VisibleCell(
            item, {cell.Left, cell.Top, cell.Right + (showGrid ? 1 : 0), cell.Bottom});
        if (target.Contains(p)) {
            hit.ColumnIndex = item.Column;
            hit.BandIndex = layout.Bands[std::size_t(item.BandPosition)].Band;
            hit.Area = haCell;
            return true;
        }
    }
    return false;
}

} // namespace

TTreeListHitInfo TCustomdxTreeListControl::HitTest(int x, int y) const {
    TTreeListHitInfo hit;
    hit.Point = {x, y};
    const TGeometry geometry(*this, FLeftCoord);
    const TdxTreeListAreas& areas = geometry.Areas();
    const TPoint p{x, y};
    if (!areas.Client.Contains(p))
        return hit;
    hit.Area = haEmpty;

    // --- panels ------------------------------------------------------------------------------
    if (y < areas.HeaderPanel.Bottom) {
        FParts->HeaderPanel->HitTest(geometry, hit);
        return hit;
    }
    if (areas.NewItemRow.Contains(p)) {
        hit.Area = haNewItemRow;
        return hit;
    }
    if (areas.Footer.Contains(p)) {
        hit.Area = haFooter;
        return hit;
    }
    if (!areas.Rows.Contains(p) && !areas.Indicator.Contains(p))
        return hit;

    // --- rows --------------------------------------------------------------------------------
    TdxRowGeometry found;
    int rowOnScreen = -1;
    int shown = 0;
    std::vector<TdxTreeListNode*> footerParents;
    geometry.ForEachRow(
        TopVisibleNode(),
        [&](const TdxRowGeometry& row) {
            if (y >= row.Top && y < row.Bottom()) {
                found = row;
                rowOnScreen = shown;
                return false;
            }
            ++shown;
            return true;
        },
        &footerParents);
    if (!found.Node)
        return hit;
    hit.Node = found.Node;
    hit.RowOnScreen = rowOnScreen;

    if (areas.Indicator.Contains(p)) {
        hit.Area =
            FOptionsEx.Contains(aoRowSizing) && TdxTreeListHeaderPanel::NearEdge(y, found.Bottom())
                ? haRowEdge
                : haIndicator;
        return hit;
    }
    if (y >= found.FooterTop) {
        hit.FooterLevel = (y - found.FooterTop) / std::max(FHeights.RowFooter, 1);
        hit.Area = haRowFooter;
        return hit;
    }
    if (found.PreviewHeight > 0 && y >= found.PreviewTop && y < found.SeparatorTop &&
        x >= found.IndentRight) {
        hit.Area = haPreview;
        return hit;
    }

    if (x < found.IndentRight) {
        hit.Area = TreePartAt(found, p, ShowButtons());
        return hit;
    }

    // The cells, and right of the columns the row's end.
    if (HitCell(geometry, found, p, ShowGrid(), hit))
        return hit;
    if (x > geometry.ColumnsRight() || geometry.EmptyRight().Contains(p))
        hit.Area = haRowEnd;
    return hit;
}

} // namespace dxtl
