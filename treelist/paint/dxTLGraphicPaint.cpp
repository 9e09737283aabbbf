// The graphic column's cell painter (declared in dxTLClms.h, where its fitting, scaling and
// shading rules are stated).
#include "treelist/dxTLClms.h"
#include "treelist/paint/dxTLPaintPass.h"

#include <algorithm>
#include <cstdint>

namespace dxtl {

using namespace fw;

namespace {

// Where the picture lies, relative to the cell's top-left corner (it may reach past the cell).
TRect PictureRect(int cellWidth, int cellHeight, int width, int height, bool stretch, bool center) {
    if (stretch) {
        const std::int64_t w = width, h = height;
        int fitWidth = cellWidth, fitHeight = cellHeight;
        if (w * cellHeight <= h * cellWidth)
            fitWidth = static_cast<int>((w * cellHeight + h / 2) / h);
        else
            fitHeight = static_cast<int>((h * cellWidth + w / 2) / w);
        fitWidth = std::max(fitWidth, 1);
        fitHeight = std::max(fitHeight, 1);
        const int left = (cellWidth - fitWidth) / 2;
        const int top = (cellHeight - fitHeight) / 2;
        return {left, top, left + fitWidth, top + fitHeight};
    }
    const int left = center ? (cellWidth - width) / 2 : 0;
    const int top = center ? (cellHeight - height) / 2 : 0;
    return {left, top, left + width, top + height};
}

// The picture pixel nearest to the centre of target pixel (x, y).
std::uint32_t Nearest(const TPicture& picture, const TRect& target, int x, int y) {
    const std::int64_t sx =
        (2 * std::int64_t(x - target.Left) + 1) * picture.Width() / (2 * target.Width());
    const std::int64_t sy =
        (2 * std::int64_t(y - target.Top) + 1) * picture.Height() / (2 * target.Height());
    return picture.PixelAt(int(sx), int(sy));
}

// The picture pixels that target pixel (x, y) covers (at least one), averaged with their
// colours weighted by alpha so that transparent pixels lend no colour.
std::uint32_t Average(const TPicture& picture, const TRect& target, int x, int y) {
    const auto span = [](int offset, int targetSize, int size) {
        const int from = int(std::int64_t(offset) * size / targetSize);
        const int to = int(std::int64_t(offset + 1) * size / targetSize);
        return std::pair{from, std::max(to, from + 1)};
    };
    const auto [x0, x1] = span(x - target.Left, target.Width(), picture.Width());
    const auto [y0, y1] = span(y - target.Top, target.Height(), picture.Height());
    std::uint64_t alpha = 0, red = 0, green = 0, blue = 0;
    for (int sy = y0; sy < y1; ++sy)
        for (int sx = x0; sx < x1; ++sx) {
            const std::uint32_t p = picture.PixelAt(sx, sy);
            const std::uint32_t a = p >> 24;
            alpha += a;
            red += (p & 0xFFu) * a;
            green += ((p >> 8) & 0xFFu) * a;
            blue += ((p >> 16) & 0xFFu) * a;
        }
    if (alpha == 0)
        return 0;
    const std::uint64_t count = std::uint64_t(x1 - x0) * std::uint64_t(y1 - y0);
    return std::uint32_t(red / alpha) | std::uint32_t(green / alpha) << 8 |
           std::uint32_t(blue / alpha) << 16 | std::uint32_t(alpha / count) << 24;
}

TColorRef Blend(std::uint32_t pixel, TColorRef under) {
    const std::uint32_t a = pixel >> 24;
    const auto channel = [a](std::uint32_t top, std::uint32_t bottom) {
        return (top * a + bottom * (255 - a) + 127) / 255;
    };
    std::uint32_t result = 0;
    for (int shift : {0, 8, 16})
        result |= channel((pixel >> shift) & 0xFFu, (under >> shift) & 0xFFu) << shift;
    return result;
}

} // namespace

void TdxInplaceTreeListGraphicEdit::Paint(TCanvas& canvas, const TRect& cell) {
    const TdxTreeListGraphicViewData& data = ViewData;
    if (cell.IsEmpty())
        return;
    const TPicture* picture = data.Picture;
    if (!picture || picture->Empty()) {
        if (data.ValueText.empty()) {
            FillSolid(canvas, cell, data.BackgroundBrush);
            return;
        }
        TdxTreeListCellViewData text = data;
        text.Text = data.ValueText;
        text.TextLength = static_cast<int>(text.Text.size());
        text.Alignment = taCenter;
        text.Brush = data.BackgroundBrush;
        text.BkColor = data.BackgroundColor;
        TCustomdxTreeListControl::DrawEditText(canvas, cell, text);
        return;
    }

    const int width = cell.Width(), height = cell.Height();
    const TColorRef background = canvas.ToRGB(data.BackgroundBrush);
    const TColorRef shade = canvas.ToRGB(data.SelectionColor);
    TPixelImage composed{
        width, height,
        std::vector<std::uint32_t>(std::size_t(width) * std::size_t(height), Opaque(background))};
    const TRect target =
        PictureRect(width, height, picture->Width(), picture->Height(), data.Stretch, data.Center);
    const bool nearest = data.QuickDraw && picture->GraphicClass() == gcBitmap;
    for (int y = std::max(target.Top, 0); y < std::min(target.Bottom, height); ++y)
        for (int x = std::max(target.Left, 0); x < std::min(target.Right, width); ++x) {
            const std::uint32_t pixel =
                nearest ? Nearest(*picture, target, x, y) : Average(*picture, target, x, y);
            if ((pixel >> 24) == 0)
                continue;
            const bool shaded = data.ShadowSelection && ((cell.Left + x + cell.Top + y) & 1) == 0;
            composed.Set(x, y, Opaque(shaded ? shade : Blend(pixel, background)));
        }

    if (data.PaintBitmap) {
        data.PaintBitmap->LoadFromImage(composed);
        canvas.Draw(cell.Left, cell.Top, *data.PaintBitmap);
        return;
    }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            canvas.SetPixel(cell.Left + x, cell.Top + y,
                            static_cast<TColor>(composed.At(x, y) & 0x00FFFFFFu));
}

} // namespace dxtl
