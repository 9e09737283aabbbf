#include "platform/headless/PixelCanvas.h"

#include <algorithm>
#include <cstdlib>

namespace fw::headless {

namespace {

constexpr TColorRef InvalidColor = 0xFFFFFFFFu;
constexpr TColorRef RgbMask = 0xFFFFFFu;

int FloorDiv(int value, int divisor) {
    const int quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

bool EvenParity(int x, int y) {
    return ((x + y) & 1) == 0;
}

// Result of a ternary raster operation given by its truth-table byte, bit by bit.
TColorRef ApplyRop3(unsigned table, TColorRef pattern, TColorRef source, TColorRef dest) {
    TColorRef result = 0;
    for (unsigned index = 0; index < 8; ++index) {
        if (((table >> index) & 1u) == 0)
            continue;
        const TColorRef p = (index & 4u) ? pattern : ~pattern;
        const TColorRef s = (index & 2u) ? source : ~source;
        const TColorRef d = (index & 1u) ? dest : ~dest;
        result |= p & s & d;
    }
    return result & RgbMask;
}

bool RopUsesSource(unsigned table) {
    return ((table >> 2) & 0x33u) != (table & 0x33u);
}

TColorRef Blend(std::uint32_t argb, TColorRef dest) {
    const unsigned alpha = argb >> 24;
    const auto channel = [&](int shift) {
        const unsigned s = (argb >> shift) & 0xFFu;
        const unsigned d = (dest >> shift) & 0xFFu;
        return ((s * alpha + d * (255u - alpha) + 127u) / 255u) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

struct EdgeColors {
    TColorRef TopLeft;
    TColorRef BottomRight;
};

} // namespace

PixelCanvas::PixelCanvas(PixelSurface& surface, const SysColorTable& sysColors,
                         const HeadlessIconStore* icons, std::optional<PixelRegion> baseClip)
    : surface_(surface), sysColors_(sysColors), icons_(icons),
      clip_(PixelRegion::Full(surface.Width, surface.Height)) {
    if (baseClip)
        clip_.Intersect(*baseClip);
}

bool PixelCanvas::Visible(int x, int y) const {
    return surface_.InBounds(x, y) && clip_.Contains(x, y);
}

void PixelCanvas::Plot(int x, int y, TColorRef color) {
    if (Visible(x, y))
        surface_.Set(x, y, color);
}

TRect PixelCanvas::DrawableArea(const TRect& r) const {
    return IntersectRect(IntersectRect(r, surface_.Rect()), clip_.BoundingBox());
}

template <typename PixelFunction>
void PixelCanvas::ForEachVisible(const TRect& r, const PixelFunction& f) {
    const TRect area = DrawableArea(r);
    const bool everyPixel = clip_.IsRectangle();
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x)
            if (everyPixel || clip_.Contains(x, y))
                f(x, y);
}

void PixelCanvas::FillClipped(const TRect& r, TColorRef color, const TRect* limit) {
    const TRect area = limit ? IntersectRect(r, *limit) : r;
    ForEachVisible(area, [&](int x, int y) { surface_.Set(x, y, color); });
}

TSize PixelCanvas::SurfaceSize() const {
    return {surface_.Width, surface_.Height};
}

void PixelCanvas::SelectFont(const TFontDesc& font) {
    font_ = font;
}
void PixelCanvas::SetTextColor(TColorRef color) {
    textColor_ = color & RgbMask;
}
void PixelCanvas::SetBkColor(TColorRef color) {
    bkColor_ = color & RgbMask;
}
void PixelCanvas::SetBkTransparent(bool transparent) {
    bkTransparent_ = transparent;
}

void PixelCanvas::FillRect(const TRect& r, TColorRef color) {
    FillClipped(r, color, nullptr);
}

void PixelCanvas::FillChecker(const TRect& r, TColorRef even, TColorRef odd) {
    ForEachVisible(r, [&](int x, int y) { surface_.Set(x, y, EvenParity(x, y) ? even : odd); });
}

void PixelCanvas::FrameRect(const TRect& r, TColorRef color) {
    if (r.IsEmpty())
        return;
    FillRect({r.Left, r.Top, r.Right, r.Top + 1}, color);
    FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom}, color);
    FillRect({r.Left, r.Top, r.Left + 1, r.Bottom}, color);
    FillRect({r.Right - 1, r.Top, r.Right, r.Bottom}, color);
}

void PixelCanvas::InvertRect(const TRect& r) {
    ForEachVisible(r, [&](int x, int y) { surface_.Set(x, y, surface_.At(x, y) ^ RgbMask); });
}

void PixelCanvas::DrawEdge(TRect& r, unsigned edge, unsigned flags) {
    const auto sys = [&](int index) { return sysColors_[std::size_t(index)]; };
    const bool mono = (flags & BF::Mono) != 0;
    const bool flat = (flags & BF::Flat) != 0;

    std::vector<EdgeColors> layers;
    const auto addLayer = [&](bool outer, EdgeColors raised, EdgeColors sunken) {
        const unsigned raisedBit = outer ? BDR::RaisedOuter : BDR::RaisedInner;
        const unsigned sunkenBit = outer ? BDR::SunkenOuter : BDR::SunkenInner;
        if ((edge & (raisedBit | sunkenBit)) == 0)
            return;
        if (mono) {
            const TColorRef c = sys(outer ? SysColor::WindowFrame : SysColor::Window);
            layers.push_back({c, c});
        } else if (flat) {
            const TColorRef c = sys(outer ? SysColor::BtnShadow : SysColor::BtnFace);
            layers.push_back({c, c});
        } else {
            layers.push_back((edge & raisedBit) ? raised : sunken);
        }
    };
    addLayer(true, {sys(SysColor::Light3D), sys(SysColor::DkShadow3D)},
             {sys(SysColor::BtnShadow), sys(SysColor::BtnHighlight)});
    addLayer(false, {sys(SysColor::BtnHighlight), sys(SysColor::BtnShadow)},
             {sys(SysColor::DkShadow3D), sys(SysColor::Light3D)});

    TRect inside = r;
    for (const EdgeColors& colors : layers) {
        const TRect& a = inside;
        if (flags & BF::Top)
            FillRect({a.Left, a.Top, a.Right, a.Top + 1}, colors.TopLeft);
        if (flags & BF::Left)
            FillRect({a.Left, a.Top, a.Left + 1, a.Bottom}, colors.TopLeft);
        if (flags & BF::Bottom)
            FillRect({a.Left, a.Bottom - 1, a.Right, a.Bottom}, colors.BottomRight);
        if (flags & BF::Right)
            FillRect({a.Right - 1, a.Top, a.Right, a.Bottom}, colors.BottomRight);
        if (flags & BF::Left)
            ++inside.Left;
        if (flags & BF::Top)
            ++inside.Top;
        if (flags & BF::Right)
            --inside.Right;
        if (flags & BF::Bottom)
            --inside.Bottom;
    }
    if (flags & BF::Middle)
        FillRect(inside, sys(mono ? SysColor::Window : SysColor::BtnFace));
    if (flags & BF::Adjust)
        r = inside;
}

void PixelCanvas::DrawFocusRect(const TRect& r) {
    if (r.IsEmpty())
        return;
    const auto invert = [&](int x, int y) {
        if (EvenParity(x, y) && Visible(x, y))
            surface_.Set(x, y, surface_.At(x, y) ^ RgbMask);
    };
    const int lastColumn = r.Right - 1;
    const int lastRow = r.Bottom - 1;
    for (int x = r.Left; x < r.Right; ++x) {
        invert(x, r.Top);
        if (lastRow != r.Top)
            invert(x, lastRow);
    }
    for (int y = r.Top + 1; y < lastRow; ++y) {
        invert(r.Left, y);
        if (lastColumn != r.Left)
            invert(lastColumn, y);
    }
}

void PixelCanvas::DrawSegment(TPoint from, TPoint to, TColorRef color, int width, TPenStyle style,
                              int& dotPhase) {
    const auto stamp = [&](int x, int y) {
        if (width > 1) {
            FillRect(Bounds(x - width / 2, y - width / 2, width, width), color);
            return;
        }
        if (style == TPenStyle::Dot && (dotPhase++ & 1) != 0) {
            if (!bkTransparent_)
                Plot(x, y, bkColor_);
            return;
        }
        Plot(x, y, color);
    };
    // 64-bit error terms: points far outside the surface must not overflow.
    const long long dx = std::llabs(static_cast<long long>(to.X) - from.X);
    const long long dy = -std::llabs(static_cast<long long>(to.Y) - from.Y);
    const int reach = std::max(width, 1);
    const TRect extent{std::min(from.X, to.X) - reach, std::min(from.Y, to.Y) - reach,
                       std::max(from.X, to.X) + reach, std::max(from.Y, to.Y) + reach};
    if (DrawableArea(extent).IsEmpty()) {
        // Nothing to see; only the dot pattern moves on.
        dotPhase = int((dotPhase + std::max(dx, -dy)) & 1);
        return;
    }
    const int stepX = from.X < to.X ? 1 : -1;
    const int stepY = from.Y < to.Y ? 1 : -1;
    long long error = dx + dy;
    int x = from.X;
    int y = from.Y;
    while (x != to.X || y != to.Y) {
        stamp(x, y);
        const long long doubled = 2 * error;
        if (doubled >= dy) {
            error += dy;
            x += stepX;
        }
        if (doubled <= dx) {
            error += dx;
            y += stepY;
        }
    }
}

void PixelCanvas::PolyPolyline(const TPoint* points, const int* counts, int polylineCount,
                               TColorRef color, int width, TPenStyle style) {
    if (points == nullptr || counts == nullptr || style == TPenStyle::Clear)
        return;
    color &= RgbMask;
    std::size_t offset = 0;
    for (int line = 0; line < polylineCount; ++line) {
        const int count = std::max(counts[line], 0);
        int dotPhase = 0;
        for (int i = 0; i + 1 < count; ++i)
            DrawSegment(points[offset + std::size_t(i)], points[offset + std::size_t(i) + 1], color,
                        width, style, dotPhase);
        offset += std::size_t(count);
    }
}

void PixelCanvas::SetPixel(int x, int y, TColorRef color) {
    Plot(x, y, color & RgbMask);
}

TColorRef PixelCanvas::GetPixel(int x, int y) const {
    return Visible(x, y) ? surface_.At(x, y) : InvalidColor;
}

TSize PixelCanvas::TextExtent(std::string_view text) {
    return {PlainTextWidth(font_, text), FontTextHeight(font_)};
}

void PixelCanvas::DrawTextLine(const TextLine& line, int left, int top, const TRect* limit,
                               bool fillCells) {
    const int height = FontTextHeight(font_);
    const bool underline = (font_.Style & fsUnderline) != 0;
    const bool strikeOut = (font_.Style & fsStrikeOut) != 0;
    for (const PlacedGlyph& glyph : line.Glyphs) {
        const int cellLeft = left + glyph.X;
        const int cellRight = cellLeft + glyph.Advance;
        if (fillCells)
            FillClipped({cellLeft, top, cellRight, top + height}, bkColor_, limit);
        if (glyph.Ink)
            FillClipped({cellLeft + 1, top + 2, cellRight - 1, top + height - 2}, textColor_,
                        limit);
        if (underline || glyph.PrefixUnderline)
            FillClipped({cellLeft, top + height - 1, cellRight, top + height}, textColor_, limit);
        if (strikeOut)
            FillClipped({cellLeft, top + height / 2, cellRight, top + height / 2 + 1}, textColor_,
                        limit);
    }
}

void PixelCanvas::TextOut(int x, int y, unsigned etoOptions, const TRect* rect,
                          std::string_view text) {
    if (rect != nullptr && (etoOptions & ETO::Opaque) != 0)
        FillRect(*rect, bkColor_);
    const TRect* limit = (rect != nullptr && (etoOptions & ETO::Clipped) != 0) ? rect : nullptr;
    DrawTextLine(LayoutPlainText(font_, text), x, y, limit, !bkTransparent_);
}

int PixelCanvas::DrawText(std::string_view text, TRect& r, unsigned format) {
    const int height = FontTextHeight(font_);
    const std::vector<TextLine> lines = LayoutFormattedText(font_, text, format, r.Width());
    const int textHeight = int(lines.size()) * height;
    if (format & DT::CalcRect) {
        int widest = 0;
        for (const TextLine& line : lines)
            widest = std::max(widest, line.Width);
        r.Right = r.Left + widest;
        r.Bottom = r.Top + textHeight;
        return textHeight;
    }
    if (lines.empty())
        return 0;

    int top = r.Top;
    const bool verticallyPlaced =
        (format & DT::SingleLine) != 0 && (format & (DT::VCenter | DT::Bottom)) != 0;
    if (verticallyPlaced)
        top = (format & DT::VCenter) ? r.Top + FloorDiv(r.Height() - height, 2) : r.Bottom - height;
    const TRect* limit = (format & DT::NoClip) ? nullptr : &r;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const TextLine& line = lines[i];
        int left = r.Left;
        if (format & DT::Center)
            left = r.Left + FloorDiv(r.Width() - line.Width, 2);
        else if (format & DT::Right)
            left = r.Right - line.Width;
        DrawTextLine(line, left, top + int(i) * height, limit, !bkTransparent_);
    }
    return verticallyPlaced ? top - r.Top + height : textHeight;
}

