#include "framework/Picture.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace fw {

namespace {

// Little-endian reads that answer nothing past the end of the data.
class TReader {
public:
    explicit TReader(std::string_view data) : FData(data) {}
    std::size_t Size() const { return FData.size(); }
    bool Has(std::uint64_t offset, std::uint64_t count) const {
        return offset <= FData.size() && count <= FData.size() - offset;
    }
    std::uint32_t U8(std::size_t at) const { return static_cast<unsigned char>(FData[at]); }
    std::uint32_t U16(std::size_t at) const { return U8(at) | U8(at + 1) << 8; }
    std::uint32_t U32(std::size_t at) const { return U16(at) | U16(at + 2) << 16; }
    std::int32_t I32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }
    std::string_view View() const { return FData; }

private:
    std::string_view FData;
};

constexpr std::uint32_t kRgb = 0;       // uncompressed
constexpr std::uint32_t kBitFields = 3; // uncompressed, channels given by masks
constexpr std::size_t kCoreHeader = 12;
constexpr std::size_t kInfoHeader = 40;
constexpr std::size_t kFileHeader = 14;

constexpr std::uint32_t Pixel(std::uint32_t r, std::uint32_t g, std::uint32_t b,
                              std::uint32_t a = 255) {
    return r | g << 8 | b << 16 | a << 24;
}

// One channel of a bit-field pixel, scaled to 0..255.
struct TChannel {
    std::uint32_t Mask = 0;
    int Shift = 0;
    std::uint32_t Max = 0;

    static TChannel Of(std::uint32_t mask) {
        TChannel c;
        c.Mask = mask;
        if (mask == 0)
            return c;
        while (((mask >> c.Shift) & 1u) == 0)
            ++c.Shift;
        c.Max = mask >> c.Shift;
        return c;
    }
    std::uint32_t Read(std::uint32_t value) const {
        return Max == 0 ? 0
                        : static_cast<std::uint32_t>(std::uint64_t((value & Mask) >> Shift) * 255u /
                                                     Max);
    }
};

// Where a device-independent bitmap lies in the data and how it is laid out.
struct TDibLayout {
    int Width = 0;
    int Height = 0; // of the colour image (half the stored height for an icon)
    bool TopDown = false;
    int Bits = 0;
    std::vector<std::uint32_t> Palette;
    TChannel Red, Green, Blue;
    std::size_t Pixels = 0; // offset of the colour image
    std::size_t Stride = 0;
};

