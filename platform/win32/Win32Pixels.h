// Framework pixel images as GDI bitmaps.
#pragma once

#include "platform/win32/Win32Handles.h"

#include <cstdint>

namespace fw::win32 {

// 0xAABBGGRR (framework, COLORREF) and 0xAARRGGBB (32-bit DIB) differ by red and blue.
constexpr std::uint32_t SwapRedBlue(std::uint32_t pixel) {
    return (pixel & 0xFF00FF00u) | ((pixel & 0xFFu) << 16) | ((pixel >> 16) & 0xFFu);
}

// A top-down 32-bit DIB section; `bits` receives its pixels.
UniqueBitmap CreateDib32(int width, int height, std::uint32_t** bits);

// The colour and monochrome mask bitmaps of an image, cropped or padded (masked) to the size.
// Masked pixels (alpha 0) are black in the colour bitmap and set in the mask, so both the
// mask-based and the alpha-based drawing paths of the system show the same picture.
struct MaskedBitmaps {
    UniqueBitmap Color;
    UniqueBitmap Mask;
};
MaskedBitmaps CreateMaskedBitmaps(const TPixelImage& image, int width, int height);

// The pixels of a bitmap of any colour depth, all opaque; empty for an unreadable bitmap.
TPixelImage ImageFromBitmap(HBITMAP bitmap);

} // namespace fw::win32
