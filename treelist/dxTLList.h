// The list of nodes: adding, clearing, the update lock, the row index, the node stream and the
// hooks through which nodes reach their list.
#pragma once

#include "treelist/dxTLNode.h"
#include "treelist/dxTLScopes.h"
#include "treelist/layout/dxTLScrollState.h"
#include "treelist/model/dxTLNodePool.h"
#include "treelist/model/dxTLRowIndex.h"
#include "treelist/model/dxTLSelection.h"
#include "treelist/model/dxTLSelectionDecision.h"
#include "treelist/model/dxTLTreeSummary.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace dxtl {

enum TdxNodeStreamFormat {
    // A -1 marker, 32-bit string lengths.
    nsfCurrent,
    // No marker, one-byte string lengths (texts up to 255 bytes).
    nsfOlder
};

class TCustomdxTreeList : public fw::TCustomControl, private TdxSelectionRows {
public:
    explicit TCustomdxTreeList(fw::TComponent* owner);
    ~TCustomdxTreeList() override;

    // Appends a top-level node. The first node of an empty list becomes its top row and its
    // focused node, without a focus event.
    TdxTreeListNode* AddNode();
    // Frees every node (OnDeletion for each, children first). Flags and the update lock are
    // restored even when a handler raises; the exception then propagates.
    void ClearNodes();
    int NodeCount() const { return static_cast<int>(FNodes.size()); }
    // None when out of range.
    TdxTreeListNode* NodeAt(int index) const;

    TdxTreeListNode* FocusedNode() const { return FFocusedNode; }
    TdxTreeListNode* TopVisibleNode() const { return FTopVisibleNode; }

    // Nest; while held, repaints, row-index updates and layout work wait for the last
    // EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    int UpdateLockCount() const { return FLockUpdate; }

    int AbsoluteCount() const;
    TdxTreeListNode* NodeAtAbsoluteIndex(int row) const;
    TdxTreeListNode* LastRowNode() const;

    // --- Vertical scrolling (dxTLScrolling.cpp) ------------------------------------------------
    // Expands the collapsed ancestors and scrolls the node's row wholly into view.
    void MakeVisible(TdxTreeListNode* node);
    // The top row's visible row index; -1 without rows.
    int TopRow() const;
    // Scrolls so that the row is on top, clamped so that the last page stays full; moves the
    // window's pixels when less than a page is scrolled over. The focus does not move.
    void SetTopRow(int row);
    // Rows that fit wholly into the rows area (at the end of the list: a full page), and rows
    // at least partly shown; both at least 1, as the last UpdateScrollBars counted them.
    int PageRowCount() const { return FScroll.PageRowCount; }
    int ShownRowCount() const { return FScroll.ShownRowCount; }
    // The keyboard's page move of the focus: -1 up, +1 down.
    void PageMove(int direction);
    // The row PageMove hands to FocusRow.
    int PageMoveRow(int direction) const;
    // The node's row from the client's left edge to the data area's right; empty when the row
    // does not start inside the data area.
    virtual fw::TRect NodeRowRect(const TdxTreeListNode* node) const;

    // Repaints the node's row, or with `fromRowDownward` everything from it to the bottom.
    virtual void NodeChanged(TdxTreeListNode* node, bool fromRowDownward);

    // The stored node stream (property "Data"). Reading replaces every node; a malformed
    // stream raises EdxTreeListStreamError and leaves the list empty.
    void ReadData(std::string_view bytes);
    // The older format raises EInvaliddxTreeListOperation for a text over 255 bytes.
    std::string WriteData(TdxNodeStreamFormat format = nsfCurrent);

    // --- Focus (dxTLFocus.cpp) ------------------------------------------------------------
    // The focused column, an index among the visible columns in display order: 0 in
    // row-select mode, else the stored one while it names a visible column, else 0.
    int FocusedColumn() const;
    // As last written: -1 until then.
    int StoredFocusedColumn() const { return FFocusedColumn; }
    // Focuses that column of the focused node (ChangeFocus).
    void SetFocusedColumn(int column);
    // The one road by which the focus moves. Raises OnChangeNode when the node changed, then
    // OnChangeColumn when the effective column changed; with `makeVisible` the focused row is
    // scrolled into view. Under the update lock it only stores. Nothing for none.
    void ChangeFocus(TdxTreeListNode* node, int column, bool makeVisible);
    // Focuses the node of a visible row, clamped to the shown rows; an absent focus counts
    // as row 0.
    void FocusRow(int row);
    // The node FocusRow(row) focuses; none when the focus would stay.
    TdxTreeListNode* FocusRowTarget(int row) const;

