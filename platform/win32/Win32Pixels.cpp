#include "platform/win32/Win32Pixels.h"

#include <algorithm>
#include <vector>

namespace fw::win32 {

UniqueBitmap CreateDib32(int width, int height, std::uint32_t** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = std::max(width, 1);
    info.bmiHeader.biHeight = -std::max(height, 1); // top-down, like TPixelImage
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!bitmap)
        throw Exception("Cannot create a bitmap of " + std::to_string(width) + "x" +
                        std::to_string(height) + " pixels");
    if (bits != nullptr)
        *bits = static_cast<std::uint32_t*>(pixels);
    return bitmap;
}

MaskedBitmaps CreateMaskedBitmaps(const TPixelImage& image, int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    std::uint32_t* color = nullptr;
    MaskedBitmaps result{CreateDib32(width, height, &color), nullptr};

    // Monochrome rows are padded to 16 bits; a set bit is a masked pixel.
    const int maskStride = ((width + 15) / 16) * 2;
    std::vector<BYTE> mask(std::size_t(maskStride) * std::size_t(height), 0);
    const bool pixelsComplete =
        image.Width > 0 && image.Height > 0 &&
        image.Pixels.size() >= std::size_t(image.Width) * std::size_t(image.Height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool inside = pixelsComplete && x < image.Width && y < image.Height;
            const std::uint32_t pixel = inside ? image.At(x, y) : 0;
            const bool masked = (pixel >> 24) == 0;
            color[std::size_t(y) * std::size_t(width) + std::size_t(x)] =
                masked ? 0 : SwapRedBlue(pixel);
            if (masked)
                mask[std::size_t(y) * std::size_t(maskStride) + std::size_t(x / 8)] |=
                    BYTE(0x80 >> (x % 8));
        }
    }
    GdiFlush();
    result.Mask.reset(CreateBitmap(width, height, 1, 1, mask.data()));
    if (!result.Mask)
        throw Exception("Cannot create an image mask");
    return result;
}

TPixelImage ImageFromBitmap(HBITMAP bitmap) {
    BITMAP description{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof description, &description) == 0 ||
        description.bmWidth <= 0 || description.bmHeight <= 0)
        return {};
    const int width = description.bmWidth;
    const int height = description.bmHeight;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down, like TPixelImage
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    TPixelImage image = TPixelImage::Blank(width, height);
    ScreenDc screen;
    if (GetDIBits(screen.Get(), bitmap, 0, UINT(height), image.Pixels.data(), &info,
                  DIB_RGB_COLORS) != height)
        return {};
    for (std::uint32_t& pixel : image.Pixels)
        pixel = 0xFF000000u | SwapRedBlue(pixel & 0xFFFFFFu);
    return image;
}

} // namespace fw::win32
