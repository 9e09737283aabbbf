#include "platform/headless/PixelRegion.h"

#include <algorithm>

namespace fw::headless {

namespace {

std::int64_t Area(const TRect& r) {
    return r.IsEmpty() ? 0 : std::int64_t(r.Width()) * std::int64_t(r.Height());
}

bool Covers(const TRect& outer, const TRect& inner) {
    return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
           inner.Bottom <= outer.Bottom;
}

} // namespace

PixelRegion::PixelRegion(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)) {}

PixelRegion PixelRegion::Empty(int width, int height) {
    return PixelRegion(width, height);
}

PixelRegion PixelRegion::Full(int width, int height) {
    PixelRegion region(width, height);
    region.UnionRect(region.SurfaceRect());
    return region;
}

PixelRegion PixelRegion::FromRect(int width, int height, const TRect& r) {
    PixelRegion region(width, height);
    region.UnionRect(r);
    return region;
}

bool PixelRegion::IsEmpty() const {
    return count_ == 0;
}

bool PixelRegion::Contains(int x, int y) const {
    if (x < bounds_.Left || x >= bounds_.Right || y < bounds_.Top || y >= bounds_.Bottom)
        return false;
    return isRectangle_ || mask_[Index(x, y)] != 0;
}

bool PixelRegion::AnyIn(const TRect& r) const {
    const TRect area = fw::IntersectRect(r, bounds_);
    if (area.IsEmpty())
        return false;
    if (isRectangle_)
        return true;
    for (int y = area.Top; y < area.Bottom; ++y) {
        const auto row = mask_.begin() + std::ptrdiff_t(Index(area.Left, y));
        if (std::find(row, row + area.Width(), std::uint8_t(1)) != row + area.Width())
            return true;
    }
    return false;
}

TRect PixelRegion::BoundingBox() const {
    return bounds_;
}

std::int64_t PixelRegion::PixelCount() const {
    return count_;
}

void PixelRegion::Clear() {
    isRectangle_ = true;
    bounds_ = {};
    count_ = 0;
    mask_.clear();
}

void PixelRegion::MakeMask() {
    if (!isRectangle_)
        return;
    mask_.assign(std::size_t(width_) * std::size_t(height_), 0);
    for (int y = bounds_.Top; y < bounds_.Bottom; ++y)
        std::fill_n(mask_.begin() + std::ptrdiff_t(Index(bounds_.Left, y)), bounds_.Width(), 1);
    isRectangle_ = false;
}

void PixelRegion::Normalize(const TRect& searchArea) {
    TRect box;
    std::int64_t count = 0;
    const TRect area = fw::IntersectRect(searchArea, SurfaceRect());
    int left = width_, right = 0, top = height_, bottom = 0;
    for (int y = area.Top; y < area.Bottom; ++y) {
        int rowCount = 0;
        for (int x = area.Left; x < area.Right; ++x) {
            if (mask_[Index(x, y)] == 0)
                continue;
            ++rowCount;
            left = std::min(left, x);
            right = std::max(right, x + 1);
        }
        if (rowCount > 0) {
            count += rowCount;
            top = std::min(top, y);
            bottom = y + 1;
        }
    }
    if (count > 0)
        box = {left, top, right, bottom};
    bounds_ = box;
    count_ = count;
    if (count == Area(box)) {
        isRectangle_ = true;
        mask_.clear();
    }
}

template <typename Keep> void PixelRegion::Filter(const Keep& keep) {
    MakeMask();
    for (int y = bounds_.Top; y < bounds_.Bottom; ++y)
        for (int x = bounds_.Left; x < bounds_.Right; ++x) {
            auto& cell = mask_[Index(x, y)];
            if (cell != 0 && !keep(x, y))
                cell = 0;
        }
    Normalize(bounds_);
}

void PixelRegion::IntersectRect(const TRect& r) {
    if (Covers(r, bounds_))
        return;
    if (isRectangle_) {
        bounds_ = fw::IntersectRect(bounds_, r);
        count_ = Area(bounds_);
        return;
    }
    Filter([&](int x, int y) { return r.Contains({x, y}); });
}

