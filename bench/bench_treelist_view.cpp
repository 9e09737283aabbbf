// Scrolling and selecting in a tree list (bench/ListOnForm.h) on the headless platform, at 1,000
// and at 1,000,000 rows: how each operation grows with the rows. Everything but a full SelectRange
// should stay far below a frame (16 ms) at the larger size.
//
// Sections: workload; scrolling; selection; main.
#include "bench/ListOnForm.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

namespace {

// --- workload --------------------------------------------------------------------------------

using bench_support::TListOnForm;

// One list per size, kept between benchmarks of the same size.
TListOnForm& Workload(benchmark::State& state) {
    static std::unique_ptr<TListOnForm> workload;
    if (!workload || workload->Rows != state.range(0))
        workload = std::make_unique<TListOnForm>(
            static_cast<int>(state.range(0)),
            dxtl::TdxTreeListOptions{dxtl::aoRowSelect, dxtl::aoMultiSelect});
    state.counters["rows"] = static_cast<double>(state.range(0));
    return *workload;
}

// --- scrolling -------------------------------------------------------------------------------

// One page further down from a random row (the pixels move; nothing is painted here).
void Varnel_PageDown(benchmark::State& state) {
    TListOnForm& w = Workload(state);
    std::mt19937 random(1);
    for (auto _ : state) {
        state.PauseTiming();
        w.List->SetTopRow(static_cast<int>(random() % std::uint32_t(w.Rows)));
        state.ResumeTiming();
        w.List->SetTopRow(w.List->TopRow() + w.List->PageRowCount());
    }
}
BENCHMARK(Varnel_PageDown)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// From the first row to the last page in one request (scroll bar "bottom").
void Varnel_ScrollToBottom(benchmark::State& state) {
    TListOnForm& w = Workload(state);
    for (auto _ : state) {
        state.PauseTiming();
        w.List->SetTopRow(0);
        state.ResumeTiming();
        w.List->SetTopRow(w.Rows);
    }
}
BENCHMARK(Varnel_ScrollToBottom)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void Varnel_MakeVisibleLastRow(benchmark::State& state) {
    TListOnForm& w = Workload(state);
    dxtl::TdxTreeListNode* last = w.List->LastRowNode();
    for (auto _ : state) {
        state.PauseTiming();
        w.List->SetTopRow(0);
        state.ResumeTiming();
        w.List->MakeVisible(last);
    }
}
BENCHMARK(Varnel_MakeVisibleLastRow)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// --- selection -------------------------------------------------------------------------------

void Varnel_SelectRangeAllRows(benchmark::State& state) {
    TListOnForm& w = Workload(state);
    dxtl::TdxTreeListNode* first = w.List->NodeAt(0);
    dxtl::TdxTreeListNode* last = w.List->LastRowNode();
    for (auto _ : state) {
        state.PauseTiming();
        w.List->ClearSelection();
        state.ResumeTiming();
        w.List->SelectRange(first, last);
    }
    state.counters["selected"] = w.List->SelectedCount();
}
BENCHMARK(Varnel_SelectRangeAllRows)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Membership of a random node among every row selected.
void Varnel_IsNodeSelected(benchmark::State& state) {
    TListOnForm& w = Workload(state);
    if (w.List->SelectedCount() != w.Rows)
        w.List->SelectRange(w.List->NodeAt(0), w.List->LastRowNode());
    std::mt19937 random(2);
    std::vector<dxtl::TdxTreeListNode*> probes;
    for (int i = 0; i < 4096; ++i)
        probes.push_back(w.List->NodeAt(static_cast<int>(random() % std::uint32_t(w.Rows))));
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(w.List->IsNodeSelected(probes[i++ & 4095]));
}
BENCHMARK(Varnel_IsNodeSelected)->Arg(1000)->Arg(1000000);

// The repaint request of a selection of every row (one request for the whole control).
void Varnel_InvalidateSelection(benchmark::State& state) {
    TListOnForm& w = Workload(state);
    if (w.List->SelectedCount() != w.Rows)
        w.List->SelectRange(w.List->NodeAt(0), w.List->LastRowNode());
    for (auto _ : state)
        w.List->InvalidateSelection();
}
BENCHMARK(Varnel_InvalidateSelection)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
