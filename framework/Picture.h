// A picture read from the bytes of a bitmap file or an icon file, kept as 32-bit pixels.
#pragma once

#include "framework/Platform.h"
#include "framework/Types.h"

#include <cstdint>
#include <string_view>

namespace fw {

// The kind of data a picture is read from; gcNone lets the picture tell it from the data.
enum TGraphicClass { gcNone, gcBitmap, gcIcon };

// Bitmap files: the core and the 40- to 124-byte headers, 1, 4 and 8 bits with a colour
// table, 16 bits (5-5-5 or bit fields), 24 and 32 bits (plain or bit fields), bottom-up or
// top-down; compressed bitmaps are not read. Icon files: the entry with the most pixels (then
// the most bits) among those stored as device-independent bitmaps, with its mask, or with its
// alpha channel when a 32-bit image has one; PNG-compressed entries are skipped.
//
// The data comes from wherever a cell value comes from, so every size and offset is checked
// against it; data that is no readable picture leaves the picture empty.
class TPicture {
public:
    // Pictures with a longer side are not read.
    static constexpr int kMaxSide = 2048;

    bool Empty() const { return FImage.Width == 0; }
    TGraphicClass GraphicClass() const { return FClass; }
    int Width() const { return FImage.Width; }
    int Height() const { return FImage.Height; }
    // As decoded (0xAABBGGRR): an icon's masked pixels have alpha 0, a bitmap is opaque.
    const TPixelImage& Image() const { return FImage; }

    // A transparent picture lets what lies under it show through: an icon its masked pixels,
    // a bitmap every pixel of the colour of its bottom-left pixel. A newly read icon is
    // transparent, a bitmap is not.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool transparent) { FTransparent = transparent; }
    // The pixel as drawn: its alpha follows the transparency.
    std::uint32_t PixelAt(int x, int y) const;

    // Replaces the picture with the one in `data`; false, and the picture empty, when the data
    // holds no readable picture of that class (of either class for gcNone).
    bool LoadFromData(std::string_view data, TGraphicClass graphicClass = gcNone);
    void Clear();

private:
    TPixelImage FImage;
    TGraphicClass FClass = gcNone;
    bool FTransparent = false;
};

} // namespace fw
