#include "platform/win32/Win32Canvas.h"

#include "platform/win32/Win32Pixels.h"

#include <algorithm>

namespace fw::win32 {

namespace {

// PSDPxax: where the source is black, the brush; elsewhere the destination.
constexpr DWORD kRopBrushWhereSourceBlack = 0x00B8074A;

COLORREF ToColorRef(TColorRef color) {
    return static_cast<COLORREF>(color & 0x00FFFFFFu);
}

TSize ClientSize(HWND window) {
    RECT client{};
    if (window == nullptr || !GetClientRect(window, &client))
        return {};
    return {client.right - client.left, client.bottom - client.top};
}

// Borrowed icons (another program's window answered with them) may have been destroyed since:
// such a handle is not handed to the drawing call at all.
bool IsLiveIcon(HICON icon) {
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info))
        return false;
    // The call hands out copies of the icon's bitmaps.
    const UniqueBitmap mask(info.hbmMask);
    const UniqueBitmap color(info.hbmColor);
    return true;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Attaching

GdiDevice::~GdiDevice() = default;

void GdiDevice::Attach(HDC dc) {
    dc_ = dc;
    if (dc_ == nullptr)
        return;
    savedState_ = SaveDC(dc_);
    textColor_ = ::GetTextColor(dc_);
    bkColor_ = ::GetBkColor(dc_);
    bkTransparent_ = GetBkMode(dc_) == TRANSPARENT;
    // Solid fills and raster-operation patterns use the context's own brush colour, which
    // costs no brush object per call.
    SelectObject(dc_, GetStockObject(DC_BRUSH));
    SetBrushOrgEx(dc_, 0, 0, nullptr);
}

void GdiDevice::Detach() {
    clipStack_.clear();
    if (dc_ != nullptr && savedState_ != 0)
        RestoreDC(dc_, savedState_);
    dc_ = nullptr;
    savedState_ = 0;
    font_.reset();
}

// ---------------------------------------------------------------------------------------------
// Text state

void GdiDevice::SelectFont(const TFontDesc& font) {
    if (dc_ == nullptr || (font_ && *font_ == font))
        return;
    SelectObject(dc_, fonts_.Get(font));
    font_ = font;
}

void GdiDevice::SetTextColor(TColorRef color) {
    const COLORREF wanted = ToColorRef(color);
    if (dc_ == nullptr || wanted == textColor_)
        return;
    ::SetTextColor(dc_, wanted);
    textColor_ = wanted;
}

void GdiDevice::SetBkColor(TColorRef color) {
    const COLORREF wanted = ToColorRef(color);
    if (dc_ == nullptr || wanted == bkColor_)
        return;
    ::SetBkColor(dc_, wanted);
    bkColor_ = wanted;
}

void GdiDevice::SetBkTransparent(bool transparent) {
    if (dc_ == nullptr || transparent == bkTransparent_)
        return;
    SetBkMode(dc_, transparent ? TRANSPARENT : OPAQUE);
    bkTransparent_ = transparent;
}

// ---------------------------------------------------------------------------------------------
// Shapes

void GdiDevice::FillWithDcBrush(int x, int y, int width, int height, TColorRef color) {
    if (width <= 0 || height <= 0)
        return;
    SetDCBrushColor(dc_, ToColorRef(color));
    PatBlt(dc_, x, y, width, height, PATCOPY);
}

void GdiDevice::FillRect(const TRect& r, TColorRef color) {
    FillWithDcBrush(r.Left, r.Top, r.Width(), r.Height(), color);
}

void GdiDevice::FillChecker(const TRect& r, TColorRef even, TColorRef odd) {
    if (dc_ == nullptr || r.IsEmpty())
        return;
    struct PackedDib {
        BITMAPINFOHEADER Header;
        std::uint32_t Pixels[8 * 8];
    } pattern{};
    pattern.Header.biSize = sizeof(BITMAPINFOHEADER);
    pattern.Header.biWidth = 8;
    pattern.Header.biHeight = 8; // bottom-up: memory row 0 is the pattern's last row
    pattern.Header.biPlanes = 1;
    pattern.Header.biBitCount = 32;
    pattern.Header.biCompression = BI_RGB;
    for (int row = 0; row < 8; ++row) {
        const int y = 7 - row;
        for (int x = 0; x < 8; ++x)
            pattern.Pixels[row * 8 + x] = SwapRedBlue(ToColorRef((x + y) % 2 == 0 ? even : odd));
    }
    UniqueBrush brush(CreateDIBPatternBrushPt(&pattern, DIB_RGB_COLORS));
    if (!brush)
        return;
    // The pattern starts at the surface's origin, whatever the rectangle.
    POINT previousOrigin{};
    SetBrushOrgEx(dc_, 0, 0, &previousOrigin);
    {
        SelectionGuard select(dc_, brush.get());
        PatBlt(dc_, r.Left, r.Top, r.Width(), r.Height(), PATCOPY);
    }
    SetBrushOrgEx(dc_, previousOrigin.x, previousOrigin.y, nullptr);
}

void GdiDevice::FrameRect(const TRect& r, TColorRef color) {
    if (dc_ == nullptr || r.IsEmpty())
        return;
    const int width = r.Width();
    const int height = r.Height();
    FillWithDcBrush(r.Left, r.Top, width, 1, color);
    FillWithDcBrush(r.Left, r.Bottom - 1, width, 1, color);
    FillWithDcBrush(r.Left, r.Top + 1, 1, height - 2, color);
    FillWithDcBrush(r.Right - 1, r.Top + 1, 1, height - 2, color);
}

void GdiDevice::InvertRect(const TRect& r) {
    if (dc_ == nullptr)
        return;
    const RECT rc = ToRect(r);
    ::InvertRect(dc_, &rc);
}

void GdiDevice::DrawEdge(TRect& r, unsigned edge, unsigned flags) {
    if (dc_ == nullptr)
        return;
    RECT rc = ToRect(r);
    ::DrawEdge(dc_, &rc, edge, flags);
    if ((flags & BF_ADJUST) != 0)
        r = FromRect(rc);
}

void GdiDevice::DrawFocusRect(const TRect& r) {
    if (dc_ == nullptr)
        return;
    const RECT rc = ToRect(r);
    ::DrawFocusRect(dc_, &rc);
}

void GdiDevice::PolyPolyline(const TPoint* points, const int* counts, int polylineCount,
                             TColorRef color, int width, TPenStyle style) {
    if (dc_ == nullptr || points == nullptr || counts == nullptr || polylineCount <= 0 ||
        style == TPenStyle::Clear)
        return;
    // The system rejects the whole call when one polyline has fewer than two points; such a
    // polyline draws nothing anyway, so it is left out.
    std::vector<POINT> kept;
    std::vector<DWORD> keptCounts;
    const TPoint* next = points;
    for (int i = 0; i < polylineCount; ++i) {
        const int count = std::max(counts[i], 0);
        if (count >= 2) {
            for (int p = 0; p < count; ++p)
                kept.push_back(POINT{next[p].X, next[p].Y});
            keptCounts.push_back(DWORD(count));
        }
        next += count;
    }
    if (keptCounts.empty())
        return;

    UniquePen pen(CreatePen(style == TPenStyle::Dot ? PS_DOT : PS_SOLID, std::max(width, 1),
                            ToColorRef(color)));
    if (!pen)
        return;
    SelectionGuard select(dc_, pen.get());
    // Only the line's own colour is drawn: the gaps of a dotted line keep what is beneath.
    const int previousMode = SetBkMode(dc_, TRANSPARENT);
    ::PolyPolyline(dc_, kept.data(), keptCounts.data(), DWORD(keptCounts.size()));
    SetBkMode(dc_, previousMode);
}

void GdiDevice::SetPixel(int x, int y, TColorRef color) {
    if (dc_ != nullptr)
        SetPixelV(dc_, x, y, ToColorRef(color));
}

TColorRef GdiDevice::GetPixel(int x, int y) const {
    if (dc_ == nullptr)
        return 0;
    const COLORREF color = ::GetPixel(dc_, x, y);
    return color == CLR_INVALID ? 0 : TColorRef(color);
}

// ---------------------------------------------------------------------------------------------
// Text

TSize GdiDevice::TextExtent(std::string_view text) {
    if (dc_ == nullptr)
        return {};
    const std::wstring wide = Widen(text);
    SIZE size{};
    GetTextExtentPoint32W(dc_, wide.c_str(), int(wide.size()), &size);
    return {size.cx, size.cy};
}

void GdiDevice::TextOut(int x, int y, unsigned etoOptions, const TRect* rect,
                        std::string_view text) {
    if (dc_ == nullptr)
        return;
    const std::wstring wide = Widen(text);
    RECT rc{};
    if (rect != nullptr)
        rc = ToRect(*rect);
    else
        etoOptions &= ~unsigned(ETO_OPAQUE | ETO_CLIPPED);
    ExtTextOutW(dc_, x, y, etoOptions, rect != nullptr ? &rc : nullptr, wide.c_str(),
                UINT(wide.size()), nullptr);
}

int GdiDevice::DrawText(std::string_view text, TRect& r, unsigned format) {
    if (dc_ == nullptr)
        return 0;
    std::wstring wide = Widen(text);
    RECT rc = ToRect(r);
    const int height =
        DrawTextW(dc_, wide.data(), int(wide.size()), &rc, format & ~unsigned(DT_MODIFYSTRING));
    if ((format & DT_CALCRECT) != 0)
        r = FromRect(rc);
    return height;
}

// ---------------------------------------------------------------------------------------------
// Clipping

int GdiDevice::SaveClip() {
    UniqueRegion saved(CreateRectRgn(0, 0, 0, 0));
    // GetClipRgn answers 0 when the context has no clip region of its own: null keeps that.
    if (saved && (dc_ == nullptr || GetClipRgn(dc_, saved.get()) != 1))
        saved.reset();
    clipStack_.push_back(std::move(saved));
    return int(clipStack_.size()) - 1;
}

void GdiDevice::RestoreClip(int token) {
    if (token < 0 || std::size_t(token) >= clipStack_.size())
        return;
    if (dc_ != nullptr)
        SelectClipRgn(dc_, clipStack_[std::size_t(token)].get());
    DropClipsFrom(std::size_t(token));
}

void GdiDevice::DropClipsFrom(std::size_t index) {
    clipStack_.erase(clipStack_.begin() + std::ptrdiff_t(index), clipStack_.end());
}

void GdiDevice::IntersectClip(const TRect& r) {
    if (dc_ != nullptr)
        IntersectClipRect(dc_, r.Left, r.Top, r.Right, r.Bottom);
}

void GdiDevice::ExcludeClip(const TRect& r) {
    if (dc_ != nullptr)
        ExcludeClipRect(dc_, r.Left, r.Top, r.Right, r.Bottom);
}

TRect GdiDevice::ClipBox() {
    const TSize size = SurfaceSize();
    if (dc_ == nullptr)
        return {0, 0, size.cx, size.cy};
    RECT box{};
    const int kind = GetClipBox(dc_, &box);
    if (kind == ERROR)
        return {0, 0, size.cx, size.cy};
    if (kind == NULLREGION)
        return {};
    return FromRect(box);
}

bool GdiDevice::RectVisible(const TRect& r) {
    if (dc_ == nullptr)
        return false;
    const RECT rc = ToRect(r);
    return ::RectVisible(dc_, &rc) != FALSE;
}

// ---------------------------------------------------------------------------------------------
// Blitting

void GdiDevice::BitBlt(const TRect& dst, ICanvasDevice& src, TPoint srcOrigin, std::uint32_t rop,
                       TColorRef brush) {
    auto* source = dynamic_cast<GdiDevice*>(&src);
    if (dc_ == nullptr || source == nullptr || dst.IsEmpty())
        return;
    SetDCBrushColor(dc_, ToColorRef(brush));
    ::BitBlt(dc_, dst.Left, dst.Top, dst.Width(), dst.Height(), source->dc_, srcOrigin.X,
             srcOrigin.Y, rop);
}

void GdiDevice::BrushCopy(const TRect& dst, ICanvasDevice& src, TPoint srcOrigin,
                          TColorRef transparent, TColorRef brush) {
    auto* source = dynamic_cast<GdiDevice*>(&src);
    if (dc_ == nullptr || source == nullptr || source->dc_ == nullptr || dst.IsEmpty())
        return;
    const int width = dst.Width();
    const int height = dst.Height();

    // Mask: set where the source has the transparent colour (a colour-to-monochrome blit sets
    // the pixels that equal the source's background colour).
    UniqueMemoryDc maskDc(CreateCompatibleDC(dc_));
    UniqueBitmap mask(CreateBitmap(width, height, 1, 1, nullptr));
    if (!maskDc || !mask)
        return;
    SelectionGuard selectMask(maskDc.get(), mask.get());
    const COLORREF sourceBk = ::SetBkColor(source->dc_, ToColorRef(transparent));
    ::BitBlt(maskDc.get(), 0, 0, width, height, source->dc_, srcOrigin.X, srcOrigin.Y, SRCCOPY);
    ::SetBkColor(source->dc_, sourceBk);

    ::BitBlt(dc_, dst.Left, dst.Top, width, height, source->dc_, srcOrigin.X, srcOrigin.Y, SRCCOPY);

    // A monochrome source takes the destination's text colour for 0 and its background colour
    // for 1: transparent pixels become black, which the raster operation replaces by the brush.
    const COLORREF previousText = ::SetTextColor(dc_, 0x00FFFFFF);
    const COLORREF previousBk = ::SetBkColor(dc_, 0);
    SetDCBrushColor(dc_, ToColorRef(brush));
    ::BitBlt(dc_, dst.Left, dst.Top, width, height, maskDc.get(), 0, 0, kRopBrushWhereSourceBlack);
    ::SetTextColor(dc_, previousText);
    ::SetBkColor(dc_, previousBk);
}

void GdiDevice::DrawIcon(int x, int y, TIconHandle icon, int width, int height) {
    if (dc_ == nullptr || !IsLiveIcon(ToHicon(icon)))
        return;
    DrawIconEx(dc_, x, y, ToHicon(icon), width, height, 0, nullptr, DI_NORMAL);
}

// ---------------------------------------------------------------------------------------------
// Surfaces

PaintDevice::PaintDevice(HWND window, FontCache& fonts) : GdiDevice(fonts), window_(window) {
    HDC dc = window_ != nullptr ? ::BeginPaint(window_, &paint_) : nullptr;
    Attach(dc);
}

PaintDevice::~PaintDevice() {
    const bool painting = Dc() != nullptr;
    Detach();
    if (painting)
        ::EndPaint(window_, &paint_);
}

TSize PaintDevice::SurfaceSize() const {
    return ClientSize(window_);
}

WindowDevice::WindowDevice(HWND window, FontCache& fonts) : GdiDevice(fonts), window_(window) {
    Attach(window_ != nullptr ? GetDC(window_) : nullptr);
}

WindowDevice::~WindowDevice() {
    HDC dc = Dc();
    Detach();
    if (dc != nullptr)
        ReleaseDC(window_, dc);
}

TSize WindowDevice::SurfaceSize() const {
    return ClientSize(window_);
}

FrameDevice::FrameDevice(HWND window, FontCache& fonts) : GdiDevice(fonts), window_(window) {
    Attach(window_ != nullptr ? GetWindowDC(window_) : nullptr);
}

FrameDevice::~FrameDevice() {
    HDC dc = Dc();
    Detach();
    if (dc != nullptr)
        ReleaseDC(window_, dc);
}

TSize FrameDevice::SurfaceSize() const {
    RECT r{};
    if (window_ != nullptr)
        GetWindowRect(window_, &r);
    return {r.right - r.left, r.bottom - r.top};
}

BitmapDevice::BitmapDevice(int width, int height, FontCache& fonts)
    : GdiDevice(fonts), size_{std::max(width, 0), std::max(height, 0)},
      memoryDc_(CreateCompatibleDC(nullptr)), bitmap_(CreateDib32(width, height, nullptr)) {
    if (!memoryDc_)
        throw Exception("Cannot create a memory device context");
    originalBitmap_ = SelectObject(memoryDc_.get(), bitmap_.get());
    Attach(memoryDc_.get());
}

BitmapDevice::~BitmapDevice() {
    Detach();
    if (originalBitmap_ != nullptr)
        SelectObject(memoryDc_.get(), originalBitmap_);
}

} // namespace fw::win32
