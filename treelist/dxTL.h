// The multi-column tree list control: its nodes, columns and bands, the list of nodes, its
// layout, its paint pass and the stored node stream.
//
// Sections:
//   1. Errors, values, option sets, events and the cell view data of the painter
//   2. TdxNodeStrings       - the packed texts of one node
//   3. TdxTreeListNode      - a node and its tree operations; TdxTreeListTextNode
//   4. TdxTreeListRowIndex  - displayed rows <-> nodes
//   5. TCustomdxTreeList    - nodes, update lock, focus and the hooks nodes call
//   6. TdxTreeListColumn    - a column: a component of the form that a list shows
//   7. TdxTreeListBand, TdxTreeListBands
//   8. TCustomdxTreeListControl - text nodes, columns, bands, layout and published properties;
//      TdxTreeList
//
// Implementation: dxTLNodes.cpp (nodes, navigation, creation and destruction),
// dxTLNodeStrings.cpp, dxTLRowIndex.cpp, dxTLList.cpp (list-level operations and hooks),
// dxTLView.cpp (row geometry, repaint requests, top row), dxTLStream.cpp (node stream "Data"),
// dxTLColumns.cpp (columns and the list's column list), dxTLBands.cpp, dxTLLayout.cpp (heights,
// widths, placement, header rows, best fit), dxTLProperties.cpp (list properties and options),
// dxTLPaint.cpp (the paint pass), dxTL.cpp (the published class), dxTLRegister.cpp
// (stored-layout registration).
#pragma once

#include "framework/Control.h"
#include "framework/ImageList.h"
#include "framework/Layout.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace dxtl {

class TCustomdxTreeList;
class TCustomdxTreeListControl;
class TdxTreeListBand;
class TdxTreeListBands;
class TdxTreeListColumn;
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
// The colour of a tree level in the outlook style; `color` arrives as GroupNodeColor.
using TTLGetLevelColorEvent =
    std::function<void(fw::TObject* sender, int level, fw::TColor& color)>;
// Whether the footer panel shows a cell for `column`; `exists` arrives false.
using TTLIsExistFooterCellEvent =
    std::function<void(fw::TObject* sender, TdxTreeListColumn* column, bool& exists)>;
// A node's preview text (painted under its cells with aoPreview); `text` arrives empty.
using TTLGetPreviewTextEvent =
    std::function<void(fw::TObject* sender, TdxTreeListNode* node, std::string& text)>;
// A node's preview or text line count; `count` arrives as the list computed it.
using TTLGetLineCountEvent =
    std::function<void(fw::TObject* sender, TdxTreeListNode* node, int& count)>;
// Whether the children of nodes at `level` close with a row footer; `isFooter` arrives true.
using TTLIsLevelFooterEvent = std::function<void(fw::TObject* sender, int level, bool& isFooter)>;
// Whether the row footer of `node` (the parent whose children it closes) shows a cell for
// `column`; `exists` arrives false.
using TTLIsExistRowFooterCellEvent = std::function<void(
    fw::TObject* sender, TdxTreeListColumn* column, TdxTreeListNode* node, bool& exists)>;
// The text of a footer cell: `node` is the parent of a row footer, nullptr for the footer
// panel; `text` arrives empty.
using TTLGetFooterCellTextEvent = std::function<void(fw::TObject* sender, TdxTreeListNode* node,
                                                     TdxTreeListColumn* column, std::string& text)>;
using TTLChangeNodeEvent =
    std::function<void(fw::TObject* sender, TdxTreeListNode* oldNode, TdxTreeListNode* node)>;

// The layout's distributions divide by 0 only for shares of nothing (b = 0): see
// dxTLLayout.cpp.
using fw::MulDiv;

// A set of enumeration values, stored as bits in declaration order (bit 0 first).
template <class E> class TdxSet {
public:
    constexpr TdxSet() = default;
    constexpr TdxSet(std::initializer_list<E> members) {
        for (E member : members)
            FBits |= Bit(member);
    }
    static constexpr TdxSet FromBits(std::uint32_t bits) {
        TdxSet set;
        set.FBits = bits;
        return set;
    }
    constexpr std::uint32_t Bits() const { return FBits; }
    constexpr bool Contains(E member) const { return (FBits & Bit(member)) != 0; }
    constexpr TdxSet With(E member) const { return FromBits(FBits | Bit(member)); }
    constexpr TdxSet Without(E member) const { return FromBits(FBits & ~Bit(member)); }
    friend constexpr bool operator==(TdxSet, TdxSet) = default;

private:
    static constexpr std::uint32_t Bit(E member) {
        return std::uint32_t(1) << static_cast<unsigned>(member);
    }
    std::uint32_t FBits = 0;
};

enum TdxTreeListOption {
    aoColumnSizing,
    aoColumnMoving,
    aoEditing,
    aoTabs,
    aoTabThrough,
    aoRowSelect,
    aoMultiSelect,
    aoImmediateEditor,
    aoPreview,
    aoDrawEndEllipsis,
    aoAutoWidth,
    aoExtMultiSelect,
    aoExtCustomizing,
    aoHideFocusRect,
    aoAutoSort,
    aoCaseInsensitive,
    aoStoreToRegistry,
    aoStoreToIniFile
};
using TdxTreeListOptions = TdxSet<TdxTreeListOption>;

enum TdxTreeListOptionEx {
    aoInvertSelect,
    aoUseBitmap,
    aoBandHeaderWidth,
    aoAutoCalcPreviewLines,
    aoBandSizing,
    aoBandMoving,
    aoHorzThrough,
    aoVertThrough,
    aoCellMultiSelect,
    aoEnterThrough,
    aoEnterShowEditor,
    aoFullSizing,
    aoDragScroll,
    aoDragExpand,
    aoDragCollapse,
    aoRowAutoHeight,
    aoShowHourGlass,
    aoBandButtonClicking,
    aoBandPanelSizing,
    aoHeaderButtonClicking,
    aoHeaderPanelSizing,
    aoRowSizing,
    aoMultiSort,
    aoAutoSortRefresh,
    aoShowButtonAlways,
    aoAutoHeaderPanelHeight,
    aoKeepColumnWidth,
    aoAnsiSort,
    aoMouseScroll,
    aoAutoSearch,
    aoHotTrack,
    aoAutoCopySelectedToClipboard
};
using TdxTreeListOptionsEx = TdxSet<TdxTreeListOptionEx>;

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TdxTreeListColumnSort { csNone, csDown, csUp };
enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TdxGridBandFixed { bfNone, bfLeft, bfRight };
enum TdxLookAndFeel { lfStandard, lfFlat, lfUltraFlat };
enum TdxTreeListPaintStyle { psStandard, psOutlook };
enum TdxTreeLineStyle { tlSolid, tlDot };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// Custom drawing of a cell: the list prepares the canvas and passes text, colour and alignment
// to adjust; a handler that draws everything itself sets done.
using TdxTLCustomDrawCell = std::function<void(
    fw::TObject* sender, fw::TCanvas& canvas, fw::TRect rect, TdxTreeListNode* node,
    TdxTreeListColumn* column, bool selected, bool focused, bool newItemRow, std::string& text,
    fw::TColor& color, fw::TFont& font, fw::TAlignment& alignment, bool& done)>;
