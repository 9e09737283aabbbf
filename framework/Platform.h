// What the framework needs of a platform. Everything above this header is platform-neutral;
// platform/win32 implements it over the real system and platform/headless in memory.
//
// Conventions: colours arrive converted (TColorRef, 0x00BBGGRR); texts are UTF-8; flag words
// (text format, edges, raster operations, show commands) use the platform's own numbers,
// named below.
#pragma once

#include "framework/Messages.h"
#include "framework/Types.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// ---------------------------------------------------------------------------------------------
// Flag words

namespace DT {
constexpr unsigned Left = 0x0, Center = 0x1, Right = 0x2, VCenter = 0x4, Bottom = 0x8,
                   WordBreak = 0x10, SingleLine = 0x20, ExpandTabs = 0x40, NoClip = 0x100,
                   CalcRect = 0x400, NoPrefix = 0x800, EndEllipsis = 0x8000;
}
namespace ETO {
constexpr unsigned Opaque = 0x2, Clipped = 0x4;
}
namespace BDR {
constexpr unsigned RaisedOuter = 0x1, SunkenOuter = 0x2, RaisedInner = 0x4, SunkenInner = 0x8;
constexpr unsigned EdgeRaised = RaisedOuter | RaisedInner, EdgeSunken = SunkenOuter | SunkenInner,
                   EdgeEtched = SunkenOuter | RaisedInner, EdgeBump = RaisedOuter | SunkenInner;
} // namespace BDR
namespace BF {
constexpr unsigned Left = 0x1, Top = 0x2, Right = 0x4, Bottom = 0x8, Rect = 0xF, Middle = 0x800,
                   Soft = 0x1000, Adjust = 0x2000, Flat = 0x4000, Mono = 0x8000;
}
namespace Rop {
constexpr std::uint32_t SrcCopy = 0x00CC0020, SrcPaint = 0x00EE0086, SrcAnd = 0x008800C6,
                        SrcInvert = 0x00660046, PatCopy = 0x00F00021, DstInvert = 0x00550009,
                        // Where the source is white, the brush; elsewhere the destination.
    DSPDxax = 0x00E20746;
} // namespace Rop
namespace SW {
constexpr int Hide = 0, ShowNormal = 1, ShowMinimized = 2, Maximize = 3, ShowNoActivate = 4,
              Show = 5, Minimize = 6, ShowMinNoActive = 7, ShowNA = 8, Restore = 9;
}
namespace WSEx {
constexpr std::uint32_t TopMost = 0x8, ToolWindow = 0x80, AppWindow = 0x40000,
                        NoActivate = 0x08000000;
}
namespace SB {
constexpr int Horz = 0, Vert = 1;
}
namespace SM {
constexpr int CxScreen = 0, CyScreen = 1, CxVScroll = 2, CyHScroll = 3, CyCaption = 4, CxBorder = 5,
              CyBorder = 6, CxDoubleClk = 36, CyDoubleClk = 37, CxFrame = 32, CyFrame = 33,
              CxDrag = 68, CyDrag = 69, XVirtualScreen = 76, YVirtualScreen = 77,
              CxVirtualScreen = 78, CyVirtualScreen = 79;
}

// IPlatform::WheelScrollLines when the user set one wheel notch to scroll a page.
constexpr unsigned kWheelPageScroll = 0xFFFFFFFFu;

// Cursor identifiers: built-in shapes are negative; 0 means "the default for the control";
// positive values are slots of the program-wide cursor table filled by controls.
using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4,
                  crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10,
                  crHourGlass = -11, crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15,
                  crMultiDrag = -16, crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21,
                  crSizeAll = -22;

// ---------------------------------------------------------------------------------------------
// Fonts and images

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

constexpr int DEFAULT_CHARSET = 1, ANSI_CHARSET = 0, HANGEUL_CHARSET = 129;

// Identifies a platform font; the platform creates and caches the real font object.
struct TFontDesc {
    std::string Name = "MS Sans Serif";
    // Negative: character height in pixels; positive: cell height.
    int Height = -11;
    int Charset = DEFAULT_CHARSET;
    TFontStyles Style = 0;
    friend bool operator==(const TFontDesc&, const TFontDesc&) = default;
};

