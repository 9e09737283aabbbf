// Keys applied to a tree list (see dxTLKeyMover.h). Sections: entry points (keys, characters),
// applying a movement, resolving it against rows, pages and columns.
//
// Call flow: HandleKeyDown (dxTLKeyboard.cpp, one selection lock) -> KeyDown: OnKeyDown, Escape
// during a header gesture -> TdxKeyMovement::ForKey -> Apply: Resolve (rows: FocusRowTarget,
// PageMoveRow; columns: the header items) -> TdxSelectionDecision::ForKey -> CommitSelection ->
// ChangeFocus (which scrolls the row into view and raises the focus events) or the node's
// expansion. The count event is raised as the selection lock is given back.
#include "treelist/input/dxTLKeyMover.h"
#include "treelist/dxTLControlParts.h"

#include "treelist/model/dxTLSelectionDecision.h"

#include <algorithm>

namespace dxtl {

using namespace fw;

// --- Entry points ----------------------------------------------------------------------------

void TCustomdxTreeListControl::TKeyMover::KeyDown(int& key, TShiftState shift) {
    // Key, selection filter and focus handlers may free the list.
    const TLifeToken alive = FList.LifeToken();
    if (FList.OnKeyDown) {
        FList.OnKeyDown(&FList, key, shift);
        if (!alive)
            return;
    }
    if (key == 0)
        return;
    // While sizing or dragging only Escape acts: it cancels the gesture.
    const TdxTreeListInput& input = FList.FParts->Input;
    if (input.Sizing() || input.State == isColumnDragging || input.State == isBandDragging) {
        if (key == VK::Escape) {
            FList.CancelInput();
            key = 0;
        }
        return;
    }
    if (FList.NodeCount() == 0 || !FList.FocusedNode())
        return;
    const TdxKeyMovement movement =
        TdxKeyMovement::ForKey(key, shift, FList.FOptions, FList.FOptionsEx);
    if (movement.TakesKey)
        key = 0;
    Apply(movement);
}

void TCustomdxTreeListControl::TKeyMover::KeyPress(char32_t& key) {
    // Key, expansion and top row handlers may free the list.
    const TLifeToken alive = FList.LifeToken();
    if (FList.OnKeyPress) {
        FList.OnKeyPress(&FList, key);
        if (!alive)
            return;
    }
    TdxTreeListNode* focused = FList.FocusedNode();
    if (key == 0 || !focused)
        return;
    const TdxKeyMovement movement = TdxKeyMovement::ForCharacter(key, FList.FOptionsEx);
    if (movement.TakesKey)
        key = 0;
    RunAction(movement.Action, focused);
}

// --- Applying --------------------------------------------------------------------------------

void TCustomdxTreeListControl::TKeyMover::Apply(const TdxKeyMovement& movement) {
    const TLifeToken alive = FList.LifeToken();
    TdxTreeListNode* focused = FList.FocusedNode();
    // Left and Right act on the node as the user sees it.
    if (movement.Move == TdxFocusMove::OutOfNode || movement.Move == TdxFocusMove::IntoNode) {
        focused->MakeVisible();
        if (!alive)
            return;
    }
    const TTarget target = Resolve(movement, focused);
    TdxKeySelection request;
    request.Follow = target.SelectionFollows ? movement.Selection : TdxSelectionFollow::Keep;
    request.Direction = movement.Direction;
    request.Focused = focused;
    request.Target = target.Node ? target.Node : focused;
    request.AtEdge = target.AtEdge;
    request.EndsShiftRun = movement.EndsShiftRun;
    request.KeepsARowSelected = movement.KeepsARowSelected;
    TdxSelectionDecision decision = FList.DecideSelection();
    decision.ForKey(request);
    // A filter handler that freed nodes may have freed the target too: the key ends there.
    if (!alive || !FList.CommitSelection(decision) || !alive)
        return;
    if (target.Node) {
        FList.ChangeFocus(target.Node, target.Column, true);
        if (!alive)
            return;
    }
    // Left and Right showed the node already.
    if (target.Action == TdxKeyAction::Expand || target.Action == TdxKeyAction::Collapse) {
        focused->SetExpanded(target.Action == TdxKeyAction::Expand);
        if (!alive)
            return;
    }
    RunAction(movement.Action, focused);
}

void TCustomdxTreeListControl::TKeyMover::RunAction(TdxKeyAction action, TdxTreeListNode* focused) {
    switch (action) {
    case TdxKeyAction::None:
        break;
    case TdxKeyAction::CopySelection:
        FList.CopySelectionToClipboard();
        break;
    case TdxKeyAction::CancelEditing:
        FList.CancelEditing();
        break;
    case TdxKeyAction::Expand:
    case TdxKeyAction::Collapse: {
        const TLifeToken alive = FList.LifeToken();
        focused->MakeVisible();
        if (alive)
            focused->SetExpanded(action == TdxKeyAction::Expand);
        break;
    }
    case TdxKeyAction::ExpandAll:
        if (focused->HasChildren())
            focused->Expand(true);
        break;
    }
}

// --- Resolving -------------------------------------------------------------------------------

TCustomdxTreeListControl::TKeyMover::TTarget
TCustomdxTreeListControl::TKeyMover::Resolve(const TdxKeyMovement& movement,
                                             TdxTreeListNode* focused) const {
    const int direction = movement.Direction;
    const int lastColumn = std::max(FList.VisibleColumnCount() - 1, 0);
    switch (movement.Move) {
    case TdxFocusMove::None:
        return {};
    case TdxFocusMove::Line:
        return Line(focused, direction);
    case TdxFocusMove::Row:
        return RowStep(focused, direction);
    case TdxFocusMove::Page:
        return {FList.FocusRowTarget(FList.PageMoveRow(direction)), FList.FocusedColumn()};
    case TdxFocusMove::FirstRow:
        return {FList.FocusRowTarget(0), FList.FocusedColumn()};
    case TdxFocusMove::LastRow:
        return {FList.FocusRowTarget(FList.AbsoluteCount() - 1), FList.FocusedColumn()};
    case TdxFocusMove::Column:
        return Column(focused, direction, movement.ThroughRows);
    case TdxFocusMove::FirstColumn:
    case TdxFocusMove::LastColumn: {
        const bool first = movement.Move == TdxFocusMove::FirstColumn;
        return {focused, first ? 0 : lastColumn, TdxKeyAction::None, false};
    }
    case TdxFocusMove::TabStop:
        return TabStop(focused, direction, movement.ThroughRows);
    case TdxFocusMove::OutOfNode:
        return OutOfNode(focused);
    case TdxFocusMove::IntoNode:
        return IntoNode(focused);
    }
    return {};
}

// The focus `rows` further; the rows' ends hold it (then the focus stays).
TCustomdxTreeListControl::TKeyMover::TTarget
TCustomdxTreeListControl::TKeyMover::RowStep(TdxTreeListNode* focused, int rows) const {
    return {FList.FocusRowTarget(focused->AbsoluteIndex() + rows), FList.FocusedColumn()};
}

// Up and Down: to the next line of the cell's column with aoVertThrough, else a row.
TCustomdxTreeListControl::TKeyMover::TTarget
TCustomdxTreeListControl::TKeyMover::Line(TdxTreeListNode* focused, int direction) const {
    if (FList.FOptionsEx.Contains(aoVertThrough) && !FList.RowSelectMode()) {
        if (const int column = ColumnOnNextLine(direction); column >= 0)
            return {focused, column, TdxKeyAction::None, false};
    }
    // Up on the first row would open the new item row, which this list does not have.
    if (direction < 0 && focused == FList.NodeAt(0))
        return {nullptr, 0, TdxKeyAction::None, false};
    TTarget target = RowStep(focused, direction);
    target.AtEdge = direction > 0 && focused == FList.LastRowNode();
    return target;
}

TCustomdxTreeListControl::TKeyMover::TTarget
TCustomdxTreeListControl::TKeyMover::Column(TdxTreeListNode* focused, int direction,
                                            bool throughRows) const {
    const TTarget stay{nullptr, 0, TdxKeyAction::None, false};
    const int count = FList.VisibleColumnCount();
    if (count == 0)
        return stay;
    const int column = FList.FocusedColumn() + direction;
    if (column >= 0 && column < count)
        return {focused, column, TdxKeyAction::None, false};
    const int row = focused->AbsoluteIndex() + direction;
    if (!throughRows || row < 0 || row >= FList.AbsoluteCount())
        return stay;
    return {FList.NodeAtAbsoluteIndex(row), direction < 0 ? count - 1 : 0};
}

// Tab in cell mode: the next (previous) column that takes the tab, on to the next (previous)
// row with aoTabThrough.
TCustomdxTreeListControl::TKeyMover::TTarget
TCustomdxTreeListControl::TKeyMover::TabStop(TdxTreeListNode* focused, int direction,
                                             bool throughRows) const {
    const TTarget stay{nullptr, 0, TdxKeyAction::None, false};
    const std::vector<TdxHeaderItem>& items = FList.Layout().HeaderItems;
    const int count = static_cast<int>(items.size());
    const auto tabStop = [&](int i) {
        return FList.FColumns[std::size_t(items[std::size_t(i)].Column)]->TabStop();
    };
    for (int column = FList.FocusedColumn() + direction; column >= 0 && column < count;
         column += direction)
        if (tabStop(column))
            return {focused, column, TdxKeyAction::None, false};
    const int row = focused->AbsoluteIndex() + direction;
    if (!throughRows || row < 0 || row >= FList.AbsoluteCount())
        return stay;
    for (int column = direction > 0 ? 0 : count - 1; column >= 0 && column < count;
         column += direction)
        if (tabStop(column))
            return {FList.NodeAtAbsoluteIndex(row), column};
    return stay;
}

// Left: the node collapses, or the focus moves to its parent (from a first child) or a row up.
TCustomdxTreeListControl::TKeyMover::TTarget
TCustomdxTreeListControl::TKeyMover::OutOfNode(TdxTreeListNode* focused) const {
    // Expanded with no children yet (they may come on demand) still collapses.
    if (focused->Expanded())
        return {nullptr, 0, TdxKeyAction::Collapse, false};
    if (focused->Parent() && focused->Index() == 0)
        return {focused->Parent(), FList.FocusedColumn()};
    return RowStep(focused, -1);
}

// Right: the node expands, or the focus moves to its first child or, without children, a row
// down.
TCustomdxTreeListControl::TKeyMover::TTarget
TCustomdxTreeListControl::TKeyMover::IntoNode(TdxTreeListNode* focused) const {
    if (!focused->HasChildren())
        return RowStep(focused, 1);
    if (!focused->Expanded())
        return {nullptr, 0, TdxKeyAction::Expand, false};
    if (focused->ChildCount() > 0)
        return {focused->GetFirstChild(), FList.FocusedColumn()};
    return {nullptr, 0, TdxKeyAction::None, false};
}

// With aoVertThrough in cell mode, Up and Down first move between the lines of a band row that
// holds its columns on several lines: to the column of the next line that lies under (over) the
// middle of the focused one.
int TCustomdxTreeListControl::TKeyMover::ColumnOnNextLine(int direction) const {
    const std::vector<TdxHeaderItem>& items = FList.Layout().HeaderItems;
    const int focused = FList.FocusedColumn();
    if (focused < 0 || focused >= static_cast<int>(items.size()))
        return -1;
    const TdxHeaderItem& from = items[std::size_t(focused)];
    const int line = direction < 0 ? from.RowIndex - 1 : from.RowIndex + from.RowSpan;
    const int middle = from.Left + from.Width / 2;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const TdxHeaderItem& item = items[i];
        if (item.BandPosition == from.BandPosition && item.RowIndex <= line &&
            line < item.RowIndex + item.RowSpan && item.Left <= middle &&
            middle < item.Left + item.Width)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace dxtl