int PixelCanvas::SaveClip() {
    savedClips_.push_back(clip_);
    return int(savedClips_.size());
}

void PixelCanvas::RestoreClip(int token) {
    // Negative tokens count back from the latest save, as the platform's do.
    const int level = token < 0 ? int(savedClips_.size()) + 1 + token : token;
    if (level < 1 || level > int(savedClips_.size()))
        return;
    clip_ = std::move(savedClips_[std::size_t(level - 1)]);
    savedClips_.resize(std::size_t(level - 1));
}

void PixelCanvas::IntersectClip(const TRect& r) {
    clip_.IntersectRect(r);
}
void PixelCanvas::ExcludeClip(const TRect& r) {
    clip_.ExcludeRect(r);
}
TRect PixelCanvas::ClipBox() {
    return clip_.BoundingBox();
}
bool PixelCanvas::RectVisible(const TRect& r) {
    return clip_.AnyIn(r);
}

void PixelCanvas::BitBlt(const TRect& dst, ICanvasDevice& src, TPoint srcOrigin, std::uint32_t rop,
                         TColorRef brush) {
    const unsigned table = (rop >> 16) & 0xFFu;
    const bool usesSource = RopUsesSource(table);
    auto* source = dynamic_cast<PixelCanvas*>(&src);
    TRect area = DrawableArea(dst);
    const int dx = srcOrigin.X - dst.Left;
    const int dy = srcOrigin.Y - dst.Top;
    if (usesSource) {
        if (source == nullptr)
            return;
        area = IntersectRect(area, source->surface_.Rect().Offset(-dx, -dy));
    }
    if (area.IsEmpty())
        return;
    // Read the source first: it may be this very surface.
    std::vector<TColorRef> sourcePixels;
    if (usesSource) {
        sourcePixels.reserve(std::size_t(area.Width()) * std::size_t(area.Height()));
        for (int y = area.Top; y < area.Bottom; ++y)
            for (int x = area.Left; x < area.Right; ++x)
                sourcePixels.push_back(source->surface_.At(x + dx, y + dy));
    }
    brush &= RgbMask;
    std::size_t i = 0;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x, ++i) {
            if (!clip_.Contains(x, y))
                continue;
            const TColorRef s = usesSource ? sourcePixels[i] : 0;
            surface_.Set(x, y, ApplyRop3(table, brush, s, surface_.At(x, y)));
        }
}

