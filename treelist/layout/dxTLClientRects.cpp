// Where the columns' layout lies in the client area: band captions, column headers and how
// far a resize may go. Read from the one geometry that painting and hit testing read.
#include "treelist/dxTLControlParts.h"
#include "treelist/layout/dxTLGeometry.h"

namespace dxtl {

using namespace fw;

int TCustomdxTreeListControl::ColumnLeft(int column) const {
    const TGeometry geometry(*this, FLeftCoord);
    const TdxHeaderItem* item = geometry.ItemOfColumn(column);
    return item ? geometry.ItemLeft(*item) : -1;
}

TRect TCustomdxTreeListControl::BandRect(int position) const {
    return TGeometry(*this, FLeftCoord).BandRect(position);
}

TRect TCustomdxTreeListControl::HeaderRect(int column) const {
    const TGeometry geometry(*this, FLeftCoord);
    const TdxHeaderItem* item = geometry.ItemOfColumn(column);
    return item ? geometry.HeaderRect(*item) : TRect{};
}

TdxSizingBounds TCustomdxTreeListControl::ColumnSizingBounds(int column) const {
    TdxSizingBounds bounds;
    bounds.MinWidth = ColumnMinWidth(column);
    const TGeometry geometry(*this, FLeftCoord);
    const TdxHeaderItem* item = geometry.ItemOfColumn(column);
    if (!item)
        return bounds;
    const int position = item->BandPosition;
    const bool followHeaders = FDefaultLayout || FOptionsEx.Contains(aoBandHeaderWidth);
    if (FOptionsEx.Contains(aoFullSizing) && !FOptions.Contains(aoAutoWidth))
        bounds.MaxRight = kMaxSizingRight;
    else if (!ShowBands() && followHeaders)
        bounds.MaxRight = ClientWidth() - 1;
    else
        bounds.MaxRight =
            geometry.BandLeft(position) + geometry.Layout().Bands[std::size_t(position)].Width;
    return bounds;
}

TdxSizingBounds TCustomdxTreeListControl::BandSizingBounds(int position) const {
    TdxSizingBounds bounds;
    bounds.MinWidth = BandMinWidth(position);
    bounds.MaxRight = FOptionsEx.Contains(aoFullSizing) ? kMaxSizingRight : ClientWidth() - 2;
    return bounds;
}

} // namespace dxtl
