#include "platform/headless/HeadlessImageList.h"

#include <algorithm>

namespace fw::headless {

namespace {

bool IsInk(std::uint32_t argb) {
    return (argb >> 24) != 0 && (argb & 0xFFFFFFu) != 0xFFFFFFu;
}

// The ink pixels of `image` in one opaque colour, the rest transparent.
TPixelImage Silhouette(const TPixelImage& image, TColorRef color) {
    TPixelImage result = TPixelImage::Blank(image.Width, image.Height);
    for (std::size_t i = 0; i < image.Pixels.size(); ++i)
        if (IsInk(image.Pixels[i]))
            result.Pixels[i] = Opaque(color);
    return result;
}

} // namespace

HeadlessImageList::HeadlessImageList(int width, int height, HeadlessIconStore& icons)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), icons_(icons) {}

const TPixelImage* HeadlessImageList::Image(int index) const {
    if (index < 0 || index >= Count())
        return nullptr;
    return &images_[std::size_t(index)];
}

int HeadlessImageList::Count() const {
    return int(images_.size());
}

int HeadlessImageList::Add(const TPixelImage& picture) {
    const TPixelImage source = NormalizedImage(picture);
    const int parts = width_ > 0 ? std::max(source.Width / width_, 1) : 1;
    const int first = Count();
    for (int part = 0; part < parts; ++part) {
        TPixelImage image = TPixelImage::Blank(width_, height_);
        const int left = part * width_;
        const int copyWidth = std::min(width_, source.Width - left);
        const int copyHeight = std::min(height_, source.Height);
        for (int y = 0; y < copyHeight; ++y)
            for (int x = 0; x < copyWidth; ++x)
                image.Set(x, y, source.At(left + x, y));
        images_.push_back(std::move(image));
    }
    return first;
}

void HeadlessImageList::Clear() {
    images_.clear();
}

void HeadlessImageList::Draw(ICanvasDevice& device, int index, int x, int y, bool enabled) {
    const TPixelImage* image = Image(index);
    auto* canvas = dynamic_cast<PixelCanvas*>(&device);
    if (image == nullptr || canvas == nullptr)
        return;
    if (enabled) {
        canvas->DrawImage(x, y, *image, width_, height_);
        return;
    }
    const SysColorTable& colors = canvas->SysColors();
    canvas->DrawImage(x + 1, y + 1, Silhouette(*image, colors[SysColor::BtnHighlight]), width_,
                      height_);
    canvas->DrawImage(x, y, Silhouette(*image, colors[SysColor::BtnShadow]), width_, height_);
}

TIconHandle HeadlessImageList::GetIcon(int index) {
    const TPixelImage* image = Image(index);
    return image == nullptr ? 0 : icons_.Create(*image);
}

} // namespace fw::headless
