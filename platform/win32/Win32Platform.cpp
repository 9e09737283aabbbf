#include "platform/win32/Win32Platform.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "platform/win32/Win32Canvas.h"
#include "platform/win32/Win32ImageList.h"
#include "platform/win32/Win32Pixels.h"

namespace fw::win32 {

namespace {

const wchar_t* SystemCursorName(TCursor cursor) {
    switch (cursor) {
    case crCross:
        return IDC_CROSS;
    case crIBeam:
        return IDC_IBEAM;
    case crSizeNESW:
        return IDC_SIZENESW;
    case crSizeNS:
    case crVSplit:
        return IDC_SIZENS;
    case crSizeNWSE:
        return IDC_SIZENWSE;
    case crSizeWE:
    case crHSplit:
        return IDC_SIZEWE;
    case crUpArrow:
        return IDC_UPARROW;
    case crHourGlass:
        return IDC_WAIT;
    case crNoDrop:
    case crNo:
        return IDC_NO;
    case crAppStart:
        return IDC_APPSTARTING;
    case crHelp:
        return IDC_HELP;
    case crHandPoint:
        return IDC_HAND;
    case crSizeAll:
        return IDC_SIZEALL;
    default: // crDefault, crArrow, crDrag, crMultiDrag and unknown shapes
        return IDC_ARROW;
    }
}

} // namespace

Win32Platform::Win32Platform() : instance_(GetModuleHandleW(nullptr)), classes_(instance_) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);
    // The shell's "open" may hand over to extensions that need COM on the calling thread.
    comInitialized_ =
        SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

Win32Platform::~Win32Platform() {
    // Our cursors go with the platform; the pointer must not be left showing one of them.
    for (const auto& [slot, cursor] : ownedCursors_)
        if (GetCursor() == cursor.get())
            ::SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    if (comInitialized_)
        CoUninitialize();
}

// ---------------------------------------------------------------------------------------------
// Objects

std::unique_ptr<IPlatformWindow>
Win32Platform::CreatePlatformWindow(const TWindowCreateArgs& args) {
    return std::make_unique<Win32Window>(args, classes_, fonts_, instance_);
}

std::unique_ptr<ICanvasDevice> Win32Platform::CreateBitmap(int width, int height) {
    return std::make_unique<BitmapDevice>(width, height, fonts_);
}

std::unique_ptr<IImageList> Win32Platform::CreateImageList(int width, int height) {
    return std::make_unique<ImageList>(width, height);
}

TIconHandle Win32Platform::CreateIcon(const TPixelImage& image) {
    if (image.Width <= 0 || image.Height <= 0)
        return 0;
    const MaskedBitmaps bitmaps = CreateMaskedBitmaps(image, image.Width, image.Height);
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmMask = bitmaps.Mask.get();
    info.hbmColor = bitmaps.Color.get();
    // The icon copies the bitmaps; ours go with `bitmaps`.
    return FromHicon(CreateIconIndirect(&info));
}

void Win32Platform::DestroyIcon(TIconHandle icon) {
    if (icon != 0)
        ::DestroyIcon(ToHicon(icon));
}

// ---------------------------------------------------------------------------------------------
// System values

TColorRef Win32Platform::SysColor(int index) const {
    return TColorRef(GetSysColor(index));
}

int Win32Platform::SystemMetric(int index) const {
    return GetSystemMetrics(index);
}

