#include "platform/win32/Win32Window.h"

#include "platform/win32/Win32Canvas.h"

#include <algorithm>
#include <exception>

namespace fw::win32 {

namespace {

constexpr const wchar_t* kDefaultClassName = L"TVarnelWindow";

// A minimised window's rectangle is the system's parking place; its restored rectangle is the
// one the framework means. The placement keeps it in work-area coordinates.
POINT WorkAreaOffset(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor))
        return {};
    if ((GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0)
        return {};
    return {monitor.rcWork.left - monitor.rcMonitor.left,
            monitor.rcWork.top - monitor.rcMonitor.top};
}

DWORD StyleFor(const TWindowCreateArgs& args) {
    DWORD style = 0;
    switch (args.Kind) {
    case TWindowKind::Child:
        style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        if (args.TabStop)
            style |= WS_TABSTOP;
        if (args.Frame == TChildFrame::Single)
            style |= WS_BORDER;
        break;
    case TWindowKind::TopLevel:
        style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
        if (args.SysMenu)
            style |= WS_SYSMENU;
        if (args.MinimizeBox)
            style |= WS_MINIMIZEBOX;
        if (args.MaximizeBox)
            style |= WS_MAXIMIZEBOX;
        if (args.SizeableBorder)
            style |= WS_THICKFRAME;
        break;
    case TWindowKind::Application:
        style = WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX;
        break;
    case TWindowKind::Utility:
        return 0;
    case TWindowKind::Popup:
        style = WS_POPUP | WS_CLIPCHILDREN;
        break;
    }
    // Created visible, a window is shown with activation; a popup is shown afterwards.
    if (args.Visible && args.Kind != TWindowKind::Popup)
        style |= WS_VISIBLE;
    if (!args.Enabled)
        style |= WS_DISABLED;
    return style;
}

DWORD ExStyleFor(const TWindowCreateArgs& args) {
    if (args.Kind == TWindowKind::Popup)
        return WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    if (args.Kind == TWindowKind::Child && args.Frame == TChildFrame::Sunken)
        return WS_EX_CLIENTEDGE;
    return 0;
}

// An own-drawn frame takes one pixel on every side of what the default calculation leaves.
LRESULT CalcOwnDrawnFrame(HWND window, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DefWindowProcW(window, WM_NCCALCSIZE, wParam, lParam);
    // Both forms of the message start with the client rectangle.
    RECT* client = reinterpret_cast<RECT*>(lParam);
    if (client->right - client->left >= 2 && client->bottom - client->top >= 2)
        InflateRect(client, -1, -1);
    return result;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Window classes

WindowClasses::WindowClasses(HINSTANCE instance) : instance_(instance) {}

WindowClasses::~WindowClasses() {
    for (const auto& [name, doubleClicks] : registered_)
        UnregisterClassW(name.c_str(), instance_);
}

std::wstring WindowClasses::Get(std::string_view requestedName, bool doubleClicks) {
    std::wstring name = requestedName.empty() ? kDefaultClassName : Widen(requestedName);
    // A class has one double-click setting; a window that wants the other gets a sibling class.
    if (const auto existing = registered_.find(name);
        existing != registered_.end() && existing->second != doubleClicks)
        name += doubleClicks ? L".DblClk" : L".NoDblClk";
    if (registered_.contains(name))
        return name;

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW | (doubleClicks ? CS_DBLCLKS : 0);
    windowClass.lpfnWndProc = Win32Window::Procedure;
    windowClass.hInstance = instance_;
    windowClass.hIcon = static_cast<HICON>(LoadImageW(instance_, L"MAINICON", IMAGE_ICON,
                                                      GetSystemMetrics(SM_CXICON),
                                                      GetSystemMetrics(SM_CYICON), LR_SHARED));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance_, L"MAINICON", IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = nullptr; // controls paint every pixel themselves
    windowClass.lpszClassName = name.c_str();
    if (RegisterClassExW(&windowClass) == 0) {
        const DWORD error = GetLastError();
        if (error != ERROR_CLASS_ALREADY_EXISTS)
            throw Exception("Cannot register the window class " + Narrow(name) + " (error " +
                            std::to_string(error) + ")");
    }
    registered_.emplace(name, doubleClicks);
    return name;
}

// ---------------------------------------------------------------------------------------------
// The window procedure

LRESULT CALLBACK Win32Window::Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<Win32Window*>(create->lpCreateParams);
        if (self != nullptr) {
            self->window_ = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        return DefWindowProcW(window, msg, wParam, lParam);
    }
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcW(window, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        // The system destroyed the window (its parent or owner went, or the default handling
        // of a close): the object stays, without a window.
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return DefWindowProcW(window, msg, wParam, lParam);
    }
    if (msg == WM_SIZE && self->elliptic_)
        self->ApplyEllipse();
    if (msg == WM_NCCALCSIZE && self->frame_ == TChildFrame::OwnDrawn)
        return CalcOwnDrawnFrame(window, wParam, lParam);
    if (!self->sinkConnected_ || self->sink_ == nullptr)
        return DefWindowProcW(window, msg, wParam, lParam);

    // The sink may destroy `self`; nothing below touches it after the call.
    try {
        TMessage message{msg, wParam, lParam, 0};
        self->sink_->WindowProc(message);
        return message.Result;
    } catch (const std::exception& error) {
        ReportToDebugger(std::string("unhandled exception in the window procedure: ") +
                         error.what());
    } catch (...) {
        ReportToDebugger("unhandled exception in the window procedure");
    }
    // A paint that failed half-way would otherwise be asked for again at once, forever.
    if (msg == WM_PAINT)
        ValidateRect(window, nullptr);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Life

Win32Window::Win32Window(const TWindowCreateArgs& args, WindowClasses& classes, FontCache& fonts,
                         HINSTANCE instance)
    : kind_(args.Kind), sink_(args.Sink), fonts_(fonts), elliptic_(args.Elliptic),
      frame_(args.Kind == TWindowKind::Child ? args.Frame : TChildFrame::None) {
    const std::wstring className = classes.Get(args.ClassName, args.DoubleClicks);
    const std::wstring caption = Widen(args.Caption);
    HWND parent = nullptr;
    TRect bounds = args.Bounds;
    switch (kind_) {
    case TWindowKind::Child:
    case TWindowKind::TopLevel:
    case TWindowKind::Popup:
        parent = ToHwnd(args.Parent);
        break;
    case TWindowKind::Application:
        // Zero size: it only carries the taskbar button and the program's title.
        bounds = fw::Bounds(args.Bounds.Left, args.Bounds.Top, 0, 0);
        break;
    case TWindowKind::Utility:
        parent = HWND_MESSAGE;
        bounds = {};
        break;
    }
    HWND created = CreateWindowExW(ExStyleFor(args), className.c_str(), caption.c_str(),
                                   StyleFor(args), bounds.Left, bounds.Top, bounds.Width(),
                                   bounds.Height(), parent, nullptr, instance, this);
    if (created == nullptr) {
        const DWORD error = GetLastError();
        throw Exception("Cannot create a window of class " + Narrow(className) + " (error " +
                        std::to_string(error) + ")");
    }
    window_ = created;
    sinkConnected_ = true;
    if (elliptic_)
        ApplyEllipse();
    if (kind_ == TWindowKind::Popup && args.Visible)
        Show(SW_SHOWNA);
}

Win32Window::~Win32Window() {
    if (window_ == nullptr)
        return;
    // Detach first: the framework object is going away and must not hear its own destruction.
    HWND window = window_;
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    window_ = nullptr;
    DestroyWindow(window);
}

bool Win32Window::IsTopLevel() const {
    return kind_ == TWindowKind::TopLevel || kind_ == TWindowKind::Application;
}

// ---------------------------------------------------------------------------------------------
// Geometry and state

void Win32Window::SetBounds(const TRect& bounds) {
    if (window_ == nullptr)
        return;
    if (IsTopLevel() && ::IsIconic(window_)) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        if (GetWindowPlacement(window_, &placement)) {
            const POINT offset = WorkAreaOffset(window_);
            placement.rcNormalPosition = ToRect(bounds.Offset(-offset.x, -offset.y));
            placement.showCmd = SW_SHOWMINNOACTIVE;
            SetWindowPlacement(window_, &placement);
            return;
        }
    }
    SetWindowPos(window_, nullptr, bounds.Left, bounds.Top, bounds.Width(), bounds.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

TRect Win32Window::Bounds() const {
    if (window_ == nullptr)
        return {};
    if (IsTopLevel() && ::IsIconic(window_)) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        if (GetWindowPlacement(window_, &placement)) {
            const POINT offset = WorkAreaOffset(window_);
            return FromRect(placement.rcNormalPosition).Offset(offset.x, offset.y);
        }
    }
    RECT outer{};
    GetWindowRect(window_, &outer);
    if (kind_ == TWindowKind::Child)
        MapWindowPoints(HWND_DESKTOP, GetParent(window_), reinterpret_cast<POINT*>(&outer), 2);
    return FromRect(outer);
}

TRect Win32Window::ClientRect() const {
    RECT client{};
    if (window_ != nullptr)
        GetClientRect(window_, &client);
    return FromRect(client);
}

void Win32Window::Show(int showCommand) {
    if (window_ == nullptr)
        return;
    // A popup is never activated, whatever the command: the window that has the focus keeps
    // it.
    if (kind_ == TWindowKind::Popup && showCommand != SW_HIDE)
        showCommand = SW_SHOWNA;
    ShowWindow(window_, showCommand);
}

bool Win32Window::IsVisible() const {
    return window_ != nullptr && (GetWindowLongW(window_, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool Win32Window::IsIconic() const {
    return window_ != nullptr && ::IsIconic(window_);
}

void Win32Window::SetEnabled(bool enabled) {
    if (window_ != nullptr)
        EnableWindow(window_, enabled);
}

void Win32Window::SetCaption(std::string_view caption) {
    if (window_ != nullptr)
        SetWindowTextW(window_, Widen(caption).c_str());
}

void Win32Window::SetBorderIcons(bool sysMenu, bool minimize, bool maximize) {
    if (window_ == nullptr)
        return;
    DWORD style = DWORD(GetWindowLongW(window_, GWL_STYLE));
    style &= ~DWORD(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    if (sysMenu)
        style |= WS_SYSMENU;
    if (minimize)
        style |= WS_MINIMIZEBOX;
    if (maximize)
        style |= WS_MAXIMIZEBOX;
    SetWindowLongW(window_, GWL_STYLE, LONG(style));
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::BringToFront() {
    if (window_ == nullptr)
        return;
    if (kind_ == TWindowKind::Child) {
        SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return;
    }
    if (kind_ == TWindowKind::Popup) {
        SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return;
    }
    SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(window_);
}

void Win32Window::ApplyEllipse() {
    RECT outer{};
    if (window_ == nullptr || !GetWindowRect(window_, &outer))
        return;
    const SIZE size{outer.right - outer.left, outer.bottom - outer.top};
    if (size.cx == ellipseSize_.cx && size.cy == ellipseSize_.cy)
        return;
    // The region excludes its right and bottom edge, so it is one pixel larger than the
    // window to reach the window's last column and row.
    UniqueRegion region(CreateEllipticRgn(0, 0, size.cx + 1, size.cy + 1));
    // Once set, the region belongs to the system.
    if (region && SetWindowRgn(window_, region.get(), TRUE) != 0) {
        (void)region.release();
        ellipseSize_ = size;
    }
}

// ---------------------------------------------------------------------------------------------
// Painting

void Win32Window::Invalidate(const TRect* r) {
    if (window_ == nullptr)
        return;
    RECT rc{};
    if (r != nullptr)
        rc = ToRect(*r);
    InvalidateRect(window_, r != nullptr ? &rc : nullptr, FALSE);
}

void Win32Window::Update() {
    if (window_ != nullptr)
        UpdateWindow(window_);
}

std::unique_ptr<ICanvasDevice> Win32Window::BeginPaint() {
    return std::make_unique<PaintDevice>(window_, fonts_);
}

std::unique_ptr<ICanvasDevice> Win32Window::GetDevice() {
    return std::make_unique<WindowDevice>(window_, fonts_);
}

std::unique_ptr<ICanvasDevice> Win32Window::GetWindowDevice() {
    return std::make_unique<FrameDevice>(window_, fonts_);
}

void Win32Window::SetFrame(TChildFrame frame) {
    if (kind_ != TWindowKind::Child)
        return;
    // Also for the same frame: the frame is calculated and painted again (an own-drawn one
    // may have changed its looks).
    frame_ = frame;
    if (window_ == nullptr)
        return;
    LONG style = GetWindowLongW(window_, GWL_STYLE) & ~LONG(WS_BORDER);
    LONG exStyle = GetWindowLongW(window_, GWL_EXSTYLE) & ~LONG(WS_EX_CLIENTEDGE);
    if (frame == TChildFrame::Single)
        style |= WS_BORDER;
    if (frame == TChildFrame::Sunken)
        exStyle |= WS_EX_CLIENTEDGE;
    SetWindowLongW(window_, GWL_STYLE, style);
    SetWindowLongW(window_, GWL_EXSTYLE, exStyle);
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::Scroll(int dx, int dy, const TRect& area) {
    if (window_ == nullptr)
        return;
    const RECT rc = ToRect(area);
    ScrollWindowEx(window_, dx, dy, &rc, &rc, nullptr, nullptr, SW_INVALIDATE);
}

// ---------------------------------------------------------------------------------------------
// Input

void Win32Window::SetFocus() {
    if (window_ != nullptr)
        ::SetFocus(window_);
}

void Win32Window::SetCapture() {
    if (window_ != nullptr)
        ::SetCapture(window_);
}

void Win32Window::TrackMouseLeave() {
    if (window_ == nullptr)
        return;
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = window_;
    TrackMouseEvent(&track);
}

void Win32Window::SetTimer(unsigned id, unsigned milliseconds) {
    if (window_ != nullptr)
        ::SetTimer(window_, UINT_PTR(id), milliseconds, nullptr);
}

void Win32Window::KillTimer(unsigned id) {
    if (window_ != nullptr)
        ::KillTimer(window_, UINT_PTR(id));
}

// ---------------------------------------------------------------------------------------------
// Scroll bars

bool Win32Window::ScrollBarShown(int bar) const {
    const LONG style = GetWindowLongW(window_, GWL_STYLE);
    return (style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) != 0;
}

void Win32Window::SetScrollInfo(int bar, const TScrollInfo& info, bool visible) {
    if (window_ == nullptr || (bar != SB_HORZ && bar != SB_VERT))
        return;
    // Showing or hiding a bar resizes the client area and sends a size message at once, so
    // each is done only on a real change. A hidden bar's numbers are kept here, because the
    // system would show the bar as soon as they ask for scrolling.
    if (!visible) {
        hiddenScrollInfo_[std::size_t(bar)] = info;
        if (ScrollBarShown(bar))
            ShowScrollBar(window_, bar, FALSE);
        return;
    }
    SCROLLINFO scroll{};
    scroll.cbSize = sizeof scroll;
    scroll.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    scroll.nMin = info.Min;
    scroll.nMax = info.Max;
    scroll.nPage = UINT(std::max(info.Page, 0));
    scroll.nPos = info.Pos;
    ::SetScrollInfo(window_, bar, &scroll, TRUE);
    if (!ScrollBarShown(bar))
        ShowScrollBar(window_, bar, TRUE);
}

TScrollInfo Win32Window::GetScrollInfo(int bar) const {
    if (window_ == nullptr || (bar != SB_HORZ && bar != SB_VERT))
        return {};
    if (!ScrollBarShown(bar))
        return hiddenScrollInfo_[std::size_t(bar)];
    SCROLLINFO scroll{};
    scroll.cbSize = sizeof scroll;
    scroll.fMask = SIF_ALL;
    if (!::GetScrollInfo(window_, bar, &scroll))
        return {};
    return {scroll.nMin, scroll.nMax, int(scroll.nPage), scroll.nPos, scroll.nTrackPos};
}

// ---------------------------------------------------------------------------------------------
// Coordinates and messages

TPoint Win32Window::ClientToScreen(TPoint p) const {
    POINT point{p.X, p.Y};
    if (window_ != nullptr)
        ::ClientToScreen(window_, &point);
    return {point.x, point.y};
}

TPoint Win32Window::ScreenToClient(TPoint p) const {
    POINT point{p.X, p.Y};
    if (window_ != nullptr)
        ::ScreenToClient(window_, &point);
    return {point.x, point.y};
}

std::intptr_t Win32Window::DefaultProc(TMessage& message) {
    if (window_ == nullptr)
        return 0;
    return DefWindowProcW(window_, message.Msg, message.WParam, message.LParam);
}

void Win32Window::Post(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
    if (window_ != nullptr)
        PostMessageW(window_, msg, wParam, lParam);
}

} // namespace fw::win32
