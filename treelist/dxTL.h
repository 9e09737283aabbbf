// The multi-column tree list control: its nodes, the list of nodes and the stored node stream.
//
// Sections:
//   1. Errors, values and events
//   2. TdxNodeStrings       - the packed texts of one node
//   3. TdxTreeListNode      - a node and its tree operations; TdxTreeListTextNode
//   4. TdxTreeListRowIndex  - displayed rows <-> nodes
//   5. TCustomdxTreeList    - nodes, update lock, focus and the hooks nodes call
//   6. TCustomdxTreeListControl, TdxTreeList
//
// Implementation: dxTLNodes.cpp (nodes, navigation, creation and destruction),
// dxTLNodeStrings.cpp, dxTLRowIndex.cpp, dxTLList.cpp (list-level operations and hooks),
// dxTLView.cpp (repaint, top row and scrolling stand-ins), dxTLStream.cpp (node stream "Data"),
// dxTL.cpp (the published class and its registration).
#pragma once

#include "framework/Control.h"
#include "framework/Layout.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace dxtl {

class TCustomdxTreeList;
class TdxTreeListNode;

// ---------------------------------------------------------------------------------------------
// 1. Errors, values and events

class EInvaliddxTreeListOperation : public fw::Exception {
public:
    using Exception::Exception;
};

// A node stream that cannot be read; the message names what is wrong and where.
class EdxTreeListStreamError : public EInvaliddxTreeListOperation {
public:
    using EInvaliddxTreeListOperation::EInvaliddxTreeListOperation;
};

// A cell value as editors exchange it. Nodes of this list keep text only.
using TdxValue = std::variant<std::monostate, std::int64_t, double, bool, std::string>;
// Empty for no value, decimal numbers (doubles with up to 15 significant digits), True/False.
std::string ValueToText(const TdxValue& value);

using TTLExpandedEvent = std::function<void(fw::TObject* sender, TdxTreeListNode* node)>;
using TTLExpandingEvent =
    std::function<void(fw::TObject* sender, TdxTreeListNode* node, bool& allow)>;
using TTLGetImageEvent =
    std::function<void(fw::TObject* sender, TdxTreeListNode* node, int& index)>;
using TTLChangeNodeEvent =
    std::function<void(fw::TObject* sender, TdxTreeListNode* oldNode, TdxTreeListNode* node)>;

// ---------------------------------------------------------------------------------------------
// 2. TdxNodeStrings

// The texts of one node: usually one to three short ones. They share one buffer, kept inside
// the object while it fits (a node with one short caption needs no allocation) and on the heap
// beyond that. Buffer: the entry count, then each entry's length and bytes; counts and lengths
// are 7-bit variable-length integers.
class TdxNodeStrings {
public:
    TdxNodeStrings() noexcept;
    ~TdxNodeStrings();
    TdxNodeStrings(const TdxNodeStrings&) = delete;
    TdxNodeStrings& operator=(const TdxNodeStrings&) = delete;

    int Count() const;
    // Entry `index` (>= 0); empty text past the last entry.
    std::string_view Get(int index) const;
    // Replaces entry `index` (>= 0), appending empty entries up to it first.
    void Set(int index, std::string_view text);
    // Removes entry `index`; later entries move down. Nothing past the last entry.
    void Delete(int index);
    void Clear();

private:
    static constexpr std::size_t kInlineBytes = 15;
    static constexpr unsigned char kHeapTag = 0xFF;

    struct TView {
        const unsigned char* Data;
        std::size_t Size;
    };
    TView Content() const;
    bool OnHeap() const { return FRaw[kInlineBytes] == kHeapTag; }
    unsigned char* HeapBlock() const;
    std::size_t HeapCapacity() const;
    void SetHeapSize(std::size_t size);
    // Makes `bytes` the content, reusing or releasing the current buffer.
    void Assign(const unsigned char* bytes, std::size_t size, std::size_t capacityHint);

    // Inline: bytes 0..14 hold the content and byte 15 its length. On the heap: byte 15 is
    // kHeapTag and the first bytes hold the block's address; the block starts with its size
    // and capacity (32 bits each).
    unsigned char FRaw[kInlineBytes + 1];
};

// ---------------------------------------------------------------------------------------------
// 3. TdxTreeListNode

