#include "framework/Graphics.h"

#include <cstdlib>

namespace fw {

TColorRef ColorToRGB(TColor color, const IPlatform& platform) {
    if (IsSystemColor(color))
        return platform.SysColor(static_cast<int>(static_cast<std::uint32_t>(color) & 0xFF));
    return static_cast<TColorRef>(color) & 0xFFFFFFu;
}

// ---------------------------------------------------------------------------------------------
// Tools

void TFont::SetName(std::string name) {
    if (name == FDesc.Name)
        return;
    FDesc.Name = std::move(name);
    Changed();
}

void TFont::SetHeight(int height) {
    if (height == FDesc.Height)
        return;
    FDesc.Height = height;
    Changed();
}

int TFont::Size() const {
    return -MulDiv(FDesc.Height, 72, PixelsPerInch);
}

void TFont::SetSize(int points) {
    SetHeight(-MulDiv(points, PixelsPerInch, 72));
}

void TFont::SetCharset(int charset) {
    if (charset == FDesc.Charset)
        return;
    FDesc.Charset = charset;
    Changed();
}

void TFont::SetStyle(TFontStyles style) {
    if (style == FDesc.Style)
        return;
    FDesc.Style = style;
    Changed();
}

void TFont::SetColor(TColor color) {
    if (color == FColor)
        return;
    FColor = color;
    Changed();
}

void TFont::Assign(const TFont& other) {
    if (SameAs(other))
        return;
    FDesc = other.FDesc;
    FColor = other.FColor;
    Changed();
}

void TBrush::SetColor(TColor color) {
    if (color == FColor && FStyle == bsSolid)
        return;
    FColor = color;
    // A colour asks for a visible brush, as in the platform's toolkits.
    if (FStyle == bsClear)
        FStyle = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
    if (style == FStyle)
        return;
    FStyle = style;
    Changed();
}

void TBrush::Assign(const TBrush& other) {
    FColor = other.FColor;
    FStyle = other.FStyle;
    Changed();
}

void TPen::SetColor(TColor color) {
    if (color == FColor)
        return;
    FColor = color;
    Changed();
}

void TPen::SetWidth(int width) {
    if (width == FWidth)
        return;
    FWidth = width;
    Changed();
}

void TPen::SetStyle(TPenStyle style) {
    if (style == FStyle)
        return;
    FStyle = style;
    Changed();
}

void TPen::Assign(const TPen& other) {
    FColor = other.FColor;
    FWidth = other.FWidth;
    FStyle = other.FStyle;
    Changed();
}

// ---------------------------------------------------------------------------------------------
// Canvas

TCanvas::TCanvas(const IPlatform& platform, ICanvasDevice* device)
    : FPlatform(platform), FDevice(device) {
    FLastTextColor = ToRGB(FFont.Color());
}

void TCanvas::SetDevice(ICanvasDevice* device) {
    FDevice = device;
}

ICanvasDevice& TCanvas::RequireDevice() {
    ICanvasDevice* device = Device();
    if (!device)
        throw Exception("Canvas does not allow drawing");
    return *device;
}

void TCanvas::FillRect(const TRect& r) {
    if (FBrush.Style() == bsClear)
        return;
    RequireDevice().FillRect(r, ToRGB(FBrush.Color()));
}

void TCanvas::FrameRect(const TRect& r) {
    RequireDevice().FrameRect(r, ToRGB(FBrush.Color()));
}

void TCanvas::InvertRect(const TRect& r) {
    RequireDevice().InvertRect(r);
}

void TCanvas::DrawEdge(TRect& r, unsigned edge, unsigned flags) {
    RequireDevice().DrawEdge(r, edge, flags);
}

void TCanvas::DrawFocusRect(const TRect& r) {
    RequireDevice().DrawFocusRect(r);
}

void TCanvas::MoveTo(int x, int y) {
    FPenPos = {x, y};
}

void TCanvas::LineTo(int x, int y) {
    const TPoint points[2] = {FPenPos, {x, y}};
    const int count = 2;
    RequireDevice().PolyPolyline(points, &count, 1, ToRGB(FPen.Color()), FPen.Width(),
                                 FPen.Style());
    FPenPos = {x, y};
}

void TCanvas::PolyPolyline(const std::vector<TPoint>& points, const std::vector<int>& counts) {
    std::size_t total = 0;
    for (int c : counts) {
        if (c < 0)
            throw Exception("Polyline with a negative point count");
        total += static_cast<std::size_t>(c);
    }
    if (total > points.size())
        throw Exception("Polyline counts exceed the points given");
    if (counts.empty())
        return;
    RequireDevice().PolyPolyline(points.data(), counts.data(), static_cast<int>(counts.size()),
                                 ToRGB(FPen.Color()), FPen.Width(), FPen.Style());
}

TColorRef TCanvas::Pixel(int x, int y) {
    return RequireDevice().GetPixel(x, y);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    RequireDevice().SetPixel(x, y, ToRGB(color));
}

TColorRef TCanvas::EffectiveTextColor() {
    if (!FHaveExplicitTextColor && FFont.Color() != clNone)
        FLastTextColor = ToRGB(FFont.Color());
    return FLastTextColor;
}

void TCanvas::SetTextColor(TColor color) {
    if (color == clNone)
        return;
    FHaveExplicitTextColor = true;
    FLastTextColor = ToRGB(color);
}

void TCanvas::SetBkColor(TColor color) {
    RequireDevice().SetBkColor(ToRGB(color));
}

void TCanvas::SetBkTransparent(bool transparent) {
    RequireDevice().SetBkTransparent(transparent);
}

void TCanvas::PrepareText(ICanvasDevice& device) {
    device.SelectFont(FFont.Desc());
    device.SetTextColor(EffectiveTextColor());
    // An explicit colour lasts until the font colour changes again.
    FHaveExplicitTextColor = false;
}

TSize TCanvas::TextExtent(std::string_view text) {
    ICanvasDevice& device = RequireDevice();
    device.SelectFont(FFont.Desc());
    return device.TextExtent(text);
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
    ICanvasDevice& device = RequireDevice();
    PrepareText(device);
    const bool transparent = FBrush.Style() == bsClear;
    device.SetBkTransparent(transparent);
    if (!transparent)
        device.SetBkColor(ToRGB(FBrush.Color()));
    device.TextOut(x, y, 0, nullptr, text);
    FPenPos = {x + device.TextExtent(text).cx, y};
}

void TCanvas::TextRect(const TRect& r, int x, int y, std::string_view text) {
    ICanvasDevice& device = RequireDevice();
    PrepareText(device);
    unsigned options = ETO::Clipped;
    if (FBrush.Style() != bsClear) {
        options |= ETO::Opaque;
        device.SetBkColor(ToRGB(FBrush.Color()));
        device.SetBkTransparent(false);
    } else {
        device.SetBkTransparent(true);
    }
    device.TextOut(x, y, options, &r, text);
}

int TCanvas::DrawText(std::string_view text, TRect& r, unsigned format) {
    ICanvasDevice& device = RequireDevice();
    PrepareText(device);
    const bool transparent = FBrush.Style() == bsClear;
    device.SetBkTransparent(transparent);
    if (!transparent)
        device.SetBkColor(ToRGB(FBrush.Color()));
    return device.DrawText(text, r, format);
}

int TCanvas::SaveClip() {
    return RequireDevice().SaveClip();
}
void TCanvas::RestoreClip(int token) {
    RequireDevice().RestoreClip(token);
}
void TCanvas::IntersectClipRect(const TRect& r) {
    RequireDevice().IntersectClip(r);
}
void TCanvas::ExcludeClipRect(const TRect& r) {
    RequireDevice().ExcludeClip(r);
}
TRect TCanvas::ClipRect() {
    return RequireDevice().ClipBox();
}
bool TCanvas::RectVisible(const TRect& r) {
    return RequireDevice().RectVisible(r);
}

void TCanvas::BitBlt(const TRect& dst, TCanvas& source, TPoint srcOrigin, std::uint32_t rop) {
    RequireDevice().BitBlt(dst, source.RequireDevice(), srcOrigin, rop, ToRGB(FBrush.Color()));
}

void TCanvas::BrushCopy(const TRect& dst, TBitmap& source, const TRect& src, TColor transparent) {
    const TRect d{dst.Left, dst.Top, dst.Left + std::min(dst.Width(), src.Width()),
                  dst.Top + std::min(dst.Height(), src.Height())};
    RequireDevice().BrushCopy(d, source.Canvas().RequireDevice(), {src.Left, src.Top},
                              ToRGB(transparent), ToRGB(FBrush.Color()));
}

void TCanvas::Draw(int x, int y, TBitmap& bitmap) {
    if (bitmap.Empty())
        return;
    RequireDevice().BitBlt(Bounds(x, y, bitmap.Width(), bitmap.Height()),
                           bitmap.Canvas().RequireDevice(), {0, 0}, Rop::SrcCopy, 0);
}

void TCanvas::DrawIcon(int x, int y, TIconHandle icon, int width, int height) {
    if (icon)
        RequireDevice().DrawIcon(x, y, icon, width, height);
}

// ---------------------------------------------------------------------------------------------
// Bitmap and icon

TBitmap::TBitmap(IPlatform& platform) : FPlatform(platform) {
    FCanvas = std::make_unique<TCanvas>(platform);
}

TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == FWidth && height == FHeight && (FDevice || Empty()))
        return;
    FWidth = width;
    FHeight = height;
    FDevice = Empty() ? nullptr : FPlatform.CreateBitmap(width, height);
    FCanvas->SetDevice(FDevice.get());
}

