// Mouse input of a tree list: the press, move and release algorithms on the input state
// machine (dxTLInput.h), which decide who gets a gesture: sizing with the inverted line, header
// and band presses with their pushed looks, band and column dragging here; row presses, drag
// select, the input timer's steps and hot tracking in the rows' part (dxTLRowInput.h). Also
// the click rule and the cancel of a gesture.
//
// Sections:
//   1. press          - focus first, hit test, header parts, expansion, row presses
//   2. move           - sizing line, drag thresholds, drag select, pushed looks, hot tracking
//   3. release        - applying sizes, clicks on headers, bands and buttons, drops, the click
//   4. cancel, timer  - cancel mode, loss of capture, the input timer, the sizing line
//
// The click rule: OnClick follows the release of a left press that began on a row area (node
// image, state image, cell, preview, row footer, new item row) and was not a double click.
#include "treelist/dxTLGeometry.h"

#include <algorithm>
#include <cstdlib>

namespace dxtl {

using namespace fw;

namespace {

// A pressed header or band becomes a drag once the pointer moved this far.
constexpr int kDragThreshold = 5;
// The input timer moves the view this far while a band or column is dragged beyond an edge.
constexpr unsigned kDragScrollInterval = 100;
constexpr int kDragScrollStep = 32;

bool IsRowArea(TTreeListHitArea area) {
    return area == haNodeImage || area == haStateImage || area == haCell || area == haPreview ||
           area == haRowFooter || area == haNewItemRow;
}

int VisibleColumnOf(const TdxLayoutLists& layout, int column) {
    for (std::size_t i = 0; i < layout.HeaderItems.size(); ++i)
        if (layout.HeaderItems[i].Column == column)
            return static_cast<int>(i);
    return -1;
}

} // namespace

void TCustomdxTreeListControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    HandleMouseDown(button, shift, x, y);
}

void TCustomdxTreeListControl::MouseMove(TShiftState shift, int x, int y) {
    HandleMouseMove(shift, x, y);
}

void TCustomdxTreeListControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    HandleMouseUp(button, shift, x, y);
}

void TCustomdxTreeListControl::NodeGone(const TdxTreeListNode* node) {
    if (node) {
        FInput.ForgetNode(node);
        FRowInput.ForgetNode(node);
    } else {
        FInput.ForgetNodes();
        FRowInput.ForgetNodes();
    }
}

// =============================================================================================
// 1. press

