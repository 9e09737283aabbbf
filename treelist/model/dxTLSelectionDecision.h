// The selection a gesture leaves, decided on a copy before anything of the list changes; the
// list then commits the result in one step (TCustomdxTreeList::CommitSelection), which repaints
// the rows that changed and tells OnSelectedCountChange once. Internal to treelist/.
//
// Use: take a decision from the list (TCustomdxTreeList::DecideSelection), apply a rule to it
// (ForKey for a key's movement, ForPress for a row press, Alone for a deferred press's release,
// or the single steps), then commit it.
// Check the list's life token first: the filter's handler may have freed the list (then
// Stopped() answers true as well).
#pragma once

#include "treelist/input/dxTLKeyMovement.h"
#include "treelist/model/dxTLSelection.h"

namespace dxtl {

// OnCanNodeSelected's answer. A handler that freed nodes or the list stops the decision: what
// it collected may name freed nodes.
enum class TdxHandlerVerdict { Allows, Refuses, FreedNodes, FreedList };

// What a decision asks of the list: the shown rows and the selection filter's handler.
class TdxSelectionRows {
public:
    // The node's visible row; -1 when it is not shown.
    virtual int RowOfNode(const TdxTreeListNode* node) const = 0;
    // The next shown row; none after the last.
    virtual TdxTreeListNode* RowAfter(const TdxTreeListNode* node) const = 0;
    // The node when shown, else its nearest shown ancestor; none for none or a node of another
    // list.
    virtual TdxTreeListNode* ShownRowOf(TdxTreeListNode* node) const = 0;
    // Nothing of the list may be touched after FreedList.
    virtual TdxHandlerVerdict AskHandler(TdxTreeListNode* node) = 0;

protected:
    ~TdxSelectionRows() = default;
};

// What a key's selection rule needs to know of the move.
struct TdxKeySelection {
    TdxSelectionFollow Follow = TdxSelectionFollow::Keep;
    // -1 up, +1 down (Step and ShiftStep).
    int Direction = 0;
    TdxTreeListNode* Focused = nullptr;
    // Where the focus arrives: the focused node when it stays.
    TdxTreeListNode* Target = nullptr;
    // The focus is on the row the move cannot pass (Down on the last row).
    bool AtEdge = false;
    bool EndsShiftRun = false;
    bool KeepsARowSelected = false;
};

class TdxSelectionDecision {
public:
    // Starts from `current`; without `multiSelect` no node is added or removed (the focused
    // node is the selection then); without `extMultiSelect` the selected nodes share a parent.
    TdxSelectionDecision(TdxSelectionRows& rows, const TdxTreeListSelection& current,
                         bool multiSelect, bool extMultiSelect);

    // --- Rules -------------------------------------------------------------------------------
    // The selection after a key (see TdxSelectionFollow).
    void ForKey(const TdxKeySelection& request);
    // A press on `pressed` (focused by it) while `focusedBefore` had the focus: Ctrl toggles the
    // row and anchors there; Shift selects the range from the anchor (from `focusedBefore`,
    // which becomes the anchor, when there is none) alone; Ctrl+Shift adds the range from
    // `focusedBefore`; a plain press selects the row alone. A plain press on a selected row
    // changes nothing and answers true: its release selects the row alone (Alone).
    bool ForPress(TdxTreeListNode* focusedBefore, TdxTreeListNode* pressed, bool shift, bool ctrl);
    // The node alone, and the anchor of later Shift ranges.
    void Alone(TdxTreeListNode* node);

    // --- Steps (each does nothing once the decision stopped) --------------------------------
    // Adds the node when the filter allows it.
    void Select(TdxTreeListNode* node);
    void Deselect(TdxTreeListNode* node);
    // Selects a node that is not selected and deselects one that is.
    void Toggle(TdxTreeListNode* node);
    // Every node goes; a Shift run ends with a selection that was not empty.
    void Clear();
    // Adds every row from `a` to `b` (either order) that the filter allows; a node that is
    // not shown stands for its nearest shown ancestor.
    void SelectRange(TdxTreeListNode* a, TdxTreeListNode* b);
    void SetAnchor(TdxTreeListNode* node) { FDecided.Anchor = node; }
    void SetExtending(bool extending) { FDecided.Extending = extending; }

    // --- Result ------------------------------------------------------------------------------
    const TdxTreeListSelection& Result() const { return FDecided; }
    bool IsSelected(const TdxTreeListNode* node) const { return FDecided.Contains(node); }
    // The filter's handler freed nodes or the list: nothing may be committed.
    bool Stopped() const { return FStopped; }

private:
    // The filter: OnCanNodeSelected, then the shared parent without aoExtMultiSelect.
    bool Allows(TdxTreeListNode* node);
    // The sign of the node's row minus the anchor's.
    int CompareWithAnchor(const TdxTreeListNode* node) const;
    void ShiftStep(const TdxKeySelection& request);
    void StartShiftRun(const TdxKeySelection& request);

    TdxSelectionRows& FRows;
    TdxTreeListSelection FDecided;
    bool FMultiSelect;
    bool FExtMultiSelect;
    bool FStopped = false;
};

} // namespace dxtl