    // --- Selection (dxTLSelection.cpp) -----------------------------------------------------
    // With aoMultiSelect membership of the selected nodes, else whether it is focused.
    bool IsNodeSelected(const TdxTreeListNode* node) const;
    // Adds (when CanSelectNode allows) or removes the node, repaints its row and raises
    // OnSelectedCountChange unless the selection lock is held. Nothing without aoMultiSelect.
    void SetNodeSelected(TdxTreeListNode* node, bool selected);
    // OnCanNodeSelected; without aoExtMultiSelect the selected nodes share one parent.
    bool CanSelectNode(TdxTreeListNode* node);
    void ClearSelection();
    // Adds every selectable shown row from `a` to `b` (either order) to the selection; a node
    // that is not shown stands for its nearest shown ancestor.
    void SelectRange(TdxTreeListNode* a, TdxTreeListNode* b);
    int SelectedCount() const { return FSelection.Count(); }
    // In identity order; none outside 0 .. SelectedCount() - 1.
    TdxTreeListNode* SelectedNodes(int index) const { return FSelection.At(index); }
    TdxTreeListNode* SelectionAnchor() const { return FSelection.Anchor; }
    void SetSelectionAnchor(TdxTreeListNode* node) { FSelection.Anchor = node; }
    // The sign of the node's visible row minus the anchor's.
    int CompareWithAnchor(const TdxTreeListNode* node) const;
    // A run of Shift+arrow keys extending one range.
    bool SelectionExtending() const { return FSelection.Extending; }
    void SetSelectionExtending(bool extending) { FSelection.Extending = extending; }
    // A decision on a copy of the selection (see dxTLSelectionDecision.h), and its commit in one
    // step: the rows that changed repaint and, unless the selection lock is held,
    // OnSelectedCountChange tells when the count changed. A stopped decision commits nothing
    // and answers false.
    TdxSelectionDecision DecideSelection();
    bool CommitSelection(const TdxSelectionDecision& decision);
    // The selection lock: one OnSelectedCountChange at the end, when the count changed.
    void BeginSelection() { FSelection.Lock(); }
    void EndSelection();
    // Runs `work` inside the selection lock, which is given back also when `work` raises,
    // unless a handler freed the list meanwhile. True when the list is still there.
    template <class Work> bool UnderSelectionLock(Work&& work) {
        const fw::TLifeToken alive = LifeToken();
        {
            const TSelectionLock lock(*this);
            work();
        }
        return alive.Alive();
    }
    // Repaints the focused row and the selected ones (all at once above 10).
    void InvalidateSelection();
    // Frees every selected node.
    void DeleteSelection();

    TTLExpandedEvent OnDeletion;
    TTLExpandingEvent OnExpanding;
    TTLExpandingEvent OnCollapsing;
    TTLExpandedEvent OnExpanded;
    TTLExpandedEvent OnCollapsed;
    TTLChangeNodeEvent OnChangeNode;
    TTLChangeColumnEvent OnChangeColumn;
    fw::TNotifyEvent OnChangeTopVisibleNode;
    TdxTLCanNodeSelected OnCanNodeSelected;
    fw::TNotifyEvent OnSelectedCountChange;

protected:
    void BeforeDestruction() override;
    // The list, or the owner that will free it, is being destroyed: nothing is recalculated,
    // repainted or reported any more.
    bool ListDestroying() const {
        return FDestroying || IsDestroying() || (Owner() && Owner()->IsDestroying());
    }
    bool Clearing() const { return FClearing; }
    // While this answers true (a sort is reordering sibling lists), adding, clearing and
    // freeing nodes raise EInvaliddxTreeListOperation: a handler called by the sort must not
    // take nodes out from under it.
    virtual bool SortingNodes() const { return false; }
    // The children of `parent`, or the top-level nodes for none; empty for a leaf.
    std::span<TdxTreeListNode* const> Siblings(const TdxTreeListNode* parent) const;
    // Puts `parent`'s children (the top-level nodes for none) into the order of `order`, which
    // holds exactly the same nodes, in one pass. The row index is left to the caller's update
    // lock.
    void ReorderSiblings(TdxTreeListNode* parent, std::span<TdxTreeListNode* const> order);