void TCustomdxTreeListControl::HandleMouseDown(TMouseButton button, TShiftState shift, int x,
                                               int y) {
    FRowInput.ForgetDeferredSelect();
    FInput.EditorPending = false;
    // Every handler raised from here on may free the list.
    const TLifeToken alive = LifeToken();
    // The focus first: when an exit handler elsewhere keeps it, the press does nothing.
    if (!IsDesigning()) {
        if (CanFocus())
            SetFocus();
        if (!alive)
            return;
        if (!HasInputFocus()) {
            SetMouseCapture(false);
            return;
        }
    }
    const TTreeListHitInfo hit = HitTest(x, y);
    FInput.LastHit = hit;
    if (FInput.State != isIdle && button == mbRight)
        CancelInput();
    const bool doubleClick = (shift & ssDouble) != 0;
    if (button == mbLeft && FInput.State == isIdle && PressHeaderPart(hit, shift))
        return;
    if (!alive)
        return;

    const bool rowArea = IsRowArea(hit.Area);
    if (FInput.State == isIdle && button != mbMiddle && (button == mbLeft || rowArea)) {
        if (hit.Area == haExpandButton || (doubleClick && rowArea)) {
            if (hit.Node && (FDblClkExpanding || hit.Area == haExpandButton))
                hit.Node->SetExpanded(!hit.Node->Expanded());
            if (doubleClick && alive)
                RaiseDblClick();
            return;
        }
        if (rowArea || hit.Area == haIndicator) {
            const int column =
                hit.ColumnIndex >= 0 ? VisibleColumnOf(Layout(), hit.ColumnIndex) : -1;
            // A Ctrl or Shift press ends with the selection it made: no OnMouseDown.
            if (FRowInput.Press(hit, column, button, shift) || !alive)
                return;
        }
    }
    if (button == mbLeft && doubleClick &&
        (hit.Area == haEmpty || hit.Area == haIndent || hit.Area == haRowEnd ||
         hit.Area == haOutside)) {
        RaiseDblClick();
        if (!alive)
            return;
    }
    if (button == mbMiddle && FInput.State == isIdle) {
        StartPanning();
        if (!alive)
            return;
    }
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

// Edges start sizing (a double click fits to the content instead), headers, bands and the
// corner buttons are pressed. True when the press ends here without OnMouseDown.
bool TCustomdxTreeListControl::PressHeaderPart(const TTreeListHitInfo& hit, TShiftState shift) {
    const bool doubleClick = (shift & ssDouble) != 0;
    switch (hit.Area) {
    case haBandEdge:
        if (hit.BandIndex < 0)
            return false;
        if (doubleClick)
            ApplyBandBestFit(hit.BandIndex);
        else
            StartSizing(isBandSizing, hit);
        return true;
    case haColumnEdge:
        if (hit.ColumnIndex < 0)
            return false;
        if (doubleClick)
            ApplyBestFit(Columns(hit.ColumnIndex));
        else
            StartSizing(isColumnSizing, hit);
        return true;
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
        FInput.State = isBandPressed;
        FInput.PressedBand = hit.BandIndex;
        FInput.BandPushed = true;
        FInput.PressPoint = hit.Point;
        InvalidateRect(Layout().Areas.BandPanel);
        return false;
    case haColumnHeader:
        FInput.State = isColumnPressed;
        FInput.PressedColumn = hit.ColumnIndex;
        FInput.ColumnPushed = true;
        FInput.PressPoint = hit.Point;
        InvalidateRect(Layout().Areas.HeaderPanel);
        return false;
    case haBandButton:
    case haHeaderButton: {
        const bool band = hit.Area == haBandButton;
        if (!FOptionsEx.Contains(band ? aoBandButtonClicking : aoHeaderButtonClicking))
            return false;
        FInput.State = band ? isBandButtonPressed : isHeaderButtonPressed;
        FInput.CornerPushed = true;
        Invalidate();
        return false;
    }
    default:
        return false;
    }
}

void TCustomdxTreeListControl::UpdateLockTaken() {
    FRowInput.UpdateLockTaken();
}

void TCustomdxTreeListControl::StartSizing(TdxInputState state, const TTreeListHitInfo& hit) {
    const TdxTreeListAreas& areas = Layout().Areas;
    int edge = 0;
    switch (state) {
    case isColumnSizing: {
        const TdxSizingBounds bounds = ColumnSizingBounds(hit.ColumnIndex);
        FInput.SizingTarget = hit.ColumnIndex;
        FInput.SizingStart = ColumnLeft(hit.ColumnIndex);
        FInput.SizingMin = FInput.SizingStart + bounds.MinWidth;
        FInput.SizingMax = bounds.MaxRight;
        edge = HeaderRect(hit.ColumnIndex).Right;
        break;
    }
    case isBandSizing: {
        const int position = BandPosition(hit.BandIndex);
        const TdxSizingBounds bounds = BandSizingBounds(position);
        const TRect band = BandRect(position);
        FInput.SizingTarget = position;
        FInput.SizingStart = band.Left;
        FInput.SizingMin = band.Left + bounds.MinWidth;
        FInput.SizingMax = bounds.MaxRight;
        edge = band.Right;
        break;
    }
    case isBandPanelSizing:
        FInput.SizingStart = areas.BandPanel.Top;
        FInput.SizingMin = FInput.SizingStart + BandTextHeight();
        edge = areas.BandPanel.Bottom;
        FInput.SizingMax = areas.Client.Bottom;
        break;
    case isHeaderPanelSizing:
        FInput.SizingStart = areas.HeaderPanel.Top;
        FInput.SizingMin = FInput.SizingStart + HeaderRowHeight();
        edge = areas.HeaderPanel.Bottom;
        FInput.SizingMax = areas.Client.Bottom;
        break;
    case isRowSizing: {
        const TRect row = NodeRowRect(hit.Node);
        FInput.SizingStart = row.Top;
        FInput.SizingMin = row.Top + MinRowHeight() * HeaderPanelRowCount();
        edge = row.Bottom;
        FInput.SizingMax = areas.Rows.Bottom;
        break;
    }
    default:
        return;
    }
    FInput.State = state;
    FInput.SizingMax = std::max(FInput.SizingMax, FInput.SizingMin);
    FInput.SizingLine = std::clamp(edge, FInput.SizingMin, FInput.SizingMax);
    InvertSizingLine();
    FInput.SizingLineShown = true;
}

// =============================================================================================
// 2. move

void TCustomdxTreeListControl::HandleMouseMove(TShiftState shift, int x, int y) {
    // Every handler raised from here on may free the list.
    const TLifeToken alive = LifeToken();
    const TTreeListHitInfo hit = HitTest(x, y);
    FInput.LastHit = hit;
    if (FInput.State == isRowPressed && !(shift & ssLeft))
        FInput.State = isIdle;
    const bool movedFar = std::abs(x - FInput.PressPoint.X) > kDragThreshold ||
                          std::abs(y - FInput.PressPoint.Y) > kDragThreshold;
    switch (FInput.State) {
    case isColumnSizing:
    case isBandSizing:
        MoveSizingLine(x);
        break;
    case isBandPanelSizing:
    case isHeaderPanelSizing:
    case isRowSizing:
        MoveSizingLine(y);
        break;
    case isBandDragging:
    case isColumnDragging: {
        // Beyond the left or right edge the view follows the pointer.
        const TRect rows = Layout().Areas.Rows;
        const int direction = !FOptionsEx.Contains(aoDragScroll) ? 0
                              : x < rows.Left                    ? -1
                              : x >= rows.Right                  ? 1
                                                                 : 0;
        SetInputTimer(direction, kDragScrollInterval);
        break;
    }
    case isBandPressed: {
        TdxTreeListBand* band = FInput.PressedBand >= 0 && FInput.PressedBand < FBands->Count()
                                    ? FBands->Items(FInput.PressedBand)
                                    : nullptr;
        if (band && movedFar && FOptionsEx.Contains(aoBandMoving) && band->Fixed() == bfNone &&
            !band->DisableDragging()) {
            bool allow = true;
            if (OnCanBandDragging)
                OnCanBandDragging(this, band, allow);
            if (!alive)
                return;
            if (allow) {
                FInput.State = isBandDragging;
                if (OnStartBandDragging)
                    OnStartBandDragging(this, band);
            }
        }
        break;
    }
    case isColumnPressed: {
        TdxTreeListColumn* column =
            FInput.PressedColumn >= 0 && FInput.PressedColumn < ColumnCount()
                ? FColumns[std::size_t(FInput.PressedColumn)]
                : nullptr;
        if (column && movedFar && FOptions.Contains(aoColumnMoving) && !column->DisableDragging()) {
            bool allow = true;
            if (OnCanHeaderDragging)
                OnCanHeaderDragging(this, column, allow);
            if (!alive)
                return;
            if (allow) {
                FInput.State = isColumnDragging;
                if (OnStartHeaderDragging)
                    OnStartHeaderDragging(this, column);
            }
        }
        break;
    }
    case isRowPressed:
        FRowInput.PressMoved(y, hit.Node);
        break;
    default:
        break;
    }
    if (!alive)
        return;
    FollowPushedLooks(hit);
    if (FOptionsEx.Contains(aoHotTrack)) {
        FRowInput.Track(IsRowArea(hit.Area) ? hit.Node : nullptr);
        if (!alive)
            return;
    }
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

// A pressed header, band or corner button is drawn pushed only while the pointer is over it.
void TCustomdxTreeListControl::FollowPushedLooks(const TTreeListHitInfo& hit) {
    const TdxTreeListAreas& areas = Layout().Areas;
    if (FInput.State == isBandPressed) {
        const bool over = hit.Area == haBandHeader && hit.BandIndex == FInput.PressedBand;
        if (over != FInput.BandPushed) {
            FInput.BandPushed = over;
            InvalidateRect(areas.BandPanel);
        }
    } else if (FInput.State == isColumnPressed) {
        const bool over = hit.Area == haColumnHeader && hit.ColumnIndex == FInput.PressedColumn;
        if (over != FInput.ColumnPushed) {
            FInput.ColumnPushed = over;
            InvalidateRect(areas.HeaderPanel);
        }
    } else if (FInput.State == isBandButtonPressed || FInput.State == isHeaderButtonPressed) {
        const bool over =
            hit.Area == (FInput.State == isBandButtonPressed ? haBandButton : haHeaderButton);
        if (over != FInput.CornerPushed) {
            FInput.CornerPushed = over;
            Invalidate();
        }
    }
}

void TCustomdxTreeListControl::CMMouseEnter(TMessage& message) {
    DispatchInherited(StaticMessageTable(), message);
    if (FOptionsEx.Contains(aoHotTrack) && HasPlatform()) {
        const TPoint p = ScreenToClient(Platform().CursorPos());
        const TTreeListHitInfo hit = HitTest(p.X, p.Y);
        FRowInput.Track(IsRowArea(hit.Area) ? hit.Node : nullptr);
    }
}

void TCustomdxTreeListControl::CMMouseLeave(TMessage& message) {
    DispatchInherited(StaticMessageTable(), message);
    FRowInput.Track(nullptr);
}

// =============================================================================================
// 3. release

void TCustomdxTreeListControl::HandleMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    const TLifeToken alive = LifeToken();
    UnderSelectionLock([&] {
        const TTreeListHitInfo hit = HitTest(x, y);
        FInput.LastHit = hit;
        switch (FInput.State) {
        case isColumnSizing:
        case isBandSizing:
        case isBandPanelSizing:
        case isHeaderPanelSizing:
        case isRowSizing:
            ApplySizing();
            break;
        case isBandPressed: {
            const int band = FInput.PressedBand;
            CancelInput();
            if (hit.Area == haBandHeader && hit.BandIndex == band && OnBandClick)
                OnBandClick(this, FBands->Items(band));
            break;
        }
        case isBandDragging:
            DropBand(hit.Point);
            break;
        case isColumnPressed: {
            const int column = FInput.PressedColumn;
            CancelInput();
            if (hit.Area == haColumnHeader && hit.ColumnIndex == column)
                HeaderClicked(column, FOptionsEx.Contains(aoMultiSort) && (shift & ssShift),
                              (shift & ssCtrl) != 0);
            break;
        }
        case isColumnDragging:
            DropColumn(hit.Point);
            break;
        case isBandButtonPressed:
        case isHeaderButtonPressed: {
            const bool band = FInput.State == isBandButtonPressed;
            const bool pushed = FInput.CornerPushed;
            CancelInput();
            if (pushed) {
                const TNotifyEvent& event = band ? OnBandButtonClick : OnHeaderButtonClick;
                if (event)
                    event(this);
            }
            break;
        }
        default:
            break;
        }
        if (!alive)
            return;
        FRowInput.ApplyDeferredSelect();
        if (!alive)
            return;
        const bool click = FInput.State == isEditing || FInput.State == isNodeDragging ||
                           FInput.State == isRowPressed;
        FInput.EditorPending = false;
        // After any release no gesture is left: a second button's release ends the first.
        FInput.State = isIdle;
        SetInputTimer(0, 0);
        if (click) {
            RaiseClick();
            if (!alive)
                return;
        }
        if (OnMouseUp)
            OnMouseUp(this, button, shift, x, y);
    });
}

void TCustomdxTreeListControl::ApplySizing() {
    const TdxInputState state = FInput.State;
    if (FInput.SizingLineShown) {
        InvertSizingLine();
        FInput.SizingLineShown = false;
    }
    FInput.State = isIdle;
    const int size = FInput.SizingLine - FInput.SizingStart;
    switch (state) {
    case isColumnSizing:
        if (FInput.SizingTarget >= 0 && FInput.SizingTarget < ColumnCount() &&
            size != ColumnWidth(FInput.SizingTarget))
            ColumnResized(FInput.SizingTarget, size);
        break;
    case isBandSizing:
        if (size != BandWidth(FInput.SizingTarget))
            BandResized(FInput.SizingTarget, size);
        break;
    case isBandPanelSizing: {
        // The panel's rows of band text, beyond the margin around them.
        const int margin = BandPanelHeight() - BandRowCount() * BandTextHeight();
        SetBandRowCount(std::max(1, (size - margin) / std::max(BandTextHeight(), 1)));
        break;
    }
    case isHeaderPanelSizing:
        SetHeaderPanelRowCount(std::max(1, size / std::max(HeaderRowHeight(), 1)));
        break;
    case isRowSizing:
        SetDefaultRowHeight(size / std::max(HeaderPanelRowCount(), 1));
        break;
    default:
        break;
    }
}

// The band position under the pointer is the target; over none the drop counts as outside,
// which hides the band when the list may be customised.
void TCustomdxTreeListControl::DropBand(TPoint point) {
    const int bandIndex = FInput.PressedBand;
    CancelInput();
    if (bandIndex < 0 || bandIndex >= FBands->Count())
        return;
    TdxTreeListBand* band = FBands->Items(bandIndex);
    const int from = BandPosition(bandIndex);
    int target = -1;
    if (Layout().Areas.Client.Contains(point))
        for (int position = 0; position < VisibleBandCount(); ++position) {
            const TRect r = BandRect(position);
            if (point.X >= r.Left && point.X < r.Right)
                target = position;
        }
    bool accept = true;
    const TLifeToken alive = LifeToken();
    if (OnDragEndBand)
        OnDragEndBand(this, band, point, bandIndex, from, target, accept);
    if (!alive || !accept)
        return;
    if (target >= 0 && target < VisibleBandCount() && target != from) {
        band->SetIndex(BandAtPosition(target));
    } else if (target < 0 && FOptions.Contains(aoExtCustomizing) && !band->DisableCustomizing()) {
        band->SetVisible(false);
        if (OnHideBand)
            OnHideBand(this, band);
    }
}

// A column dropped on a header of its own band row takes that header's place; anywhere else
// the drop changes nothing.
void TCustomdxTreeListControl::DropColumn(TPoint point) {
    const int columnIndex = FInput.PressedColumn;
    CancelInput();
    if (columnIndex < 0 || columnIndex >= ColumnCount())
        return;
    TdxTreeListColumn* column = FColumns[std::size_t(columnIndex)];
    const TGeometry geometry(*this, FLeftCoord);
    const TdxHeaderItem* own = geometry.ItemOfColumn(columnIndex);
    int target = -1;
    if (own && geometry.Areas().Client.Contains(point))
        for (const TdxHeaderItem& item : geometry.Layout().HeaderItems)
            if (item.BandPosition == own->BandPosition && item.RowIndex == own->RowIndex &&
                point.X >= geometry.ItemLeft(item) && point.X < geometry.ItemRight(item))
                target = FColumns[std::size_t(item.Column)]->ColIndex();
    bool accept = true;
    const TLifeToken alive = LifeToken();
    if (OnDragEndHeader)
        OnDragEndHeader(this, column, point, target, accept);
    if (alive && accept && target >= 0 && target != column->ColIndex())
        column->SetColIndex(target);
}

void TCustomdxTreeListControl::HeaderClicked(int column, bool multiSort, bool clearSort) {
    ColumnClicked(column, multiSort, clearSort);
}

// =============================================================================================
// 4. cancel, timer

void TCustomdxTreeListControl::CancelInput() {
    if (FInput.SizingLineShown) {
        InvertSizingLine();
        FInput.SizingLineShown = false;
    }
    const TdxTreeListAreas& areas = Layout().Areas;
    if (FInput.PressedBand >= 0)
        InvalidateRect(areas.BandPanel);
    if (FInput.PressedColumn >= 0)
        InvalidateRect(areas.HeaderPanel);
    if (FInput.CornerPushed)
        Invalidate();
    FInput.PressedBand = -1;
    FInput.BandPushed = false;
    FInput.PressedColumn = -1;
    FInput.ColumnPushed = false;
    FInput.CornerPushed = false;
    FInput.SizingTarget = -1;
    SetInputTimer(0, 0);
    if (FInput.State != isRowPressed)
        FInput.State = isIdle;
}

void TCustomdxTreeListControl::WMCancelMode(TMessage& message) {
    CancelInput();
    DispatchInherited(StaticMessageTable(), message);
}

// Losing the capture in the middle of a gesture (another program taking it, the form hidden)
// ends the gesture as a cancel does, and a later release applies nothing.
void TCustomdxTreeListControl::WMCaptureChanged(TMessage& message) {
    if (!FInput.Releasing && FInput.State != isIdle) {
        CancelInput();
        FInput.State = isIdle;
        FRowInput.ForgetDeferredSelect();
    }
    DispatchInherited(StaticMessageTable(), message);
}

// The framework gives the capture back before the release reaches MouseUp: that is no loss.
void TCustomdxTreeListControl::WMButtonUp(TMessage& message) {
    // A click handler may free the list.
    const TTemporaryValue releasing(*this, FInput.Releasing, true);
    DispatchInherited(StaticMessageTable(), message);
}

void TCustomdxTreeListControl::SetInputTimer(int direction, unsigned interval) {
    FRowInput.SetTimer(direction, interval);
}

void TCustomdxTreeListControl::InputTimerTick() {
    if (FRowInput.TimerTick())
        return;
    const int direction = FRowInput.TimerDirection();
    if ((FInput.State == isBandDragging || FInput.State == isColumnDragging) && direction != 0) {
        const int before = FLeftCoord;
        const TLifeToken alive = LifeToken();
        SetLeftCoord(FLeftCoord + direction * kDragScrollStep);
        if (!alive)
            return;
        Update();
        if (FLeftCoord == before)
            SetInputTimer(0, 0);
        return;
    }
    SetInputTimer(0, 0);
}

void TCustomdxTreeListControl::MoveSizingLine(int position) {
    const int line = std::clamp(position, FInput.SizingMin, FInput.SizingMax);
    if (line == FInput.SizingLine)
        return;
    if (FInput.SizingLineShown)
        InvertSizingLine();
    FInput.SizingLine = line;
    InvertSizingLine();
    FInput.SizingLineShown = true;
}

// The line is drawn by inverting pixels: drawing it again takes it away.
void TCustomdxTreeListControl::InvertSizingLine() {
    if (!Window())
        return;
    std::unique_ptr<ICanvasDevice> device = Window()->GetDevice();
    if (!device)
        return;
    const TRect client = ClientRect();
    const bool vertical = FInput.State == isColumnSizing || FInput.State == isBandSizing;
    const int line = FInput.SizingLine;
    device->InvertRect(vertical ? TRect{line, client.Top, line + 1, client.Bottom}
                                : TRect{client.Left, line, client.Right, line + 1});
}

void TCustomdxTreeListControl::HideInteractionMarks() {
    if (FInput.SizingLineShown)
        InvertSizingLine();
}

void TCustomdxTreeListControl::ShowInteractionMarks() {
    if (FInput.SizingLineShown)
        InvertSizingLine();
}

} // namespace dxtl
