// A simulated desktop of top-level windows: other programs' windows that a test creates,
// plus the program's own top-level windows, in one Z order (front first). Windows with the
// topmost style (WSEx::TopMost) stay in front of all others. One window is the active one:
// activating a window (or a show command that activates) brings it to the front with the
// windows it owns in front of it; a hidden window shown comes to the front without them,
// activated or not. As on Wine's desktop, nothing else keeps an owned window in front of its owner:
// whoever shows them orders them. Closing a window closes the windows it owns.
#pragma once

#include "framework/Platform.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace fw::headless {

// Another program's top-level window.
struct FakeWindow {
    std::string Text;
    TWindowHandle Owner = 0;
    bool Visible = true;
    bool Iconic = false;
    TIconHandle SmallIcon = 0;
    std::uint32_t ExStyle = 0;
    // Left as zero, the desktop gives each window a thread and process of its own.
    TThreadProcess ThreadProcess;
    // Its thread does not answer messages; show commands wait until it answers again.
    bool Hung = false;
};

// What the desktop needs to know of the program's own windows.
class OwnWindowBridge {
public:
    virtual bool DescribeOwn(TWindowHandle window, FakeWindow& out) const = 0;
    virtual void ShowOwn(TWindowHandle window, int showCommand) = 0;
    virtual void PostToOwn(TWindowHandle window, std::uint32_t msg, std::uintptr_t wParam,
                           std::intptr_t lParam) = 0;

protected:
    ~OwnWindowBridge() = default;
};

// What a show command does to a window's visible and minimised states.
void ApplyShowCommand(int showCommand, bool& visible, bool& iconic);

class HeadlessDesktop : public IWindowManager {
public:
    // The program's own thread and process.
    static constexpr TThreadProcess kOwnThread{1, 1};
    static constexpr TWindowHandle kDesktopWindow = 0x00010010;

    explicit HeadlessDesktop(OwnWindowBridge& own);

    // --- Setting the scene ---------------------------------------------------------------
    // A new window in front of the others (behind the topmost ones unless it is one).
    TWindowHandle Add(FakeWindow window);
    // A new window that gets a handle used before (the platform reuses handles of closed
    // windows); the handle must not be in use.
    TWindowHandle AddWithHandle(TWindowHandle handle, FakeWindow window);
    void Close(TWindowHandle window);
    FakeWindow* Fake(TWindowHandle window);
    void SetHung(TWindowHandle window, bool hung);
    void BringToTop(TWindowHandle window);
    // The user clicks into the window: it comes to the front and is the active one.
    void Click(TWindowHandle window) { Activate(window); }
    void AddOwn(TWindowHandle window);
    void RemoveOwn(TWindowHandle window);
    const std::vector<TWindowHandle>& ZOrder() const { return FZOrder; }

    // --- Processes ------------------------------------------------------------------------
    // The program's own process (id kOwnThread.Process) runs from the start. A process started
    // with the id of one that ended gets a later start time, as a reused id does.
    TProcessIdentity StartProcess(std::uint32_t id);
    void EndProcess(std::uint32_t id);
    // The platform refuses to tell anything about the process (it belongs to someone else).
    void DenyProcessQuery(std::uint32_t id, bool denied = true);

    // Another program holds this key combination.
    void ReserveHotKey(unsigned modifiers, unsigned key);
    // Posts the hot-key message to whoever registered the combination; false when nobody.
    bool PressHotKey(unsigned modifiers, unsigned key);
    struct HotKey {
        TWindowHandle Window;
        int Id;
        unsigned Modifiers;
        unsigned Key;
    };
    const std::vector<HotKey>& HotKeys() const { return FHotKeys; }

    // --- What the program did ------------------------------------------------------------
    struct ShowCall {
        TWindowHandle Window;
        int Command;
    };
    std::vector<ShowCall> ShowCalls;
    // Milliseconds the program would have waited for windows that did not answer.
    unsigned IconWaitMs = 0;
    // Milliseconds the program would have waited for windows to be shown (WaitUntilShown).
    unsigned ShownWaitMs = 0;
    int IconQueries = 0;
    // Runs while the program waits for a window's icon: the wait lets sent messages in, as
    // the real one does.
    std::function<void(TWindowHandle)> DuringIconQuery;
    std::vector<std::pair<TWindowHandle, std::string>> ShellOpened;
    // Hot-key register and unregister calls, in order: "register 101", "unregister 101".
    std::vector<std::string> HotKeyCalls;

    // --- IWindowManager ------------------------------------------------------------------
    void EnumTopLevelWindows(const std::function<bool(TWindowHandle)>& visit) override;
    std::string WindowText(TWindowHandle window, int maxChars) override;
    TWindowHandle Owner(TWindowHandle window) override;
    std::uint32_t ExStyle(TWindowHandle window) override;
    bool IsWindow(TWindowHandle window) override;
    bool IsVisible(TWindowHandle window) override;
    bool IsIconic(TWindowHandle window) override;
    TWindowHandle DesktopWindow() override { return kDesktopWindow; }
    TIconHandle QuerySmallIcon(TWindowHandle window, unsigned timeoutMs) override;
    TThreadProcess WindowThreadProcess(TWindowHandle window) override;
    void ShowWindow(TWindowHandle window, int showCommand) override;
    bool WaitUntilShown(const std::vector<TWindowHandle>& windows, unsigned timeoutMs) override;
    TWindowHandle ForegroundWindow() override;
    void Activate(TWindowHandle window) override;
    void PlaceBehind(TWindowHandle window, TWindowHandle above) override;
    bool SetProperty(TWindowHandle window, std::string_view name, std::uint32_t value) override;
    std::uint32_t Property(TWindowHandle window, std::string_view name) override;
    void RemoveProperty(TWindowHandle window, std::string_view name) override;
    TProcessIdentity CurrentProcess() override;
    TProcessState ProcessState(const TProcessIdentity& process) override;
    bool RegisterHotKey(TWindowHandle window, int id, unsigned modifiers, unsigned key) override;
    bool UnregisterHotKey(TWindowHandle window, int id) override;
    bool ShellOpen(TWindowHandle parent, std::string_view target) override;

private:
    bool Describe(TWindowHandle window, FakeWindow& out) const;
    // Puts a window in front of the others of its band (topmost or not).
    void PlaceInFront(TWindowHandle window);
    // In front, and the windows it owns (theirs too) in front of it, as activation does.
    void RaiseWithOwned(TWindowHandle window);
    // What a show command does to the order and the activation once the window acts on it.
    void ApplyShowOrder(TWindowHandle window, int showCommand);
    // Runs now, or once the window's thread answers again.
    void WhenAnswering(TWindowHandle window, std::function<void()> action);

    OwnWindowBridge& FOwn;
    std::map<TWindowHandle, FakeWindow> FFakes;
    std::map<TWindowHandle, std::vector<std::function<void()>>> FPending;
    TWindowHandle FActive = 0;
    std::vector<TWindowHandle> FZOrder;
    // Properties of every window, the program's own ones too; they go with the window.
    std::map<TWindowHandle, std::map<std::string, std::uint32_t, std::less<>>> FProperties;
    // Running processes by id: their start times.
    std::map<std::uint32_t, std::uint64_t> FProcesses;
    std::set<std::uint32_t> FDeniedProcesses;
    std::uint64_t FNextStartTime = 133'000'000'000'000'000ull;
    std::vector<HotKey> FHotKeys;
    std::vector<std::pair<unsigned, unsigned>> FReserved;
    TWindowHandle FNextHandle = 0x00200010;
    std::uint32_t FNextThread = 100;
};

} // namespace fw::headless
