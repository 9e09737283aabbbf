// Nodes: attributes through the owner's hooks, navigation, creation and destruction.
//
// Sections: attributes; position and navigation; adding children; freeing nodes.
#include "treelist/dxTL.h"

#include <algorithm>
#include <exception>
#include <optional>

namespace dxtl {

// The shipped program is 32-bit: there a text node takes 56 bytes of its list's node pool, so
// that with its entry in the top-level list a node with one short text stays under 64 bytes.
static_assert(sizeof(void*) != 4 || sizeof(TdxTreeListTextNode) <= 56,
              "a text node must stay within 56 bytes on the 32-bit target");

TdxTreeListNode::TdxTreeListNode(TCustomdxTreeList* owner) : FOwner(owner) {
    if (!owner)
        throw EInvaliddxTreeListOperation("Invalid Owner TdxTreeListNode");
}

TdxTreeListNode::~TdxTreeListNode() = default;

// --- attributes ------------------------------------------------------------------------------

void TdxTreeListNode::SetData(void* data) {
    if (FOwner->CanSetNodeData(this))
        FData = data;
}

int TdxTreeListNode::ImageIndex() const {
    return FOwner->GetNodeImageIndex(const_cast<TdxTreeListNode*>(this));
}

void TdxTreeListNode::SetImageIndex(int index) {
    FOwner->SetNodeImageIndex(this, index);
}

int TdxTreeListNode::SelectedIndex() const {
    return FOwner->GetNodeSelectedIndex(const_cast<TdxTreeListNode*>(this));
}

void TdxTreeListNode::SetSelectedIndex(int index) {
    FOwner->SetNodeSelectedIndex(this, index);
}

int TdxTreeListNode::StateIndex() const {
    return FOwner->GetNodeStateIndex(const_cast<TdxTreeListNode*>(this));
}

void TdxTreeListNode::SetStateIndex(int index) {
    FOwner->SetNodeStateIndex(this, index);
}

std::string TdxTreeListNode::Strings(int index) const {
    if (index < 0)
        fw::RaiseListIndexError(index);
    return FOwner->GetNodeString(const_cast<TdxTreeListNode*>(this), index);
}

void TdxTreeListNode::SetStrings(int index, std::string_view text) {
    if (index < 0)
        fw::RaiseListIndexError(index);
    FOwner->SetNodeString(this, index, text);
}

TdxValue TdxTreeListNode::Values(int index) const {
    if (index < 0)
        fw::RaiseListIndexError(index);
    return FOwner->GetNodeVariant(const_cast<TdxTreeListNode*>(this), index);
}

void TdxTreeListNode::SetValues(int index, const TdxValue& value) {
    if (index < 0)
        fw::RaiseListIndexError(index);
    FOwner->SetNodeVariant(this, index, value);
}

void TdxTreeListNode::SetCachedRowHeight(int height) const {
    FRowHeight = height > 0 && height <= UINT16_MAX ? std::uint16_t(height) : 0;
    if (FRowHeight != 0)
        FOwner->FTreeSummary.RowHeightCached();
}

void TdxTreeListNode::SetExpanded(bool expanded) {
    FOwner->SetNodeExpanded(this, expanded);
}

void TdxTreeListNode::Expand(bool recurse) {
    if (!FHasChildren)
        return;
    // An expansion handler may free the list, and this node with it.
    TCustomdxTreeList* const owner = FOwner;
    const fw::TLifeToken alive = owner->LifeToken();
    std::optional<TUpdateLock> lock;
    if (owner->UpdateLockCount() == 0)
        lock.emplace(*owner);
    SetExpanded(true);
    if (!alive)
        return;
    // Pre-order over the subtree without recursion: trees read from a stream can be as
    // deep as the stream is long.
    struct TFrame {
        TdxTreeListNode* Node;
        int NextChild;
    };
    std::vector<TFrame> stack;
    if (recurse)
        stack.push_back({this, 0});
    while (!stack.empty()) {
        TFrame& top = stack.back();
        TdxTreeListNode* child = top.Node->Children(top.NextChild++);
        if (!child) {
            stack.pop_back();
            continue;
        }
        if (child->FHasChildren) {
            child->SetExpanded(true);
            if (!alive)
                return;
            stack.push_back({child, 0});
        }
    }
}

void TdxTreeListNode::SetHasChildren(bool hasChildren) {
    if (hasChildren == FHasChildren)
        return;
    FHasChildren = hasChildren || ChildCount() > 0;
    FOwner->NodeChanged(this, false);
}

bool TdxTreeListNode::Focused() const {
    return FOwner->FocusedNode() == this;
}

void TdxTreeListNode::SetFocused(bool focused) {
    // Taking the focus away leaves it where it is: the list always has a focused node.
    if (!focused || Focused())
        return;
    FOwner->ChangeFocus(this, FOwner->FocusedColumn(), true);
}

bool TdxTreeListNode::Selected() const {
    return FOwner->IsNodeSelected(this);
}

void TdxTreeListNode::SetSelected(bool selected) {
    FOwner->SetNodeSelected(this, selected);
}

// --- position and navigation -----------------------------------------------------------------

const TdxTreeListNode::TNodeList* TdxTreeListNode::Siblings() const {
    if (FParent)
        return FParent->FChildren.get();
    return &FOwner->FNodes;
}

int TdxTreeListNode::ChildCount() const {
    return FChildren ? static_cast<int>(FChildren->size()) : 0;
}

TdxTreeListNode* TdxTreeListNode::Children(int index) const {
    if (index < 0 || index >= ChildCount())
        return nullptr;
    return (*FChildren)[static_cast<std::size_t>(index)];
}

int TdxTreeListNode::Index() const {
    const TNodeList* siblings = Siblings();
    if (!siblings || siblings->empty())
        return -1;
    const auto count = static_cast<int>(siblings->size());
    // Inserting or deleting before the node moves it by a little: look near the hint first.
    const int hint = std::clamp(siblings->IndexAt(FIndexHint), 0, count - 1);
    for (int distance = 0; hint - distance >= 0 || hint + distance < count; ++distance) {
        for (const int at : {hint - distance, hint + distance}) {
            if (at >= 0 && at < count && (*siblings)[std::size_t(at)] == this) {
                FIndexHint = siblings->Place(std::size_t(at));
                return at;
            }
        }
    }
    return -1;
}

int TdxTreeListNode::Level() const {
    int level = 0;
    for (const TdxTreeListNode* p = FParent; p; p = p->FParent)
        ++level;
    return level;
}

bool TdxTreeListNode::IsLast() const {
    const TNodeList* siblings = Siblings();
    return siblings && !siblings->empty() && siblings->back() == this;
}

bool TdxTreeListNode::IsVisible() const {
    for (const TdxTreeListNode* p = FParent; p; p = p->FParent)
        if (!p->FExpanded)
            return false;
    return true;
}

bool TdxTreeListNode::HasAsParent(const TdxTreeListNode* node) const {
    if (!node)
        return false;
    for (const TdxTreeListNode* p = FParent; p; p = p->FParent)
        if (p == node)
            return true;
    return false;
}

int TdxTreeListNode::AbsoluteIndex() const {
    return FOwner->RowOf(this);
}

void TdxTreeListNode::MakeVisible() {
    FOwner->MakeVisible(this);
}

TdxTreeListNode* TdxTreeListNode::GetFirstChild() const {
    return FChildren ? FChildren->front() : nullptr;
}

TdxTreeListNode* TdxTreeListNode::GetLastChild() const {
    return FChildren ? FChildren->back() : nullptr;
}

TdxTreeListNode* TdxTreeListNode::GetNextSibling() const {
    const int index = Index();
    if (index < 0)
        return nullptr;
    const TNodeList& siblings = *Siblings();
    if (std::size_t(index) + 1 >= siblings.size())
        return nullptr;
    TdxTreeListNode* next = siblings[std::size_t(index) + 1];
    next->FIndexHint = siblings.Place(std::size_t(index) + 1);
    return next;
}

TdxTreeListNode* TdxTreeListNode::GetPrevSibling() const {
    const int index = Index();
    if (index <= 0)
        return nullptr;
    const TNodeList& siblings = *Siblings();
    TdxTreeListNode* prev = siblings[std::size_t(index) - 1];
    prev->FIndexHint = siblings.Place(std::size_t(index) - 1);
    return prev;
}

TdxTreeListNode* TdxTreeListNode::GetNext() const {
    return FChildren ? FChildren->front() : NextAfterSubtree();
}

TdxTreeListNode* TdxTreeListNode::NextAfterSubtree() const {
    for (const TdxTreeListNode* n = this; n; n = n->FParent)
        if (TdxTreeListNode* sibling = n->GetNextSibling())
            return sibling;
    return nullptr;
}

TdxTreeListNode* TdxTreeListNode::GetPrev() const {
    TdxTreeListNode* node = GetPrevSibling();
    if (!node)
        return FParent;
    while (node->FChildren)
        node = node->FChildren->back();
    return node;
}

TdxTreeListNode* TdxTreeListNode::GetNextRow() const {
    return FOwner->NextRowOf(this);
}

TdxTreeListNode* TdxTreeListNode::GetPrevRow() const {
    return FOwner->PrevRowOf(this);
}

// --- adding children -------------------------------------------------------------------------

TdxTreeListNode* TdxTreeListNode::AddChild() {
    return FOwner->InsertChildNode(this, nullptr);
}

TdxTreeListNode* TdxTreeListNode::InsertChild(TdxTreeListNode* before) {
    return FOwner->InsertChildNode(this, before);
}

TdxTreeListNode* TCustomdxTreeList::CreateOwnedNode() {
    TdxTreeListNode* node = CreateNode();
    if (!node)
        throw EInvaliddxTreeListOperation("CreateNode made no node");
    if (node->FOwner != this) {
        node->FOwner->DisposeNode(node);
        throw EInvaliddxTreeListOperation("CreateNode made a node of another list");
    }
    return node;
}

TdxTreeListNode* TCustomdxTreeList::InsertChildNode(TdxTreeListNode* parent,
                                                    TdxTreeListNode* before) {
    CheckTreeCanChange("add a node");
    if (parent->FDeleting)
        throw EInvaliddxTreeListOperation("Cannot add a child to a node that is being freed");
    // Without children a reference node is ignored; with children it must be one of them.
    if (before && parent->FChildren && before->FParent != parent)
        throw EInvaliddxTreeListOperation("The node to insert before is not a child of this node");
    const int at = before && parent->FChildren ? before->Index() : -1;
    TdxTreeListNode* node = CreateOwnedNode();
    node->FParent = parent;
    try {
        if (!parent->FChildren) {
            parent->FChildren = std::make_unique<TNodeList>();
            FTreeSummary.ChildListMade();
        }
        TNodeList& children = *parent->FChildren;
        if (at < 0) {
            children.push_back(node);
            node->FIndexHint = children.Place(children.size() - 1);
        } else {
            children.insert(std::size_t(at), node);
            node->FIndexHint = children.Place(std::size_t(at));
        }
    } catch (...) {
        if (parent->FChildren && parent->FChildren->empty())
            parent->FChildren.reset();
        DisposeNode(node);
        throw;
    }
    parent->SetHasChildren(true);
    NodeAdded(node);
    return node;
}

// --- freeing nodes ---------------------------------------------------------------------------

void TCustomdxTreeList::DisposeNode(TdxTreeListNode* node) noexcept {
    ++FNodesFreed;
    // Nodes from NewNode live in the pool; those a CreateNode override made with new do not.
    if (FNodePool.Owns(node)) {
        node->~TdxTreeListNode();
        FNodePool.Release(node);
    } else {
        delete node;
    }
}

void TdxTreeListNode::Free() {
    FOwner->CheckCanFree(this);
    FOwner->FreeSubtree(this);
}

void TdxTreeListNode::DeleteChildren() {
    FOwner->CheckCanFree(this);
    // Displayed children taken out of the row index one by one would shift every later row
    // once per child: the index is dropped instead (see FreeSubtree).
    if (FExpanded && FChildren && IsVisible())
        FOwner->FRowIndex.Clear();
    std::exception_ptr firstError;
    while (TdxTreeListNode* child = GetFirstChild()) {
        // The first child: known to be at place 0, whatever it remembers.
        child->FIndexHint = FChildren->Place(0);
        try {
            FOwner->FreeSubtree(child);
        } catch (...) {
            if (!firstError)
                firstError = std::current_exception();
        }
    }
    if (firstError)
        std::rethrow_exception(firstError);
}

void TCustomdxTreeList::CheckTreeCanChange(const char* operation) const {
    if (FClearing)
        throw EInvaliddxTreeListOperation(std::string("Cannot ") + operation +
                                          " while the list clears its nodes");
    if (SortingNodes())
        throw EInvaliddxTreeListOperation(std::string("Cannot ") + operation +
                                          " while the list sorts its nodes");
}

std::span<TdxTreeListNode* const> TCustomdxTreeList::Siblings(const TdxTreeListNode* parent) const {
    if (!parent)
        return FNodes.Span();
    if (!parent->FChildren)
        return {};
    return parent->FChildren->Span();
}

void TCustomdxTreeList::ReorderSiblings(TdxTreeListNode* parent,
                                        std::span<TdxTreeListNode* const> order) {
    TNodeList* list = parent ? parent->FChildren.get() : &FNodes;
    if (!list || list->size() != order.size())
        throw EInvaliddxTreeListOperation("A new order must hold the same nodes");
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (order[i]->FParent != parent || order[i]->FOwner != this)
            throw EInvaliddxTreeListOperation("A new order must hold the same nodes");
    }
    for (std::size_t i = 0; i < order.size(); ++i) {
        (*list)[i] = order[i];
        order[i]->FIndexHint = list->Place(i);
    }
}

