// The headless drawing device: every ICanvasDevice operation rendered pixel-exactly into a
// PixelSurface, following the real platform's rules so that tests can predict each pixel.
//
// Conventions:
// - Rectangles exclude their right and bottom edge; an empty rectangle draws nothing.
// - Every pixel written lies inside the surface and inside the clip region. The clip starts
//   as the device's base region (a paint cycle's update region, else the whole surface) and
//   can only shrink below it; RestoreClip never goes beyond the base.
// - Initial state: font TFontDesc{}, text colour black, background colour white, opaque
//   background (as a fresh platform device).
// - FillChecker and DrawFocusRect count (x + y) parity in surface coordinates.
// - DrawEdge: each edge layer present (outer first, then inner) is a 1-pixel frame on the
//   requested sides, the next layer 1 pixel further in on those sides. Within a layer the
//   top and left lines take the top-left colour and run the full length, then the bottom and
//   right lines take the bottom-right colour and run the full length over them, so the
//   bottom-left, top-right and bottom-right corners get the bottom-right colour. Colours:
//   raised outer 3DLight/3DDkShadow, raised inner BtnHighlight/BtnShadow, sunken outer
//   BtnShadow/BtnHighlight, sunken inner 3DDkShadow/3DLight (raised wins when a layer names
//   both); BF::Flat: outer BtnShadow, inner BtnFace on all sides; BF::Mono: outer
//   WindowFrame, inner Window (Mono wins over Flat). BF::Middle fills the inside with BtnFace
//   (Window with BF::Mono); BF::Adjust moves r's requested sides in by the layer count;
//   BF::Soft changes nothing.
// - DrawFocusRect inverts (XOR 0xFFFFFF) the border pixels with even (x + y), each once.
// - PolyPolyline: Bresenham from each segment's start (half-way pixels round toward the
//   segment's end), the end point of every polyline left out. A dotted pen draws the 1st,
//   3rd, ... pixel of each polyline and, unless the background is transparent, the others in
//   the background colour; width above 1 stamps a width×width square whose top-left is
//   (x - width / 2, y - width / 2) and is always solid; width 0 is 1.
// - GetPixel returns 0xFFFFFFFF (invalid colour) outside the surface or the clip region.
// - Text: see HeadlessText.h for metrics and glyphs. TextExtent is (sum of advances, text
//   height), also for empty text. (x, y) of TextOut is the top-left of the first cell. An
//   opaque background fills each character cell (advance × text height) with the background
//   colour, tab gaps included; ETO::Opaque first fills `rect`, whatever the background mode;
//   ETO::Clipped clips to `rect`; both are ignored without a rect.
// - DrawText: DT::Center wins over DT::Right; centring rounds down. DT::VCenter and
//   DT::Bottom apply to single lines only; then the result is the offset from r.Top to the
//   text's bottom, otherwise lines × text height. Empty text draws nothing and returns 0.
//   DT::CalcRect only measures: r.Right = r.Left + widest line, r.Bottom = r.Top + height.
// - BitBlt: the raster operation's truth-table byte (bits 16-23) is applied to each of the 24
//   colour bits, bit index (P << 2) | (S << 1) | D. Pixels whose source lies outside the
//   source surface are left alone; the source's clip does not matter; source and destination
//   may overlap. A source that is not a PixelCanvas draws nothing.
// - DrawIcon and image lists: nearest-neighbour scaling, destination pixel (i, j) of a w×h
//   picture taken from source (i * W / w, j * H / h); alpha 0 leaves the pixel, alpha 255
//   replaces it, anything between blends (rounded). Width or height 0 means the icon's own.
#pragma once

#include "platform/headless/HeadlessGraphics.h"
#include "platform/headless/HeadlessText.h"

#include <optional>
#include <vector>

namespace fw::headless {

class PixelCanvas : public ICanvasDevice {
public:
    // The surface, colour table and icon store must outlive the canvas; `icons` may be null
    // (icons then draw nothing). `baseClip` is the paint cycle's update region, if any.
    PixelCanvas(PixelSurface& surface, const SysColorTable& sysColors,
                const HeadlessIconStore* icons, std::optional<PixelRegion> baseClip = {});
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;

