// The input state of a tree list: the one gesture in progress (shared by the mouse and the
// keyboard), what its press found, the pushed looks and the sizing line. Internal to
// treelist/: the control keeps one (dxTLMouse.cpp runs it); the rows' gestures keep their own
// state in their part (dxTLRowInput.h).
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
    // The band (collection index) or column (column-list index) pressed, and whether it is
    // drawn pushed now (only while the pointer is over it).
    int PressedBand = -1;
    bool BandPushed = false;
    int PressedColumn = -1;
    bool ColumnPushed = false;
    // A corner button (band or header) drawn pushed.
    bool CornerPushed = false;
    bool EditorPending = false;
    // Sizing: the element sized (column-list index or band position), where its left or top
    // edge is, the line's limits, and where the line is drawn (none while hidden).
    int SizingTarget = -1;
    int SizingStart = 0;
    int SizingMin = 0;
    int SizingMax = 0;
    int SizingLine = 0;
    bool SizingLineShown = false;
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
