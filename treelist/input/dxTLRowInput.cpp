// Call flow: the control's press hands a row press to Press (focus, then SelectOnPress); its
// moves with the button held go to PressMoved, which runs the timer beyond an edge (TimerTick
// on each tick); its release calls ApplyDeferredSelect before the click. Hot tracking comes
// from the control's moves and from the mouse entering or leaving the list.
#include "treelist/input/dxTLRowInput.h"

#include "framework/Platform.h"
#include "treelist/dxTLControl.h"
#include "treelist/dxTLScopes.h"

#include <algorithm>

namespace dxtl {

using namespace fw;

namespace {

// Held beyond an edge, the focus steps a row this often.
constexpr unsigned kDragSelectInterval = 60;

} // namespace

bool TdxTreeListRowInput::Press(const TTreeListHitInfo& hit, int column, TMouseButton button,
                                TShiftState shift) {
    if (button == mbLeft && hit.Area != haIndicator)
        FState = isRowPressed;
    const TLifeToken alive = FList.LifeToken();
    const TSelectionLock lock(FList);
    // The press is over before its selection is announced.
    const TTemporaryValue inRowPress(FList, FInRowPress, true);
    FPressedNode = FList.FocusedNode();
    // OnChangeNode comes here, before any selection change.
    FList.ChangeFocus(hit.Node, column >= 0 ? column : FList.FocusedColumn(), true);
    if (!alive)
        return false;
    // A handler of the focus change may have deleted nodes: what follows acts on the focused
    // node, which deletion keeps valid.
    TdxTreeListNode* focused = FList.FocusedNode();
    if (!focused || !MultiSelect())
        return false;
    return SelectOnPress(focused, button, shift);
}

// Ctrl toggles, Shift takes the range from the anchor, a plain press on a selected row waits for
// the release: the press's rule of the selection decision, committed in one step. True for a
// Ctrl or Shift press.
bool TdxTreeListRowInput::SelectOnPress(TdxTreeListNode* focused, TMouseButton button,
                                        TShiftState shift) {
    const TLifeToken alive = FList.LifeToken();
    TdxSelectionDecision decision = FList.DecideSelection();
    const bool waitsForRelease =
        decision.ForPress(FPressedNode, focused, (shift & ssShift) != 0, (shift & ssCtrl) != 0);
    if (!alive)
        return false;
    FList.CommitSelection(decision);
    FDeferredSelect = waitsForRelease && button == mbLeft;
    return (shift & (ssCtrl | ssShift)) != 0;
}

// The node alone selected, and the anchor of later Shift ranges.
void TdxTreeListRowInput::SelectAlone(TdxTreeListNode* node) {
    const TLifeToken alive = FList.LifeToken();
    TdxSelectionDecision decision = FList.DecideSelection();
    decision.Alone(node);
    if (alive)
        FList.CommitSelection(decision);
}

void TdxTreeListRowInput::ApplyDeferredSelect() {
    if (!FDeferredSelect)
        return;
    FDeferredSelect = false;
    if (TdxTreeListNode* focused = FList.FocusedNode())
        SelectAlone(focused);
}

void TdxTreeListRowInput::PressMoved(int y, TdxTreeListNode* node) {
    if (!DragSelects())
        return;
    const TRect rows = FList.DataAreaRect();
    const TLifeToken alive = FList.LifeToken();
    if (y < rows.Top || y >= rows.Bottom) {
        const int direction = y < rows.Top ? -1 : 1;
        const int top = std::max(FList.TopRow(), 0);
        const int target = direction < 0 ? top : top + FList.PageRowCount() - 1;
        FList.FocusRow(std::min(target, FList.AbsoluteCount() - 1));
        if (alive)
            SetTimer(direction, kDragSelectInterval);
        return;
    }
    SetTimer(0, 0);
    if (!node)
        return;
    // Also onto the row the timer left focused: the selection becomes that row alone.
    if (node != FList.FocusedNode()) {
        FList.ChangeFocus(node, FList.FocusedColumn(), true);
        if (!alive)
            return;
    }
    TdxTreeListNode* focused = FList.FocusedNode();
    if (!MultiSelect() || !focused ||
        (FList.SelectedCount() == 1 && FList.IsNodeSelected(focused) &&
         FList.SelectionAnchor() == focused))
        return;
    FList.UnderSelectionLock([&] { SelectAlone(focused); });
}

// With the editor in the way (cells editable outside row-select mode) a held press does not
// select by dragging.
bool TdxTreeListRowInput::DragSelects() const {
    const TdxTreeListOptions options = FList.Options();
    return FList.OptionsEx().Contains(aoMouseScroll) &&
           (options.Contains(aoRowSelect) || !options.Contains(aoEditing)) &&
           FList.AbsoluteCount() > 0;
}

bool TdxTreeListRowInput::MultiSelect() const {
    return FList.Options().Contains(aoMultiSelect);
}

void TdxTreeListRowInput::DropPress() {
    if (FState == isRowPressed)
        FState = isIdle;
    FDeferredSelect = false;
    SetTimer(0, 0);
}

// A refresh of the rows, say: the release then raises no click on rows that may have changed
// under the press.
void TdxTreeListRowInput::UpdateLockTaken() {
    if (FState == isRowPressed && !FInRowPress) {
        FState = isIdle;
        FDeferredSelect = false;
    }
}

void TdxTreeListRowInput::SetTimer(int direction, unsigned interval) {
    IPlatformWindow* window = FList.Window();
    if (direction == FTimerDirection || !window)
        return;
    FTimerDirection = direction;
    if (direction == 0)
        window->KillTimer(kInputTimerId);
    else
        window->SetTimer(kInputTimerId, interval);
}

bool TdxTreeListRowInput::TimerTick() {
    if (FState != isRowPressed || FTimerDirection == 0)
        return false;
    if (TdxTreeListNode* focused = FList.FocusedNode())
        FList.FocusRow(focused->AbsoluteIndex() + FTimerDirection);
    return true;
}

void TdxTreeListRowInput::Track(TdxTreeListNode* node) {
    if (node == FHotNode)
        return;
    TdxTreeListNode* old = FHotNode;
    FHotNode = node;
    FList.NodeChanged(old, false);
    FList.NodeChanged(node, false);
    if (FList.OnHotTrackNode)
        FList.OnHotTrackNode(&FList, node);
}

void TdxTreeListRowInput::ForgetNode(const TdxTreeListNode* node) {
    if (FPressedNode == node)
        FPressedNode = nullptr;
    if (FHotNode == node)
        FHotNode = nullptr;
}

void TdxTreeListRowInput::ForgetNodes() {
    FPressedNode = FHotNode = nullptr;
}

} // namespace dxtl
