// Applies keys to a tree list: a key becomes a movement (TdxKeyMovement), the movement is
// resolved against the rows and columns to where the focus goes, the selection that follows is
// decided on a copy (TdxSelectionDecision) and committed, and then the focus moves. Internal to
// treelist/.
#pragma once

#include "treelist/dxTLControl.h"
#include "treelist/input/dxTLKeyMovement.h"

namespace dxtl {

class TCustomdxTreeListControl::TKeyMover {
public:
    explicit TKeyMover(TCustomdxTreeListControl& list) : FList(list) {}

    // OnKeyDown, then the key's movement; a handler's 0 stops it. Runs inside the caller's
    // selection lock.
    void KeyDown(int& key, fw::TShiftState shift);
    // OnKeyPress, then the character's action.
    void KeyPress(char32_t& key);

private:
    // Where a movement takes the focus of a list with a focused node.
    struct TTarget {
        // ChangeFocus(Node, Column) with the row scrolled into view; none: the focus stays.
        TdxTreeListNode* Node = nullptr;
        int Column = 0;
        // Expanding or collapsing the focused node instead of a move.
        TdxKeyAction Action = TdxKeyAction::None;
        // The movement's selection rule applies: false for a move that stays in the row, turns
        // into expanding or collapsing, or finds nowhere to go.
        bool SelectionFollows = true;
        // Down on the last row.
        bool AtEdge = false;
    };

    void Apply(const TdxKeyMovement& movement);
    void RunAction(TdxKeyAction action, TdxTreeListNode* focused);
    // The one place a movement meets the list's rows, pages and columns.
    TTarget Resolve(const TdxKeyMovement& movement, TdxTreeListNode* focused) const;
    TTarget RowStep(TdxTreeListNode* focused, int rows) const;
    TTarget Line(TdxTreeListNode* focused, int direction) const;
    TTarget Column(TdxTreeListNode* focused, int direction, bool throughRows) const;
    TTarget TabStop(TdxTreeListNode* focused, int direction, bool throughRows) const;
    TTarget OutOfNode(TdxTreeListNode* focused) const;
    TTarget IntoNode(TdxTreeListNode* focused) const;
    // The column on the next line of the focused cell's band row (-1 on its last line).
    int ColumnOnNextLine(int direction) const;

    TCustomdxTreeListControl& FList;
};

} // namespace dxtl
