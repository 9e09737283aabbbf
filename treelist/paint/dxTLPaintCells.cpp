// The cell pass of a tree list's paint pass and the cells' text output (the pass itself:
// dxTLPaintPass.h, dxTLPaint.cpp).
//
// Sections:
//   1. cell pass    - selected flag, cell colours, a row's cells, gaps, preview, row footers,
//                     focus rectangles
//   2. cells        - DrawCell: column font, custom-draw results, view data, column painter
//   3. text output  - fast path and formatted path of text cells, incremental-search mark
#include "treelist/dxTLControlParts.h"
#include "treelist/paint/dxTLPaintPass.h"

#include <algorithm>
#include <optional>

namespace dxtl {

using namespace fw;

const TdxTreeListCellViewData& TCustomdxTreeListControl::CellViewData() const {
    return FParts->CellViewData;
}

namespace {

// Format flags of the formatted text path.
constexpr unsigned kFormatTop = DT::SingleLine | DT::ExpandTabs;                  // 0x60
constexpr unsigned kFormatCenter = DT::SingleLine | DT::ExpandTabs | DT::VCenter; // 0x64
constexpr unsigned kFormatBottom = DT::SingleLine | DT::ExpandTabs | DT::Bottom;  // 0x68
constexpr unsigned kFormatWordBreak = DT::WordBreak | DT::ExpandTabs;             // 0x50

} // namespace

// =============================================================================================
// 1. cell pass

bool TCustomdxTreeListControl::TPaintPass::CellSelected(const TRowEntry& row, int column) const {
    const TdxTreeListOptions& o = List.FOptions;
    if (!row.Selected || (NewItemRowActive && !o.Contains(aoMultiSelect)))
        return false;
    const bool invert = List.FOptionsEx.Contains(aoInvertSelect);
    const bool inFocusedColumn = column == FocusedColumn;
    const bool selected =
        o.Contains(aoRowSelect) || (o.Contains(aoMultiSelect) && !invert) ||
        (o.Contains(aoMultiSelect) && invert && (NewItemRowActive || row.Node != FocusedNode)) ||
        (inFocusedColumn && !invert) || (!inFocusedColumn && invert);
    if (selected && List.HideSelection() && !HasFocus)
        return false;
    return selected;
}

void TCustomdxTreeListControl::TPaintPass::GetCellColors(TdxTreeListNode* node, bool selected,
                                                         int item, TColor& background, TColor& text,
                                                         TColor& brush) const {
    if (!selected || (List.HideSelection() && !HasFocus)) {
        if (OutlookParent(node)) {
            background = LevelColor(node->Level());
            text = List.GroupNodeTextColor() == clNone ? List.Font().Color()
                                                       : List.GroupNodeTextColor();
            brush = background;
            return;
        }
        const TdxTreeListColumn* column =
            item >= 0 ? List.FColumns[std::size_t(Items()[std::size_t(item)].Column)] : nullptr;
        text = column && column->AssignedValues().Contains(cvFont) ? column->Font().Color()
                                                                   : List.Font().Color();
        if (item >= 0 && ColumnBrushes[std::size_t(item)].HasBrush) {
            background = ColumnBrushes[std::size_t(item)].Color;
            brush = background;
        } else {
            background = Brushes.Color;
            brush = Brushes.Color;
        }
        return;
    }
    if (HasFocus) {
        background = Brushes.Highlight;
        text = List.HighlightTextColor();
        brush = Brushes.Highlight;
    } else {
        background = Brushes.HideSelection;
        text = List.HideSelectionTextColor();
        brush = Brushes.HideSelection;
    }
}

void TCustomdxTreeListControl::TPaintPass::PaintCells(const TRowEntry& row) {
    const TdxTreeListOptions& o = List.FOptions;
    const bool rowSelect = o.Contains(aoRowSelect) || List.FOptionsEx.Contains(aoInvertSelect);
    const int rowHeight = List.FHeights.Row;
    const int y = row.Top;
    const int columnsEnd = Geometry.ColumnsRight() + 1;
    const TdxLayoutLists& layout = Geometry.Layout();

    TColor rowBackground = 0, rowText = 0, rowBrush = 0;
    const bool multiSelect = o.Contains(aoMultiSelect);
    const bool rowSelected = row.Selected && (rowSelect || multiSelect) &&
                             (!NewItemRowActive || multiSelect) &&
                             !(List.HideSelection() && !HasFocus);
    GetCellColors(row.Node, rowSelected, -1, rowBackground, rowText, rowBrush);

    // Separator strips of fixed bands.
    for (bool right : {false, true})
        FillSolid(Canvas, Geometry.FixedBandLine(right, y, row.Bottom()), Brushes.FixedBandLine);

    const bool hasPreview = row.PreviewHeight > 0;
    // Scrolling bands show only between the fixed bands: their cells (and what a handler draws
    // in them) are clipped to that part of the row.
    const bool fixedBands = layout.FixedLeft || layout.FixedRight;
    const TRect scrollingPart =
        Geometry.VisiblePart({Areas.Rows.Left, y, Areas.Client.Right, row.Bottom()}, true);
    for (std::size_t i = 0; i < Items().size(); ++i) {
        const TdxHeaderItem& item = Items()[i];
        TRect cell;
        if (!Geometry.CellRect(row, item, cell))
            continue;
        std::optional<TClipScope> scrollingClip;
        if (fixedBands && item.Scrolls) {
            if (Geometry.VisibleCell(item, cell).IsEmpty())
                continue;
            scrollingClip.emplace(Canvas);
            Canvas.IntersectClipRect(scrollingPart);
        }
        const bool lastLine = Geometry.LastLine(item);
        TdxTreeListColumn* column = List.FColumns[std::size_t(item.Column)];
        if (!cell.IsEmpty() && Canvas.RectVisible(cell)) {
            const int itemIndex = static_cast<int>(i);
            const bool selected = CellSelected(row, item.Column);
            TColor background = 0, text = 0, brush = 0;
            GetCellColors(row.Node, selected, itemIndex, background, text, brush);
            const bool focusedCell =
                HasFocus && row.Node == FocusedNode && (rowSelect || item.Column == FocusedColumn);
            const bool multiLine = item.RowSpan > 1 || row.LineCount > 1 || column->IsMultiLine();
            List.DrawCell(Canvas, cell, ColumnBrushes[i].Color, ColumnBrushes[i].Color,
                          item.RightEdge, item.LeftEdge, 0, multiLine, brush, text, background,
                          focusedCell, selected, item.Column, row.Node, &PaintBitmap());
            if (!rowSelect && !NewItemRowActive && row.Node == FocusedNode &&
                item.Column == FocusedColumn && FocusRectAllowed())
                DrawFocusRectangle(cell);
        }
        if (List.ShowGrid() && !(scrollingClip && (cell.Right < scrollingPart.Left ||
                                                   cell.Right >= scrollingPart.Right))) {
            // Down through the row's grid line, unless a preview lies in between.
            const bool toSeparator = lastLine && !hasPreview;
            AddGridLine({cell.Right, cell.Top},
                        {cell.Right, cell.Bottom + (toSeparator ? Separator : 0)});
        }
        if (!lastLine)
            FillSolid(Canvas,
                      {cell.Left, y + (item.RowIndex + item.RowSpan) * rowHeight,
                       Geometry.ItemRight(item), row.CellsBottom},
                      rowBrush);
    }
    // Bands without columns.
    for (std::size_t p = 0; p < layout.Bands.size(); ++p)
        if (const TdxBandLayout& band = layout.Bands[p]; band.Rows.empty()) {
            const int left = Geometry.BandLeft(static_cast<int>(p));
            FillSolid(Canvas,
                      Geometry.VisiblePart(
                          {std::max(left, row.IndentRight), y, left + band.Width, row.FooterTop},
                          band.Scrolls),
                      rowBrush);
        }
    if (row.Outline)
        AddGridLine({row.LevelLeft, y}, {columnsEnd, y});
    if (hasPreview) {
        if (List.ShowGrid() && List.ShowPreviewGrid())
            AddGridLine({row.IndentRight, row.CellsBottom}, {columnsEnd, row.CellsBottom});
        PaintPreview(row, rowBrush, rowSelected ? rowText : List.FPreviewFont.Color());
    }
    if (List.ShowGrid())
        AddGridLine({row.LevelLeft, row.FooterTop - 1}, {columnsEnd, row.FooterTop - 1});
    if (row.FooterCount > 0)
        PaintRowFooters(row);

    // Row focus rectangle: to the columns' right edge (the rows area's with a fixed right
    // band), less the grid line.
    if (rowSelect && !NewItemRowActive && row.Node == FocusedNode && FocusRectAllowed()) {
        const int grid = List.ShowGrid() ? 1 : 0;
        TRect focus{row.IndentRight, y, columnsEnd - grid, row.SeparatorTop};
        if (row.Outline)
            ++focus.Top;
        DrawFocusRectangle(focus);
    }
}

// The preview text in the preview font (the selection's text colour in a selected row),
// wrapped, cut with an ellipsis on the last line that fits.
void TCustomdxTreeListControl::TPaintPass::PaintPreview(const TRowEntry& row, TColor brush,
                                                        TColor text) {
    const TRect area = Geometry.PreviewRect(row);
    if (area.IsEmpty() || !Canvas.RectVisible(area))
        return;
    FillSolid(Canvas, area, brush);
    const std::string preview = List.PreviewText(row.Node);
    if (preview.empty())
        return;
    TFontScope savedFont(Canvas);
    Canvas.Font().Assign(List.FPreviewFont);
    TRect textRect{area.Left + 2, area.Top + 1, area.Right - 1, area.Bottom - 1};
    Canvas.Brush().SetStyle(bsClear);
    Canvas.SetTextColor(text);
    Canvas.DrawText(preview, textRect,
                    DT::WordBreak | DT::ExpandTabs | DT::NoPrefix | DT::EndEllipsis);
    Canvas.Brush().SetStyle(bsSolid);
}

// One footer line per parent the row closes, innermost first: the parent's children's indent
// is left in the indent colour, the rest is the footer colour with a sunken cell for each
// column whose cell OnIsExistRowFooterCell asks for.
void TCustomdxTreeListControl::TPaintPass::PaintRowFooters(const TRowEntry& row) {
    const TColor indentBrush = List.PaintStyle() == psOutlook ? Brushes.GroupNode : Brushes.Color;
    const bool gridLine = List.ShowGrid() && List.ShowPreviewGrid();
    for (int k = 0; k < row.FooterCount; ++k) {
        TdxTreeListNode* parent = FooterParents[row.FooterBegin + std::size_t(k)];
        const TRect line = Geometry.RowFooterRect(row, k, parent);
        if (Canvas.RectVisible({row.IndentLeft, line.Top, line.Right, line.Bottom})) {
            FillSolid(Canvas, {row.IndentLeft, line.Top, line.Left, line.Bottom}, indentBrush);
            FillSolid(Canvas, line, Brushes.RowFooter);
            if (List.OnIsExistRowFooterCell)
                PaintFooterCells(line, line.Top + 1, line.Left, parent, List.RowFooterTextColor());
        }
        if (gridLine)
            AddGridLine({line.Left, line.Bottom - 1}, {line.Right, line.Bottom - 1});
    }
}

// The sunken footer cells of the columns whose cell the application asks for (node: the
// parent a row footer closes, nullptr for the footer panel), clipped to `line`, with the text
// of OnGetFooterCellText in the column's alignment, centred vertically inside the edge.
void TCustomdxTreeListControl::TPaintPass::PaintFooterCells(const TRect& line, int cellsTop,
                                                            int cellsLeft, TdxTreeListNode* node,
                                                            TColor textColor) {
    TClipScope lineClip(Canvas);
    Canvas.IntersectClipRect(line);
    for (const TdxHeaderItem& item : Items()) {
        TdxTreeListColumn* column = List.FColumns[std::size_t(item.Column)];
        bool exists = false;
        if (node)
            List.OnIsExistRowFooterCell(&List, column, node, exists);
        else
            List.OnIsExistFooterCell(&List, column, exists);
        const TRect cell = Geometry.FooterCellRect(item, cellsTop, cellsLeft);
        if (!exists || cell.IsEmpty())
            continue;
        TRect edge = cell;
        Canvas.DrawEdge(edge, BDR::SunkenOuter, BF::Rect);
        std::string text;
        if (List.OnGetFooterCellText)
            List.OnGetFooterCellText(&List, node, column, text);
        if (text.empty())
            continue;
        TFontScope savedFont(Canvas);
        Canvas.Font().Assign(List.Font());
        TRect textRect{cell.Left + 3, cell.Top + 1, cell.Right - 3, cell.Bottom - 1};
        Canvas.Brush().SetStyle(bsClear);
        Canvas.SetTextColor(textColor);
        Canvas.DrawText(text, textRect,
                        DT::SingleLine | DT::VCenter | DT::NoPrefix | DT::EndEllipsis |
                            AlignmentFormat(column->Alignment()));
        Canvas.Brush().SetStyle(bsSolid);
    }
}

bool TCustomdxTreeListControl::TPaintPass::FocusRectAllowed() const {
    return HasFocus ? !List.FOptions.Contains(aoHideFocusRect) : !List.HideFocusRect();
}

// With the focus the platform's dotted rectangle; without it a solid inverted 1-pixel frame.
void TCustomdxTreeListControl::TPaintPass::DrawFocusRectangle(const TRect& r) {
    if (r.IsEmpty())
        return;
    if (HasFocus) {
        DrawDottedFocusRect(Canvas, r);
        return;
    }
    Canvas.InvertRect({r.Left, r.Top, r.Right, r.Top + 1});
    Canvas.InvertRect({r.Right - 1, r.Top + 1, r.Right, r.Bottom});
    Canvas.InvertRect({r.Left, r.Top + 1, r.Left + 1, r.Bottom});
    Canvas.InvertRect({r.Left + 1, r.Bottom - 1, r.Right - 1, r.Bottom});
}

// =============================================================================================
// 2. cells

void TCustomdxTreeListControl::DrawCell(TCanvas& canvas, const TRect& rect, TColor columnBrush,
                                        TColor columnColor, bool rightEdge, bool leftEdge,
                                        int cellKind, bool multiLine, TColor brush,
                                        TColor textColor, TColor backgroundColor, bool focusedCell,
                                        bool selected, int columnIndex, TdxTreeListNode* node,
                                        TBitmap* paintBitmap) {
    BeforePaintCell(node);
    const TScopeExit after(*this, [&] { AfterPaintCell(node); });
    PaintCellContent(canvas, rect, columnBrush, columnColor, rightEdge, leftEdge, cellKind,
                     multiLine, brush, textColor, backgroundColor, focusedCell, selected,
                     columnIndex, node, paintBitmap);
}

void TCustomdxTreeListControl::PaintCellContent(TCanvas& canvas, const TRect& rect,
                                                TColor columnBrush, TColor columnColor,
                                                bool rightEdge, bool leftEdge, int cellKind,
                                                bool multiLine, TColor brush, TColor textColor,
                                                TColor backgroundColor, bool focusedCell,
                                                bool selected, int columnIndex,
                                                TdxTreeListNode* node, TBitmap* paintBitmap) {
    TdxTreeListColumn* column = FColumns[std::size_t(columnIndex)];
    TdxCellViewParams params;
    if (cellKind == 0)
        params = column->CellView(node);
    else {
        params.Alignment = column->Alignment();
        params.VertAlignment = column->VertAlignment();
        params.Font = &column->Font();
    }
    const bool columnFont = column->AssignedValues().Contains(cvFont);
    // A column font of its own keeps its colour, except in the selection's colours.
    if (!selected && columnFont)
        textColor = column->Font().Color();

    // Handlers see the font and text colour the list would draw with, and may change them;
    // whatever they do to the font is undone after the cell, also when one of them raises.
    const bool customDraw = HasCustomDrawCell(column);
    std::optional<TFontScope> savedFont;
    if (customDraw || columnFont) {
        savedFont.emplace(canvas);
        if (columnFont)
            canvas.Font().Assign(column->Font());
        canvas.Font().SetColor(textColor);
    }
    if (customDraw) {
        bool done = false;
        TColor color = backgroundColor;
        const TColor fontColor = canvas.Font().Color();
        {
            // A clip a handler narrowed ends with the handlers: the list's own painting of
            // this cell and of every later one sees the pass's clip.
            TClipScope handlerClip(canvas);
            DoCustomDrawCell(canvas, rect, done, params.Alignment, canvas.Font(), color,
                             params.Text, brush, rightEdge, leftEdge, cellKind == 2, focusedCell,
                             selected, columnIndex, node);
        }
        if (done)
            return;
        if (canvas.ToRGB(color) != canvas.ToRGB(backgroundColor)) {
            canvas.Brush().SetColor(color);
            brush = color;
            backgroundColor = color;
        }
        if (canvas.Font().Color() != fontColor)
            textColor = canvas.Font().Color();
    }

    TdxTreeListCellViewData& data = FParts->CellViewData;
    data.Brush = brush;
    // With the canvas font prepared, the painter draws in it (as the handlers left it).
    data.Font = savedFont ? nullptr : params.Font ? params.Font : &Font();
    data.BkColor = backgroundColor;
    data.TextColor = textColor;
    data.Alignment = params.Alignment;
    data.VertAlignment = params.VertAlignment;
    data.Text = std::move(params.Text);
    data.TextLength = static_cast<int>(data.Text.size());
    data.Selected = selected;
    data.InvertSelect = FOptionsEx.Contains(aoInvertSelect);
    data.LeftEdge = leftEdge;
    data.RightEdge = rightEdge;
    data.MultiLine = multiLine;
    data.InvertText = false;
    data.EndEllipsis = FOptions.Contains(aoDrawEndEllipsis);
    data.Node = node;
    data.NullNode = cellKind == 2;
    data.SelectionColor = focusedCell ? HighlightColor() : HideSelectionColor();
    data.ColumnBrush = columnBrush;
    data.ColumnColor = columnColor;
    data.HotTrack = FOptionsEx.Contains(aoHotTrack) && node && node == PaintHotTrackNode();
    data.CellRect = {-2, -2, rect.Width() + 2, rect.Height() + 2};
    column->PaintCell(canvas, rect, data, paintBitmap);
    if (cellKind == 0 && FOptionsEx.Contains(aoAutoSearch) && node && node == FocusedNode() &&
        columnIndex == FocusedColumnIndex())
        if (const int matched = std::max(PaintSearchMatchLength(), 0); matched > 0)
            PaintSearchMatch(canvas, rect, data, matched);
}

// =============================================================================================
// 3. text output

namespace {

// Where the fast path puts a text: its rectangle inside the cell and the text's origin. A text
// wider than its rectangle starts at the rectangle's left edge whatever the alignment.
struct TTextPlacement {
    TRect TextRect;
    TSize Extent;
    bool TooWide = false;
    int X = 0;
    int Y = 0;
};

TTextPlacement PlaceText(TCanvas& canvas, const TRect& cell, const TdxTreeListCellViewData& data) {
    TTextPlacement place;
    place.TextRect = cell.Inflate(-1, -1);
    ++place.TextRect.Left;
    if (data.Alignment == taRightJustify)
        --place.TextRect.Right;
    const TRect& r = place.TextRect;
    place.Extent = canvas.TextExtent(data.Text);
    place.TooWide = place.Extent.cx > r.Width();
    place.X = place.TooWide || data.Alignment == taLeftJustify ? r.Left
              : data.Alignment == taCenter ? (r.Left + r.Right - place.Extent.cx) / 2
                                           : r.Right - place.Extent.cx;
    place.Y = data.VertAlignment == tlCenter   ? (r.Top + r.Bottom - place.Extent.cy) / 2
              : data.VertAlignment == tlBottom ? r.Bottom - place.Extent.cy
                                               : r.Top;
    return place;
}

} // namespace

void TCustomdxTreeListControl::DrawEditText(TCanvas& canvas, const TRect& cell,
                                            const TdxTreeListCellViewData& data) {
    TFontScope savedFont(canvas);
    if (data.Font)
        canvas.Font().Assign(*data.Font);
    const TTextPlacement place = PlaceText(canvas, cell, data);
    const bool lineBreak = data.Text.find_first_of("\r\n") != std::string::npos;

    if (data.MultiLine || (data.EndEllipsis && (place.TooWide || lineBreak))) {
        FillSolid(canvas, cell, data.Brush);
        canvas.Brush().SetStyle(bsClear);
        unsigned format = DT::ExpandTabs | DT::NoPrefix | AlignmentFormat(data.Alignment);
        if (!place.TooWide)
            format |= DT::NoClip;
        if (data.EndEllipsis)
            format |= DT::EndEllipsis;
        if (data.MultiLine)
            format |= kFormatWordBreak;
        else
            format |= data.VertAlignment == tlCenter   ? kFormatCenter
                      : data.VertAlignment == tlBottom ? kFormatBottom
                                                       : kFormatTop;
        canvas.SetTextColor(data.TextColor);
        TRect textRect = place.TextRect;
        canvas.DrawText(data.Text, textRect, format);
        canvas.Brush().SetStyle(bsSolid);
        return;
    }

    // One opaque, clipped text call; the strip right of a cut text is filled separately.
    TRect output = cell;
    if (place.TooWide) {
        FillSolid(canvas, {place.TextRect.Right, cell.Top, cell.Right, cell.Bottom}, data.Brush);
        output.Right = place.TextRect.Right;
    }
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(data.BkColor);
    canvas.SetTextColor(data.TextColor);
    canvas.TextRect(output, place.X, place.Y, data.Text);
}

// The part of the focused cell's text that an incremental search matched, again in the search
// colours (clNone: the cell's colours inverted), and a focus rectangle 1 pixel inside the cell
// that reaches into the neighbours in row-select mode so the row reads as one. A multi-line
// cell's text starts at the top; where it actually wraps, the platform chose the breaks, so
// the match gets the focus rectangle only.
void TCustomdxTreeListControl::PaintSearchMatch(TCanvas& canvas, const TRect& cell,
                                                const TdxTreeListCellViewData& data,
                                                int matchLength) {
    {
        TFontScope savedFont(canvas);
        if (data.Font)
            canvas.Font().Assign(*data.Font);
        TTextPlacement place = PlaceText(canvas, cell, data);
        const bool wraps = place.TooWide || data.Text.find_first_of("\r\n") != std::string::npos;
        if (data.MultiLine && wraps)
            matchLength = 0;
        else if (data.MultiLine)
            place.Y = place.TextRect.Top;
        const std::string prefix =
            data.Text.substr(0, std::min(std::size_t(matchLength), data.Text.size()));
        const TSize extent = canvas.TextExtent(prefix);
        const TRect mark = IntersectRect(
            {place.X, place.Y, place.X + extent.cx, place.Y + extent.cy}, place.TextRect);
        if (!mark.IsEmpty()) {
            const TColor text = data.TextColor == clNone ? canvas.Font().Color() : data.TextColor;
            const auto inverted = [&canvas](TColor color) {
                return static_cast<TColor>(canvas.ToRGB(color) ^ 0xFFFFFFu);
            };
            canvas.Brush().SetStyle(bsSolid);
            canvas.Brush().SetColor(AutoSearchColor() == clNone ? inverted(data.BkColor)
                                                                : AutoSearchColor());
            canvas.SetTextColor(AutoSearchTextColor() == clNone ? inverted(text)
                                                                : AutoSearchTextColor());
            canvas.TextRect(mark, place.X, place.Y, prefix);
        }
    }
    TRect focus = cell.Inflate(-1, -1);
    if (FOptions.Contains(aoRowSelect) || FOptionsEx.Contains(aoInvertSelect)) {
        if (!data.LeftEdge)
            --focus.Left;
        if (!data.RightEdge)
            ++focus.Right;
    }
    if (!focus.IsEmpty())
        DrawDottedFocusRect(canvas, focus);
}

} // namespace dxtl
