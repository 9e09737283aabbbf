// The deterministic in-memory platform of native tests and benchmarks.
//
// Windows are pixel surfaces; messages are delivered synchronously (Send) or queued (Post and
// HandleMessage); time stands still until a test moves it (AdvanceTime fires due timers);
// focus, capture, cursor, key state and the pointer are plain state a test can set or read.
// The desktop (HeadlessDesktop) simulates other programs' top-level windows.
//
// Visible scroll bars take their width from the client area, as real ones do. Only client
// areas take pointer input: a point on a frame or a scroll bar reaches no window.
#pragma once

#include "framework/Platform.h"
#include "platform/headless/HeadlessDesktop.h"
#include "platform/headless/HeadlessGraphics.h"
#include "platform/headless/PixelRegion.h"

#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace fw::headless {

class HeadlessPlatform;

// Frame metrics of a top-level window (outer minus client): 4-pixel sizeable border,
// 3-pixel fixed border, 19-pixel caption.
constexpr int kSizeableBorder = 4;
constexpr int kFixedBorder = 3;
constexpr int kCaptionHeight = 19;

class HeadlessWindow : public IPlatformWindow {
public:
    HeadlessWindow(HeadlessPlatform& platform, TWindowHandle handle, const TWindowCreateArgs& args);
    ~HeadlessWindow() override;

    // IPlatformWindow
    TWindowHandle Handle() const override { return FHandle; }
    void SetBounds(const TRect& bounds) override;
    TRect Bounds() const override { return FBounds; }
    TRect ClientRect() const override;
    void Show(int showCommand) override;
    bool IsVisible() const override { return FVisible; }
    bool IsIconic() const override { return FIconic; }
    void SetEnabled(bool enabled) override { FEnabled = enabled; }
    void SetCaption(std::string_view caption) override { FCaption = caption; }
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
    void TrackMouseLeave() override { FTrackingLeave = true; }
    void SetTimer(unsigned id, unsigned milliseconds) override;
    void KillTimer(unsigned id) override;
    void SetScrollInfo(int bar, const TScrollInfo& info, bool visible) override;
    TScrollInfo GetScrollInfo(int bar) const override;
    TPoint ClientToScreen(TPoint p) const override;
    TPoint ScreenToClient(TPoint p) const override;
    std::intptr_t DefaultProc(TMessage& message) override;
    void Post(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override;

    // For tests
    TWindowKind Kind() const { return FKind; }
    bool Elliptic() const { return FElliptic; }
    TWindowHandle ParentHandle() const { return FParent; }
    const std::string& Caption() const { return FCaption; }
    const std::string& ClassName() const { return FClassName; }
    bool Enabled() const { return FEnabled; }
    bool HasSysMenu() const { return FSysMenu; }
    bool HasMinimizeBox() const { return FMinimizeBox; }
    bool HasMaximizeBox() const { return FMaximizeBox; }
    bool HasSizeableBorder() const { return FSizeableBorder; }
    bool TabStop() const { return FTabStop; }
    const PixelSurface& Surface() const { return FSurface; }
    TChildFrame Frame() const { return FFrame; }
    // The whole window's pixels as the non-client painting left them (the client area's
    // pixels are in Surface()). A window with a frame or scroll bars hears Msg::NcPaint when
    // it is next updated after being made, resized or given another frame; the default
    // handling paints the platform's frames and the bars' faces.
    const PixelSurface& WindowSurface() const { return FWindowSurface; }
    // Paints the whole surface in one colour, so that a test can find pixels a paint pass left.
    void FillSurface(TColorRef color) {
        for (TColorRef& pixel : FSurface.Pixels)
            pixel = color & 0xFFFFFFu;
    }
    const PixelRegion& UpdateRegion() const { return FUpdate; }
    bool NeedsPaint() const { return !FUpdate.IsEmpty(); }
    bool ScrollBarVisible(int bar) const { return FScrollVisible[bar == SB::Vert ? 1 : 0]; }
    IWindowSink* Sink() const { return FSink; }
    int PaintCount() const { return FPaintCount; }
    // Screen rectangle of the client area.
    TRect ClientScreenRect() const;
    // Screen rectangle of the whole window, frame and scroll bars included.
    TRect WindowScreenRect() const;

private:
    friend class HeadlessPlatform;
    // Outer size minus client size: the frame and the visible scroll bars.
    TSize NonClientExtra() const;
    // A child window's frame on each side.
    int FrameWidth() const;
    void ResizeSurface();
    void PaintNonClient();

    HeadlessPlatform& FPlatform;
    TWindowHandle FHandle;
    TWindowKind FKind;
    IWindowSink* FSink;
    TWindowHandle FParent;
    TRect FBounds;
    std::string FCaption;
    std::string FClassName;
    bool FVisible;
    bool FIconic = false;
    bool FEnabled;
    bool FSysMenu, FMinimizeBox, FMaximizeBox, FSizeableBorder, FTabStop;
    bool FTrackingLeave = false;
    bool FElliptic;
    PixelSurface FSurface;
    PixelSurface FWindowSurface;
    bool FFrameInvalid = true;
    TChildFrame FFrame;
    PixelRegion FUpdate;
    TScrollInfo FScroll[2];
    bool FScrollVisible[2] = {false, false};
    int FPaintCount = 0;
};

class HeadlessPlatform : public IPlatform, private OwnWindowBridge {
public:
    HeadlessPlatform();
    ~HeadlessPlatform() override;

