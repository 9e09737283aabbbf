// Mouse input of a tree list: the press, move and release algorithms on the input state
// machine (dxTLInput.h), handing what starts in the band and header panels (and sizing) to the
// header panel (dxTLHeaderPanel.h); row presses with focus and selection, the click rule,
// timer 1 (drag select, drag scroll), hot tracking and the cancel of a gesture.
//
// Sections:
//   1. press          - focus first, hit test, the header panel, expansion, row presses
//   2. move           - the header panel, drag select, hot tracking
//   3. release        - the header panel, the deferred select, the click
//   4. cancel, timer  - cancel mode, loss of capture, timer 1
//
// The click rule: OnClick follows the release of a left press that began on a row area (node
// image, state image, cell, preview, row footer, new item row) and was not a double click.
#include "treelist/dxTLGeometry.h"
#include "treelist/dxTLHeaderPanel.h"

#include <algorithm>

namespace dxtl {

using namespace fw;

namespace {

// Timer 1 steps the focus a row while a row press holds the pointer above or below the rows,
// and moves the view this far while a band or column is dragged beyond an edge (how often:
// dxTLHeaderEvents.cpp).
constexpr unsigned kDragSelectInterval = 60;
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
    if (node)
        FInput.ForgetNode(node);
    else
        FInput.ForgetNodes();
}

// =============================================================================================
// 1. press

void TCustomdxTreeListControl::HandleMouseDown(TMouseButton button, TShiftState shift, int x,
                                               int y) {
    FInput.DeferredSelect = false;
    FInput.CtrlPress = false;
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
    if (button == mbLeft && FInput.State == isIdle && FHeaderPanel->Press(hit, shift))
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
            PressRow(hit, button, shift);
            // A Ctrl or Shift press ends with the selection it made: no OnMouseDown.
            if (!alive || FInput.CtrlPress)
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

// A press on a row area or the indicator: the row gets the focus (OnChangeNode comes here,
// before any selection change), then the selection follows the modifiers.
void TCustomdxTreeListControl::PressRow(const TTreeListHitInfo& hit, TMouseButton button,
                                        TShiftState shift) {
    if (button == mbLeft && hit.Area != haIndicator)
        FInput.State = isRowPressed;
    FInput.DragNode = hit.Node;
    const TLifeToken alive = LifeToken();
    const TSelectionLock lock(*this);
    // The press is over before its selection is announced.
    const TTemporaryValue inRowPress(*this, FInput.InRowPress, true);
    FInput.PressedNode = FocusedNode();
    const int column =
        hit.ColumnIndex >= 0 ? VisibleColumnOf(Layout(), hit.ColumnIndex) : FocusedColumn();
    ChangeFocus(hit.Node, column >= 0 ? column : FocusedColumn(), true);
    if (!alive)
        return;
    FInput.PressPoint = hit.Point;
    // A handler of the focus change may have deleted nodes: what follows acts on the
    // focused node, which deletion keeps valid.
    TdxTreeListNode* focused = FocusedNode();
    if (focused && MultiSelect())
        SelectOnPress(focused, button, shift);
}

// The selection after a row press: Ctrl toggles, Shift takes the range from the anchor, a plain
// press on a selected row waits for the release. Stops as soon as a handler freed the list.
void TCustomdxTreeListControl::SelectOnPress(TdxTreeListNode* focused, TMouseButton button,
                                             TShiftState shift) {
    const TLifeToken alive = LifeToken();
    SetSelectionExtending(false);
    if (shift & (ssCtrl | ssShift)) {
        FInput.CtrlPress = true;
        if ((shift & ssCtrl) && !(shift & ssShift)) {
            SetNodeSelected(focused, !IsNodeSelected(focused));
            if (alive)
                SetSelectionAnchor(focused);
            return;
        }
        if (!SelectionAnchor())
            SetSelectionAnchor(FInput.PressedNode);
        if (!(shift & ssCtrl) && SelectionAnchor()) {
            ClearSelection();
            if (!alive)
                return;
            FInput.PressedNode = SelectionAnchor();
        }
        if (FInput.PressedNode)
            SelectRange(FInput.PressedNode, focused);
        else
            SetNodeSelected(focused, !IsNodeSelected(focused));
        if (alive)
            FInput.PressedNode = nullptr;
        return;
    }
    if (IsNodeSelected(focused)) {
        // The selection survives the press; the release reduces it to this row.
        FInput.DeferredSelect = button == mbLeft;
        return;
    }
    SelectAlone(focused);
}

// The node alone selected, and the anchor of later Shift ranges.
void TCustomdxTreeListControl::SelectAlone(TdxTreeListNode* node) {
    const TLifeToken alive = LifeToken();
    ClearSelection();
    if (!alive)
        return;
    SetNodeSelected(node, true);
    if (alive)
        SetSelectionAnchor(node);
}

// An update lock taken from outside (a refresh of the rows, say) drops a row press: its
// release raises no click on rows that may have changed under it. The locks the press takes
// itself (a range selection) do not.
void TCustomdxTreeListControl::UpdateLockTaken() {
    if (FInput.State == isRowPressed && !FInput.InRowPress) {
        FInput.State = isIdle;
        FInput.DeferredSelect = false;
    }
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
    if (!FHeaderPanel->Move(hit))
        return;
    if (FInput.State == isRowPressed && FOptionsEx.Contains(aoMouseScroll) &&
        (RowSelectMode() || !FOptions.Contains(aoEditing)) && AbsoluteCount() > 0)
        RowPressMoved(y);
    if (!alive)
        return;
    if (FOptionsEx.Contains(aoHotTrack)) {
        UpdateHotTrack(IsRowArea(hit.Area) ? hit.Node : nullptr);
        if (!alive)
            return;
    }
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

// A row press held above or below the rows keeps the focus stepping that way; inside them the
// row under the pointer is focused (and alone selected).
void TCustomdxTreeListControl::RowPressMoved(int y) {
    const TLifeToken alive = LifeToken();
    const TRect rows = Layout().Areas.Rows;
    if (y < rows.Top || y >= rows.Bottom) {
        const int direction = y < rows.Top ? -1 : 1;
        const int top = std::max(TopRow(), 0);
        const int target = direction < 0 ? top : top + PageRowCount() - 1;
        FocusRow(std::min(target, AbsoluteCount() - 1));
        if (alive)
            SetInputTimer(direction, kDragSelectInterval);
        return;
    }
    SetInputTimer(0, 0);
    TdxTreeListNode* node = FInput.LastHit.Node;
    if (!node)
        return;
    // Also onto the row the timer left focused: the selection becomes that row alone.
    if (node != FocusedNode()) {
        ChangeFocus(node, FocusedColumn(), true);
        if (!alive)
            return;
    }
    TdxTreeListNode* focused = FocusedNode();
    if (!MultiSelect() || !focused ||
        (SelectedCount() == 1 && IsNodeSelected(focused) && SelectionAnchor() == focused))
        return;
    UnderSelectionLock([&] { SelectAlone(focused); });
}

void TCustomdxTreeListControl::UpdateHotTrack(TdxTreeListNode* node) {
    if (node == FInput.HotNode)
        return;
    TdxTreeListNode* old = FInput.HotNode;
    FInput.HotNode = node;
    NodeChanged(old, false);
    NodeChanged(node, false);
    if (OnHotTrackNode)
        OnHotTrackNode(this, node);
}

void TCustomdxTreeListControl::CMMouseEnter(TMessage& message) {
    DispatchInherited(StaticMessageTable(), message);
    if (FOptionsEx.Contains(aoHotTrack) && HasPlatform()) {
        const TPoint p = ScreenToClient(Platform().CursorPos());
        const TTreeListHitInfo hit = HitTest(p.X, p.Y);
        UpdateHotTrack(IsRowArea(hit.Area) ? hit.Node : nullptr);
    }
}

void TCustomdxTreeListControl::CMMouseLeave(TMessage& message) {
    DispatchInherited(StaticMessageTable(), message);
    UpdateHotTrack(nullptr);
}

// =============================================================================================
// 3. release

void TCustomdxTreeListControl::HandleMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    const TLifeToken alive = LifeToken();
    UnderSelectionLock([&] {
        const TTreeListHitInfo hit = HitTest(x, y);
        FInput.LastHit = hit;
        FHeaderPanel->Release(hit, shift);
        if (!alive)
            return;
        if (FInput.DeferredSelect) {
            FInput.DeferredSelect = false;
            if (TdxTreeListNode* focused = FocusedNode()) {
                SelectAlone(focused);
                if (!alive)
                    return;
            }
        }
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

void TCustomdxTreeListControl::HeaderClicked(int column, bool multiSort, bool clearSort) {
    ColumnClicked(column, multiSort, clearSort);
}

// =============================================================================================
// 4. cancel, timer

void TCustomdxTreeListControl::CancelInput() {
    FHeaderPanel->Cancel();
    SetInputTimer(0, 0);
    if (FInput.State != isRowPressed)
        FInput.State = isIdle;
}

void TCustomdxTreeListControl::DropRowPress() {
    if (FInput.State == isRowPressed)
        FInput.State = isIdle;
    FInput.DeferredSelect = false;
    SetInputTimer(0, 0);
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
        FInput.DeferredSelect = false;
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
    if (direction == FInput.TimerDirection || !Window())
        return;
    FInput.TimerDirection = direction;
    if (direction == 0)
        Window()->KillTimer(kInputTimerId);
    else
        Window()->SetTimer(kInputTimerId, interval);
}

void TCustomdxTreeListControl::InputTimerTick() {
    const int direction = FInput.TimerDirection;
    if (FInput.State == isRowPressed && direction != 0) {
        // The focus steps on; the selection stays as it is.
        if (FocusedNode())
            FocusRow(FocusedNode()->AbsoluteIndex() + direction);
        return;
    }
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

void TCustomdxTreeListControl::HideInteractionMarks() {
    FHeaderPanel->HideMarks();
}

void TCustomdxTreeListControl::ShowInteractionMarks() {
    FHeaderPanel->ShowMarks();
}

} // namespace dxtl
