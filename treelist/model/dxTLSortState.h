// What a tree list keeps of its sorting between calls: the sorted columns, the sort lock, the
// flags of one header click and whether a sort is running. Internal to treelist/; the sorting
// itself is dxTLSorting.cpp.
#pragma once

#include <algorithm>
#include <vector>

namespace dxtl {

class TdxTreeListColumn;

class TdxTreeListSortState {
public:
    // The columns that take part in sorting, in the order they were added (none of them is
    // csNone); the list does not own them.
    const std::vector<TdxTreeListColumn*>& Columns() const { return FColumns; }
    bool Contains(const TdxTreeListColumn* column) const {
        return std::find(FColumns.begin(), FColumns.end(), column) != FColumns.end();
    }
    void Append(TdxTreeListColumn* column) {
        if (!Contains(column))
            FColumns.push_back(column);
    }
    void Remove(const TdxTreeListColumn* column) {
        FColumns.erase(std::remove(FColumns.begin(), FColumns.end(), column), FColumns.end());
    }
    void Clear() { FColumns.clear(); }
    void Assign(std::vector<TdxTreeListColumn*> columns) { FColumns = std::move(columns); }

    // While above 0, writing a column's Sorted does not sort.
    int Lock = 0;
    // Set for the duration of one header click: Shift with aoMultiSort adds a key, Ctrl takes
    // the column out of sorting.
    bool MultiSortFlag = false;
    bool ClearSortFlag = false;
    // Sorts in progress (an OnCompare handler runs inside one).
    int Running = 0;

private:
    std::vector<TdxTreeListColumn*> FColumns;
};

} // namespace dxtl
