#include "platform/headless/HeadlessPlatform.h"

#include "platform/headless/HeadlessImageList.h"
#include "platform/headless/PixelCanvas.h"

#include <algorithm>

namespace fw::headless {

// =============================================================================================
// HeadlessWindow

HeadlessWindow::HeadlessWindow(HeadlessPlatform& platform, TWindowHandle handle,
                               const TWindowCreateArgs& args)
    : FPlatform(platform), FHandle(handle), FKind(args.Kind), FSink(args.Sink),
      FParent(args.Parent), FBounds(args.Bounds), FCaption(args.Caption),
      FClassName(args.ClassName), FVisible(args.Visible), FEnabled(args.Enabled),
      FSysMenu(args.SysMenu), FMinimizeBox(args.MinimizeBox), FMaximizeBox(args.MaximizeBox),
      FSizeableBorder(args.SizeableBorder), FTabStop(args.TabStop), FElliptic(args.Elliptic),
      FFrame(args.Kind == TWindowKind::Child ? args.Frame : TChildFrame::None) {
    if (FKind == TWindowKind::Application || FKind == TWindowKind::Utility)
        FBounds = {FBounds.Left, FBounds.Top, FBounds.Left, FBounds.Top};
    ResizeSurface();
}

HeadlessWindow::~HeadlessWindow() {
    FPlatform.Unregister(this);
}

int HeadlessWindow::FrameWidth() const {
    switch (FFrame) {
    case TChildFrame::Single:
    case TChildFrame::OwnDrawn:
        return 1;
    case TChildFrame::Sunken:
        return 2;
    case TChildFrame::None:
        break;
    }
    return 0;
}

TSize HeadlessWindow::NonClientExtra() const {
    TSize extra = FKind == TWindowKind::TopLevel ? FPlatform.FrameExtra(FSizeableBorder) : TSize{};
    extra.cx += 2 * FrameWidth();
    extra.cy += 2 * FrameWidth();
    if (FScrollVisible[1])
        extra.cx += FPlatform.SystemMetric(SM::CxVScroll);
    if (FScrollVisible[0])
        extra.cy += FPlatform.SystemMetric(SM::CyHScroll);
    return extra;
}

TRect HeadlessWindow::ClientRect() const {
    const TSize extra = NonClientExtra();
    return {0, 0, std::max(FBounds.Width() - extra.cx, 0),
            std::max(FBounds.Height() - extra.cy, 0)};
}

// A new size shows nothing of the old content: the whole surface needs painting.
void HeadlessWindow::ResizeSurface() {
    const TRect client = ClientRect();
    FSurface.Resize(client.Width(), client.Height(), 0);
    FUpdate = PixelRegion::Full(client.Width(), client.Height());
    FWindowSurface.Resize(std::max(FBounds.Width(), 0), std::max(FBounds.Height(), 0), 0);
    FFrameInvalid = true;
}

void HeadlessWindow::SetFrame(TChildFrame frame) {
    if (FKind != TWindowKind::Child)
        return;
    // The same frame is painted again (an own-drawn one may have changed its looks).
    if (frame == FFrame) {
        FFrameInvalid = true;
        return;
    }
    FFrame = frame;
    ResizeSurface();
    const TRect client = ClientRect();
    FPlatform.Send(FHandle, Msg::Size, 0, MakeLParam(client.Width(), client.Height()));
}

std::unique_ptr<ICanvasDevice> HeadlessWindow::GetWindowDevice() {
    return std::make_unique<PixelCanvas>(FWindowSurface, FPlatform.SysColors, &FPlatform.FIcons);
}

// The platform's own non-client painting: its frames, and the scroll bars as plain faces.
void HeadlessWindow::PaintNonClient() {
    PixelCanvas canvas(FWindowSurface, FPlatform.SysColors, &FPlatform.FIcons);
    const auto sys = [&](int index) { return FPlatform.SysColors[std::size_t(index)]; };
    TRect r = FWindowSurface.Rect();
    if (FFrame == TChildFrame::Single)
        canvas.FrameRect(r, sys(SysColor::WindowFrame));
    else if (FFrame == TChildFrame::Sunken)
        canvas.DrawEdge(r, BDR::EdgeSunken, BF::Rect);
    r = r.Inflate(-FrameWidth(), -FrameWidth());
    const int vertical = FScrollVisible[1] ? FPlatform.SystemMetric(SM::CxVScroll) : 0;
    const int horizontal = FScrollVisible[0] ? FPlatform.SystemMetric(SM::CyHScroll) : 0;
    if (vertical > 0)
        canvas.FillRect({r.Right - vertical, r.Top, r.Right, r.Bottom}, sys(SysColor::ScrollBar));
    if (horizontal > 0)
        canvas.FillRect({r.Left, r.Bottom - horizontal, r.Right, r.Bottom},
                        sys(SysColor::ScrollBar));
}

void HeadlessWindow::SetBounds(const TRect& bounds) {
    if (bounds == FBounds)
        return;
    const bool resized = bounds.Width() != FBounds.Width() || bounds.Height() != FBounds.Height();
    FBounds = bounds;
    if (resized) {
        ResizeSurface();
        const TRect client = ClientRect();
        FPlatform.Send(FHandle, Msg::Size, 0, MakeLParam(client.Width(), client.Height()));
    }
}

void HeadlessWindow::Show(int showCommand) {
    const bool wasIconic = FIconic;
    ApplyShowCommand(showCommand, FVisible, FIconic);
    if (FVisible)
        Invalidate(nullptr);
    if (FKind != TWindowKind::Child && FIconic != wasIconic)
        FPlatform.OwnerIconicChanged(FHandle, FIconic);
}

void HeadlessWindow::SetBorderIcons(bool sysMenu, bool minimize, bool maximize) {
    FSysMenu = sysMenu;
    FMinimizeBox = minimize;
    FMaximizeBox = maximize;
}

void HeadlessWindow::BringToFront() {
    if (FKind != TWindowKind::Child && FKind != TWindowKind::Utility)
        FPlatform.FDesktop.BringToTop(FHandle);
}

void HeadlessWindow::Invalidate(const TRect* r) {
    if (FSurface.Width == 0 || FSurface.Height == 0)
        return;
    FUpdate.UnionRect(r ? IntersectRect(*r, FSurface.Rect()) : FSurface.Rect());
}

void HeadlessWindow::Update() {
    if (FFrameInvalid) {
        FFrameInvalid = false;
        if (FrameWidth() > 0 || FScrollVisible[0] || FScrollVisible[1])
            FPlatform.Send(FHandle, Msg::NcPaint);
    }
    if (!NeedsPaint())
        return;
    ++FPaintCount;
    FPlatform.Send(FHandle, Msg::Paint);
    // A window that did not paint is still validated, as by the platform's default handling.
    FUpdate.Clear();
}

std::unique_ptr<ICanvasDevice> HeadlessWindow::BeginPaint() {
    PixelRegion region = FUpdate;
    FUpdate.Clear();
    return std::make_unique<PixelCanvas>(FSurface, FPlatform.SysColors, &FPlatform.FIcons,
                                         std::move(region));
}

std::unique_ptr<ICanvasDevice> HeadlessWindow::GetDevice() {
    return std::make_unique<PixelCanvas>(FSurface, FPlatform.SysColors, &FPlatform.FIcons);
}

void HeadlessWindow::Scroll(int dx, int dy, const TRect& area) {
    const TRect clip = IntersectRect(area, FSurface.Rect());
    if (clip.IsEmpty())
        return;
    // Beyond the area's size nothing stays inside it; clamping keeps the arithmetic in range.
    dx = std::clamp(dx, -clip.Width(), clip.Width());
    dy = std::clamp(dy, -clip.Height(), clip.Height());
    const TRect kept = IntersectRect(clip.Offset(dx, dy), clip);
    if (!kept.IsEmpty()) {
        const PixelSurface before = FSurface;
        for (int y = kept.Top; y < kept.Bottom; ++y)
            for (int x = kept.Left; x < kept.Right; ++x)
                FSurface.Set(x, y, before.At(x - dx, y - dy));
    }
    // Pixels that were waiting for a paint are still stale where they moved to; where they
    // were, they stay invalid too.
    PixelRegion moved = FUpdate;
    moved.IntersectRect(clip);
    moved.Offset(dx, dy);
    moved.IntersectRect(clip);
    FUpdate.Union(moved);
    PixelRegion uncovered = PixelRegion::FromRect(FSurface.Width, FSurface.Height, clip);
    uncovered.ExcludeRect(kept);
    FUpdate.Union(uncovered);
}

void HeadlessWindow::SetFocus() {
    FPlatform.SetFocusTo(FHandle);
}

void HeadlessWindow::SetCapture() {
    if (FPlatform.FCapture == FHandle)
        return;
    const TWindowHandle old = FPlatform.FCapture;
    FPlatform.FCapture = FHandle;
    if (old)
        FPlatform.Send(old, Msg::CaptureChanged, 0, static_cast<std::intptr_t>(FHandle));
}

void HeadlessWindow::SetTimer(unsigned id, unsigned milliseconds) {
    KillTimer(id);
    const unsigned interval = std::max(milliseconds, 10u);
    FPlatform.FTimers.push_back({FHandle, id, interval, FPlatform.FNow + interval});
}

void HeadlessWindow::KillTimer(unsigned id) {
    auto& timers = FPlatform.FTimers;
    timers.erase(std::remove_if(timers.begin(), timers.end(),
                                [&](const HeadlessPlatform::Timer& t) {
                                    return t.Window == FHandle && t.Id == id;
                                }),
                 timers.end());
}

void HeadlessWindow::SetScrollInfo(int bar, const TScrollInfo& info, bool visible) {
    const int i = bar == SB::Vert ? 1 : 0;
    FScroll[i] = info;
    if (FScrollVisible[i] == visible)
        return;
    // A bar appearing or going resizes the client area, and the window hears of it at once.
    FScrollVisible[i] = visible;
    ResizeSurface();
    const TRect client = ClientRect();
    FPlatform.Send(FHandle, Msg::Size, 0, MakeLParam(client.Width(), client.Height()));
}

TScrollInfo HeadlessWindow::GetScrollInfo(int bar) const {
    return FScroll[bar == SB::Vert ? 1 : 0];
}

TRect HeadlessWindow::ClientScreenRect() const {
    const TRect client = ClientRect();
    TPoint origin{FBounds.Left, FBounds.Top};
    if (FKind == TWindowKind::TopLevel) {
        const int border = FSizeableBorder ? kSizeableBorder : kFixedBorder;
        origin = {FBounds.Left + border, FBounds.Top + border + kCaptionHeight};
    } else if (FKind == TWindowKind::Child) {
        if (HeadlessWindow* parent = FPlatform.Find(FParent)) {
            const TRect p = parent->ClientScreenRect();
            origin = {p.Left + FBounds.Left, p.Top + FBounds.Top};
        }
        origin = {origin.X + FrameWidth(), origin.Y + FrameWidth()};
    }
    return client.Offset(origin.X, origin.Y);
}

TRect HeadlessWindow::WindowScreenRect() const {
    if (FKind != TWindowKind::Child)
        return FBounds;
    TPoint origin{FBounds.Left, FBounds.Top};
    if (HeadlessWindow* parent = FPlatform.Find(FParent)) {
        const TRect p = parent->ClientScreenRect();
        origin = {p.Left + FBounds.Left, p.Top + FBounds.Top};
    }
    return {origin.X, origin.Y, origin.X + FBounds.Width(), origin.Y + FBounds.Height()};
}

TPoint HeadlessWindow::ClientToScreen(TPoint p) const {
    const TRect r = ClientScreenRect();
    return {p.X + r.Left, p.Y + r.Top};
}

TPoint HeadlessWindow::ScreenToClient(TPoint p) const {
    const TRect r = ClientScreenRect();
    return {p.X - r.Left, p.Y - r.Top};
}

std::intptr_t HeadlessWindow::DefaultProc(TMessage& message) {
    // Every window class shows the arrow over its client area.
    if (message.Msg == Msg::SetCursor && (message.LParam & 0xFFFF) == 1) {
        FPlatform.SetCursor(crArrow);
        return 1;
    }
    if (message.Msg == Msg::NcPaint) {
        PaintNonClient();
        return 0;
    }
    if (message.Msg == Msg::SysCommand) {
        switch (message.WParam & 0xFFF0) {
        case SysCmd::Minimize:
            Show(SW::Minimize);
            break;
        case SysCmd::Restore:
            Show(SW::Restore);
            break;
        case SysCmd::Close:
            FPlatform.Post(FHandle, Msg::Close, 0, 0);
            break;
        default:
            break;
        }
    }
    return 0;
}

void HeadlessWindow::Post(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
    FPlatform.Post(FHandle, msg, wParam, lParam);
}

// =============================================================================================
// HeadlessPlatform

HeadlessPlatform::HeadlessPlatform() : SysColors(DefaultHeadlessSysColors()), FDesktop(*this) {}

HeadlessPlatform::~HeadlessPlatform() = default;

std::unique_ptr<IPlatformWindow>
HeadlessPlatform::CreatePlatformWindow(const TWindowCreateArgs& args) {
    if (args.Kind == TWindowKind::Child && !Find(args.Parent))
        throw Exception("Child window without a parent window");
    auto window = std::make_unique<HeadlessWindow>(*this, FNextHandle, args);
    FNextHandle += 0x10;
    Register(window.get());
    return window;
}

void HeadlessPlatform::Register(HeadlessWindow* window) {
    FWindows[window->Handle()] = window;
    if (window->Kind() == TWindowKind::TopLevel || window->Kind() == TWindowKind::Application ||
        window->Kind() == TWindowKind::Popup)
        FDesktop.AddOwn(window->Handle());
}

void HeadlessPlatform::Unregister(HeadlessWindow* window) {
    const TWindowHandle h = window->Handle();
    FWindows.erase(h);
    FDesktop.RemoveOwn(h);
    FTimers.erase(std::remove_if(FTimers.begin(), FTimers.end(),
                                 [&](const Timer& t) { return t.Window == h; }),
                  FTimers.end());
    FQueue.erase(std::remove_if(FQueue.begin(), FQueue.end(),
                                [&](const Posted& p) { return p.Window == h; }),
                 FQueue.end());
    FHiddenWithOwner.erase(h);
    if (FFocus == h)
        FFocus = 0;
    if (FCapture == h)
        FCapture = 0;
    if (FHover == h)
        FHover = 0;
}

std::unique_ptr<ICanvasDevice> HeadlessPlatform::CreateBitmap(int width, int height) {
    return std::make_unique<PixelBitmap>(std::max(width, 0), std::max(height, 0), SysColors,
                                         &FIcons);
}

std::unique_ptr<IImageList> HeadlessPlatform::CreateImageList(int width, int height) {
    return std::make_unique<HeadlessImageList>(width, height, FIcons);
}

TIconHandle HeadlessPlatform::CreateIcon(const TPixelImage& image) {
    return FIcons.Create(image);
}

void HeadlessPlatform::DestroyIcon(TIconHandle icon) {
    FIcons.Destroy(icon);
}

TColorRef HeadlessPlatform::SysColor(int index) const {
    if (index < 0 || index >= static_cast<int>(SysColors.size()))
        return 0;
    return SysColors[static_cast<std::size_t>(index)];
}

int HeadlessPlatform::SystemMetric(int index) const {
    switch (index) {
    case SM::CxScreen:
    case SM::CxVirtualScreen:
        return ScreenSize.cx;
    case SM::CyScreen:
    case SM::CyVirtualScreen:
        return ScreenSize.cy;
    case SM::CxVScroll:
    case SM::CyHScroll:
        return 16;
    case SM::CyCaption:
        return kCaptionHeight;
    case SM::CxBorder:
    case SM::CyBorder:
        return 1;
    case SM::CxFrame:
    case SM::CyFrame:
        return kSizeableBorder;
    case SM::CxDoubleClk:
    case SM::CyDoubleClk:
    case SM::CxDrag:
    case SM::CyDrag:
        return 4;
    default:
        return 0;
    }
}

TSize HeadlessPlatform::FrameExtra(bool sizeableBorder) const {
    const int border = sizeableBorder ? kSizeableBorder : kFixedBorder;
    return {2 * border, 2 * border + kCaptionHeight};
}

TWindowHandle HeadlessPlatform::ParentWindow(TWindowHandle window) const {
    HeadlessWindow* w = Find(window);
    return w && w->Kind() == TWindowKind::Child ? w->ParentHandle() : 0;
}

void HeadlessPlatform::ReleaseCapture() {
    const TWindowHandle old = FCapture;
    if (!old)
        return;
    FCapture = 0;
    Send(old, Msg::CaptureChanged, 0, 0);
}

void HeadlessPlatform::LoadCursorResource(TCursor slot, std::string_view resourceName) {
    if (slot <= 0)
        return;
    auto it = FCursorTable.find(slot);
    if (it != FCursorTable.end() && SameText(it->second, resourceName))
        return;
    FCursorPictures.erase(slot);
    FCursorTable[slot] = std::string(resourceName);
    ++FCursorLoads;
}

void HeadlessPlatform::CreateCursor(TCursor slot, const TPixelImage& image, TPoint hotSpot) {
    if (slot <= 0)
        return;
    FCursorTable.erase(slot);
    if (image.Width <= 0 || image.Height <= 0) {
        FCursorPictures.erase(slot);
        return;
    }
    FCursorPictures[slot] = {NormalizedImage(image), hotSpot};
}

const HeadlessPlatform::CursorPicture* HeadlessPlatform::CursorPictureAt(TCursor slot) const {
    auto it = FCursorPictures.find(slot);
    return it == FCursorPictures.end() ? nullptr : &it->second;
}

short HeadlessPlatform::KeyState(int virtualKey) const {
    auto it = FKeys.find(virtualKey);
    return it != FKeys.end() && it->second ? static_cast<short>(-128) : 0;
}

void HeadlessPlatform::SetKeyDown(int virtualKey, bool down) {
    FKeys[virtualKey] = down;
}

namespace {
std::string UpperName(std::string_view name) {
    std::string upper(name);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper;
}
} // namespace

void HeadlessPlatform::AddBitmapResource(std::string_view name, TPixelImage image) {
    FBitmaps[UpperName(name)] = std::move(image);
}

std::optional<TPixelImage> HeadlessPlatform::BitmapResource(std::string_view name) const {
    auto it = FBitmaps.find(UpperName(name));
    if (it == FBitmaps.end())
        return std::nullopt;
    return it->second;
}

int HeadlessPlatform::TrackPopupMenu(TWindowHandle, TPoint screen,
                                     const std::vector<TMenuItemDesc>& items,
                                     TPopupAlignment alignment) {
    ReleaseCapture();
    PopupsShown.push_back({items, screen, alignment});
    const int choice = NextPopupChoice;
    NextPopupChoice = -1;
    return choice >= 0 && choice < static_cast<int>(items.size()) ? choice : -1;
}

std::optional<std::string> HeadlessPlatform::ProgramResource(std::string_view name) const {
    auto it = FResources.find(name);
    if (it == FResources.end())
        return std::nullopt;
    return it->second;
}

bool HeadlessPlatform::SimulateFatalError() {
    std::function<void()> handler = std::move(FFatalHandler);
    FFatalHandler = nullptr;
    if (!handler)
        return false;
    handler();
    return true;
}

HeadlessWindow* HeadlessPlatform::Find(TWindowHandle handle) const {
    auto it = FWindows.find(handle);
    return it == FWindows.end() ? nullptr : it->second;
}

std::vector<HeadlessWindow*> HeadlessPlatform::Windows() const {
    std::vector<HeadlessWindow*> list;
    for (const auto& [handle, window] : FWindows)
        list.push_back(window);
    return list;
}

std::intptr_t HeadlessPlatform::Send(TWindowHandle window, std::uint32_t msg, std::uintptr_t wParam,
                                     std::intptr_t lParam) {
    HeadlessWindow* w = Find(window);
    if (!w || !w->Sink())
        return 0;
    TMessage message{msg, wParam, lParam, 0};
    w->Sink()->WindowProc(message);
    return message.Result;
}

void HeadlessPlatform::Post(TWindowHandle window, std::uint32_t msg, std::uintptr_t wParam,
                            std::intptr_t lParam) {
    FQueue.push_back({window, {msg, wParam, lParam, 0}});
}

HeadlessPlatform::Posted HeadlessPlatform::TakePosted() {
    Posted next = FQueue.front();
    FQueue.pop_front();
    if (next.Input)
        RequestCursor(next.Window, next.Message.Msg);
    return next;
}

HeadlessWindow* HeadlessPlatform::NextToPaint() const {
    for (const auto& [handle, window] : FWindows)
        if (window->NeedsPaint() && window->IsVisible())
            return window;
    return nullptr;
}

bool HeadlessPlatform::HandleMessage() {
    if (FQuit)
        return false;
    if (!FQueue.empty()) {
        Posted next = TakePosted();
        Send(next.Window, next.Message.Msg, next.Message.WParam, next.Message.LParam);
        return !FQuit;
    }
    for (const auto& [handle, window] : FWindows)
        if (window->NeedsPaint() && window->IsVisible()) {
            PaintAll();
            return !FQuit;
        }
    return false;
}

bool HeadlessPlatform::RunMessageLoop(
    const std::function<TLoopVerdict(TWindowHandle, TMessage&)>& filter) {
    for (;;) {
        if (!FQueue.empty()) {
            Posted next = TakePosted();
            const TLoopVerdict verdict = filter(next.Window, next.Message);
            if (verdict == TLoopVerdict::Stop)
                return true;
            if (verdict == TLoopVerdict::Dispatch)
                Send(next.Window, next.Message.Msg, next.Message.WParam, next.Message.LParam);
            continue;
        }
        if (FQuit)
            return false; // the flag stays set for the application's own loop
        if (HeadlessWindow* window = NextToPaint()) {
            const TWindowHandle handle = window->Handle();
            TMessage paint{Msg::Paint, 0, 0, 0};
            const TLoopVerdict verdict = filter(handle, paint);
            if (verdict == TLoopVerdict::Dispatch && Find(handle)) {
                ++Find(handle)->FPaintCount;
                Send(handle, paint.Msg, paint.WParam, paint.LParam);
            }
            // Painted or not, the window is validated, or it would be asked again forever.
            if (HeadlessWindow* still = Find(handle))
                still->FUpdate.Clear();
            if (verdict == TLoopVerdict::Stop)
                return true;
            continue;
        }
        if (!ModalIdle || !ModalIdle())
            return true;
    }
}

int HeadlessPlatform::ProcessPosted() {
    int count = 0;
    while (!FQueue.empty()) {
        Posted next = TakePosted();
        Send(next.Window, next.Message.Msg, next.Message.WParam, next.Message.LParam);
        ++count;
    }
    return count;
}

void HeadlessPlatform::PaintAll() {
    // Handles ascend with creation, so parents paint before their children.
    std::vector<TWindowHandle> handles;
    for (const auto& [handle, window] : FWindows)
        handles.push_back(handle);
    for (TWindowHandle h : handles)
        if (HeadlessWindow* w = Find(h))
            w->Update();
}

void HeadlessPlatform::AdvanceTime(unsigned milliseconds) {
    const std::uint64_t target = FNow + milliseconds;
    for (;;) {
        auto next = std::min_element(FTimers.begin(), FTimers.end(),
                                     [](const Timer& a, const Timer& b) { return a.Due < b.Due; });
        if (next == FTimers.end() || next->Due > target)
            break;
        FNow = next->Due;
        next->Due += next->Interval;
        const TWindowHandle window = next->Window;
        const unsigned id = next->Id;
        Send(window, Msg::Timer, id, 0);
    }
    FNow = target;
}

bool HeadlessPlatform::TimerActive(TWindowHandle window, unsigned id) const {
    return std::any_of(FTimers.begin(), FTimers.end(),
                       [&](const Timer& t) { return t.Window == window && t.Id == id; });
}

unsigned HeadlessPlatform::TimerInterval(TWindowHandle window, unsigned id) const {
    for (const Timer& t : FTimers)
        if (t.Window == window && t.Id == id)
            return t.Interval;
    return 0;
}

void HeadlessPlatform::SetFocusTo(TWindowHandle window) {
    if (window == FFocus)
        return;
    const TWindowHandle old = FFocus;
    FFocus = window;
    if (old)
        Send(old, Msg::KillFocus, window, 0);
    if (window && FFocus == window)
        Send(window, Msg::SetFocus, old, 0);
}

TWindowHandle HeadlessPlatform::WindowFromPoint(TPoint screen) const {
    // Top-level windows in Z order, then down the children (later ones lie on top).
    for (TWindowHandle top : FDesktop.ZOrder()) {
        HeadlessWindow* w = Find(top);
        if (!w || !w->IsVisible() || w->IsIconic() || !w->WindowScreenRect().Contains(screen))
            continue;
        TWindowHandle found = top;
        for (bool descended = true; descended;) {
            descended = false;
            HeadlessWindow* parent = Find(found);
            if (!parent->ClientScreenRect().Contains(screen))
                break; // on the parent's frame or scroll bars, where its children are clipped
            for (auto it = FWindows.rbegin(); it != FWindows.rend(); ++it) {
                HeadlessWindow* child = it->second;
                if (child->Kind() == TWindowKind::Child && child->ParentHandle() == found &&
                    child->IsVisible() && child->WindowScreenRect().Contains(screen)) {
                    found = child->Handle();
                    descended = true;
                    break;
                }
            }
        }
        return found;
    }
    return 0;
}

TWindowHandle HeadlessPlatform::ClientWindowFromPoint(TPoint screen) const {
    const TWindowHandle under = WindowFromPoint(screen);
    HeadlessWindow* w = Find(under);
    return w && w->ClientScreenRect().Contains(screen) ? under : 0;
}

std::uintptr_t HeadlessPlatform::MouseKeys() const {
    std::uintptr_t keys = 0;
    if (KeyState(VK::LButton) < 0)
        keys |= MouseKey::Left;
    if (KeyState(VK::RButton) < 0)
        keys |= MouseKey::Right;
    if (KeyState(VK::MButton) < 0)
        keys |= MouseKey::Middle;
    if (KeyState(VK::Shift) < 0)
        keys |= MouseKey::Shift;
    if (KeyState(VK::Control) < 0)
        keys |= MouseKey::Control;
    return keys;
}

// The platform asks the window under the pointer for the cursor shape before a move or a
// press reaches it; a window holding the capture sets the shape itself.
void HeadlessPlatform::RequestCursor(TWindowHandle target, std::uint32_t msg) {
    if (FCapture)
        return;
    if (msg == Msg::MouseMove || msg == Msg::LButtonDown || msg == Msg::RButtonDown ||
        msg == Msg::MButtonDown)
        Send(target, Msg::SetCursor, target, MakeLParam(1, static_cast<int>(msg)));
}

void HeadlessPlatform::SendMouse(TWindowHandle target, std::uint32_t msg, TPoint screen) {
    HeadlessWindow* w = Find(target);
    if (!w)
        return;
    RequestCursor(target, msg);
    const TPoint p = w->ScreenToClient(screen);
    Send(target, msg, MouseKeys(), MakeLParam(p.X, p.Y));
}

TWindowHandle HeadlessPlatform::RouteMouse(std::uint32_t msg, TPoint screen, bool post) {
    FCursorPos = screen;
    switch (msg) {
    case Msg::LButtonDown:
    case Msg::LButtonDblClk:
        SetKeyDown(VK::LButton, true);
        break;
    case Msg::LButtonUp:
        SetKeyDown(VK::LButton, false);
        break;
    case Msg::RButtonDown:
    case Msg::RButtonDblClk:
        SetKeyDown(VK::RButton, true);
        break;
    case Msg::RButtonUp:
        SetKeyDown(VK::RButton, false);
        break;
    case Msg::MButtonDown:
    case Msg::MButtonDblClk:
        SetKeyDown(VK::MButton, true);
        break;
    case Msg::MButtonUp:
        SetKeyDown(VK::MButton, false);
        break;
    default:
        break;
    }
    const TWindowHandle under = ClientWindowFromPoint(screen);
    if (msg == Msg::MouseMove) {
        if (FHover && FHover != under) {
            HeadlessWindow* old = Find(FHover);
            if (old && old->FTrackingLeave) {
                old->FTrackingLeave = false;
                if (post)
                    Post(FHover, Msg::MouseLeave, 0, 0);
                else
                    Send(FHover, Msg::MouseLeave);
            }
        }
        FHover = under;
    }
    const TWindowHandle target = FCapture ? FCapture : under;
    HeadlessWindow* w = Find(target);
    if (!w)
        return 0;
    if (post) {
        const TPoint p = w->ScreenToClient(screen);
        FQueue.push_back({target, {msg, MouseKeys(), MakeLParam(p.X, p.Y), 0}, true});
    } else {
        SendMouse(target, msg, screen);
    }
    return target;
}

TWindowHandle HeadlessPlatform::MouseMoveTo(TPoint screen) {
    return RouteMouse(Msg::MouseMove, screen, false);
}

TWindowHandle HeadlessPlatform::MouseButton(std::uint32_t msg, TPoint screen) {
    return RouteMouse(msg, screen, false);
}

TWindowHandle HeadlessPlatform::PostMouse(std::uint32_t msg, TPoint screen) {
    return RouteMouse(msg, screen, true);
}

void HeadlessPlatform::Click(TWindowHandle window, TPoint client) {
    HeadlessWindow* w = Find(window);
    if (!w)
        return;
    const TPoint screen = w->ClientToScreen(client);
    MouseMoveTo(screen);
    MouseButton(Msg::LButtonDown, screen);
    MouseButton(Msg::LButtonUp, screen);
}

bool HeadlessPlatform::DescribeOwn(TWindowHandle window, FakeWindow& out) const {
    HeadlessWindow* w = Find(window);
    if (!w || (w->Kind() != TWindowKind::TopLevel && w->Kind() != TWindowKind::Application &&
               w->Kind() != TWindowKind::Popup))
        return false;
    out = FakeWindow{};
    out.Text = w->Caption();
    out.Owner = w->Kind() != TWindowKind::Application ? w->ParentHandle() : 0;
    if (w->Kind() == TWindowKind::Popup)
        out.ExStyle = WSEx::TopMost | WSEx::ToolWindow | WSEx::NoActivate;
    out.Visible = w->IsVisible();
    out.Iconic = w->IsIconic();
    out.ThreadProcess = HeadlessDesktop::kOwnThread;
    return true;
}

void HeadlessPlatform::OwnerIconicChanged(TWindowHandle owner, bool iconic) {
    // As the platform does: a minimised owner hides the windows it owns, and restored it shows
    // the ones it hid; windows hidden otherwise stay hidden.
    if (iconic) {
        for (const auto& [handle, window] : FWindows)
            if (window->Kind() == TWindowKind::TopLevel && window->ParentHandle() == owner &&
                window->IsVisible()) {
                window->FVisible = false;
                FHiddenWithOwner.insert(handle);
            }
        return;
    }
    for (auto it = FHiddenWithOwner.begin(); it != FHiddenWithOwner.end();) {
        HeadlessWindow* window = Find(*it);
        if (window && window->ParentHandle() == owner) {
            window->Show(SW::ShowNA);
            it = FHiddenWithOwner.erase(it);
        } else {
            ++it;
        }
    }
}

void HeadlessPlatform::ShowOwn(TWindowHandle window, int showCommand) {
    if (HeadlessWindow* w = Find(window))
        w->Show(showCommand);
}

void HeadlessPlatform::PostToOwn(TWindowHandle window, std::uint32_t msg, std::uintptr_t wParam,
                                 std::intptr_t lParam) {
    Post(window, msg, wParam, lParam);
}

} // namespace fw::headless
