// Displayed rows <-> nodes. Internal to treelist/: the list keeps one and answers row numbers
// from it.
#pragma once

#include "treelist/model/dxTLNodePool.h"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace dxtl {

class TdxTreeListNode;

// Displayed rows <-> nodes: the nodes in row order, and each node's row number. A node in the
// list's node pool finds its row number at its slot number in a plain array, so a lookup is
// one step; the few nodes made outside the pool (by a CreateNode override using new) are kept
// in address order beside it. A stored row number counts only while the row list holds the
// node at that row, so a slot that a freed node left behind never answers for its next node.
// In use only while it holds rows.
class TdxTreeListRowIndex {
public:
    explicit TdxTreeListRowIndex(const TdxNodePool& pool) : FPool(pool) {}
    bool Empty() const { return FRows.empty(); }
    int Count() const { return static_cast<int>(FRows.size()); }
    void Clear();
    // Takes the displayed nodes in row order.
    void Build(std::vector<TdxTreeListNode*> rows);
    // -1 when the node has no row. Inline for a node in the pool: row queries come by the
    // million.
    int RowOf(const TdxTreeListNode* node) const {
        const int slot = FPool.SlotOf(node);
        if (slot < 0)
            return ForeignRowOf(node);
        if (std::size_t(slot) >= FRowOfSlot.size())
            return -1;
        const std::int32_t row = FRowOfSlot[std::size_t(slot)];
        return row >= 0 && row < Count() && FRows[std::size_t(row)] == node ? row : -1;
    }
    // None when out of range.
    TdxTreeListNode* NodeAt(int row) const;
    // Inserts a row at `row`; later rows move down by one.
    void Insert(TdxTreeListNode* node, int row);
    // Removes the node's row; later rows move up by one. False when it has none.
    bool Remove(const TdxTreeListNode* node);

private:
    using TForeign = std::pair<const TdxTreeListNode*, std::int32_t>;
    // The stored row number of the node (-1 for none): its slot entry or its foreign entry.
    std::int32_t* RowSlot(const TdxTreeListNode* node);
    int ForeignRowOf(const TdxTreeListNode* node) const;
    // Adds `delta` to every stored row number at or after `row`.
    void ShiftRows(std::int32_t row, std::int32_t delta);

    const TdxNodePool& FPool;
    std::vector<TdxTreeListNode*> FRows;
    // By pool slot number.
    std::vector<std::int32_t> FRowOfSlot;
    // Nodes outside the pool, ascending by address.
    std::vector<TForeign> FForeign;
};

} // namespace dxtl
