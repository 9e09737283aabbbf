// The input state of a tree list: the one gesture in progress (shared by the mouse, the
// keyboard and the header panel, which keeps its own presses, pushed looks and sizing line)
// and what a row press found. Internal to treelist/: the control keeps one (dxTLMouse.cpp
// runs it).
#pragma once

#include "treelist/dxTLTypes.h"

namespace dxtl {

// The list's timer of row presses held outside the rows and of drags beyond an edge.
constexpr unsigned kInputTimerId = 1;

// One gesture at a time; isIdle when none is in progress.
enum TdxInputState {
    isIdle = 0,
    isColumnSizing = 1,
    isEditing = 2,
    isColumnDragging = 3,
    isColumnPressed = 4,
    isNodeDragging = 5,
    isRowPressed = 6,
    isHeaderButtonPressed = 7,
    isBandSizing = 8,
    isBandDragging = 9,
    isBandPressed = 10,
    isBandButtonPressed = 11,
    isBandPanelSizing = 12,
    isHeaderPanelSizing = 13,
    isRowSizing = 14,
    isDropDownPressed = 15,
    isStatusClosePressed = 16
};

struct TdxTreeListInput {
    TdxInputState State = isIdle;
    // What the last press, move or release found under the pointer.
    TTreeListHitInfo LastHit;
    fw::TPoint PressPoint;
    // The focused node before the press, and the node a row press began on.
    TdxTreeListNode* PressedNode = nullptr;
    TdxTreeListNode* DragNode = nullptr;
    // The node under the mouse while hot tracking.
    TdxTreeListNode* HotNode = nullptr;
    // The press left the selection to be reduced to the clicked row at the release.
    bool DeferredSelect = false;
    bool CtrlPress = false;
    bool EditorPending = false;
    // Which way timer 1 moves the focus or the view: -1, 0 or +1.
    int TimerDirection = 0;
    // A release is being handled: the capture it gives back is no loss of capture.
    bool Releasing = false;
    // A row press is selecting: the update locks it takes leave the press alone.
    bool InRowPress = false;

    bool Sizing() const {
        return State == isColumnSizing || State == isBandSizing || State == isBandPanelSizing ||
               State == isHeaderPanelSizing || State == isRowSizing;
    }
    bool Dragging() const {
        return State == isColumnDragging || State == isBandDragging || State == isNodeDragging;
    }
    // A node that goes leaves no reference here.
    void ForgetNode(const TdxTreeListNode* node) {
        if (LastHit.Node == node)
            LastHit.Node = nullptr;
        if (PressedNode == node)
            PressedNode = nullptr;
        if (DragNode == node)
            DragNode = nullptr;
        if (HotNode == node)
            HotNode = nullptr;
    }
    void ForgetNodes() {
        LastHit.Node = nullptr;
        PressedNode = DragNode = HotNode = nullptr;
    }
};

} // namespace dxtl