TSize Win32Platform::FrameExtra(bool sizeableBorder) const {
    RECT frame{0, 0, 0, 0};
    const DWORD style =
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | (sizeableBorder ? WS_THICKFRAME : 0);
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

// ---------------------------------------------------------------------------------------------
// Focus, capture, cursor, keyboard

TWindowHandle Win32Platform::FocusedWindow() const {
    return FromHwnd(GetFocus());
}

TWindowHandle Win32Platform::ParentWindow(TWindowHandle window) const {
    HWND handle = ToHwnd(window);
    // For a top-level window the system names its owner here; that is not a parent.
    if ((GetWindowLongW(handle, GWL_STYLE) & WS_CHILD) == 0)
        return 0;
    return FromHwnd(GetParent(handle));
}

TWindowHandle Win32Platform::CaptureWindow() const {
    return FromHwnd(GetCapture());
}

void Win32Platform::ReleaseCapture() {
    ::ReleaseCapture();
}

void Win32Platform::FillCursorSlot(TCursor slot, HCURSOR cursor, UniqueCursor owned,
                                   std::string_view resourceName) {
    const auto old = ownedCursors_.find(slot);
    if (old != ownedCursors_.end()) {
        // The pointer may be showing the cursor about to be destroyed: it takes the slot's
        // new one first.
        if (GetCursor() == old->second.get())
            ::SetCursor(cursor != nullptr ? cursor : LoadCursorW(nullptr, IDC_ARROW));
        ownedCursors_.erase(old);
    }
    if (cursor != nullptr)
        cursorTable_[slot] = {std::string(resourceName), cursor};
    else
        cursorTable_.erase(slot); // shows the arrow
    if (owned)
        ownedCursors_.emplace(slot, std::move(owned));
}

void Win32Platform::LoadCursorResource(TCursor slot, std::string_view resourceName) {
    if (slot <= 0)
        return;
    if (const auto loaded = cursorTable_.find(slot);
        loaded != cursorTable_.end() && !loaded->second.ResourceName.empty() &&
        SameText(loaded->second.ResourceName, resourceName))
        return;
    // A cursor loaded from a resource is shared: it is never destroyed.
    FillCursorSlot(slot, LoadCursorW(instance_, Widen(resourceName).c_str()), nullptr,
                   resourceName);
}

void Win32Platform::CreateCursor(TCursor slot, const TPixelImage& image, TPoint hotSpot) {
    if (slot <= 0)
        return;
    UniqueCursor cursor;
    if (image.Width > 0 && image.Height > 0) {
        const MaskedBitmaps bitmaps = CreateMaskedBitmaps(image, image.Width, image.Height);
        ICONINFO info{};
        info.fIcon = FALSE;
        info.xHotspot = DWORD(std::max(hotSpot.X, 0));
        info.yHotspot = DWORD(std::max(hotSpot.Y, 0));
        info.hbmMask = bitmaps.Mask.get();
        info.hbmColor = bitmaps.Color.get();
        // The cursor copies the bitmaps; ours go with `bitmaps`.
        cursor.reset(CreateIconIndirect(&info));
    }
    HCURSOR shown = cursor.get();
    FillCursorSlot(slot, shown, std::move(cursor), {});
}

HCURSOR Win32Platform::CursorFor(TCursor cursor) const {
    if (cursor == crNone)
        return nullptr;
    if (cursor > 0) {
        if (const auto loaded = cursorTable_.find(cursor); loaded != cursorTable_.end())
            return loaded->second.Cursor;
        return LoadCursorW(nullptr, IDC_ARROW);
    }
    return LoadCursorW(nullptr, SystemCursorName(cursor));
}

void Win32Platform::SetCursor(TCursor cursor) {
    ::SetCursor(CursorFor(cursor));
}

std::uintptr_t Win32Platform::ShowCursorNow(TCursor cursor) {
    return reinterpret_cast<std::uintptr_t>(::SetCursor(CursorFor(cursor)));
}

void Win32Platform::RestoreShownCursor(std::uintptr_t previous) {
    ::SetCursor(reinterpret_cast<HCURSOR>(previous));
}

TPoint Win32Platform::CursorPos() const {
    POINT point{};
    GetCursorPos(&point);
    return {point.x, point.y};
}

short Win32Platform::KeyState(int virtualKey) const {
    return GetKeyState(virtualKey);
}

unsigned Win32Platform::DoubleClickTime() const {
    return GetDoubleClickTime();
}

unsigned Win32Platform::WheelScrollLines() const {
    UINT lines = 3;
    if (!SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0))
        return 3;
    return lines;
}

std::uint32_t Win32Platform::TickCount() const {
    return GetTickCount();
}

// ---------------------------------------------------------------------------------------------
// Clipboard