// A picture in 0xAABBGGRR pixels, row by row from the top; alpha 0 marks a masked pixel.
struct TPixelImage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;

    std::uint32_t At(int x, int y) const {
        return Pixels[std::size_t(y) * std::size_t(Width) + std::size_t(x)];
    }
    void Set(int x, int y, std::uint32_t v) {
        Pixels[std::size_t(y) * std::size_t(Width) + std::size_t(x)] = v;
    }
    static TPixelImage Blank(int w, int h) {
        return {w, h, std::vector<std::uint32_t>(std::size_t(w) * std::size_t(h), 0)};
    }
};
constexpr std::uint32_t Opaque(TColorRef c) {
    return 0xFF000000u | (c & 0xFFFFFFu);
}

// ---------------------------------------------------------------------------------------------
// Drawing surface: a window's client area during or outside a paint cycle, or a bitmap.

enum class TPenStyle { Solid, Dot, Clear };

class ICanvasDevice {
public:
    virtual ~ICanvasDevice() = default;

    virtual TSize SurfaceSize() const = 0;

    // Text state, used by TextOut and DrawText.
    virtual void SelectFont(const TFontDesc& font) = 0;
    virtual void SetTextColor(TColorRef color) = 0;
    virtual void SetBkColor(TColorRef color) = 0;
    virtual void SetBkTransparent(bool transparent) = 0;

    virtual void FillRect(const TRect& r, TColorRef color) = 0;
    // A 2x2 checkerboard: pixels with (x + y) even get `even`, counted in surface coordinates.
    virtual void FillChecker(const TRect& r, TColorRef even, TColorRef odd) = 0;
    virtual void FrameRect(const TRect& r, TColorRef color) = 0;
    virtual void InvertRect(const TRect& r) = 0;
    // The platform's 3-D edge primitive; with BF::Adjust, `r` shrinks past the edge.
    virtual void DrawEdge(TRect& r, unsigned edge, unsigned flags) = 0;
    // Dotted XOR rectangle; drawing it twice restores the pixels.
    virtual void DrawFocusRect(const TRect& r) = 0;
    // Polylines leave out their end points, as the platform's do.
    virtual void PolyPolyline(const TPoint* points, const int* counts, int polylineCount,
                              TColorRef color, int width, TPenStyle style) = 0;
    virtual void SetPixel(int x, int y, TColorRef color) = 0;
    virtual TColorRef GetPixel(int x, int y) const = 0;

    virtual TSize TextExtent(std::string_view text) = 0;
    // ETO flags; `rect` may be null when neither Opaque nor Clipped is given.
    virtual void TextOut(int x, int y, unsigned etoOptions, const TRect* rect,
                         std::string_view text) = 0;
    // DT flags; returns the height of the text drawn (or measured with DT::CalcRect, which
    // also updates `r`).
    virtual int DrawText(std::string_view text, TRect& r, unsigned format) = 0;

    // Clip regions. SaveClip returns a token; RestoreClip(token) brings back that state.
    virtual int SaveClip() = 0;
    virtual void RestoreClip(int token) = 0;
    virtual void IntersectClip(const TRect& r) = 0;
    virtual void ExcludeClip(const TRect& r) = 0;
    // Bounding box of the clip region (the whole surface when unclipped).
    virtual TRect ClipBox() = 0;
    virtual bool RectVisible(const TRect& r) = 0;

    // Bit-block transfer from another device of the same platform. `brush` is the pattern for
    // raster operations that use one.
    virtual void BitBlt(const TRect& dst, ICanvasDevice& src, TPoint srcOrigin, std::uint32_t rop,
                        TColorRef brush) = 0;
    // Copies `src` to `dst`, pixels of colour `transparent` replaced by `brush`.
    virtual void BrushCopy(const TRect& dst, ICanvasDevice& src, TPoint srcOrigin,
                           TColorRef transparent, TColorRef brush) = 0;
    // Draws an icon (any icon handle the platform knows, own or borrowed) scaled to the size.
    virtual void DrawIcon(int x, int y, TIconHandle icon, int width, int height) = 0;
};

// A masked image list of fixed image size.
class IImageList {
public:
    virtual ~IImageList() = default;
    virtual int Count() const = 0;
    virtual int Add(const TPixelImage& image) = 0;
    virtual void Clear() = 0;
    virtual void Draw(ICanvasDevice& device, int index, int x, int y, bool enabled) = 0;
    // A new icon of the image; the caller owns it (IPlatform::DestroyIcon).
    virtual TIconHandle GetIcon(int index) = 0;
};

// ---------------------------------------------------------------------------------------------
// Windows

// The framework object behind a platform window; the platform calls it for every message.
class IWindowSink {
public:
    virtual void WindowProc(TMessage& message) = 0;

protected:
    ~IWindowSink() = default;
};

