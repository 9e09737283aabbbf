// Drawing surfaces over GDI device contexts.
#pragma once

#include "platform/win32/Win32Fonts.h"
#include "platform/win32/Win32Handles.h"

#include <optional>
#include <vector>

namespace fw::win32 {

// The drawing operations, shared by every kind of surface. A subclass acquires the device
// context, attaches it, and detaches it before giving it back: the context's state is saved on
// attach and restored on detach, so nothing selected here outlives the device.
class GdiDevice : public ICanvasDevice {
public:
    GdiDevice(const GdiDevice&) = delete;
    GdiDevice& operator=(const GdiDevice&) = delete;
    ~GdiDevice() override;

    HDC Dc() const { return dc_; }

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

protected:
    explicit GdiDevice(FontCache& fonts) : fonts_(fonts) {}
    void Attach(HDC dc);
    void Detach();

private:
    void FillWithDcBrush(int x, int y, int width, int height, TColorRef color);
    void DropClipsFrom(std::size_t index);

    FontCache& fonts_;
    HDC dc_ = nullptr;
    int savedState_ = 0;
    // What the context holds now, so unchanged state is not selected again.
    std::optional<TFontDesc> font_;
    COLORREF textColor_ = 0;
    COLORREF bkColor_ = 0;
    bool bkTransparent_ = false;
    // Saved clip regions; null stands for "no clip region".
    std::vector<UniqueRegion> clipStack_;
};

// A window's client area during a paint cycle: the clip is the update region.
class PaintDevice final : public GdiDevice {
public:
    PaintDevice(HWND window, FontCache& fonts);
    ~PaintDevice() override;
    TSize SurfaceSize() const override;

private:
    HWND window_;
    PAINTSTRUCT paint_{};
};

// A window's client area outside a paint cycle.
class WindowDevice final : public GdiDevice {
public:
    WindowDevice(HWND window, FontCache& fonts);
    ~WindowDevice() override;
    TSize SurfaceSize() const override;

private:
    HWND window_;
};

// A whole window, frame and scroll bars included, outside a paint cycle.
class FrameDevice final : public GdiDevice {
public:
    FrameDevice(HWND window, FontCache& fonts);
    ~FrameDevice() override;
    TSize SurfaceSize() const override;

private:
    HWND window_;
};

// An off-screen 32-bit surface.
class BitmapDevice final : public GdiDevice {
public:
    BitmapDevice(int width, int height, FontCache& fonts);
    ~BitmapDevice() override;
    TSize SurfaceSize() const override { return size_; }

private:
    TSize size_;
    UniqueMemoryDc memoryDc_;
    UniqueBitmap bitmap_;
    HGDIOBJ originalBitmap_ = nullptr;
};

} // namespace fw::win32
