// Bitmap and icon files written byte by byte, for the picture reader and the graphic column.
// Pixels are given row by row from the top; colours are TColorRef (0x00BBGGRR).
#pragma once

#include "framework/Platform.h"

#include <cstdint>
#include <string>
#include <vector>

namespace picture_testing {

inline void Put16(std::string& out, std::uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
inline void Put32(std::string& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
inline void PutColor(std::string& out, fw::TColorRef c, bool reserved = true) {
    out.push_back(static_cast<char>((c >> 16) & 0xFF)); // blue
    out.push_back(static_cast<char>((c >> 8) & 0xFF));  // green
    out.push_back(static_cast<char>(c & 0xFF));         // red
    if (reserved)
        out.push_back(0);
}

struct TDib {
    int Width = 0;
    int Height = 0;
    int Bits = 24;
    // 1, 4 and 8 bits: palette indexes; 16 bits: the raw value; 24 and 32 bits: colours.
    std::vector<std::uint32_t> Values;
    std::vector<fw::TColorRef> Palette;
    bool TopDown = false;
    bool CoreHeader = false;
    // Bit fields (compression 3) when not empty: red, green and blue masks.
    std::vector<std::uint32_t> Masks;
    // 32-bit icons: alpha per pixel (empty: all 0). Icons: masked pixels (empty: none).
    std::vector<std::uint8_t> Alpha;
    std::vector<bool> Masked;
};

inline TDib Dib(int width, int height, int bits, std::vector<std::uint32_t> values,
                std::vector<fw::TColorRef> palette = {}) {
    TDib dib;
    dib.Width = width;
    dib.Height = height;
    dib.Bits = bits;
    dib.Values = std::move(values);
    dib.Palette = std::move(palette);
    return dib;
}

inline std::size_t Stride(int width, int bits) {
    return (std::size_t(width) * std::size_t(bits) + 31) / 32 * 4;
}

// Header, masks, palette and colour rows (bottom-up unless TopDown); `heightFactor` 2 for
// icons, whose stored height includes the mask.
inline std::string DibBytes(const TDib& dib, int heightFactor) {
    std::string out;
    if (dib.CoreHeader) {
        Put32(out, 12);
        Put16(out, std::uint32_t(dib.Width));
        Put16(out, std::uint32_t(dib.Height * heightFactor));
        Put16(out, 1);
        Put16(out, std::uint32_t(dib.Bits));
    } else {
        Put32(out, 40);
        Put32(out, std::uint32_t(dib.Width));
        Put32(out, std::uint32_t(dib.TopDown ? -dib.Height : dib.Height * heightFactor));
        Put16(out, 1);
        Put16(out, std::uint32_t(dib.Bits));
        Put32(out, dib.Masks.empty() ? 0 : 3);
        Put32(out, 0);
        Put32(out, 0);
        Put32(out, 0);
        Put32(out, std::uint32_t(dib.Palette.size()));
        Put32(out, 0);
        for (std::uint32_t mask : dib.Masks)
            Put32(out, mask);
    }
    for (fw::TColorRef c : dib.Palette)
        PutColor(out, c, !dib.CoreHeader);
    const std::size_t stride = Stride(dib.Width, dib.Bits);
    for (int row = 0; row < dib.Height; ++row) {
        const int y = dib.TopDown ? row : dib.Height - 1 - row;
        std::string line;
        std::uint32_t bitBuffer = 0;
        int bitCount = 0;
        for (int x = 0; x < dib.Width; ++x) {
            const std::size_t i = std::size_t(y) * std::size_t(dib.Width) + std::size_t(x);
            const std::uint32_t v = dib.Values[i];
            switch (dib.Bits) {
            case 1:
            case 4:
            case 8:
                bitBuffer = bitBuffer << dib.Bits | v;
                bitCount += dib.Bits;
                if (bitCount == 8) {
                    line.push_back(static_cast<char>(bitBuffer));
                    bitBuffer = 0;
                    bitCount = 0;
                }
                break;
            case 16:
                Put16(line, v);
                break;
            case 24:
                PutColor(line, v, false);
                break;
            default:
                PutColor(line, v, false);
                line.push_back(static_cast<char>(dib.Alpha.empty() ? 0 : dib.Alpha[i]));
                break;
            }
        }
        if (bitCount > 0)
            line.push_back(static_cast<char>(bitBuffer << (8 - bitCount)));
        line.resize(stride, '\0');
        out += line;
    }
    return out;
}

inline std::string BitmapFile(const TDib& dib) {
    const std::string body = DibBytes(dib, 1);
    const std::size_t headerAndPalette = body.size() - Stride(dib.Width, dib.Bits) * dib.Height;
    std::string out = "BM";
    Put32(out, std::uint32_t(14 + body.size()));
    Put32(out, 0);
    Put32(out, std::uint32_t(14 + headerAndPalette));
    return out + body;
}

// An icon image: the colour bitmap and its mask (1: transparent), rows bottom-up.
inline std::string IconImage(const TDib& dib) {
    std::string out = DibBytes(dib, 2);
    const std::size_t stride = Stride(dib.Width, 1);
    for (int row = 0; row < dib.Height; ++row) {
        const int y = dib.Height - 1 - row;
        std::string line(stride, '\0');
        for (int x = 0; x < dib.Width; ++x)
            if (!dib.Masked.empty() && dib.Masked[std::size_t(y) * std::size_t(dib.Width) + x])
                line[std::size_t(x) / 8] =
                    static_cast<char>(line[std::size_t(x) / 8] | (0x80 >> (x % 8)));
        out += line;
    }
    return out;
}

// An icon file of the images, in order; an image may be given as raw bytes (a PNG stream).
struct TIconEntry {
    int Width = 0;
    int Height = 0;
    int Bits = 0;
    std::string Bytes;
};
inline TIconEntry IconEntry(const TDib& dib) {
    return {dib.Width, dib.Height, dib.Bits, IconImage(dib)};
}
inline std::string IconFile(const std::vector<TIconEntry>& entries) {
    std::string out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, std::uint32_t(entries.size()));
    std::size_t offset = 6 + 16 * entries.size();
    for (const TIconEntry& e : entries) {
        out.push_back(static_cast<char>(e.Width & 0xFF));
        out.push_back(static_cast<char>(e.Height & 0xFF));
        out.push_back(0);
        out.push_back(0);
        Put16(out, 1);
        Put16(out, std::uint32_t(e.Bits));
        Put32(out, std::uint32_t(e.Bytes.size()));
        Put32(out, std::uint32_t(offset));
        offset += e.Bytes.size();
    }
    for (const TIconEntry& e : entries)
        out += e.Bytes;
    return out;
}

// A 24-bit bitmap of one colour per pixel.
inline std::string Bitmap24(int width, int height, const std::vector<fw::TColorRef>& colors) {
    TDib dib;
    dib.Width = width;
    dib.Height = height;
    dib.Bits = 24;
    dib.Values.assign(colors.begin(), colors.end());
    return BitmapFile(dib);
}

// What the picture reads for an opaque colour.
constexpr std::uint32_t OpaquePixel(fw::TColorRef c) {
    return 0xFF000000u | c;
}

} // namespace picture_testing
