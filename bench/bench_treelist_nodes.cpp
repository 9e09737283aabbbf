// The tree list's node model beside Qt 5's QStandardItemModel doing the same work: appending
// rows with one short text, clearing them, row queries over a tree of expanded parents, and
// sorting rows by a caption-like text; and, without a peer, freeing one node with many children.
// Each pair runs in this one binary, so their ratio compares like with like. Memory per node
// is measured as the growth of the heap in use (glibc mallinfo2, allocator overhead included).
//
// Sections: workloads; adding; row queries; clearing and freeing; sorting; memory; main.
#include "NodeWorkloads.h"

#include <QCoreApplication>
#include <QStandardItem>
#include <QStandardItemModel>

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace varnel_bench;
// Overloaded below for Qt's model.
using varnel_bench::AddFlat;

// --- workloads -------------------------------------------------------------------------------

const std::vector<QString>& QtCaptions() {
    static const std::vector<QString> captions = [] {
        std::vector<QString> c;
        c.reserve(kMillion);
        for (const std::string& s : Captions())
            c.push_back(QString::fromStdString(s));
        return c;
    }();
    return captions;
}

void AddFlat(QStandardItemModel& model, int count) {
    const auto& captions = QtCaptions();
    for (int i = 0; i < count; ++i)
        model.appendRow(new QStandardItem(captions[std::size_t(i)]));
}

std::unique_ptr<QStandardItemModel> BuildQtTree(int rows) {
    auto model = std::make_unique<QStandardItemModel>();
    const auto& captions = QtCaptions();
    for (int row = 0; row < rows;) {
        auto* parent = new QStandardItem(captions[std::size_t(row++)]);
        for (int c = 0; c < kChildren && row < rows; ++c)
            parent->appendRow(new QStandardItem(captions[std::size_t(row++)]));
        model->appendRow(parent);
    }
    return model;
}

std::vector<QStandardItem*> ItemsOf(QStandardItemModel& model) {
    std::vector<QStandardItem*> items;
    QStandardItem* root = model.invisibleRootItem();
    for (int i = 0; i < root->rowCount(); ++i) {
        QStandardItem* parent = root->child(i);
        items.push_back(parent);
        for (int c = 0; c < parent->rowCount(); ++c)
            items.push_back(parent->child(c));
    }
    return items;
}

// --- adding ----------------------------------------------------------------------------------

// Times `fill` on a new container from `make` in each iteration; making and freeing the
// container are not timed.
template <class TMake, class TFill>
void TimeFilling(benchmark::State& state, TMake make, TFill fill) {
    const int count = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto container = make();
        state.ResumeTiming();
        fill(*container, count);
        state.PauseTiming();
        container.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * count);
}

void Varnel_AddNodes_Locked(benchmark::State& state) {
    Captions();
    TimeFilling(state, NewList, [](TdxTreeList& list, int count) {
        list.BeginUpdate();
        AddFlat(list, count);
        list.EndUpdate();
        benchmark::DoNotOptimize(list.AbsoluteCount());
    });
}

void Varnel_AddNodes_Unlocked(benchmark::State& state) {
    Captions();
    TimeFilling(state, NewList, [](TdxTreeList& list, int count) {
        AddFlat(list, count);
        benchmark::DoNotOptimize(list.NodeCount());
    });
}

void Qt_AppendRows(benchmark::State& state) {
    QtCaptions();
    TimeFilling(
        state, [] { return std::make_unique<QStandardItemModel>(); },
        [](QStandardItemModel& model, int count) {
            AddFlat(model, count);
            benchmark::DoNotOptimize(model.rowCount());
        });
}

// --- row queries -----------------------------------------------------------------------------

void Varnel_AbsoluteIndex_EveryRow(benchmark::State& state) {
    TList list = BuildTree(int(state.range(0)));
    const auto rows = RowsOf(*list);
    for (auto _ : state) {
        long long sum = 0;
        for (TdxTreeListNode* node : rows)
            sum += node->AbsoluteIndex();
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(rows.size()));
}

void Qt_IndexRow_EveryRow(benchmark::State& state) {
    auto model = BuildQtTree(int(state.range(0)));
    const auto items = ItemsOf(*model);
    for (auto _ : state) {
        long long sum = 0;
        for (QStandardItem* item : items)
            sum += model->indexFromItem(item).row();
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(items.size()));
}

