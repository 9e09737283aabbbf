// The tree list control: the columns' layout (dxTLLayoutList.h) placed in the client area, and
// what the user sees and does there: painting, scrolling, mouse and keyboard input, sorting;
// and the published TdxTreeList. The parts it owns are declared in dxTLControlParts.h; each
// section below names the file that implements it (the full table is in docs/ARCHITECTURE.md).
#pragma once

#include "framework/Layout.h"
#include "treelist/dxTLLayoutList.h"
#include "treelist/input/dxTLInput.h"

#include <memory>
#include <string>
#include <vector>

namespace dxtl {

class TdxTreeListPanning;
class TdxTreeListHeaderPanel;
class TdxHeaderPanelPainter;

// Resize limits of a column or band: the smallest width and how far right (client
// coordinates) its right edge may go.
struct TdxSizingBounds {
    int MinWidth = 0;
    int MaxRight = 0;
};

// A list whose nodes are TdxTreeListTextNode and keep their indexes and texts, shown in its
// window with its columns and bands.
class TCustomdxTreeListControl : public TCustomdxTreeListLayout {
public:
    explicit TCustomdxTreeListControl(fw::TComponent* owner);
    ~TCustomdxTreeListControl() override;

    TTLGetImageEvent OnGetImageIndex;
    TTLGetImageEvent OnGetSelectedIndex;
    TTLGetImageEvent OnGetStateIndex;
    TTLGetLevelColorEvent OnGetLevelColor;
    TTLIsExistFooterCellEvent OnIsExistFooterCell;
    TTLIsExistRowFooterCellEvent OnIsExistRowFooterCell;
    TTLGetFooterCellTextEvent OnGetFooterCellText;
    // Cell custom drawing (dxTLCustomDraw.cpp): OnCustomDraw, then OnCustomDrawCell, then the
    // cell column's OnCustomDrawCell, each seeing what the one before left, until one is done.
    TTLCustomDrawEvent OnCustomDraw;
    TdxTLCustomDrawCell OnCustomDrawCell;
    // Custom drawing of headers (before the column's own event, which is skipped once this one
    // sets done) and of band captions; the canvas's clip and font are restored after each.
    TdxTLCustomDrawHeader OnCustomDrawColumnHeader;
    TdxTLCustomDrawBand OnCustomDrawBand;
    // After LeftCoord changed and the view followed, unless the update lock is held.
    fw::TNotifyEvent OnChangeLeftCoord;

    // --- Horizontal scrolling (dxTLScrolling.cpp) ---------------------------------------------
    // The scrolling bands are moved left by this many pixels: 0 .. ContentWidth - ViewWidth.
    int LeftCoord() const { return FLeftCoord; }
    // Clamped; moves the window's pixels when less than a view width is scrolled over.
    void SetLeftCoord(int x);
    // The scrolling bands' total width, and the width of the view they scroll in.
    int ContentWidth() const;
    int ViewWidth() const;
    // Middle-button panning until another button, Escape or the loss of the capture or the
    // focus ends it (its own message loop).
    void StartPanning();
    bool Panning() const;

    // --- Mouse input (dxTLHitTest.cpp, dxTLMouse.cpp) --------------------------------------------
    // What lies under a point (client coordinates).
    TTreeListHitInfo HitTest(int x, int y) const;
    TdxTreeListNode* GetNodeAt(int x, int y) const { return HitTest(x, y).Node; }
    // The gesture in progress (isIdle when none) and what the last press, move or release hit.
    TdxInputState InputState() const;
    const TTreeListHitInfo& LastHit() const;
    // Ends a sizing or dragging gesture without applying it and unpushes pressed headers and
    // buttons; a row press goes on.
    void CancelInput();
    // The node under the mouse while hot tracking (aoHotTrack).
    TdxTreeListNode* HotTrackNode() const;
    // The mouse events the list raises itself, in their order.
    void HandleMouseDown(fw::TMouseButton button, fw::TShiftState shift, int x, int y);
    void HandleMouseMove(fw::TShiftState shift, int x, int y);
    void HandleMouseUp(fw::TMouseButton button, fw::TShiftState shift, int x, int y);
    void RaiseClick() { Click(); }
    void RaiseDblClick() { DblClick(); }

