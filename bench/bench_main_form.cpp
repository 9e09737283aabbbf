// The main form's refresh and sweeps on the headless platform, each beside a baseline from the
// same run (bench/ratios.py prints the ratios):
// - a refresh with 200 windows of which 5 hang, against the window list's snapshot of the same
//   desktop alone (what a refresh cannot do without); the hung windows' icon waits are counted
//   (simulated, not slept) in "icon_wait_ms";
// - the hide and the show sweep over 50 marked windows, against the 52 show-window calls any
//   sweep makes (50 windows, the form, the application window).
//
// Sections: workloads; refresh; sweeps; main.
#include "tests/support/HeadlessMainForm.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using testing_support::THeadlessMainForm;

// --- workloads -------------------------------------------------------------------------------

std::vector<std::string> Captions(int count) {
    std::vector<std::string> captions;
    for (int i = 0; i < count; ++i)
        captions.push_back((i % 2 ? "메모장 " : "Editor ") + std::to_string(i));
    return captions;
}

// The main form over `windows` windows of other programs, the first `hung` of them hung and the
// first `marked` rows marked.
struct TDesktopWorkload {
    TDesktopWorkload(int windows, int hung, int marked) : Main(Captions(windows)) {
        fw::headless::HeadlessDesktop& desktop = Main.Platform.FakeDesktop();
        int hungSoFar = 0;
        for (fw::TWindowHandle window : desktop.ZOrder())
            if (desktop.Fake(window) && hungSoFar < hung) {
                desktop.SetHung(window, true);
                ++hungSoFar;
            }
        dxtl::TdxTreeList& list = *Main.Form->tlWinList;
        for (int i = 0; i < marked && i < list.NodeCount(); ++i) {
            list.NodeAt(i)->SetImageIndex(varnel::TfVarnel::kMarked);
            list.NodeAt(i)->SetSelectedIndex(varnel::TfVarnel::kMarked);
        }
        Main.Platform.PaintAll();
    }
    std::vector<fw::TWindowHandle> Windows() {
        std::vector<fw::TWindowHandle> windows;
        for (fw::TWindowHandle window : Main.Platform.FakeDesktop().ZOrder())
            if (Main.Platform.FakeDesktop().Fake(window))
                windows.push_back(window);
        return windows;
    }
    THeadlessMainForm Main;
};

constexpr int kRefreshWindows = 200;
constexpr int kHungWindows = 5;
constexpr int kMarkedWindows = 50;

// --- refresh ---------------------------------------------------------------------------------

void Varnel_Refresh(benchmark::State& state) {
    TDesktopWorkload workload(static_cast<int>(state.range(0)), kHungWindows, kMarkedWindows);
    varnel::TfVarnel& form = *workload.Main.Form;
    fw::headless::HeadlessDesktop& desktop = workload.Main.Platform.FakeDesktop();
    const unsigned waitedBefore = desktop.IconWaitMs;
    for (auto _ : state)
        form.btnRefreshClick(form.btnRefresh);
    state.counters["icon_wait_ms"] =
        double(desktop.IconWaitMs - waitedBefore) / double(state.iterations());
    state.counters["rows"] = form.tlWinList->NodeCount();
}
BENCHMARK(Varnel_Refresh)->Arg(kRefreshWindows)->Unit(benchmark::kMicrosecond);

void Baseline_Snapshot(benchmark::State& state) {
    TDesktopWorkload workload(static_cast<int>(state.range(0)), kHungWindows, kMarkedWindows);
    varnel::TWindowList& list = *workload.Main.Form->WindowList();
    for (auto _ : state)
        list.Refresh();
    state.counters["records"] = list.Count();
}
BENCHMARK(Baseline_Snapshot)->Arg(kRefreshWindows)->Unit(benchmark::kMicrosecond);

// --- sweeps ----------------------------------------------------------------------------------

// Each iteration hides (or shows) what the untimed part showed (or hid) before it, so every
// sweep finds the windows in the state it changes.
void Sweep(benchmark::State& state, bool hide) {
    TDesktopWorkload workload(static_cast<int>(state.range(0)), 0,
                              static_cast<int>(state.range(0)));
    varnel::TfVarnel& form = *workload.Main.Form;
    fw::headless::HeadlessDesktop& desktop = workload.Main.Platform.FakeDesktop();
    for (auto _ : state) {
        state.PauseTiming();
        hide ? form.ShowMarkedWindows() : form.HideMarkedWindows();
        desktop.ShowCalls.clear();
        state.ResumeTiming();
        hide ? form.HideMarkedWindows() : form.ShowMarkedWindows();
    }
    state.counters["show_calls"] = double(desktop.ShowCalls.size());
}

void Varnel_HideSweep(benchmark::State& state) {
    Sweep(state, true);
}
BENCHMARK(Varnel_HideSweep)->Arg(kMarkedWindows)->Unit(benchmark::kMicrosecond);

void Varnel_ShowSweep(benchmark::State& state) {
    Sweep(state, false);
}
BENCHMARK(Varnel_ShowSweep)->Arg(kMarkedWindows)->Unit(benchmark::kMicrosecond);

// The show-window calls of a sweep and nothing else, timed the same way.
void Baseline_ShowWindowCalls(benchmark::State& state) {
    TDesktopWorkload workload(static_cast<int>(state.range(0)), 0, 0);
    fw::headless::HeadlessDesktop& desktop = workload.Main.Platform.FakeDesktop();
    std::vector<fw::TWindowHandle> windows = workload.Windows();
    windows.push_back(workload.Main.Form->Handle());
    windows.push_back(workload.Main.Application.Handle());
    for (auto _ : state) {
        state.PauseTiming();
        for (fw::TWindowHandle window : windows)
            desktop.ShowWindow(window, fw::SW::Show);
        desktop.ShowCalls.clear();
        state.ResumeTiming();
        for (fw::TWindowHandle window : windows)
            desktop.ShowWindow(window, fw::SW::Hide);
    }
    state.counters["show_calls"] = double(desktop.ShowCalls.size());
}
BENCHMARK(Baseline_ShowWindowCalls)->Arg(kMarkedWindows)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