void Varnel_GetNextRow_EveryRow(benchmark::State& state) {
    TList list = BuildTree(int(state.range(0)));
    for (auto _ : state) {
        int rows = 0;
        for (TdxTreeListNode* n = list->NodeAtAbsoluteIndex(0); n; n = n->GetNextRow())
            ++rows;
        benchmark::DoNotOptimize(rows);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The next displayed row through model indexes, as a view walks an expanded tree.
QModelIndex NextRow(const QStandardItemModel& model, const QModelIndex& index) {
    if (model.rowCount(index) > 0)
        return model.index(0, 0, index);
    for (QModelIndex at = index; at.isValid(); at = at.parent()) {
        const QModelIndex sibling = at.sibling(at.row() + 1, 0);
        if (sibling.isValid())
            return sibling;
    }
    return {};
}

void Qt_NextRow_EveryRow(benchmark::State& state) {
    auto model = BuildQtTree(int(state.range(0)));
    for (auto _ : state) {
        int rows = 0;
        for (QModelIndex i = model->index(0, 0); i.isValid(); i = NextRow(*model, i))
            ++rows;
        benchmark::DoNotOptimize(rows);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// A fixed number of lookups of random rows, for the growth of one query with the tree size.
void Varnel_AbsoluteIndex_RandomRows(benchmark::State& state) {
    TList list = BuildTree(int(state.range(0)));
    auto rows = RowsOf(*list);
    std::shuffle(rows.begin(), rows.end(), std::mt19937(7));
    rows.resize(std::min<std::size_t>(rows.size(), 10000));
    for (auto _ : state) {
        long long sum = 0;
        for (TdxTreeListNode* node : rows)
            sum += node->AbsoluteIndex();
        benchmark::DoNotOptimize(sum);
    }
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * std::int64_t(rows.size()));
}

// --- clearing and freeing --------------------------------------------------------------------

void Varnel_ClearNodes(benchmark::State& state) {
    const int count = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        TList list = NewList();
        list->BeginUpdate();
        AddFlat(*list, count);
        list->EndUpdate();
        state.ResumeTiming();
        list->ClearNodes();
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
    state.SetComplexityN(count);
    state.SetItemsProcessed(state.iterations() * count);
}

void Qt_Clear(benchmark::State& state) {
    const int count = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto model = std::make_unique<QStandardItemModel>();
        AddFlat(*model, count);
        state.ResumeTiming();
        model->clear();
        state.PauseTiming();
        model.reset();
        state.ResumeTiming();
    }
    state.SetComplexityN(count);
    state.SetItemsProcessed(state.iterations() * count);
}

// Freeing one node with `k` children (outside ClearNodes), expanded, in a list that has other
// rows: the children go one by one, each with its OnDeletion, so this grows with k alone.
void Varnel_FreeParent(benchmark::State& state) {
    const int children = int(state.range(0));
    const auto& captions = Captions();
    for (auto _ : state) {
        state.PauseTiming();
        TList list = NewList();
        list->BeginUpdate();
        list->AddNode()->SetStrings(0, "before");
        TdxTreeListNode* parent = list->AddNode();
        for (int i = 0; i < children; ++i)
            parent->AddChild()->SetStrings(0, captions[std::size_t(i)]);
        parent->SetExpanded(true);
        list->AddNode()->SetStrings(0, "after");
        list->EndUpdate();
        state.ResumeTiming();
        parent->Free();
        benchmark::DoNotOptimize(list->AbsoluteCount());
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
    state.SetComplexityN(children);
    state.SetItemsProcessed(state.iterations() * children);
}

// --- sorting ---------------------------------------------------------------------------------

// Caption-like texts: 10 to 40 letters, digits and spaces, random but the same in every run.
const std::vector<std::string>& RandomCaptions() {
    static const std::vector<std::string> captions = [] {
        static const char alphabet[] =
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789     ";
        std::mt19937 random(1234);
        std::vector<std::string> c(kMillion);
        for (std::string& caption : c) {
            caption.resize(10 + random() % 31);
            for (char& ch : caption)
                ch = alphabet[random() % (sizeof alphabet - 1)];
        }
        return c;
    }();
    return captions;
}

// A list of `count` top-level nodes with a random caption each, in one update lock.
TList CaptionList(int count) {
    TList list = NewList();
    const auto& captions = RandomCaptions();
    list->BeginUpdate();
    for (int i = 0; i < count; ++i)
        list->AddNode()->SetStrings(0, captions[std::size_t(i)]);
    list->EndUpdate();
    return list;
}

// The whole sort as a list runs it: keys, the sort, writing the order back, and the lock's end
// (the row index rebuilt). The list is made again, unsorted, before each run.
void Varnel_SortByCaption(benchmark::State& state) {
    const int count = int(state.range(0));
    RandomCaptions();
    for (auto _ : state) {
        state.PauseTiming();
        TList list = CaptionList(count);
        state.ResumeTiming();
        list->SortNodes(-1, 0, false);
        benchmark::DoNotOptimize(list->NodeAt(0));
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * count);
}

void Qt_SortByCaption(benchmark::State& state) {
    const int count = int(state.range(0));
    static const std::vector<QString> captions = [] {
        std::vector<QString> c;
        for (const std::string& s : RandomCaptions())
            c.push_back(QString::fromStdString(s));
        return c;
    }();
    for (auto _ : state) {
        state.PauseTiming();
        auto model = std::make_unique<QStandardItemModel>();
        for (int i = 0; i < count; ++i)
            model->appendRow(new QStandardItem(captions[std::size_t(i)]));
        state.ResumeTiming();
        model->sort(0, Qt::AscendingOrder);
        benchmark::DoNotOptimize(model->item(0));
        state.PauseTiming();
        model.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * count);
}

// --- memory ----------------------------------------------------------------------------------

std::size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Heap growth per node for a flat list of `count` nodes with one 13-byte text each: the nodes
// alone (top-level list included) while the update lock is held, and with the row index the
// lock's end builds.
void Varnel_BytesPerNode(benchmark::State& state) {
    const int count = int(state.range(0));
    Captions();
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        TList list = NewList();
        list->BeginUpdate();
        AddFlat(*list, count);
        const std::size_t nodes = HeapInUse() - before;
        list->EndUpdate();
        benchmark::DoNotOptimize(list->AbsoluteCount());
        const std::size_t withIndex = HeapInUse() - before;
        state.counters["bytes_per_node"] = double(nodes) / count;
        state.counters["with_row_index"] = double(withIndex) / count;
        state.counters["sizeof_text_node"] = double(sizeof(dxtl::TdxTreeListTextNode));
    }
}

void Qt_BytesPerRow(benchmark::State& state) {
    const int count = int(state.range(0));
    Captions();
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        auto model = std::make_unique<QStandardItemModel>();
        // Texts converted here, so that each row owns its text as our nodes do.
        const auto& captions = Captions();
        for (int i = 0; i < count; ++i)
            model->appendRow(new QStandardItem(QString::fromStdString(captions[std::size_t(i)])));
        const std::size_t rows = HeapInUse() - before;
        state.counters["bytes_per_node"] = double(rows) / count;
    }
}

} // namespace

