// The headless image list: pictures of one fixed size drawn onto PixelCanvas devices.
//
// - Add splits a picture wider than the image width into width / image-width images, side by
//   side from the left, as the platform's lists take strips; a narrower picture gives one
//   image. Each image is cropped to, or padded with transparent pixels to, the image size
//   (top-left aligned). Add returns the index of the first image added.
// - Draw: alpha 0 is transparent, other alphas as PixelCanvas::DrawImage. Disabled (enabled
//   false) draws the classic embossed look: every visible pixel that is not white is drawn
//   in BtnHighlight one pixel right and down, then every such pixel in BtnShadow at its own
//   place. An index out of range, or a device of another platform, draws nothing.
// - GetIcon of an index out of range is 0.
#pragma once

#include "platform/headless/PixelCanvas.h"

#include <vector>

namespace fw::headless {

class HeadlessImageList : public IImageList {
public:
    // The icon store must outlive the list.
    HeadlessImageList(int width, int height, HeadlessIconStore& icons);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Null when out of range.
    const TPixelImage* Image(int index) const;

    int Count() const override;
    int Add(const TPixelImage& image) override;
    void Clear() override;
    void Draw(ICanvasDevice& device, int index, int x, int y, bool enabled) override;
    TIconHandle GetIcon(int index) override;

private:
    int width_;
    int height_;
    HeadlessIconStore& icons_;
    std::vector<TPixelImage> images_;
};

} // namespace fw::headless
