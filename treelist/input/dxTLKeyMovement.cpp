// The key table of a tree list (see dxTLKeyMovement.h): Ctrl keys first, then the plain and
// Shift keys of row-select and cell mode, then the characters.
#include "treelist/input/dxTLKeyMovement.h"

namespace dxtl {

using namespace fw;

namespace {

// Ctrl+C as a character.
constexpr char32_t kCopyCharacter = 3;

using Move = TdxFocusMove;
using Follow = TdxSelectionFollow;

TdxKeyMovement Taken(Move move, int direction, Follow selection) {
    TdxKeyMovement movement;
    movement.Move = move;
    movement.Direction = direction;
    movement.Selection = selection;
    movement.TakesKey = true;
    return movement;
}

bool IsRangeKey(int key) {
    return key == VK::Home || key == VK::End || key == VK::Prior || key == VK::Next ||
           key == VK::Up || key == VK::Down;
}

// Ctrl moves the focus alone; Ctrl+Space toggles the focused row.
TdxKeyMovement CtrlKey(int key, TdxTreeListOptions options) {
    switch (key) {
    case VK::Up:
    case VK::Down:
        return Taken(Move::Row, key == VK::Up ? -1 : 1, Follow::Keep);
    case VK::Left:
    case VK::Right:
        return Taken(key == VK::Left ? Move::FirstColumn : Move::LastColumn, 0, Follow::Keep);
    case VK::Home:
    case VK::End:
        return Taken(key == VK::Home ? Move::FirstRow : Move::LastRow, 0, Follow::Keep);
    case VK::Prior:
    case VK::Next:
        return Taken(Move::Page, key == VK::Prior ? -1 : 1, Follow::Keep);
    case VK::Space:
        // In cell mode with editing the space belongs to the cell.
        if (options.Contains(aoRowSelect) || !options.Contains(aoEditing))
            return Taken(Move::None, 0, Follow::Toggle);
        return {};
    case VK::Insert: {
        TdxKeyMovement copy = Taken(Move::None, 0, Follow::Keep);
        copy.Action = TdxKeyAction::CopySelection;
        return copy;
    }
    default:
        return {};
    }
}

TdxKeyMovement PlainKey(int key, TShiftState shift, TdxTreeListOptions options,
                        TdxTreeListOptionsEx optionsEx) {
    const bool withShift = (shift & ssShift) != 0;
    const bool rowSelect = options.Contains(aoRowSelect);
    const Follow jump = withShift ? Follow::Range : Follow::AloneWithoutAnchor;
    switch (key) {
    case VK::Up:
    case VK::Down: {
        const bool shiftRun = withShift && options.Contains(aoMultiSelect);
        return Taken(Move::Line, key == VK::Up ? -1 : 1,
                     shiftRun ? Follow::ShiftStep : Follow::Step);
    }
    case VK::Left:
    case VK::Right: {
        const int direction = key == VK::Left ? -1 : 1;
        if (rowSelect)
            return Taken(direction < 0 ? Move::OutOfNode : Move::IntoNode, direction,
                         Follow::Alone);
        TdxKeyMovement column = Taken(Move::Column, direction, Follow::Alone);
        column.ThroughRows = optionsEx.Contains(aoHorzThrough);
        return column;
    }
    case VK::Home:
    case VK::End: {
        const bool home = key == VK::Home;
        // In cell mode Home and End stay in the row; with Shift they still select rows.
        if (rowSelect || withShift)
            return Taken(home ? Move::FirstRow : Move::LastRow, 0, jump);
        return Taken(home ? Move::FirstColumn : Move::LastColumn, 0, Follow::Keep);
    }
    case VK::Prior:
    case VK::Next:
        return Taken(Move::Page, key == VK::Prior ? -1 : 1, jump);
    case VK::Tab: {
        if (!options.Contains(aoTabs) || (shift & ssAlt))
            return {};
        const int direction = withShift ? -1 : 1;
        if (rowSelect)
            return Taken(Move::Row, direction, Follow::Alone);
        TdxKeyMovement tab = Taken(Move::TabStop, direction, Follow::Alone);
        tab.ThroughRows = options.Contains(aoTabThrough);
        return tab;
    }
    case VK::Escape: {
        // The key goes on to the form (a dialog's Cancel button).
        TdxKeyMovement escape;
        escape.Selection = Follow::Clear;
        escape.Action = TdxKeyAction::CancelEditing;
        return escape;
    }
    default:
        return {};
    }
}

} // namespace

TdxKeyMovement TdxKeyMovement::ForKey(int key, TShiftState shift, TdxTreeListOptions options,
                                      TdxTreeListOptionsEx optionsEx) {
    const bool ctrl = (shift & ssCtrl) != 0;
    const bool withShift = (shift & ssShift) != 0;
    // Ctrl+Shift with a moving key acts as the key with Shift; with any other key it does
    // nothing.
    if (ctrl && (!withShift || !IsRangeKey(key))) {
        TdxKeyMovement movement = withShift ? TdxKeyMovement{} : CtrlKey(key, options);
        movement.EndsShiftRun = true;
        return movement;
    }
    TdxKeyMovement movement = PlainKey(key, shift, options, optionsEx);
    movement.EndsShiftRun = ctrl;
    movement.KeepsARowSelected = true;
    return movement;
}

TdxKeyMovement TdxKeyMovement::ForCharacter(char32_t character, TdxTreeListOptionsEx optionsEx) {
    TdxKeyMovement movement;
    switch (character) {
    case U'+':
    case U'-':
        movement.Action = character == U'+' ? TdxKeyAction::Expand : TdxKeyAction::Collapse;
        movement.TakesKey = true;
        break;
    case U'*':
        movement.Action = TdxKeyAction::ExpandAll;
        movement.TakesKey = true;
        break;
    case kCopyCharacter:
        if (optionsEx.Contains(aoAutoCopySelectedToClipboard)) {
            movement.Action = TdxKeyAction::CopySelection;
            movement.TakesKey = true;
        }
        break;
    default:
        break;
    }
    return movement;
}

} // namespace dxtl
