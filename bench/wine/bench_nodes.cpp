// The tree list's node figures on the shipped target: a 32-bit Windows program, run under Wine
// by bench/run-wine.sh. No benchmark library or Qt exists for that target, so this program
// times its workloads itself and measures memory as the growth of the process heaps in use
// (every busy block with its header, as HeapWalk reports them). It uses only the list's public
// node model, so the same source builds against an older tree as the baseline of the run.
//
// Output: one "name value" line per figure.
//
// Sections: heap; timing; figures; main.
#include "../NodeWorkloads.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace varnel_bench;

// --- heap ------------------------------------------------------------------------------------

// Bytes in busy blocks of every heap of the process, headers included.
unsigned long long HeapInUse() {
    std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
    heaps.resize(GetProcessHeaps(DWORD(heaps.size()), heaps.data()));
    unsigned long long total = 0;
    for (HANDLE heap : heaps) {
        if (!HeapLock(heap))
            continue;
        PROCESS_HEAP_ENTRY entry;
        entry.lpData = nullptr;
        while (HeapWalk(heap, &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                total += entry.cbData + entry.cbOverhead;
        HeapUnlock(heap);
    }
    return total;
}

// --- timing --------------------------------------------------------------------------------

double Ms(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from)
        .count();
}

// --- figures ---------------------------------------------------------------------------------

void AddAndClear() {
    TList list = NewList();
    auto start = std::chrono::steady_clock::now();
    list->BeginUpdate();
    AddFlat(*list, kMillion);
    list->EndUpdate();
    std::printf("add_1m_locked_ms %.2f\n", Ms(start));
    start = std::chrono::steady_clock::now();
    list->ClearNodes();
    std::printf("clear_1m_ms %.2f\n", Ms(start));
}

void BytesPerNode() {
    const unsigned long long before = HeapInUse();
    TList list = NewList();
    list->BeginUpdate();
    AddFlat(*list, kMillion);
    const unsigned long long nodes = HeapInUse() - before;
    list->EndUpdate();
    const unsigned long long withIndex = HeapInUse() - before;
    std::printf("bytes_per_node %.2f\n", double(nodes) / kMillion);
    std::printf("bytes_per_node_with_row_index %.2f\n", double(withIndex) / kMillion);
}

// 1,000,000 displayed rows: top-level nodes with nine expanded children each.
void RowQueries() {
    TList list = BuildTree(kMillion);
    const std::vector<TdxTreeListNode*> rows = RowsOf(*list);
    auto start = std::chrono::steady_clock::now();
    long long sum = 0;
    for (TdxTreeListNode* node : rows)
        sum += node->AbsoluteIndex();
    std::printf("absolute_index_every_row_1m_ms %.2f\n", Ms(start));
    start = std::chrono::steady_clock::now();
    int count = 0;
    for (TdxTreeListNode* n = list->NodeAtAbsoluteIndex(0); n; n = n->GetNextRow())
        ++count;
    std::printf("get_next_row_every_row_1m_ms %.2f\n", Ms(start));
    if (sum != (long long)kMillion * (kMillion - 1) / 2 || count != kMillion)
        std::printf("error wrong rows\n");
}

// Node::Free of a collapsed parent with k children, outside ClearNodes.
void FreeParent(int children) {
    TList list = NewList();
    list->AddNode()->SetStrings(0, "before");
    TdxTreeListNode* parent = list->AddNode();
    list->BeginUpdate();
    for (int i = 0; i < children; ++i)
        parent->AddChild()->SetStrings(0, Captions()[std::size_t(i)]);
    list->EndUpdate();
    list->AddNode()->SetStrings(0, "after");
    const auto start = std::chrono::steady_clock::now();
    parent->Free();
    std::printf("free_parent_of_%dk_ms %.2f\n", children / 1000, Ms(start));
}

} // namespace

int main() {
    Captions();
    AddAndClear();
    BytesPerNode();
    RowQueries();
    for (int k : {25000, 50000, 100000})
        FreeParent(k);
    return 0;
}
