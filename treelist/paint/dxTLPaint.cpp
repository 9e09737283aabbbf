// The paint pass of a tree list: its setup, the areas around the rows, the indent pass and the
// grid lines. The cell pass and text output are in dxTLPaintCells.cpp; the call flow is in
// dxTLPaintPass.h.
//
// Sections:
//   1. paint state     - the input focus and the focused column as the pass reads them
//   2. pass setup      - paint lock, geometry, brushes, column brush table, rows
//   3. areas           - new item row, indicator, footer, empty areas (the panels:
//                        dxTLPaintHeaders.cpp)
//   4. indent pass     - level slots, tree lines, expand buttons, state and node images
//   5. grid lines      - collected segments, one multi-polyline call
#include "treelist/paint/dxTLPaintPass.h"

#include <algorithm>
#include <climits>

namespace dxtl {

using namespace fw;

namespace {

constexpr int kIndent = TCustomdxTreeListControl::kIndentStep;
constexpr int kExpandBox = 9; // the expand button's box
// Where no header covers the header panel in the ultra-flat look.
constexpr TColor kUltraFlatPanelColor = 0x00A0A0A0;

// The image list's enabled drawing, centred in `area`; indexes outside the list draw nothing.
void DrawCentredImage(TCanvas& canvas, TImageList& images, const TRect& area, int index) {
    if (index < 0 || index >= images.Count())
        return;
    const int x = (area.Left + area.Right - images.Width() + 1) / 2;
    const int y = (area.Top + area.Bottom - images.Height() + 1) / 2;
    images.Draw(canvas, x, y, index, true);
}

} // namespace

void FillSolid(TCanvas& canvas, const TRect& r, TColor color) {
    if (r.IsEmpty())
        return;
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(color);
    canvas.FillRect(r);
}

unsigned AlignmentFormat(TAlignment alignment) {
    return alignment == taCenter ? DT::Center : alignment == taRightJustify ? DT::Right : DT::Left;
}

// The dotted rectangle takes its colours from the device; every text call sets its own, so
// these are set for the call only.
void DrawDottedFocusRect(TCanvas& canvas, const TRect& r) {
    ICanvasDevice& device = canvas.RequireDevice();
    device.SetBkColor(0x000000);
    device.SetTextColor(0xFFFFFF);
    canvas.DrawFocusRect(r);
}

// =============================================================================================
// 1. paint state

// The focus window is the list's window or one of its descendants.
bool TCustomdxTreeListControl::HasInputFocus() const {
    if (!Window() || !HasPlatform())
        return false;
    const TWindowHandle own = Window()->Handle();
    const IPlatform& platform = Platform();
    for (TWindowHandle w = platform.FocusedWindow(); w; w = platform.ParentWindow(w))
        if (w == own)
            return true;
    return false;
}

int TCustomdxTreeListControl::FocusedColumnIndex() const {
    const std::vector<TdxHeaderItem>& items = Layout().HeaderItems;
    const int focused = FocusedColumn();
    return focused < static_cast<int>(items.size()) ? items[std::size_t(focused)].Column : -1;
}

// =============================================================================================
// 2. pass setup

void TCustomdxTreeListControl::PaintControl(TCanvas& canvas) {
    struct TPaintLock {
        explicit TPaintLock(TCustomdxTreeListControl& list) : List(list) { List.BeginPaintLock(); }
        ~TPaintLock() { List.EndPaintLock(); }
        TCustomdxTreeListControl& List;
    } lock(*this);
    TPaintPass pass(*this, canvas);
    pass.Run();
}

TCustomdxTreeListControl::TPaintPass::TPaintPass(TCustomdxTreeListControl& list, TCanvas& canvas)
    : List(list), Canvas(canvas), Clip(canvas), Geometry(list, list.LeftCoord()),
      Areas(Geometry.Areas()) {
    HasFocus = List.HasInputFocus();
    FocusedNode = List.FocusedNode();
    FocusedColumn = List.FocusedColumnIndex();
    NewItemRowActive = List.ShowNewItemRow() && List.PaintNewItemRowActive();
    Separator = List.ShowGrid() ? List.RowSeparatorLineWidth() : 0;
    GridColor = List.GridLineColor() == clNone ? clBtnShadow : List.GridLineColor();

    Brushes.Band = List.BandColor();
    Brushes.Header = List.HeaderColor();
    Brushes.GroupNode = List.GroupNodeColor();
    Brushes.Color = List.Color();
    Brushes.Highlight = List.HighlightColor();
    Brushes.TreeLine = List.TreeLineColor();
    Brushes.HideSelection = List.HideSelectionColor();
    Brushes.RowFooter = List.RowFooterColor();
    Brushes.FixedBandLine = List.FixedBandLineColor();
    Brushes.Panel = List.LookAndFeel() == lfUltraFlat ? kUltraFlatPanelColor : clBtnShadow;

    // The column brush table, one entry per header item.
    for (const TdxHeaderItem& item : Items()) {
        const TColor color = List.FColumns[std::size_t(item.Column)]->Color();
        ColumnBrushes.push_back({color, Canvas.ToRGB(color) != Canvas.ToRGB(Brushes.Color)});
    }

    // Row entries from the top node until the rows area is full.
    RowsBottom = Geometry.ForEachRow(
        List.TopVisibleNode(),
        [&](const TdxRowGeometry& geometry) {
            TRowEntry row;
            static_cast<TdxRowGeometry&>(row) = geometry;
            row.Selected = List.IsNodeSelected(geometry.Node);
            row.FooterBegin = FooterParents.size() - std::size_t(geometry.FooterCount);
            Rows.push_back(row);
            return true;
        },
        &FooterParents);
    EmptyBelow = {Areas.Client.Left, std::min(RowsBottom, Areas.Rows.Bottom),
                  Geometry.ColumnsRight() + 1, Areas.Rows.Bottom};
}

void TCustomdxTreeListControl::TPaintPass::Run() {
    PaintPanels();
    PaintOptionalAreas();
    PaintRows();
}

// =============================================================================================
// 3. areas

// New item row, indicator column and footer panel; each is taken out of the clip so
// that the rows cannot overwrite it.
void TCustomdxTreeListControl::TPaintPass::PaintOptionalAreas() {
    if (!Areas.NewItemRow.IsEmpty() && Canvas.RectVisible(Areas.NewItemRow)) {
        PaintNewItemRow();
        Canvas.ExcludeClipRect(Areas.NewItemRow);
    }
    if (!Areas.Indicator.IsEmpty() && Canvas.RectVisible(Areas.Indicator)) {
        FillSolid(Canvas, Areas.Indicator, Brushes.Header);
        PaintIndicatorCells();
        Canvas.ExcludeClipRect(Areas.Indicator);
    }
    if (!Areas.Footer.IsEmpty() && Canvas.RectVisible(Areas.Footer)) {
        PaintFooter();
        Canvas.ExcludeClipRect(Areas.Footer);
    }
}

// The frame takes what the layout added to the footer's height for the look: the standard
// look a window frame and a raised edge, the flat looks a sunken top line (lfFlat also a
// raised edge), so that the footer rows fit inside exactly.
void TCustomdxTreeListControl::TPaintPass::PaintFooter() {
    FillSolid(Canvas, Areas.Footer, Brushes.Header);
    TRect inner = Areas.Footer;
    if (List.LookAndFeel() == lfStandard) {
        Canvas.Brush().SetColor(clWindowFrame);
        Canvas.FrameRect(inner);
        inner = inner.Inflate(-1, -1);
        Canvas.DrawEdge(inner, BDR::RaisedInner, BF::Rect | BF::Adjust);
    } else {
        Canvas.DrawEdge(inner, BDR::SunkenOuter, BF::Top | BF::Adjust);
        if (List.LookAndFeel() == lfFlat)
            Canvas.DrawEdge(inner, BDR::RaisedInner, BF::Rect | BF::Adjust);
    }
    if (List.OnIsExistFooterCell && !inner.IsEmpty())
        PaintFooterCells(inner, inner.Top, INT_MIN, nullptr, List.Font().Color());
}

// One raised button per row; the focused row's carries a right-pointing mark.
void TCustomdxTreeListControl::TPaintPass::PaintIndicatorCells() {
    TClipScope indicatorClip(Canvas);
    Canvas.IntersectClipRect(Areas.Indicator);
    for (const TRowEntry& row : Rows) {
        TRect cell{Areas.Indicator.Left, row.Top, Areas.Indicator.Right, row.Bottom()};
        Canvas.DrawEdge(cell, BDR::RaisedInner, BF::Rect);
        if (row.Node == FocusedNode) {
            // A triangle 4 pixels deep and 7 high, its point on the row's middle.
            const int left = cell.Left + 4;
            const int middle = row.Top + row.Height / 2;
            for (int k = 0; k < 4; ++k)
                FillSolid(Canvas, {left + k, middle - 3 + k, left + k + 1, middle + 4 - k},
                          clBlack);
        }
    }
}

// The row where a new node is typed: an indicator cell, the indent, one empty cell per column
// (DrawCell kind 2, no node), then a separator strip in the header colour.
void TCustomdxTreeListControl::TPaintPass::PaintNewItemRow() {
    const int headerRows = List.FHeaderPanelRowCount;
    const TRect& area = Areas.NewItemRow;
    const TRect row{area.Left, area.Top, area.Right, area.Top + List.FHeights.Row * headerRows};
    const TRect separator{area.Left, row.Bottom, area.Right, area.Bottom};
    FillSolid(Canvas, row, Brushes.Color);
    if (Areas.Indicator.Width() > 0) {
        TRect cell{Areas.Client.Left, row.Top, Areas.Indicator.Right, row.Bottom};
        FillSolid(Canvas, cell, Brushes.Header);
        Canvas.DrawEdge(cell, BDR::RaisedInner, BF::Rect);
    }
    const int indentRight = Geometry.IndentLeft() + Geometry.PlainIndentWidth();
    const bool rowSelect =
        List.FOptions.Contains(aoRowSelect) || List.FOptionsEx.Contains(aoInvertSelect);
    {
        TClipScope rowClip(Canvas);
        Canvas.IntersectClipRect({Areas.Rows.Left, row.Top, Areas.Rows.Right, row.Bottom});
        for (std::size_t i = 0; i < Items().size(); ++i) {
            const TdxHeaderItem& item = Items()[i];
            TRect cell;
            if (!Geometry.CellRect(item, indentRight, row.Top, row.Bottom, cell))
                continue;
            if (List.ShowGrid())
                FillSolid(Canvas, {cell.Right, cell.Top, cell.Right + 1, cell.Bottom}, GridColor);
            if (cell.IsEmpty() || !Canvas.RectVisible(cell))
                continue;
            TColor background = 0, text = 0, brush = 0;
            GetCellColors(nullptr, false, static_cast<int>(i), background, text, brush);
            const bool focusedCell =
                HasFocus && NewItemRowActive && (rowSelect || item.Column == FocusedColumn);
            List.DrawCell(Canvas, cell, ColumnBrushes[i].Color, ColumnBrushes[i].Color,
                          item.RightEdge, item.LeftEdge, 2, item.RowSpan > 1, brush, text,
                          background, focusedCell, false, item.Column, nullptr, &PaintBitmap());
        }
        if (NewItemRowActive && FocusRectAllowed())
            DrawFocusRectangle({indentRight, row.Top, Geometry.ColumnsRight() + 1, row.Bottom});
    }
    if (!separator.IsEmpty()) {
        FillSolid(Canvas, separator, Brushes.Header);
        TRect edge = separator;
        Canvas.DrawEdge(edge,
                        List.LookAndFeel() == lfStandard ? BDR::RaisedInner : BDR::SunkenOuter,
                        BF::Top | BF::Bottom);
    }
}

void TCustomdxTreeListControl::TPaintPass::PaintEmptyAreas() {
    for (const TRect& area : {Geometry.EmptyRight(), EmptyBelow})
        if (!area.IsEmpty() && Canvas.RectVisible(area))
            FillSolid(Canvas, area, Brushes.Color);
}

// =============================================================================================
// 4. indent pass

void TCustomdxTreeListControl::TPaintPass::PaintRows() {
    PaintEmptyAreas();
    const TRect& rows = Areas.Rows;
    if (rows.IsEmpty() || !Canvas.RectVisible(rows) || Geometry.Layout().Bands.empty() ||
        Rows.empty())
        return;
    {
        TClipScope indentClip(Canvas);
        Canvas.IntersectClipRect({rows.Left, rows.Top, Geometry.FirstBandRight(), rows.Bottom});
        for (const TRowEntry& row : Rows)
            PaintIndent(row);
    }
    Canvas.Font().Assign(List.Font());
    Canvas.SetTextColor(List.Font().Color());
    for (const TRowEntry& row : Rows)
        PaintCells(row);
    DrawGrid();
}

void TCustomdxTreeListControl::TPaintPass::PaintIndent(const TRowEntry& row) {
    List.BeforePaintNode(row.Node);
    const TRect indent{row.IndentLeft, row.Top, row.IndentRight, row.Bottom()};
    if (indent.IsEmpty() || !Canvas.RectVisible(indent))
        return;
    const bool outlook = List.PaintStyle() == psOutlook;
    const TColor brush = outlook ? Brushes.GroupNode : Brushes.Color;
    const bool hasChildren = row.Node->HasChildren();

    // Slots from the node's own level on leave the row's last line to the grid, which draws
    // it from there; the slots of the ancestors run the full height. Between two slots lies a
    // pixel column of the indent's colour, unless the slots touch (no grid, standard style).
    const int level = row.Node->Level();
    const bool parentStrip = hasChildren && !(!outlook && List.ShowGrid());
    const bool slotsTouch = !outlook && !List.ShowGrid();
    int slotsRight = row.SlotsLeft;
    for (int i = 0; i < row.LevelSlots; ++i) {
        TRect slot = row.Slot(i);
        if (!slotsTouch)
            --slot.Right;
        if (row.Outline && i + 1 == row.LevelSlots)
            ++slot.Top;
        if (!slotsTouch && i >= level)
            slot.Bottom -= Separator;
        FillSolid(Canvas, slot, outlook && i <= level ? LevelColor(i) : brush);
        slotsRight = slot.Right;
        // The gap column, unless the parent's strip below covers it.
        if (!slotsTouch && !(parentStrip && i + 1 == row.LevelSlots))
            FillSolid(Canvas, {slot.Right, row.Top, slot.Right + 1, slot.Bottom}, brush);
    }
    if (!row.ExpandButton.IsEmpty())
        PaintExpandButton(row);
    if (!outlook && List.ShowLines())
        PaintTreeLines(row);
    if (parentStrip)
        FillSolid(Canvas, {slotsRight, row.Top, slotsRight + 1, row.FooterTop - Separator}, brush);

    if (row.StateIndex != -1 && List.FStateImages) {
        FillSolid(Canvas, row.StateImage, brush);
        DrawCentredImage(Canvas, *List.FStateImages, row.StateImage, row.StateIndex);
    }
    if (List.FImages) {
        FillSolid(Canvas, row.NodeImage, brush);
        const int index =
            row.Selected ? List.GetNodeSelectedIndex(row.Node) : List.GetNodeImageIndex(row.Node);
        DrawCentredImage(Canvas, *List.FImages, row.NodeImage, index);
    }
}

// 1-pixel lines through the middle of the slots: solid, or dotted in the list's colour and the
// tree-line colour.
void TCustomdxTreeListControl::TPaintPass::PaintTreeLines(const TRowEntry& row) {
    const TColorRef line = Canvas.ToRGB(Brushes.TreeLine);
    const TColorRef back = Canvas.ToRGB(Brushes.Color);
    const bool dotted = List.TreeLineStyle() == tlDot;
    const bool swap = ((Areas.Rows.Left ^ Areas.Rows.Top) & 1) != 0;
    const auto stroke = [&](const TRect& r) {
        if (r.IsEmpty())
            return;
        if (dotted)
            Canvas.RequireDevice().FillChecker(r, swap ? back : line, swap ? line : back);
        else
            FillSolid(Canvas, r, Brushes.TreeLine);
    };
    TdxTreeListNode* node = row.Node;
    const int level = node->Level();
    const int middle = row.Top + row.Height / 2;
    const int bottom = row.Bottom();
    const bool button = List.ShowButtons() && node->HasChildren();
    const int slotMiddle = row.LevelLeft + kIndent / 2;
    stroke({slotMiddle + (button ? 5 : 0), middle, row.LevelLeft + kIndent, middle + 1});
    const bool firstOfList = node->GetPrevSibling() == nullptr && !node->Parent();
    const bool siblingFollows = node->GetNextSibling() != nullptr;
    const int top = firstOfList ? middle : row.Top;
    const int end = siblingFollows ? bottom : middle;
    if (button) {
        stroke({slotMiddle, top, slotMiddle + 1, std::min(end, middle - 5)});
        stroke({slotMiddle, middle + 5, slotMiddle + 1, end});
    } else {
        stroke({slotMiddle, top, slotMiddle + 1, end});
    }
    int ancestorLevel = level - 1;
    for (TdxTreeListNode* a = node->Parent(); a; a = a->Parent(), --ancestorLevel)
        if (a->GetNextSibling()) {
            const int x = row.SlotsLeft + ancestorLevel * kIndent + kIndent / 2;
            stroke({x, row.Top, x + 1, bottom});
        }
}

// A 9-pixel box in the middle of the button's slot, at the row's middle: a minus, and a plus
// for a collapsed node.
void TCustomdxTreeListControl::TPaintPass::PaintExpandButton(const TRowEntry& row) {
    const TRect& slot = row.ExpandButton;
    const int left = slot.Left + (slot.Width() - kExpandBox) / 2;
    const int top = row.Top + row.Height / 2 - 4;
    const TRect box{left, top, left + kExpandBox, top + kExpandBox};
    FillSolid(Canvas, box.Inflate(-1, -1), Brushes.Color);
    Canvas.Brush().SetColor(clGrayText);
    Canvas.FrameRect(box);
    FillSolid(Canvas, {box.Left + 2, box.Top + 4, box.Right - 2, box.Top + 5}, clWindowText);
    if (!row.Node->Expanded())
        FillSolid(Canvas, {box.Left + 4, box.Top + 2, box.Left + 5, box.Bottom - 2}, clWindowText);
}

// =============================================================================================
// 5. grid lines

// The colour of a tree level in the outlook style: GroupNodeColor unless OnGetLevelColor
// answers another.
TColor TCustomdxTreeListControl::TPaintPass::LevelColor(int level) const {
    TColor color = Brushes.GroupNode;
    if (List.OnGetLevelColor)
        List.OnGetLevelColor(&List, level, color);
    return color;
}

void TCustomdxTreeListControl::TPaintPass::AddGridLine(TPoint from, TPoint to) {
    GridPoints.push_back(from);
    GridPoints.push_back(to);
    GridCounts.push_back(2);
}

// Without the grid only the outlines of outlook parent rows are collected; they take the
// list's colour. With it, the columns' right edge runs down to the last row.
void TCustomdxTreeListControl::TPaintPass::DrawGrid() {
    if (List.ShowGrid() && !Rows.empty()) {
        const int right = Geometry.ColumnsRight();
        AddGridLine({right, Areas.Rows.Top}, {right, std::min(RowsBottom, Areas.Rows.Bottom)});
    }
    if (GridCounts.empty())
        return;
    Canvas.Pen().SetColor(List.ShowGrid() ? GridColor : Brushes.Color);
    Canvas.Pen().SetWidth(1);
    Canvas.Pen().SetStyle(TPenStyle::Solid);
    Canvas.PolyPolyline(GridPoints, GridCounts);
}

} // namespace dxtl
