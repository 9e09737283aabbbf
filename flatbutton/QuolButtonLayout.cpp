#include "flatbutton/QuolButtonLayout.h"

namespace quol {

using fw::TRect;

TPlacement PlaceGlyphAndCaption(const TPlacementInput& in) {
    const TRect& r = in.Area;
    const int rw = r.Width();
    const int rh = r.Height();
    const int cw = in.Cell.cx;
    const int ch = in.Cell.cy;
    const int tw = in.Text.cx;
    const int th = in.Text.cy;
    const int p = in.PressOffset;
    TPlacement out;

    if (!in.HasGlyph) {
        const int tx = r.Left + (rw - tw) / 2;
        const int ty = r.Top + (rh - th) / 2;
        out.Caption = fw::Bounds(tx + p, ty + p, tw, th);
        return out;
    }

    int gx = r.Left + (rw - cw) / 2;
    int gy = r.Top + (rh - ch) / 2;
    if (in.CaptionEmpty) {
        if (in.PopupMenuMark)
            gx -= 5; // room for the mark beside the glyph
    } else {
        switch (in.Layout) {
        case blGlyphLeft:
            gx = r.Left + (rw - (tw + cw)) / 2 - in.SpacingLayout;
            break;
        case blGlyphBottom:
            gy += th / 2 + in.SpacingLayout;
            break;
        case blGlyphRight:
            gx = r.Left + (rw - cw + tw) / 2 + in.SpacingLayout;
            break;
        case blGlyphTop:
            gy -= th / 2 + in.SpacingLayout;
            break;
        }
    }
    const TRect g = fw::Bounds(gx + p, gy + p, cw, ch);
    out.Glyph = g;

    int tx = 0;
    int ty = 0;
    switch (in.Layout) {
    case blGlyphLeft:
        tx = g.Right + in.Spacing;
        ty = g.Top + (g.Height() - th) / 2;
        break;
    case blGlyphBottom:
        tx = g.Left - tw / 2 + g.Width() / 2;
        ty = g.Top - 8 - in.Spacing - th / 2;
        break;
    case blGlyphRight:
        tx = g.Left - tw - in.Spacing;
        ty = g.Top + (g.Height() - th) / 2;
        break;
    case blGlyphTop:
        tx = g.Left - tw / 2 + g.Width() / 2;
        ty = g.Bottom + in.Spacing;
        break;
    }
    out.Caption = fw::Bounds(tx, ty, tw, th);
    return out;
}

} // namespace quol