void PixelRegion::ExcludeRect(const TRect& r) {
    const TRect cut = fw::IntersectRect(r, bounds_);
    if (cut.IsEmpty())
        return;
    if (isRectangle_) {
        // Cutting a full-width or full-height strip off one end keeps a rectangle.
        TRect rest = bounds_;
        const bool fullWidth = cut.Left == rest.Left && cut.Right == rest.Right;
        const bool fullHeight = cut.Top == rest.Top && cut.Bottom == rest.Bottom;
        bool stillRectangle = true;
        if (fullWidth && fullHeight)
            rest = {};
        else if (fullWidth && cut.Top == rest.Top)
            rest.Top = cut.Bottom;
        else if (fullWidth && cut.Bottom == rest.Bottom)
            rest.Bottom = cut.Top;
        else if (fullHeight && cut.Left == rest.Left)
            rest.Left = cut.Right;
        else if (fullHeight && cut.Right == rest.Right)
            rest.Right = cut.Left;
        else
            stillRectangle = false;
        if (stillRectangle) {
            bounds_ = rest.IsEmpty() ? TRect{} : rest;
            count_ = Area(bounds_);
            return;
        }
    }
    MakeMask();
    for (int y = cut.Top; y < cut.Bottom; ++y)
        std::fill_n(mask_.begin() + std::ptrdiff_t(Index(cut.Left, y)), cut.Width(), 0);
    Normalize(bounds_);
}

void PixelRegion::UnionRect(const TRect& r) {
    const TRect add = fw::IntersectRect(r, SurfaceRect());
    if (add.IsEmpty())
        return;
    if (isRectangle_) {
        if (Covers(bounds_, add) && count_ > 0)
            return;
        if (count_ == 0 || Covers(add, bounds_)) {
            bounds_ = add;
            count_ = Area(add);
            return;
        }
    }
    MakeMask();
    for (int y = add.Top; y < add.Bottom; ++y)
        std::fill_n(mask_.begin() + std::ptrdiff_t(Index(add.Left, y)), add.Width(), 1);
    Normalize(fw::UnionRect(bounds_, add));
}

void PixelRegion::Intersect(const PixelRegion& other) {
    if (other.isRectangle_) {
        IntersectRect(other.bounds_);
        return;
    }
    Filter([&](int x, int y) { return other.Contains(x, y); });
}

void PixelRegion::Union(const PixelRegion& other) {
    if (other.isRectangle_) {
        UnionRect(other.bounds_);
        return;
    }
    const TRect add = fw::IntersectRect(other.bounds_, SurfaceRect());
    if (add.IsEmpty())
        return;
    MakeMask();
    for (int y = add.Top; y < add.Bottom; ++y)
        for (int x = add.Left; x < add.Right; ++x)
            if (other.Contains(x, y))
                mask_[Index(x, y)] = 1;
    Normalize(fw::UnionRect(bounds_, add));
}

void PixelRegion::Subtract(const PixelRegion& other) {
    if (other.isRectangle_) {
        ExcludeRect(other.bounds_);
        return;
    }
    if (!RectsIntersect(bounds_, other.bounds_))
        return;
    Filter([&](int x, int y) { return !other.Contains(x, y); });
}

void PixelRegion::Offset(int dx, int dy) {
    if (count_ == 0)
        return;
    if (isRectangle_) {
        bounds_ = fw::IntersectRect(bounds_.Offset(dx, dy), SurfaceRect());
        count_ = Area(bounds_);
        return;
    }
    std::vector<std::uint8_t> moved(mask_.size(), 0);
    const TRect target = fw::IntersectRect(bounds_.Offset(dx, dy), SurfaceRect());
    for (int y = target.Top; y < target.Bottom; ++y)
        for (int x = target.Left; x < target.Right; ++x)
            moved[Index(x, y)] = mask_[Index(x - dx, y - dy)];
    mask_ = std::move(moved);
    Normalize(target);
}

bool operator==(const PixelRegion& a, const PixelRegion& b) {
    if (a.width_ != b.width_ || a.height_ != b.height_ || a.count_ != b.count_ ||
        a.bounds_ != b.bounds_)
        return false;
    if (a.isRectangle_ && b.isRectangle_)
        return true;
    for (int y = a.bounds_.Top; y < a.bounds_.Bottom; ++y)
        for (int x = a.bounds_.Left; x < a.bounds_.Right; ++x)
            if (a.Contains(x, y) != b.Contains(x, y))
                return false;
    return true;
}

} // namespace fw::headless
