// Drawing tools and surfaces: fonts, brushes, pens, canvases, bitmaps and icons.
#pragma once

#include "framework/Platform.h"
#include "framework/Types.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// Converts system colours through the platform; other colours keep their RGB bits.
TColorRef ColorToRGB(TColor color, const IPlatform& platform);

// Shared by font, brush and pen: a change callback for whoever displays the tool.
class TGraphicsObject {
public:
    std::function<void()> OnChange;

protected:
    void Changed() {
        if (OnChange)
            OnChange();
    }
};

class TFont : public TGraphicsObject {
public:
    static constexpr int PixelsPerInch = 96;

    const std::string& Name() const { return FDesc.Name; }
    void SetName(std::string name);
    int Height() const { return FDesc.Height; }
    void SetHeight(int height);
    // Points at 96 pixels per inch; negative heights are character heights.
    int Size() const;
    void SetSize(int points);
    int Charset() const { return FDesc.Charset; }
    void SetCharset(int charset);
    TFontStyles Style() const { return FDesc.Style; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);

    const TFontDesc& Desc() const { return FDesc; }
    // Copies everything but the change callback.
    void Assign(const TFont& other);
    bool SameAs(const TFont& other) const { return FDesc == other.FDesc && FColor == other.FColor; }

private:
    TFontDesc FDesc;
    TColor FColor = clWindowText;
};

enum TBrushStyle { bsSolid, bsClear };

class TBrush : public TGraphicsObject {
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle style);
    void Assign(const TBrush& other);

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

class TPen : public TGraphicsObject {
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    int Width() const { return FWidth; }
    void SetWidth(int width);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle style);
    void Assign(const TPen& other);

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = TPenStyle::Solid;
};

class TBitmap;

// GDI-like drawing on a platform device. The canvas owns its tools; every operation
// hands the device what it needs at that moment, so devices stay simple.
//
// Text colour rule: a font colour of clNone keeps the colour the canvas drew text with
// before, so text never vanishes into an invalid colour.
class TCanvas {
public:
    explicit TCanvas(const IPlatform& platform, ICanvasDevice* device = nullptr);
    virtual ~TCanvas() = default;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TFont& Font() { return FFont; }
    TBrush& Brush() { return FBrush; }
    TPen& Pen() { return FPen; }

    bool HasDevice() { return Device() != nullptr; }
    // The device, acquired on demand by subclasses that can.
    ICanvasDevice& RequireDevice();
    const IPlatform& Platform() const { return FPlatform; }
    TColorRef ToRGB(TColor color) const { return ColorToRGB(color, FPlatform); }

    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void InvertRect(const TRect& r);
    void DrawEdge(TRect& r, unsigned edge, unsigned flags);
    void DrawFocusRect(const TRect& r);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void PolyPolyline(const std::vector<TPoint>& points, const std::vector<int>& counts);
    TColorRef Pixel(int x, int y);
    void SetPixel(int x, int y, TColor color);

    TSize TextExtent(std::string_view text);
    int TextWidth(std::string_view text) { return TextExtent(text).cx; }
    int TextHeight(std::string_view text) { return TextExtent(text).cy; }
    // Transparent when the brush is bsClear, else on the brush colour.
    void TextOut(int x, int y, std::string_view text);
    // Opaque text clipped to r, the rest of r filled with the brush.
    void TextRect(const TRect& r, int x, int y, std::string_view text);
    int DrawText(std::string_view text, TRect& r, unsigned format);
    // Sets the text colour for the next text call; clNone keeps the current one.
    void SetTextColor(TColor color);
    void SetBkColor(TColor color);
    void SetBkTransparent(bool transparent);

    int SaveClip();
    void RestoreClip(int token);
    void IntersectClipRect(const TRect& r);
    void ExcludeClipRect(const TRect& r);
    TRect ClipRect();
    bool RectVisible(const TRect& r);

    void BitBlt(const TRect& dst, TCanvas& source, TPoint srcOrigin, std::uint32_t rop);
    // Copies the bitmap with pixels of `transparent` replaced by the brush colour.
    void BrushCopy(const TRect& dst, TBitmap& source, const TRect& src, TColor transparent);
    void Draw(int x, int y, TBitmap& bitmap);
    void DrawIcon(int x, int y, TIconHandle icon, int width = 16, int height = 16);

protected:
    virtual ICanvasDevice* Device() { return FDevice; }
    void SetDevice(ICanvasDevice* device);

private:
    void PrepareText(ICanvasDevice& device);
    TColorRef EffectiveTextColor();

    const IPlatform& FPlatform;
    ICanvasDevice* FDevice = nullptr;
    TFont FFont;
    TBrush FBrush;
    TPen FPen;
    TPoint FPenPos;
    TColorRef FLastTextColor = 0;
    // Set by SetTextColor: FLastTextColor holds that colour for the next text call.
    bool FHaveExplicitTextColor = false;
    friend class TBitmap;
};

// An off-screen picture with its own canvas.
class TBitmap {
public:
    explicit TBitmap(IPlatform& platform);
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Empty() const { return FWidth == 0 || FHeight == 0; }
    // Keeps nothing of the old picture.
    void SetSize(int width, int height);
    TCanvas& Canvas();
    // Sets every pixel from an image (masked pixels take `maskColor`).
    void LoadFromImage(const TPixelImage& image, TColor maskColor = clFuchsia);
    // A bitmap resource of the program; false, and the bitmap empty, when there is none.
    bool LoadFromResourceName(std::string_view name);
    void Assign(const TBitmap& other);
    // A black-and-white copy of `source`: pixels of colour `background` become white, all
    // others black, as the platform turns a colour picture into a monochrome one.
    void AssignMonochrome(const TBitmap& source, TColor background);

private:
    IPlatform& FPlatform;
    int FWidth = 0;
    int FHeight = 0;
    std::unique_ptr<ICanvasDevice> FDevice;
    std::unique_ptr<TCanvas> FCanvas;
};

// Owns a platform icon.
class TIcon {
public:
    TIcon() = default;
    TIcon(IPlatform& platform, TIconHandle handle) : FPlatform(&platform), FHandle(handle) {}
    ~TIcon() { Reset(); }
    TIcon(TIcon&& other) noexcept : FPlatform(other.FPlatform), FHandle(other.FHandle) {
        other.FHandle = 0;
    }
    TIcon& operator=(TIcon&& other) noexcept;
    TIcon(const TIcon&) = delete;
    TIcon& operator=(const TIcon&) = delete;

    TIconHandle Handle() const { return FHandle; }
    bool Empty() const { return FHandle == 0; }
    void Reset();

private:
    IPlatform* FPlatform = nullptr;
    TIconHandle FHandle = 0;
};

} // namespace fw
