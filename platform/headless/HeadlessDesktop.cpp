#include "platform/headless/HeadlessDesktop.h"

#include "platform/headless/HeadlessText.h"

#include <algorithm>

namespace fw::headless {

HeadlessDesktop::HeadlessDesktop(OwnWindowBridge& own) : FOwn(own) {
    StartProcess(kOwnThread.Process);
}

TWindowHandle HeadlessDesktop::Add(FakeWindow window) {
    TWindowHandle handle = FNextHandle;
    FNextHandle += 0x10;
    return AddWithHandle(handle, std::move(window));
}

TWindowHandle HeadlessDesktop::AddWithHandle(TWindowHandle handle, FakeWindow window) {
    if (FFakes.count(handle) || std::count(FZOrder.begin(), FZOrder.end(), handle))
        throw Exception("Window handle in use");
    if (window.ThreadProcess == TThreadProcess{}) {
        window.ThreadProcess = {FNextThread, FNextThread + 1};
        FNextThread += 2;
    }
    FFakes[handle] = std::move(window);
    PlaceInFront(handle);
    return handle;
}

void HeadlessDesktop::Close(TWindowHandle window) {
    std::vector<TWindowHandle> owned;
    for (const auto& [handle, fake] : FFakes)
        if (fake.Owner == window)
            owned.push_back(handle);
    for (const TWindowHandle handle : owned)
        Close(handle);
    FFakes.erase(window);
    FProperties.erase(window);
    FPending.erase(window);
    FZOrder.erase(std::remove(FZOrder.begin(), FZOrder.end(), window), FZOrder.end());
    if (FActive == window)
        FActive = 0;
}

FakeWindow* HeadlessDesktop::Fake(TWindowHandle window) {
    auto it = FFakes.find(window);
    return it == FFakes.end() ? nullptr : &it->second;
}

void HeadlessDesktop::SetHung(TWindowHandle window, bool hung) {
    FakeWindow* fake = Fake(window);
    if (!fake)
        return;
    fake->Hung = hung;
    if (!hung) {
        std::vector<std::function<void()>> pending = std::move(FPending[window]);
        FPending.erase(window);
        for (const auto& action : pending)
            action();
    }
}

void HeadlessDesktop::WhenAnswering(TWindowHandle window, std::function<void()> action) {
    const FakeWindow* fake = Fake(window);
    if (fake && fake->Hung)
        FPending[window].push_back(std::move(action));
    else
        action();
}

void HeadlessDesktop::PlaceInFront(TWindowHandle window) {
    FZOrder.erase(std::remove(FZOrder.begin(), FZOrder.end(), window), FZOrder.end());
    auto topmost = [this](TWindowHandle w) {
        FakeWindow info;
        return Describe(w, info) && (info.ExStyle & WSEx::TopMost) != 0;
    };
    auto at = FZOrder.begin();
    if (!topmost(window))
        at = std::find_if_not(FZOrder.begin(), FZOrder.end(), topmost);
    FZOrder.insert(at, window);
}

void HeadlessDesktop::BringToTop(TWindowHandle window) {
    if (std::find(FZOrder.begin(), FZOrder.end(), window) != FZOrder.end())
        PlaceInFront(window);
}

void HeadlessDesktop::AddOwn(TWindowHandle window) {
    PlaceInFront(window);
}

void HeadlessDesktop::RemoveOwn(TWindowHandle window) {
    FZOrder.erase(std::remove(FZOrder.begin(), FZOrder.end(), window), FZOrder.end());
    if (FActive == window)
        FActive = 0;
    FProperties.erase(window);
    // The platform drops the hot keys of a destroyed window.
    FHotKeys.erase(std::remove_if(FHotKeys.begin(), FHotKeys.end(),
                                  [&](const HotKey& k) { return k.Window == window; }),
                   FHotKeys.end());
}

void HeadlessDesktop::ReserveHotKey(unsigned modifiers, unsigned key) {
    FReserved.emplace_back(modifiers, key);
}

bool HeadlessDesktop::PressHotKey(unsigned modifiers, unsigned key) {
    for (const HotKey& k : FHotKeys)
        if (k.Modifiers == modifiers && k.Key == key) {
            FOwn.PostToOwn(k.Window, Msg::HotKey, static_cast<std::uintptr_t>(k.Id),
                           static_cast<std::intptr_t>((key << 16) | modifiers));
            return true;
        }
    return false;
}

bool HeadlessDesktop::Describe(TWindowHandle window, FakeWindow& out) const {
    auto it = FFakes.find(window);
    if (it != FFakes.end()) {
        out = it->second;
        return true;
    }
    return FOwn.DescribeOwn(window, out);
}

void HeadlessDesktop::EnumTopLevelWindows(const std::function<bool(TWindowHandle)>& visit) {
    // A snapshot: the visitor may open or close windows.
    const std::vector<TWindowHandle> order = FZOrder;
    for (TWindowHandle window : order)
        if (!visit(window))
            return;
}

std::string HeadlessDesktop::WindowText(TWindowHandle window, int maxChars) {
    FakeWindow info;
    if (!Describe(window, info) || maxChars <= 0)
        return {};
    std::size_t pos = 0;
    int chars = 0;
    while (pos < info.Text.size() && chars < maxChars) {
        pos += DecodeUtf8(info.Text, pos).Length;
        ++chars;
    }
    return info.Text.substr(0, pos);
}

TWindowHandle HeadlessDesktop::Owner(TWindowHandle window) {
    FakeWindow info;
    return Describe(window, info) ? info.Owner : 0;
}

std::uint32_t HeadlessDesktop::ExStyle(TWindowHandle window) {
    FakeWindow info;
    return Describe(window, info) ? info.ExStyle : 0;
}

bool HeadlessDesktop::IsWindow(TWindowHandle window) {
    FakeWindow info;
    return Describe(window, info);
}

bool HeadlessDesktop::IsVisible(TWindowHandle window) {
    FakeWindow info;
    return Describe(window, info) && info.Visible;
}

bool HeadlessDesktop::IsIconic(TWindowHandle window) {
    FakeWindow info;
    return Describe(window, info) && info.Iconic;
}

TIconHandle HeadlessDesktop::QuerySmallIcon(TWindowHandle window, unsigned timeoutMs) {
    ++IconQueries;
    if (DuringIconQuery)
        DuringIconQuery(window);
    FakeWindow info;
    if (!Describe(window, info))
        return 0;
    if (info.Hung) {
        IconWaitMs += timeoutMs;
        return 0;
    }
    return info.SmallIcon;
}

TThreadProcess HeadlessDesktop::WindowThreadProcess(TWindowHandle window) {
    FakeWindow info;
    return Describe(window, info) ? info.ThreadProcess : TThreadProcess{};
}

void ApplyShowCommand(int showCommand, bool& visible, bool& iconic) {
    switch (showCommand) {
    case SW::Hide:
        visible = false;
        break;
    case SW::ShowNormal:
    case SW::Restore:
        visible = true;
        iconic = false;
        break;
    case SW::ShowMinimized:
    case SW::Minimize:
    case SW::ShowMinNoActive:
        visible = true;
        iconic = true;
        break;
    default:
        visible = true;
        break;
    }
}

void HeadlessDesktop::ApplyShowOrder(TWindowHandle window, int showCommand) {
    switch (showCommand) {
    case SW::Hide:
        if (FActive == window)
            FActive = 0;
        break;
    case SW::ShowNormal:
    case SW::Maximize:
    case SW::Show:
    case SW::Restore:
        RaiseWithOwned(window);
        FActive = window;
        break;
    default:
        break;
    }
}

void HeadlessDesktop::ShowWindow(TWindowHandle window, int showCommand) {
    ShowCalls.push_back({window, showCommand});
    if (!IsWindow(window))
        return;
    WhenAnswering(window, [this, window, showCommand] {
        const bool wasVisible = IsVisible(window);
        if (FakeWindow* fake = Fake(window))
            ApplyShowCommand(showCommand, fake->Visible, fake->Iconic);
        else
            FOwn.ShowOwn(window, showCommand);
        // A hidden window shown comes up in front, activated or not.
        if (!wasVisible && IsVisible(window))
            PlaceInFront(window);
        ApplyShowOrder(window, showCommand);
    });
}

TWindowHandle HeadlessDesktop::ForegroundWindow() {
    return IsWindow(FActive) ? FActive : 0;
}

void HeadlessDesktop::Activate(TWindowHandle window) {
    if (!IsWindow(window))
        return;
    RaiseWithOwned(window);
    FActive = window;
}

void HeadlessDesktop::RaiseWithOwned(TWindowHandle window) {
    PlaceInFront(window);
    // Back to front, so that the windows it owns keep their order in front of it.
    const std::vector<TWindowHandle> order = FZOrder;
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        if (*it != window && Owner(*it) == window)
            RaiseWithOwned(*it);
}

void HeadlessDesktop::PlaceBehind(TWindowHandle window, TWindowHandle above) {
    if (!IsWindow(window) || !IsWindow(above) || window == above)
        return;
    WhenAnswering(window, [this, window, above] {
        if (!IsWindow(window) || !IsWindow(above))
            return;
        FZOrder.erase(std::remove(FZOrder.begin(), FZOrder.end(), window), FZOrder.end());
        FZOrder.insert(std::find(FZOrder.begin(), FZOrder.end(), above) + 1, window);
    });
}

bool HeadlessDesktop::WaitUntilShown(const std::vector<TWindowHandle>& windows,
                                     unsigned timeoutMs) {
    // Time stands still here: a window not shown yet (its thread hangs) stays so for the
    // whole wait.
    for (TWindowHandle window : windows)
        if (IsWindow(window) && !IsVisible(window)) {
            ShownWaitMs += timeoutMs;
            return false;
        }
    return true;
}

bool HeadlessDesktop::SetProperty(TWindowHandle window, std::string_view name,
                                  std::uint32_t value) {
    if (!IsWindow(window))
        return false;
    auto& properties = FProperties[window];
    const auto it = properties.find(name);
    if (it == properties.end())
        properties.emplace(std::string(name), value);
    else
        it->second = value;
    return true;
}

std::uint32_t HeadlessDesktop::Property(TWindowHandle window, std::string_view name) {
    const auto properties = FProperties.find(window);
    if (properties == FProperties.end())
        return 0;
    const auto it = properties->second.find(name);
    return it == properties->second.end() ? 0 : it->second;
}

void HeadlessDesktop::RemoveProperty(TWindowHandle window, std::string_view name) {
    const auto properties = FProperties.find(window);
    if (properties == FProperties.end())
        return;
    if (const auto it = properties->second.find(name); it != properties->second.end())
        properties->second.erase(it);
    if (properties->second.empty())
        FProperties.erase(properties);
}

TProcessIdentity HeadlessDesktop::StartProcess(std::uint32_t id) {
    if (FProcesses.count(id))
        throw Exception("Process id in use");
    const std::uint64_t start = FNextStartTime;
    FNextStartTime += 10'000'000; // a second later
    FProcesses[id] = start;
    return {id, start};
}

void HeadlessDesktop::EndProcess(std::uint32_t id) {
    FProcesses.erase(id);
}

void HeadlessDesktop::DenyProcessQuery(std::uint32_t id, bool denied) {
    if (denied)
        FDeniedProcesses.insert(id);
    else
        FDeniedProcesses.erase(id);
}

TProcessIdentity HeadlessDesktop::CurrentProcess() {
    return {kOwnThread.Process, FProcesses.at(kOwnThread.Process)};
}

TProcessState HeadlessDesktop::ProcessState(const TProcessIdentity& process) {
    if (FDeniedProcesses.count(process.Id))
        return TProcessState::Unknown;
    const auto it = FProcesses.find(process.Id);
    return it != FProcesses.end() && it->second == process.StartTime ? TProcessState::Running
                                                                     : TProcessState::Gone;
}

bool HeadlessDesktop::RegisterHotKey(TWindowHandle window, int id, unsigned modifiers,
                                     unsigned key) {
    HotKeyCalls.push_back("register " + std::to_string(id));
    for (const auto& [m, k] : FReserved)
        if (m == modifiers && k == key)
            return false;
    for (const HotKey& h : FHotKeys)
        if ((h.Modifiers == modifiers && h.Key == key) || (h.Window == window && h.Id == id))
            return false;
    FHotKeys.push_back({window, id, modifiers, key});
    return true;
}

bool HeadlessDesktop::UnregisterHotKey(TWindowHandle window, int id) {
    HotKeyCalls.push_back("unregister " + std::to_string(id));
    auto it = std::find_if(FHotKeys.begin(), FHotKeys.end(),
                           [&](const HotKey& h) { return h.Window == window && h.Id == id; });
    if (it == FHotKeys.end())
        return false;
    FHotKeys.erase(it);
    return true;
}

bool HeadlessDesktop::ShellOpen(TWindowHandle parent, std::string_view target) {
    ShellOpened.emplace_back(parent, std::string(target));
    return true;
}

} // namespace fw::headless
