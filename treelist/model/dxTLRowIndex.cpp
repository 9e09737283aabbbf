// The row index: displayed rows <-> nodes, its full and incremental updates, and the row
// queries, which walk the tree whenever the index is not in use.
//
// Sections: the lists; keeping the index; row queries.
#include "treelist/dxTL.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace dxtl {

// --- the lists ------------------------------------------------------------------------------

namespace {

const auto kByAddress = [](const std::pair<const TdxTreeListNode*, std::int32_t>& entry,
                           const TdxTreeListNode* node) {
    return std::less<const TdxTreeListNode*>()(entry.first, node);
};

} // namespace

void TdxTreeListRowIndex::Clear() {
    // Released rather than kept: the index is dropped before bulk changes and clears.
    FRows = {};
    FRowOfSlot = {};
    FForeign = {};
}

void TdxTreeListRowIndex::Build(std::vector<TdxTreeListNode*> rows) {
    FRows = std::move(rows);
    FRowOfSlot.assign(std::size_t(FPool.SlotCount()), -1);
    FForeign.clear();
    for (std::size_t row = 0; row < FRows.size(); ++row) {
        const int slot = FPool.SlotOf(FRows[row]);
        if (slot >= 0)
            FRowOfSlot[std::size_t(slot)] = static_cast<std::int32_t>(row);
        else
            FForeign.emplace_back(FRows[row], static_cast<std::int32_t>(row));
    }
    std::sort(FForeign.begin(), FForeign.end(), [](const TForeign& a, const TForeign& b) {
        return std::less<const TdxTreeListNode*>()(a.first, b.first);
    });
}

std::int32_t* TdxTreeListRowIndex::RowSlot(const TdxTreeListNode* node) {
    const int slot = FPool.SlotOf(node);
    if (slot >= 0) {
        // Slots made since the last build.
        if (std::size_t(slot) >= FRowOfSlot.size())
            FRowOfSlot.resize(std::size_t(FPool.SlotCount()), -1);
        return &FRowOfSlot[std::size_t(slot)];
    }
    auto it = std::lower_bound(FForeign.begin(), FForeign.end(), node, kByAddress);
    if (it == FForeign.end() || it->first != node)
        it = FForeign.insert(it, {node, -1});
    return &it->second;
}

int TdxTreeListRowIndex::ForeignRowOf(const TdxTreeListNode* node) const {
    const auto it = std::lower_bound(FForeign.begin(), FForeign.end(), node, kByAddress);
    if (it == FForeign.end() || it->first != node)
        return -1;
    const std::int32_t row = it->second;
    return row >= 0 && row < Count() && FRows[std::size_t(row)] == node ? row : -1;
}

TdxTreeListNode* TdxTreeListRowIndex::NodeAt(int row) const {
    if (row < 0 || row >= Count())
        return nullptr;
    return FRows[static_cast<std::size_t>(row)];
}

void TdxTreeListRowIndex::ShiftRows(std::int32_t row, std::int32_t delta) {
    for (std::int32_t& r : FRowOfSlot)
        r += r >= row ? delta : 0;
    for (TForeign& entry : FForeign)
        entry.second += entry.second >= row ? delta : 0;
}

void TdxTreeListRowIndex::Insert(TdxTreeListNode* node, int row) {
    row = std::clamp(row, 0, Count());
    // Room first, so that a failing allocation leaves the index as it was.
    FRows.reserve(FRows.size() + 1);
    FForeign.reserve(FForeign.size() + 1);
    std::int32_t* stored = RowSlot(node);
    if (row < Count())
        ShiftRows(row, 1);
    *stored = row;
    FRows.insert(FRows.begin() + row, node);
}

bool TdxTreeListRowIndex::Remove(const TdxTreeListNode* node) {
    const int row = RowOf(node);
    if (row < 0)
        return false;
    *RowSlot(node) = -1;
    ShiftRows(row + 1, -1);
    FRows.erase(FRows.begin() + row);
    if (FPool.SlotOf(node) < 0)
        FForeign.erase(std::lower_bound(FForeign.begin(), FForeign.end(), node, kByAddress));
    return true;
}

