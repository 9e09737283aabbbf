// A set of pixels of a W×H surface: clip regions of canvases and update regions of windows.
#pragma once

#include "framework/Types.h"

#include <cstdint>
#include <vector>

namespace fw::headless {

// Stored as a plain rectangle while it is one, otherwise as one byte per pixel; operations
// that make the set rectangular again fall back to the rectangle. Pixels outside the surface
// never belong to the region, whatever rectangles are passed in.
class PixelRegion {
public:
    // An empty region of a 0×0 surface.
    PixelRegion() = default;

    static PixelRegion Empty(int width, int height);
    static PixelRegion Full(int width, int height);
    static PixelRegion FromRect(int width, int height, const TRect& r);

    int Width() const { return width_; }
    int Height() const { return height_; }
    TRect SurfaceRect() const { return {0, 0, width_, height_}; }

    bool IsEmpty() const;
    // True while the region is exactly one rectangle (or empty).
    bool IsRectangle() const { return isRectangle_; }
    bool Contains(int x, int y) const;
    // Whether any pixel of `r` belongs to the region.
    bool AnyIn(const TRect& r) const;
    // The smallest rectangle holding the region; empty (all zero) for an empty region.
    TRect BoundingBox() const;
    std::int64_t PixelCount() const;

    void Clear();
    void IntersectRect(const TRect& r);
    void ExcludeRect(const TRect& r);
    // Adds the rectangle.
    void UnionRect(const TRect& r);

    // Region with region; pixels outside `other`'s surface count as not in `other`.
    void Intersect(const PixelRegion& other);
    void Union(const PixelRegion& other);
    void Subtract(const PixelRegion& other);
    // Moves every pixel; what leaves the surface is lost.
    void Offset(int dx, int dy);

    // Same surface size and same pixels.
    friend bool operator==(const PixelRegion& a, const PixelRegion& b);

private:
    PixelRegion(int width, int height);

    std::size_t Index(int x, int y) const {
        return std::size_t(y) * std::size_t(width_) + std::size_t(x);
    }
    // Switches to the per-pixel representation.
    void MakeMask();
    // Recomputes bounds and count from the mask within `searchArea`, and returns to the
    // rectangle representation when possible.
    void Normalize(const TRect& searchArea);
    template <typename Keep> void Filter(const Keep& keep);

    int width_ = 0;
    int height_ = 0;
    bool isRectangle_ = true;
    // The region while isRectangle_; otherwise the bounding box of the mask.
    TRect bounds_;
    std::int64_t count_ = 0;
    std::vector<std::uint8_t> mask_;
};

} // namespace fw::headless