// Custom drawing of a column header.
using TdxTLCustomDrawHeader =
    std::function<void(fw::TObject* sender, TdxTreeListColumn* column, fw::TCanvas& canvas,
                       fw::TRect rect, std::string& text, fw::TColor& color, fw::TFont& font,
                       fw::TAlignment& alignment, TdxTreeListColumnSort& sorted, bool& done)>;

// What a column hands an in-place text editor and reads back from it. The editors come with
// editing; until then this state is what the columns fill and read.
struct TdxInplaceTextEdit {
    std::string Text;
    TdxValue Value;
    bool ReadOnly = false;
    TEditCharCase CharCase = ecNormal;
    int MaxLength = 0;
    bool OEMConvert = false;
    char PasswordChar = '\0';
    fw::TNotifyEvent OnChange;
    fw::TNotifyEvent OnValidate;
};

// What a column tells the cell painter about one of its cells.
struct TdxCellViewParams {
    std::string Text;
    fw::TAlignment Alignment = fw::taLeftJustify;
    TTextLayout VertAlignment = tlTop;
    fw::TColor Color = fw::clWindow;
    const fw::TFont* Font = nullptr;
};

// The inputs of one cell for its painter; the list keeps one and refills it for every cell.
// Brushes are colours. The rectangle is relative to the cell, 2 pixels wider on every side.
struct TdxTreeListCellViewData {
    fw::TColor Brush = fw::clWindow;
    const fw::TFont* Font = nullptr;
    fw::TColor BkColor = fw::clWindow;
    fw::TColor TextColor = fw::clWindowText;
    fw::TAlignment Alignment = fw::taLeftJustify;
    TTextLayout VertAlignment = tlTop;
    std::string Text;
    int TextLength = 0;
    bool Selected = false;
    bool InvertSelect = false;
    bool LeftEdge = false;
    bool RightEdge = false;
    bool MultiLine = false;
    bool InvertText = false;
    bool EndEllipsis = false;
    TdxTreeListNode* Node = nullptr;
    bool NullNode = false;
    fw::TColor SelectionColor = fw::clHighlight;
    fw::TColor ColumnBrush = fw::clWindow;
    fw::TColor ColumnColor = fw::clWindow;
    bool HotTrack = false;
    fw::TRect CellRect;
};

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
    // Moves entry `from` to index `to`; the entries between shift by one. Entries past the
    // last are empty: moving one in inserts an empty entry; a text moved out past the last
    // entry extends the list to it.
    void Move(int from, int to);
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
    // The first node after this one's subtree in pre-order (none at the end).
    TdxTreeListNode* NextAfterSubtree() const;
    TdxTreeListNode* GetPrev() const;
    // The node of the next / previous displayed row.
    TdxTreeListNode* GetNextRow() const;
    TdxTreeListNode* GetPrevRow() const;

    // Row geometry cached by the layout; 0 = not computed. A cache: the layout fills it while
    // it answers queries on a const list.
    int CachedRowHeight() const { return FRowHeight; }
    void SetCachedRowHeight(int height) const { FRowHeight = height; }
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
    mutable int FRowHeight = 0;
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
    // area, each NodeHeight high. Here the data area is the client area and every row is
    // one RowHeight high; the layout of TCustomdxTreeListControl computes both.
    virtual void SetTopVisibleNode(TdxTreeListNode* node);
    virtual fw::TRect DataAreaRect() const;
    virtual int VisibleRowCount() const;
    virtual int RowHeight() const { return kStandInRowHeight; }
    virtual int NodeHeight(const TdxTreeListNode* node) const;
    // Empty when the node's row is not (or not wholly) above the data area's bottom edge.
    virtual fw::TRect NodeRowRect(const TdxTreeListNode* node) const;
    virtual void UpdateScrollBars() {}

    TdxTreeListNode* EditingNode() const { return FEditingNode; }
    int EditingColumn() const { return FEditingColumn; }
    // The node under the mouse while the list tracks it.
    TdxTreeListNode* HotTrackNode() const { return FHotTrackNode; }

private:
    static constexpr int kStandInRowHeight = 16;
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

// ---------------------------------------------------------------------------------------------
// 6. TdxTreeListColumn

// Properties that a column keeps only once written; until then they read the column class's
// default (colour and font: the list's).
enum TdxColumnAssignedValue {
    cvAlignment,
    cvCaption,
    cvReadOnly,
    cvWidth,
    cvColor,
    cvFont,
    cvMaxLength
};
using TdxColumnAssignedValues = TdxSet<TdxColumnAssignedValue>;

// A column: a component of the form (its owner frees it) shown by one list. Attaching it
// (SetTreeList, or "TreeList" in a stored layout) appends it to the list's columns; freeing it
// takes its texts out of the list's nodes. Writes clamp and never raise; the writes that change
// the layout recompute it (at the last EndUpdate while the list's update lock is held).
class TdxTreeListColumn : public fw::TComponent {
public:
    explicit TdxTreeListColumn(fw::TComponent* owner);
    ~TdxTreeListColumn() override;

    TCustomdxTreeListControl* TreeList() const { return FTreeList; }
    // Leaves the current list (its nodes lose the column's texts) and joins the new one at
    // the end of its columns.
    void SetTreeList(TCustomdxTreeListControl* list);
    // Names a list among the components of the column's owner: attached at once when it
    // exists, else when loading ends (a stored layout may name a list stored after the column).
    void SetTreeListName(std::string name);
    // Position in the list's column list; -1 outside a list.
    int Index() const;
    // Moves the column to `position` in the list's column list (clamped); the nodes' texts
    // move along.
    void SetIndex(int position);

