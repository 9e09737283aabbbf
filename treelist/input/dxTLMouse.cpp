// Mouse input of a tree list: the press, move and release algorithms on the input state
// machine (dxTLInput.h), which decide who gets a gesture: what starts in the band and header
// panels (and sizing by an edge) goes to the header panel (dxTLHeaderPanel.h); row presses,
// drag select, the input timer's steps and hot tracking to the rows' part (dxTLRowInput.h).
// Also the click rule, the view's drag scrolling and the cancel of a gesture.
//
// Sections:
//   1. press          - focus first, hit test, the header panel, expansion, row presses
//   2. move           - the header panel, drag select, hot tracking
//   3. release        - the header panel, the deferred select, the click
//   4. cancel, timer  - cancel mode, loss of capture, the input timer
//
// The click rule: OnClick follows the release of a left press that began on a row area (node
// image, state image, cell, preview, row footer, new item row) and was not a double click.
#include "treelist/dxTLControlParts.h"
#include "treelist/header/dxTLHeaderPanel.h"
#include "treelist/layout/dxTLGeometry.h"

namespace dxtl {

using namespace fw;

TdxInputState TCustomdxTreeListControl::InputState() const {
    return FParts->Input.State;
}

const TTreeListHitInfo& TCustomdxTreeListControl::LastHit() const {
    return FParts->Input.LastHit;
}

TdxTreeListNode* TCustomdxTreeListControl::HotTrackNode() const {
    return FParts->RowInput.HotNode();
}

namespace {

// The input timer moves the view this far while a band or column is dragged beyond an edge (how
// often: dxTLHeaderEvents.cpp).
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
        FParts->Input.ForgetNode(node);
        FParts->RowInput.ForgetNode(node);
    } else {
        FParts->Input.ForgetNodes();
        FParts->RowInput.ForgetNodes();
    }
}

// =============================================================================================
// 1. press

void TCustomdxTreeListControl::HandleMouseDown(TMouseButton button, TShiftState shift, int x,
                                               int y) {
    FParts->RowInput.ForgetDeferredSelect();
    FParts->Input.EditorPending = false;
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
    FParts->Input.LastHit = hit;
    if (FParts->Input.State != isIdle && button == mbRight)
        CancelInput();
    const bool doubleClick = (shift & ssDouble) != 0;
    if (button == mbLeft && FParts->Input.State == isIdle && FParts->HeaderPanel->Press(hit, shift))
        return;
    if (!alive)
        return;

    const bool rowArea = IsRowArea(hit.Area);
    if (FParts->Input.State == isIdle && button != mbMiddle && (button == mbLeft || rowArea)) {
        if (hit.Area == haExpandButton || (doubleClick && rowArea)) {
            if (hit.Node && (DblClkExpanding() || hit.Area == haExpandButton))
                hit.Node->SetExpanded(!hit.Node->Expanded());
            if (doubleClick && alive)
                RaiseDblClick();
            return;
        }
        if (rowArea || hit.Area == haIndicator) {
            const int column =
                hit.ColumnIndex >= 0 ? VisibleColumnOf(Layout(), hit.ColumnIndex) : -1;
            // A Ctrl or Shift press ends with the selection it made: no OnMouseDown.
            if (FParts->RowInput.Press(hit, column, button, shift) || !alive)
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
    if (button == mbMiddle && FParts->Input.State == isIdle) {
        StartPanning();
        if (!alive)
            return;
    }
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TCustomdxTreeListControl::UpdateLockTaken() {
    FParts->RowInput.UpdateLockTaken();
}

// =============================================================================================
// 2. move

void TCustomdxTreeListControl::HandleMouseMove(TShiftState shift, int x, int y) {
    // Every handler raised from here on may free the list.
    const TLifeToken alive = LifeToken();
    const TTreeListHitInfo hit = HitTest(x, y);
    FParts->Input.LastHit = hit;
    if (FParts->Input.State == isRowPressed && !(shift & ssLeft))
        FParts->Input.State = isIdle;
    if (!FParts->HeaderPanel->Move(hit))
        return;
    if (FParts->Input.State == isRowPressed)
        FParts->RowInput.PressMoved(y, hit.Node);
    if (!alive)
        return;
    if (FOptionsEx.Contains(aoHotTrack)) {
        FParts->RowInput.Track(IsRowArea(hit.Area) ? hit.Node : nullptr);
        if (!alive)
            return;
    }
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

void TCustomdxTreeListControl::CMMouseEnter(TMessage& message) {
    DispatchInherited(StaticMessageTable(), message);
    if (FOptionsEx.Contains(aoHotTrack) && HasPlatform()) {
        const TPoint p = ScreenToClient(Platform().CursorPos());
        const TTreeListHitInfo hit = HitTest(p.X, p.Y);
        FParts->RowInput.Track(IsRowArea(hit.Area) ? hit.Node : nullptr);
    }
}

void TCustomdxTreeListControl::CMMouseLeave(TMessage& message) {
    DispatchInherited(StaticMessageTable(), message);
    FParts->RowInput.Track(nullptr);
}

// =============================================================================================
// 3. release

void TCustomdxTreeListControl::HandleMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    const TLifeToken alive = LifeToken();
    UnderSelectionLock([&] {
        const TTreeListHitInfo hit = HitTest(x, y);
        FParts->Input.LastHit = hit;
        FParts->HeaderPanel->Release(hit, shift);
        if (!alive)
            return;
        FParts->RowInput.ApplyDeferredSelect();
        if (!alive)
            return;
        const bool click = FParts->Input.State == isEditing ||
                           FParts->Input.State == isNodeDragging ||
                           FParts->Input.State == isRowPressed;
        FParts->Input.EditorPending = false;
        // After any release no gesture is left: a second button's release ends the first.
        FParts->Input.State = isIdle;
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
    FParts->HeaderPanel->Cancel();
    SetInputTimer(0, 0);
    if (FParts->Input.State != isRowPressed)
        FParts->Input.State = isIdle;
}

void TCustomdxTreeListControl::WMCancelMode(TMessage& message) {
    CancelInput();
    DispatchInherited(StaticMessageTable(), message);
}

// Losing the capture in the middle of a gesture (another program taking it, the form hidden)
// ends the gesture as a cancel does, and a later release applies nothing.
void TCustomdxTreeListControl::WMCaptureChanged(TMessage& message) {
    if (!FParts->Input.Releasing && FParts->Input.State != isIdle) {
        CancelInput();
        FParts->Input.State = isIdle;
        FParts->RowInput.ForgetDeferredSelect();
    }
    DispatchInherited(StaticMessageTable(), message);
}

// The framework gives the capture back before the release reaches MouseUp: that is no loss.
void TCustomdxTreeListControl::WMButtonUp(TMessage& message) {
    // A click handler may free the list.
    const TTemporaryValue releasing(*this, FParts->Input.Releasing, true);
    DispatchInherited(StaticMessageTable(), message);
}

void TCustomdxTreeListControl::SetInputTimer(int direction, unsigned interval) {
    FParts->RowInput.SetTimer(direction, interval);
}

void TCustomdxTreeListControl::InputTimerTick() {
    if (FParts->RowInput.TimerTick())
        return;
    const int direction = FParts->RowInput.TimerDirection();
    if ((FParts->Input.State == isBandDragging || FParts->Input.State == isColumnDragging) &&
        direction != 0) {
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
    FParts->HeaderPanel->HideMarks();
}

void TCustomdxTreeListControl::ShowInteractionMarks() {
    FParts->HeaderPanel->ShowMarks();
}

} // namespace dxtl
