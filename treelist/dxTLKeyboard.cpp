// Keyboard input of a tree list: the key table for row-select and cell mode with and without
// Ctrl and Shift, the shared moves (plain moves, Shift runs from the anchor, page moves), the
// characters "+", "-", "*" and Ctrl+C, and the keys the list asks the platform for. Every key
// acts through focus and selection (dxTLFocus.cpp, dxTLSelection.cpp) and runs inside one
// selection lock, so it raises OnSelectedCountChange at most once.
#include "treelist/dxTLGeometry.h"

#include <algorithm>

namespace dxtl {

using namespace fw;

namespace {

// Ctrl+C as a character.
constexpr char32_t kCopyCharacter = 3;

} // namespace

void TCustomdxTreeListControl::KeyDown(int& key, TShiftState shift) {
    HandleKeyDown(key, shift);
}

void TCustomdxTreeListControl::KeyPress(char32_t& key) {
    HandleKeyPress(key);
}

void TCustomdxTreeListControl::WMGetDlgCode(TMessage& message) {
    const bool ctrl = HasPlatform() && Platform().KeyState(VK::Control) < 0;
    const bool alt = HasPlatform() && Platform().KeyState(VK::Menu) < 0;
    message.Result = DlgCode::WantArrows;
    if (FOptions.Contains(aoEditing) || (FOptionsEx.Contains(aoAutoSearch) && !alt))
        message.Result |= DlgCode::WantChars;
    if (FOptions.Contains(aoTabs) && !ctrl)
        message.Result |= DlgCode::WantTab;
}

// The focus one row further; the rows' ends hold it.
void TCustomdxTreeListControl::StepFocus(int rows) {
    if (TdxTreeListNode* focused = FocusedNode())
        FocusRow(focused->AbsoluteIndex() + rows);
}

// Before a plain move the selection goes, unless the move cannot leave the row: Up at the first
// top-level node with it alone selected, Down on the last row.
void TCustomdxTreeListControl::ClearBeforeMove(int direction) {
    TdxTreeListNode* focused = FocusedNode();
    const bool stays = (direction < 0 && SelectedCount() == 1 && focused == NodeAt(0)) ||
                       (direction > 0 && focused == LastRowNode());
    if (!stays)
        ClearSelection();
}

void TCustomdxTreeListControl::PlainMove(int direction) {
    if (MultiSelect()) {
        const TLifeToken alive = LifeToken();
        ClearBeforeMove(direction);
        if (!alive)
            return;
        SetSelectionAnchor(nullptr);
    }
    StepFocus(direction);
}

// A run of Shift moves extends one range from the anchor: moving back toward the anchor takes
// the row left behind out of it.
void TCustomdxTreeListControl::ShiftMove(int direction) {
    // Focus and selection filter handlers may free the list.
    const TLifeToken alive = LifeToken();
    TdxTreeListNode* focused = FocusedNode();
    if (!SelectionExtending()) {
        ClearBeforeMove(direction);
        if (!alive)
            return;
        if (TdxTreeListNode* anchor = SelectionAnchor()) {
            SelectRange(anchor, focused);
            if (!alive)
                return;
            if (CompareWithAnchor(focused) == -direction && focused != anchor)
                SetNodeSelected(focused, false);
        } else {
            SetSelectionAnchor(focused);
            SetNodeSelected(focused, true);
        }
        if (!alive)
            return;
        SetSelectionExtending(true);
        StepFocus(direction);
        if (alive)
            SetNodeSelected(FocusedNode(), true);
        return;
    }
    if (CompareWithAnchor(focused) == -direction) {
        SetNodeSelected(focused, false);
        if (alive)
            StepFocus(direction);
        return;
    }
    StepFocus(direction);
    if (alive)
        SetNodeSelected(FocusedNode(), true);
}

// Home, End, Page Up and Page Down: the selection goes; with Shift a range from the anchor
// (the focused node when there is none) to where the focus arrives.
void TCustomdxTreeListControl::JumpFocus(const std::function<void()>& move, bool extend) {
    const TLifeToken alive = LifeToken();
    ClearSelection();
    if (!alive)
        return;
    if (extend) {
        if (!SelectionAnchor())
            SetSelectionAnchor(FocusedNode());
    } else {
        SetSelectionAnchor(nullptr);
    }
    move();
    if (alive && extend && MultiSelect())
        SelectRange(SelectionAnchor(), FocusedNode());
}

void TCustomdxTreeListControl::MoveFocusedColumn(int direction, bool throughRows) {
    const int count = VisibleColumnCount();
    if (count == 0)
        return;
    int column = FocusedColumn() + direction;
    TdxTreeListNode* focused = FocusedNode();
    if (column < 0 || column >= count) {
        if (!throughRows)
            return;
        const int row = focused->AbsoluteIndex() + direction;
        if (row < 0 || row >= AbsoluteCount())
            return;
        const TLifeToken alive = LifeToken();
        ClearSelection();
        if (alive)
            ChangeFocus(NodeAtAbsoluteIndex(row), direction < 0 ? count - 1 : 0, true);
        return;
    }
    ChangeFocus(focused, column, true);
}

// With aoVertThrough in cell mode, Up and Down first move between the lines of a band row that
// holds its columns on several lines: to the column of the next line that lies under (over) the
// middle of the focused one. -1 when the focused column is on the row's first (last) line.
int TCustomdxTreeListControl::ColumnOnNextLine(int direction) const {
    const std::vector<TdxHeaderItem>& items = Layout().HeaderItems;
    const int focused = FocusedColumn();
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

// Tab in cell mode: the next (previous) column that takes the tab, on to the next (previous) row
// with aoTabThrough.
void TCustomdxTreeListControl::TabColumn(int direction) {
    const std::vector<TdxHeaderItem>& items = Layout().HeaderItems;
    const int count = static_cast<int>(items.size());
    const auto tabStop = [&](int i) {
        return FColumns[std::size_t(items[std::size_t(i)].Column)]->TabStop();
    };
    for (int column = FocusedColumn() + direction; column >= 0 && column < count;
         column += direction)
        if (tabStop(column)) {
            ChangeFocus(FocusedNode(), column, true);
            return;
        }
    if (!FOptions.Contains(aoTabThrough))
        return;
    const int row = FocusedNode()->AbsoluteIndex() + direction;
    if (row < 0 || row >= AbsoluteCount())
        return;
    for (int column = direction > 0 ? 0 : count - 1; column >= 0 && column < count;
         column += direction)
        if (tabStop(column)) {
            const TLifeToken alive = LifeToken();
            ClearSelection();
            if (alive)
                ChangeFocus(NodeAtAbsoluteIndex(row), column, true);
            return;
        }
}

void TCustomdxTreeListControl::HandleKeyDown(int& key, TShiftState shift) {
    UnderSelectionLock([&] { HandleKey(key, shift); });
}

void TCustomdxTreeListControl::HandleKey(int& key, TShiftState shift) {
    // Key and focus handlers may free the list.
    const TLifeToken alive = LifeToken();
    if (OnKeyDown) {
        OnKeyDown(this, key, shift);
        if (!alive)
            return;
    }
    if (key == 0)
        return;
    // While sizing or dragging only Escape acts: it cancels the gesture.
    if (FInput.Sizing() || FInput.State == isColumnDragging || FInput.State == isBandDragging) {
        if (key == VK::Escape) {
            CancelInput();
            key = 0;
        }
        return;
    }
    if (NodeCount() == 0 || !FocusedNode())
        return;
    const bool ctrl = (shift & ssCtrl) != 0;
    const bool withShift = (shift & ssShift) != 0;
    const bool rowSelect = RowSelectMode();
    if (ctrl) {
        SetSelectionExtending(false);
        const bool rangeKey = key == VK::Home || key == VK::End || key == VK::Prior ||
                              key == VK::Next || key == VK::Up || key == VK::Down;
        if (!withShift || !rangeKey) {
            HandleCtrlKey(key, withShift);
            return;
        }
        // Ctrl+Shift with a moving key: as the key with Shift.
    }
    TdxTreeListNode* focused = FocusedNode();
    const bool shiftRun = withShift && MultiSelect();
    switch (key) {
    case VK::Up:
    case VK::Down:
        MoveVertically(focused, key == VK::Up ? -1 : 1, shiftRun);
        key = 0;
        break;
    case VK::Left:
    case VK::Right: {
        const bool left = key == VK::Left;
        if (!rowSelect) {
            MoveFocusedColumn(left ? -1 : 1, FOptionsEx.Contains(aoHorzThrough));
        } else if (!(left ? StepOutOfNode(focused) : StepIntoNode(focused))) {
            return;
        }
        key = 0;
        break;
    }
    case VK::Home:
    case VK::End: {
        const bool home = key == VK::Home;
        if (rowSelect || withShift)
            JumpFocus([&] { FocusRow(home ? 0 : AbsoluteCount() - 1); }, withShift);
        else
            ChangeFocus(focused, home ? 0 : std::max(VisibleColumnCount() - 1, 0), true);
        key = 0;
        break;
    }
    case VK::Prior:
    case VK::Next:
        JumpFocus([&] { PageMove(key == VK::Prior ? -1 : 1); }, withShift);
        key = 0;
        break;
    case VK::Tab:
        if (!FOptions.Contains(aoTabs) || (shift & ssAlt))
            break;
        if (rowSelect) {
            ClearSelection();
            if (!alive)
                return;
            StepFocus(withShift ? -1 : 1);
        } else {
            TabColumn(withShift ? -1 : 1);
        }
        key = 0;
        break;
    case VK::Escape:
        ClearSelection();
        if (!alive)
            return;
        CancelEditing();
        break;
    default:
        break;
    }
    // A plain key never leaves the list without a selected row.
    if (alive && SelectedCount() == 0 && FocusedNode())
        SetNodeSelected(FocusedNode(), true);
}

// Up and Down: to the next line of the cell's column with aoVertThrough, else a row.
void TCustomdxTreeListControl::MoveVertically(TdxTreeListNode* focused, int direction,
                                              bool shiftRun) {
    if (FOptionsEx.Contains(aoVertThrough) && !RowSelectMode()) {
        if (const int column = ColumnOnNextLine(direction); column >= 0) {
            ChangeFocus(focused, column, true);
            return;
        }
    }
    // Up on the first row would open the new item row, which this list does not have.
    if (direction < 0 && focused == NodeAt(0))
        return;
    if (shiftRun)
        ShiftMove(direction);
    else
        PlainMove(direction);
}

// Left: the node collapses, or the focus moves to its parent (from a first child) or a row up.
bool TCustomdxTreeListControl::StepOutOfNode(TdxTreeListNode* focused) {
    const TLifeToken alive = LifeToken();
    focused->MakeVisible();
    if (!alive)
        return false;
    // Expanded with no children yet (they may come on demand) still collapses.
    if (focused->Expanded()) {
        focused->SetExpanded(false);
        return alive.Alive();
    }
    const bool toParent = focused->Parent() && focused->Index() == 0;
    ClearSelection();
    if (!alive)
        return false;
    if (toParent) {
        ChangeFocus(focused->Parent(), FocusedColumn(), true);
        if (!alive)
            return false;
        SetNodeSelected(FocusedNode(), true);
    } else {
        StepFocus(-1);
    }
    return alive.Alive();
}

// Right: the node expands, or the focus moves to its first child or, without children, a row
// down.
bool TCustomdxTreeListControl::StepIntoNode(TdxTreeListNode* focused) {
    const TLifeToken alive = LifeToken();
    focused->MakeVisible();
    if (!alive)
        return false;
    if (focused->HasChildren()) {
        if (focused->Expanded() && focused->ChildCount() > 0) {
            ClearSelection();
            if (!alive)
                return false;
            ChangeFocus(focused->GetFirstChild(), FocusedColumn(), true);
            if (!alive)
                return false;
            SetNodeSelected(FocusedNode(), true);
        } else if (!focused->Expanded()) {
            focused->SetExpanded(true);
        }
        return alive.Alive();
    }
    ClearSelection();
    if (!alive)
        return false;
    StepFocus(1);
    return alive.Alive();
}

void TCustomdxTreeListControl::HandleCtrlKey(int& key, bool withShift) {
    TdxTreeListNode* focused = FocusedNode();
    if (withShift)
        return;
    switch (key) {
    case VK::Up:
    case VK::Down:
        StepFocus(key == VK::Up ? -1 : 1);
        key = 0;
        break;
    case VK::Left:
    case VK::Right:
        ChangeFocus(focused, key == VK::Left ? 0 : std::max(VisibleColumnCount() - 1, 0), true);
        key = 0;
        break;
    case VK::Home:
    case VK::End:
        FocusRow(key == VK::Home ? 0 : AbsoluteCount() - 1);
        key = 0;
        break;
    case VK::Prior:
    case VK::Next:
        PageMove(key == VK::Prior ? -1 : 1);
        key = 0;
        break;
    case VK::Space:
        if (RowSelectMode() || !FOptions.Contains(aoEditing)) {
            key = 0;
            const TLifeToken alive = LifeToken();
            SetNodeSelected(focused, !IsNodeSelected(focused));
            if (alive)
                SetSelectionAnchor(focused);
        }
        break;
    case VK::Insert:
        CopySelectionToClipboard();
        key = 0;
        break;
    default:
        break;
    }
}

void TCustomdxTreeListControl::HandleKeyPress(char32_t& key) {
    // Key, expansion and top row handlers may free the list.
    const TLifeToken alive = LifeToken();
    if (OnKeyPress) {
        OnKeyPress(this, key);
        if (!alive)
            return;
    }
    TdxTreeListNode* focused = FocusedNode();
    if (key == 0 || !focused)
        return;
    switch (key) {
    case U'+':
    case U'-': {
        const bool expand = key == U'+';
        key = 0;
        focused->MakeVisible();
        if (alive)
            focused->SetExpanded(expand);
        break;
    }
    case U'*':
        key = 0;
        if (focused->HasChildren())
            focused->Expand(true);
        break;
    case kCopyCharacter:
        if (FOptionsEx.Contains(aoAutoCopySelectedToClipboard)) {
            CopySelectionToClipboard();
            key = 0;
        }
        break;
    default:
        break;
    }
}

} // namespace dxtl