namespace {

// Open between construction and destruction, when it could be opened at all.
class ClipboardSession {
public:
    explicit ClipboardSession(HWND owner) {
        // Another program (a clipboard viewer or manager reading the last change) may hold
        // the clipboard for a moment.
        for (int attempt = 0; attempt < 5 && !open_; ++attempt) {
            if (attempt > 0)
                Sleep(10);
            open_ = OpenClipboard(owner) != FALSE;
        }
    }
    ~ClipboardSession() {
        if (open_)
            CloseClipboard();
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    bool IsOpen() const { return open_; }

private:
    bool open_ = false;
};

} // namespace

// Opened without a window, the clipboard gets no owner when emptied, and then the system
// may refuse the new data; a message-only window of our own owns it instead.
HWND Win32Platform::ClipboardOwner() {
    if (!clipboardOwner_) {
        const std::wstring className = classes_.Get({}, true);
        clipboardOwner_.reset(CreateWindowExW(0, className.c_str(), L"", 0, 0, 0, 0, 0,
                                              HWND_MESSAGE, nullptr, instance_, nullptr));
    }
    return clipboardOwner_.get();
}

void Win32Platform::SetClipboardText(std::string_view utf8) {
    // Unicode text keeps Korean on every system code page; the system derives the 8-bit text
    // formats from it for programs that ask for those.
    const std::wstring text = Widen(utf8);
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    UniqueGlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory)
        return;
    void* target = GlobalLock(memory.get());
    if (target == nullptr)
        return;
    std::memcpy(target, text.c_str(), bytes);
    GlobalUnlock(memory.get());

    HWND owner = ClipboardOwner();
    if (owner == nullptr)
        return;
    ClipboardSession clipboard(owner);
    if (!clipboard.IsOpen() || !EmptyClipboard())
        return;
    // On success the memory is the system's.
    if (SetClipboardData(CF_UNICODETEXT, memory.get()) != nullptr)
        (void)memory.release();
}

// ---------------------------------------------------------------------------------------------
// Menus and sounds

int Win32Platform::TrackPopupMenu(TWindowHandle owner, TPoint screen,
                                  const std::vector<TMenuItemDesc>& items,
                                  TPopupAlignment alignment) {
    UniqueMenu menu(CreatePopupMenu());
    if (!menu || items.empty())
        return -1;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const TMenuItemDesc& item = items[i];
        if (item.Caption == "-") {
            AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING;
        if (!item.Enabled)
            flags |= MF_GRAYED;
        if (item.Checked)
            flags |= MF_CHECKED;
        AppendMenuW(menu.get(), flags, UINT_PTR(i + 1), Widen(item.Caption).c_str());
    }
    HWND ownerWindow = ToHwnd(owner);
    // A menu whose owner is not the foreground window does not close when the user clicks
    // elsewhere; the empty message afterwards lets the menu's loop end properly.
    HWND root = GetAncestor(ownerWindow, GA_ROOT);
    if (root != nullptr)
        SetForegroundWindow(root);
    const UINT horizontal = alignment == paRight    ? TPM_RIGHTALIGN
                            : alignment == paCenter ? TPM_CENTERALIGN
                                                    : TPM_LEFTALIGN;
    const int chosen = int(::TrackPopupMenu(
        menu.get(), TPM_RETURNCMD | TPM_NONOTIFY | horizontal | TPM_TOPALIGN | TPM_RIGHTBUTTON,
        screen.X, screen.Y, 0, ownerWindow, nullptr));
    if (ownerWindow != nullptr)
        PostMessageW(ownerWindow, WM_NULL, 0, 0);
    return chosen > 0 ? chosen - 1 : -1;
}

