// The band and header panels of a tree list's paint pass (the pass: dxTLPaintPass.h).
//
// Sections:
//   1. buttons  - DrawHeaderButton (background by look and position, sort mark, glyph,
//                 caption, pressed look) composed in the paint bitmap; DrawSortMark
//   2. panels   - corner buttons, band captions with OnCustomDrawBand, fixed band lines,
//                 headers with OnCustomDrawColumnHeader, gaps, bands without columns
//   3. border   - the window's frame by border style and look, the flat looks' own frame
//
// Every button is drawn whole in the paint bitmap and its visible part (cut by a fixed band or
// the control's edge) copied to the canvas in one transfer, so that it never flickers.
#include "treelist/dxTLPaintPass.h"

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

TBitmap& TCustomdxTreeListControl::TPaintPass::PaintBitmap() {
    if (!Bitmap)
        Bitmap = std::make_unique<TBitmap>(List.Platform());
    return *Bitmap;
}

void TCustomdxTreeListControl::TPaintPass::PaintPanels() {
    PaintBandPanel();
    PaintHeaderPanel();
}

// A corner cell over the indicator: the ultra-flat look has a flat sunken edge on three
// sides; the others are a single header's background.
void TCustomdxTreeListControl::TPaintPass::PaintCornerButton(const TRect& r, TColor brush,
                                                             bool pressed) {
    if (r.IsEmpty() || !Canvas.RectVisible(r))
        return;
    const TdxLookAndFeel look = List.FLookAndFeel;
    if (look == lfUltraFlat) {
        TRect inner = r;
        Canvas.DrawEdge(inner, BDR::SunkenOuter,
                        BF::Top | BF::Right | BF::Bottom | BF::Flat | BF::Adjust);
        FillSolid(Canvas, inner, brush);
    } else {
        TdxHeaderButton button;
        button.Look = look;
        button.Brush = brush;
        button.Pressed = pressed && look == lfStandard;
        TRect whole = r;
        DrawButtonBackground(Canvas, whole, button);
    }
    if (pressed && look != lfStandard)
        Canvas.InvertRect(r);
}

void TCustomdxTreeListControl::TPaintPass::PaintBandPanel() {
    const TRect& panel = Areas.BandPanel;
    if (panel.IsEmpty())
        return;
    if (!Areas.Indicator.IsEmpty())
        PaintCornerButton(Geometry.BandButtonRect(), Brushes.Band, List.PaintBandButtonPressed());
    const auto& bands = Geometry.Layout().Bands;
    if (!bands.empty() && Canvas.RectVisible(panel)) {
        Canvas.Font().Assign(List.FBandFont);
        Canvas.SetTextColor(List.FBandFont.Color());
        for (std::size_t p = 0; p < bands.size(); ++p)
            PaintBand(static_cast<int>(p));
    }
    // The lines setting the fixed bands off run down through the header panel.
    for (bool right : {false, true}) {
        const TRect line = Geometry.FixedBandLine(right, panel.Top, Areas.HeaderPanel.Bottom);
        if (!line.IsEmpty() && Canvas.RectVisible(line))
            FillSolid(Canvas, line, Brushes.FixedBandLine);
    }
}

void TCustomdxTreeListControl::TPaintPass::PaintBand(int position) {
    TdxHeaderButton button;
    button.Rect = Geometry.BandRect(position);
    button.Visible = Geometry.BandVisibleRect(position);
    if (button.Visible.IsEmpty() || !Canvas.RectVisible(button.Visible))
        return;
    const int bandIndex = Geometry.Layout().Bands[std::size_t(position)].Band;
    TdxTreeListBand* band = List.FBands->Items(bandIndex);
    button.Caption = band->Caption();
    button.Alignment = band->Alignment();
    button.Brush = Brushes.Band;
    button.Look = List.FLookAndFeel;
    button.MultiLine = List.FBandRowCount > 1;
    button.Pressed = List.PaintPressedBand() == bandIndex;
    bool done = false;
    std::optional<TFontScope> savedFont;
    if (List.OnCustomDrawBand) {
        savedFont.emplace(Canvas);
        TColor color = Brushes.Band;
        {
            TClipScope handlerClip(Canvas);
            if (button.Visible != button.Rect)
                Canvas.IntersectClipRect(button.Visible);
            List.OnCustomDrawBand(&List, band, Canvas, button.Rect, button.Caption, color,
                                  Canvas.Font(), button.Alignment, done);
        }
        if (!done && Canvas.ToRGB(color) != Canvas.ToRGB(Brushes.Band)) {
            Canvas.Brush().SetColor(color);
            button.Brush = color;
        }
    }
    if (!done)
        DrawHeaderButton(Canvas, PaintBitmap(), button);
}

void TCustomdxTreeListControl::TPaintPass::PaintHeaderPanel() {
    const TRect& panel = Areas.HeaderPanel;
    if (panel.IsEmpty())
        return;
    if (!Areas.Indicator.IsEmpty())
        PaintCornerButton(Geometry.HeaderButtonRect(), Brushes.Header,
                          List.PaintHeaderButtonPressed());
    if (!Canvas.RectVisible(panel))
        return;
    if (!Items().empty()) {
        Canvas.Font().Assign(List.FHeaderFont);
        Canvas.SetTextColor(List.FHeaderFont.Color());
        for (const TdxHeaderItem& item : Items())
            PaintHeader(item);
    }
    const auto& bands = Geometry.Layout().Bands;
    for (std::size_t p = 0; p < bands.size(); ++p)
        if (bands[p].Rows.empty()) {
            const TRect r = Geometry.VisiblePart(Geometry.BandHeaderRect(static_cast<int>(p)),
                                                 bands[p].Scrolls);
            if (!r.IsEmpty() && Canvas.RectVisible(r))
                FillSolid(Canvas, r, Brushes.Panel);
        }
}