    // --- Published properties, in declaration order ----------------------------------------
    fw::TAlignment Alignment() const;
    void SetAlignment(fw::TAlignment alignment);
    std::string Caption() const;
    void SetCaption(std::string caption);
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase charCase) { FCharCase = charCase; }
    fw::TColor Color() const;
    void SetColor(fw::TColor color);
    bool DisableCaption() const { return FDisableCaption; }
    void SetDisableCaption(bool disable);
    bool DisableCustomizing() const { return FDisableCustomizing; }
    void SetDisableCustomizing(bool disable) { FDisableCustomizing = disable; }
    bool DisableDragging() const { return FDisableDragging; }
    void SetDisableDragging(bool disable) { FDisableDragging = disable; }
    bool DisableEditor() const { return FDisableEditor; }
    void SetDisableEditor(bool disable) { FDisableEditor = disable; }
    // A copy of the list's Font until changed; any change marks it written.
    fw::TFont& Font() { return FFont; }
    const fw::TFont& Font() const { return FFont; }
    fw::TAlignment HeaderAlignment() const { return FHeaderAlignment; }
    void SetHeaderAlignment(fw::TAlignment alignment);
    // Created empty on first use; needs the column's application.
    fw::TBitmap& HeaderGlyph();
    bool HasHeaderGlyph() const { return FHeaderGlyph != nullptr; }
    int MaxLength() const;
    void SetMaxLength(int length);
    int MinWidth() const { return FMinWidth; }
    // Below 0 stores 0; Width is applied again, so it never stays below the minimum.
    void SetMinWidth(int width);
    bool OEMConvert() const { return FOEMConvert; }
    void SetOEMConvert(bool convert) { FOEMConvert = convert; }
    char PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char c) { FPasswordChar = c; }
    // The written value; unwritten, the class default, and when that is false the list's
    // read-only state.
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    bool Sizing() const { return FSizing; }
    void SetSizing(bool sizing);
    TdxTreeListColumnSort Sorted() const { return FSorted; }
    void SetSorted(TdxTreeListColumnSort sorted);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool tabStop) { FTabStop = tabStop; }
    TTextLayout VertAlignment() const { return FVertAlignment; }
    void SetVertAlignment(TTextLayout alignment);
    bool Visible() const { return FVisible; }
    void SetVisible(bool visible);
    int Width() const;
    // Below MinWidth stores MinWidth. Kept (and marked written) once written or when the
    // value differs from the class default.
    void SetWidth(int width);
    // Collection index of the column's band; -1 = none (not shown).
    int BandIndex() const { return FBandIndex; }
    // Below -1 stores -1; in a list, at or above the band count stores the last band's index.
    void SetBandIndex(int index);
    // Header row inside the band: the written row, within the list's header rows.
    int RowIndex() const;
    void SetRowIndex(int index);
    // Position among the shown columns of the same band row, in column-list order; -1 when
    // the column is not shown. Never stored.
    int ColIndex() const;
    // Moves the column to that position of its band row (the last position for one beyond).
    void SetColIndex(int index);
    // Header rows the header may span in the last used row of its band; 0 = no limit.
    int HeaderMaxLineCount() const { return FHeaderMaxLineCount; }
    void SetHeaderMaxLineCount(int count);

    fw::TNotifyEvent OnChange;
    TdxTLCustomDrawCell OnCustomDrawCell;
    TdxTLCustomDrawHeader OnCustomDrawColumnHeader;
    fw::TNotifyEvent OnValidate;

    // --- Not published ----------------------------------------------------------------------
    TdxColumnAssignedValues AssignedValues() const { return FAssignedValues; }
    // The row last written to RowIndex, kept beyond the header rows; stored as the hidden
    // property "StoredRowIndex" when not 0.
    int StoredRowIndex() const { return FStoredRowIndex; }
    void SetStoredRowIndex(int index);
    // The sort position a stored layout holds (hidden property "SortedOrder"); -1 = none.
    int SortedOrder() const { return FSortedOrder; }
    void SetSortedOrder(int order) { FSortedOrder = order < -1 ? -1 : order; }
    // -1 = none: FieldIndex follows the column's position.
    int ExplicitFieldIndex() const { return FExplicitFieldIndex; }
    void SetFieldIndex(int index);
    // What a stored layout holds for the column: written values and values that differ from
    // their defaults, the hidden properties included; never ColIndex.
    std::vector<fw::TLayoutProperty> StoredProperties() const;

    // --- Virtual operations ---------------------------------------------------------------
    // Writes the editor's text to the node's texts, then reads the node's value back into it.
    virtual void StoreEditValue(TdxTreeListNode* node, TdxInplaceTextEdit& editor);
    virtual bool HasCellCustomDraw() const { return bool(OnCustomDrawCell); }
    // Unless the list is setting up an editor: tells the list, then raises OnChange.
    virtual void ValueChanged();
    // Raises OnCustomDrawCell with the column as sender.
    virtual void CustomDrawCell(fw::TCanvas& canvas, fw::TRect rect, TdxTreeListNode* node,
                                bool selected, bool focused, bool newItemRow, std::string& text,
                                fw::TColor& color, fw::TFont& font, fw::TAlignment& alignment,
                                bool& done);
    // Unless the list is setting up an editor: lets the list validate, then raises OnValidate.
    virtual void Validate();
    // Font is now written; the layout follows.
    virtual void FontChanged();
    virtual std::string EditorClassName() const { return "TdxInplaceTreeListTextEdit"; }
    // The node's text for the column.
    virtual std::string DisplayText(TdxTreeListNode* node) const;
    virtual bool CanEdit() const { return !FDisableEditor; }
    // The explicit field index, else the position in the list's column list; -1 outside a
    // list. Every node keeps the column's text at Strings(FieldIndex()).
    virtual int FieldIndex() const;
    // Row height the column needs beyond its font; 0 here.
    virtual int RequiredRowHeight(fw::TCanvas& canvas);
    // Cells that always wrap their text (memo-like columns); plain text cells do not.
    virtual bool IsMultiLine() const { return false; }
    // Hands ReadOnly, CharCase, MaxLength, OEMConvert and PasswordChar to the editor and routes
    // its change and validate notifications to ValueChanged and Validate.
    virtual void InitEditor(TdxInplaceTextEdit& editor);
    // Puts the node's text for the column into the editor.
    virtual void LoadEditor(TdxInplaceTextEdit& editor, TdxTreeListNode* node);
    virtual void GetCellViewParams(TdxTreeListNode* node, TdxCellViewParams& params);
    // Moves the column in its list's column list (SetIndex).
    virtual void MoveTo(int position);
    virtual fw::TAlignment DefaultAlignment() const { return fw::taLeftJustify; }
    virtual std::string DefaultCaption() const { return {}; }
    virtual int DefaultMaxLength() const { return 0; }
    virtual bool DefaultReadOnly() const { return false; }
    virtual int DefaultWidth() const { return kDefaultWidth; }
    virtual int DefaultHeaderMaxLineCount() const { return 1; }
    // Width of the node's display text in the canvas's font (best fit).
    virtual int ContentWidth(fw::TCanvas& canvas, TdxTreeListNode* node) const;
    // The text shown for a value; unchanged here.
    virtual std::string ConvertDisplayText(std::string text) const { return text; }
    // Clears every assigned-value flag and puts the layout properties back to their defaults.
    virtual void RestoreDefaults();

    static constexpr int kDefaultWidth = 100;
    static constexpr int kDefaultMinWidth = 20;

protected:
    void BeforeDestruction() override;
    void Loaded() override;
    // Tells the list: a repaint, or with `layout` a new layout.
    void Changed(bool layout);
    // Descendant classes start with their own value.
    int FHeaderMaxLineCount = 1;

