#include "platform/headless/HeadlessGraphics.h"

#include <algorithm>
#include <fstream>

namespace fw::headless {

PixelSurface::PixelSurface(int width, int height, TColorRef fill)
    : Width(std::max(width, 0)), Height(std::max(height, 0)),
      Pixels(std::size_t(Width) * std::size_t(Height), fill & 0xFFFFFFu) {}

void PixelSurface::Resize(int width, int height, TColorRef fill) {
    PixelSurface resized(width, height, fill);
    const int keepWidth = std::min(Width, resized.Width);
    const int keepHeight = std::min(Height, resized.Height);
    for (int y = 0; y < keepHeight; ++y)
        std::copy_n(Pixels.begin() + std::ptrdiff_t(Index(0, y)), keepWidth,
                    resized.Pixels.begin() + std::ptrdiff_t(resized.Index(0, y)));
    *this = std::move(resized);
}

bool PixelSurface::SavePpm(const std::string& path) const {
    std::ofstream file(path, std::ios::binary);
    if (!file)
        return false;
    file << "P6\n" << Width << ' ' << Height << "\n255\n";
    std::vector<char> row(std::size_t(Width) * 3);
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            const TColorRef c = At(x, y);
            row[std::size_t(x) * 3 + 0] = char(GetRValue(c));
            row[std::size_t(x) * 3 + 1] = char(GetGValue(c));
            row[std::size_t(x) * 3 + 2] = char(GetBValue(c));
        }
        file.write(row.data(), std::streamsize(row.size()));
    }
    return bool(file);
}

SysColorTable DefaultHeadlessSysColors() {
    SysColorTable colors{};
    const TColorRef face = RGB(212, 208, 200);
    const TColorRef gray = RGB(128, 128, 128);
    const TColorRef navy = RGB(10, 36, 106);
    const TColorRef white = RGB(255, 255, 255);
    const TColorRef black = RGB(0, 0, 0);
    colors[SysColor::ScrollBar] = face;
    colors[SysColor::Background] = RGB(58, 110, 165);
    colors[SysColor::ActiveCaption] = navy;
    colors[SysColor::InactiveCaption] = gray;
    colors[SysColor::Menu] = face;
    colors[SysColor::Window] = white;
    colors[SysColor::WindowFrame] = black;
    colors[SysColor::MenuText] = black;
    colors[SysColor::WindowText] = black;
    colors[SysColor::CaptionText] = white;
    colors[SysColor::ActiveBorder] = face;
    colors[SysColor::InactiveBorder] = face;
    colors[SysColor::AppWorkSpace] = gray;
    colors[SysColor::Highlight] = navy;
    colors[SysColor::HighlightText] = white;
    colors[SysColor::BtnFace] = face;
    colors[SysColor::BtnShadow] = gray;
    colors[SysColor::GrayText] = gray;
    colors[SysColor::BtnText] = black;
    colors[SysColor::InactiveCaptionText] = face;
    colors[SysColor::BtnHighlight] = white;
    colors[SysColor::DkShadow3D] = RGB(64, 64, 64);
    colors[SysColor::Light3D] = face;
    colors[SysColor::InfoText] = black;
    colors[SysColor::InfoBk] = RGB(255, 255, 225);
    return colors;
}

TPixelImage NormalizedImage(const TPixelImage& image) {
    TPixelImage result = image;
    result.Width = std::max(result.Width, 0);
    result.Height = std::max(result.Height, 0);
    result.Pixels.resize(std::size_t(result.Width) * std::size_t(result.Height), 0);
    return result;
}

TIconHandle HeadlessIconStore::Create(const TPixelImage& image) {
    const TIconHandle handle = next_++;
    icons_.emplace(handle, NormalizedImage(image));
    return handle;
}

bool HeadlessIconStore::Destroy(TIconHandle icon) {
    return icons_.erase(icon) != 0;
}

const TPixelImage* HeadlessIconStore::Find(TIconHandle icon) const {
    const auto found = icons_.find(icon);
    return found == icons_.end() ? nullptr : &found->second;
}

} // namespace fw::headless
