// The geometry of a tree list at one view position (see dxTLGeometry.h).
#include "treelist/layout/dxTLGeometry.h"

#include <algorithm>

namespace dxtl {

using namespace fw;

namespace {
constexpr int kIndent = TCustomdxTreeListControl::kIndentStep;
} // namespace

TRect TdxRowGeometry::Slot(int i) const {
    return {SlotsLeft + i * kIndent, Top, SlotsLeft + (i + 1) * kIndent, FooterTop};
}

TCustomdxTreeListControl::TGeometry::TGeometry(const TCustomdxTreeListControl& list, int leftCoord)
    : FList(list), FLayout(list.Layout()), FHeights(list.FHeights), FLeftCoord(leftCoord) {
    const TdxTreeListAreas& areas = FLayout.Areas;
    const bool firstBandScrolls = FLayout.Bands.empty() || FLayout.Bands.front().Scrolls;
    FIndentLeft = areas.Rows.Left - Shift(firstBandScrolls);
    FSlotsLeft = FIndentLeft - (list.PaintStyle() == psStandard && !list.ShowRoot() ? kIndent : 0);
    FFirstBandRight =
        FLayout.Bands.empty() ? areas.Rows.Left : FIndentLeft + FLayout.Bands.front().Width;
    FScrollLeft = areas.BandPanel.Left;
    FScrollRight = areas.Client.Right;
    const int lineWidth = list.FixedBandLineWidth();
    if (FLayout.FixedLeft)
        FScrollLeft = FLayout.Bands.front().Left + FLayout.Bands.front().Width + lineWidth;
    if (FLayout.FixedRight && FLayout.Bands.size() > 1)
        FScrollRight = std::max(FScrollLeft, FLayout.Bands.back().Left - lineWidth);
    // The columns end with the last band as placed: a band fixed right stands at the right
    // edge, and the room between it and the scrolling bands is as empty as the room right of
    // the columns of a list without one.
    const int bandCount = static_cast<int>(FLayout.Bands.size());
    const bool fixedRight = FLayout.FixedRight && bandCount > 1;
    const int lastScrolling = bandCount - (fixedRight ? 2 : 1);
    int columnsEnd = areas.Rows.Left;
    if (lastScrolling >= (FLayout.FixedLeft ? 1 : 0))
        columnsEnd = BandLeft(lastScrolling) + FLayout.Bands[std::size_t(lastScrolling)].Width;
    else if (FLayout.FixedLeft)
        columnsEnd = FScrollLeft;
    int emptyRight = areas.Client.Right;
    if (fixedRight) {
        const TdxBandLayout& fixed = FLayout.Bands.back();
        emptyRight = FScrollRight;
        FColumnsRight = std::min(fixed.Left + fixed.Width, areas.Rows.Right) - 1;
    } else {
        FColumnsRight = columnsEnd - 1;
    }
    FEmptyRight = {std::max(columnsEnd, FScrollLeft), areas.BandPanel.Top, emptyRight,
                   areas.Rows.Bottom};
    if (FEmptyRight.Left >= FEmptyRight.Right)
        FEmptyRight = {};
}

// --- bands and header items ------------------------------------------------------------------

int TCustomdxTreeListControl::TGeometry::BandLeft(int position) const {
    if (position < 0 || position >= static_cast<int>(FLayout.Bands.size()))
        return 0;
    const TdxBandLayout& band = FLayout.Bands[std::size_t(position)];
    return band.Left - Shift(band.Scrolls);
}

TRect TCustomdxTreeListControl::TGeometry::BandRect(int position) const {
    if (position < 0 || position >= static_cast<int>(FLayout.Bands.size()))
        return {};
    const int left = BandLeft(position);
    const int top = Areas().BandPanel.Top;
    return {left, top, left + FLayout.Bands[std::size_t(position)].Width, top + FHeights.BandPanel};
}

const TdxHeaderItem* TCustomdxTreeListControl::TGeometry::ItemOfColumn(int column) const {
    for (const TdxHeaderItem& item : FLayout.HeaderItems)
        if (item.Column == column)
            return &item;
    return nullptr;
}

TRect TCustomdxTreeListControl::TGeometry::HeaderRect(const TdxHeaderItem& item) const {
    const int top = Areas().HeaderPanel.Top + item.RowIndex * FHeights.HeaderRow;
    return {ItemLeft(item), top, ItemRight(item), top + item.RowSpan * FHeights.HeaderRow};
}

namespace {
// `r` cut horizontally to [left, right).
TRect CutHorizontally(TRect r, int left, int right) {
    r.Left = std::max(r.Left, left);
    r.Right = std::min(r.Right, right);
    return r.Left < r.Right ? r : TRect{};
}
} // namespace

TRect TCustomdxTreeListControl::TGeometry::VisiblePart(const TRect& r, bool scrolls) const {
    if (!scrolls)
        return CutHorizontally(r, Areas().Rows.Left, Areas().Client.Right);
    return CutHorizontally(r, FScrollLeft, FScrollRight);
}

TRect TCustomdxTreeListControl::TGeometry::BandVisibleRect(int position) const {
    if (position < 0 || position >= static_cast<int>(FLayout.Bands.size()))
        return {};
    return VisiblePart(BandRect(position), FLayout.Bands[std::size_t(position)].Scrolls);
}

TRect TCustomdxTreeListControl::TGeometry::HeaderVisibleRect(const TdxHeaderItem& item) const {
    return VisiblePart(HeaderRect(item), item.Scrolls);
}

TRect TCustomdxTreeListControl::TGeometry::HeaderGapRect(const TdxHeaderItem& item) const {
    const TRect rect = HeaderRect(item);
    const auto& rows = FLayout.Bands[std::size_t(item.BandPosition)].Rows;
    const bool lastLine = item.RowIndex + 1 == static_cast<int>(rows.size());
    if (!lastLine || rect.Bottom >= Areas().HeaderPanel.Bottom)
        return {};
    return {rect.Left, rect.Bottom, rect.Right, Areas().HeaderPanel.Bottom};
}

TRect TCustomdxTreeListControl::TGeometry::BandHeaderRect(int position) const {
    if (position < 0 || position >= static_cast<int>(FLayout.Bands.size()))
        return {};
    const int left = BandLeft(position);
    const TRect& panel = Areas().HeaderPanel;
    return {left, panel.Top, left + FLayout.Bands[std::size_t(position)].Width, panel.Bottom};
}

TRect TCustomdxTreeListControl::TGeometry::FixedBandLine(bool right, int top, int bottom) const {
    const int width = FList.FixedBandLineWidth();
    if (!right && FLayout.FixedLeft) {
        const TdxBandLayout& band = FLayout.Bands.front();
        return {band.Left + band.Width, top, band.Left + band.Width + width, bottom};
    }
    if (right && FLayout.FixedRight && FLayout.Bands.size() > 1) {
        const TdxBandLayout& band = FLayout.Bands.back();
        return {band.Left - width, top, band.Left, bottom};
    }
    return {};
}

TRect TCustomdxTreeListControl::TGeometry::BandButtonRect() const {
    const TdxTreeListAreas& a = Areas();
    return {a.Client.Left, a.BandPanel.Top, a.BandPanel.Left, a.BandPanel.Bottom};
}

TRect TCustomdxTreeListControl::TGeometry::HeaderButtonRect() const {
    const TdxTreeListAreas& a = Areas();
    return {a.Client.Left, a.HeaderPanel.Top, a.HeaderPanel.Left, a.HeaderPanel.Bottom};
}

TRect TCustomdxTreeListControl::TGeometry::VisibleCell(const TdxHeaderItem& item,
                                                       const TRect& cell) const {
    return VisiblePart(cell, item.Scrolls);
}

bool TCustomdxTreeListControl::TGeometry::LastLine(const TdxHeaderItem& item) const {
    return item.RowIndex + item.RowSpan >= FList.FHeaderPanelRowCount;
}

// --- rows ------------------------------------------------------------------------------------

TdxRowGeometry
TCustomdxTreeListControl::TGeometry::Row(TdxTreeListNode* node, int top, int height,
                                         std::vector<TdxTreeListNode*>* footerParents) const {
    // Measuring lines asks the application (preview texts, line counts) through the list.
    auto& list = const_cast<TCustomdxTreeListControl&>(FList);
    const bool outlook = list.PaintStyle() == psOutlook;
    TdxRowGeometry row;
    row.Node = node;
    row.Top = top;
    row.Height = height;
    row.LevelSlots = list.LevelSlots(node);
    row.StateIndex = list.FStateImages ? list.GetNodeStateIndex(node) : -1;
    row.LineCount = list.RowLineCount(node);
    row.PreviewHeight = list.PreviewLineCount(node) * FHeights.PreviewText;
    row.FooterCount = list.CollectRowFooters(node, footerParents);
    row.Outline = outlook && node->HasChildren() && !list.ShowGrid();

    const int separator = list.ShowGrid() ? list.RowSeparatorLineWidth() : 0;
    const bool previewGrid = list.ShowGrid() && list.ShowPreviewGrid();
    row.FooterTop = row.Bottom() - row.FooterCount * FHeights.RowFooter;
    row.SeparatorTop = row.FooterTop - separator;
    const int previewPart =
        row.PreviewHeight > 0 ? row.PreviewHeight + kPreviewMargin + (previewGrid ? 1 : 0) : 0;
    row.CellsBottom = row.SeparatorTop - previewPart;
    row.PreviewTop = row.CellsBottom + (previewGrid ? 1 : 0);

    row.IndentLeft = FIndentLeft;
    row.SlotsLeft = FSlotsLeft;
    row.LevelLeft = FSlotsLeft + node->Level() * kIndent;
    row.IndentRight = FIndentLeft + list.IndentWidth(row.LevelSlots, row.StateIndex);
    if (node->HasChildren() && list.ShowButtons() && !outlook && row.LevelSlots > 0)
        row.ExpandButton = row.Slot(row.LevelSlots - 1);
    // The images end above the grid separator; the row footers run across the indent.
    int x = FSlotsLeft + row.LevelSlots * kIndent;
    const int imagesBottom = row.FooterTop - separator;
    if (row.StateIndex != -1 && list.FStateImages) {
        row.StateImage = {x, top, x + list.FStateImages->Width(), imagesBottom};
        x = row.StateImage.Right;
    }
    if (list.FImages)
        row.NodeImage = {x, top, x + list.FImages->Width(), imagesBottom};
    return row;
}

int TCustomdxTreeListControl::TGeometry::PlainIndentWidth() const {
    return FList.IndentWidth(FList.PaintStyle() == psStandard ? 1 : 0, -1);
}

bool TCustomdxTreeListControl::TGeometry::CellRect(const TdxRowGeometry& row,
                                                   const TdxHeaderItem& item, TRect& cell) const {
    return CellRect(item, row.IndentRight, row.Top + (row.Outline ? 1 : 0), row.CellsBottom, cell);
}

bool TCustomdxTreeListControl::TGeometry::CellRect(const TdxHeaderItem& item, int indentRight,
                                                   int top, int cellsBottom, TRect& cell) const {
    // A column of the first band that starts inside the indent begins after it.
    int left = ItemLeft(item);
    if (item.BandPosition == 0 && item.Left - Areas().Rows.Left < indentRight - FIndentLeft)
        left = std::max(left, indentRight);
    const int right = ItemRight(item);
    if (left >= right)
        return false;
    const int rowHeight = FHeights.Row;
    cell = {left, top + item.RowIndex * rowHeight, right, 0};
    // The last header line takes what the row has beyond its lines (wrapped text lines).
    cell.Bottom = LastLine(item) ? cellsBottom : cell.Top + item.RowSpan * rowHeight;
    if (FList.ShowGrid())
        --cell.Right; // the vertical grid line
    return true;
}

TRect TCustomdxTreeListControl::TGeometry::PreviewRect(const TdxRowGeometry& row) const {
    if (row.PreviewHeight <= 0)
        return {};
    return {row.IndentRight, row.PreviewTop, FColumnsRight + 1, row.SeparatorTop};
}

TRect TCustomdxTreeListControl::TGeometry::RowFooterRect(const TdxRowGeometry& row, int k,
                                                         const TdxTreeListNode* parent) const {
    const int top = row.FooterTop + k * FHeights.RowFooter;
    const int left = std::max(row.IndentLeft, row.SlotsLeft + (parent->Level() + 1) * kIndent);
    return {left, top, FColumnsRight + 1, top + FHeights.RowFooter};
}

TRect TCustomdxTreeListControl::TGeometry::FooterCellRect(const TdxHeaderItem& item, int cellsTop,
                                                          int cellsLeft) const {
    const int top = cellsTop + item.RowIndex * FHeights.FooterRow;
    return {std::max(ItemLeft(item), cellsLeft), top, ItemRight(item),
            top + item.RowSpan * FHeights.FooterRow};
}

// --- the list's queries ---------------------------------------------------------------------

TRect TCustomdxTreeListControl::NodeCellRect(const TdxTreeListNode* node, int column) const {
    const TRect rowRect = NodeRowRect(node);
    const TGeometry geometry(*this, LeftCoord());
    const std::vector<TdxHeaderItem>& items = geometry.Layout().HeaderItems;
    if (rowRect.IsEmpty() || column < 0 || column >= static_cast<int>(items.size()))
        return {};
    const TdxRowGeometry row =
        geometry.Row(const_cast<TdxTreeListNode*>(node), rowRect.Top, NodeHeight(node));
    TRect cell;
    return geometry.CellRect(row, items[std::size_t(column)], cell) ? cell : TRect{};
}

} // namespace dxtl
