// One system window per framework window.
#pragma once

#include "platform/win32/Win32Fonts.h"
#include "platform/win32/Win32Handles.h"

#include <array>
#include <map>
#include <string>

namespace fw::win32 {

// Window classes registered on first use and unregistered with the platform.
class WindowClasses {
public:
    explicit WindowClasses(HINSTANCE instance);
    ~WindowClasses();
    WindowClasses(const WindowClasses&) = delete;
    WindowClasses& operator=(const WindowClasses&) = delete;

    // The registered class name for a requested name (empty: the default class).
    std::wstring Get(std::string_view requestedName, bool doubleClicks);

private:
    HINSTANCE instance_;
    // Class name -> whether it was registered with double clicks.
    std::map<std::wstring, bool> registered_;
};

class Win32Window final : public IPlatformWindow {
public:
    Win32Window(const TWindowCreateArgs& args, WindowClasses& classes, FontCache& fonts,
                HINSTANCE instance);
    ~Win32Window() override;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    TWindowHandle Handle() const override { return FromHwnd(window_); }
    void SetBounds(const TRect& bounds) override;
    TRect Bounds() const override;
    TRect ClientRect() const override;
    void Show(int showCommand) override;
    bool IsVisible() const override;
    bool IsIconic() const override;
    void SetEnabled(bool enabled) override;
    void SetCaption(std::string_view caption) override;
    void SetBorderIcons(bool sysMenu, bool minimize, bool maximize) override;
    void BringToFront() override;

    void Invalidate(const TRect* r) override;
    void Update() override;
    std::unique_ptr<ICanvasDevice> BeginPaint() override;
    std::unique_ptr<ICanvasDevice> GetDevice() override;
    std::unique_ptr<ICanvasDevice> GetWindowDevice() override;
    void SetFrame(TChildFrame frame) override;
    void Scroll(int dx, int dy, const TRect& area) override;

    void SetFocus() override;
    void SetCapture() override;
    void TrackMouseLeave() override;
    void SetTimer(unsigned id, unsigned milliseconds) override;
    void KillTimer(unsigned id) override;

    void SetScrollInfo(int bar, const TScrollInfo& info, bool visible) override;
    TScrollInfo GetScrollInfo(int bar) const override;

    TPoint ClientToScreen(TPoint p) const override;
    TPoint ScreenToClient(TPoint p) const override;

    std::intptr_t DefaultProc(TMessage& message) override;
    void Post(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override;

    // The procedure of every class WindowClasses registers.
    static LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    bool IsTopLevel() const;
    bool ScrollBarShown(int bar) const;
    // Clips the window to the ellipse inscribed in its current size.
    void ApplyEllipse();

    TWindowKind kind_;
    IWindowSink* sink_;
    FontCache& fonts_;
    HWND window_ = nullptr;
    // Messages reach the sink only once the constructor has finished: while the system window
    // is being created the framework object does not yet hold this object.
    bool sinkConnected_ = false;
    // What the framework last set for a hidden scroll bar (index: SB::Horz, SB::Vert).
    std::array<TScrollInfo, 2> hiddenScrollInfo_{};
    bool elliptic_;
    // The window size the ellipse was made for.
    SIZE ellipseSize_{-1, -1};
    TChildFrame frame_;
};

} // namespace fw::win32