// --- keeping the index -----------------------------------------------------------------------

bool TCustomdxTreeList::RowIndexUsable() const {
    return !FRowIndex.Empty() && !ListDestroying();
}

bool TCustomdxTreeList::EnsureRowIndex() const {
    if (RowIndexUsable())
        return true;
    // Built only where every later change keeps it in step: no lock (which drops it), no
    // loading (which skips the incremental updates), no clearing and no update in progress;
    // and not while nodes are being freed: a subtree being freed drops it, and building it
    // for each of its nodes would cost a walk of the whole tree per node.
    if (FLockUpdate != 0 || IsLoading() || ListDestroying() || FClearing || FPending.Node ||
        !FFreeing.empty() || FNodes.empty())
        return false;
    BuildRowIndex();
    return RowIndexUsable();
}

// Depth first in display order, with a stack instead of recursion: trees may be deep.
// `visit(node, its place in its sibling list)`; into every child list, or only open ones.
template <class TVisit> void TCustomdxTreeList::WalkNodes(bool expandedOnly, TVisit&& visit) const {
    struct TFrame {
        const TNodeList* List;
        std::size_t Next;
    };
    std::vector<TFrame> stack{{&FNodes, 0}};
    while (!stack.empty()) {
        TFrame& top = stack.back();
        if (top.Next == top.List->size()) {
            stack.pop_back();
            continue;
        }
        const std::size_t position = top.Next++;
        TdxTreeListNode* node = (*top.List)[position];
        visit(node, top.List->Place(position));
        if (node->FChildren && (node->FExpanded || !expandedOnly))
            stack.push_back({node->FChildren.get(), 0});
    }
}

std::vector<TdxTreeListNode*> TCustomdxTreeList::DisplayedRows() const {
    // A list without child lists shows its top-level nodes, and nothing else need be read.
    if (!FTreeSummary.MayHaveChildLists())
        return std::vector<TdxTreeListNode*>(FNodes.begin(), FNodes.end());
    std::vector<TdxTreeListNode*> rows;
    rows.reserve(FNodes.size());
    WalkNodes(true, [&rows](TdxTreeListNode* node, int place) {
        // Written only when wrong: most are right, and a write dirties the node's memory.
        if (node->FIndexHint != place)
            node->FIndexHint = place;
        rows.push_back(node);
    });
    return rows;
}

void TCustomdxTreeList::BuildRowIndex() const {
    FRowIndex.Build(DisplayedRows());
}

void TCustomdxTreeList::ClearRowIndex() {
    FRowIndex.Clear();
    ClearRowHeights();
}

void TCustomdxTreeList::ClearRowHeights() {
    if (FClearing || ListDestroying() || !FTreeSummary.MayHaveRowHeights())
        return;
    // Written only where set: a write dirties the node's memory, and most are clear already.
    WalkNodes(false, [](TdxTreeListNode* node, int) {
        if (node->FRowHeight != 0)
            node->FRowHeight = 0;
    });
    FTreeSummary.RowHeightsCleared();
}

void TCustomdxTreeList::RebuildRowIndex() {
    if (ListDestroying())
        return;
    TdxTreeListNode* node = FPending.Node;
    if (!node) {
        BuildRowIndex();
    } else if (FPending.WasVisible && RowIndexUsable()) {
        if (FPending.Removing) {
            if (FRowIndex.Remove(node))
                ClearLastChildHeight(node, true);
        } else if (FRowIndex.RowOf(node) < 0) {
            // The row goes before the node that follows it in the tree, collapsed or not;
            // that node is displayed whenever the new one is.
            TdxTreeListNode* follower = node->NextAfterSubtree();
            const int row = follower ? FRowIndex.RowOf(follower) : FRowIndex.Count();
            if (row < 0) {
                BuildRowIndex();
            } else {
                FRowIndex.Insert(node, row);
                ClearLastChildHeight(node, false);
            }
        }
    }
}

