// The header panel's painting (dxTLHeaderPaint.h).
//
// Sections:
//   1. buttons  - DrawHeaderButton (background by look and position, sort mark, glyph,
//                 caption, pressed look) composed in the paint bitmap; DrawSortMark
//   2. panels   - corner buttons, band captions with OnCustomDrawBand, fixed band lines,
//                 headers with OnCustomDrawColumnHeader, gaps, bands without columns
//
// Every button is drawn whole in the paint bitmap and its visible part (cut by a fixed band or
// the control's edge) copied to the canvas in one transfer, so that it never flickers.
#include "treelist/header/dxTLHeaderPaint.h"

#include <algorithm>
#include <optional>

namespace dxtl {

using namespace fw;

namespace {

// Caption formats: single line (end ellipsis, no prefix, tabs, one vertically centred line)
// and several lines (no prefix, tabs, word breaks); plus the alignment, and no clipping for a
// single line that fits.
constexpr unsigned kSingleLineCaption =
    DT::EndEllipsis | DT::NoPrefix | DT::ExpandTabs | DT::SingleLine | DT::VCenter;   // 0x8864
constexpr unsigned kMultiLineCaption = DT::NoPrefix | DT::ExpandTabs | DT::WordBreak; // 0x850
// The sort mark's area at the right of the caption, and the narrowest caption room it needs.
constexpr int kSortMarkWidth = 16;
constexpr int kSortMarkMinRoom = 15;
// In the standard look a pressed caption moves this far right and down from the edge.
constexpr int kPressedCaptionInset = 3;

void HorizontalLine(TCanvas& canvas, const TRect& r, int y, unsigned edge, unsigned flags) {
    TRect line{r.Left, y, r.Right, y + 1};
    canvas.DrawEdge(line, edge, flags);
}

// One-pixel column at `x` from `top` to `bottom`: the right or left side of an edge.
void VerticalLine(TCanvas& canvas, int x, int top, int bottom, unsigned edge, unsigned side) {
    if (top >= bottom)
        return;
    TRect line{x, top, x + 1, bottom};
    canvas.DrawEdge(line, edge, side);
}

// The button's background and edges in `r`; answers the part left for its content.
TRect DrawButtonBackground(TCanvas& canvas, TRect r, const TdxHeaderButton& b) {
    if (b.Look == lfStandard) {
        canvas.DrawEdge(r, BDR::RaisedOuter, BF::Bottom | BF::Right | BF::Adjust);
        if (!b.Pressed) {
            canvas.DrawEdge(r, BDR::RaisedInner, BF::Bottom | BF::Right | BF::Adjust);
            canvas.DrawEdge(r, BDR::RaisedInner, BF::Left | BF::Top);
        } else {
            canvas.DrawEdge(r, BDR::SunkenOuter, BF::Left | BF::Top);
        }
        // Past the top and left edge just drawn.
        ++r.Left;
        ++r.Top;
        FillSolid(canvas, r, b.Brush);
        return r;
    }
    if (b.Position == hpSingle) {
        if (b.Look == lfUltraFlat) {
            canvas.Brush().SetColor(clBtnShadow);
            canvas.FrameRect(r);
            r = r.Inflate(-1, -1);
        } else {
            canvas.DrawEdge(r, BDR::RaisedInner, BF::Rect | BF::Adjust);
        }
        FillSolid(canvas, r, b.Brush);
        return r.Inflate(-1, 0);
    }
    FillSolid(canvas, r, b.Brush);
    if (b.Look == lfUltraFlat) {
        HorizontalLine(canvas, r, r.Top, BDR::SunkenOuter, BF::Top | BF::Flat);
        HorizontalLine(canvas, r, r.Bottom - 1, BDR::SunkenOuter, BF::Bottom | BF::Flat);
    } else {
        HorizontalLine(canvas, r, r.Top, BDR::RaisedInner, BF::Top);
        HorizontalLine(canvas, r, r.Bottom - 1, BDR::RaisedInner, BF::Bottom);
        const int inset = b.Position == hpFirst ? 1 : 2;
        VerticalLine(canvas, r.Left, r.Top + inset, r.Bottom - inset, BDR::RaisedInner, BF::Left);
    }
    if (b.Position == hpLast)
        VerticalLine(canvas, r.Right - 1, r.Top, r.Bottom - 1, BDR::RaisedInner, BF::Right);
    else
        VerticalLine(canvas, r.Right - 1, r.Top + 2, r.Bottom - 2, BDR::RaisedInner, BF::Right);
    return r.Inflate(-2, -1);
}

// The glyph at the content's left edge, its bottom-left pixel's colour left transparent.
void DrawGlyph(TCanvas& canvas, TBitmap& glyph, TRect& content, const TdxHeaderButton& b) {
    const int x = content.Left - 1 - (b.Look == lfStandard ? 0 : 1);
    const int y = content.Top - 1;
    const TColorRef transparent = glyph.Canvas().Pixel(0, glyph.Height() - 1);
    canvas.Brush().SetColor(b.Brush);
    canvas.BrushCopy({x, y, x + glyph.Width(), y + glyph.Height()}, glyph,
                     {0, 0, glyph.Width(), glyph.Height()}, static_cast<TColor>(transparent));
    content.Left = x + glyph.Width();
}

} // namespace

// =============================================================================================
// 1. buttons

void DrawSortMark(TCanvas& canvas, const TRect& area, bool up) {
    const int l = (area.Left + area.Right) / 2 - 4;
    const int top = (area.Top + area.Bottom) / 2 - 3;
    const int bottom = top + 4 + 3;
    // Each polyline leaves out its end point, as the platform's does.
    const auto polyline = [&](TColor color, std::vector<TPoint> points) {
        canvas.Pen().SetColor(color);
        canvas.Pen().SetWidth(1);
        canvas.Pen().SetStyle(TPenStyle::Solid);
        canvas.PolyPolyline(points, {static_cast<int>(points.size())});
    };
    if (up) {
        polyline(clBtnShadow, {{l + 3, top}, {l, bottom}});
        polyline(clBtnShadow, {{l + 2, top + 1}, {l, bottom - 1}});
        polyline(clBtnHighlight, {{l + 1, bottom - 1}, {l + 7, bottom - 1}, {l + 4, top - 1}});
        polyline(clBtnHighlight, {{l + 4, top + 1}, {l + 7, bottom - 1}});
    } else {
        polyline(clBtnShadow, {{l + 7, top}, {l, top}, {l + 3, bottom}});
        polyline(clBtnShadow, {{l + 1, top + 1}, {l + 3, bottom - 1}});
        polyline(clBtnHighlight, {{l + 7, top + 1}, {l + 4, bottom}});
        polyline(clBtnHighlight, {{l + 6, top + 1}, {l + 4, bottom - 1}});
    }
}

void DrawHeaderButton(TCanvas& canvas, TBitmap& bitmap, const TdxHeaderButton& b) {
    const int width = b.Rect.Width();
    const int height = b.Rect.Height();
    if (width <= 0 || height <= 0 || b.Visible.IsEmpty())
        return;
    if (bitmap.Width() < width || bitmap.Height() < height)
        bitmap.SetSize(std::max(bitmap.Width(), width), std::max(bitmap.Height(), height));
    TCanvas& out = bitmap.Canvas();
    out.Font().Assign(canvas.Font());
    const TRect whole{0, 0, width, height};
    const TRect r = DrawButtonBackground(out, whole, b);

    TRect content = r.Inflate(-1, -1);
    if (b.Pressed && b.Look == lfStandard) {
        content.Left = r.Left + kPressedCaptionInset;
        content.Top = r.Top + kPressedCaptionInset;
    }
    --content.Bottom;
    if (b.Sorted != csNone && content.Width() > kSortMarkMinRoom) {
        const TRect mark{content.Right - kSortMarkWidth, content.Top, content.Right,
                         content.Bottom};
        content.Right = mark.Left;
        DrawSortMark(out, mark, b.Sorted == csUp);
    }
    if (b.Glyph && !b.Glyph->Empty() && !content.IsEmpty())
        DrawGlyph(out, *b.Glyph, content, b);

    out.Brush().SetStyle(bsClear);
    out.SetTextColor(canvas.Font().Color());
    unsigned format =
        (b.MultiLine ? kMultiLineCaption : kSingleLineCaption) | AlignmentFormat(b.Alignment);
    if (!b.MultiLine && out.TextWidth(b.Caption) <= content.Width())
        format |= DT::NoClip;
    if (!b.Caption.empty() && !content.IsEmpty())
        out.DrawText(b.Caption, content, format);
    out.Brush().SetStyle(bsSolid);

    if (b.Pressed && b.Look != lfStandard)
        out.InvertRect(whole);
    canvas.BitBlt(b.Visible, out, {b.Visible.Left - b.Rect.Left, b.Visible.Top - b.Rect.Top},
                  Rop::SrcCopy);
}

// =============================================================================================
// 2. panels

void TdxTreeListHeaderPanel::Paint(TCustomdxTreeListControl::TPaintPass& pass) const {
    TdxHeaderPanelPainter(pass, *this).Paint();
}

TdxHeaderPanelPainter::TdxHeaderPanelPainter(TCustomdxTreeListControl::TPaintPass& pass,
                                             const TdxTreeListHeaderPanel& panel)
    : FPass(pass), FPanel(panel), FList(pass.List), FCanvas(pass.Canvas), FGeometry(pass.Geometry),
      FAreas(pass.Areas) {}

void TdxHeaderPanelPainter::Paint() {
    PaintBandPanel();
    PaintHeaderPanel();
}

// A corner cell over the indicator: the ultra-flat look has a flat sunken edge on three
// sides; the others are a single header's background.
void TdxHeaderPanelPainter::PaintCornerButton(const TRect& r, TColor brush, bool pressed) {
    if (r.IsEmpty() || !FCanvas.RectVisible(r))
        return;
    const TdxLookAndFeel look = FList.LookAndFeel();
    if (look == lfUltraFlat) {
        TRect inner = r;
        FCanvas.DrawEdge(inner, BDR::SunkenOuter,
                         BF::Top | BF::Right | BF::Bottom | BF::Flat | BF::Adjust);
        FillSolid(FCanvas, inner, brush);
    } else {
        TdxHeaderButton button;
        button.Look = look;
        button.Brush = brush;
        button.Pressed = pressed && look == lfStandard;
        TRect whole = r;
        DrawButtonBackground(FCanvas, whole, button);
    }
    if (pressed && look != lfStandard)
        FCanvas.InvertRect(r);
}

void TdxHeaderPanelPainter::PaintBandPanel() {
    const TRect& panel = FAreas.BandPanel;
    if (panel.IsEmpty())
        return;
    if (!FAreas.Indicator.IsEmpty())
        PaintCornerButton(FGeometry.BandButtonRect(), FPass.Brushes.Band,
                          FPanel.BandButtonPushed());
    const auto& bands = FGeometry.Layout().Bands;
    if (!bands.empty() && FCanvas.RectVisible(panel)) {
        FCanvas.Font().Assign(FList.FBandFont);
        FCanvas.SetTextColor(FList.FBandFont.Color());
        for (std::size_t p = 0; p < bands.size(); ++p)
            PaintBand(static_cast<int>(p));
    }
    // The lines setting the fixed bands off run down through the header panel.
    for (bool right : {false, true}) {
        const TRect line = FGeometry.FixedBandLine(right, panel.Top, FAreas.HeaderPanel.Bottom);
        if (!line.IsEmpty() && FCanvas.RectVisible(line))
            FillSolid(FCanvas, line, FPass.Brushes.FixedBandLine);
    }
}

void TdxHeaderPanelPainter::PaintBand(int position) {
    TdxHeaderButton button;
    button.Rect = FGeometry.BandRect(position);
    button.Visible = FGeometry.BandVisibleRect(position);
    if (button.Visible.IsEmpty() || !FCanvas.RectVisible(button.Visible))
        return;
    const int bandIndex = FGeometry.Layout().Bands[std::size_t(position)].Band;
    TdxTreeListBand* band = FList.FBands->Items(bandIndex);
    button.Caption = band->Caption();
    button.Alignment = band->Alignment();
    button.Brush = FPass.Brushes.Band;
    button.Look = FList.LookAndFeel();
    button.MultiLine = FList.FBandRowCount > 1;
    button.Pressed = FPanel.PushedBand() == bandIndex;
    bool done = false;
    std::optional<TFontScope> savedFont;
    if (FList.OnCustomDrawBand) {
        savedFont.emplace(FCanvas);
        TColor color = FPass.Brushes.Band;
        {
            TClipScope handlerClip(FCanvas);
            if (button.Visible != button.Rect)
                FCanvas.IntersectClipRect(button.Visible);
            FList.OnCustomDrawBand(&FList, band, FCanvas, button.Rect, button.Caption, color,
                                   FCanvas.Font(), button.Alignment, done);
        }
        if (!done && FCanvas.ToRGB(color) != FCanvas.ToRGB(FPass.Brushes.Band)) {
            FCanvas.Brush().SetColor(color);
            button.Brush = color;
        }
    }
    if (!done)
        DrawHeaderButton(FCanvas, FPass.PaintBitmap(), button);
}

void TdxHeaderPanelPainter::PaintHeaderPanel() {
    const TRect& panel = FAreas.HeaderPanel;
    if (panel.IsEmpty())
        return;
    if (!FAreas.Indicator.IsEmpty())
        PaintCornerButton(FGeometry.HeaderButtonRect(), FPass.Brushes.Header,
                          FPanel.HeaderButtonPushed());
    if (!FCanvas.RectVisible(panel))
        return;
    if (!FPass.Items().empty()) {
        FCanvas.Font().Assign(FList.FHeaderFont);
        FCanvas.SetTextColor(FList.FHeaderFont.Color());
        for (const TdxHeaderItem& item : FPass.Items())
            PaintHeader(item);
    }
    const auto& bands = FGeometry.Layout().Bands;
    for (std::size_t p = 0; p < bands.size(); ++p)
        if (bands[p].Rows.empty()) {
            const TRect r = FGeometry.VisiblePart(FGeometry.BandHeaderRect(static_cast<int>(p)),
                                                  bands[p].Scrolls);
            if (!r.IsEmpty() && FCanvas.RectVisible(r))
                FillSolid(FCanvas, r, FPass.Brushes.Panel);
        }
}

void TdxHeaderPanelPainter::PaintHeader(const TdxHeaderItem& item) {
    TdxHeaderButton button;
    button.Rect = FGeometry.HeaderRect(item);
    button.Visible = FGeometry.HeaderVisibleRect(item);
    if (button.Visible.IsEmpty())
        return;
    const TRect gap = FGeometry.HeaderGapRect(item);
    const bool buttonShown = FCanvas.RectVisible(button.Visible);
    if (buttonShown) {
        TdxTreeListColumn* column = FList.FColumns[std::size_t(item.Column)];
        button.Look = FList.LookAndFeel();
        button.Position = item.FirstInLine ? (item.LastInLine ? hpSingle : hpFirst)
                                           : (item.LastInLine ? hpLast : hpMiddle);
        button.Alignment = column->HeaderAlignment();
        if (column->HasHeaderGlyph() && !column->HeaderGlyph().Empty())
            button.Glyph = &column->HeaderGlyph();
        button.Caption = column->DisableCaption() ? std::string() : column->Caption();
        button.Sorted = FList.DisplayedSortState(item.Column);
        button.Brush = FPass.Brushes.Header;
        button.MultiLine = item.RowSpan > 1 || FList.FHeaderMinRowCount > 1;
        button.Pressed = FPanel.PushedColumn() == item.Column;
        bool done = false;
        std::optional<TFontScope> savedFont;
        if (FList.OnCustomDrawColumnHeader || column->OnCustomDrawColumnHeader) {
            savedFont.emplace(FCanvas);
            TColor color = FPass.Brushes.Header;
            {
                TClipScope handlerClip(FCanvas);
                if (button.Visible != button.Rect)
                    FCanvas.IntersectClipRect(button.Visible);
                if (FList.OnCustomDrawColumnHeader)
                    FList.OnCustomDrawColumnHeader(&FList, column, FCanvas, button.Rect,
                                                   button.Caption, color, FCanvas.Font(),
                                                   button.Alignment, button.Sorted, done);
                if (!done && column->OnCustomDrawColumnHeader)
                    column->OnCustomDrawColumnHeader(&FList, column, FCanvas, button.Rect,
                                                     button.Caption, color, FCanvas.Font(),
                                                     button.Alignment, button.Sorted, done);
            }
            if (!done && FCanvas.ToRGB(color) != FCanvas.ToRGB(FPass.Brushes.Header)) {
                FCanvas.Brush().SetColor(color);
                button.Brush = color;
            }
        }
        if (!done)
            DrawHeaderButton(FCanvas, FPass.PaintBitmap(), button);
    }
    if (!gap.IsEmpty()) {
        const TRect visibleGap =
            IntersectRect(gap, {button.Visible.Left, gap.Top, button.Visible.Right, gap.Bottom});
        if (!visibleGap.IsEmpty() && FCanvas.RectVisible(visibleGap))
            FillSolid(FCanvas, visibleGap, FPass.Brushes.Panel);
    }
}

} // namespace dxtl