void PixelCanvas::BrushCopy(const TRect& dst, ICanvasDevice& src, TPoint srcOrigin,
                            TColorRef transparent, TColorRef brush) {
    auto* source = dynamic_cast<PixelCanvas*>(&src);
    if (source == nullptr)
        return;
    const int dx = srcOrigin.X - dst.Left;
    const int dy = srcOrigin.Y - dst.Top;
    const TRect area = IntersectRect(DrawableArea(dst), source->surface_.Rect().Offset(-dx, -dy));
    if (area.IsEmpty())
        return;
    std::vector<TColorRef> sourcePixels;
    sourcePixels.reserve(std::size_t(area.Width()) * std::size_t(area.Height()));
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x)
            sourcePixels.push_back(source->surface_.At(x + dx, y + dy));
    transparent &= RgbMask;
    std::size_t i = 0;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x, ++i)
            if (clip_.Contains(x, y))
                surface_.Set(x, y, sourcePixels[i] == transparent ? brush : sourcePixels[i]);
}

void PixelCanvas::DrawImage(int x, int y, const TPixelImage& image, int width, int height) {
    if (width == 0)
        width = image.Width;
    if (height == 0)
        height = image.Height;
    if (width <= 0 || height <= 0 || image.Width <= 0 || image.Height <= 0 ||
        image.Pixels.size() < std::size_t(image.Width) * std::size_t(image.Height))
        return;
    ForEachVisible(Bounds(x, y, width, height), [&](int px, int py) {
        const int sx = int(std::int64_t(px - x) * image.Width / width);
        const int sy = int(std::int64_t(py - y) * image.Height / height);
        const std::uint32_t argb = image.At(sx, sy);
        const unsigned alpha = argb >> 24;
        if (alpha == 0)
            return;
        surface_.Set(px, py, alpha == 255 ? (argb & RgbMask) : Blend(argb, surface_.At(px, py)));
    });
}

void PixelCanvas::DrawIcon(int x, int y, TIconHandle icon, int width, int height) {
    if (icons_ == nullptr)
        return;
    if (const TPixelImage* image = icons_->Find(icon))
        DrawImage(x, y, *image, width, height);
}

} // namespace fw::headless