// Reads the header and colour table at `header`. `pixels` is where the colour image starts
// (nullopt: right after the colour table, as in an icon).
std::optional<TDibLayout> ReadDibLayout(const TReader& in, std::size_t header,
                                        std::optional<std::size_t> pixels, bool icon) {
    if (!in.Has(header, 4))
        return std::nullopt;
    const std::uint32_t headerSize = in.U32(header);
    if (!in.Has(header, headerSize))
        return std::nullopt;
    TDibLayout dib;
    std::uint32_t compression = kRgb;
    std::uint32_t colorsUsed = 0;
    std::int64_t height = 0;
    std::size_t paletteEntry = 4;
    std::size_t afterHeader = header + headerSize;
    if (headerSize == kCoreHeader) {
        dib.Width = static_cast<int>(in.U16(header + 4));
        height = in.U16(header + 6);
        dib.Bits = static_cast<int>(in.U16(header + 10));
        paletteEntry = 3;
    } else if (headerSize >= kInfoHeader) {
        dib.Width = in.I32(header + 4);
        height = in.I32(header + 8);
        dib.Bits = static_cast<int>(in.U16(header + 14));
        compression = in.U32(header + 16);
        colorsUsed = in.U32(header + 32);
    } else {
        return std::nullopt;
    }
    if (compression != kRgb && !(compression == kBitFields && (dib.Bits == 16 || dib.Bits == 32)))
        return std::nullopt;
    if (dib.Bits != 1 && dib.Bits != 4 && dib.Bits != 8 && dib.Bits != 16 && dib.Bits != 24 &&
        dib.Bits != 32)
        return std::nullopt;

    if (icon) {
        // The stored height covers the colour image and the mask under it.
        if (height <= 0)
            return std::nullopt;
        height /= 2;
    } else if (height < 0) {
        dib.TopDown = true;
        height = -height;
    }
    if (dib.Width <= 0 || dib.Width > TPicture::kMaxSide || height <= 0 ||
        height > TPicture::kMaxSide)
        return std::nullopt;
    dib.Height = static_cast<int>(height);

    if (compression == kBitFields) {
        // The masks follow a 40-byte header, and lie inside the longer ones.
        const std::size_t masks = headerSize == kInfoHeader ? afterHeader : header + kInfoHeader;
        if (!in.Has(masks, 12))
            return std::nullopt;
        if (headerSize == kInfoHeader)
            afterHeader += 12;
        dib.Red = TChannel::Of(in.U32(masks));
        dib.Green = TChannel::Of(in.U32(masks + 4));
        dib.Blue = TChannel::Of(in.U32(masks + 8));
    } else if (dib.Bits == 16) {
        dib.Red = TChannel::Of(0x7C00);
        dib.Green = TChannel::Of(0x03E0);
        dib.Blue = TChannel::Of(0x001F);
    } else if (dib.Bits == 32) {
        dib.Red = TChannel::Of(0x00FF0000);
        dib.Green = TChannel::Of(0x0000FF00);
        dib.Blue = TChannel::Of(0x000000FF);
    }

    if (dib.Bits <= 8) {
        const std::uint32_t full = 1u << dib.Bits;
        const std::uint32_t count = colorsUsed == 0 ? full : std::min(colorsUsed, full);
        if (!in.Has(afterHeader, std::uint64_t(count) * paletteEntry))
            return std::nullopt;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::size_t at = afterHeader + i * paletteEntry;
            dib.Palette.push_back(Pixel(in.U8(at + 2), in.U8(at + 1), in.U8(at)));
        }
        afterHeader += count * paletteEntry;
    } else if (colorsUsed != 0 && headerSize != kCoreHeader) {
        // An optional colour table for palette devices sits between header and pixels.
        afterHeader += std::size_t(std::min<std::uint32_t>(colorsUsed, 256)) * 4;
    }

    dib.Pixels = pixels.value_or(afterHeader);
    dib.Stride = (std::size_t(dib.Width) * std::size_t(dib.Bits) + 31) / 32 * 4;
    if (!in.Has(dib.Pixels, std::uint64_t(dib.Stride) * std::uint64_t(dib.Height)))
        return std::nullopt;
    return dib;
}

// The colour image, opaque.
TPixelImage ReadColors(const TReader& in, const TDibLayout& dib) {
    TPixelImage image = TPixelImage::Blank(dib.Width, dib.Height);
    for (int row = 0; row < dib.Height; ++row) {
        const std::size_t line = dib.Pixels + std::size_t(row) * dib.Stride;
        const int y = dib.TopDown ? row : dib.Height - 1 - row;
        for (int x = 0; x < dib.Width; ++x) {
            std::uint32_t pixel = 0;
            switch (dib.Bits) {
            case 1:
            case 4:
            case 8: {
                const std::size_t bit = std::size_t(x) * std::size_t(dib.Bits);
                const std::uint32_t byte = in.U8(line + bit / 8);
                const std::uint32_t index =
                    (byte >> (8 - dib.Bits - int(bit % 8))) & ((1u << dib.Bits) - 1);
                // An index past a short colour table is black.
                pixel = index < dib.Palette.size() ? dib.Palette[index] : Pixel(0, 0, 0);
                break;
            }
            case 16: {
                const std::uint32_t v = in.U16(line + std::size_t(x) * 2);
                pixel = Pixel(dib.Red.Read(v), dib.Green.Read(v), dib.Blue.Read(v));
                break;
            }
            case 24: {
                const std::size_t at = line + std::size_t(x) * 3;
                pixel = Pixel(in.U8(at + 2), in.U8(at + 1), in.U8(at));
                break;
            }
            default: {
                const std::uint32_t v = in.U32(line + std::size_t(x) * 4);
                pixel = Pixel(dib.Red.Read(v), dib.Green.Read(v), dib.Blue.Read(v));
                break;
            }
            }
            image.Set(x, y, pixel);
        }
    }
    return image;
}

std::optional<TPixelImage> ReadBitmapFile(const TReader& in) {
    if (!in.Has(0, kFileHeader) || in.U8(0) != 'B' || in.U8(1) != 'M')
        return std::nullopt;
    const std::optional<TDibLayout> dib = ReadDibLayout(in, kFileHeader, in.U32(10), false);
    if (!dib)
        return std::nullopt;
    return ReadColors(in, *dib);
}

