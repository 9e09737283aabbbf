// Everything a flat button draws: its looks, each a face, a 3-D frame, an edge, the glyph
// with the popup-menu mark, the focus rectangle and the caption. The looks are drawn on the
// button's canvas at once, whether or not a paint request is pending.
#pragma once

#include "flatbutton/QuolButtonLayout.h"
#include "framework/Graphics.h"

#include <memory>

namespace quol {

class TQuolButton;

enum class TQuolLook {
    Resting,   // the paint operation
    Hover,     // the mouse entered
    Left,      // the mouse left
    Pressed,   // left button down
    Released,  // left button up over the button
    AfterPopup // a popup menu opened by the press has closed
};

class TQuolButtonPainter {
public:
    explicit TQuolButtonPainter(TQuolButton& button);
    ~TQuolButtonPainter();
    TQuolButtonPainter(const TQuolButtonPainter&) = delete;
    TQuolButtonPainter& operator=(const TQuolButtonPainter&) = delete;

    void Draw(TQuolLook look);
    // Empties the work bitmaps: the glyph cell and the emboss mask.
    void ResetWorkBitmaps();
    const fw::TBitmap* CellBitmap() const { return FCellBitmap.get(); }

private:
    enum class TGlyphChoice { None, Resting, Hot };
    struct TLookParams {
        fw::TColor Face;
        int FrameWidth;
        fw::TColor TopColor;
        fw::TColor BottomColor;
        unsigned Edge; // BDR flags; 0 for none
        bool HotGlyphRule;
    };

    TLookParams ParamsFor(TQuolLook look) const;
    // The shared sequence of every look.
    void PaintState(const TLookParams& look);
    // `width` nested one-pixel outlines, top/left in `top`, bottom/right in `bottom`, with the
    // canvas pen; r shrinks past them.
    void DrawFrame(fw::TRect& r, int width, fw::TColor top, fw::TColor bottom);
    TGlyphChoice ChooseGlyph(bool hotRule) const;
    // Copies the glyph cell to draw into the cell bitmap; false when there is nothing to draw.
    bool PrepareCell(TGlyphChoice choice);
    void DrawGlyph(const fw::TRect& g, bool hot);
    void DrawPopupMark(const fw::TRect& g);
    void DrawFocus(fw::TRect r);
    void DrawCaption(const fw::TRect& r);
    // Draws a picture with the colour of its bottom-left pixel replaced by the brush.
    void DrawTransparent(fw::TBitmap& picture, const fw::TRect& at);
    // Draws a picture's black pixels as an engraved shape: highlight below right, shadow on top.
    void DrawEmbossed(fw::TBitmap& picture, const fw::TRect& at);
    fw::TBitmap& Work(std::unique_ptr<fw::TBitmap>& bitmap);

    TQuolButton& FButton;
    std::unique_ptr<fw::TBitmap> FCellBitmap;
    std::unique_ptr<fw::TBitmap> FMaskBitmap;
};

} // namespace quol