void TCustomdxTreeListControl::TPaintPass::PaintHeader(const TdxHeaderItem& item) {
    TdxHeaderButton button;
    button.Rect = Geometry.HeaderRect(item);
    button.Visible = Geometry.HeaderVisibleRect(item);
    if (button.Visible.IsEmpty())
        return;
    const TRect gap = Geometry.HeaderGapRect(item);
    const bool buttonShown = Canvas.RectVisible(button.Visible);
    if (buttonShown) {
        TdxTreeListColumn* column = List.FColumns[std::size_t(item.Column)];
        button.Look = List.FLookAndFeel;
        button.Position = item.FirstInLine ? (item.LastInLine ? hpSingle : hpFirst)
                                           : (item.LastInLine ? hpLast : hpMiddle);
        button.Alignment = column->HeaderAlignment();
        if (column->HasHeaderGlyph() && !column->HeaderGlyph().Empty())
            button.Glyph = &column->HeaderGlyph();
        button.Caption = column->DisableCaption() ? std::string() : column->Caption();
        button.Sorted = List.DisplayedSortState(item.Column);
        button.Brush = Brushes.Header;
        button.MultiLine = item.RowSpan > 1 || List.FHeaderMinRowCount > 1;
        button.Pressed = List.PaintPressedColumn() == item.Column;
        bool done = false;
        std::optional<TFontScope> savedFont;
        if (List.OnCustomDrawColumnHeader || column->OnCustomDrawColumnHeader) {
            savedFont.emplace(Canvas);
            TColor color = Brushes.Header;
            {
                TClipScope handlerClip(Canvas);
                if (button.Visible != button.Rect)
                    Canvas.IntersectClipRect(button.Visible);
                if (List.OnCustomDrawColumnHeader)
                    List.OnCustomDrawColumnHeader(&List, column, Canvas, button.Rect,
                                                  button.Caption, color, Canvas.Font(),
                                                  button.Alignment, button.Sorted, done);
                if (!done && column->OnCustomDrawColumnHeader)
                    column->OnCustomDrawColumnHeader(&List, column, Canvas, button.Rect,
                                                     button.Caption, color, Canvas.Font(),
                                                     button.Alignment, button.Sorted, done);
            }
            if (!done && Canvas.ToRGB(color) != Canvas.ToRGB(Brushes.Header)) {
                Canvas.Brush().SetColor(color);
                button.Brush = color;
            }
        }
        if (!done)
            DrawHeaderButton(Canvas, PaintBitmap(), button);
    }
    if (!gap.IsEmpty()) {
        const TRect visibleGap =
            IntersectRect(gap, {button.Visible.Left, gap.Top, button.Visible.Right, gap.Bottom});
        if (!visibleGap.IsEmpty() && Canvas.RectVisible(visibleGap))
            FillSolid(Canvas, visibleGap, Brushes.Panel);
    }
}

// =============================================================================================
// 3. border

TChildFrame TCustomdxTreeListControl::ChildFrame() const {
    if (FBorderStyle == bsNone)
        return TChildFrame::None;
    if (FLookAndFeel != lfStandard)
        return TChildFrame::OwnDrawn;
    return FCtl3D ? TChildFrame::Sunken : TChildFrame::Single;
}

void TCustomdxTreeListControl::ApplyFrame() {
    if (Window())
        Window()->SetFrame(ChildFrame());
}

void TCustomdxTreeListControl::CreateParams(TWindowCreateArgs& args) {
    TCustomdxTreeList::CreateParams(args);
    args.Frame = ChildFrame();
}

// After the platform's own painting (scroll bars): the flat looks' 1-pixel frame, and the
// corner between two scroll bars inside it.
void TCustomdxTreeListControl::WMNCPaint(TMessage& message) {
    DispatchInherited(StaticMessageTable(), message);
    if (FLookAndFeel == lfStandard || FBorderStyle == bsNone || !Window())
        return;
    const std::unique_ptr<ICanvasDevice> device = Window()->GetWindowDevice();
    TCanvas canvas(Platform(), device.get());
    const TSize size = device->SurfaceSize();
    TRect r{0, 0, size.cx, size.cy};
    if (FLookAndFeel == lfUltraFlat) {
        canvas.Brush().SetColor(clBtnShadow);
        canvas.FrameRect(r);
    } else {
        TRect edge = r;
        canvas.DrawEdge(edge, BDR::SunkenOuter, BF::Rect);
    }
    const TdxScrollState& scroll = ScrollState();
    if (scroll.BarShown[0] && scroll.BarShown[1]) {
        const int width = Platform().SystemMetric(SM::CxVScroll);
        const int height = Platform().SystemMetric(SM::CyHScroll);
        FillSolid(canvas, {r.Right - 1 - width, r.Bottom - 1 - height, r.Right - 1, r.Bottom - 1},
                  clBtnFace);
    }
}

} // namespace dxtl