// A node of a tree list. Nodes are created by their list (AddNode, AddChild, InsertChild) and
// go with Free, DeleteChildren of an ancestor or ClearNodes; freeing a node takes it out of
// its parent and of the list. Display attributes are not stored here: every read and write
// goes through the owning list, which decides where the value lives.
class TdxTreeListNode {
public:
    // Raises EInvaliddxTreeListOperation without an owner.
    explicit TdxTreeListNode(TCustomdxTreeList* owner);
    TdxTreeListNode(const TdxTreeListNode&) = delete;
    TdxTreeListNode& operator=(const TdxTreeListNode&) = delete;

    // Frees the node and its descendants (children first, in order), raising OnDeletion for
    // each. A throwing handler does not stop it: every node goes, then the first exception
    // propagates.
    void Free();

    TCustomdxTreeList* Owner() const { return FOwner; }
    TdxTreeListNode* Parent() const { return FParent; }
    bool Deleting() const { return FDeleting; }

    void* Data() const { return FData; }
    void SetData(void* data);

    int ImageIndex() const;
    void SetImageIndex(int index);
    int SelectedIndex() const;
    void SetSelectedIndex(int index);
    int StateIndex() const;
    void SetStateIndex(int index);
    // Raise fw::EListError for a negative index.
    std::string Strings(int index) const;
    void SetStrings(int index, std::string_view text);
    TdxValue Values(int index) const;
    void SetValues(int index, const TdxValue& value);

    bool Expanded() const { return FExpanded; }
    void SetExpanded(bool expanded);
    // Sets Expanded on this node (when it has children) and, with `recurse`, on every
    // descendant; one update lock around it all.
    void Expand(bool recurse);
    bool HasChildren() const { return FHasChildren; }
    // Cannot be cleared while the node has children.
    void SetHasChildren(bool hasChildren);

    bool Focused() const;
    void SetFocused(bool focused);
    bool Selected() const;
    void SetSelected(bool selected);

    int ChildCount() const;
    // None when out of range.
    TdxTreeListNode* Children(int index) const;
    // Position among the parent's children (or the list's top-level nodes); -1 when the node
    // is in neither.
    int Index() const;
    int Level() const;
    bool IsLast() const;
    // Every ancestor is expanded.
    bool IsVisible() const;
    bool HasAsParent(const TdxTreeListNode* node) const;
    // Row number among the displayed rows; -1 when the node is not displayed.
    int AbsoluteIndex() const;

    TdxTreeListNode* AddChild();
    // Inserts before `before`, which must be a child of this node (or none: append).
    TdxTreeListNode* InsertChild(TdxTreeListNode* before);
    void DeleteChildren();
    void MakeVisible();

    TdxTreeListNode* GetFirstChild() const;
    TdxTreeListNode* GetLastChild() const;
    TdxTreeListNode* GetNextSibling() const;
    TdxTreeListNode* GetPrevSibling() const;
    // Pre-order over every node, expanded or not.
    TdxTreeListNode* GetNext() const;
    TdxTreeListNode* GetPrev() const;
    // The node of the next / previous displayed row.
    TdxTreeListNode* GetNextRow() const;
    TdxTreeListNode* GetPrevRow() const;

    // Row geometry cached by the layout; 0 = not computed.
    int CachedRowHeight() const { return FRowHeight; }
    void SetCachedRowHeight(int height) { FRowHeight = height; }
    int CachedRowLineCount() const { return FRowLineCount; }
    void SetCachedRowLineCount(int lines) { FRowLineCount = lines; }

protected:
    // Nodes go through Free, which needs the whole object for the deletion events.
    virtual ~TdxTreeListNode();

private:
    friend class TCustomdxTreeList;
    using TNodeList = std::vector<TdxTreeListNode*>;
    const TNodeList* Siblings() const;

    TCustomdxTreeList* FOwner;
    TdxTreeListNode* FParent = nullptr;
    // Created with the first child and freed with the last: a leaf holds no list.
    std::unique_ptr<TNodeList> FChildren;
    void* FData = nullptr;
    // Where Index last found the node; checked first, so sequential sibling walks stay cheap.
    mutable int FIndexHint = 0;
    int FRowHeight = 0;
    int FRowLineCount = 0;
    bool FDeleting = false;
    bool FExpanded = false;
    bool FHasChildren = false;
};

