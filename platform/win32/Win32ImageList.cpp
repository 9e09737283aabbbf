#include "platform/win32/Win32ImageList.h"

#include "platform/win32/Win32Canvas.h"
#include "platform/win32/Win32Pixels.h"

#include <algorithm>

namespace fw::win32 {

ImageList::ImageList(int width, int height)
    : width_(std::max(width, 1)), height_(std::max(height, 1)),
      list_(ImageList_Create(width_, height_, ILC_COLOR32 | ILC_MASK, 4, 4)) {
    if (!list_)
        throw Exception("Cannot create an image list of " + std::to_string(width) + "x" +
                        std::to_string(height));
}

int ImageList::Count() const {
    return ImageList_GetImageCount(list_.get());
}

int ImageList::Add(const TPixelImage& image) {
    // Exactly one image of the list's size; a larger picture would otherwise be split into
    // several images.
    const MaskedBitmaps bitmaps = CreateMaskedBitmaps(image, width_, height_);
    return ImageList_Add(list_.get(), bitmaps.Color.get(), bitmaps.Mask.get());
}

void ImageList::Clear() {
    ImageList_RemoveAll(list_.get());
}

void ImageList::Draw(ICanvasDevice& device, int index, int x, int y, bool enabled) {
    auto* gdi = dynamic_cast<GdiDevice*>(&device);
    if (gdi == nullptr || gdi->Dc() == nullptr || index < 0 || index >= Count())
        return;
    if (enabled) {
        ImageList_Draw(list_.get(), index, gdi->Dc(), x, y, ILD_NORMAL);
        return;
    }
    // Disabled: half the pixels blended with the face colour, the usual washed-out look.
    ImageList_DrawEx(list_.get(), index, gdi->Dc(), x, y, 0, 0, CLR_NONE,
                     GetSysColor(COLOR_BTNFACE), ILD_NORMAL | ILD_BLEND50);
}

TIconHandle ImageList::GetIcon(int index) {
    if (index < 0 || index >= Count())
        return 0;
    return FromHicon(ImageList_GetIcon(list_.get(), index, ILD_NORMAL));
}

} // namespace fw::win32