void TCustomdxTreeList::CheckCanFree(const TdxTreeListNode* node) const {
    CheckTreeCanChange("free nodes");
    // A handler of a deletion in progress must not free what that deletion is walking.
    bool busy = false;
    for (const TdxTreeListNode* p = node; p && !busy; p = p->FParent)
        busy = p->FDeleting;
    for (const TdxTreeListNode* root : FFreeing)
        busy = busy || root == node || root->HasAsParent(node);
    if (busy)
        throw EInvaliddxTreeListOperation(
            "Cannot free a node while it, an ancestor or a descendant is being freed");
}

void TCustomdxTreeList::FreeSubtree(TdxTreeListNode* root) {
    struct TFreeing {
        std::vector<TdxTreeListNode*>& Roots;
        explicit TFreeing(std::vector<TdxTreeListNode*>& roots, TdxTreeListNode* root)
            : Roots(roots) {
            Roots.push_back(root);
        }
        ~TFreeing() { Roots.pop_back(); }
    } freeing(FFreeing, root);

    // Iterative, children first and in order: a tree can be as deep as it has nodes.
    std::exception_ptr firstError;
    auto destroy = [&](TdxTreeListNode* node) {
        try {
            DestroyNode(node);
        } catch (...) {
            if (!firstError)
                firstError = std::current_exception();
        }
    };
    root->FDeleting = true;
    if (!FClearing && !root->FChildren) {
        destroy(root);
    } else if (!FClearing) {
        // Taking a displayed subtree out of the row index row by row would shift every later
        // row once per node: the index is dropped instead and built again when next asked.
        TdxTreeListNode* const rootParent = root->FParent;
        const bool dropIndex = root->FExpanded && !FRowIndex.Empty() && root->IsVisible();
        const bool rootWasLast = dropIndex && root->IsLast();
        if (dropIndex)
            FRowIndex.Clear();
        // One child at a time, always the first, so that every handler sees a whole tree.
        TdxTreeListNode* node = root;
        for (;;) {
            if (TdxTreeListNode* child = node->GetFirstChild()) {
                child->FDeleting = true;
                // Known to be at place 0, whatever it remembers.
                child->FIndexHint = node->FChildren->Place(0);
                node = child;
                continue;
            }
            TdxTreeListNode* parent = node->FParent;
            const bool done = node == root;
            destroy(node);
            if (done)
                break;
            node = parent;
        }
        // What the incremental removal of the root would have done: the new last child draws
        // its tree line differently.
        if (rootWasLast && rootParent && rootParent->FChildren)
            rootParent->FChildren->back()->FRowHeight = 0;
    } else if (!root->FChildren) {
        destroy(root);
    } else {
        // Clearing everything: each node's child list is detached before its children go.
        struct TFrame {
            TdxTreeListNode* Node;
            std::unique_ptr<TNodeList> Children;
            std::size_t Next = 0;
        };
        std::vector<TFrame> stack;
        stack.push_back({root, std::move(root->FChildren)});
        while (!stack.empty()) {
            TFrame& top = stack.back();
            if (top.Children && top.Next < top.Children->size()) {
                TdxTreeListNode* child = (*top.Children)[top.Next++];
                child->FDeleting = true;
                stack.push_back({child, std::move(child->FChildren)});
                continue;
            }
            TdxTreeListNode* node = top.Node;
            stack.pop_back();
            destroy(node);
        }
    }
    if (firstError)
        std::rethrow_exception(firstError);
}