TCanvas& TBitmap::Canvas() {
    // An empty bitmap still hands out a canvas; a 1x1 surface keeps drawing calls harmless.
    if (!FDevice) {
        FDevice = FPlatform.CreateBitmap(std::max(FWidth, 1), std::max(FHeight, 1));
        FCanvas->SetDevice(FDevice.get());
    }
    return *FCanvas;
}

void TBitmap::LoadFromImage(const TPixelImage& image, TColor maskColor) {
    SetSize(image.Width, image.Height);
    if (Empty())
        return;
    ICanvasDevice& device = *FDevice;
    const TColorRef mask = ColorToRGB(maskColor, FPlatform);
    for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x) {
            const std::uint32_t p = image.At(x, y);
            device.SetPixel(x, y, (p >> 24) == 0 ? mask : (p & 0xFFFFFFu));
        }
}

bool TBitmap::LoadFromResourceName(std::string_view name) {
    const std::optional<TPixelImage> image = FPlatform.BitmapResource(name);
    if (!image) {
        SetSize(0, 0);
        return false;
    }
    LoadFromImage(*image);
    return true;
}

void TBitmap::AssignMonochrome(const TBitmap& source, TColor background) {
    SetSize(source.FWidth, source.FHeight);
    if (Empty() || !source.FDevice)
        return;
    const TColorRef key = ColorToRGB(background, FPlatform);
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x)
            FDevice->SetPixel(x, y, source.FDevice->GetPixel(x, y) == key ? 0xFFFFFFu : 0u);
}

void TBitmap::Assign(const TBitmap& other) {
    if (&other == this)
        return;
    SetSize(other.FWidth, other.FHeight);
    if (Empty() || !other.FDevice)
        return;
    FDevice->BitBlt({0, 0, FWidth, FHeight}, *other.FDevice, {0, 0}, Rop::SrcCopy, 0);
}

TIcon& TIcon::operator=(TIcon&& other) noexcept {
    if (this != &other) {
        Reset();
        FPlatform = other.FPlatform;
        FHandle = other.FHandle;
        other.FHandle = 0;
    }
    return *this;
}

void TIcon::Reset() {
    if (FHandle && FPlatform)
        FPlatform->DestroyIcon(FHandle);
    FHandle = 0;
}

} // namespace fw
