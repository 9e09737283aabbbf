// Middle-button panning of a tree list (see dxTLPanning.h): the marker window and its drawing,
// the cursors (drawn here), the neutral zone, direction and speed, and the mode's message loop.
#include "treelist/input/dxTLPanning.h"

#include "treelist/dxTLControl.h"

#include <algorithm>
#include <cstdlib>

namespace dxtl {

using namespace fw;

namespace {

// The marker: a disc this wide, centred on the press point; it also sets the neutral zone.
constexpr int kMarkerSize = 27;
// Speed: one step per this many pixels beyond the zone's edge, at most this many steps.
constexpr int kPixelsPerStep = 5;
constexpr int kMaxSpeed = 12;

// The panning cursors take slots of the program-wide cursor table of their own.
enum TPanCursor : TCursor {
    pcNeutralBoth = 60,
    pcNeutralVertical,
    pcNeutralHorizontal,
    pcUp,
    pcDown,
    pcLeft,
    pcRight
};
constexpr int kCursorSize = 32;
constexpr int kCursorHalf = kCursorSize / 2;

// A filled triangle of `size` pixels pointing `direction` away from (cx, cy), `gap` off it.
template <class TSetPixel>
void Arrow(TSetPixel&& set, int cx, int cy, TdxTreeListPanning::TDirection direction, int gap,
           int size) {
    for (int row = 0; row < size; ++row)
        for (int across = -row; across <= row; ++across) {
            const int along = gap + size - 1 - row;
            switch (direction) {
            case TdxTreeListPanning::pdUp:
                set(cx + across, cy - along);
                break;
            case TdxTreeListPanning::pdDown:
                set(cx + across, cy + along);
                break;
            case TdxTreeListPanning::pdLeft:
                set(cx - along, cy + across);
                break;
            case TdxTreeListPanning::pdRight:
                set(cx + along, cy + across);
                break;
            default:
                break;
            }
        }
}

// Black arrows with a white rim around a black dot: readable on any background.
TPixelImage CursorImage(bool up, bool down, bool left, bool right) {
    TPixelImage image = TPixelImage::Blank(kCursorSize, kCursorSize);
    const auto shape = [&](std::uint32_t colour, int grow) {
        const auto set = [&](int x, int y) {
            for (int dy = -grow; dy <= grow; ++dy)
                for (int dx = -grow; dx <= grow; ++dx)
                    if (x + dx >= 0 && y + dy >= 0 && x + dx < kCursorSize && y + dy < kCursorSize)
                        image.Set(x + dx, y + dy, colour);
        };
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (dx * dx + dy * dy <= 5)
                    set(kCursorHalf + dx, kCursorHalf + dy);
        const bool wanted[] = {up, down, left, right};
        const TdxTreeListPanning::TDirection directions[] = {
            TdxTreeListPanning::pdUp, TdxTreeListPanning::pdDown, TdxTreeListPanning::pdLeft,
            TdxTreeListPanning::pdRight};
        for (int i = 0; i < 4; ++i)
            if (wanted[i])
                Arrow(set, kCursorHalf, kCursorHalf, directions[i], 5, 6);
    };
    shape(Opaque(0xFFFFFF), 1);
    shape(Opaque(0x000000), 0);
    return image;
}

void CreatePanCursors(IPlatform& platform) {
    const TPoint hotSpot{kCursorHalf, kCursorHalf};
    platform.CreateCursor(pcNeutralBoth, CursorImage(true, true, true, true), hotSpot);
    platform.CreateCursor(pcNeutralVertical, CursorImage(true, true, false, false), hotSpot);
    platform.CreateCursor(pcNeutralHorizontal, CursorImage(false, false, true, true), hotSpot);
    platform.CreateCursor(pcUp, CursorImage(true, false, false, false), hotSpot);
    platform.CreateCursor(pcDown, CursorImage(false, true, false, false), hotSpot);
    platform.CreateCursor(pcLeft, CursorImage(false, false, true, false), hotSpot);
    platform.CreateCursor(pcRight, CursorImage(false, false, false, true), hotSpot);
}

bool IsButtonOrWheel(std::uint32_t msg) {
    switch (msg) {
    case Msg::LButtonDown:
    case Msg::LButtonUp:
    case Msg::LButtonDblClk:
    case Msg::RButtonDown:
    case Msg::RButtonUp:
    case Msg::RButtonDblClk:
    case Msg::MButtonDown:
    case Msg::MButtonDblClk:
    case Msg::MouseWheel:
        return true;
    default:
        return false;
    }
}

} // namespace

TdxTreeListPanning::TdxTreeListPanning(TCustomdxTreeListControl& list, bool horizontalBar,
                                       bool verticalBar)
    : FList(list), FListAlive(list.LifeToken()), FHorizontal(horizontalBar),
      FVertical(verticalBar) {}

TdxTreeListPanning::~TdxTreeListPanning() = default;

void TdxTreeListPanning::Run() {
    IPlatform& platform = FList.Platform();
    FOrigin = platform.CursorPos();
    FMarkerSize = kMarkerSize;
    // The neutral zone: the marker's square, across the whole (virtual) screen in a direction
    // without a bar, since nothing can scroll that way.
    const int half = FMarkerSize / 2;
    FNeutral = {FOrigin.X - half, FOrigin.Y - half, FOrigin.X + half + 1, FOrigin.Y + half + 1};
    const TRect screen{
        platform.SystemMetric(SM::XVirtualScreen), platform.SystemMetric(SM::YVirtualScreen),
        platform.SystemMetric(SM::XVirtualScreen) + platform.SystemMetric(SM::CxVirtualScreen),
        platform.SystemMetric(SM::YVirtualScreen) + platform.SystemMetric(SM::CyVirtualScreen)};
    if (!FHorizontal) {
        FNeutral.Left = std::min(FNeutral.Left, screen.Left);
        FNeutral.Right = std::max(FNeutral.Right, screen.Right);
    }
    if (!FVertical) {
        FNeutral.Top = std::min(FNeutral.Top, screen.Top);
        FNeutral.Bottom = std::max(FNeutral.Bottom, screen.Bottom);
    }

    CreatePanCursors(platform);
    TWindowCreateArgs args;
    args.Kind = TWindowKind::Popup;
    args.Sink = this;
    args.Bounds = {FOrigin.X - half, FOrigin.Y - half, FOrigin.X - half + FMarkerSize,
                   FOrigin.Y - half + FMarkerSize};
    args.ClassName = "TdxTreeListPanMarker";
    args.Visible = true;
    args.Elliptic = true;
    args.DoubleClicks = false;

    IPlatformWindow* list = FList.Window();
    // The list's window goes with a freed list, and its timer with it.
    struct TCleanup {
        TdxTreeListPanning& Panning;
        IPlatform& Platform;
        IPlatformWindow* List;
        TWindowHandle Handle;
        ~TCleanup() {
            if (Handle && Platform.CaptureWindow() == Handle)
                Platform.ReleaseCapture();
            if (List && Panning.FListAlive)
                List->KillTimer(kTimerId);
            Panning.FMarker.reset();
        }
    } cleanup{*this, platform, list, list ? list->Handle() : TWindowHandle{}};
    FMarker = platform.CreatePlatformWindow(args);
    if (!list)
        return;
    list->SetTimer(kTimerId, kTimerInterval);
    list->SetCapture();
    ShowCursor();
    platform.RunMessageLoop(
        [this](TWindowHandle window, TMessage& message) { return Filter(window, message); });
}

void TdxTreeListPanning::Stop() {
    FStopRequested = true;
    // Wakes a loop waiting for its next message.
    if (FListAlive && FList.Window())
        FList.Window()->Post(0, 0, 0);
}

TLoopVerdict TdxTreeListPanning::Filter(TWindowHandle, TMessage& message) {
    if (!FListAlive)
        return TLoopVerdict::Stop;
    IPlatform& platform = FList.Platform();
    IPlatformWindow* list = FList.Window();
    if (FStopRequested || !list || platform.CaptureWindow() != list->Handle())
        return TLoopVerdict::Stop;
    if (IsButtonOrWheel(message.Msg))
        return TLoopVerdict::Stop;
    switch (message.Msg) {
    case Msg::MouseMove:
        PointerMoved(platform.CursorPos());
        return TLoopVerdict::Swallow;
    case Msg::MButtonUp:
        // A plain middle click leaves the mode running; a release after moving ends it.
        return FLeftNeutralZone ? TLoopVerdict::Stop : TLoopVerdict::Swallow;
    case Msg::KeyDown:
    case Msg::KeyUp:
    case Msg::SysKeyDown:
    case Msg::SysKeyUp:
        return message.WParam == static_cast<std::uintptr_t>(VK::Escape) ? TLoopVerdict::Stop
                                                                         : TLoopVerdict::Swallow;
    default:
        return TLoopVerdict::Dispatch;
    }
}

void TdxTreeListPanning::PointerMoved(TPoint screen) {
    if (FNeutral.Contains(screen)) {
        FDirection = pdNone;
        FSpeed = 0;
    } else {
        FLeftNeutralZone = true;
        const int dy = std::abs(screen.Y - FOrigin.Y);
        const int dx = std::abs(screen.X - FOrigin.X);
        const bool vertical = !FHorizontal || (FVertical && dy >= dx);
        int distance = 0;
        if (vertical) {
            FDirection = screen.Y < FOrigin.Y ? pdUp : pdDown;
            distance = dy;
        } else {
            FDirection = screen.X < FOrigin.X ? pdLeft : pdRight;
            distance = dx;
        }
        // Outside the zone the view always moves, however close to its edge.
        FSpeed = std::clamp((distance - FMarkerSize / 2) / kPixelsPerStep + 1, 1, kMaxSpeed);
    }
    ShowCursor();
}

void TdxTreeListPanning::ShowCursor() const {
    TCursor cursor = FHorizontal && FVertical ? pcNeutralBoth
                     : FHorizontal            ? pcNeutralHorizontal
                                              : pcNeutralVertical;
    switch (FDirection) {
    case pdUp:
        cursor = pcUp;
        break;
    case pdDown:
        cursor = pcDown;
        break;
    case pdLeft:
        cursor = pcLeft;
        break;
    case pdRight:
        cursor = pcRight;
        break;
    case pdNone:
        break;
    }
    FList.Platform().SetCursor(cursor);
}

void TdxTreeListPanning::Tick() {
    ++FTicks;
    if (FSpeed <= 0 || FDirection == pdNone ||
        FTicks % static_cast<unsigned>(kMaxSpeed + 1 - FSpeed) != 0)
        return;
    const bool vertical = FDirection == pdUp || FDirection == pdDown;
    const int request = FDirection == pdUp || FDirection == pdLeft ? 0 : 1; // line up / down
    FList.Perform(vertical ? Msg::VScroll : Msg::HScroll, static_cast<std::uintptr_t>(request));
}

// --- the marker ------------------------------------------------------------------------------

void TdxTreeListPanning::WindowProc(TMessage& message) {
    switch (message.Msg) {
    case Msg::Paint:
        if (FMarker)
            if (std::unique_ptr<ICanvasDevice> device = FMarker->BeginPaint())
                PaintMarker(*device);
        return;
    case Msg::EraseBkgnd:
        message.Result = 1;
        return;
    default:
        if (FMarker)
            message.Result = FMarker->DefaultProc(message);
        return;
    }
}

// A disc in the button colour framed in the window-text colour, with the arrows of the
// directions the view can move in.
void TdxTreeListPanning::PaintMarker(ICanvasDevice& device) const {
    const IPlatform& platform = FList.Platform();
    const TColorRef face = platform.SysColor(SysColor::BtnFace);
    const TColorRef ink = platform.SysColor(SysColor::WindowText);
    const int size = FMarkerSize;
    device.FillRect({0, 0, size + 1, size + 1}, face);
    // The frame: the pixels of the disc whose neighbour lies outside it.
    const double r = size / 2.0;
    const auto inside = [r](int x, int y) {
        const double dx = x + 0.5 - r, dy = y + 0.5 - r;
        return dx * dx + dy * dy <= r * r;
    };
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (inside(x, y) &&
                (!inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1)))
                device.SetPixel(x, y, ink);
    const int c = size / 2;
    const auto set = [&device, ink](int x, int y) { device.SetPixel(x, y, ink); };
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            set(c + dx, c + dy);
    if (FVertical) {
        Arrow(set, c, c, pdUp, 4, 5);
        Arrow(set, c, c, pdDown, 4, 5);
    }
    if (FHorizontal) {
        Arrow(set, c, c, pdLeft, 4, 5);
        Arrow(set, c, c, pdRight, 4, 5);
    }
}

} // namespace dxtl
