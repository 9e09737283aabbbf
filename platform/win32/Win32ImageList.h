// Masked image lists over the common controls' image lists.
#pragma once

#include "platform/win32/Win32Handles.h"

namespace fw::win32 {

class ImageList final : public IImageList {
public:
    ImageList(int width, int height);

    int Count() const override;
    int Add(const TPixelImage& image) override;
    void Clear() override;
    void Draw(ICanvasDevice& device, int index, int x, int y, bool enabled) override;
    TIconHandle GetIcon(int index) override;

private:
    int width_;
    int height_;
    UniqueImageList list_;
};

} // namespace fw::win32
