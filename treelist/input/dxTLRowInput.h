// The rows' share of a tree list's mouse input: a press on a row (the focus first, then the
// selection its modifiers ask for), the drag select while the button is held, the input timer
// that keeps stepping while the pointer is held beyond an edge, and the hot-tracked row.
//
// The control decides who gets a gesture (dxTLMouse.cpp) and hands the rows' gestures here.
// The gesture in progress is the list's one input state, shared with the headers and the
// keyboard: this part sets isRowPressed in it and ends it, and reads it for everything else.
// It acts on the list through the list's public interface only, as a program using the list
// would. Any call that raises an event may free the list: each step checks the life token.
#pragma once

#include "treelist/input/dxTLInput.h"

namespace dxtl {

class TCustomdxTreeListControl;

class TdxTreeListRowInput {
public:
    // `state` is the list's gesture in progress.
    TdxTreeListRowInput(TCustomdxTreeListControl& list, TdxInputState& state)
        : FList(list), FState(state) {}
    TdxTreeListRowInput(const TdxTreeListRowInput&) = delete;
    TdxTreeListRowInput& operator=(const TdxTreeListRowInput&) = delete;

    // A press on a row area or on the indicator; `column` is the visible column pressed (-1:
    // the focused column stays). A left press on a row area holds isRowPressed until the
    // release. True when a Ctrl or Shift press ended with the selection it made.
    bool Press(const TTreeListHitInfo& hit, int column, fw::TMouseButton button,
               fw::TShiftState shift);
    // A plain left press on a selected row leaves the selection until the release, which
    // reduces it to the focused row; a new press or the loss of the capture forgets that.
    bool DeferredSelect() const { return FDeferredSelect; }
    void ForgetDeferredSelect() { FDeferredSelect = false; }
    void ApplyDeferredSelect();
    // The pointer moved to `y` with a row press held; `node` is the row under it. Above or
    // below the rows area the focus steps that way (and goes on stepping on the timer); inside
    // it the row under the pointer becomes focused and alone selected.
    void PressMoved(int y, TdxTreeListNode* node);
    // A pending row press ends without a click (the list lost the focus).
    void DropPress();
    // An update lock taken from outside drops a row press, not one the press takes itself.
    void UpdateLockTaken();

    // The input timer: which way it moves the focus or the view (-1, 0: stopped, +1). A
    // direction already set leaves the running timer alone.
    int TimerDirection() const { return FTimerDirection; }
    void SetTimer(int direction, unsigned interval);
    // A tick with a row press held beyond an edge steps the focus a row; false when the tick
    // is not the rows' (the selection stays as it is).
    bool TimerTick();

    // The row under the mouse while hot tracking; a change repaints both rows and raises
    // OnHotTrackNode.
    TdxTreeListNode* HotNode() const { return FHotNode; }
    void Track(TdxTreeListNode* node);

    // A node that goes leaves no reference here.
    void ForgetNode(const TdxTreeListNode* node);
    void ForgetNodes();

private:
    bool SelectOnPress(TdxTreeListNode* focused, fw::TMouseButton button, fw::TShiftState shift);
    void SelectAlone(TdxTreeListNode* node);
    bool MultiSelect() const;
    bool DragSelects() const;

    TCustomdxTreeListControl& FList;
    TdxInputState& FState;
    // The focused node before the press: where a Shift range begins without an anchor.
    TdxTreeListNode* FPressedNode = nullptr;
    TdxTreeListNode* FHotNode = nullptr;
    bool FDeferredSelect = false;
    // A press is selecting: the update locks it takes leave the press alone.
    bool FInRowPress = false;
    int FTimerDirection = 0;
};

} // namespace dxtl
