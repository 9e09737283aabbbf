// The header panel of a tree list: the band panel and the header rows under it, with the corner
// buttons over the indicator. It answers what lies under a point of the panels, runs the
// gestures that start there (presses of bands, headers and corner buttons, sizing by an edge,
// dragging bands and headers) with their pushed looks and the inverted sizing line, paints the
// panels (dxTLHeaderPaint.h), and reports what a gesture ended in to the list, which raises
// its events. Internal to treelist/: the control owns one.
//
// Call flow: HandleMouseDown -> Press; HandleMouseMove -> Move; HandleMouseUp -> Release;
// CancelInput (Escape, a right press, a lost capture) -> Cancel. Rectangles come from the
// list's geometry (TGeometry), never from a copy of their own.
#pragma once

#include "treelist/dxTLControl.h"

#include <memory>

namespace dxtl {

// What a header panel gesture ends in. Each call may free the list and the panel with it: the
// panel touches nothing of itself after a call unless the list's life token says it lives.
class IdxHeaderPanelEvents {
public:
    virtual ~IdxHeaderPanelEvents() = default;
    // A press and release on one band caption (collection index) or column header.
    virtual void BandClicked(int band) = 0;
    virtual void HeaderClicked(int column, bool multiSort, bool clearSort) = 0;
    // A press and release on the corner button left of the band panel or the header panel.
    virtual void CornerButtonClicked(bool bandButton) = 0;
    // A pressed band or column moved beyond the drag threshold: false keeps it pressed. Once
    // allowed, the gesture is a drag when DragStarted comes.
    virtual bool DragAllowed(bool band, int index) = 0;
    virtual void DragStarted(bool band, int index) = 0;
    // While a drag is beyond the rows' left (-1) or right (+1) edge the view follows; 0 stops.
    virtual void DragScroll(int direction) = 0;
    // A dragged band (collection index, from its visible position) let go over the band at
    // visible position `target` (-1: none); a dragged column over the header whose ColIndex
    // is `target` (-1: none of its band row).
    virtual void BandDropped(int band, fw::TPoint point, int from, int target) = 0;
    virtual void ColumnDropped(int column, fw::TPoint point, int target) = 0;
    // A sizing gesture applied: a column's width (target: its column-list index), a band's
    // width (target: its position), the band panel's or header panel's rows, the row height.
    virtual void Resized(TdxInputState kind, int target, int value) = 0;
    // A double click on a band's or column's sizing edge.
    virtual void EdgeDoubleClicked(bool band, int index) = 0;
};

class TdxTreeListHeaderPanel {
public:
    // `gesture` is the list's one gesture in progress, shared with the row input: the panel
    // starts and ends only its own gestures in it.
    TdxTreeListHeaderPanel(TCustomdxTreeListControl& list, TdxInputState& gesture,
                           std::unique_ptr<IdxHeaderPanelEvents> events);
    TdxTreeListHeaderPanel(const TdxTreeListHeaderPanel&) = delete;
    TdxTreeListHeaderPanel& operator=(const TdxTreeListHeaderPanel&) = delete;

    // How close to an edge a press starts sizing; rows share it in the indicator.
    static constexpr int kEdgeZone = 4;
    static bool NearEdge(int position, int edge) {
        return position >= edge - kEdgeZone && position < edge + kEdgeZone;
    }
    // A pressed header or band becomes a drag once the pointer moved this far.
    static constexpr int kDragThreshold = 5;

    // --- Hit test ------------------------------------------------------------------------------
    // Fills `hit` (Point set, Area haEmpty) for a point above the header panel's bottom.
    void HitTest(const TCustomdxTreeListControl::TGeometry& geometry, TTreeListHitInfo& hit) const;

    // --- Gestures --------------------------------------------------------------------------------
    // A left press while no gesture runs. Edges start sizing (a double click fits instead),
    // captions, headers and enabled corner buttons are pressed; a row's edge in the indicator
    // sizes rows with the same line. True when the press ends here without OnMouseDown.
    bool Press(const TTreeListHitInfo& hit, fw::TShiftState shift);
    // The pointer moved to `hit`: the sizing line follows, a press far enough becomes a drag, a
    // pushed look follows the pointer. False when a handler freed the list.
    bool Move(const TTreeListHitInfo& hit);
    // The button went up over `hit`: applies, clicks or drops the panel's gesture, if one runs.
    void Release(const TTreeListHitInfo& hit, fw::TShiftState shift);
    // Ends the panel's gesture without applying it, unpushes what is pushed.
    void Cancel();
    // Whether the gesture in progress is one of the panel's.
    bool Active() const;

    // --- Looks -----------------------------------------------------------------------------------
    // The band (collection index) and column drawn pushed (-1: none), and the corner buttons.
    int PushedBand() const { return FBandPushed ? FPressedBand : -1; }
    int PushedColumn() const { return FColumnPushed ? FPressedColumn : -1; }
    bool BandButtonPushed() const { return FCornerPushed && FGesture == isBandButtonPressed; }
    bool HeaderButtonPushed() const { return FCornerPushed && FGesture == isHeaderButtonPressed; }
    // The band and header panels of one paint pass.
    void Paint(TCustomdxTreeListControl::TPaintPass& pass) const;
    // The sizing line is inverted pixels: a paint pass takes it away before and puts it back
    // after.
    void HideMarks() const;
    void ShowMarks() const;
    // Where the sizing line is drawn; false while none is.
    bool SizingLine(int& position) const;

private:
    using TGeometry = TCustomdxTreeListControl::TGeometry;
    void HitBandPanel(const TGeometry& geometry, TTreeListHitInfo& hit) const;
    void HitHeaderPanel(const TGeometry& geometry, TTreeListHitInfo& hit) const;
    void PressCaption(TdxInputState state, const TTreeListHitInfo& hit);
    void PressCornerButton(bool band);
    void StartSizing(TdxInputState state, const TTreeListHitInfo& hit);
    void MoveSizingLine(int position);
    void InvertSizingLine() const;
    bool StartDragAfterThreshold(fw::TPoint point);
    void FollowPushedLooks(const TTreeListHitInfo& hit);
    void ApplySizing();
    void DropBand(fw::TPoint point);
    void DropColumn(fw::TPoint point);
    int BandDropTarget(fw::TPoint point) const;
    int ColumnDropTarget(int column, fw::TPoint point) const;

    TCustomdxTreeListControl& FList;
    TdxInputState& FGesture;
    std::unique_ptr<IdxHeaderPanelEvents> FEvents;
    fw::TPoint FPressPoint;
    // The band (collection index) or column (column-list index) pressed, and whether it is
    // drawn pushed now (only while the pointer is over it); a corner button drawn pushed.
    int FPressedBand = -1;
    bool FBandPushed = false;
    int FPressedColumn = -1;
    bool FColumnPushed = false;
    bool FCornerPushed = false;
    // Sizing: the element sized (column-list index or band position), where its left or top
    // edge is, the line's limits, and where the line is drawn (none while hidden).
    int FSizingTarget = -1;
    int FSizingStart = 0;
    int FSizingMin = 0;
    int FSizingMax = 0;
    int FSizingLine = 0;
    bool FSizingLineShown = false;
};

} // namespace dxtl