void Win32Platform::PlaySoundResource(std::string_view name) {
    const std::wstring resourceName = Widen(name);
    if (resourceName.empty())
        return;
    HRSRC resource = FindResourceW(instance_, resourceName.c_str(), L"WAV");
    if (resource == nullptr)
        return;
    HGLOBAL loaded = LoadResource(instance_, resource);
    const void* wave = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (wave == nullptr)
        return;
    // Resource memory lives as long as the program, so the sound may outlast this call.
    sndPlaySoundW(static_cast<LPCWSTR>(wave), SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
}

std::optional<TPixelImage> Win32Platform::BitmapResource(std::string_view name) const {
    const std::wstring resourceName = Widen(name);
    if (resourceName.empty())
        return std::nullopt;
    UniqueBitmap bitmap(static_cast<HBITMAP>(
        LoadImageW(instance_, resourceName.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!bitmap)
        return std::nullopt;
    TPixelImage image = ImageFromBitmap(bitmap.get());
    if (image.Width == 0)
        return std::nullopt;
    return image;
}

std::optional<std::string> Win32Platform::ProgramResource(std::string_view name) const {
    const std::wstring resourceName = Widen(name);
    if (resourceName.empty())
        return std::nullopt;
    HRSRC resource = FindResourceW(instance_, resourceName.c_str(), MAKEINTRESOURCEW(10));
    if (resource == nullptr)
        return std::nullopt;
    HGLOBAL loaded = LoadResource(instance_, resource);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr)
        return std::nullopt;
    return std::string(static_cast<const char*>(data), SizeofResource(instance_, resource));
}

// ---------------------------------------------------------------------------------------------
// Fatal errors
//
// The system calls the unhandled-exception filter and the C++ runtime its terminate handler
// as plain functions, so the handler has to live in a global. It runs at most once: a
// second fault inside it must not loop.

namespace {
std::function<void()> gFatalHandler;
std::atomic<bool> gFatalHandlerRan{false};
std::terminate_handler gPreviousTerminate = nullptr;
LPTOP_LEVEL_EXCEPTION_FILTER gPreviousFilter = nullptr;

void RunFatalHandlerOnce() {
    if (gFatalHandlerRan.exchange(true) || !gFatalHandler)
        return;
    try {
        gFatalHandler();
    } catch (...) {
    }
}

LONG WINAPI FatalExceptionFilter(EXCEPTION_POINTERS* info) {
    RunFatalHandlerOnce();
    return gPreviousFilter ? gPreviousFilter(info) : EXCEPTION_CONTINUE_SEARCH;
}

[[noreturn]] void FatalTerminate() {
    RunFatalHandlerOnce();
    if (gPreviousTerminate)
        gPreviousTerminate();
    std::abort();
}
} // namespace

void Win32Platform::SetFatalErrorHandler(std::function<void()> handler) {
    static bool installed = false;
    gFatalHandler = std::move(handler);
    if (!installed && gFatalHandler) {
        installed = true;
        gPreviousFilter = SetUnhandledExceptionFilter(FatalExceptionFilter);
        gPreviousTerminate = std::set_terminate(FatalTerminate);
    }
}

void Win32Platform::ShowErrorMessage(std::string_view text) {
    // Over whichever of our windows is active, so the box cannot hide behind the program.
    MessageBoxW(GetActiveWindow(), Widen(text).c_str(), L"오류", MB_OK | MB_ICONERROR);
}

// ---------------------------------------------------------------------------------------------
// Message loop

bool Win32Platform::HandleMessage() {
    MSG message{};
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0 || got == -1)
        return false;
    TranslateMessage(&message);
    DispatchMessageW(&message);
    return true;
}

void Win32Platform::PostQuit() {
    PostQuitMessage(0);
}

bool Win32Platform::RunMessageLoop(
    const std::function<TLoopVerdict(TWindowHandle, TMessage&)>& filter) {
    MSG msg{};
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1)
            return true;
        if (got == 0) {
            // Taking the quit message consumed the request; the application's loop needs it.
            PostQuitMessage(int(msg.wParam));
            return false;
        }
        TMessage message{msg.message, msg.wParam, msg.lParam, 0};
        const TLoopVerdict verdict = filter(FromHwnd(msg.hwnd), message);
        if (verdict == TLoopVerdict::Dispatch) {
            msg.message = message.Msg;
            msg.wParam = message.WParam;
            msg.lParam = message.LParam;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            continue;
        }
        // The system keeps sending WM_PAINT until the window is validated: an undispatched
        // paint message would come back at once, forever.
        if (msg.message == WM_PAINT && msg.hwnd != nullptr)
            ValidateRect(msg.hwnd, nullptr);
        if (verdict == TLoopVerdict::Stop)
            return true;
    }
}

} // namespace fw::win32

namespace fw {

std::unique_ptr<IPlatform> CreateNativePlatform() {
    return std::make_unique<win32::Win32Platform>();
}

} // namespace fw