    // IPlatform
    std::unique_ptr<IPlatformWindow> CreatePlatformWindow(const TWindowCreateArgs& args) override;
    std::unique_ptr<ICanvasDevice> CreateBitmap(int width, int height) override;
    std::unique_ptr<IImageList> CreateImageList(int width, int height) override;
    TIconHandle CreateIcon(const TPixelImage& image) override;
    void DestroyIcon(TIconHandle icon) override;
    // Icons created and not yet destroyed, to find leaks.
    std::size_t LiveIconCount() const { return FIcons.Count(); }
    TColorRef SysColor(int index) const override;
    int SystemMetric(int index) const override;
    TSize FrameExtra(bool sizeableBorder) const override;
    TWindowHandle FocusedWindow() const override { return FFocus; }
    TWindowHandle ParentWindow(TWindowHandle window) const override;
    TWindowHandle CaptureWindow() const override { return FCapture; }
    void ReleaseCapture() override;
    void LoadCursorResource(TCursor slot, std::string_view resourceName) override;
    void SetCursor(TCursor cursor) override { FCursor = cursor; }
    std::uintptr_t ShowCursorNow(TCursor cursor) override;
    void RestoreShownCursor(std::uintptr_t previous) override;
    TPoint CursorPos() const override { return FCursorPos; }
    short KeyState(int virtualKey) const override;
    void CreateCursor(TCursor slot, const TPixelImage& image, TPoint hotSpot) override;
    unsigned DoubleClickTime() const override { return 500; }
    unsigned WheelScrollLines() const override { return WheelLines; }
    std::uint32_t TickCount() const override { return FNow; }
    int TrackPopupMenu(TWindowHandle owner, TPoint screen, const std::vector<TMenuItemDesc>& items,
                       TPopupAlignment alignment) override;
    // A fixed locale, the same on every machine: upper-casing maps a-z and the small letters U+00E0
    // to U+00FE (but U+00F7) to their capitals; the comparison orders by code points with those
    // letters upper-cased, then, for texts equal that way, by the first letter whose case
    // differs, the small letter first. Bytes that are not UTF-8 count as U+FFFD.
    int CompareTextLocale(std::string_view a, std::string_view b) const override;
    std::string UpperCaseLocale(std::string_view text) const override;
    void SetClipboardText(std::string_view utf8) override { ClipboardText = utf8; }
    // Sounds play instantly: each is only recorded.
    void PlaySoundResource(std::string_view name) override { SoundsPlayed.emplace_back(name); }
    std::optional<TPixelImage> BitmapResource(std::string_view name) const override;
    void ShowErrorMessage(std::string_view text) override { ErrorMessages.emplace_back(text); }
    std::optional<std::string> ProgramResource(std::string_view name) const override;
    void SetFatalErrorHandler(std::function<void()> handler) override {
        FFatalHandler = std::move(handler);
    }
    // What the platform does when the process is dying of an error: the handler runs once.
    bool SimulateFatalError();
    // Makes a data resource available to ProgramResource.
    void AddResource(std::string name, std::string data) {
        FResources[std::move(name)] = std::move(data);
    }
    // Makes a bitmap resource available to BitmapResource (names ignore case).
    void AddBitmapResource(std::string_view name, TPixelImage image);
    // Dispatches the oldest posted message (painting what is invalid when none is queued);
    // false after PostQuit or when nothing is left to do, since nothing else can happen
    // without the test.
    bool HandleMessage() override;
    void PostQuit() override { FQuit = true; }
    // Takes posted messages in order. Once none is queued (and a posted quit ends the loop
    // only then, as the platform reports it after the posted messages), each visible window
    // that needs painting gets its paint message through the filter; after that ModalIdle
    // runs, and when it is empty or answers false the loop ends as if stopped. Timers fire
    // only when time is moved, straight to their window, not through the filter.
    bool
    RunMessageLoop(const std::function<TLoopVerdict(TWindowHandle, TMessage&)>& filter) override;
    IWindowManager& Desktop() override { return FDesktop; }

    // --- For tests ---------------------------------------------------------------------
    HeadlessDesktop& FakeDesktop() { return FDesktop; }
    HeadlessWindow* Find(TWindowHandle handle) const;
    std::vector<HeadlessWindow*> Windows() const;
    std::intptr_t Send(TWindowHandle window, std::uint32_t msg, std::uintptr_t wParam = 0,
                       std::intptr_t lParam = 0);
    void Post(TWindowHandle window, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam);
    // Handles every queued message; returns how many.
    int ProcessPosted();
    // Paints every window with an update region (what the platform does when idle).
    void PaintAll();
    bool QuitPosted() const { return FQuit; }
    void ResetQuit() { FQuit = false; }