private:
    friend class TCustomdxTreeListControl;
    void Detach();
    void CopyListFont();
    void Assigned(TdxColumnAssignedValue value) { FAssignedValues = FAssignedValues.With(value); }

    TCustomdxTreeListControl* FTreeList = nullptr;
    std::string FPendingTreeListName;
    TdxColumnAssignedValues FAssignedValues;
    fw::TAlignment FAlignment = fw::taLeftJustify;
    std::string FCaption;
    TEditCharCase FCharCase = ecNormal;
    fw::TColor FColor = fw::clWindow;
    bool FDisableCaption = false;
    bool FDisableCustomizing = false;
    bool FDisableDragging = false;
    bool FDisableEditor = false;
    fw::TFont FFont;
    bool FCopyingFont = false;
    fw::TAlignment FHeaderAlignment = fw::taLeftJustify;
    std::unique_ptr<fw::TBitmap> FHeaderGlyph;
    int FMaxLength = 0;
    int FMinWidth = kDefaultMinWidth;
    bool FOEMConvert = false;
    char FPasswordChar = '\0';
    bool FReadOnly = false;
    bool FSizing = true;
    TdxTreeListColumnSort FSorted = csNone;
    bool FTabStop = true;
    TTextLayout FVertAlignment = tlTop;
    bool FVisible = true;
    int FWidth = kDefaultWidth;
    int FBandIndex = 0;
    // The layout row (kept within the header rows by compaction) and the row last written.
    int FRowIndex = 0;
    int FStoredRowIndex = 0;
    int FSortedOrder = -1;
    int FExplicitFieldIndex = -1;
};

// ---------------------------------------------------------------------------------------------
// 7. TdxTreeListBand, TdxTreeListBands

// A band: a caption over a group of columns. Items of the list's TdxTreeListBands.
class TdxTreeListBand {
public:
    TdxTreeListBand(const TdxTreeListBand&) = delete;
    TdxTreeListBand& operator=(const TdxTreeListBand&) = delete;

    TdxTreeListBands& Collection() const { return FCollection; }
    int Index() const;
    // Moves the band (clamped, never past a fixed band; a fixed band stays); the columns'
    // BandIndex follows so that every column stays with its band.
    void SetIndex(int index);

    fw::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(fw::TAlignment alignment);
    const std::string& Caption() const { return FCaption; }
    void SetCaption(std::string caption);
    bool DisableCustomizing() const { return FDisableCustomizing; }
    void SetDisableCustomizing(bool disable) { FDisableCustomizing = disable; }
    bool DisableDragging() const { return FDisableDragging; }
    void SetDisableDragging(bool disable) { FDisableDragging = disable; }
    // A band fixed left moves to index 0, one fixed right to the last index; one band per
    // side (fixing another clears it); a hidden band is never fixed.
    TdxGridBandFixed Fixed() const { return FFixed; }
    void SetFixed(TdxGridBandFixed fixed);
    int MinWidth() const { return FMinWidth; }
    // Below 0 stores 0; Width is applied again.
    void SetMinWidth(int width);
    bool OnlyOwnColumns() const { return FOnlyOwnColumns; }
    void SetOnlyOwnColumns(bool only) { FOnlyOwnColumns = only; }
    bool Sizing() const { return FSizing; }
    void SetSizing(bool sizing);
    bool Visible() const { return FVisible; }
    void SetVisible(bool visible);
    int Width() const { return FWidth; }
    // Below MinWidth stores MinWidth.
    void SetWidth(int width);

    // Copies every property but the position.
    void Assign(const TdxTreeListBand& other);

    static constexpr int kDefaultWidth = 250;
    static constexpr int kDefaultMinWidth = 30;

private:
    friend class TdxTreeListBands;
    explicit TdxTreeListBand(TdxTreeListBands& collection) : FCollection(collection) {}
    void Changed();

    TdxTreeListBands& FCollection;
    fw::TAlignment FAlignment = fw::taCenter;
    std::string FCaption;
    bool FDisableCustomizing = false;
    bool FDisableDragging = false;
    TdxGridBandFixed FFixed = bfNone;
    int FMinWidth = kDefaultMinWidth;
    bool FOnlyOwnColumns = false;
    bool FSizing = true;
    bool FVisible = true;
    int FWidth = kDefaultWidth;
};

// The bands of a list (or a free-standing set of bands to assign to one).
class TdxTreeListBands {
public:
    // `list` may be none: a set of bands to assign.
    explicit TdxTreeListBands(TCustomdxTreeListControl* list);
    ~TdxTreeListBands();
    TdxTreeListBands(const TdxTreeListBands&) = delete;
    TdxTreeListBands& operator=(const TdxTreeListBands&) = delete;

    TCustomdxTreeListControl* TreeList() const { return FTreeList; }
    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises fw::EListError out of range.
    TdxTreeListBand* Items(int index) const;
    TdxTreeListBand* Add();
    // The columns of the band lose it (BandIndex -1); those of later bands follow theirs.
    void Delete(int index);
    void Clear();
    // Makes this set a copy of `other`: as many bands, with the same properties.
    void Assign(const TdxTreeListBands& other);
    int VisibleCount() const;
    int IndexOf(const TdxTreeListBand* band) const;

private:
    friend class TdxTreeListBand;
    void Move(int from, int to);
    void Changed();

    TCustomdxTreeListControl* FTreeList;
    std::vector<std::unique_ptr<TdxTreeListBand>> FItems;
};

// ---------------------------------------------------------------------------------------------
// 8. TCustomdxTreeListControl, TdxTreeList

// Resize limits of a column or band: the smallest width and how far right (client
// coordinates) its right edge may go.
struct TdxSizingBounds {
    int MinWidth = 0;
    int MaxRight = 0;
};

// A list whose nodes are TdxTreeListTextNode and keep their indexes and texts, with columns
// grouped under bands, and its layout: the heights of the band panel, header rows and rows,
// band and column widths, their placement and the header rows.
//
// The layout is computed lazily: property writes call LayoutChanged, which waits for the last
// EndUpdate and does nothing while loading; loading ends with one full recalculation.
class TCustomdxTreeListControl : public TCustomdxTreeList {
public:
    explicit TCustomdxTreeListControl(fw::TComponent* owner);
    ~TCustomdxTreeListControl() override;

    TTLGetImageEvent OnGetImageIndex;
    TTLGetImageEvent OnGetSelectedIndex;
    TTLGetImageEvent OnGetStateIndex;
    TTLGetLevelColorEvent OnGetLevelColor;
    TTLIsExistFooterCellEvent OnIsExistFooterCell;
    TTLGetPreviewTextEvent OnGetPreviewText;
    TTLGetLineCountEvent OnGetPreviewLineCount;
    TTLGetLineCountEvent OnGetRowLineCount;
    TTLIsLevelFooterEvent OnIsLevelFooter;
    TTLIsExistRowFooterCellEvent OnIsExistRowFooterCell;
    TTLGetFooterCellTextEvent OnGetFooterCellText;
    // After the user (or a best fit) changed column or band widths.
    fw::TNotifyEvent OnChangedColumnsWidth;

