// Hit testing of a tree list: what lies under a point, found in the geometry the paint pass
// draws (TGeometry), never in rectangles computed a second time. Panels first (band panel,
// header panel, new item row, footer), then the indicator column, then the rows: a row's footer
// lines, its preview, the tree part of its indent, its cells and what lies right of them.
#include "treelist/dxTLGeometry.h"

#include <algorithm>

namespace dxtl {

using namespace fw;

namespace {

// How close to an edge a press starts sizing.
constexpr int kEdgeZone = 4;

bool NearEdge(int position, int edge) {
    return position >= edge - kEdgeZone && position < edge + kEdgeZone;
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
    const TdxLayoutLists& layout = geometry.Layout();

    // --- band panel --------------------------------------------------------------------------
    if (y < areas.BandPanel.Bottom) {
        if (FOptionsEx.Contains(aoBandPanelSizing) && NearEdge(y, areas.BandPanel.Bottom)) {
            hit.Area = haBandPanelEdge;
            return hit;
        }
        if (x < areas.BandPanel.Left) {
            hit.Area = haBandButton;
            return hit;
        }
        for (int position = 0; position < static_cast<int>(layout.Bands.size()); ++position) {
            const TRect band = geometry.BandRect(position);
            const TdxTreeListBand* item = FBands->Items(layout.Bands[std::size_t(position)].Band);
            const bool sizable = FOptionsEx.Contains(aoBandSizing) && item->Sizing() && FShowBands;
            if (sizable && NearEdge(x, band.Right)) {
                hit.BandIndex = item->Index();
                hit.Area = haBandEdge;
                return hit;
            }
            if (x >= band.Left && x < band.Right) {
                hit.BandIndex = item->Index();
                hit.Area = haBandHeader;
            }
        }
        return hit;
    }

    // --- header panel ------------------------------------------------------------------------
    if (y < areas.HeaderPanel.Bottom) {
        if (FOptionsEx.Contains(aoHeaderPanelSizing) && NearEdge(y, areas.HeaderPanel.Bottom)) {
            hit.Area = haHeaderPanelEdge;
            return hit;
        }
        if (x < areas.HeaderPanel.Left) {
            hit.Area = haHeaderButton;
            return hit;
        }
        for (const TdxHeaderItem& item : layout.HeaderItems) {
            const TRect header = geometry.HeaderRect(item);
            if (y < header.Top || y >= header.Bottom)
                continue;
            const TdxTreeListColumn* column = FColumns[std::size_t(item.Column)];
            if (FOptions.Contains(aoColumnSizing) && column->Sizing() &&
                NearEdge(x, header.Right)) {
                hit.ColumnIndex = item.Column;
                hit.BandIndex = layout.Bands[std::size_t(item.BandPosition)].Band;
                hit.Area = haColumnEdge;
                return hit;
            }
            if (x >= header.Left && x < header.Right) {
                hit.ColumnIndex = item.Column;
                hit.BandIndex = layout.Bands[std::size_t(item.BandPosition)].Band;
                hit.Area = haColumnHeader;
            }
        }
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
        hit.Area = FOptionsEx.Contains(aoRowSizing) && NearEdge(y, found.Bottom()) ? haRowEdge
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

    // The tree part: the expand button in the node's own level slot, then the state image and
    // the node image; left of the first of them lies the indent.
    if (x < found.IndentRight) {
        TRect button;
        if (found.Node->HasChildren() && FShowButtons && found.LevelSlots > 0)
            button = found.Slot(found.LevelSlots - 1);
        TRect stateImage = found.StateImage;
        TRect nodeImage = found.NodeImage;
        // Without a state image the node image's last column belongs to no part.
        if (stateImage.IsEmpty() && !nodeImage.IsEmpty())
            --nodeImage.Right;
        if (!button.IsEmpty() && button.Contains(p))
            hit.Area = haExpandButton;
        else if (stateImage.Contains(p))
            hit.Area = haStateImage;
        else if (nodeImage.Contains(p))
            hit.Area = haNodeImage;
        else {
            const int firstElement = !button.IsEmpty()       ? button.Left
                                     : !stateImage.IsEmpty() ? stateImage.Left
                                     : !nodeImage.IsEmpty()  ? nodeImage.Left
                                                             : found.IndentRight;
            hit.Area = x < firstElement ? haIndent : haEmpty;
        }
        return hit;
    }

    // The cells, and right of the columns the row's end.
    for (const TdxHeaderItem& item : layout.HeaderItems) {
        TRect cell;
        if (!geometry.CellRect(found, item, cell))
            continue;
        // The grid line right of a cell belongs to it; a scrolling band's cell only where it
        // shows between the fixed bands.
        const TRect target = geometry.VisibleCell(
            item, {cell.Left, cell.Top, cell.Right + (FShowGrid ? 1 : 0), cell.Bottom});
        if (target.Contains(p)) {
            hit.ColumnIndex = item.Column;
            hit.BandIndex = layout.Bands[std::size_t(item.BandPosition)].Band;
            hit.Area = haCell;
            return hit;
        }
    }
    if (x > geometry.ColumnsRight() || geometry.EmptyRight().Contains(p))
        hit.Area = haRowEnd;
    return hit;
}

} // namespace dxtl
