// The desktop's top-level windows, hot keys and the shell, over user32 and shell32.
#pragma once

#include "platform/win32/Win32Api.h"

namespace fw::win32 {

class WindowManager final : public IWindowManager {
public:
    void EnumTopLevelWindows(const std::function<bool(TWindowHandle)>& visit) override;
    std::string WindowText(TWindowHandle window, int maxChars) override;
    TWindowHandle Owner(TWindowHandle window) override;
    std::uint32_t ExStyle(TWindowHandle window) override;
    bool IsWindow(TWindowHandle window) override;
    bool IsVisible(TWindowHandle window) override;
    bool IsIconic(TWindowHandle window) override;
    TWindowHandle DesktopWindow() override;
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
};

} // namespace fw::win32