    // --- Columns ------------------------------------------------------------------------------
    int ColumnCount() const { return static_cast<int>(FColumns.size()); }
    // Raises fw::EListError out of range.
    TdxTreeListColumn* Columns(int index) const;
    int ColumnIndexOf(const TdxTreeListColumn* column) const;
    // A new column of this list, owned by the list's owner as stored columns are.
    TdxTreeListColumn* CreateColumn();
    // Visible, in a band that exists and is visible.
    bool IsColumnShown(const TdxTreeListColumn* column) const;

    // --- Bands and header rows ----------------------------------------------------------------
    TdxTreeListBands& Bands() { return *FBands; }
    const TdxTreeListBands& Bands() const { return *FBands; }
    void SetBands(const TdxTreeListBands& bands) { FBands->Assign(bands); }
    // Text rows of the band panel: 1 .. BandMaxRowCount.
    int BandRowCount() const { return FBandRowCount; }
    void SetBandRowCount(int count);
    int BandMaxRowCount() const { return FBandMaxRowCount; }
    void SetBandMaxRowCount(int count);
    // Setting it to true gives one band holding every column, one header row, no band panel.
    bool DefaultLayout() const { return FDefaultLayout; }
    void SetDefaultLayout(bool defaultLayout);
    // Text lines of every header row: at least 1.
    int HeaderMinRowCount() const { return FHeaderMinRowCount; }
    void SetHeaderMinRowCount(int count);
    int HeaderPanelMaxRowCount() const { return FHeaderPanelMaxRowCount; }
    void SetHeaderPanelMaxRowCount(int count);
    // Header rows: 1 .. HeaderPanelMaxRowCount. Above 1 clears DefaultLayout; a write clears
    // aoAutoHeaderPanelHeight.
    int HeaderPanelRowCount() const { return FHeaderPanelRowCount; }
    void SetHeaderPanelRowCount(int count);
    bool HeaderPanelRowCountStored() const;

