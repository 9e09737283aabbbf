#include "framework/ImageList.h"

#include <algorithm>

namespace fw {

namespace {
TPixelImage ScaledTo(const TPixelImage& image, int width, int height) {
    if (image.Width == width && image.Height == height)
        return image;
    TPixelImage out = TPixelImage::Blank(width, height);
    if (image.Width <= 0 || image.Height <= 0)
        return out;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.Set(x, y, image.At(x * image.Width / width, y * image.Height / height));
    return out;
}
} // namespace

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

TImageList::~TImageList() = default;

void TImageList::SetSize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width == FWidth && height == FHeight)
        return;
    FWidth = width;
    FHeight = height;
    Clear();
}

IImageList& TImageList::Native() {
    if (!FNative) {
        FNative = Platform().CreateImageList(FWidth, FHeight);
        for (const TPixelImage& image : FImages)
            FNative->Add(image);
    }
    return *FNative;
}

int TImageList::Count() const {
    return static_cast<int>(FImages.size());
}

int TImageList::Add(const TPixelImage& image) {
    FImages.push_back(ScaledTo(image, FWidth, FHeight));
    if (FNative)
        FNative->Add(FImages.back());
    return Count() - 1;
}

void TImageList::Clear() {
    FImages.clear();
    if (FNative)
        FNative->Clear();
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) {
    if (index < 0 || index >= Count())
        return;
    Native().Draw(canvas.RequireDevice(), index, x, y, enabled);
}

TIcon TImageList::GetIcon(int index) {
    if (index < 0 || index >= Count())
        return {};
    return TIcon(Platform(), Native().GetIcon(index));
}

} // namespace fw