void TCustomdxTreeList::DestroyNode(TdxTreeListNode* node) {
    TdxTreeListNode* parent = node->FParent;
    TdxTreeListNode* previous = nullptr;
    TdxTreeListNode* next = nullptr;
    bool last = false;
    bool visible = false;
    if (FClearing) {
        FPendingWasVisible = false;
    } else {
        previous = node->GetPrevSibling();
        if (!previous)
            previous = parent;
        next = node->GetNextRow();
        last = node->IsLast();
        visible = node->IsVisible();
        FPendingWasVisible = visible;
        if (parent && parent->FDeleting)
            visible = false;
    }

    if (parent) {
        if (parent->FChildren) {
            TNodeList& siblings = *parent->FChildren;
            const int index = node->Index();
            if (index >= 0)
                siblings.erase(std::size_t(index));
            if (siblings.empty()) {
                parent->FChildren.reset();
                parent->FHasChildren = NodeHasChildren(parent);
                parent->FExpanded = false;
            }
        }
    } else if (!FClearing) {
        const int index = node->Index();
        if (index >= 0)
            FNodes.erase(std::size_t(index));
    }

    TNeighbours neighbours{node, previous, next};
    FNeighbours.push_back(&neighbours);
    std::exception_ptr error;
    try {
        NodeDeleted(node, previous, next, last, visible);
    } catch (...) {
        error = std::current_exception();
    }
    FNeighbours.pop_back();
    // Deletions further out may still aim at this node.
    for (TNeighbours* outer : FNeighbours) {
        if (outer->Previous == node)
            outer->Previous = neighbours.Previous ? neighbours.Previous : neighbours.Next;
        if (outer->Next == node)
            outer->Next = neighbours.Next ? neighbours.Next : neighbours.Previous;
    }
    FPendingWasVisible = false;
    DisposeNode(node);
    if (error)
        std::rethrow_exception(error);
}

} // namespace dxtl