    TTLHotTrackEvent OnHotTrackNode;
    TdxTLBandEvent OnBandClick;
    TdxTLBandEvent OnStartBandDragging;
    TdxTLBandEvent OnHideBand;
    TdxTLCanBandDragging OnCanBandDragging;
    TdxTLDragEndBand OnDragEndBand;
    TdxTLCanHeaderDragging OnCanHeaderDragging;
    TdxTLColumnEvent OnStartHeaderDragging;
    TdxTLDragEndHeader OnDragEndHeader;
    fw::TNotifyEvent OnBandButtonClick;
    fw::TNotifyEvent OnHeaderButtonClick;

    // --- Keyboard input (dxTLKeyboard.cpp) ------------------------------------------------------
    // OnKeyDown, then the key table, inside one selection lock; a handler's 0 stops it.
    void HandleKeyDown(int& key, fw::TShiftState shift);
    // OnKeyPress, then "+", "-", "*" and Ctrl+C.
    void HandleKeyPress(char32_t& key);

    // --- Sorting (dxTLSorting.cpp) -------------------------------------------------------------
    TTLColumnClick OnColumnClick;
    TdxTreeListColumnSorting OnColumnSorting;
    TTLColumnSorted OnColumnSorted;
    // Replaces the comparison of texts when assigned: keys, directions and the order of
    // equal nodes are then the handler's.
    TdxTLCompareEvent OnCompare;
    // The columns that take part in sorting, in the order they were added; none is csNone.
    int SortedColumnCount() const;
    // None out of range.
    TdxTreeListColumn* SortedColumns(int index) const;
    // A click on the header of the column at `column` (its index in the column list): raises
    // OnColumnClick, then with aoAutoSort sorts by that column (SortByColumnClick). For this
    // call only, `multiSort` (Shift held; it counts with aoMultiSort) makes the column a further
    // sort key and `clearSort` (Ctrl held) takes it out of sorting.
    void ColumnClicked(int column, bool multiSort, bool clearSort);
    // OnColumnSorting may refuse; else the column becomes csNone with the clear flag, csDown
    // when it is csUp, and csUp otherwise.
    void SortByColumnClick(TdxTreeListColumn* column);
    // The column the nodes are ordered by: the first sorted one in column order; with
    // aoMultiSort the first of SortedColumns, which takes that column when it is empty.
    TdxTreeListColumn* GetSortColumn();
    // Orders every sibling list `depth` levels below the top (0: the top-level nodes; -1: all
    // of them, each list before its members' children) by the texts at `fieldIndex`. With
    // aoMultiSort and more than one sorted column, the sorted columns give the keys and
    // directions instead. OnCompare decides when assigned, else the locale's comparison with
    // aoAnsiSort, else the texts' bytes; equal keys keep the nodes in the order of their
    // addresses. Inside one update lock; a sibling list keeps its order when a handler raises.
    void SortNodes(int depth, int fieldIndex, bool descending);
    // With aoAutoSort: orders the nodes by the sort column, when there is one.
    virtual void Resort();
    // A node's key for the texts at `fieldIndex`: its text (empty when missing), upper-cased
    // by the locale with aoCaseInsensitive. Keys end at their first zero byte.
    virtual std::string GetNodeSortValue(TdxTreeListNode* node, int fieldIndex);
    // The sort state the header of the column at `column` shows: its Sorted, as OnColumnSorted
    // passes it.
    TdxTreeListColumnSort DisplayedSortState(int column);
    // A sort is running.
    bool Sorting() const;

    // --- Selection as text (dxTLSelectionText.cpp) ------------------------------------------
    // The captions of the visible columns, an empty line, then one line per selected node (the
    // focused one without aoMultiSelect) in tree order: texts separated by tabs, lines ended
    // by a carriage return and a line feed.
    std::string SelectionText();
    // Puts SelectionText on the clipboard.
    void CopySelectionToClipboard();

    // --- Columns ------------------------------------------------------------------------------
    // A new column of this list, owned by the list's owner as stored columns are.
    TdxTreeListColumn* CreateColumn();

