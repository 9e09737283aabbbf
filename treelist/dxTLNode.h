// A node of a tree list and the text node that keeps its own indexes and texts.
#pragma once

#include "treelist/dxTLTypes.h"
#include "treelist/model/dxTLNodeList.h"
#include "treelist/model/dxTLNodeStrings.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace dxtl {

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
    // it answers queries on a const list. Kept small, since every node carries it: a value too
    // large for the cache is not cached and reads as 0, so it is measured again when needed.
    int CachedRowHeight() const { return FRowHeight; }
    void SetCachedRowHeight(int height) const;
    int CachedRowLineCount() const { return FRowLineCount; }
    void SetCachedRowLineCount(int lines) {
        FRowLineCount = lines > 0 && lines <= UINT8_MAX ? std::uint8_t(lines) : 0;
    }

protected:
    // Nodes go through Free, which needs the whole object for the deletion events.
    virtual ~TdxTreeListNode();

private:
    friend class TCustomdxTreeList;
    using TNodeList = TdxNodeList;
    const TNodeList* Siblings() const;

    TCustomdxTreeList* FOwner;
    TdxTreeListNode* FParent = nullptr;
    // Created with the first child and freed with the last: a leaf holds no list.
    std::unique_ptr<TNodeList> FChildren;
    void* FData = nullptr;
    // The storage place (TdxNodeList::Place) where Index last found the node; checked first,
    // so sequential sibling walks and freeing the first child again and again stay cheap.
    mutable int FIndexHint = 0;
    // The fields below share one 32-bit word: a text node stays within 56 bytes on the 32-bit
    // target, so that a node with one short text costs under 64 bytes with its list entry.
    mutable std::uint16_t FRowHeight = 0;
    std::uint8_t FRowLineCount = 0;
    bool FDeleting : 1 = false;
    bool FExpanded : 1 = false;
    bool FHasChildren : 1 = false;
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

} // namespace dxtl