    // --- Hooks through which nodes reach the list ---------------------------------------
    // Makes a node owned by this list. Overrides make it with NewNode (in the list's node
    // pool) or with new; the list frees either kind.
    virtual TdxTreeListNode* CreateNode() = 0;
    // A node of class TNode, constructed with this list as its owner, in the list's node pool.
    template <class TNode> TNode* NewNode() {
        static_assert(std::is_base_of_v<TdxTreeListNode, TNode>);
        if constexpr (alignof(TNode) > __STDCPP_DEFAULT_NEW_ALIGNMENT__) {
            return new TNode(this);
        } else {
            void* memory = FNodePool.Allocate(sizeof(TNode), alignof(TNode));
            try {
                return ::new (memory) TNode(this);
            } catch (...) {
                FNodePool.Release(memory);
                throw;
            }
        }
    }
    virtual void NodeAdded(TdxTreeListNode* node);
    virtual bool NodeHasChildren(const TdxTreeListNode* node) const;
    virtual void ClearRowIndex();
    virtual void ClearRowHeights();
    virtual void DoCollapsed(TdxTreeListNode* node);
    virtual void DoExpanded(TdxTreeListNode* node);
    virtual void DoCollapsing(TdxTreeListNode* node, bool& allow);
    virtual void DoExpanding(TdxTreeListNode* node, bool& allow);
    virtual void NodeDeleted(TdxTreeListNode* node, TdxTreeListNode* previous,
                             TdxTreeListNode* next, bool last, bool visible);
    // Removes text `fieldIndex` from the node and every descendant.
    virtual void DeleteColumnValue(TdxTreeListNode* node, int fieldIndex) = 0;
    // Moves text `from` to index `to` in the node and every descendant; the texts between
    // shift by one, as the columns do.
    virtual void MoveColumnValue(TdxTreeListNode* node, int from, int to) = 0;
    virtual void LayoutChanged();
    virtual void RebuildRowIndex();
    virtual bool FocusNodeBeforeCollapse(TdxTreeListNode* node);
    virtual bool CanSetNodeData(TdxTreeListNode* node);
    virtual int GetNodeImageIndex(TdxTreeListNode* node) = 0;
    virtual int GetNodeSelectedIndex(TdxTreeListNode* node) = 0;
    virtual int GetNodeStateIndex(TdxTreeListNode* node) = 0;
    virtual TdxValue GetNodeVariant(TdxTreeListNode* node, int index) = 0;
    virtual std::string GetNodeString(TdxTreeListNode* node, int index) = 0;
    // Entries of the node's texts (what the node stream stores).
    virtual int GetNodeStringCount(TdxTreeListNode* node) = 0;
    virtual void SetNodeImageIndex(TdxTreeListNode* node, int index) = 0;
    virtual void SetNodeSelectedIndex(TdxTreeListNode* node, int index) = 0;
    virtual void SetNodeStateIndex(TdxTreeListNode* node, int index) = 0;
    virtual void SetNodeString(TdxTreeListNode* node, int index, std::string_view text) = 0;
    virtual void SetNodeVariant(TdxTreeListNode* node, int index, const TdxValue& value) = 0;