    // Moves the clock and fires due timers in time order.
    void AdvanceTime(unsigned milliseconds);
    bool TimerActive(TWindowHandle window, unsigned id) const;
    unsigned TimerInterval(TWindowHandle window, unsigned id) const;

    void SetKeyDown(int virtualKey, bool down);
    TCursor CurrentCursor() const { return FCursor; }
    // Slots of the cursor table filled from resources (by name) and from pictures.
    const std::map<TCursor, std::string>& CursorTable() const { return FCursorTable; }
    // How many times a cursor resource was actually loaded into the table.
    int CursorLoads() const { return FCursorLoads; }
    struct CursorPicture {
        TPixelImage Image;
        TPoint HotSpot;
    };
    const CursorPicture* CursorPictureAt(TCursor slot) const;
    void SetFocusTo(TWindowHandle window);

    // Pointer input at a screen point, routed like the platform does: to the capture
    // window, else to the deepest visible, enabled window whose client area is under the
    // point. Returns the window that received it (0 for none).
    TWindowHandle MouseMoveTo(TPoint screen);
    TWindowHandle MouseButton(std::uint32_t msg, TPoint screen);
    // The same routing, but the message is posted, as the platform queues input; the pointer
    // and the button state change at once. The cursor-shape request of a move or a press is
    // sent when a loop takes the message from the queue, before any filter sees it.
    TWindowHandle PostMouse(std::uint32_t msg, TPoint screen);
    // Left press and release at a point of a window's client area.
    void Click(TWindowHandle window, TPoint client);
    // The deepest visible window under the point, frame and scroll bars included.
    TWindowHandle WindowFromPoint(TPoint screen) const;

    // The next TrackPopupMenu answers this index (then -1 again); what was shown is kept. A
    // menu takes the capture away from the window that held it, as the real one does.
    struct ShownPopup {
        std::vector<TMenuItemDesc> Items;
        TPoint Screen;
        TPopupAlignment Alignment = paLeft;
    };
    int NextPopupChoice = -1;
    std::vector<ShownPopup> PopupsShown;
    std::vector<std::string> SoundsPlayed;
    std::vector<std::string> ErrorMessages;
    SysColorTable SysColors;
    TSize ScreenSize{1024, 768};
    // What SetClipboardText last put on the clipboard.
    std::string ClipboardText;
    // Answered by WheelScrollLines (kWheelPageScroll: a page per notch).
    unsigned WheelLines = 3;
    // Runs whenever RunMessageLoop finds nothing to do; it may post messages, move time and
    // so on. False, or no hook, ends the loop as if the filter had stopped it.
    std::function<bool()> ModalIdle;

private:
    friend class HeadlessWindow;
    struct Timer {
        TWindowHandle Window;
        unsigned Id;
        unsigned Interval;
        std::uint64_t Due;
    };
    struct Posted {
        TWindowHandle Window;
        TMessage Message;
        // Pointer input, which the platform prepares when a loop takes it.
        bool Input = false;
    };
    void Register(HeadlessWindow* window);
    void Unregister(HeadlessWindow* window);
    // The oldest posted message, taken from the queue as a loop takes it.
    Posted TakePosted();
    // The first visible window with an update region, parents first.
    HeadlessWindow* NextToPaint() const;
    TWindowHandle RouteMouse(std::uint32_t msg, TPoint screen, bool post);
    TWindowHandle ClientWindowFromPoint(TPoint screen) const;
    void RequestCursor(TWindowHandle target, std::uint32_t msg);
    void SendMouse(TWindowHandle target, std::uint32_t msg, TPoint screen);
    std::uintptr_t MouseKeys() const;
    bool DescribeOwn(TWindowHandle window, FakeWindow& out) const override;
    void ShowOwn(TWindowHandle window, int showCommand) override;
    void OwnerIconicChanged(TWindowHandle owner, bool iconic);
    void PostToOwn(TWindowHandle window, std::uint32_t msg, std::uintptr_t wParam,
                   std::intptr_t lParam) override;

    HeadlessIconStore FIcons;
    HeadlessDesktop FDesktop;
    std::map<TWindowHandle, HeadlessWindow*> FWindows;
    TWindowHandle FNextHandle = 0x00100010;
    std::deque<Posted> FQueue;
    std::vector<Timer> FTimers;
    std::uint64_t FNow = 1000;
    TWindowHandle FFocus = 0;
    TWindowHandle FCapture = 0;
    TWindowHandle FHover = 0;
    TCursor FCursor = crArrow;
    std::map<TCursor, std::string> FCursorTable;
    int FCursorLoads = 0;
    std::map<TCursor, CursorPicture> FCursorPictures;
    TPoint FCursorPos{0, 0};
    std::map<int, bool> FKeys;
    std::map<std::string, std::string, std::less<>> FResources;
    // Keys upper-cased: resource names ignore case.
    std::map<std::string, TPixelImage, std::less<>> FBitmaps;
    std::function<void()> FFatalHandler;
    // Own windows hidden because their owner was minimised.
    std::set<TWindowHandle> FHiddenWithOwner;
    bool FQuit = false;
};

} // namespace fw::headless
