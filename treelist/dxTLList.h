// The list of nodes: adding, clearing, the update lock, the row index, the node stream and the
// hooks through which nodes reach their list.
#pragma once

#include "treelist/dxTLNode.h"
#include "treelist/dxTLRowIndex.h"

#include <string>
#include <string_view>
#include <vector>

namespace dxtl {

enum TdxNodeStreamFormat {
    // A -1 marker, 32-bit string lengths.
    nsfCurrent,
    // No marker, one-byte string lengths (texts up to 255 bytes).
    nsfOlder
};

class TCustomdxTreeList : public fw::TCustomControl {
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
    // Expands the collapsed ancestors and scrolls the node's row into view.
    void MakeVisible(TdxTreeListNode* node);

    // Repaints the node's row, or with `fromRowDownward` everything from it to the bottom.
    virtual void NodeChanged(TdxTreeListNode* node, bool fromRowDownward);

    // The stored node stream (property "Data"). Reading replaces every node; a malformed
    // stream raises EdxTreeListStreamError and leaves the list empty.
    void ReadData(std::string_view bytes);
    // The older format raises EInvaliddxTreeListOperation for a text over 255 bytes.
    std::string WriteData(TdxNodeStreamFormat format = nsfCurrent);

    TTLExpandedEvent OnDeletion;
    TTLExpandingEvent OnExpanding;
    TTLExpandingEvent OnCollapsing;
    TTLExpandedEvent OnExpanded;
    TTLExpandedEvent OnCollapsed;
    TTLChangeNodeEvent OnChangeNode;

protected:
    void BeforeDestruction() override;
    bool ListDestroying() const { return FDestroying || IsDestroying(); }
    bool Clearing() const { return FClearing; }

    // --- Hooks through which nodes reach the list ---------------------------------------
    virtual TdxTreeListNode* CreateNode() = 0;
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

    // --- Hooks that the layout, focus, selection, editing and scrolling fill -------------
    // The layout recalculation (run by LayoutChanged); here it rebuilds the row index and
    // repaints.
    virtual void RecalcLayout();
    // Moves the focus (raising OnChangeNode) and repaints both rows.
    virtual void ChangeFocus(TdxTreeListNode* node);
    // Without a multiple selection the focused node is the selected one.
    virtual bool IsNodeSelected(const TdxTreeListNode* node) const;
    virtual void SetNodeSelected(TdxTreeListNode* node, bool selected);
    virtual void RemoveFromSelection(TdxTreeListNode* node);
    virtual void ClearSelection();
    // Ends in-place editing: forgets the edited node and column and closes the editor.
    virtual void CancelEditing();
    virtual void CloseEditor() {}
    // The top row, and the rows' geometry: rows are stacked from the top row down the data
    // area, each NodeHeight high (StackRows). Here the data area is the client area and every
    // row is one RowHeight high; the layout of TCustomdxTreeListControl computes both.
    virtual void SetTopVisibleNode(TdxTreeListNode* node);
    virtual fw::TRect DataAreaRect() const;
    virtual int VisibleRowCount() const;
    virtual int RowHeight() const { return kPlainRowHeight; }
    virtual int NodeHeight(const TdxTreeListNode* node) const;
    // Empty when the node's row is not (or not wholly) above the data area's bottom edge.
    virtual fw::TRect NodeRowRect(const TdxTreeListNode* node) const;
    virtual void UpdateScrollBars() {}

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
    // The node under the mouse while the list tracks it.
    TdxTreeListNode* HotTrackNode() const { return FHotTrackNode; }

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

    TNodeList FNodes;
    int FLockUpdate = 0;
    TdxTreeListNode* FFocusedNode = nullptr;
    TdxTreeListNode* FPrevFocusedNode = nullptr;
    mutable TdxTreeListRowIndex FRowIndex;
    struct TPendingUpdate {
        TdxTreeListNode* Node = nullptr;
        bool WasVisible = false;
        bool Removing = false;
        bool WasLast = false;
    } FPending;
    // Whether the node now being freed was displayed (set before NodeDeleted runs).
    bool FPendingWasVisible = false;
    TdxTreeListNode* FTopVisibleNode = nullptr;
    TdxTreeListNode* FSelectionAnchor = nullptr;
    TdxTreeListNode* FDragNode = nullptr;
    TdxTreeListNode* FHotTrackNode = nullptr;
    TdxTreeListNode* FEditingNode = nullptr;
    int FEditingColumn = -1;
    bool FRangeSelecting = false;
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