    // --- The layout in the client area (dxTLClientRects.cpp) ----------------------------------
    // A band's caption cell and a column's header (empty when the column is not shown). The
    // cells of a column lie between its header's left and right.
    fw::TRect BandRect(int position) const;
    fw::TRect HeaderRect(int column) const;
    // Client x of a shown column's left edge; -1 when the column is not shown.
    int ColumnLeft(int column) const;
    // How far a column or band may be resized.
    TdxSizingBounds ColumnSizingBounds(int column) const;
    TdxSizingBounds BandSizingBounds(int position) const;

    // --- Painting (dxTLPaint.cpp) ---------------------------------------------------------
    // Whether the input focus is in the list's window or one of its descendants.
    bool HasInputFocus() const;
    // The column-list index of the focused visible column; -1 when no column is shown.
    int FocusedColumnIndex() const;
    // Nesting depth of paint passes in progress; 0 between passes.
    int PaintLockCount() const { return FPaintLockCount; }
    // Whether a cell of the column has a custom-draw event to raise.
    bool HasCustomDrawCell(const TdxTreeListColumn* column) const;
    // Text output of a cell, shared by the column painters: the cell filled and its text
    // placed as the view data asks.
    static void DrawEditText(fw::TCanvas& canvas, const fw::TRect& cell,
                             const TdxTreeListCellViewData& data);

protected:
    TdxTreeListNode* CreateNode() override;
    void DeleteColumnValue(TdxTreeListNode* node, int fieldIndex) override;
    void MoveColumnValue(TdxTreeListNode* node, int from, int to) override;
    int GetNodeImageIndex(TdxTreeListNode* node) override;
    int GetNodeSelectedIndex(TdxTreeListNode* node) override;
    int GetNodeStateIndex(TdxTreeListNode* node) override;
    TdxValue GetNodeVariant(TdxTreeListNode* node, int index) override;
    std::string GetNodeString(TdxTreeListNode* node, int index) override;
    int GetNodeStringCount(TdxTreeListNode* node) override;
    void SetNodeImageIndex(TdxTreeListNode* node, int index) override;
    void SetNodeSelectedIndex(TdxTreeListNode* node, int index) override;
    void SetNodeStateIndex(TdxTreeListNode* node, int index) override;
    void SetNodeString(TdxTreeListNode* node, int index, std::string_view text) override;
    void SetNodeVariant(TdxTreeListNode* node, int index, const TdxValue& value) override;

    void Loaded() override;
    void Resize() override;
    void SortOptionsChanged() override;
    bool SortingNodes() const override { return Sorting(); }
    // What the header panel draws pushed: the column whose header, and the band (collection
    // index) whose caption, is pushed (-1: none), and whether the corner buttons left of the
    // band and header panels are.
    int PaintPressedColumn() const;
    int PaintPressedBand() const;
    bool PaintBandButtonPressed() const;
    bool PaintHeaderButtonPressed() const;
    // Columns tell the list about edited values and validation.
    virtual void ColumnValueChanged(TdxTreeListColumn* column) { (void)column; }
    virtual void ColumnValidate(TdxTreeListColumn* column) { (void)column; }
    bool SettingUpEditor() const { return FSettingUpEditor; }

