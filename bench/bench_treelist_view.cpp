// Scrolling and selecting in a tree list on the headless platform, at 1,000 and at 1,000,000
// rows: how each operation grows with the rows. Everything but a full SelectRange should stay
// far below a frame (16 ms) at the larger size.
//
// Sections: workload; scrolling; selection; main.
#include "framework/Application.h"
#include "framework/Form.h"
#include "platform/headless/HeadlessPlatform.h"
#include "treelist/dxTL.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

namespace {

// --- workload --------------------------------------------------------------------------------

// A shown 340 x 253 list with multiple selection and `rows` captioned top-level rows.
struct TListWithRows {
    explicit TListWithRows(int rows) : Application(Platform), Rows(rows) {
        Application.Initialize();
        Form = Application.CreateForm<fw::TForm>();
        Form->SetBounds(0, 0, 400, 300);
        List = new dxtl::TdxTreeList(Form);
        List->SetParent(Form);
        List->SetBounds(0, 0, 340, 253);
        List->SetOptions(List->Options().With(dxtl::aoMultiSelect));
        List->BeginUpdate();
        List->CreateColumn()->SetWidth(300);
        for (int i = 0; i < rows; ++i)
            List->AddNode()->SetStrings(0, "Window " + std::to_string(i));
        List->EndUpdate();
        Form->Show();
        Platform.PaintAll();
    }
    fw::headless::HeadlessPlatform Platform;
    fw::TApplication Application;
    int Rows = 0;
    fw::TForm* Form = nullptr;
    dxtl::TdxTreeList* List = nullptr;
};

// One list per size, kept between benchmarks of the same size.
TListWithRows& Workload(benchmark::State& state) {
    static std::unique_ptr<TListWithRows> workload;
    if (!workload || workload->Rows != state.range(0))
        workload = std::make_unique<TListWithRows>(static_cast<int>(state.range(0)));
    state.counters["rows"] = static_cast<double>(state.range(0));
    return *workload;
}

// --- scrolling -------------------------------------------------------------------------------

// One page further down from a random row (the pixels move; nothing is painted here).
void Varnel_PageDown(benchmark::State& state) {
    TListWithRows& w = Workload(state);
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
    TListWithRows& w = Workload(state);
    for (auto _ : state) {
        state.PauseTiming();
        w.List->SetTopRow(0);
        state.ResumeTiming();
        w.List->SetTopRow(w.Rows);
    }
}
BENCHMARK(Varnel_ScrollToBottom)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void Varnel_MakeVisibleLastRow(benchmark::State& state) {
    TListWithRows& w = Workload(state);
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
    TListWithRows& w = Workload(state);
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
    TListWithRows& w = Workload(state);
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
    TListWithRows& w = Workload(state);
    if (w.List->SelectedCount() != w.Rows)
        w.List->SelectRange(w.List->NodeAt(0), w.List->LastRowNode());
    for (auto _ : state)
        w.List->InvalidateSelection();
}
BENCHMARK(Varnel_InvalidateSelection)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
