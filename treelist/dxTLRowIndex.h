// Displayed rows <-> nodes. Internal to treelist/: the list keeps one and answers row numbers
// from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dxtl {

class TdxTreeListNode;

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

} // namespace dxtl