    // --- Painting (dxTLPaint.cpp) ---------------------------------------------------------
    // One paint pass over the whole client area (see dxTLPaint.cpp).
    void PaintControl(fw::TCanvas& canvas);
    // Paints one data cell. `cellKind`: 0 data cell, 2 new item row cell. `columnBrush` and
    // `brush` are colours: the canvas has no brush objects.
    virtual void DrawCell(fw::TCanvas& canvas, const fw::TRect& rect, fw::TColor columnBrush,
                          fw::TColor columnColor, bool rightEdge, bool leftEdge, int cellKind,
                          bool multiLine, fw::TColor brush, fw::TColor textColor,
                          fw::TColor backgroundColor, bool focusedCell, bool selected,
                          int columnIndex, TdxTreeListNode* node, fw::TBitmap* paintBitmap);
    // Raises the cell's custom-draw events (see OnCustomDraw) with the canvas font prepared by
    // DrawCell; `done` arrives false.
    virtual void DoCustomDrawCell(fw::TCanvas& canvas, const fw::TRect& rect, bool& done,
                                  fw::TAlignment& alignment, fw::TFont& font, fw::TColor& color,
                                  std::string& text, fw::TColor brush, bool rightEdge,
                                  bool leftEdge, bool newItemRow, bool focused, bool selected,
                                  int columnIndex, TdxTreeListNode* node);
    // Called around the painting of a node: before its indent area, before and after each cell.
    virtual void BeforePaintNode(TdxTreeListNode* node) { (void)node; }
    virtual void BeforePaintCell(TdxTreeListNode* node) { (void)node; }
    virtual void AfterPaintCell(TdxTreeListNode* node) { (void)node; }
    // The view data of the cell being painted (valid from BeforePaintCell to AfterPaintCell).
    const TdxTreeListCellViewData& CellViewData() const;
    // Marks drawn by inverting pixels (the sizing line) leave before the outermost paint pass
    // and come back after it.
    virtual void HideInteractionMarks();
    virtual void ShowInteractionMarks();
    // A header click (the press and release on one column header): the column-click
    // operation of sorting, with the multi-sort and clear-sort flags of the click.
    virtual void HeaderClicked(int column, bool multiSort, bool clearSort);
    // What the paint pass reads of hot tracking, the new item row and incremental search:
    // the hot-tracked node, whether the new item row is the active row, and how many bytes of
    // the focused cell's text a search has matched (0: none).
    virtual TdxTreeListNode* PaintHotTrackNode() const { return HotTrackNode(); }
    virtual bool PaintNewItemRowActive() const { return false; }
    virtual int PaintSearchMatchLength() const { return 0; }

    // Focus reads where a node's cell is.
    fw::TRect NodeCellRect(const TdxTreeListNode* node, int column) const override;
    // The border (dxTLPaintHeaders.cpp): bsSingle in the standard look is the platform's
    // sunken edge (Ctl3D) or plain border; in the flat looks a 1-pixel frame the list paints
    // after the platform's non-client painting.
    void CreateParams(fw::TWindowCreateArgs& args) override;
    void WMNCPaint(fw::TMessage& message);
    void CMFontChanged(fw::TMessage& message);
    void WMSetFocus(fw::TMessage& message);
    void WMKillFocus(fw::TMessage& message);
    // Scrolling (dxTLScrolling.cpp)
    void UpdateScrollBars() override;
    void ClampView() override;
    void BeginPaintLock() override;
    void EndPaintLock() override;
    void RowsMoved() override;
    void MakeColumnVisible(int column) override;
    void WMSize(fw::TMessage& message);
    // The layout built before the window had its client area is measured again, and the
    // window's scroll bars written once.
    void CreateHandle() override;
    void WMVScroll(fw::TMessage& message);
    void WMHScroll(fw::TMessage& message);
    void WMMouseWheel(fw::TMessage& message);
    void WMTimer(fw::TMessage& message);
    // Mouse input (dxTLMouse.cpp)
    void MouseDown(fw::TMouseButton button, fw::TShiftState shift, int x, int y) override;
    void MouseMove(fw::TShiftState shift, int x, int y) override;
    void MouseUp(fw::TMouseButton button, fw::TShiftState shift, int x, int y) override;
    void NodeGone(const TdxTreeListNode* node) override;
    void UpdateLockTaken() override;
    void WMButtonUp(fw::TMessage& message);
    void WMCaptureChanged(fw::TMessage& message);
    void WMCancelMode(fw::TMessage& message);
    void CMMouseEnter(fw::TMessage& message);
    void CMMouseLeave(fw::TMessage& message);
    // Keyboard input (dxTLKeyboard.cpp)
    void KeyDown(int& key, fw::TShiftState shift) override;
    void KeyPress(char32_t& key) override;
    void WMGetDlgCode(fw::TMessage& message);
    FW_DECLARE_MESSAGE_MAP()

private:
    // Where everything lies at one view position (dxTLGeometry.h).
    class TGeometry;
    // A paint pass in progress (dxTLPaintPass.h).
    struct TPaintPass;
    // DrawCell's work between the node hooks: view data, column font, text output.
    void PaintCellContent(fw::TCanvas& canvas, const fw::TRect& rect, fw::TColor columnBrush,
                          fw::TColor columnColor, bool rightEdge, bool leftEdge, int cellKind,
                          bool multiLine, fw::TColor brush, fw::TColor textColor,
                          fw::TColor backgroundColor, bool focusedCell, bool selected,
                          int columnIndex, TdxTreeListNode* node, fw::TBitmap* paintBitmap);
    // The incremental search's mark on the focused cell.
    void PaintSearchMatch(fw::TCanvas& canvas, const fw::TRect& cell,
                          const TdxTreeListCellViewData& data, int matchLength);
    // dxTLScrolling.cpp
    void ClientSizeChanged();
    void WriteScrollBar(int bar, const fw::TScrollInfo& info, bool visible);
    bool FitsWithoutScrollBars() const;
    int FPaintLockCount = 0;
    // The parts the list owns and the state only its own files read (dxTLControlParts.h).
    struct TParts;
    std::unique_ptr<TParts> FParts;
    // The band and header panels (dxTLHeaderPanel.h), and what their gestures end in: the
    // list's events (dxTLHeaderEvents.cpp).
    friend class TdxTreeListHeaderPanel;
    friend class TdxHeaderPanelPainter;
    class THeaderEvents;
    std::unique_ptr<TdxTreeListHeaderPanel> MakeHeaderPanel();
    // dxTLMouse.cpp
    void SetInputTimer(int direction, unsigned interval);
    void InputTimerTick();
    // Applies keys (dxTLKeyMover.h).
    class TKeyMover;
    friend class TdxTreeListColumn;
    friend class TdxTreeListBand;
    friend class TdxTreeListBands;
    static TdxTreeListTextNode& TextNode(TdxTreeListNode* node);