// The previous last child draws its tree line differently once it is no longer last.
void TCustomdxTreeList::ClearLastChildHeight(TdxTreeListNode* node, bool removing) {
    TdxTreeListNode* parent = node->FParent;
    if (!parent || !parent->FChildren)
        return;
    const int count = parent->ChildCount();
    if (removing) {
        if (FPending.WasLast)
            parent->Children(count - 1)->FRowHeight = 0;
    } else if (count > 1 && node->IsLast()) {
        parent->Children(count - 2)->FRowHeight = 0;
    }
}

void TCustomdxTreeList::UpdateRowIndexFor(TdxTreeListNode* node, bool wasVisible, bool last,
                                          bool removing) {
    FPending = {node, wasVisible, removing, last};
    try {
        RebuildRowIndex();
    } catch (...) {
        // A half-done update must not be used: drop the index, the next query rebuilds it.
        FPending = {};
        FRowIndex.Clear();
        throw;
    }
    FPending = {};
}

// --- row queries -----------------------------------------------------------------------------

namespace {

TdxTreeListNode* WalkNextRow(const TdxTreeListNode* node) {
    if (node->Expanded() && node->ChildCount() > 0)
        return node->GetFirstChild();
    return node->NextAfterSubtree();
}

TdxTreeListNode* WalkPrevRow(const TdxTreeListNode* node) {
    const int index = node->Index();
    if (index < 0)
        return nullptr;
    if (index == 0)
        return node->Parent();
    TdxTreeListNode* prev = node->GetPrevSibling();
    while (prev->Expanded() && prev->ChildCount() > 0)
        prev = prev->GetLastChild();
    return prev;
}

} // namespace

int TCustomdxTreeList::RowOf(const TdxTreeListNode* node) const {
    if (!node || FNodes.empty())
        return -1;
    // The index knows only this list's nodes.
    if (EnsureRowIndex())
        return FRowIndex.RowOf(node);
    if (node->FOwner != this)
        return -1;
    if (!node->IsVisible())
        return -1;
    int row = 0;
    for (const TdxTreeListNode* n = FNodes.front(); n; n = WalkNextRow(n), ++row)
        if (n == node)
            return row;
    return -1;
}

TdxTreeListNode* TCustomdxTreeList::NextRowOf(const TdxTreeListNode* node) const {
    if (EnsureRowIndex()) {
        const int row = FRowIndex.RowOf(node);
        return row < 0 ? nullptr : FRowIndex.NodeAt(row + 1);
    }
    return WalkNextRow(node);
}

TdxTreeListNode* TCustomdxTreeList::PrevRowOf(const TdxTreeListNode* node) const {
    if (EnsureRowIndex()) {
        const int row = FRowIndex.RowOf(node);
        return row <= 0 ? nullptr : FRowIndex.NodeAt(row - 1);
    }
    return WalkPrevRow(node);
}

int TCustomdxTreeList::AbsoluteCount() const {
    if (EnsureRowIndex())
        return FRowIndex.Count();
    int count = 0;
    for (const TdxTreeListNode* n = FNodes.empty() ? nullptr : FNodes.front(); n;
         n = WalkNextRow(n))
        ++count;
    return count;
}

TdxTreeListNode* TCustomdxTreeList::NodeAtAbsoluteIndex(int row) const {
    if (row < 0)
        return nullptr;
    if (EnsureRowIndex())
        return FRowIndex.NodeAt(row);
    TdxTreeListNode* n = FNodes.empty() ? nullptr : FNodes.front();
    for (int i = 0; n && i < row; ++i)
        n = WalkNextRow(n);
    return n;
}

TdxTreeListNode* TCustomdxTreeList::LastRowNode() const {
    if (FNodes.empty())
        return nullptr;
    TdxTreeListNode* node = FNodes.back();
    while (node->FExpanded && node->FChildren)
        node = node->FChildren->back();
    return node;
}

} // namespace dxtl
