// The tree list's full paint pass on the headless canvas: a list of 1,000,000 rows against the
// same list with 100 rows (only the visible rows may cost anything, so the ratio should stay
// near 1), the same pair with rows that carry measured preview text and row footers (groups of
// ten under open parents), and one pass of the main window's list with a desktop of 30
// windows.
//
// Sections: workloads; paint passes; main.
#include "framework/Application.h"
#include "framework/Form.h"
#include "platform/headless/HeadlessPlatform.h"
#include "tests/support/HeadlessMainForm.h"
#include "treelist/dxTL.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// --- workloads -------------------------------------------------------------------------------

// A 340 x 253 list with three columns on a shown form; every row has a caption. With
// `rowParts` the rows are groups of ten children under open parents, with a wrapped preview
// text each and a footer under each group.
struct TListOnForm {
    explicit TListOnForm(int rows, bool rowParts = false) : Application(Platform), Rows(rows) {
        Application.Initialize();
        Form = Application.CreateForm<fw::TForm>();
        Form->SetBounds(0, 0, 400, 300);
        Form->Font().SetHeight(-12);
        List = new dxtl::TdxTreeList(Form);
        List->SetParent(Form);
        List->SetBounds(0, 0, 340, 253);
        List->SetShowLines(false);
        List->BeginUpdate();
        for (int width : {45, 20, 249})
            List->CreateColumn()->SetWidth(width);
        dxtl::TdxTreeListNode* parent = nullptr;
        for (int i = 0; i < rows; ++i) {
            dxtl::TdxTreeListNode* node = nullptr;
            if (!rowParts || i % 11 == 0) {
                node = parent = List->AddNode();
                parent->SetExpanded(rowParts);
            } else {
                node = parent->AddChild();
            }
            node->SetStrings(2, "Window " + std::to_string(100000 + i));
        }
        if (rowParts) {
            List->SetOptions(List->Options().With(dxtl::aoPreview));
            List->SetShowRowFooter(true);
            List->OnGetPreviewText = [](fw::TObject*, dxtl::TdxTreeListNode*, std::string& text) {
                text = "A preview long enough to wrap over two lines of the list's width";
            };
        }
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
        workload = std::make_unique<TListOnForm>(static_cast<int>(state.range(0)));
    PaintPass(state, workload->Platform, *workload->List);
    state.counters["rows"] = static_cast<double>(state.range(0));
}
BENCHMARK(Varnel_PaintPass_Rows)->Arg(100)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void Varnel_PaintPass_RowParts(benchmark::State& state) {
    static std::unique_ptr<TListOnForm> workload;
    if (!workload || workload->Rows != state.range(0))
        workload = std::make_unique<TListOnForm>(static_cast<int>(state.range(0)), true);
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

} // namespace

BENCHMARK_MAIN();