    // --- Other published properties -----------------------------------------------------------
    fw::TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(fw::TBorderStyle style);
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool ctl3D);
    bool ParentCtl3D() const { return FParentCtl3D; }
    void SetParentCtl3D(bool parent) { FParentCtl3D = parent; }
    fw::TColor ArrowsColor() const { return FArrowsColor; }
    void SetArrowsColor(fw::TColor color) { FArrowsColor = color; }
    bool AutoExpandOnSearch() const { return FAutoExpandOnSearch; }
    void SetAutoExpandOnSearch(bool expand) { FAutoExpandOnSearch = expand; }
    fw::TColor AutoSearchColor() const { return FAutoSearchColor; }
    void SetAutoSearchColor(fw::TColor color) {
        FAutoSearchColor = color;
        ViewChanged();
    }
    fw::TColor AutoSearchTextColor() const { return FAutoSearchTextColor; }
    void SetAutoSearchTextColor(fw::TColor color) {
        FAutoSearchTextColor = color;
        ViewChanged();
    }
    bool DblClkExpanding() const { return FDblClkExpanding; }
    void SetDblClkExpanding(bool expanding) { FDblClkExpanding = expanding; }
    fw::TColor GroupNodeColor() const { return FGroupNodeColor; }
    void SetGroupNodeColor(fw::TColor color);
    fw::TColor GroupNodeTextColor() const { return FGroupNodeTextColor; }
    void SetGroupNodeTextColor(fw::TColor color);
    fw::TColor RowFooterColor() const { return FRowFooterColor; }
    void SetRowFooterColor(fw::TColor color);
    fw::TColor RowFooterTextColor() const { return FRowFooterTextColor; }
    void SetRowFooterTextColor(fw::TColor color);
    fw::TColor HeaderColor() const { return FHeaderColor; }
    void SetHeaderColor(fw::TColor color);
    fw::TColor BandColor() const { return FBandColor; }
    void SetBandColor(fw::TColor color);
    // While ParentFont is true these follow the list's Font and are not stored.
    fw::TFont& BandFont() { return FBandFont; }
    const fw::TFont& BandFont() const { return FBandFont; }
    fw::TFont& HeaderFont() { return FHeaderFont; }
    const fw::TFont& HeaderFont() const { return FHeaderFont; }
    fw::TFont& PreviewFont() { return FPreviewFont; }
    const fw::TFont& PreviewFont() const { return FPreviewFont; }
    bool PanelFontsStored() const { return !ParentFont(); }
    bool HideFocusRect() const { return FHideFocusRect; }
    void SetHideFocusRect(bool hide);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool hide);
    fw::TImageList* Images() const { return FImages; }
    void SetImages(fw::TImageList* images);
    fw::TImageList* StateImages() const { return FStateImages; }
    void SetStateImages(fw::TImageList* images);
    // Name a component of the list's owner: set at once when it exists, else when loading
    // ends (a stored layout may name an image list stored after the list).
    void SetImagesName(std::string name);
    void SetStateImagesName(std::string name);
    int IndentDesc() const { return FIndentDesc; }
    void SetIndentDesc(int indent);
    const std::string& IniFileName() const { return FIniFileName; }
    void SetIniFileName(std::string name) { FIniFileName = std::move(name); }
    const std::string& IniSectionName() const { return FIniSectionName; }
    void SetIniSectionName(std::string name) { FIniSectionName = std::move(name); }
    const std::string& RegistryPath() const { return FRegistryPath; }
    void SetRegistryPath(std::string path) { FRegistryPath = std::move(path); }
    fw::TColor FixedBandLineColor() const { return FFixedBandLineColor; }
    void SetFixedBandLineColor(fw::TColor color);
    int FixedBandLineWidth() const { return FFixedBandLineWidth; }
    void SetFixedBandLineWidth(int width);
    TdxLookAndFeel LookAndFeel() const { return FLookAndFeel; }
    void SetLookAndFeel(TdxLookAndFeel lookAndFeel);
    int MaxRowLineCount() const { return FMaxRowLineCount; }
    void SetMaxRowLineCount(int count);
    TdxTreeListOptions Options() const { return FOptions; }
    void SetOptions(TdxTreeListOptions options);
    TdxTreeListOptionsEx OptionsEx() const { return FOptionsEx; }
    void SetOptionsEx(TdxTreeListOptionsEx options);
    TdxTreeListPaintStyle PaintStyle() const { return FPaintStyle; }
    void SetPaintStyle(TdxTreeListPaintStyle style);
    // The row height in use; a written value below the computed minimum gives the minimum.
    int DefaultRowHeight() const { return FHeights.Row; }
    void SetDefaultRowHeight(int height);
    bool DefaultRowHeightStored() const { return FRowHeightWritten; }
    int RowSeparatorLineWidth() const { return FRowSeparatorLineWidth; }
    void SetRowSeparatorLineWidth(int width);
    int PreviewLines() const { return FPreviewLines; }
    void SetPreviewLines(int lines);
    fw::TColor HighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(fw::TColor color);
    fw::TColor HighlightTextColor() const { return FHighlightTextColor; }
    void SetHighlightTextColor(fw::TColor color);
    fw::TColor TreeLineColor() const { return FTreeLineColor; }
    void SetTreeLineColor(fw::TColor color);
    TdxTreeLineStyle TreeLineStyle() const { return FTreeLineStyle; }
    void SetTreeLineStyle(TdxTreeLineStyle style);
    fw::TColor HideSelectionColor() const { return FHideSelectionColor; }
    void SetHideSelectionColor(fw::TColor color);
    fw::TColor HideSelectionTextColor() const { return FHideSelectionTextColor; }
    void SetHideSelectionTextColor(fw::TColor color);
    int WaitForExpandNodeTime() const { return FWaitForExpandNodeTime; }
    void SetWaitForExpandNodeTime(int milliseconds) { FWaitForExpandNodeTime = milliseconds; }
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle scrollBars);
    int CustomizingRowCount() const { return FCustomizingRowCount; }
    void SetCustomizingRowCount(int count);
    bool ShowBands() const { return FShowBands; }
    void SetShowBands(bool show);
    bool ShowGrid() const { return FShowGrid; }
    void SetShowGrid(bool show);
    bool ShowRowFooter() const { return FShowRowFooter; }
    void SetShowRowFooter(bool show);
    bool ShowIndicator() const { return FShowIndicator; }
    void SetShowIndicator(bool show);
    bool ShowFooter() const { return FShowFooter; }
    void SetShowFooter(bool show);
    bool ShowButtons() const { return FShowButtons; }
    void SetShowButtons(bool show);
    bool ShowPreviewGrid() const { return FShowPreviewGrid; }
    void SetShowPreviewGrid(bool show);
    bool ShowHeader() const { return FShowHeader; }
    void SetShowHeader(bool show);
    bool ShowLines() const { return FShowLines; }
    void SetShowLines(bool show);
    bool ShowRoot() const { return FShowRoot; }
    void SetShowRoot(bool show);
    bool SimpleCustomizeBox() const { return FSimpleCustomizeBox; }
    void SetSimpleCustomizeBox(bool simple) { FSimpleCustomizeBox = simple; }
    bool ShowHiddenInCustomizeBox() const { return FShowHiddenInCustomizeBox; }
    void SetShowHiddenInCustomizeBox(bool show) { FShowHiddenInCustomizeBox = show; }
    fw::TColor GridLineColor() const { return FGridLineColor; }
    void SetGridLineColor(fw::TColor color);
    // What columns that were never made read-only report: the list is read-only while
    // editing is off.
    bool IsReadOnly() const { return !FOptions.Contains(aoEditing); }

    // --- Layout: heights ------------------------------------------------------------------
    int BandTextHeight() const { return FHeights.BandText; }
    int BandPanelHeight() const { return FHeights.BandPanel; }
    int HeaderRowHeight() const { return FHeights.HeaderRow; }
    int HeaderPanelHeight() const { return FHeights.HeaderPanel; }
    int TextHeight() const { return FHeights.Text; }
    int MinRowHeight() const { return FHeights.MinRow; }
    int RowHeight() const override { return FHeights.Row; }
    int PreviewTextHeight() const { return FHeights.PreviewText; }
    int FooterRowHeight() const { return FHeights.FooterRow; }
    int FooterHeight() const { return FHeights.Footer; }
    int RowFooterHeight() const { return FHeights.RowFooter; }
    int HorzScrollStep() const { return FHeights.HorzScrollStep; }
    int IndicatorWidth() const { return FShowIndicator ? kIndicatorWidth : 0; }
    // The header drag arrows' rectangle size.
    fw::TSize HeaderDragArrowsSize() const;
    // Height of the node's row: header rows of lines, preview, grid separators, row footers.
    int NodeHeight(const TdxTreeListNode* node) const override;
    // Below the band and header panels and the new item row, right of the indicator, above
    // the footer.
    fw::TRect DataAreaRect() const override;
    // The new item row under the header: one row and a separator strip (0 when not shown).
    bool ShowNewItemRow() const { return FShowNewItemRow; }
    void SetShowNewItemRow(bool show);
    int NewItemRowHeight() const { return FHeights.NewItemRow; }

    // --- Row parts (dxTLRowParts.cpp) -------------------------------------------------------
    // Tree level slots of the node's indent: its level, one more for a parent or in the
    // standard style.
    int LevelSlots(const TdxTreeListNode* node) const;
    // The indent area's width: the level slots (less one without the root), the state image
    // when the node has one, the node image.
    int IndentWidth(TdxTreeListNode* node);
    // The same from the node's level slots and state index (-1: no state image).
    int IndentWidth(int levelSlots, int stateIndex) const;
    // The node's preview text (empty without OnGetPreviewText).
    std::string PreviewText(TdxTreeListNode* node);
    // Lines of preview text under the node's cells: 0 without aoPreview or with PreviewLines
    // 0; measured from the text (at most PreviewLines when positive) with
    // aoAutoCalcPreviewLines or a negative PreviewLines, else PreviewLines.
    int PreviewLineCount(TdxTreeListNode* node);
    // Text lines of the node's row: 1, or with aoRowAutoHeight and MaxRowLineCount not 0 the
    // most lines a cell's text needs when wrapped (at most MaxRowLineCount when positive).
    int RowLineCount(TdxTreeListNode* node);
    // Row footers under the node: one for each expanded parent whose last shown row it is and
    // whose level OnIsLevelFooter leaves with a footer; 0 without ShowRowFooter. The first
    // footer closes the node's parent, the next one the grandparent, and so on.
    int RowFooterCount(const TdxTreeListNode* node) const;
    // The parents those footers close, in that order.
    std::vector<TdxTreeListNode*> RowFooterNodes(const TdxTreeListNode* node) const;

    // --- Layout: bands and columns (visible positions count the visible bands) -------------
    int VisibleBandCount() const { return FBands->VisibleCount(); }
    // Band collection index at a visible position, and the reverse; -1 when none.
    int BandAtPosition(int position) const;
    int BandPosition(int bandIndex) const;
    // Used header rows of the band at `position`, their columns and the column-list index of
    // one of them (-1 out of range).
    int BandRowsUsed(int position) const;
    int ColumnsInRow(int position, int row) const;
    int ColumnAt(int position, int row, int i) const;
    // MinWidth of a sizable column, else its Width.
    int ColumnMinWidth(int column) const;
    int BandMinWidth(int position) const;
    int BandNaturalWidth(int position) const;
    int BandWidth(int position) const;
    // Sum of the visible bands' widths.
    int TotalWidth() const;
    // Display width of a column; 0 when it is not shown.
    int ColumnWidth(int column) const;
    // Header rows the column's header spans.
    int HeaderRowSpan(int column) const;
    // In client coordinates: a band's caption cell and a column's header (empty when the
    // column is not shown). The cells of a column lie between its header's left and right.
    fw::TRect BandRect(int position) const;
    fw::TRect HeaderRect(int column) const;
    // Client x of a shown column's left edge, and its position among its band's used header
    // rows (its cells' line inside a row); -1 when the column is not shown.
    int ColumnLeft(int column) const;
    int ColumnRowPosition(int column) const;

    // --- Resizing and best fit --------------------------------------------------------------
    TdxSizingBounds ColumnSizingBounds(int column) const;
    TdxSizingBounds BandSizingBounds(int position) const;
    // What a user's resize stores; raises OnChangedColumnsWidth.
    void ColumnResized(int column, int width);
    void BandResized(int position, int width);
    // Widens or narrows sizable columns to their content (every node's text, the tree part for
    // the first column, the caption); each call in one update lock, then
    // OnChangedColumnsWidth.
    void ApplyBestFit(TdxTreeListColumn* column);
    void ApplyBandBestFit(int bandIndex);
    void ApplyBestFitAll();
    // The width a best fit would give the column.
    int BestFitWidth(const TdxTreeListColumn* column) const;

    static constexpr int kIndicatorWidth = 12;
    // One tree level of the indent; the expand button's width.
    static constexpr int kIndentStep = 16;
    // A row with preview lines has a pixel above and one below them.
    static constexpr int kPreviewMargin = 2;
    static constexpr int kMaxSizingRight = 100000;

    // --- Painting (dxTLPaint.cpp) ---------------------------------------------------------
    // What a paint pass reads of selection, focus and scrolling. Each member left empty keeps
    // the list's own answer: no node selected or focused, column 0 focused, the list's
    // LeftCoord and TopVisibleNode, the keyboard focus as the platform reports it, the list's
    // hot-tracked node, no active new item row and no incremental search.
    struct TPaintStateHooks {
        std::function<bool(const TdxTreeListNode* node)> NodeSelected;
        std::function<TdxTreeListNode*()> FocusedNode;
        std::function<int()> FocusedColumn;
        std::function<int()> LeftCoord;
        std::function<TdxTreeListNode*()> TopNode;
        std::function<bool()> HasFocus;
        std::function<TdxTreeListNode*()> HotTrackNode;
        std::function<bool()> NewItemRowActive;
        // Bytes of the focused cell's text that an incremental search has matched (0: none).
        std::function<int()> SearchMatchLength;
    };
    TPaintStateHooks PaintStateHooks;
    // Nesting depth of paint passes in progress; 0 between passes.
    int PaintLockCount() const { return FPaintLockCount; }

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

    void ClearRowIndex() override;
    void RecalcLayout() override;
    void Loaded() override;
    void BeforeDestruction() override;
    void Notification(fw::TComponent* component, fw::TOperation operation) override;
    void Resize() override;
    // The re-sort that changes under the update lock left pending; sorting comes later.
    virtual void RunPendingResort() {}
    // Columns tell the list about edited values and validation.
    virtual void ColumnValueChanged(TdxTreeListColumn* column) { (void)column; }
    virtual void ColumnValidate(TdxTreeListColumn* column) { (void)column; }
    bool SettingUpEditor() const { return FSettingUpEditor; }
    // The left edge of the scrolling bands is moved left by this much (scrolling comes later).
    int LeftCoord() const { return FLeftCoord; }

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
    // Text output of a text cell: the cell filled and its text placed as the view data asks.
    static void DrawEditText(fw::TCanvas& canvas, const fw::TRect& cell,
                             const TdxTreeListCellViewData& data);
    // Called around the painting of a node: before its indent area, before and after each cell.
    virtual void BeforePaintNode(TdxTreeListNode* node) { (void)node; }
    virtual void BeforePaintCell(TdxTreeListNode* node) { (void)node; }
    virtual void AfterPaintCell(TdxTreeListNode* node) { (void)node; }
    // The view data of the cell being painted (valid from BeforePaintCell to AfterPaintCell).
    const TdxTreeListCellViewData& CellViewData() const { return FCellViewData; }
    // Marks drawn by inverting pixels (sizing line, drag arrows) leave before the outermost
    // paint pass and come back after it.
    virtual void HideInteractionMarks() {}
    virtual void ShowInteractionMarks() {}
    // The paint pass's view of selection, focus and scrolling (see TPaintStateHooks).
    virtual bool PaintNodeSelected(const TdxTreeListNode* node) const;
    virtual TdxTreeListNode* PaintFocusedNode() const;
    virtual int PaintFocusedColumn() const;
    virtual int PaintLeftCoord() const;
    virtual TdxTreeListNode* PaintTopNode() const;
    virtual bool PaintHasFocus() const;
    virtual TdxTreeListNode* PaintHotTrackNode() const;
    virtual bool PaintNewItemRowActive() const;
    virtual int PaintSearchMatchLength() const;
    void CMFontChanged(fw::TMessage& message);
    FW_DECLARE_MESSAGE_MAP()

