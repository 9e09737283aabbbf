// Deterministic in-memory graphics for native tests: pixel surfaces, system colours and icons.
// Canvases (PixelCanvas.h), text metrics (HeadlessText.h) and image lists
// (HeadlessImageList.h) build on these.
#pragma once

#include "framework/Platform.h"
#include "framework/Types.h"
#include "platform/headless/PixelRegion.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace fw::headless {

// 32-bit pixels, 0x00BBGGRR, row by row from the top. The top byte is always 0.
struct PixelSurface {
    int Width = 0;
    int Height = 0;
    std::vector<TColorRef> Pixels;

    PixelSurface() = default;
    PixelSurface(int width, int height, TColorRef fill = 0);

    TRect Rect() const { return {0, 0, Width, Height}; }
    bool InBounds(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
    TColorRef At(int x, int y) const { return Pixels[Index(x, y)]; }
    void Set(int x, int y, TColorRef color) { Pixels[Index(x, y)] = color & 0xFFFFFFu; }
    // Keeps the overlapping top-left part; new pixels get `fill`.
    void Resize(int width, int height, TColorRef fill = 0);
    // Binary PPM (P6), for looking at a failing test's screen; false when the file cannot be
    // written.
    bool SavePpm(const std::string& path) const;

private:
    std::size_t Index(int x, int y) const {
        return std::size_t(y) * std::size_t(Width) + std::size_t(x);
    }
};

using SysColorTable = std::array<TColorRef, SysColor::Count>;

// The classic grey desktop scheme, so that colours in tests have well-known values.
SysColorTable DefaultHeadlessSysColors();

// Icons by handle. Handles count up from 0x00010001 and are never reused, so a stale handle
// finds nothing instead of another icon.
class HeadlessIconStore {
public:
    // Pixels missing from a malformed image are added as transparent.
    TIconHandle Create(const TPixelImage& image);
    // False for an unknown handle.
    bool Destroy(TIconHandle icon);
    const TPixelImage* Find(TIconHandle icon) const;
    // Live icons, to find leaks.
    std::size_t Count() const { return icons_.size(); }

private:
    std::map<TIconHandle, TPixelImage> icons_;
    TIconHandle next_ = 0x00010001;
};

// Width and height at least 0 and exactly Width × Height pixels.
TPixelImage NormalizedImage(const TPixelImage& image);

} // namespace fw::headless
