// Geometry, colour and handle types shared by every layer. Values and layouts match the
// native platform's so the Win32 backend can pass them through unchanged.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace fw {

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool Contains(TPoint p) const {
        return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
    }
    TRect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
    TRect Inflate(int dx, int dy) const { return {Left - dx, Top - dy, Right + dx, Bottom + dy}; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect Bounds(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

// Empty when the rectangles do not overlap.
TRect IntersectRect(const TRect& a, const TRect& b);
bool RectsIntersect(const TRect& a, const TRect& b);
TRect UnionRect(const TRect& a, const TRect& b);

// a * b / c in 64 bits, rounded to the nearest integer, halves away from zero; a zero divisor
// answers 0.
int MulDiv(int a, int b, int c);

// Equal but for the case of ASCII letters (names in layouts and components).
bool SameText(std::string_view a, std::string_view b);

// 0x00BBGGRR; 0x80000000 + n names system colour n and is converted when used.
using TColor = std::int32_t;
// A colour after conversion: always 0x00BBGGRR.
using TColorRef = std::uint32_t;

constexpr TColor SystemColor(int index) {
    return static_cast<TColor>(0x80000000u | unsigned(index));
}
constexpr bool IsSystemColor(TColor c) {
    return (static_cast<std::uint32_t>(c) & 0xFF000000u) == 0x80000000u;
}
constexpr TColorRef RGB(int r, int g, int b) {
    return TColorRef(unsigned(r & 0xFF) | (unsigned(g & 0xFF) << 8) | (unsigned(b & 0xFF) << 16));
}
constexpr int GetRValue(TColorRef c) {
    return int(c & 0xFF);
}
constexpr int GetGValue(TColorRef c) {
    return int((c >> 8) & 0xFF);
}
constexpr int GetBValue(TColorRef c) {
    return int((c >> 16) & 0xFF);
}

// System colour indexes, as the platform numbers them.
namespace SysColor {
constexpr int ScrollBar = 0, Background = 1, ActiveCaption = 2, InactiveCaption = 3, Menu = 4,
              Window = 5, WindowFrame = 6, MenuText = 7, WindowText = 8, CaptionText = 9,
              ActiveBorder = 10, InactiveBorder = 11, AppWorkSpace = 12, Highlight = 13,
              HighlightText = 14, BtnFace = 15, BtnShadow = 16, GrayText = 17, BtnText = 18,
              InactiveCaptionText = 19, BtnHighlight = 20, DkShadow3D = 21, Light3D = 22,
              InfoText = 23, InfoBk = 24;
constexpr int Count = 25;
} // namespace SysColor

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
constexpr TColor clScrollBar = SystemColor(SysColor::ScrollBar);
constexpr TColor clWindow = SystemColor(SysColor::Window);
constexpr TColor clWindowFrame = SystemColor(SysColor::WindowFrame);
constexpr TColor clWindowText = SystemColor(SysColor::WindowText);
constexpr TColor clHighlight = SystemColor(SysColor::Highlight);
constexpr TColor clHighlightText = SystemColor(SysColor::HighlightText);
constexpr TColor clBtnFace = SystemColor(SysColor::BtnFace);
constexpr TColor clBtnShadow = SystemColor(SysColor::BtnShadow);
constexpr TColor clGrayText = SystemColor(SysColor::GrayText);
constexpr TColor clBtnText = SystemColor(SysColor::BtnText);
constexpr TColor clBtnHighlight = SystemColor(SysColor::BtnHighlight);
constexpr TColor cl3DDkShadow = SystemColor(SysColor::DkShadow3D);
constexpr TColor cl3DLight = SystemColor(SysColor::Light3D);
constexpr TColor clInfoText = SystemColor(SysColor::InfoText);
constexpr TColor clInfoBk = SystemColor(SysColor::InfoBk);

// A platform window handle; 32 bits on the shipped platform.
using TWindowHandle = std::uint32_t;
// A platform icon handle; 0 means none.
using TIconHandle = std::uint32_t;

// Framework errors. Message texts are UTF-8.
class Exception : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class EListError : public Exception {
public:
    using Exception::Exception;
};

// "List index out of bounds (%d)" with the index filled in.
[[noreturn]] void RaiseListIndexError(int index);

} // namespace fw
