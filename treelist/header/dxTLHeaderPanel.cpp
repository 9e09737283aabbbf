// The header panel's hit test and gestures (its painting: dxTLHeaderPaint.cpp).
//
// Sections:
//   1. hit test  - band panel, header panel: sizing edges, corner buttons, captions, headers
//   2. press     - sizing from an edge, pressed captions and corner buttons
//   3. move      - the sizing line, the drag threshold, drag scrolling, pushed looks
//   4. release   - applied sizes, clicks, drops; the cancel
#include "treelist/header/dxTLHeaderPanel.h"

#include "treelist/layout/dxTLGeometry.h"

#include <algorithm>
#include <cstdlib>

namespace dxtl {

using namespace fw;

TdxTreeListHeaderPanel::TdxTreeListHeaderPanel(TCustomdxTreeListControl& list,
                                               TdxInputState& gesture,
                                               std::unique_ptr<IdxHeaderPanelEvents> events)
    : FList(list), FGesture(gesture), FEvents(std::move(events)) {}

bool TdxTreeListHeaderPanel::Active() const {
    switch (FGesture) {
    case isColumnSizing:
    case isColumnDragging:
    case isColumnPressed:
    case isHeaderButtonPressed:
    case isBandSizing:
    case isBandDragging:
    case isBandPressed:
    case isBandButtonPressed:
    case isBandPanelSizing:
    case isHeaderPanelSizing:
    case isRowSizing:
        return true;
    default:
        return false;
    }
}

// =============================================================================================
// 1. hit test

void TdxTreeListHeaderPanel::HitTest(const TGeometry& geometry, TTreeListHitInfo& hit) const {
    if (hit.Point.Y < geometry.Areas().BandPanel.Bottom)
        HitBandPanel(geometry, hit);
    else
        HitHeaderPanel(geometry, hit);
}

// The band panel: its sizing edge, the corner button, band edges and band captions.
void TdxTreeListHeaderPanel::HitBandPanel(const TGeometry& geometry, TTreeListHitInfo& hit) const {
    const TdxTreeListAreas& areas = geometry.Areas();
    const TdxLayoutLists& layout = geometry.Layout();
    const int x = hit.Point.X;
    const TdxTreeListOptionsEx optionsEx = FList.OptionsEx();
    if (optionsEx.Contains(aoBandPanelSizing) && NearEdge(hit.Point.Y, areas.BandPanel.Bottom)) {
        hit.Area = haBandPanelEdge;
        return;
    }
    if (x < areas.BandPanel.Left) {
        hit.Area = haBandButton;
        return;
    }
    for (int position = 0; position < static_cast<int>(layout.Bands.size()); ++position) {
        const TRect band = geometry.BandRect(position);
        const TdxTreeListBand* item = FList.Bands().Items(layout.Bands[std::size_t(position)].Band);
        const bool sizable =
            optionsEx.Contains(aoBandSizing) && item->Sizing() && FList.ShowBands();
        if (sizable && NearEdge(x, band.Right)) {
            hit.BandIndex = item->Index();
            hit.Area = haBandEdge;
            return;
        }
        if (x >= band.Left && x < band.Right) {
            hit.BandIndex = item->Index();
            hit.Area = haBandHeader;
        }
    }
}

// The header panel: its sizing edge, the corner button, column edges and column headers.
void TdxTreeListHeaderPanel::HitHeaderPanel(const TGeometry& geometry,
                                            TTreeListHitInfo& hit) const {
    const TdxTreeListAreas& areas = geometry.Areas();
    const TdxLayoutLists& layout = geometry.Layout();
    const int x = hit.Point.X;
    const int y = hit.Point.Y;
    if (FList.OptionsEx().Contains(aoHeaderPanelSizing) && NearEdge(y, areas.HeaderPanel.Bottom)) {
        hit.Area = haHeaderPanelEdge;
        return;
    }
    if (x < areas.HeaderPanel.Left) {
        hit.Area = haHeaderButton;
        return;
    }
    const bool columnSizing = FList.Options().Contains(aoColumnSizing);
    for (const TdxHeaderItem& item : layout.HeaderItems) {
        const TRect header = geometry.HeaderRect(item);
        if (y < header.Top || y >= header.Bottom)
            continue;
        const int band = layout.Bands[std::size_t(item.BandPosition)].Band;
        if (columnSizing && FList.Columns(item.Column)->Sizing() && NearEdge(x, header.Right)) {
            hit.ColumnIndex = item.Column;
            hit.BandIndex = band;
            hit.Area = haColumnEdge;
            return;
        }
        if (x >= header.Left && x < header.Right) {
            hit.ColumnIndex = item.Column;
            hit.BandIndex = band;
            hit.Area = haColumnHeader;
        }
    }
}

// =============================================================================================
// 2. press

bool TdxTreeListHeaderPanel::Press(const TTreeListHitInfo& hit, TShiftState shift) {
    const bool doubleClick = (shift & ssDouble) != 0;
    switch (hit.Area) {
    case haBandEdge:
    case haColumnEdge: {
        const bool band = hit.Area == haBandEdge;
        const int index = band ? hit.BandIndex : hit.ColumnIndex;
        if (index < 0)
            return false;
        if (doubleClick)
            FEvents->EdgeDoubleClicked(band, index);
        else
            StartSizing(band ? isBandSizing : isColumnSizing, hit);
        return true;
    }
    case haBandPanelEdge:
        StartSizing(isBandPanelSizing, hit);
        return true;
    case haHeaderPanelEdge:
        StartSizing(isHeaderPanelSizing, hit);
        return true;
    case haRowEdge:
        StartSizing(isRowSizing, hit);
        return true;
    case haBandHeader:
        PressCaption(isBandPressed, hit);
        return false;
    case haColumnHeader:
        PressCaption(isColumnPressed, hit);
        return false;
    case haBandButton:
    case haHeaderButton:
        PressCornerButton(hit.Area == haBandButton);
        return false;
    default:
        return false;
    }
}

void TdxTreeListHeaderPanel::PressCaption(TdxInputState state, const TTreeListHitInfo& hit) {
    FGesture = state;
    FPressPoint = hit.Point;
    const TdxTreeListAreas& areas = FList.Layout().Areas;
    if (state == isBandPressed) {
        FPressedBand = hit.BandIndex;
        FBandPushed = true;
        FList.InvalidateRect(areas.BandPanel);
    } else {
        FPressedColumn = hit.ColumnIndex;
        FColumnPushed = true;
        FList.InvalidateRect(areas.HeaderPanel);
    }
}

void TdxTreeListHeaderPanel::PressCornerButton(bool band) {
    if (!FList.OptionsEx().Contains(band ? aoBandButtonClicking : aoHeaderButtonClicking))
        return;
    FGesture = band ? isBandButtonPressed : isHeaderButtonPressed;
    FCornerPushed = true;
    FList.Invalidate();
}

void TdxTreeListHeaderPanel::StartSizing(TdxInputState state, const TTreeListHitInfo& hit) {
    const TdxTreeListAreas& areas = FList.Layout().Areas;
    int edge = 0;
    switch (state) {
    case isColumnSizing: {
        const TdxSizingBounds bounds = FList.ColumnSizingBounds(hit.ColumnIndex);
        FSizingTarget = hit.ColumnIndex;
        FSizingStart = FList.ColumnLeft(hit.ColumnIndex);
        FSizingMin = FSizingStart + bounds.MinWidth;
        FSizingMax = bounds.MaxRight;
        edge = FList.HeaderRect(hit.ColumnIndex).Right;
        break;
    }
    case isBandSizing: {
        const int position = FList.BandPosition(hit.BandIndex);
        const TdxSizingBounds bounds = FList.BandSizingBounds(position);
        const TRect band = FList.BandRect(position);
        FSizingTarget = position;
        FSizingStart = band.Left;
        FSizingMin = band.Left + bounds.MinWidth;
        FSizingMax = bounds.MaxRight;
        edge = band.Right;
        break;
    }
    case isBandPanelSizing:
        FSizingStart = areas.BandPanel.Top;
        FSizingMin = FSizingStart + FList.BandTextHeight();
        edge = areas.BandPanel.Bottom;
        FSizingMax = areas.Client.Bottom;
        break;
    case isHeaderPanelSizing:
        FSizingStart = areas.HeaderPanel.Top;
        FSizingMin = FSizingStart + FList.HeaderRowHeight();
        edge = areas.HeaderPanel.Bottom;
        FSizingMax = areas.Client.Bottom;
        break;
    case isRowSizing: {
        const TRect row = FList.NodeRowRect(hit.Node);
        FSizingStart = row.Top;
        FSizingMin = row.Top + FList.MinRowHeight() * FList.HeaderPanelRowCount();
        edge = row.Bottom;
        FSizingMax = areas.Rows.Bottom;
        break;
    }
    default:
        return;
    }
    FGesture = state;
    FSizingMax = std::max(FSizingMax, FSizingMin);
    FSizingLine = std::clamp(edge, FSizingMin, FSizingMax);
    InvertSizingLine();
    FSizingLineShown = true;
}

// =============================================================================================
// 3. move

bool TdxTreeListHeaderPanel::Move(const TTreeListHitInfo& hit) {
    const TPoint p = hit.Point;
    switch (FGesture) {
    case isColumnSizing:
    case isBandSizing:
        MoveSizingLine(p.X);
        break;
    case isBandPanelSizing:
    case isHeaderPanelSizing:
    case isRowSizing:
        MoveSizingLine(p.Y);
        break;
    case isBandDragging:
    case isColumnDragging: {
        // Beyond the left or right edge the view follows the pointer.
        const TRect rows = FList.Layout().Areas.Rows;
        const int direction = !FList.OptionsEx().Contains(aoDragScroll) ? 0
                              : p.X < rows.Left                         ? -1
                              : p.X >= rows.Right                       ? 1
                                                                        : 0;
        FEvents->DragScroll(direction);
        break;
    }
    case isBandPressed:
    case isColumnPressed:
        if (!StartDragAfterThreshold(p))
            return false;
        break;
    default:
        break;
    }
    FollowPushedLooks(hit);
    return true;
}

// A pressed band or column that may move (and whose handler allows it) becomes a drag once the
// pointer went far enough. False when a handler freed the list.
bool TdxTreeListHeaderPanel::StartDragAfterThreshold(TPoint point) {
    const bool movedFar = std::abs(point.X - FPressPoint.X) > kDragThreshold ||
                          std::abs(point.Y - FPressPoint.Y) > kDragThreshold;
    if (!movedFar)
        return true;
    const bool band = FGesture == isBandPressed;
    const int index = band ? FPressedBand : FPressedColumn;
    bool movable = false;
    if (band) {
        const TdxTreeListBands& bands = FList.Bands();
        const TdxTreeListBand* item =
            index >= 0 && index < bands.Count() ? bands.Items(index) : nullptr;
        movable = item && FList.OptionsEx().Contains(aoBandMoving) && item->Fixed() == bfNone &&
                  !item->DisableDragging();
    } else {
        const TdxTreeListColumn* column =
            index >= 0 && index < FList.ColumnCount() ? FList.Columns(index) : nullptr;
        movable = column && FList.Options().Contains(aoColumnMoving) && !column->DisableDragging();
    }
    if (!movable)
        return true;
    const TLifeToken alive = FList.LifeToken();
    const bool allowed = FEvents->DragAllowed(band, index);
    if (!alive)
        return false;
    if (!allowed)
        return true;
    FGesture = band ? isBandDragging : isColumnDragging;
    FEvents->DragStarted(band, index);
    return static_cast<bool>(alive);
}

// A pressed caption, header or corner button is drawn pushed only while the pointer is over it.
void TdxTreeListHeaderPanel::FollowPushedLooks(const TTreeListHitInfo& hit) {
    const TdxTreeListAreas& areas = FList.Layout().Areas;
    if (FGesture == isBandPressed) {
        const bool over = hit.Area == haBandHeader && hit.BandIndex == FPressedBand;
        if (over != FBandPushed) {
            FBandPushed = over;
            FList.InvalidateRect(areas.BandPanel);
        }
    } else if (FGesture == isColumnPressed) {
        const bool over = hit.Area == haColumnHeader && hit.ColumnIndex == FPressedColumn;
        if (over != FColumnPushed) {
            FColumnPushed = over;
            FList.InvalidateRect(areas.HeaderPanel);
        }
    } else if (FGesture == isBandButtonPressed || FGesture == isHeaderButtonPressed) {
        const bool over =
            hit.Area == (FGesture == isBandButtonPressed ? haBandButton : haHeaderButton);
        if (over != FCornerPushed) {
            FCornerPushed = over;
            FList.Invalidate();
        }
    }
}

void TdxTreeListHeaderPanel::MoveSizingLine(int position) {
    const int line = std::clamp(position, FSizingMin, FSizingMax);
    if (line == FSizingLine)
        return;
    if (FSizingLineShown)
        InvertSizingLine();
    FSizingLine = line;
    InvertSizingLine();
    FSizingLineShown = true;
}

// The line is drawn by inverting pixels: drawing it again takes it away.
void TdxTreeListHeaderPanel::InvertSizingLine() const {
    if (!FList.Window())
        return;
    std::unique_ptr<ICanvasDevice> device = FList.Window()->GetDevice();
    if (!device)
        return;
    const TRect client = FList.ClientRect();
    const bool vertical = FGesture == isColumnSizing || FGesture == isBandSizing;
    device->InvertRect(vertical ? TRect{FSizingLine, client.Top, FSizingLine + 1, client.Bottom}
                                : TRect{client.Left, FSizingLine, client.Right, FSizingLine + 1});
}

void TdxTreeListHeaderPanel::HideMarks() const {
    if (FSizingLineShown)
        InvertSizingLine();
}

void TdxTreeListHeaderPanel::ShowMarks() const {
    if (FSizingLineShown)
        InvertSizingLine();
}

bool TdxTreeListHeaderPanel::SizingLine(int& position) const {
    position = FSizingLine;
    return FSizingLineShown;
}

// =============================================================================================
// 4. release

void TdxTreeListHeaderPanel::Release(const TTreeListHitInfo& hit, TShiftState shift) {
    switch (FGesture) {
    case isColumnSizing:
    case isBandSizing:
    case isBandPanelSizing:
    case isHeaderPanelSizing:
    case isRowSizing:
        ApplySizing();
        break;
    case isBandPressed: {
        const int band = FPressedBand;
        Cancel();
        if (hit.Area == haBandHeader && hit.BandIndex == band)
            FEvents->BandClicked(band);
        break;
    }
    case isColumnPressed: {
        const int column = FPressedColumn;
        Cancel();
        if (hit.Area == haColumnHeader && hit.ColumnIndex == column)
            FEvents->HeaderClicked(column,
                                   FList.OptionsEx().Contains(aoMultiSort) && (shift & ssShift),
                                   (shift & ssCtrl) != 0);
        break;
    }
    case isBandDragging:
        DropBand(hit.Point);
        break;
    case isColumnDragging:
        DropColumn(hit.Point);
        break;
    case isBandButtonPressed:
    case isHeaderButtonPressed: {
        const bool band = FGesture == isBandButtonPressed;
        const bool pushed = FCornerPushed;
        Cancel();
        if (pushed)
            FEvents->CornerButtonClicked(band);
        break;
    }
    default:
        break;
    }
}

// The line's distance from the sized element's left or top edge is its new size.
void TdxTreeListHeaderPanel::ApplySizing() {
    const TdxInputState kind = FGesture;
    const int target = FSizingTarget;
    const int size = FSizingLine - FSizingStart;
    Cancel();
    switch (kind) {
    case isColumnSizing:
        if (target >= 0 && target < FList.ColumnCount() && size != FList.ColumnWidth(target))
            FEvents->Resized(kind, target, size);
        break;
    case isBandSizing:
        if (size != FList.BandWidth(target))
            FEvents->Resized(kind, target, size);
        break;
    case isBandPanelSizing: {
        // The panel's rows of band text, beyond the margin around them.
        const int text = FList.BandTextHeight();
        const int margin = FList.BandPanelHeight() - FList.BandRowCount() * text;
        FEvents->Resized(kind, target, std::max(1, (size - margin) / std::max(text, 1)));
        break;
    }
    case isHeaderPanelSizing:
        FEvents->Resized(kind, target, std::max(1, size / std::max(FList.HeaderRowHeight(), 1)));
        break;
    case isRowSizing:
        FEvents->Resized(kind, target, size / std::max(FList.HeaderPanelRowCount(), 1));
        break;
    default:
        break;
    }
}

// The band position under the pointer is the target; over none the drop counts as outside.
void TdxTreeListHeaderPanel::DropBand(TPoint point) {
    const int band = FPressedBand;
    Cancel();
    if (band < 0 || band >= FList.Bands().Count())
        return;
    FEvents->BandDropped(band, point, FList.BandPosition(band), BandDropTarget(point));
}

int TdxTreeListHeaderPanel::BandDropTarget(TPoint point) const {
    const TGeometry geometry(FList, FList.LeftCoord());
    if (!geometry.Areas().Client.Contains(point))
        return -1;
    int target = -1;
    for (int position = 0; position < static_cast<int>(geometry.Layout().Bands.size());
         ++position) {
        const TRect r = geometry.BandRect(position);
        if (point.X >= r.Left && point.X < r.Right)
            target = position;
    }
    return target;
}

// A column let go inside the list within the left and right of a header of its own band row
// (at any height) takes that header's place; anywhere else the drop has no target.
void TdxTreeListHeaderPanel::DropColumn(TPoint point) {
    const int column = FPressedColumn;
    Cancel();
    if (column < 0 || column >= FList.ColumnCount())
        return;
    FEvents->ColumnDropped(column, point, ColumnDropTarget(column, point));
}

int TdxTreeListHeaderPanel::ColumnDropTarget(int column, TPoint point) const {
    const TGeometry geometry(FList, FList.LeftCoord());
    const TdxHeaderItem* own = geometry.ItemOfColumn(column);
    if (!own || !geometry.Areas().Client.Contains(point))
        return -1;
    int target = -1;
    for (const TdxHeaderItem& item : geometry.Layout().HeaderItems)
        if (item.BandPosition == own->BandPosition && item.RowIndex == own->RowIndex &&
            point.X >= geometry.ItemLeft(item) && point.X < geometry.ItemRight(item))
            target = FList.Columns(item.Column)->ColIndex();
    return target;
}

void TdxTreeListHeaderPanel::Cancel() {
    const bool dragging = FGesture == isBandDragging || FGesture == isColumnDragging;
    if (FSizingLineShown) {
        InvertSizingLine();
        FSizingLineShown = false;
    }
    const TdxTreeListAreas& areas = FList.Layout().Areas;
    if (FPressedBand >= 0)
        FList.InvalidateRect(areas.BandPanel);
    if (FPressedColumn >= 0)
        FList.InvalidateRect(areas.HeaderPanel);
    if (FCornerPushed)
        FList.Invalidate();
    FPressedBand = -1;
    FBandPushed = false;
    FPressedColumn = -1;
    FColumnPushed = false;
    FCornerPushed = false;
    FSizingTarget = -1;
    if (Active())
        FGesture = isIdle;
    if (dragging)
        FEvents->DragScroll(0);
}

} // namespace dxtl