enum class TWindowKind {
    Child,       // a control inside a parent window
    TopLevel,    // a form; owned by the application window
    Application, // the application window: owner-less, visible with zero size, taskbar button
    Utility,     // invisible, receives timers and posted messages only
    // No caption, border or taskbar button; stays in front of ordinary windows and never
    // takes activation, not even when shown.
    Popup
};

// The frame around a child window's client area.
enum class TChildFrame {
    None,
    Single, // the platform's plain 1-pixel border
    Sunken, // the platform's 2-pixel sunken edge
    // One pixel on every side that the window paints itself after the platform's own
    // non-client painting (Msg::NcPaint, on IPlatformWindow::GetWindowDevice).
    OwnDrawn
};

struct TWindowCreateArgs {
    TWindowKind Kind = TWindowKind::Child;
    IWindowSink* Sink = nullptr;
    // Child: the parent; TopLevel, Popup: the owner (a popup may have none).
    TWindowHandle Parent = 0;
    // Child: in the parent's client coordinates; TopLevel, Popup: outer rectangle on the
    // screen.
    TRect Bounds;
    std::string Caption;
    std::string ClassName;
    bool Visible = false;
    bool Enabled = true;
    bool SysMenu = true;
    bool MinimizeBox = true;
    bool MaximizeBox = true;
    bool SizeableBorder = true;
    bool TabStop = false;
    bool DoubleClicks = true;
    // The window is clipped to the ellipse inscribed in its bounds, one pixel larger, and
    // keeps that shape when resized.
    bool Elliptic = false;
    // Child windows only.
    TChildFrame Frame = TChildFrame::None;
};

struct TScrollInfo {
    int Min = 0;
    int Max = 0;
    int Page = 0;
    int Pos = 0;
    int TrackPos = 0;
};

class IPlatformWindow {
public:
    // Destroying the object destroys the platform window.
    virtual ~IPlatformWindow() = default;

    virtual TWindowHandle Handle() const = 0;
    // Same coordinates as TWindowCreateArgs::Bounds.
    virtual void SetBounds(const TRect& bounds) = 0;
    virtual TRect Bounds() const = 0;
    // (0, 0, client width, client height).
    virtual TRect ClientRect() const = 0;
    virtual void Show(int showCommand) = 0;
    virtual bool IsVisible() const = 0;
    virtual bool IsIconic() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual void SetCaption(std::string_view caption) = 0;
    virtual void SetBorderIcons(bool sysMenu, bool minimize, bool maximize) = 0;
    virtual void BringToFront() = 0;

    // Null: the whole client area.
    virtual void Invalidate(const TRect* r) = 0;
    // Paints now what is invalid.
    virtual void Update() = 0;
    // A device whose clip is the update region; destroying it ends the paint cycle and
    // validates the region.
    virtual std::unique_ptr<ICanvasDevice> BeginPaint() = 0;
    // A device for drawing outside a paint cycle (the whole client area).
    virtual std::unique_ptr<ICanvasDevice> GetDevice() = 0;
    // A device over the whole window, frame and scroll bars included, with (0, 0) at the
    // window's top-left corner: for painting an own-drawn frame.
    virtual std::unique_ptr<ICanvasDevice> GetWindowDevice() = 0;
    // A child window's new frame: the client area shrinks or grows (the window hears of it
    // as of any resize) and the frame is painted again, also when it stays the same kind.
    virtual void SetFrame(TChildFrame frame) = 0;
    virtual void Scroll(int dx, int dy, const TRect& area) = 0;

    virtual void SetFocus() = 0;
    virtual void SetCapture() = 0;
    // Asks for one mouse-leave message when the pointer leaves the client area.
    virtual void TrackMouseLeave() = 0;
    virtual void SetTimer(unsigned id, unsigned milliseconds) = 0;
    virtual void KillTimer(unsigned id) = 0;

    virtual void SetScrollInfo(int bar, const TScrollInfo& info, bool visible) = 0;
    virtual TScrollInfo GetScrollInfo(int bar) const = 0;

    virtual TPoint ClientToScreen(TPoint p) const = 0;
    virtual TPoint ScreenToClient(TPoint p) const = 0;

    // The platform's handling of a message no framework handler took.
    virtual std::intptr_t DefaultProc(TMessage& message) = 0;
    virtual void Post(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) = 0;
};

// ---------------------------------------------------------------------------------------------
// The desktop's top-level windows and other system-wide services.

struct TThreadProcess {
    std::uint32_t Thread = 0;
    std::uint32_t Process = 0;
    friend bool operator==(const TThreadProcess&, const TThreadProcess&) = default;
};

