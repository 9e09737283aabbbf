// What a key asks of a tree list, decided from the key, the modifiers and the options alone:
// where the focus goes (a movement) and how the selection follows it. The list resolves the
// movement against its rows and applies it (TCustomdxTreeListControl::TKeyMover); nothing here
// reads a list, so every key rule can be checked without one.
#pragma once

#include "treelist/dxTLTypes.h"

namespace dxtl {

// Where the focus goes.
enum class TdxFocusMove {
    None,
    // Up and Down: to the next line of the focused cell's row (aoVertThrough in cell mode),
    // else a row; Up stops at the first row.
    Line,
    // One row, whatever the cell's lines.
    Row,
    Page,
    FirstRow,
    LastRow,
    // Left and Right in cell mode: the next column, on to the next row with ThroughRows.
    Column,
    FirstColumn,
    LastColumn,
    // Tab in cell mode: the next column that takes the tab, on to the next row with ThroughRows.
    TabStop,
    // Left in row-select mode: collapses the node, or goes to its parent (from a first child)
    // or a row up.
    OutOfNode,
    // Right in row-select mode: expands the node, or goes to its first child or, without
    // children, a row down.
    IntoNode,
};

// How the selection follows a move to another row. A move that stays in the row (another
// column, another line of the cell) or turns into expanding or collapsing keeps it.
enum class TdxSelectionFollow {
    Keep,
    // The selection goes; the anchor stays.
    Alone,
    // The selection and the anchor go, so a later Shift range starts at the focus.
    AloneWithoutAnchor,
    // Up and Down: as AloneWithoutAnchor, but on the row the move cannot pass (Down on the last
    // row) the selection stays.
    Step,
    // Shift+Up and Shift+Down: a run that extends one range from the anchor; moving back toward
    // the anchor takes the row left behind out of it.
    ShiftStep,
    // Shift with Home, End, Page Up and Page Down: the range from the anchor (the focused row
    // when there is none) to where the focus arrives, alone.
    Range,
    // Ctrl+Space: the focused row in or out; it becomes the anchor.
    Toggle,
    // Escape: the selection goes.
    Clear,
};

// What else a key or character does.
enum class TdxKeyAction {
    None,
    CopySelection,
    CancelEditing,
    // The focused node, shown first.
    Expand,
    Collapse,
    // The focused node and all its descendants.
    ExpandAll,
};

struct TdxKeyMovement {
    TdxFocusMove Move = TdxFocusMove::None;
    // -1 back (up, left), +1 forward.
    int Direction = 0;
    // Column and TabStop: on to the next (previous) row past the row's end.
    bool ThroughRows = false;
    TdxSelectionFollow Selection = TdxSelectionFollow::Keep;
    TdxKeyAction Action = TdxKeyAction::None;
    // A Ctrl key ends a Shift run: the next Shift move starts a new one.
    bool EndsShiftRun = false;
    // A plain key never leaves the list without a selected row: the focused one is selected
    // then. Ctrl keys leave the selection to the user.
    bool KeepsARowSelected = false;
    // The list has used the key: it goes no further.
    bool TakesKey = false;

    // The movement of a key press with the modifiers held (fw::ssShift, fw::ssCtrl, fw::ssAlt).
    static TdxKeyMovement ForKey(int key, fw::TShiftState shift, TdxTreeListOptions options,
                                 TdxTreeListOptionsEx optionsEx);
    // The movement of a character: "+" and "-" expand and collapse the focused node, "*"
    // expands its whole branch, Ctrl+C copies with aoAutoCopySelectedToClipboard.
    static TdxKeyMovement ForCharacter(char32_t character, TdxTreeListOptionsEx optionsEx);
};

} // namespace dxtl