    PixelSurface& Surface() { return surface_; }
    const PixelSurface& Surface() const { return surface_; }
    const SysColorTable& SysColors() const { return sysColors_; }
    const PixelRegion& Clip() const { return clip_; }
    const TFontDesc& Font() const { return font_; }
    TColorRef TextColor() const { return textColor_; }
    TColorRef BkColor() const { return bkColor_; }
    bool BkTransparent() const { return bkTransparent_; }

    // Draws a picture scaled to width×height (see above for scaling and alpha).
    void DrawImage(int x, int y, const TPixelImage& image, int width, int height);

    TSize SurfaceSize() const override;
    void SelectFont(const TFontDesc& font) override;
    void SetTextColor(TColorRef color) override;
    void SetBkColor(TColorRef color) override;
    void SetBkTransparent(bool transparent) override;

    void FillRect(const TRect& r, TColorRef color) override;
    void FillChecker(const TRect& r, TColorRef even, TColorRef odd) override;
    void FrameRect(const TRect& r, TColorRef color) override;
    void InvertRect(const TRect& r) override;
    void DrawEdge(TRect& r, unsigned edge, unsigned flags) override;
    void DrawFocusRect(const TRect& r) override;
    void PolyPolyline(const TPoint* points, const int* counts, int polylineCount, TColorRef color,
                      int width, TPenStyle style) override;
    void SetPixel(int x, int y, TColorRef color) override;
    TColorRef GetPixel(int x, int y) const override;

    TSize TextExtent(std::string_view text) override;
    void TextOut(int x, int y, unsigned etoOptions, const TRect* rect,
                 std::string_view text) override;
    int DrawText(std::string_view text, TRect& r, unsigned format) override;

    int SaveClip() override;
    void RestoreClip(int token) override;
    void IntersectClip(const TRect& r) override;
    void ExcludeClip(const TRect& r) override;
    TRect ClipBox() override;
    bool RectVisible(const TRect& r) override;

    void BitBlt(const TRect& dst, ICanvasDevice& src, TPoint srcOrigin, std::uint32_t rop,
                TColorRef brush) override;
    void BrushCopy(const TRect& dst, ICanvasDevice& src, TPoint srcOrigin, TColorRef transparent,
                   TColorRef brush) override;
    void DrawIcon(int x, int y, TIconHandle icon, int width, int height) override;

private:
    bool Visible(int x, int y) const;
    void Plot(int x, int y, TColorRef color);
    // The part of r that may be drawn, before the per-pixel clip test.
    TRect DrawableArea(const TRect& r) const;
    template <typename PixelFunction> void ForEachVisible(const TRect& r, const PixelFunction& f);
    void FillClipped(const TRect& r, TColorRef color, const TRect* limit);
    void DrawTextLine(const TextLine& line, int left, int top, const TRect* limit, bool fillCells);
    void DrawSegment(TPoint from, TPoint to, TColorRef color, int width, TPenStyle style,
                     int& dotPhase);

    PixelSurface& surface_;
    const SysColorTable& sysColors_;
    const HeadlessIconStore* icons_;
    PixelRegion clip_;
    std::vector<PixelRegion> savedClips_;
    TFontDesc font_;
    TColorRef textColor_ = 0x000000;
    TColorRef bkColor_ = 0xFFFFFF;
    bool bkTransparent_ = false;
};

namespace detail {
struct OwnedSurface {
    explicit OwnedSurface(int width, int height) : OwnedPixels(width, height, 0) {}
    PixelSurface OwnedPixels;
};
} // namespace detail

// A canvas with its own surface: the platform's bitmaps. New pixels are black, as a fresh
// platform bitmap's.
class PixelBitmap : private detail::OwnedSurface, public PixelCanvas {
public:
    PixelBitmap(int width, int height, const SysColorTable& sysColors,
                const HeadlessIconStore* icons)
        : detail::OwnedSurface(width, height), PixelCanvas(OwnedPixels, sysColors, icons) {}
};

} // namespace fw::headless
