#include "platform/win32/Win32Desktop.h"

#include "platform/win32/Win32Handles.h"

#include <iterator>
#include <new>
#include <optional>
#include <vector>

namespace fw::win32 {

namespace {

// The process's creation time in 100-ns units; none when the system does not tell.
std::optional<std::uint64_t> CreationTime(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return std::nullopt;
    return (std::uint64_t(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
    try {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
    } catch (const std::bad_alloc&) {
        return FALSE; // nothing may unwind through the system's frames
    }
}

} // namespace

void WindowManager::EnumTopLevelWindows(const std::function<bool(TWindowHandle)>& visit) {
    // Collected first, so the visitor runs outside the system's callback: it may throw, and
    // it may create or destroy windows.
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND window : windows) {
        if (!visit(FromHwnd(window)))
            return;
    }
}

std::string WindowManager::WindowText(TWindowHandle window, int maxChars) {
    wchar_t text[255];
    const int length = GetWindowTextW(ToHwnd(window), text, int(std::size(text)));
    if (length <= 0)
        return {};
    return NarrowPrefix(std::wstring_view(text, std::size_t(length)), maxChars);
}

TWindowHandle WindowManager::Owner(TWindowHandle window) {
    return TWindowHandle(std::uint32_t(GetWindowLongW(ToHwnd(window), GWL_HWNDPARENT)));
}

std::uint32_t WindowManager::ExStyle(TWindowHandle window) {
    return std::uint32_t(GetWindowLongW(ToHwnd(window), GWL_EXSTYLE));
}

bool WindowManager::IsWindow(TWindowHandle window) {
    return window != 0 && ::IsWindow(ToHwnd(window));
}

bool WindowManager::IsVisible(TWindowHandle window) {
    return window != 0 && IsWindowVisible(ToHwnd(window));
}

bool WindowManager::IsIconic(TWindowHandle window) {
    return window != 0 && ::IsIconic(ToHwnd(window));
}

TWindowHandle WindowManager::DesktopWindow() {
    return FromHwnd(GetDesktopWindow());
}

TIconHandle WindowManager::QuerySmallIcon(TWindowHandle window, unsigned timeoutMs) {
    DWORD_PTR icon = 0;
    if (window == 0 || SendMessageTimeoutW(ToHwnd(window), WM_GETICON, ICON_SMALL, 0,
                                           SMTO_ABORTIFHUNG | SMTO_NORMAL, timeoutMs, &icon) == 0)
        return 0;
    return TIconHandle(std::uint32_t(icon));
}

TThreadProcess WindowManager::WindowThreadProcess(TWindowHandle window) {
    DWORD process = 0;
    const DWORD thread = GetWindowThreadProcessId(ToHwnd(window), &process);
    return {std::uint32_t(thread), std::uint32_t(process)};
}

void WindowManager::ShowWindow(TWindowHandle window, int showCommand) {
    HWND target = ToHwnd(window);
    const DWORD thread = GetWindowThreadProcessId(target, nullptr);
    if (thread == 0)
        return;
    // Another thread's window may be hung: ask, never wait.
    if (thread == GetCurrentThreadId())
        ::ShowWindow(target, showCommand);
    else
        ShowWindowAsync(target, showCommand);
}

bool WindowManager::WaitUntilShown(const std::vector<TWindowHandle>& windows, unsigned timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        bool shown = true;
        for (TWindowHandle window : windows)
            if (::IsWindow(ToHwnd(window)) && !IsWindowVisible(ToHwnd(window))) {
                shown = false;
                break;
            }
        if (shown)
            return true;
        if (GetTickCount64() >= deadline)
            return false;
        Sleep(1);
    }
}

TWindowHandle WindowManager::ForegroundWindow() {
    return FromHwnd(GetForegroundWindow());
}

void WindowManager::Activate(TWindowHandle window) {
    // The system hands another thread's window the activation through its queue.
    if (window != 0)
        SetForegroundWindow(ToHwnd(window));
}

void WindowManager::PlaceBehind(TWindowHandle window, TWindowHandle above) {
    HWND target = ToHwnd(window);
    const DWORD thread = GetWindowThreadProcessId(target, nullptr);
    if (thread == 0 || above == 0)
        return;
    UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    // Another thread's window may be hung: the request goes to its queue.
    if (thread != GetCurrentThreadId())
        flags |= SWP_ASYNCWINDOWPOS;
    SetWindowPos(target, ToHwnd(above), 0, 0, 0, 0, flags);
}

bool WindowManager::SetProperty(TWindowHandle window, std::string_view name, std::uint32_t value) {
    const std::wstring wideName = Widen(name);
    return SetPropW(ToHwnd(window), wideName.c_str(),
                    reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(value))) != FALSE;
}

std::uint32_t WindowManager::Property(TWindowHandle window, std::string_view name) {
    const std::wstring wideName = Widen(name);
    return std::uint32_t(
        reinterpret_cast<std::uintptr_t>(GetPropW(ToHwnd(window), wideName.c_str())));
}

void WindowManager::RemoveProperty(TWindowHandle window, std::string_view name) {
    const std::wstring wideName = Widen(name);
    RemovePropW(ToHwnd(window), wideName.c_str());
}

TProcessIdentity WindowManager::CurrentProcess() {
    return {std::uint32_t(GetCurrentProcessId()), CreationTime(GetCurrentProcess()).value_or(0)};
}

TProcessState WindowManager::ProcessState(const TProcessIdentity& process) {
    const UniqueKernelHandle handle(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, DWORD(process.Id)));
    if (!handle) {
        // No such process: anything else (a process of another user, say) says nothing.
        return GetLastError() == ERROR_INVALID_PARAMETER ? TProcessState::Gone
                                                         : TProcessState::Unknown;
    }
    // Someone may still hold a handle to a process that has ended.
    if (WaitForSingleObject(handle.get(), 0) == WAIT_OBJECT_0)
        return TProcessState::Gone;
    const std::optional<std::uint64_t> start = CreationTime(handle.get());
    if (!start)
        return TProcessState::Unknown;
    return *start == process.StartTime ? TProcessState::Running : TProcessState::Gone;
}

bool WindowManager::RegisterHotKey(TWindowHandle window, int id, unsigned modifiers, unsigned key) {
    return ::RegisterHotKey(ToHwnd(window), id, modifiers, key) != FALSE;
}

bool WindowManager::UnregisterHotKey(TWindowHandle window, int id) {
    return ::UnregisterHotKey(ToHwnd(window), id) != FALSE;
}

bool WindowManager::ShellOpen(TWindowHandle parent, std::string_view target) {
    const std::wstring wideTarget = Widen(target);
    if (wideTarget.empty())
        return false;
    HINSTANCE result =
        ShellExecuteW(ToHwnd(parent), L"open", wideTarget.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

} // namespace fw::win32