// One image of an icon file: a bitmap of twice the height (colours, then a 1-bit mask).
std::optional<TPixelImage> ReadIconImage(const TReader& in, std::size_t at) {
    const std::optional<TDibLayout> dib = ReadDibLayout(in, at, std::nullopt, true);
    if (!dib)
        return std::nullopt;
    TPixelImage image = ReadColors(in, *dib);
    if (dib->Bits == 32) {
        // A 32-bit image may carry its own alpha channel; it wins over the mask when present.
        bool anyAlpha = false;
        for (int y = 0; y < dib->Height; ++y) {
            const std::size_t line = dib->Pixels + std::size_t(dib->Height - 1 - y) * dib->Stride;
            for (int x = 0; x < dib->Width; ++x) {
                const std::uint32_t alpha = in.U8(line + std::size_t(x) * 4 + 3);
                anyAlpha = anyAlpha || alpha != 0;
                image.Set(x, y, (image.At(x, y) & 0x00FFFFFFu) | alpha << 24);
            }
        }
        if (anyAlpha)
            return image;
        for (std::uint32_t& pixel : image.Pixels)
            pixel |= 0xFF000000u;
    }
    // The mask: 1 marks a transparent pixel. An icon without one is opaque.
    const std::size_t maskStride = (std::size_t(dib->Width) + 31) / 32 * 4;
    const std::size_t mask = dib->Pixels + dib->Stride * std::size_t(dib->Height);
    if (!in.Has(mask, std::uint64_t(maskStride) * std::uint64_t(dib->Height)))
        return image;
    for (int row = 0; row < dib->Height; ++row) {
        const std::size_t line = mask + std::size_t(row) * maskStride;
        const int y = dib->Height - 1 - row;
        for (int x = 0; x < dib->Width; ++x)
            if ((in.U8(line + std::size_t(x) / 8) >> (7 - x % 8)) & 1u)
                image.Set(x, y, image.At(x, y) & 0x00FFFFFFu);
    }
    return image;
}

std::optional<TPixelImage> ReadIconFile(const TReader& in) {
    constexpr std::size_t kDirectory = 6;
    constexpr std::size_t kEntry = 16;
    if (!in.Has(0, kDirectory) || in.U16(0) != 0 || in.U16(2) != 1)
        return std::nullopt;
    const std::size_t count = in.U16(4);
    if (count == 0 || !in.Has(kDirectory, std::uint64_t(count) * kEntry))
        return std::nullopt;
    struct TEntry {
        int Pixels;
        int Bits;
        std::size_t Offset;
    };
    std::vector<TEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kDirectory + i * kEntry;
        const int width = in.U8(at) == 0 ? 256 : int(in.U8(at));
        const int height = in.U8(at + 1) == 0 ? 256 : int(in.U8(at + 1));
        const std::uint32_t size = in.U32(at + 8);
        const std::uint32_t offset = in.U32(at + 12);
        if (!in.Has(offset, size) || size < 8 || in.View().substr(offset, 4) == "\x89PNG")
            continue;
        entries.push_back({width * height, int(in.U16(at + 6)), offset});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const TEntry& a, const TEntry& b) {
        return a.Pixels != b.Pixels ? a.Pixels > b.Pixels : a.Bits > b.Bits;
    });
    for (const TEntry& entry : entries)
        if (std::optional<TPixelImage> image = ReadIconImage(in, entry.Offset))
            return image;
    return std::nullopt;
}

} // namespace

std::uint32_t TPicture::PixelAt(int x, int y) const {
    const std::uint32_t pixel = FImage.At(x, y);
    if (!FTransparent)
        return pixel | 0xFF000000u;
    if (FClass == gcBitmap) {
        const std::uint32_t key = FImage.At(0, FImage.Height - 1) & 0x00FFFFFFu;
        return (pixel & 0x00FFFFFFu) == key ? pixel & 0x00FFFFFFu : pixel;
    }
    return pixel;
}

bool TPicture::LoadFromData(std::string_view data, TGraphicClass graphicClass) {
    Clear();
    const TReader in(data);
    std::optional<TPixelImage> image;
    if (graphicClass != gcIcon && (image = ReadBitmapFile(in)))
        FClass = gcBitmap;
    else if (graphicClass != gcBitmap && (image = ReadIconFile(in)))
        FClass = gcIcon;
    if (!image)
        return false;
    FImage = std::move(*image);
    FTransparent = FClass == gcIcon;
    return true;
}

void TPicture::Clear() {
    FImage = TPixelImage();
    FClass = gcNone;
    FTransparent = false;
}

} // namespace fw
