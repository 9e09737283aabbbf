// The layout of a tree list: heights, band and column widths, placement, header rows and best
// fit.
//
// Sections (width sharing itself is in dxTLWidths):
//   2. heights         - text metrics, panels, rows
//   3. layout lists    - header rows, band widths, column widths, placement
//   4. queries         - band and column widths, positions and header rows
//   5. header rows     - default layout, automatic header height, compaction
//   6. resizing        - resize results, widths kept when fitting stops
//   7. best fit        - widths from the content
//
// Call flow: a property write -> LayoutChanged (TCustomdxTreeList: waits for the last EndUpdate,
// skipped while loading or destroying) -> RecalcLayout: CalcHeights, drop the row index and the
// layout lists, pending re-sort, row index, BuildLayout into the cache; then, outside the lock,
// LayoutApplied: scroll bars, the view kept in range, repaint.
// Queries read the cache through Layout(), which rebuilds it on first use after a drop; while
// the update lock is held (or while loading) it builds a scratch copy instead, so nothing that
// the pending changes make stale is kept.
#include "treelist/dxTL.h"
#include "treelist/layout/dxTLWidths.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <numeric>
#include <tuple>

namespace dxtl {

using namespace fw;

void TCustomdxTreeListLayout::DropLayoutLists() const {
    FLayoutBuilt = false;
}

namespace {

// Pixel metrics of the panels and rows.
constexpr int kPanelTextMargin = 5;         // band and header rows: text height + 5
constexpr int kStandardEdge = 1;            // one more in the standard (raised 3-D) look
constexpr int kRowTextMargin = 3;           // rows: text height + 3 ...
constexpr int kMinimumRowHeight = 16;       // ... and at least this
constexpr int kFooterTextMargin = 7;        // footer rows: text height + 7
constexpr int kFooterPanelMargin = 3;       // footer panel: rows + 3
constexpr int kRowFooterMargin = 2;         // row footers: rows + 2
constexpr int kNewItemRowFlatSeparator = 5; // between the new item row and the rows
constexpr int kNewItemRowStandardSeparator = 6;
constexpr int kInvertSelectExtra = 2;      // aoInvertSelect frames the row: 2 more
constexpr int kDragArrowsWidth = 11;       // header drag arrows: 11 wide ...
constexpr int kDragArrowsExtraHeight = 18; // ... and header row + 18 high
constexpr int kHeaderCaptionExtra = 15;    // best fit: room around a header caption

} // namespace

// =============================================================================================
// 2. heights

TCanvas* TCustomdxTreeListLayout::MeasureCanvas() const {
    if (!HasPlatform())
        return nullptr;
    // Text is measured on a one-pixel bitmap, whose device measures like the screen.
    if (!FMeasureBitmap) {
        FMeasureBitmap = std::make_unique<TBitmap>(Platform());
        FMeasureBitmap->SetSize(1, 1);
    }
    return &FMeasureBitmap->Canvas();
}

// The height of "Wg" in the font. A list outside any application has nothing to measure
// with and takes the font's own height.
int TCustomdxTreeListLayout::FontTextHeight(const TFont& font) const {
    if (TCanvas* canvas = MeasureCanvas()) {
        canvas->Font().Assign(font);
        return canvas->TextHeight("Wg");
    }
    return std::abs(font.Height());
}

void TCustomdxTreeListLayout::CalcHeights() {
    TdxLayoutHeights h;
    const int edge = LookAndFeel() == lfStandard ? kStandardEdge : 0;
    const int rows = FHeaderPanelRowCount;
    const bool gridLines = ShowGrid() && ShowPreviewGrid();

    h.BandText = FontTextHeight(FBandFont);
    h.BandPanel = ShowBands() ? FBandRowCount * h.BandText + kPanelTextMargin + edge : 0;
    h.HeaderRow =
        FontTextHeight(FHeaderFont) * std::max(FHeaderMinRowCount, 1) + kPanelTextMargin + edge;
    h.HeaderPanel = ShowHeader() ? h.HeaderRow * rows : 0;
    h.Text = FontTextHeight(Font());
    h.FooterRow = h.Text + kFooterTextMargin;
    h.Footer = ShowFooter() ? h.FooterRow * rows + kFooterPanelMargin + edge : 0;
    h.RowFooter = h.FooterRow * rows + kRowFooterMargin + (gridLines ? 1 : 0);

    // The minimum row height: the text, at least 16 pixels, and tall enough for the images and
    // the shown columns' fonts across the header rows of a node.
    const int grid = gridLines ? 1 : 0;
    int minimum = std::max(h.Text + kRowTextMargin, kMinimumRowHeight);
    const auto raiseTo = [&](int height) {
        if ((minimum + grid) * rows < height)
            minimum = height;
    };
    if (FImages)
        raiseTo(FImages->Height());
    if (FStateImages)
        raiseTo(FStateImages->Height());
    int columnNeed = 0;
    TCanvas* canvas = MeasureCanvas();
    for (TdxTreeListColumn* column : FColumns) {
        if (!IsColumnShown(column))
            continue;
        if (column->FAssignedValues.Contains(cvFont))
            columnNeed = std::max(columnNeed, FontTextHeight(column->Font()) + kRowTextMargin);
        if (canvas)
            columnNeed = std::max(columnNeed, column->RequiredRowHeight(*canvas));
    }
    raiseTo(columnNeed);
    minimum += grid;
    if (FOptionsEx.Contains(aoInvertSelect))
        minimum += kInvertSelectExtra;
    h.MinRow = minimum;

    // A written height counts only above the minimum; at the minimum it is unwritten again.
    if (FRowHeightWritten && FWrittenRowHeight > minimum) {
        h.Row = FWrittenRowHeight;
    } else {
        h.Row = minimum;
        FRowHeightWritten = false;
    }

    h.PreviewText = FontTextHeight(FPreviewFont);
    h.NewItemRow = ShowNewItemRow()
                       ? h.Row * rows + (LookAndFeel() == lfStandard ? kNewItemRowStandardSeparator
                                                                     : kNewItemRowFlatSeparator)
                       : 0;
    if (canvas) {
        canvas->Font().Assign(Font());
        h.HorzScrollStep = canvas->TextWidth("0");
    } else {
        h.HorzScrollStep = (h.Text + 1) / 2;
    }
    FHeights = h;
}

TSize TCustomdxTreeListLayout::HeaderDragArrowsSize() const {
    return {kDragArrowsWidth, FHeights.HeaderRow + kDragArrowsExtraHeight};
}

int TCustomdxTreeListLayout::NodeHeight(const TdxTreeListNode* node) const {
    if (!node)
        return 0;
    // Measuring lines asks the application (preview texts, line counts) through the list.
    auto& self = const_cast<TCustomdxTreeListLayout&>(*this);
    auto* mutableNode = const_cast<TdxTreeListNode*>(node);
    if (node->CachedRowHeight() > 0)
        return node->CachedRowHeight() + RowFooterCount(node) * FHeights.RowFooter;
    int height = FHeights.Row * FHeaderPanelRowCount;
    const int textLines = self.RowLineCount(mutableNode);
    height += (textLines - 1) * FHeights.Text;
    if (const int previewLines = self.PreviewLineCount(mutableNode); previewLines > 0)
        height += previewLines * FHeights.PreviewText + kPreviewMargin;
    if (ShowGrid())
        height += RowSeparatorLineWidth();
    else if (PaintStyle() == psOutlook && node->HasChildren())
        height += 1;
    if (ShowGrid() && ShowPreviewGrid())
        height -= 1;
    height = std::max(height, 1);
    // Cached only where the next recalculation clears it. Row footers are not: they follow
    // the node's place among its siblings, which adding a sibling changes.
    if (UpdateLockCount() == 0 && !IsLoading()) {
        node->SetCachedRowHeight(height);
        mutableNode->SetCachedRowLineCount(textLines);
    }
    return height + RowFooterCount(node) * FHeights.RowFooter;
}

TRect TCustomdxTreeListLayout::DataAreaRect() const {
    return Layout().Areas.Rows;
}

// =============================================================================================
// 3. layout lists

void TCustomdxTreeListLayout::ClearRowIndex() {
    TCustomdxTreeList::ClearRowIndex();
    DropLayoutLists();
}

void TCustomdxTreeListLayout::RecalcLayout() {
    CalcHeights();
    ClearRowIndex();
    RunPendingResort();
    RebuildRowIndex();
    BuildLayout(FLayout);
    FLayoutBuilt = true;
}

const TdxLayoutLists& TCustomdxTreeListLayout::Layout() const {
    if (FLayoutBuilt)
        return FLayout;
    if (UpdateLockCount() == 0 && !IsLoading() && !ListDestroying()) {
        BuildLayout(FLayout);
        FLayoutBuilt = true;
        return FLayout;
    }
    BuildLayout(FScratchLayout);
    return FScratchLayout;
}

namespace {

// Band position lists, and the header layout lists: shown columns by band, row and column-list
// position; every visible band has its entry, used rows or not.
void ListBandsAndHeaderRows(const TCustomdxTreeListLayout& list, TdxLayoutLists& lists) {
    const TdxTreeListBands& bands = list.Bands();
    const int bandCount = bands.Count();
    const int columnCount = list.ColumnCount();
    lists.BandPositions.assign(static_cast<std::size_t>(bandCount), -1);
    for (int b = 0; b < bandCount; ++b)
        if (bands.Items(b)->Visible()) {
            lists.BandPositions[std::size_t(b)] = static_cast<int>(lists.BandOrder.size());
            lists.BandOrder.push_back(b);
        }
    const std::size_t visibleBands = lists.BandOrder.size();
    lists.Bands.resize(visibleBands);
    for (std::size_t p = 0; p < visibleBands; ++p)
        lists.Bands[p].Band = lists.BandOrder[p];
    lists.ColumnWidths.assign(std::size_t(columnCount), 0);
    lists.ColumnLefts.assign(std::size_t(columnCount), 0);
    lists.ColumnBandPositions.assign(std::size_t(columnCount), -1);
    lists.ColumnRowPositions.assign(std::size_t(columnCount), -1);

    struct TEntry {
        int Band;
        int Row;
        int Column;
    };
    std::vector<TEntry> entries;
    for (int c = 0; c < columnCount; ++c) {
        const TdxTreeListColumn* column = list.Columns(c);
        if (list.IsColumnShown(column))
            entries.push_back({column->BandIndex(), column->RowIndex(), c});
    }
    std::sort(entries.begin(), entries.end(), [](const TEntry& a, const TEntry& b) {
        return std::tie(a.Band, a.Row, a.Column) < std::tie(b.Band, b.Row, b.Column);
    });
    for (const TEntry& e : entries) {
        const int position = lists.BandPositions[std::size_t(e.Band)];
        std::vector<TdxHeaderRow>& rows = lists.Bands[std::size_t(position)].Rows;
        if (rows.empty() || rows.back().RowIndex != e.Row)
            rows.push_back({e.Row, {}});
        rows.back().Columns.push_back(e.Column);
        lists.ColumnBandPositions[std::size_t(e.Column)] = position;
        lists.ColumnRowPositions[std::size_t(e.Column)] = static_cast<int>(rows.size()) - 1;
    }
}

// The bands' minimum and natural widths from their header rows, then their share of the room.
void ShareBandWidths(const TCustomdxTreeListLayout& list, TdxLayoutLists& lists) {
    const bool followHeaders = list.DefaultLayout() || list.OptionsEx().Contains(aoBandHeaderWidth);
    std::vector<TBandMeasure> measures;
    for (TdxBandLayout& band : lists.Bands) {
        const TdxTreeListBand* item = list.Bands().Items(band.Band);
        int rowsMin = 0;
        int rowsNatural = 0;
        for (const TdxHeaderRow& row : band.Rows) {
            int rowMin = 0;
            int rowNatural = 0;
            for (int c : row.Columns) {
                rowMin += list.ColumnMinWidth(c);
                rowNatural += list.Columns(c)->Width();
            }
            rowsMin = std::max(rowsMin, rowMin);
            rowsNatural = std::max(rowsNatural, rowNatural);
        }
        band.MinWidth = std::max(item->Sizing() ? item->MinWidth() : item->Width(), rowsMin);
        int natural = followHeaders ? rowsNatural : 0;
        if (natural == 0)
            natural = item->Width();
        band.NaturalWidth = std::max(natural, band.MinWidth);
        measures.push_back({band.MinWidth, band.NaturalWidth, item->Sizing()});
    }
    const int available = list.ClientWidth() - list.IndicatorWidth();
    const std::vector<int> bandWidths = DistributeBands(
        measures, list.Options().Contains(aoAutoWidth), available, lists.TotalWidth);
    for (std::size_t p = 0; p < lists.Bands.size(); ++p)
        lists.Bands[p].Width = bandWidths[p];
}

// The columns' widths inside each band row.
void ShareColumnWidths(const TCustomdxTreeListLayout& list, TdxLayoutLists& lists) {
    for (const TdxBandLayout& band : lists.Bands)
        for (const TdxHeaderRow& row : band.Rows) {
            std::vector<TColumnMeasure> columns;
            for (int c : row.Columns) {
                const TdxTreeListColumn* column = list.Columns(c);
                columns.push_back({column->Width(), list.ColumnMinWidth(c), column->Sizing()});
            }
            const std::vector<int> widths = DistributeRow(columns, band.Width);
            for (std::size_t i = 0; i < row.Columns.size(); ++i)
                lists.ColumnWidths[std::size_t(row.Columns[i])] = widths[i];
        }
}

} // namespace

void TCustomdxTreeListLayout::BuildLayout(TdxLayoutLists& lists) const {
    lists = TdxLayoutLists();
    ListBandsAndHeaderRows(*this, lists);
    ShareBandWidths(*this, lists);
    ShareColumnWidths(*this, lists);
    const std::size_t visibleBands = lists.Bands.size();

    // Horizontal placement. A first band fixed left stays at the left edge and a
    // last band fixed right at the right edge, also while all bands fit (the room between is
    // empty), each set off by the fixed band line; the others scroll by LeftCoord, which the
    // lefts here leave out.
    const TRect client = ClientRect();
    const int areaLeft = client.Left + IndicatorWidth();
    const auto fixedAt = [&](std::size_t p, TdxGridBandFixed side) {
        return FBands->Items(lists.Bands[p].Band)->Fixed() == side;
    };
    lists.FixedLeft = visibleBands > 0 && fixedAt(0, bfLeft);
    lists.FixedRight =
        visibleBands > (lists.FixedLeft ? 1u : 0u) && fixedAt(visibleBands - 1, bfRight);
    std::size_t first = 0;
    std::size_t end = visibleBands;
    int x = areaLeft;
    if (lists.FixedLeft) {
        lists.Bands[0].Left = areaLeft;
        lists.Bands[0].Scrolls = false;
        x += lists.Bands[0].Width + FixedBandLineWidth();
        first = 1;
    }
    if (lists.FixedRight)
        --end;
    for (std::size_t p = first; p < end; ++p) {
        lists.Bands[p].Left = x;
        x += lists.Bands[p].Width;
    }
    if (lists.FixedRight) {
        TdxBandLayout& band = lists.Bands[visibleBands - 1];
        band.Left = std::max(client.Right - band.Width, areaLeft);
        band.Scrolls = false;
    }
    for (std::size_t p = 0; p < visibleBands; ++p) {
        const TdxBandLayout& band = lists.Bands[p];
        for (const TdxHeaderRow& row : band.Rows) {
            int left = band.Left;
            for (std::size_t i = 0; i < row.Columns.size(); ++i) {
                const int c = row.Columns[i];
                const int width = lists.ColumnWidths[std::size_t(c)];
                lists.ColumnLefts[std::size_t(c)] = left;
                TdxHeaderItem item;
                item.Column = c;
                item.BandPosition = static_cast<int>(p);
                item.Left = left;
                item.Width = width;
                item.RowIndex = lists.ColumnRowPositions[std::size_t(c)];
                item.RowSpan = std::max(1, HeaderRowSpan(lists, c));
                item.Scrolls = band.Scrolls;
                item.LeftEdge = p == 0 && i == 0;
                item.RightEdge = p + 1 == visibleBands && i + 1 == row.Columns.size();
                item.FirstInLine = i == 0;
                item.LastInLine = i + 1 == row.Columns.size();
                lists.HeaderItems.push_back(item);
                left += width;
            }
        }
    }
    lists.Areas = ComputeAreas();
}

// Top down: band panel, header panel, new item row, rows with the indicator at their left,
// footer. The panels start right of the indicator column, the new item row and the footer at
// the client's left edge.
TdxTreeListAreas TCustomdxTreeListLayout::ComputeAreas() const {
    const TdxLayoutHeights& h = FHeights;
    TdxTreeListAreas a;
    a.Client = ClientRect();
    const TRect& c = a.Client;
    const int indicator = IndicatorWidth();
    a.BandPanel = {c.Left + indicator, c.Top, c.Right, c.Top + h.BandPanel};
    a.HeaderPanel = {c.Left + indicator, a.BandPanel.Bottom, c.Right,
                     a.BandPanel.Bottom + h.HeaderPanel};
    a.NewItemRow = {c.Left, a.HeaderPanel.Bottom, c.Right, a.HeaderPanel.Bottom + h.NewItemRow};
    a.Rows = {c.Left + indicator, a.NewItemRow.Bottom, std::max(c.Right, c.Left + indicator),
              std::max(a.NewItemRow.Bottom, c.Bottom - h.Footer)};
    a.Indicator = {c.Left, a.Rows.Top, c.Left + indicator, a.Rows.Bottom};
    a.Footer = {c.Left, a.Rows.Bottom, c.Right, a.Rows.Bottom + h.Footer};
    return a;
}

// =============================================================================================
// 4. queries

namespace {
// Entry `index` of a layout list, or `missing` outside it: every query takes any index.
template <class T, class TResult>
TResult EntryOr(const std::vector<T>& list, int index, TResult missing) {
    return index >= 0 && index < static_cast<int>(list.size()) ? TResult(list[std::size_t(index)])
                                                               : missing;
}
// One field of an entry of `list`, or `missing` when `index` is out of range.
template <class T, class TField>
TField FieldOr(const std::vector<T>& list, int index, TField T::*field, TField missing) {
    return index >= 0 && index < static_cast<int>(list.size()) ? list[std::size_t(index)].*field
                                                               : missing;
}
} // namespace

int TCustomdxTreeListLayout::BandAtPosition(int position) const {
    return EntryOr(Layout().BandOrder, position, -1);
}

int TCustomdxTreeListLayout::BandPosition(int bandIndex) const {
    return EntryOr(Layout().BandPositions, bandIndex, -1);
}

int TCustomdxTreeListLayout::BandRowsUsed(int position) const {
    const TdxLayoutLists& lists = Layout();
    if (position < 0 || position >= static_cast<int>(lists.Bands.size()))
        return 0;
    return static_cast<int>(lists.Bands[std::size_t(position)].Rows.size());
}

int TCustomdxTreeListLayout::ColumnsInRow(int position, int row) const {
    const TdxLayoutLists& lists = Layout();
    if (position < 0 || position >= static_cast<int>(lists.Bands.size()))
        return 0;
    const auto& rows = lists.Bands[std::size_t(position)].Rows;
    if (row < 0 || row >= static_cast<int>(rows.size()))
        return 0;
    return static_cast<int>(rows[std::size_t(row)].Columns.size());
}

int TCustomdxTreeListLayout::ColumnAt(int position, int row, int i) const {
    if (i < 0 || i >= ColumnsInRow(position, row))
        return -1;
    return Layout().Bands[std::size_t(position)].Rows[std::size_t(row)].Columns[std::size_t(i)];
}

int TCustomdxTreeListLayout::ColumnMinWidth(int column) const {
    if (column < 0 || column >= ColumnCount())
        return 0;
    const TdxTreeListColumn* c = FColumns[std::size_t(column)];
    return c->Sizing() ? c->MinWidth() : c->Width();
}

int TCustomdxTreeListLayout::BandMinWidth(int position) const {
    return FieldOr(Layout().Bands, position, &TdxBandLayout::MinWidth, 0);
}

int TCustomdxTreeListLayout::BandNaturalWidth(int position) const {
    return FieldOr(Layout().Bands, position, &TdxBandLayout::NaturalWidth, 0);
}

int TCustomdxTreeListLayout::BandWidth(int position) const {
    return FieldOr(Layout().Bands, position, &TdxBandLayout::Width, 0);
}

int TCustomdxTreeListLayout::TotalWidth() const {
    return Layout().TotalWidth;
}

int TCustomdxTreeListLayout::ColumnWidth(int column) const {
    return EntryOr(Layout().ColumnWidths, column, 0);
}

int TCustomdxTreeListLayout::ColumnRowPosition(int column) const {
    return EntryOr(Layout().ColumnRowPositions, column, -1);
}

// Columns in the last used row of their band reach down to the bottom of the header panel,
// unless HeaderMaxLineCount limits them.
int TCustomdxTreeListLayout::HeaderRowSpan(int column) const {
    return HeaderRowSpan(Layout(), column);
}

int TCustomdxTreeListLayout::HeaderRowSpan(const TdxLayoutLists& lists, int column) const {
    const int row = EntryOr(lists.ColumnRowPositions, column, -1);
    if (row < 0)
        return 0;
    const int position = lists.ColumnBandPositions[std::size_t(column)];
    const int used = static_cast<int>(lists.Bands[std::size_t(position)].Rows.size());
    if (row != used - 1)
        return 1;
    int span = FHeaderPanelRowCount - row;
    const int limit = FColumns[std::size_t(column)]->HeaderMaxLineCount();
    if (limit != 0)
        span = std::min(span, limit);
    return std::max(span, 1);
}

// =============================================================================================
// 5. header rows

void TCustomdxTreeListLayout::ApplyDefaultLayout() {
    const TUpdateLock lock(*this);
    SetShowBands(false);
    ApplyHeaderPanelRowCount(1, false);
    while (FBands->Count() > 1)
        FBands->Delete(FBands->Count() - 1);
    if (FBands->Count() == 0)
        FBands->Add();
    FBands->Items(0)->SetVisible(true);
    for (TdxTreeListColumn* column : FColumns)
        column->FBandIndex = 0;
    DropLayoutLists();
}

int TCustomdxTreeListLayout::HighestStoredRowIndex() const {
    int highest = -1;
    for (const TdxTreeListColumn* column : FColumns)
        if (IsColumnShown(column))
            highest = std::max(highest, column->FStoredRowIndex);
    return highest;
}

void TCustomdxTreeListLayout::ApplyAutoHeaderPanelHeight() {
    const int highest = HighestStoredRowIndex();
    if (highest >= 0)
        ApplyHeaderPanelRowCount(highest + 1, false);
}

// The used rows of every band are renumbered 0, 1, ... in their order, each column's stored
// row moving by as much as its row. (Walking the gaps from the top of the used-row count down
// and then clamping to the last used row merges rows when gaps lie above that count, e.g. rows
// 2, 5, 6 would become 0, 2, 2; ranking the rows keeps three rows.) With
// aoAutoHeaderPanelHeight the header rows follow the stored rows before the clamp, so that a
// row written beyond the current header rows makes room instead of being clamped away, and
// again after the renumbering.
void TCustomdxTreeListLayout::CompactHeaderRows() {
    if (FCompacting)
        return;
    const TTemporaryValue compacting(*this, FCompacting, true);

    ClearRowIndex();
    const bool autoHeight = FOptionsEx.Contains(aoAutoHeaderPanelHeight);
    if (autoHeight)
        ApplyAutoHeaderPanelHeight();
    const int lastRow = FHeaderPanelRowCount - 1;
    for (TdxTreeListColumn* column : FColumns)
        column->FRowIndex = std::clamp(column->FRowIndex, 0, lastRow);
    for (int band = 0; band < FBands->Count(); ++band) {
        std::vector<int> used;
        for (const TdxTreeListColumn* column : FColumns)
            if (column->FBandIndex == band && column->FVisible)
                used.push_back(column->FRowIndex);
        std::sort(used.begin(), used.end());
        used.erase(std::unique(used.begin(), used.end()), used.end());
        for (TdxTreeListColumn* column : FColumns) {
            if (column->FBandIndex != band)
                continue;
            if (column->FVisible) {
                const int rank = static_cast<int>(
                    std::lower_bound(used.begin(), used.end(), column->FRowIndex) - used.begin());
                const int shift = column->FRowIndex - rank;
                column->FRowIndex = rank;
                column->FStoredRowIndex = std::max(column->FStoredRowIndex - shift, 0);
            } else if (column->FRowIndex >= static_cast<int>(used.size())) {
                column->FRowIndex = used.empty() ? 0 : static_cast<int>(used.size()) - 1;
                column->FStoredRowIndex = column->FRowIndex;
            }
        }
    }
    if (autoHeight)
        ApplyAutoHeaderPanelHeight();
    DropLayoutLists();
    if (UpdateLockCount() == 0)
        RebuildRowIndex();
}

// =============================================================================================
// 6. resizing

void TCustomdxTreeListLayout::ColumnResized(int column, int width) {
    TdxTreeListColumn* c = Columns(column);
    if (c->Sizing()) {
        c->FWidth = std::max(width, c->MinWidth());
        c->Assigned(cvWidth);
        c->Changed(true);
    }
    if (OnChangedColumnsWidth)
        OnChangedColumnsWidth(this);
}

void TCustomdxTreeListLayout::BandResized(int position, int width) {
    const int band = BandAtPosition(position);
    if (band < 0)
        return;
    FBands->Items(band)->SetWidth(width);
    if (OnChangedColumnsWidth)
        OnChangedColumnsWidth(this);
}

// The widths shown now become the stored ones: the columns' when one visible band follows its
// headers, else the bands'.
void TCustomdxTreeListLayout::KeepFittedWidths() {
    const TdxLayoutLists shown = Layout();
    const bool followHeaders = FDefaultLayout || FOptionsEx.Contains(aoBandHeaderWidth);
    if (shown.Bands.size() == 1 && followHeaders) {
        for (int c = 0; c < ColumnCount(); ++c)
            if (shown.ColumnBandPositions[std::size_t(c)] >= 0)
                FColumns[std::size_t(c)]->SetWidth(shown.ColumnWidths[std::size_t(c)]);
    } else {
        for (const TdxBandLayout& band : shown.Bands)
            FBands->Items(band.Band)->SetWidth(band.Width);
    }
}

// =============================================================================================
// 7. best fit

int TCustomdxTreeListLayout::BestFitWidth(const TdxTreeListColumn* column) const {
    TCanvas* canvas = MeasureCanvas();
    if (!column || !canvas)
        return column ? column->Width() : 0;
    canvas->Font().Assign(Font());
    const int margin = canvas->TextWidth("0") / 2 + 1;
    canvas->Font().Assign(column->FAssignedValues.Contains(cvFont) ? column->Font() : Font());
    // The first column of the first visible band also shows the tree: indent and images.
    const TdxLayoutLists& lists = Layout();
    const int index = ColumnIndexOf(column);
    const bool treeColumn =
        index >= 0 && lists.ColumnBandPositions[std::size_t(index)] == 0 && column->ColIndex() == 0;
    const bool rootLevel = ShowRoot() && PaintStyle() == psStandard;
    int largest = 0;
    for (int i = 0; i < NodeCount(); ++i)
        for (TdxTreeListNode* node = NodeAt(i); node; node = node->GetNext()) {
            int width = column->ContentWidth(*canvas, node);
            if (treeColumn) {
                width += (node->Level() + (rootLevel ? 1 : 0)) * kIndentStep;
                if (FStateImages && node->StateIndex() != -1)
                    width += FStateImages->Width();
                if (FImages && (node->ImageIndex() != -1 || node->SelectedIndex() != -1))
                    width += FImages->Width();
            }
            largest = std::max(largest, width);
        }
    canvas->Font().Assign(FHeaderFont);
    largest = std::max(largest, canvas->TextWidth(column->Caption()) + kHeaderCaptionExtra);
    return largest + 2 * margin;
}

void TCustomdxTreeListLayout::FitColumn(TdxTreeListColumn* column) {
    if (column->Sizing())
        column->SetWidth(BestFitWidth(column));
}

namespace {

// Runs `fit` under the list's update lock, so the layout is computed once at the end.
template <class TFit> void UnderUpdateLock(TCustomdxTreeList& list, TFit&& fit) {
    const TUpdateLock lock(list);
    fit();
}

} // namespace

void TCustomdxTreeListLayout::ApplyBestFit(TdxTreeListColumn* column) {
    if (!column || column->FTreeList != this)
        return;
    UnderUpdateLock(*this, [&] { FitColumn(column); });
    if (OnChangedColumnsWidth)
        OnChangedColumnsWidth(this);
}

void TCustomdxTreeListLayout::ApplyBandBestFit(int bandIndex) {
    UnderUpdateLock(*this, [&] {
        for (TdxTreeListColumn* column : FColumns)
            if (column->FBandIndex == bandIndex)
                FitColumn(column);
    });
    if (OnChangedColumnsWidth)
        OnChangedColumnsWidth(this);
}

void TCustomdxTreeListLayout::ApplyBestFitAll() {
    UnderUpdateLock(*this, [&] {
        for (TdxTreeListColumn* column : FColumns)
            FitColumn(column);
    });
    if (OnChangedColumnsWidth)
        OnChangedColumnsWidth(this);
}

} // namespace dxtl
