#include "flatbutton/QuolButtonPainter.h"

#include "flatbutton/QuolButton.h"

namespace quol {

using namespace fw;

namespace {
// Flags of the edge each look may draw: all four sides and the middle.
constexpr unsigned kEdgeFlags = BF::Rect | BF::Middle;
// Centred, tabs expanded; '&' marks the accelerator.
constexpr unsigned kCaptionFormat = DT::Center | DT::ExpandTabs;
// The focus rectangle's distance from the face of most styles, and of stFrameLowered inside
// its extra frame.
constexpr int kFocusInset = 3;
constexpr int kLoweredFocusInset = 2;
} // namespace

TQuolButtonPainter::TQuolButtonPainter(TQuolButton& button) : FButton(button) {}

TQuolButtonPainter::~TQuolButtonPainter() = default;

TBitmap& TQuolButtonPainter::Work(std::unique_ptr<TBitmap>& bitmap) {
    if (!bitmap)
        bitmap = std::make_unique<TBitmap>(FButton.Platform());
    return *bitmap;
}

void TQuolButtonPainter::ResetWorkBitmaps() {
    FCellBitmap.reset();
    FMaskBitmap.reset();
}

void TQuolButtonPainter::Draw(TQuolLook look) {
    PaintState(ParamsFor(look));
}

TQuolButtonPainter::TLookParams TQuolButtonPainter::ParamsFor(TQuolLook look) const {
    const TStyleInfo& style = StyleInfo(FButton.ButtonStyle());
    const TColor restingFace = style.ButtonFace ? clBtnFace : FButton.Color();
    const TColor top = FButton.FrameTopColor();
    const TColor bottom = FButton.FrameBottomColor();
    const unsigned raised = style.RaisedEdge ? BDR::RaisedInner : 0u;
    const unsigned released = style.ReleasedEdge ? BDR::RaisedInner : 0u;
    switch (look) {
    case TQuolLook::Hover:
        return {style.HotBackground ? FButton.HotTrackBGColor() : restingFace,
                FButton.HotFrameWidth(),
                top,
                bottom,
                raised,
                true};
    case TQuolLook::Pressed:
        return {restingFace,
                FButton.HotFrameWidth(),
                bottom,
                top,
                style.RaisedEdge ? BDR::SunkenOuter : 0u,
                true};
    case TQuolLook::Released:
        return {restingFace, FButton.HotFrameWidth(), top, bottom, released, true};
    case TQuolLook::AfterPopup:
        return {restingFace, style.AfterPopupWidth, top, bottom, released, false};
    case TQuolLook::Resting:
    case TQuolLook::Left:
        break;
    }
    return {restingFace, FButton.FrameWidth(), top, bottom, raised, false};
}

void TQuolButtonPainter::DrawFrame(TRect& r, int width, TColor top, TColor bottom) {
    TCanvas& canvas = FButton.Canvas();
    for (int i = 0; i < width && !r.IsEmpty(); ++i) {
        // Top and left first; bottom and right own the corners they share with them.
        canvas.Pen().SetColor(top);
        canvas.PolyPolyline({{r.Left, r.Bottom - 1}, {r.Left, r.Top}, {r.Right - 1, r.Top}}, {3});
        canvas.Pen().SetColor(bottom);
        canvas.PolyPolyline(
            {{r.Right - 1, r.Top}, {r.Right - 1, r.Bottom - 1}, {r.Left - 1, r.Bottom - 1}}, {3});
        r = r.Inflate(-1, -1);
    }
}

void TQuolButtonPainter::PaintState(const TLookParams& look) {
    TCanvas& canvas = FButton.Canvas();
    const TStyleInfo& style = StyleInfo(FButton.ButtonStyle());
    const TQuolButtonState& state = FButton.State();

    TRect r = FButton.ClientRect();
    canvas.Font().Assign(FButton.Font());
    canvas.Brush().SetColor(look.Face);
    canvas.Pen().SetStyle(FButton.PenStyle());
    canvas.Pen().SetWidth(1);
    // The gaps of a dotted frame show the face.
    canvas.SetBkColor(look.Face);
    canvas.SetBkTransparent(false);
    DrawFrame(r, look.FrameWidth, look.TopColor, look.BottomColor);
    canvas.FillRect(r);
    if (style.InsetFace)
        r = r.Inflate(-1, -1);
    if (look.Edge != 0) {
        TRect edge = r;
        canvas.DrawEdge(edge, look.Edge, kEdgeFlags);
    }

    const TGlyphChoice choice = ChooseGlyph(look.HotGlyphRule);
    const bool hasCell = PrepareCell(choice);
    TPlacementInput in;
    in.Area = r;
    if (hasCell)
        in.Cell = {FCellBitmap->Width(), FCellBitmap->Height()};
    in.Text = canvas.TextExtent(FButton.Caption());
    in.HasGlyph = !FButton.GlyphEmpty();
    in.CaptionEmpty = FButton.Caption().empty();
    in.PopupMenuMark = FButton.PopupMenuMark();
    in.Layout = FButton.Layout();
    in.Spacing = FButton.Spacing();
    in.SpacingLayout = FButton.SpacingLayout();
    in.PressOffset = state.PressOffset();
    const TPlacement place = PlaceGlyphAndCaption(in);

    if (hasCell)
        DrawGlyph(place.Glyph, choice == TGlyphChoice::Hot);
    DrawPopupMark(place.Glyph);
    if (style.ShowsFocus)
        DrawFocus(r);
    DrawCaption(place.Caption);
}

TQuolButtonPainter::TGlyphChoice TQuolButtonPainter::ChooseGlyph(bool hotRule) const {
    if (!hotRule || FButton.GlyphHotEmpty())
        return FButton.GlyphEmpty() ? TGlyphChoice::None : TGlyphChoice::Resting;
    if (FButton.GlyphEmpty())
        return TGlyphChoice::None;
    return FButton.Enabled() ? TGlyphChoice::Hot : TGlyphChoice::Resting;
}

bool TQuolButtonPainter::PrepareCell(TGlyphChoice choice) {
    if (choice == TGlyphChoice::None)
        return false;
    const bool hot = choice == TGlyphChoice::Hot;
    TBitmap& strip = hot ? *FButton.FGlyphHot : *FButton.FGlyph;
    const int cells = hot ? FButton.NumGlyphsHot() : FButton.NumGlyphs();
    const int width = strip.Width() / cells;
    if (width <= 0)
        return false;
    // A second cell, when there are exactly two, is the disabled picture.
    const int index = !hot && cells == 2 && !FButton.Enabled() ? 1 : 0;
    TBitmap& cell = Work(FCellBitmap);
    cell.SetSize(width, strip.Height());
    cell.Canvas().BitBlt({0, 0, width, strip.Height()}, strip.Canvas(), {index * width, 0},
                         Rop::SrcCopy);
    return true;
}

void TQuolButtonPainter::DrawGlyph(const TRect& g, bool hot) {
    if (hot || FButton.Enabled() || FButton.NumGlyphs() == 2)
        DrawTransparent(*FCellBitmap, g);
    else
        DrawEmbossed(*FCellBitmap, g);
}

void TQuolButtonPainter::DrawTransparent(TBitmap& picture, const TRect& at) {
    const TColor key = static_cast<TColor>(picture.Canvas().Pixel(0, picture.Height() - 1));
    FButton.Canvas().BrushCopy(at, picture, {0, 0, picture.Width(), picture.Height()}, key);
}

void TQuolButtonPainter::DrawEmbossed(TBitmap& picture, const TRect& at) {
    TBitmap& mask = Work(FMaskBitmap);
    mask.AssignMonochrome(picture, clBlack);
    TCanvas& canvas = FButton.Canvas();
    const TColor face = canvas.Brush().Color();
    const TRect target = Bounds(at.Left, at.Top, picture.Width(), picture.Height());
    // Where the mask is white the brush is painted; elsewhere the face stays.
    canvas.Brush().SetColor(clBtnHighlight);
    canvas.BitBlt(target.Offset(1, 1), mask.Canvas(), {0, 0}, Rop::DSPDxax);
    canvas.Brush().SetColor(clBtnShadow);
    canvas.BitBlt(target, mask.Canvas(), {0, 0}, Rop::DSPDxax);
    canvas.Brush().SetColor(face);
}

void TQuolButtonPainter::DrawPopupMark(const TRect& g) {
    if (!FButton.PopupMenuMark() || FButton.GlyphEmpty())
        return;
    const TLayout layout = FButton.Layout();
    if (!FButton.Caption().empty() && layout != blGlyphBottom && layout != blGlyphTop)
        return;
    TBitmap mark(FButton.Platform());
    if (!mark.LoadFromResourceName(kPopupMarkResource))
        return;
    const int x = g.Left + g.Width() + FButton.PopupMenuMarkGap();
    const int y = g.Top + (g.Height() - mark.Height()) / 2;
    const TRect at = Bounds(x, y, mark.Width(), mark.Height());
    if (FButton.Enabled())
        DrawTransparent(mark, at);
    else
        DrawEmbossed(mark, at);
}

void TQuolButtonPainter::DrawFocus(TRect r) {
    if (!FButton.ShowFocused() || !FButton.State().HasFocus())
        return;
    TCanvas& canvas = FButton.Canvas();
    if (FButton.ButtonStyle() == stFrameLowered) {
        DrawFrame(r, 1, FButton.FrameTopColor(), FButton.FrameBottomColor());
        canvas.DrawFocusRect(r.Inflate(-kLoweredFocusInset, -kLoweredFocusInset));
        return;
    }
    canvas.DrawFocusRect(r.Inflate(-kFocusInset, -kFocusInset));
}

void TQuolButtonPainter::DrawCaption(const TRect& r) {
    TCanvas& canvas = FButton.Canvas();
    canvas.Font().Assign(FButton.Font());
    if (FButton.HotTrack() && FButton.State().HotText())
        canvas.Font().SetColor(FButton.HotTrackColor());
    canvas.Brush().SetStyle(bsClear);
    const std::string& caption = FButton.Caption();
    if (!FButton.Enabled()) {
        TRect first = r;
        canvas.DrawText(caption, first, kCaptionFormat);
        canvas.Font().SetColor(clBtnHighlight);
        TRect below = r.Offset(1, 1);
        canvas.DrawText(caption, below, kCaptionFormat);
        canvas.Font().SetColor(clBtnShadow);
    }
    TRect text = r;
    canvas.DrawText(caption, text, kCaptionFormat);
}

} // namespace quol
