// Masked images of one fixed size, kept by the platform.
#pragma once

#include "framework/Component.h"
#include "framework/Graphics.h"

namespace fw {

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* owner);
    ~TImageList() override;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Changing the size drops every image.
    void SetSize(int width, int height);
    bool Masked() const { return FMasked; }
    void SetMasked(bool masked) { FMasked = masked; }
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor color) { FBkColor = color; }

    int Count() const;
    // Alpha 0 marks transparent pixels; a picture of another size is scaled to fit.
    int Add(const TPixelImage& image);
    void Clear();
    // An index outside 0 .. Count - 1 draws nothing.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true);
    // A new icon of the image (empty for a bad index).
    TIcon GetIcon(int index);

    // Kept so that a list can be re-created on a size change.
    const std::vector<TPixelImage>& Images() const { return FImages; }

private:
    IImageList& Native();

    int FWidth = 16;
    int FHeight = 16;
    bool FMasked = true;
    TColor FBkColor = clNone;
    std::vector<TPixelImage> FImages;
    std::unique_ptr<IImageList> FNative;
};

} // namespace fw
