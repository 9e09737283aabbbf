// Where a flat button puts its glyph and its caption.
#pragma once

#include "flatbutton/QuolButtonStyles.h"
#include "framework/Types.h"

namespace quol {

struct TPlacementInput {
    fw::TRect Area; // inside the border
    fw::TSize Cell; // the glyph cell drawn
    fw::TSize Text; // the caption's extent in the button's font
    bool HasGlyph = false;
    bool CaptionEmpty = true;
    bool PopupMenuMark = false;
    TLayout Layout = blGlyphLeft;
    int Spacing = 4;       // between glyph and caption
    int SpacingLayout = 3; // moves the glyph (and the caption with it) toward the left or top
    int PressOffset = 0;   // moves both down and right while pressed
};

struct TPlacement {
    fw::TRect Glyph;
    fw::TRect Caption;
};

// Without a glyph the caption is centred; with one, the glyph is placed by the layout around
// the centre and the caption keeps `Spacing` pixels from it.
TPlacement PlaceGlyphAndCaption(const TPlacementInput& in);

} // namespace quol