// A process, told apart from a later one that got the same id by its start time (the
// platform's clock in 100-ns units).
struct TProcessIdentity {
    std::uint32_t Id = 0;
    std::uint64_t StartTime = 0;
    friend bool operator==(const TProcessIdentity&, const TProcessIdentity&) = default;
};

// Gone: it ended, or its id now names a later process. Unknown: the platform may not look.
enum class TProcessState { Running, Gone, Unknown };

class IWindowManager {
public:
    virtual ~IWindowManager() = default;

    // Every top-level window in the platform's order (Z order, topmost first); stop by
    // returning false.
    virtual void EnumTopLevelWindows(const std::function<bool(TWindowHandle)>& visit) = 0;
    // At most maxChars characters, never a character cut in two; empty for a dead window.
    virtual std::string WindowText(TWindowHandle window, int maxChars) = 0;
    // The owner (0 for none).
    virtual TWindowHandle Owner(TWindowHandle window) = 0;
    virtual std::uint32_t ExStyle(TWindowHandle window) = 0;
    virtual bool IsWindow(TWindowHandle window) = 0;
    virtual bool IsVisible(TWindowHandle window) = 0;
    virtual bool IsIconic(TWindowHandle window) = 0;
    virtual TWindowHandle DesktopWindow() = 0;
    // Asks the window for its small icon, waiting at most `timeoutMs` for a window whose
    // thread does not answer; 0 for none or no answer. The icon stays the window's.
    virtual TIconHandle QuerySmallIcon(TWindowHandle window, unsigned timeoutMs) = 0;
    virtual TThreadProcess WindowThreadProcess(TWindowHandle window) = 0;
    // Never waits for another thread's window to act on the command.
    virtual void ShowWindow(TWindowHandle window, int showCommand) = 0;
    // Waits at most `timeoutMs` until each window is visible or gone; true when all are.
    virtual bool WaitUntilShown(const std::vector<TWindowHandle>& windows, unsigned timeoutMs) = 0;
    // The window the user works in (0 for none).
    virtual TWindowHandle ForegroundWindow() = 0;
    // Makes the window the one the user works in, in front of the others. Never waits for
    // another thread's window.
    virtual void Activate(TWindowHandle window) = 0;
    // Puts the window right behind `above` in the Z order, activating nothing. Never waits for
    // another thread's window.
    virtual void PlaceBehind(TWindowHandle window, TWindowHandle above) = 0;

    // Named values on a window that any program may read and write; they go with the window.
    // A value of 0 cannot be told from no value, so 0 means none.
    virtual bool SetProperty(TWindowHandle window, std::string_view name, std::uint32_t value) = 0;
    virtual std::uint32_t Property(TWindowHandle window, std::string_view name) = 0;
    virtual void RemoveProperty(TWindowHandle window, std::string_view name) = 0;

    virtual TProcessIdentity CurrentProcess() = 0;
    virtual TProcessState ProcessState(const TProcessIdentity& process) = 0;

    virtual bool RegisterHotKey(TWindowHandle window, int id, unsigned modifiers, unsigned key) = 0;
    virtual bool UnregisterHotKey(TWindowHandle window, int id) = 0;
    // The shell's "open" verb on a document or URL (mailto:).
    virtual bool ShellOpen(TWindowHandle parent, std::string_view target) = 0;
};

// ---------------------------------------------------------------------------------------------
// The platform

// What a modal message loop's filter does with a message: dispatch it as usual, drop it, or
// drop it and end the loop.
enum class TLoopVerdict { Dispatch, Swallow, Stop };

struct TMenuItemDesc {
    std::string Caption; // "-" is a separator
    bool Enabled = true;
    bool Checked = false;
};

// Which edge of a popup menu lies at the point it is shown at.
enum TPopupAlignment { paLeft, paRight, paCenter };

class IPlatform {
public:
    virtual ~IPlatform() = default;

    virtual std::unique_ptr<IPlatformWindow>
    CreatePlatformWindow(const TWindowCreateArgs& args) = 0;
    virtual std::unique_ptr<ICanvasDevice> CreateBitmap(int width, int height) = 0;
    virtual std::unique_ptr<IImageList> CreateImageList(int width, int height) = 0;
    virtual TIconHandle CreateIcon(const TPixelImage& image) = 0;
    virtual void DestroyIcon(TIconHandle icon) = 0;

    virtual TColorRef SysColor(int index) const = 0;
    virtual int SystemMetric(int index) const = 0;
    // Outer size minus client size of a top-level window with a caption and the border.
    virtual TSize FrameExtra(bool sizeableBorder) const = 0;