    // Columns (dxTLColumns.cpp)
    void AddColumn(TdxTreeListColumn* column);
    void RemoveColumn(TdxTreeListColumn* column);
    void MoveColumn(TdxTreeListColumn* column, int position);
    // Sorting (dxTLSorting.cpp)
    class TSorter;
    // Every column csNone and no sorted columns, without sorting or column notifications.
    void ResetSortState();
    // A column's Sorted written to `sorted`.
    void WriteColumnSorted(TdxTreeListColumn* column, TdxTreeListColumnSort sorted);
    // After loading: the stored sorted columns in their stored order.
    void LoadSortedColumns();
    // Where a stored layout keeps the column in SortedColumns: -1 unless it is one of several
    // sorted columns with aoMultiSort.
    int StoredSortedOrder(const TdxTreeListColumn* column) const;
    // False when a comparison handler freed the list.
    bool SortSiblingLists(int depth, const TSorter& sorter);
    void SettingChanged(TdxSettingEffect effect) override;
    // The window's frame for BorderStyle, LookAndFeel and Ctl3D; given to a live window.
    fw::TChildFrame ChildFrame() const;
    void ApplyFrame();

    int FLeftCoord = 0;
    bool FSettingUpEditor = false;
};

// The published tree list. Changes to the nodes ask for a re-sort (with aoAutoSortRefresh),
// which waits for the last EndUpdate while the update lock is held.
class TdxTreeList : public TCustomdxTreeListControl {
public:
    explicit TdxTreeList(fw::TComponent* owner);

    bool ResortPending() const { return FResortPending; }

protected:
    // The paint pass of TCustomdxTreeListControl.
    void Paint() override;
    void NodeAdded(TdxTreeListNode* node) override;
    void NodeDeleted(TdxTreeListNode* node, TdxTreeListNode* previous, TdxTreeListNode* next,
                     bool last, bool visible) override;
    void SetNodeString(TdxTreeListNode* node, int index, std::string_view text) override;
    void RunPendingResort() override;
    // With aoAutoSortRefresh: a re-sort now, or at the last EndUpdate while the update lock is
    // held. Nothing while clearing, while being destroyed or while a sort is running.
    void RequestResort();

private:
    // aoAutoSortRefresh, and neither clearing nor being destroyed.
    bool ResortWanted() const;
    bool FResortPending = false;
};

// TdxTreeList and TdxTreeListColumn for stored layouts: their published properties and events,
// the list's bands as a collection ("Bands = < item ... end >"), the node stream "Data"
// (hexadecimal digits, in one string or a list of strings) and the column's hidden
// "StoredRowIndex" and "SortedOrder". A column names its list with "TreeList"; Images and
// StateImages name an image list of the root.
void RegisterTreeList(fw::TPropertyRegistry& registry);

} // namespace dxtl