BENCHMARK(Varnel_AddNodes_Locked)->Arg(kMillion)->Unit(benchmark::kMillisecond);
BENCHMARK(Qt_AppendRows)->Arg(kMillion)->Unit(benchmark::kMillisecond);
BENCHMARK(Varnel_AddNodes_Unlocked)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(Qt_AppendRows)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(Varnel_AbsoluteIndex_EveryRow)->Arg(kMillion)->Unit(benchmark::kMillisecond);
BENCHMARK(Qt_IndexRow_EveryRow)->Arg(kMillion)->Unit(benchmark::kMillisecond);
BENCHMARK(Varnel_GetNextRow_EveryRow)->Arg(kMillion)->Unit(benchmark::kMillisecond);
BENCHMARK(Qt_NextRow_EveryRow)->Arg(kMillion)->Unit(benchmark::kMillisecond);
BENCHMARK(Qt_Clear)->Arg(kMillion)->Unit(benchmark::kMillisecond);
// The tree list's clear at three sizes (its 1,000,000 run is the figure beside Qt_Clear).
BENCHMARK(Varnel_AbsoluteIndex_RandomRows)
    ->RangeMultiplier(10)
    ->Range(10000, kMillion)
    ->Complexity(benchmark::oLogN)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(Varnel_ClearNodes)
    ->Arg(kMillion / 4)
    ->Arg(kMillion / 2)
    ->Arg(kMillion)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Varnel_FreeParent)
    ->Arg(kMillion / 4)
    ->Arg(kMillion / 2)
    ->Arg(kMillion)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Varnel_SortByCaption)
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(kMillion)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Qt_SortByCaption)->Arg(1000)->Arg(100000)->Arg(kMillion)->Unit(benchmark::kMillisecond);
BENCHMARK(Varnel_BytesPerNode)->Arg(kMillion)->Iterations(1);
BENCHMARK(Qt_BytesPerRow)->Arg(kMillion)->Iterations(1);

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
