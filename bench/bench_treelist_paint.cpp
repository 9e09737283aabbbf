// The tree list's full paint pass on the headless canvas: a list of 1,000,000 rows against the
// same list with 100 rows (only the visible rows may cost anything, so the ratio should stay
// near 1), the same pair with rows that carry measured preview text and row footers (groups of
// ten under open parents), one pass of the main window's list with a desktop of 30 windows,
// and the main window's list holding 100 and 1,000,000 rows of windows without an icon (every
// icon cell custom-drawn with the fallback icon made and released).
//
// Sections: workloads; paint passes; main.
#include "bench/ListOnForm.h"
#include "tests/support/HeadlessMainForm.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// --- workloads -------------------------------------------------------------------------------

// The options of a new list.
const dxtl::TdxTreeListOptions kDefaultOptions{dxtl::aoColumnSizing, dxtl::aoColumnMoving,
                                               dxtl::aoEditing, dxtl::aoTabThrough,
                                               dxtl::aoRowSelect};
using bench_support::TListOnForm;

// --- paint passes ----------------------------------------------------------------------------

void PaintPass(benchmark::State& state, fw::headless::HeadlessPlatform& platform,
               dxtl::TdxTreeList& list) {
    for (auto _ : state) {
        list.Invalidate();
        platform.PaintAll();
    }
}

void Varnel_PaintPass_Rows(benchmark::State& state) {
    static std::unique_ptr<TListOnForm> workload;
    if (!workload || workload->Rows != state.range(0))
        workload = std::make_unique<TListOnForm>(static_cast<int>(state.range(0)), kDefaultOptions);
    PaintPass(state, workload->Platform, *workload->List);
    state.counters["rows"] = static_cast<double>(state.range(0));
}
BENCHMARK(Varnel_PaintPass_Rows)->Arg(100)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void Varnel_PaintPass_RowParts(benchmark::State& state) {
    static std::unique_ptr<TListOnForm> workload;
    if (!workload || workload->Rows != state.range(0))
        workload =
            std::make_unique<TListOnForm>(static_cast<int>(state.range(0)), kDefaultOptions, true);
    PaintPass(state, workload->Platform, *workload->List);
    state.counters["rows"] = static_cast<double>(state.range(0));
}
BENCHMARK(Varnel_PaintPass_RowParts)->Arg(100)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void Varnel_PaintPass_MainForm(benchmark::State& state) {
    std::vector<std::string> captions;
    for (int i = 0; i < 30; ++i)
        captions.push_back((i % 2 ? "메모장 " : "Editor ") + std::to_string(i));
    testing_support::THeadlessMainForm main(captions);
    PaintPass(state, main.Platform, *main.Form->tlWinList);
}
BENCHMARK(Varnel_PaintPass_MainForm)->Unit(benchmark::kMicrosecond);

// The main form's list filled with `rows` nodes as the window list view fills it, every node
// pointing at one of a few window records.
struct TMainFormRows {
    explicit TMainFormRows(int rows) : Rows(rows), Records(8), Main({}) {
        dxtl::TdxTreeList& list = *Main.Form->tlWinList;
        list.BeginUpdate();
        for (int i = 0; i < rows; ++i) {
            varnel::TWindowObject& record = Records[std::size_t(i) % Records.size()];
            record.Caption = "Window " + std::to_string(i % 8);
            dxtl::TdxTreeListNode* node = list.AddNode();
            node->SetData(&record);
            node->SetStrings(varnel::TfVarnel::kCaptionField, record.Caption);
        }
        list.EndUpdate();
        Main.Platform.PaintAll();
    }
    int Rows;
    // Before the form, which reads them until it is gone.
    std::vector<varnel::TWindowObject> Records;
    testing_support::THeadlessMainForm Main;
};

void Varnel_PaintPass_MainFormRows(benchmark::State& state) {
    static std::unique_ptr<TMainFormRows> workload;
    if (!workload || workload->Rows != state.range(0)) {
        workload.reset();
        workload = std::make_unique<TMainFormRows>(static_cast<int>(state.range(0)));
    }
    PaintPass(state, workload->Main.Platform, *workload->Main.Form->tlWinList);
    state.counters["rows"] = static_cast<double>(state.range(0));
}
BENCHMARK(Varnel_PaintPass_MainFormRows)->Arg(100)->Arg(1000000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