// The node of the lists in this unit: it keeps its indexes and texts itself.
class TdxTreeListTextNode : public TdxTreeListNode {
public:
    explicit TdxTreeListTextNode(TCustomdxTreeList* owner) : TdxTreeListNode(owner) {}

protected:
    ~TdxTreeListTextNode() override = default;

private:
    friend class TCustomdxTreeListControl;
    int FImageIndex = 0;
    int FSelectedIndex = -1;
    int FStateIndex = -1;
    TdxNodeStrings FStrings;
};

// ---------------------------------------------------------------------------------------------
// 4. TdxTreeListRowIndex

// Displayed rows <-> nodes, in three lists kept in step: the nodes in row order, the same
// nodes in address order, and each one's row number beside the address list. In use only
// while it holds rows.
class TdxTreeListRowIndex {
public:
    bool Empty() const { return FByAddress.empty(); }
    int Count() const { return static_cast<int>(FRows.size()); }
    void Clear();
    // Takes the displayed nodes in row order.
    void Build(std::vector<TdxTreeListNode*> rows);
    // -1 when the node has no row.
    int RowOf(const TdxTreeListNode* node) const;
    // None when out of range.
    TdxTreeListNode* NodeAt(int row) const;
    // Inserts a row at `row`; later rows move down by one.
    void Insert(TdxTreeListNode* node, int row);
    // Removes the node's row; later rows move up by one. False when it has none.
    bool Remove(const TdxTreeListNode* node);

    const std::vector<TdxTreeListNode*>& Rows() const { return FRows; }

private:
    std::size_t AddressSlot(const TdxTreeListNode* node) const;

    std::vector<TdxTreeListNode*> FRows;
    std::vector<TdxTreeListNode*> FByAddress;
    std::vector<std::int32_t> FRowOfAddress;
};

// ---------------------------------------------------------------------------------------------
// 5. TCustomdxTreeList

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
    // The layout recalculation; until columns exist it rebuilds the row index and repaints.
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
    // The top row; until scrolling exists, rows have one height and the data area is the
    // client area.
    virtual void SetTopVisibleNode(TdxTreeListNode* node);
    virtual fw::TRect DataAreaRect() const;
    virtual int VisibleRowCount() const;
    // Height of one row line; a fixed stand-in until the layout computes it from the fonts
    // and images.
    virtual int RowHeight() const { return 16; }
    virtual fw::TRect NodeRowRect(const TdxTreeListNode* node) const;
    virtual void UpdateScrollBars() {}

    TdxTreeListNode* EditingNode() const { return FEditingNode; }
    int EditingColumn() const { return FEditingColumn; }

private:
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
    mutable bool FRowIndexBuilt = false;
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
    bool FRowIndexFrozen = false;
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

// ---------------------------------------------------------------------------------------------
// 6. TCustomdxTreeListControl, TdxTreeList

// A list whose nodes are TdxTreeListTextNode and keep their indexes and texts.
class TCustomdxTreeListControl : public TCustomdxTreeList {
public:
    explicit TCustomdxTreeListControl(fw::TComponent* owner);

    TTLGetImageEvent OnGetImageIndex;
    TTLGetImageEvent OnGetSelectedIndex;
    TTLGetImageEvent OnGetStateIndex;

protected:
    TdxTreeListNode* CreateNode() override;
    void DeleteColumnValue(TdxTreeListNode* node, int fieldIndex) override;
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

private:
    static TdxTreeListTextNode& TextNode(TdxTreeListNode* node);
};

// The published tree list. Changes to the nodes ask for a re-sort, which waits for the last
// EndUpdate while the update lock is held.
class TdxTreeList : public TCustomdxTreeListControl {
public:
    explicit TdxTreeList(fw::TComponent* owner);

    bool ResortPending() const { return FResortPending; }

protected:
    void Paint() override;
    void NodeAdded(TdxTreeListNode* node) override;
    void NodeDeleted(TdxTreeListNode* node, TdxTreeListNode* previous, TdxTreeListNode* next,
                     bool last, bool visible) override;
    void SetNodeString(TdxTreeListNode* node, int index, std::string_view text) override;
    void RecalcLayout() override;
    void RequestResort();
    // Sorting comes with the columns; until then there is no order to restore.
    virtual void Resort() {}

private:
    bool FResortPending = false;
};

// TdxTreeList for stored layouts, with its events and the node stream "Data" (hexadecimal
// digits, in one string or a list of strings).
void RegisterTreeList(fw::TPropertyRegistry& registry);

} // namespace dxtl
