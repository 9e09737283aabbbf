// The input state of a tree list: the one gesture in progress (shared by the mouse, the
// keyboard, the header panel and the rows' part) and what the last hit found. Internal to
// treelist/: the control keeps one (dxTLMouse.cpp runs it); the header panel keeps its presses,
// pushed looks and sizing line (dxTLHeaderPanel.h), the rows' gestures their own state
// (dxTLRowInput.h).
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
    bool EditorPending = false;
    // A release is being handled: the capture it gives back is no loss of capture.
    bool Releasing = false;

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
    }
    void ForgetNodes() { LastHit.Node = nullptr; }
};

} // namespace dxtl
