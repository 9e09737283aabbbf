// Sorting of a tree list: the sort state (sorted columns, the sort lock, header clicks, the
// stored order), the keys, the comparisons and the sort of every sibling list.
//
// Sections:
//   1. sort state   - sorted columns, the sort column, writing Sorted, header clicks, loading
//   2. keys         - a node's sort value; one sibling list's keys in one buffer
//   3. comparisons  - texts by bytes or by the locale, multi-key records, OnCompare
//   4. sorting      - a merge sort that stays in bounds, sibling lists by depth, Resort
//
// Call flow: a header click -> ColumnClicked -> OnColumnClick, SortByColumnClick ->
// OnColumnSorting -> TdxTreeListColumn::SetSorted -> WriteColumnSorted -> SortNodes (inside
// the update lock, whose end rebuilds the row index and repaints). Node changes ->
// TdxTreeList::RequestResort -> Resort (at once, or from the layout recalculation of the last
// EndUpdate) -> SortNodes.
#include "treelist/dxTL.h"
#include "treelist/dxTLControlParts.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>

namespace dxtl {

using namespace fw;

int TCustomdxTreeListControl::SortedColumnCount() const {
    return static_cast<int>(FParts->Sort.Columns().size());
}

bool TCustomdxTreeListControl::Sorting() const {
    return FParts->Sort.Running > 0;
}

// =============================================================================================
// 1. sort state

TdxTreeListColumn* TCustomdxTreeListControl::SortedColumns(int index) const {
    const auto& columns = FParts->Sort.Columns();
    return index >= 0 && index < static_cast<int>(columns.size()) ? columns[std::size_t(index)]
                                                                  : nullptr;
}

void TCustomdxTreeListControl::ResetSortState() {
    FParts->Sort.Clear();
    for (TdxTreeListColumn* column : FColumns)
        column->FSorted = csNone;
}

TdxTreeListColumn* TCustomdxTreeListControl::GetSortColumn() {
    TdxTreeListColumn* first = nullptr;
    for (TdxTreeListColumn* column : FColumns)
        if (column->FSorted != csNone) {
            first = column;
            break;
        }
    if (!FOptionsEx.Contains(aoMultiSort))
        return first;
    if (!FParts->Sort.Columns().empty())
        return FParts->Sort.Columns().front();
    if (first)
        FParts->Sort.Append(first);
    return first;
}

void TCustomdxTreeListControl::WriteColumnSorted(TdxTreeListColumn* column,
                                                 TdxTreeListColumnSort sorted) {
    const TLifeToken alive = LifeToken();
    const TLifeToken columnAlive = column->LifeToken();
    const bool autoSort = FOptions.Contains(aoAutoSort);
    if (sorted != csNone) {
        const TUpdateLock lock(*this);
        // A plain click leaves one column sorted; Shift with aoMultiSort adds one.
        if (autoSort && !FParts->Sort.MultiSortFlag && FParts->Sort.Lock == 0)
            ResetSortState();
        column->FSorted = sorted;
        if (FOptionsEx.Contains(aoMultiSort))
            GetSortColumn();
        FParts->Sort.Append(column);
        if (autoSort && FParts->Sort.Lock == 0)
            SortNodes(-1, column->FieldIndex(), sorted == csDown);
        return;
    }
    {
        const TTemporaryValue locked(*this, FParts->Sort.Lock, FParts->Sort.Lock + 1);
        column->FSorted = csNone;
        FParts->Sort.Remove(column);
    }
    // The remaining first sorted column orders the nodes; with none left they stay as they are.
    if (FParts->Sort.Lock == 0)
        Resort();
    if (alive && columnAlive)
        column->Changed(true);
}

void TCustomdxTreeListControl::ColumnClicked(int column, bool multiSort, bool clearSort) {
    if (column < 0 || column >= ColumnCount())
        return;
    TdxTreeListColumn* clicked = FColumns[std::size_t(column)];
    const TLifeToken alive = LifeToken();
    const TLifeToken columnAlive = clicked->LifeToken();
    const TTemporaryValue multiSortFlag(*this, FParts->Sort.MultiSortFlag,
                                        multiSort && FOptionsEx.Contains(aoMultiSort));
    const TTemporaryValue clearSortFlag(*this, FParts->Sort.ClearSortFlag, clearSort);
    if (OnColumnClick)
        OnColumnClick(this, clicked);
    if (alive && columnAlive && FOptions.Contains(aoAutoSort))
        SortByColumnClick(clicked);
}

void TCustomdxTreeListControl::SortByColumnClick(TdxTreeListColumn* column) {
    if (!column || column->TreeList() != this)
        return;
    const TLifeToken alive = LifeToken();
    const TLifeToken columnAlive = column->LifeToken();
    bool allow = true;
    if (OnColumnSorting)
        OnColumnSorting(this, column, allow);
    if (!allow || !alive || !columnAlive || column->TreeList() != this)
        return;
    TdxTreeListColumnSort next = csUp;
    if (FParts->Sort.ClearSortFlag)
        next = csNone;
    else if (column->Sorted() == csUp)
        next = csDown;
    column->SetSorted(next);
}

TdxTreeListColumnSort TCustomdxTreeListControl::DisplayedSortState(int column) {
    if (column < 0 || column >= ColumnCount())
        return csNone;
    TdxTreeListColumn* c = FColumns[std::size_t(column)];
    TdxTreeListColumnSort sorted = c->Sorted();
    if (OnColumnSorted)
        OnColumnSorted(this, c, sorted);
    return sorted;
}

void TCustomdxTreeListControl::LoadSortedColumns() {
    std::vector<TdxTreeListColumn*> sorted;
    for (TdxTreeListColumn* column : FColumns)
        if (column->FSorted != csNone)
            sorted.push_back(column);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const TdxTreeListColumn* a, const TdxTreeListColumn* b) {
                         return a->SortedOrder() < b->SortedOrder();
                     });
    FParts->Sort.Assign(std::move(sorted));
}

