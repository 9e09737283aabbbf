// The tree list workloads that the native node benchmarks and the 32-bit ones under Wine both
// time, so that their figures describe the same work. Only the list's public node model is
// used: the Wine benchmark builds this against older trees too.
#pragma once

#include "treelist/dxTL.h"

#include <string>
#include <vector>

namespace varnel_bench {

using dxtl::TdxTreeList;
using dxtl::TdxTreeListNode;
using TList = fw::TOwnedPtr<TdxTreeList>;

constexpr int kMillion = 1000000;
// The tree for row queries: this many top-level nodes, each expanded with nine children.
constexpr int kChildren = 9;

// One short caption per row ("Window 123456": 13 bytes), made before timing starts.
inline const std::vector<std::string>& Captions() {
    static const std::vector<std::string> captions = [] {
        std::vector<std::string> c;
        c.reserve(kMillion);
        for (int i = 0; i < kMillion; ++i)
            c.push_back("Window " + std::to_string(100000 + i % 900000));
        return c;
    }();
    return captions;
}

inline TList NewList() {
    return TList(new TdxTreeList(nullptr));
}

inline void AddFlat(TdxTreeList& list, int count) {
    const auto& captions = Captions();
    for (int i = 0; i < count; ++i)
        list.AddNode()->SetStrings(0, captions[std::size_t(i)]);
}

// `rows` displayed rows: top-level nodes with kChildren expanded children each.
inline TList BuildTree(int rows) {
    TList list = NewList();
    const auto& captions = Captions();
    list->BeginUpdate();
    for (int row = 0; row < rows;) {
        TdxTreeListNode* parent = list->AddNode();
        parent->SetStrings(0, captions[std::size_t(row++)]);
        for (int c = 0; c < kChildren && row < rows; ++c)
            parent->AddChild()->SetStrings(0, captions[std::size_t(row++)]);
        parent->SetExpanded(true);
    }
    list->EndUpdate();
    return list;
}

// The displayed rows in order, by walking them.
inline std::vector<TdxTreeListNode*> RowsOf(TdxTreeList& list) {
    std::vector<TdxTreeListNode*> rows;
    for (TdxTreeListNode* n = list.NodeAtAbsoluteIndex(0); n; n = n->GetNextRow())
        rows.push_back(n);
    return rows;
}

} // namespace varnel_bench