private:
    // A paint pass in progress (dxTLPaint.cpp).
    struct TPaintPass;
    // Row footers under a node, and the parents they close appended to `parents` when given.
    int CollectRowFooters(const TdxTreeListNode* node,
                          std::vector<TdxTreeListNode*>* parents) const;
    // DrawCell's work between the node hooks: view data, column font, text output.
    void PaintCellContent(fw::TCanvas& canvas, const fw::TRect& rect, fw::TColor columnBrush,
                          fw::TColor columnColor, bool rightEdge, bool leftEdge, int cellKind,
                          bool multiLine, fw::TColor brush, fw::TColor textColor,
                          fw::TColor backgroundColor, bool focusedCell, bool selected,
                          int columnIndex, TdxTreeListNode* node);
    // The incremental search's mark on the focused cell.
    void PaintSearchMatch(fw::TCanvas& canvas, const fw::TRect& cell,
                          const TdxTreeListCellViewData& data, int matchLength);
    int FPaintLockCount = 0;
    TdxTreeListCellViewData FCellViewData;
    friend class TdxTreeListColumn;
    friend class TdxTreeListBand;
    friend class TdxTreeListBands;
    static TdxTreeListTextNode& TextNode(TdxTreeListNode* node);

    // Computed heights (dxTLLayout.cpp, section 2).
    struct THeights {
        int BandText = 0;
        int BandPanel = 0;
        int HeaderRow = 0;
        int HeaderPanel = 0;
        int Text = 0;
        int MinRow = 0;
        int Row = 0;
        int PreviewText = 0;
        int FooterRow = 0;
        int Footer = 0;
        int RowFooter = 0;
        int NewItemRow = 0;
        int HorzScrollStep = 0;
    };
    // A used header row of a band: its row number and its columns in column-list order.
    struct THeaderRow {
        int RowIndex = 0;
        std::vector<int> Columns;
    };
    struct TBandLayout {
        int Band = -1;
        std::vector<THeaderRow> Rows;
        int MinWidth = 0;
        int NaturalWidth = 0;
        int Width = 0;
        // Client x of the band's left edge.
        int Left = 0;
    };
    // The derived layout: band position lists, header layout lists, column widths and places.
    struct TLayoutLists {
        std::vector<int> BandOrder;
        std::vector<int> BandPositions;
        std::vector<TBandLayout> Bands;
        std::vector<int> ColumnWidths;
        // Client x of each shown column's left edge, its visible band position and its
        // position among the band's used rows (-1 when not shown).
        std::vector<int> ColumnLefts;
        std::vector<int> ColumnBandPositions;
        std::vector<int> ColumnRowPositions;
        int TotalWidth = 0;
    };

    // Layout (dxTLLayout.cpp)
    void CalcHeights();
    int FontTextHeight(const fw::TFont& font) const;
    fw::TCanvas* MeasureCanvas() const;
    const TLayoutLists& Layout() const;
    int HeaderRowSpan(const TLayoutLists& lists, int column) const;
    void BuildLayout(TLayoutLists& lists) const;
    void DropLayoutLists() const { FLayoutBuilt = false; }
    void CompactHeaderRows();
    void ApplyAutoHeaderPanelHeight();
    void ApplyDefaultLayout();
    void KeepFittedWidths();
    int HighestStoredRowIndex() const;
    void FitColumn(TdxTreeListColumn* column);

    // Columns and bands (dxTLColumns.cpp, dxTLBands.cpp)
    void AddColumn(TdxTreeListColumn* column);
    void RemoveColumn(TdxTreeListColumn* column);
    void MoveColumn(TdxTreeListColumn* column, int position);
    void ColumnChanged(TdxTreeListColumn* column, bool layout);
    void BandsChanged();
    void BandDeleted(int index);
    void BandMoved(int from, int to);
    void CopyFontToColumns();

    // Properties (dxTLProperties.cpp)
    void ApplyHeaderPanelRowCount(int count, bool clearsAutoHeight);
    void SetImageList(fw::TImageList*& slot, fw::TImageList* images);
    void ResolvePendingImages();
    void ResetSortedColumns();
    // A change of looks only: repaint unless the update lock is held or the list is loading.
    void ViewChanged();

    std::vector<TdxTreeListColumn*> FColumns;
    std::unique_ptr<TdxTreeListBands> FBands;
    THeights FHeights;
    mutable TLayoutLists FLayout;
    mutable TLayoutLists FScratchLayout;
    mutable bool FLayoutBuilt = false;
    mutable std::unique_ptr<fw::TBitmap> FMeasureBitmap;
    int FLeftCoord = 0;
    bool FSettingUpEditor = false;
    bool FCompacting = false;
    bool FChangingPanelFonts = false;

    int FBandRowCount = 1;
    int FBandMaxRowCount = 5;
    bool FDefaultLayout = true;
    int FHeaderMinRowCount = 1;
    int FHeaderPanelMaxRowCount = 5;
    int FHeaderPanelRowCount = 1;
    fw::TBorderStyle FBorderStyle = fw::bsSingle;
    bool FCtl3D = true;
    bool FParentCtl3D = true;
    fw::TColor FArrowsColor = 0x0000FF00;
    bool FAutoExpandOnSearch = true;
    fw::TColor FAutoSearchColor = fw::clNone;
    fw::TColor FAutoSearchTextColor = fw::clNone;
    bool FDblClkExpanding = true;
    fw::TColor FGroupNodeColor = fw::clBtnFace;
    fw::TColor FGroupNodeTextColor = fw::clNone;
    fw::TColor FRowFooterColor = fw::cl3DLight;
    fw::TColor FRowFooterTextColor = fw::clWindowText;
    fw::TColor FHeaderColor = fw::clBtnFace;
    fw::TColor FBandColor = fw::clBtnFace;
    fw::TFont FBandFont;
    fw::TFont FHeaderFont;
    fw::TFont FPreviewFont;
    bool FHideFocusRect = true;
    bool FHideSelection = true;
    fw::TImageList* FImages = nullptr;
    fw::TImageList* FStateImages = nullptr;
    std::string FPendingImagesName;
    std::string FPendingStateImagesName;
    int FIndentDesc = 20;
    std::string FIniFileName;
    std::string FIniSectionName;
    std::string FRegistryPath;
    fw::TColor FFixedBandLineColor = fw::clWindowFrame;
    int FFixedBandLineWidth = 2;
    TdxLookAndFeel FLookAndFeel = lfStandard;
    int FMaxRowLineCount = -1;
    TdxTreeListOptions FOptions{aoColumnSizing, aoColumnMoving, aoEditing, aoTabThrough,
                                aoRowSelect};
    TdxTreeListOptionsEx FOptionsEx{aoUseBitmap,  aoBandHeaderWidth, aoAutoCalcPreviewLines,
                                    aoBandSizing, aoBandMoving,      aoDragScroll,
                                    aoDragExpand};
    TdxTreeListPaintStyle FPaintStyle = psStandard;
    int FWrittenRowHeight = 0;
    bool FRowHeightWritten = false;
    int FRowSeparatorLineWidth = 1;
    int FPreviewLines = 2;
    fw::TColor FHighlightColor = fw::clHighlight;
    fw::TColor FHighlightTextColor = fw::clHighlightText;
    fw::TColor FTreeLineColor = fw::clGrayText;
    TdxTreeLineStyle FTreeLineStyle = tlDot;
    fw::TColor FHideSelectionColor = fw::clBtnFace;
    fw::TColor FHideSelectionTextColor = fw::clBtnText;
    int FWaitForExpandNodeTime = 500;
    TScrollStyle FScrollBars = ssBoth;
    int FCustomizingRowCount = 11;
    bool FShowBands = false;
    bool FShowGrid = false;
    bool FShowRowFooter = false;
    bool FShowIndicator = false;
    bool FShowNewItemRow = false;
    bool FShowFooter = false;
    bool FShowButtons = true;
    bool FShowPreviewGrid = true;
    bool FShowHeader = true;
    bool FShowLines = true;
    bool FShowRoot = true;
    bool FSimpleCustomizeBox = false;
    bool FShowHiddenInCustomizeBox = false;
    fw::TColor FGridLineColor = fw::clNone;
};

// The published tree list. Changes to the nodes ask for a re-sort, which waits for the last
// EndUpdate while the update lock is held.
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
    void RequestResort();
    // Sorting comes later; until then there is no order to restore.
    virtual void Resort() {}

private:
    bool FResortPending = false;
};

// TdxTreeList and TdxTreeListColumn for stored layouts: their published properties and events,
// the list's bands as a collection ("Bands = < item ... end >"), the node stream "Data"
// (hexadecimal digits, in one string or a list of strings) and the column's hidden
// "StoredRowIndex" and "SortedOrder". A column names its list with "TreeList"; Images and
// StateImages name an image list of the root.
void RegisterTreeList(fw::TPropertyRegistry& registry);

} // namespace dxtl