int TCustomdxTreeListControl::StoredSortedOrder(const TdxTreeListColumn* column) const {
    const auto& columns = FParts->Sort.Columns();
    if (!FOptionsEx.Contains(aoMultiSort) || columns.size() < 2 || column->Sorted() == csNone)
        return -1;
    const auto at = std::find(columns.begin(), columns.end(), column);
    return at == columns.end() ? -1 : static_cast<int>(at - columns.begin());
}

// =============================================================================================
// 2. keys

std::string TCustomdxTreeListControl::GetNodeSortValue(TdxTreeListNode* node, int fieldIndex) {
    std::string text = fieldIndex >= 0 ? GetNodeString(node, fieldIndex) : std::string();
    // Keys compare up to their first zero byte.
    if (const std::size_t zero = text.find('\0'); zero != std::string::npos)
        text.resize(zero);
    if (!FOptions.Contains(aoCaseInsensitive))
        return text;
    if (HasPlatform())
        return Platform().UpperCaseLocale(text);
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

namespace {

// One key of one node: its text lies in the list's key buffer; the first eight bytes, big-end
// first and zero-padded, decide most comparisons without reading the buffer. Keys hold no zero
// byte, so the padding cannot be taken for text.
struct TSortKey {
    std::uint64_t Prefix = 0;
    std::size_t Offset = 0;
    std::uint32_t Length = 0;
};

struct TSortRecord {
    TdxTreeListNode* Node;
    TSortKey Key;
    std::uint32_t Index; // position before sorting: where its further keys are
};

constexpr std::size_t kPrefixBytes = sizeof(std::uint64_t);

TSortKey AppendKey(std::string& buffer, std::string_view text) {
    TSortKey key;
    key.Offset = buffer.size();
    key.Length = static_cast<std::uint32_t>(text.size());
    buffer.append(text);
    for (std::size_t i = 0; i < kPrefixBytes; ++i) {
        key.Prefix <<= 8;
        if (i < text.size())
            key.Prefix |= static_cast<unsigned char>(text[i]);
    }
    return key;
}

std::string_view KeyText(const std::string& buffer, const TSortKey& key) {
    return std::string_view(buffer).substr(key.Offset, key.Length);
}

// =============================================================================================
// 3. comparisons

int Sign(int value) {
    return value < 0 ? -1 : value > 0 ? 1 : 0;
}

// Byte by byte as unsigned values; a text that is the start of the other comes first.
int CompareBytes(const std::string& buffer, const TSortKey& a, const TSortKey& b) {
    if (a.Prefix != b.Prefix)
        return a.Prefix < b.Prefix ? -1 : 1;
    const std::uint32_t shorter = std::min(a.Length, b.Length);
    if (shorter > kPrefixBytes) {
        const int c = std::memcmp(buffer.data() + a.Offset + kPrefixBytes,
                                  buffer.data() + b.Offset + kPrefixBytes, shorter - kPrefixBytes);
        if (c != 0)
            return Sign(c);
    }
    return a.Length < b.Length ? -1 : a.Length > b.Length ? 1 : 0;
}

// The locale decides between different texts; texts it calls equal without being the same
// bytes fall back to the byte order, so that the order stays one consistent order.
int CompareLocale(const IPlatform* platform, const std::string& buffer, const TSortKey& a,
                  const TSortKey& b) {
    const int bytes = CompareBytes(buffer, a, b);
    if (bytes == 0 || !platform)
        return bytes;
    const int locale = Sign(platform->CompareTextLocale(KeyText(buffer, a), KeyText(buffer, b)));
    return locale != 0 ? locale : bytes;
}

// Node addresses compared, never subtracted: a difference may not fit an int.
int CompareAddresses(const TdxTreeListNode* a, const TdxTreeListNode* b) {
    const std::less<const TdxTreeListNode*> less;
    return less(a, b) ? -1 : less(b, a) ? 1 : 0;
}

// =============================================================================================
// 4. sorting

// A stable merge sort whose every step stays inside the range, whatever `less` answers (a
// comparison handler need not be consistent); insertion sort on short runs first.
template <class T, class TLess> void MergeSort(std::vector<T>& items, TLess less) {
    constexpr std::size_t kRun = 16;
    const std::size_t n = items.size();
    for (std::size_t start = 0; start < n; start += kRun) {
        const std::size_t end = std::min(start + kRun, n);
        for (std::size_t i = start + 1; i < end; ++i) {
            T value = items[i];
            std::size_t j = i;
            for (; j > start && less(value, items[j - 1]); --j)
                items[j] = items[j - 1];
            items[j] = value;
        }
    }
    if (n <= kRun)
        return;
    std::vector<T> merged(n);
    for (std::size_t width = kRun; width < n; width *= 2) {
        for (std::size_t low = 0; low < n; low += 2 * width) {
            const std::size_t middle = std::min(low + width, n);
            const std::size_t high = std::min(low + 2 * width, n);
            std::size_t i = low;
            std::size_t j = middle;
            std::size_t out = low;
            while (i < middle && j < high)
                merged[out++] = less(items[j], items[i]) ? items[j++] : items[i++];
            while (i < middle)
                merged[out++] = items[i++];
            while (j < high)
                merged[out++] = items[j++];
        }
        items.swap(merged);
    }
}

} // namespace

// The keys and the comparison of one SortNodes call, applied to one sibling list at a time.
class TCustomdxTreeListControl::TSorter {
public:
    TSorter(TCustomdxTreeListControl& list, int fieldIndex, bool descending) : FList(list) {
        const auto& sorted = list.FParts->Sort.Columns();
        if (list.FOptionsEx.Contains(aoMultiSort) && sorted.size() > 1) {
            for (const TdxTreeListColumn* column : sorted)
                FKeys.push_back({column->FieldIndex(), column->Sorted() == csDown});
        } else {
            FKeys.push_back({fieldIndex, descending});
        }
        if (list.OnCompare)
            FComparison = kHandler;
        else if (list.FOptionsEx.Contains(aoAnsiSort))
            FComparison = kLocale;
        if (list.HasPlatform())
            FPlatform = &list.Platform();
    }

    // Sorts the children of `parent` (the top-level nodes for none). False when a comparison
    // handler freed the list: nothing of it may be touched then.
    bool SortList(TdxTreeListNode* parent) const {
        const std::span<TdxTreeListNode* const> siblings = FList.Siblings(parent);
        if (siblings.size() < 2)
            return true;
        std::vector<TSortRecord> records;
        records.reserve(siblings.size());
        for (std::size_t i = 0; i < siblings.size(); ++i)
            records.push_back({siblings[i], {}, static_cast<std::uint32_t>(i)});
        if (FComparison == kHandler) {
            if (!SortByHandler(records))
                return false;
        } else {
            SortByKeys(records);
        }
        std::vector<TdxTreeListNode*> order;
        order.reserve(records.size());
        for (const TSortRecord& record : records)
            order.push_back(record.Node);
        FList.ReorderSiblings(parent, order);
        return true;
    }

private:
    enum TComparison { kPlain, kLocale, kHandler };
    struct TKeyColumn {
        int FieldIndex;
        bool Descending;
    };

    void SortByKeys(std::vector<TSortRecord>& records) const {
        const std::size_t extra = FKeys.size() - 1;
        std::string buffer;
        std::vector<TSortKey> further(records.size() * extra);
        for (TSortRecord& record : records) {
            record.Key =
                AppendKey(buffer, FList.GetNodeSortValue(record.Node, FKeys[0].FieldIndex));
            for (std::size_t k = 1; k <= extra; ++k)
                further[record.Index * extra + k - 1] =
                    AppendKey(buffer, FList.GetNodeSortValue(record.Node, FKeys[k].FieldIndex));
        }
        const auto compareRecords = [&](auto compareKeys) {
            return [&, compareKeys](const TSortRecord& a, const TSortRecord& b) {
                int c = compareKeys(a.Key, b.Key);
                if (c != 0)
                    return (FKeys[0].Descending ? -c : c) < 0;
                for (std::size_t k = 1; k <= extra; ++k) {
                    c = compareKeys(further[a.Index * extra + k - 1],
                                    further[b.Index * extra + k - 1]);
                    if (c != 0)
                        return (FKeys[k].Descending ? -c : c) < 0;
                }
                return CompareAddresses(a.Node, b.Node) < 0;
            };
        };
        if (FComparison == kLocale)
            MergeSort(records, compareRecords([&](const TSortKey& a, const TSortKey& b) {
                          return CompareLocale(FPlatform, buffer, a, b);
                      }));
        else
            MergeSort(records, compareRecords([&](const TSortKey& a, const TSortKey& b) {
                          return CompareBytes(buffer, a, b);
                      }));
    }

    // OnCompare's answers as they come: no keys, directions or address order.
    bool SortByHandler(std::vector<TSortRecord>& records) const {
        struct TListGone {};
        const TLifeToken alive = FList.LifeToken();
        try {
            MergeSort(records, [&](const TSortRecord& a, const TSortRecord& b) {
                int compare = 0;
                FList.OnCompare(&FList, a.Node, b.Node, compare);
                if (!alive)
                    throw TListGone{};
                return compare < 0;
            });
        } catch (const TListGone&) {
            return false;
        }
        return true;
    }

    TCustomdxTreeListControl& FList;
    std::vector<TKeyColumn> FKeys;
    TComparison FComparison = kPlain;
    const IPlatform* FPlatform = nullptr;
};

namespace {

// The hourglass while a sort runs (aoShowHourGlass), and what showed before afterwards.
class TBusyCursor {
public:
    TBusyCursor(bool show, IPlatform* platform) {
        if (show && platform) {
            FPlatform = platform;
            FPrevious = platform->ShowCursorNow(crHourGlass);
        }
    }
    ~TBusyCursor() {
        if (FPlatform)
            FPlatform->RestoreShownCursor(FPrevious);
    }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;

private:
    IPlatform* FPlatform = nullptr;
    std::uintptr_t FPrevious = 0;
};

} // namespace

void TCustomdxTreeListControl::SortNodes(int depth, int fieldIndex, bool descending) {
    depth = std::max(depth, -1);
    const TLifeToken alive = LifeToken();
    const TSorter sorter(*this, fieldIndex, descending);
    TBusyCursor busy(FOptionsEx.Contains(aoShowHourGlass), HasPlatform() ? &Platform() : nullptr);
    const TUpdateLock lock(*this);
    ++FParts->Sort.Running;
    const TScopeExit running(*this, [this] { --FParts->Sort.Running; });
    SortSiblingLists(depth, sorter);
}

// Depth -1: a list, then its members' lists in its new order, depth first. Depth k: the lists
// of the nodes k - 1 levels below the top (the top-level list for 0).
bool TCustomdxTreeListControl::SortSiblingLists(int depth, const TSorter& sorter) {
    if (depth == 0)
        return sorter.SortList(nullptr);
    if (depth < 0 && !sorter.SortList(nullptr))
        return false;
    struct TLevel {
        TdxTreeListNode* Parent;
        std::size_t Next;
    };
    std::vector<TLevel> path{{nullptr, 0}};
    while (!path.empty()) {
        const std::span<TdxTreeListNode* const> siblings = Siblings(path.back().Parent);
        if (path.back().Next >= siblings.size()) {
            path.pop_back();
            continue;
        }
        TdxTreeListNode* node = siblings[path.back().Next++];
        if (node->ChildCount() == 0)
            continue;
        // The node's level is the length of the path below the top: path.size() - 1.
        const int level = static_cast<int>(path.size()) - 1;
        if (depth < 0 || level == depth - 1)
            if (!sorter.SortList(node))
                return false;
        if (depth < 0 || level < depth - 1)
            path.push_back({node, 0});
    }
    return true;
}

void TCustomdxTreeListControl::Resort() {
    if (!FOptions.Contains(aoAutoSort))
        return;
    const TUpdateLock lock(*this);
    TdxTreeListColumn* column = GetSortColumn();
    if (column && column->Sorted() != csNone)
        SortNodes(-1, column->FieldIndex(), column->Sorted() == csDown);
}

} // namespace dxtl