    virtual TWindowHandle FocusedWindow() const = 0;
    virtual TWindowHandle ParentWindow(TWindowHandle window) const = 0;
    virtual TWindowHandle CaptureWindow() const = 0;
    virtual void ReleaseCapture() = 0;
    // Slot > 0 of the program-wide cursor table takes a cursor resource of the program. A slot
    // that already holds that resource keeps it; resource cursors are shared by everyone who
    // uses them and never destroyed.
    virtual void LoadCursorResource(TCursor slot, std::string_view resourceName) = 0;
    // Slot > 0 of the same table takes a cursor made from a picture (alpha 0: transparent)
    // whose hot spot is `hotSpot`; the platform owns it. A slot left without a cursor (an
    // empty picture, a failure) shows the arrow.
    virtual void CreateCursor(TCursor slot, const TPixelImage& image, TPoint hotSpot) = 0;
    virtual void SetCursor(TCursor cursor) = 0;
    // Shows `cursor` at once, whatever the pointer is over, and answers what showed before, for
    // RestoreShownCursor (a busy cursor around work that keeps the message loop waiting).
    virtual std::uintptr_t ShowCursorNow(TCursor cursor) = 0;
    virtual void RestoreShownCursor(std::uintptr_t previous) = 0;
    virtual TPoint CursorPos() const = 0;
    // Negative while the key is down, as the platform reports it.
    virtual short KeyState(int virtualKey) const = 0;
    virtual unsigned DoubleClickTime() const = 0;
    // Lines to scroll per wheel notch, as the user set it; kWheelPageScroll for a page.
    virtual unsigned WheelScrollLines() const = 0;
    virtual std::uint32_t TickCount() const = 0;

    // Shows a popup menu with one edge at a screen point and waits for the choice: the item's
    // index, or -1. The menu takes the mouse capture while it is open.
    virtual int TrackPopupMenu(TWindowHandle owner, TPoint screen,
                               const std::vector<TMenuItemDesc>& items,
                               TPopupAlignment alignment) = 0;
    // The user's default locale on UTF-8 texts: its case-sensitive comparison (below 0, 0 or
    // above 0) and its upper-casing. Bytes that are not UTF-8 take part as replacement
    // characters.
    virtual int CompareTextLocale(std::string_view a, std::string_view b) const = 0;
    virtual std::string UpperCaseLocale(std::string_view text) const = 0;
    // Replaces the clipboard's content with the text, as Unicode text. Nothing happens when
    // the clipboard cannot be had (another program keeps it open).
    virtual void SetClipboardText(std::string_view utf8) = 0;
    // Starts playing a wave resource (type "WAV") of the program and returns at once; a sound
    // still playing stops. A missing resource plays nothing.
    virtual void PlaySoundResource(std::string_view name) = 0;
    // A bitmap resource of the program, looked up by name without regard to case; none when
    // there is no such resource.
    virtual std::optional<TPixelImage> BitmapResource(std::string_view name) const {
        (void)name;
        return std::nullopt;
    }
    // The bytes of a data resource of the program, looked up by name; empty when there is
    // none.
    virtual std::optional<std::string> ProgramResource(std::string_view name) const {
        (void)name;
        return std::nullopt;
    }
    // Runs `handler` once when the process is about to end through an error nobody caught
    // (a crash, an exception that escaped), then lets the process end as it would have. An
    // empty handler removes it.
    virtual void SetFatalErrorHandler(std::function<void()> handler) { (void)handler; }
    // Tells the user about an error nobody handled.
    virtual void ShowErrorMessage(std::string_view text) { (void)text; }

    // Waits for the next message and dispatches it; false once the loop must end.
    virtual bool HandleMessage() = 0;
    virtual void PostQuit() = 0;
    // Runs a message loop of the caller's own: each message taken from the queue goes to
    // `filter` first, which dispatches it as usual, swallows it, or ends the loop (the
    // message swallowed). The filter may change the message's number and parameters before
    // it is dispatched. A paint message that is not dispatched validates its window, so it
    // does not come straight back.
    // Answers false when the loop ended because the application must quit; the quit request
    // is then posted again, so the application's own loop still ends.
    virtual bool RunMessageLoop(
        const std::function<TLoopVerdict(TWindowHandle window, TMessage& message)>& filter) = 0;

    virtual IWindowManager& Desktop() = 0;
};

// The real platform of the build (defined by the backend linked into the program).
std::unique_ptr<IPlatform> CreateNativePlatform();

} // namespace fw