    // --- Hooks that the layout, options, columns, editing and scrolling fill -------------
    // The layout recalculation (run by LayoutChanged); here it rebuilds the row index and
    // repaints.
    virtual void RecalcLayout();
    // What focus and selection ask of the options and the visible columns.
    virtual bool MultiSelect() const { return false; }
    virtual bool ExtMultiSelect() const { return false; }
    virtual bool RowSelectMode() const { return true; }
    virtual int VisibleColumnCount() const { return 0; }
    // The cell of a node's row in a visible column (empty when not in view); here the row.
    virtual fw::TRect NodeCellRect(const TdxTreeListNode* node, int column) const;
    // Scrolls a visible column into view.
    virtual void MakeColumnVisible(int column) { (void)column; }
    // The input focus arrived or left: the focused and selected rows change colour.
    void FocusGained();
    void FocusLost();
    // Ends in-place editing: forgets the edited node and column and closes the editor.
    virtual void CancelEditing();
    virtual void CloseEditor() {}
    // After the layout recalculation, outside the update lock: the scroll bars, the view kept
    // in range, a repaint.
    virtual void LayoutApplied();
    // The top row, and the rows' geometry: rows are stacked from the top row down the data
    // area, each NodeHeight high (StackRows). Here the data area is the client area and every
    // row is one RowHeight high; the layout of TCustomdxTreeListControl computes both.
    // Assigning the top row raises OnChangeTopVisibleNode.
    void SetTopVisibleNode(TdxTreeListNode* node);
    virtual fw::TRect DataAreaRect() const;
    virtual int RowHeight() const { return kPlainRowHeight; }
    virtual int NodeHeight(const TdxTreeListNode* node) const;
    // Counts the rows of the rows area (PageRowCount, ShownRowCount) and writes the scroll
    // bars; here only the counts.
    virtual void UpdateScrollBars();
    // Keeps the view in range after the rows or the area changed: no empty space below the
    // last row while rows are hidden above.
    virtual void ClampView();
    // Nesting counter around moving the window's pixels: marks drawn by inverting pixels leave
    // first and come back after.
    friend class TPaintLock;
    virtual void BeginPaintLock() {}
    virtual void EndPaintLock() {}
    // The rows' pixels moved; what cannot move with them (a dot pattern fixed to the
    // surface) is repainted here.
    virtual void RowsMoved() {}
    // The rows that fit from the row `top` down the rows area: wholly (page) and at least
    // partly (shown); when the rows run out first, rows above `top` fill the page.
    void CountRows(TdxTreeListNode* top, int& page, int& shown) const;
    TdxScrollState& ScrollState() { return FScroll; }

    // The one walk over the shown rows as the view stacks them: from `first` (none: no rows)
    // down from y = `top`, place(node, rowTop) for each row that starts above `bottom`. place
    // answers the row's height (NodeHeight) to go on below it, or a negative number to stop
    // there: a row is measured only by a visitor that needs its height. Answers the first row
    // not placed (none when the rows ran out) and, in `end`, the y under the last row placed.
    template <class TPlace>
    TdxTreeListNode* StackRows(TdxTreeListNode* first, int top, int bottom, TPlace&& place,
                               long long* end = nullptr) const {
        long long y = top;
        TdxTreeListNode* node = first;
        for (; node && y < bottom; node = node->GetNextRow()) {
            const int height = place(node, static_cast<int>(y));
            if (height < 0)
                break;
            y += height;
        }
        if (end)
            *end = y;
        return node;
    }
    // The row the view starts with: the top row, else the first shown row.
    TdxTreeListNode* FirstViewRow() const;

    TdxTreeListNode* EditingNode() const { return FEditingNode; }
    int EditingColumn() const { return FEditingColumn; }
    // A node is being freed (none: all of them): references kept beyond the base list's own
    // let go of it.
    virtual void NodeGone(const TdxTreeListNode* node) { (void)node; }
    // BeginUpdate was called (an input gesture may have to end).
    virtual void UpdateLockTaken() {}

private:
    // Rows of a list without a layout.
    static constexpr int kPlainRowHeight = 16;
    // Top of the node's row in the data area, walking down from the top row; false when the
    // row is above the top row or starts at or below the area's bottom.
    bool RowTop(const TdxTreeListNode* node, const fw::TRect& area, int& top) const;

    friend class TdxTreeListNode;
    using TNodeList = TdxTreeListNode::TNodeList;

    void CheckTreeCanChange(const char* operation) const;
    void CheckCanFree(const TdxTreeListNode* node) const;
    TdxTreeListNode* CreateOwnedNode();
    TdxTreeListNode* InsertChildNode(TdxTreeListNode* parent, TdxTreeListNode* before);
    void FreeSubtree(TdxTreeListNode* root);
    void DestroyNode(TdxTreeListNode* node);
    // Destroys a node that is out of the tree and gives its memory back.
    void DisposeNode(TdxTreeListNode* node) noexcept;
    void FreeAllQuietly();
    void ForgetNodeReferences();
    void SetNodeExpanded(TdxTreeListNode* node, bool expanded);

    // Row index
    bool RowIndexUsable() const;
    // Builds the index when it is empty and can be kept in step from here on.
    bool EnsureRowIndex() const;
    void BuildRowIndex() const;
    std::vector<TdxTreeListNode*> DisplayedRows() const;
    // Every node (or every shown one) depth first in display order; dxTLRowIndex.cpp only.
    template <class TVisit> void WalkNodes(bool expandedOnly, TVisit&& visit) const;
    int RowOf(const TdxTreeListNode* node) const;
    TdxTreeListNode* NextRowOf(const TdxTreeListNode* node) const;
    TdxTreeListNode* PrevRowOf(const TdxTreeListNode* node) const;
    void UpdateRowIndexFor(TdxTreeListNode* node, bool wasVisible, bool last, bool removing);
    void ClearLastChildHeight(TdxTreeListNode* node, bool removing);

    // dxTLScrolling.cpp: moves the rows area's pixels (with the indicator) by `distance`.
    void ScrollRows(int distance);
    // The row brought into range as a top row: at most the top of the page that ends at the
    // last row; -1 without rows.
    int ClampedTopRow(int row) const;
    // Scrolls the node's shown row wholly into view (with `always`, also re-applies the rule
    // when it is in view).
    void ScrollIntoView(TdxTreeListNode* node, bool always);
    // dxTLFocus.cpp
    void FinishFocusChange(TdxTreeListNode* oldNode, int oldColumn, bool makeVisible);
    // dxTLSelection.cpp
    void SelectionCountChanged();
    // What a selection decision asks of the list.
    int RowOfNode(const TdxTreeListNode* node) const override;
    TdxTreeListNode* RowAfter(const TdxTreeListNode* node) const override;
    TdxTreeListNode* ShownRowOf(TdxTreeListNode* node) const override;
    TdxHandlerVerdict AskHandler(TdxTreeListNode* node) override;
    // The node itself when shown, else its nearest shown ancestor.
    TdxTreeListNode* ShownNodeOf(TdxTreeListNode* node) const;

    // Declared first: everything below may refer to nodes, which live here.
    TdxNodePool FNodePool;
    TNodeList FNodes;
    int FLockUpdate = 0;
    TdxTreeListNode* FFocusedNode = nullptr;
    int FFocusedColumn = -1;
    TdxTreeListSelection FSelection;
    // Nodes given back so far: the selection filter's handler may free some.
    std::uint64_t FNodesFreed = 0;
    TdxScrollState FScroll;
    mutable TdxTreeListRowIndex FRowIndex{FNodePool};
    TdxTreeSummary FTreeSummary;
    struct TPendingUpdate {
        TdxTreeListNode* Node = nullptr;
        bool WasVisible = false;
        bool Removing = false;
        bool WasLast = false;
    } FPending;
    // Whether the node now being freed was displayed (set before NodeDeleted runs).
    bool FPendingWasVisible = false;
    TdxTreeListNode* FTopVisibleNode = nullptr;
    TdxTreeListNode* FEditingNode = nullptr;
    int FEditingColumn = -1;
    bool FClearing = false;
    bool FDestroying = false;
    // Roots of the frees in progress (a deletion handler may start another).
    std::vector<TdxTreeListNode*> FFreeing;
    // The neighbours each deletion in progress will move references to. A node freed by a
    // deletion handler is replaced in them by its own neighbours, so none is left dangling.
    struct TNeighbours {
        TdxTreeListNode* Node;
        TdxTreeListNode* Previous;
        TdxTreeListNode* Next;
    };
    std::vector<TNeighbours*> FNeighbours;
};

} // namespace dxtl
