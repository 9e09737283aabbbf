// The paint pass of a tree list: areas, rows, indents, cells, texts, focus rectangles, grid.
//
// Sections:
//   1. paint state     - what the pass reads of selection, focus, scrolling and search
//   2. pass setup      - paint lock, areas, brushes, column brush table, header items, rows
//   3. areas           - band and header panels, new item row, indicator, footer, empty areas
//   4. indent pass     - level slots, tree lines, expand buttons, state and node images
//   5. cell pass       - selected flag, cell colours, DrawCell, gaps, preview, row footers,
//                        row focus rectangle
//   6. text output     - fast path and formatted path of text cells, incremental-search mark
//   7. grid lines      - collected segments, one multi-polyline call
//
// Call flow: WM_PAINT -> TdxTreeList::Paint -> PaintControl: the paint lock (a scope), then a
// TPaintPass whose constructor takes a copy of the layout and the brushes and whose destructor
// restores the clip, so that happens also when a handler raises. Run:
// panels, optional areas (each excluded from the clip after painting), then the rows: empty
// areas, indent pass (clipped to the first band), cell pass (DrawCell -> text output), grid.
// A row from the top: its cells, its preview, its grid line, its row footers. The erase
// request paints nothing, so the pass must reach every pixel of the client area itself.
// "Brushes" are colours: the canvas fills with a colour and owns no brush objects.
#include "treelist/dxTL.h"

#include <algorithm>
#include <climits>

namespace dxtl {

using namespace fw;

namespace {

constexpr int kIndent = TCustomdxTreeListControl::kIndentStep;
constexpr int kExpandBox = 9; // the expand button's box

// Format flags of the formatted text path.
constexpr unsigned kFormatTop = DT::SingleLine | DT::ExpandTabs;                  // 0x60
constexpr unsigned kFormatCenter = DT::SingleLine | DT::ExpandTabs | DT::VCenter; // 0x64
constexpr unsigned kFormatBottom = DT::SingleLine | DT::ExpandTabs | DT::Bottom;  // 0x68
constexpr unsigned kFormatWordBreak = DT::WordBreak | DT::ExpandTabs;             // 0x50

// Leaves the canvas clip as it was found, whatever happens in between.
class TClipScope {
public:
    explicit TClipScope(TCanvas& canvas) : FCanvas(canvas), FToken(canvas.SaveClip()) {}
    ~TClipScope() { FCanvas.RestoreClip(FToken); }
    TClipScope(const TClipScope&) = delete;
    TClipScope& operator=(const TClipScope&) = delete;

private:
    TCanvas& FCanvas;
    int FToken;
};

// Restores the canvas font after a cell that changed it.
class TFontScope {
public:
    explicit TFontScope(TCanvas& canvas) : FCanvas(canvas) { FSaved.Assign(canvas.Font()); }
    ~TFontScope() { FCanvas.Font().Assign(FSaved); }
    TFontScope(const TFontScope&) = delete;
    TFontScope& operator=(const TFontScope&) = delete;

private:
    TCanvas& FCanvas;
    TFont FSaved;
};

void Fill(TCanvas& canvas, const TRect& r, TColor color) {
    if (r.IsEmpty())
        return;
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(color);
    canvas.FillRect(r);
}

// The image list's enabled drawing, centred in `area`; indexes outside the list draw nothing.
void DrawCentredImage(TCanvas& canvas, TImageList& images, const TRect& area, int index) {
    if (index < 0 || index >= images.Count())
        return;
    const int x = (area.Left + area.Right - images.Width() + 1) / 2;
    const int y = (area.Top + area.Bottom - images.Height() + 1) / 2;
    images.Draw(canvas, x, y, index, true);
}

// The formatted text output's horizontal alignment flag.
unsigned AlignmentFormat(TAlignment alignment) {
    return alignment == taCenter ? DT::Center : alignment == taRightJustify ? DT::Right : DT::Left;
}

// The platform's dotted focus rectangle takes its colours from the device; every text call
// sets its own, so these are set for the call only.
void DrawDottedFocusRect(TCanvas& canvas, const TRect& r) {
    ICanvasDevice& device = canvas.RequireDevice();
    device.SetBkColor(0x000000);
    device.SetTextColor(0xFFFFFF);
    canvas.DrawFocusRect(r);
}

std::string ApplyCharCase(std::string text, TEditCharCase charCase) {
    // ASCII letters only: other bytes may be parts of multi-byte characters.
    for (char& c : text) {
        if (charCase == ecUpperCase && c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        else if (charCase == ecLowerCase && c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// One password character per character (UTF-8 code point) of the text.
std::string MaskText(const std::string& text, char passwordChar) {
    std::string masked;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80)
            masked.push_back(passwordChar);
    return masked;
}

} // namespace

// =============================================================================================
// 1. paint state

bool TCustomdxTreeListControl::PaintNodeSelected(const TdxTreeListNode* node) const {
    return PaintStateHooks.NodeSelected ? PaintStateHooks.NodeSelected(node) : false;
}

TdxTreeListNode* TCustomdxTreeListControl::PaintFocusedNode() const {
    return PaintStateHooks.FocusedNode ? PaintStateHooks.FocusedNode() : nullptr;
}

int TCustomdxTreeListControl::PaintFocusedColumn() const {
    return PaintStateHooks.FocusedColumn ? PaintStateHooks.FocusedColumn() : 0;
}

int TCustomdxTreeListControl::PaintLeftCoord() const {
    return PaintStateHooks.LeftCoord ? PaintStateHooks.LeftCoord() : LeftCoord();
}

TdxTreeListNode* TCustomdxTreeListControl::PaintTopNode() const {
    return PaintStateHooks.TopNode ? PaintStateHooks.TopNode() : TopVisibleNode();
}

TdxTreeListNode* TCustomdxTreeListControl::PaintHotTrackNode() const {
    return PaintStateHooks.HotTrackNode ? PaintStateHooks.HotTrackNode() : HotTrackNode();
}

bool TCustomdxTreeListControl::PaintNewItemRowActive() const {
    return FShowNewItemRow && PaintStateHooks.NewItemRowActive &&
           PaintStateHooks.NewItemRowActive();
}

int TCustomdxTreeListControl::PaintSearchMatchLength() const {
    if (!FOptionsEx.Contains(aoAutoSearch) || !PaintStateHooks.SearchMatchLength)
        return 0;
    return std::max(0, PaintStateHooks.SearchMatchLength());
}

// The focus window is the list's window or one of its descendants.
bool TCustomdxTreeListControl::PaintHasFocus() const {
    if (PaintStateHooks.HasFocus)
        return PaintStateHooks.HasFocus();
    if (!Window() || !HasPlatform())
        return false;
    const TWindowHandle own = Window()->Handle();
    const IPlatform& platform = Platform();
    for (TWindowHandle w = platform.FocusedWindow(); w; w = platform.ParentWindow(w))
        if (w == own)
            return true;
    return false;
}

// =============================================================================================
// 2. pass setup

struct TCustomdxTreeListControl::TPaintPass {
    // A column's cell place in the rows, from the header layout.
    struct THeaderItem {
        int Column = -1;
        int BandPosition = 0;
        int Left = 0; // painted (scrolled) left edge
        int UnscrolledLeft = 0;
        int Right = 0;
        int RowIndex = 0; // the column's line inside a row
        int RowSpan = 1;
        bool LeftEdge = false;  // first column of the first band
        bool RightEdge = false; // last column of the last band
    };
    struct TColumnBrush {
        TColor Color = clWindow;
        bool HasBrush = false; // else the Color brush stands for it
    };
    struct TRowEntry {
        TdxTreeListNode* Node = nullptr;
        bool Selected = false;
        int Height = 0;
        int LevelSlots = 0;
        int StateIndex = -1;
        int IndentWidth = 0;
        int LineCount = 1;
        int PreviewHeight = 0; // the preview's text lines; its part of the row is 2 more
        int FooterCount = 0;
        int FooterHeight = 0;
        std::size_t FooterBegin = 0; // its footers' parents in FooterParents
    };
    struct TBrushes {
        TColor Band, Header, GroupNode, Color, Highlight, TreeLine, HideSelection, RowFooter,
            FixedBandLine;
    };

    TPaintPass(TCustomdxTreeListControl& list, TCanvas& canvas);
    ~TPaintPass() = default;
    TPaintPass(const TPaintPass&) = delete;
    TPaintPass& operator=(const TPaintPass&) = delete;

    void Run();

    // Areas
    void PaintPanels();
    void PaintOptionalAreas();
    void PaintIndicatorCells();
    void PaintFooter();
    void PaintNewItemRow();
    void PaintEmptyAreas();
    // Rows
    void PaintRows();
    void PaintIndent(const TRowEntry& row, int y);
    void PaintTreeLines(const TRowEntry& row, int y);
    void PaintExpandButton(const TRowEntry& row, const TRect& slot, int y);
    void PaintCells(const TRowEntry& row, int y);
    void PaintPreview(const TRowEntry& row, const TRect& area, TColor brush, TColor text);
    void PaintRowFooters(const TRowEntry& row, int top);
    void PaintFooterCells(const TRect& line, int cellsTop, int cellsLeft, TdxTreeListNode* node,
                          TColor textColor);
    bool CellSelected(const TRowEntry& row, int column) const;
    void GetCellColors(TdxTreeListNode* node, bool selected, int item, TColor& background,
                       TColor& text, TColor& brush) const;
    void DrawFocusRectangle(const TRect& r);
    bool FocusRectAllowed() const;
    void DrawGrid();
    TColor LevelColor(int level) const;
    bool OutlookParent(const TdxTreeListNode* node) const {
        return List.FPaintStyle == psOutlook && node && node->HasChildren();
    }

    int Shift(bool scrolls) const { return scrolls ? LeftCoord : 0; }
    // Where the row's own tree level starts: its lines (grid line, outline) start there.
    int TreeLineLeft(const TRowEntry& row) const { return SlotsLeft + row.Node->Level() * kIndent; }

    TCustomdxTreeListControl& List;
    TCanvas& Canvas;
    TClipScope Clip;
    // A copy: handlers called during the pass may drop and rebuild the list's layout.
    const TLayoutLists Layout;
    TBrushes Brushes{};
    std::vector<TColumnBrush> ColumnBrushes; // one per header item
    std::vector<bool> BandScrolls;           // per visible band position
    std::vector<THeaderItem> Items;
    std::vector<TRowEntry> Rows;
    std::vector<TdxTreeListNode*> FooterParents; // the parents each row's footers close
    std::vector<TPoint> GridPoints;
    std::vector<int> GridCounts;

    int LeftCoord = 0;
    bool FixedLeft = false, FixedRight = false; // the first / last visible band is fixed
    bool FirstBandScrolls = true;
    int IndentLeft = 0; // where the indent of the rows starts, scrolled with the first band
    int SlotsLeft = 0;  // where level slot 0 starts (one indent left of it without the root)
    bool HasFocus = false;
    bool NewItemRowActive = false;
    TdxTreeListNode* FocusedNode = nullptr;
    int FocusedColumn = 0;
    int Separator = 0; // the grid line under each row
    TRect Client, BandPanel, HeaderPanel, NewItemRow, RowsArea, Indicator, Footer, EmptyRight,
        EmptyBelow;
    int ColumnsRight = 0;   // the columns' right edge (inclusive)
    int FirstBandRight = 0; // right edge of the first band's part of the rows
    int RowsBottom = 0;     // under the last row entry (may lie below the rows area)
    TColor GridColor = clBtnShadow;
};

void TCustomdxTreeListControl::PaintControl(TCanvas& canvas) {
    // The paint lock nests; the marks of an interaction leave on the outermost entry only.
    struct TPaintLock {
        explicit TPaintLock(TCustomdxTreeListControl& list) : List(list) {
            if (List.FPaintLockCount++ == 0)
                List.HideInteractionMarks();
        }
        ~TPaintLock() {
            if (--List.FPaintLockCount == 0)
                List.ShowInteractionMarks();
        }
        TCustomdxTreeListControl& List;
    } lock(*this);
    TPaintPass pass(*this, canvas);
    pass.Run();
}

TCustomdxTreeListControl::TPaintPass::TPaintPass(TCustomdxTreeListControl& list, TCanvas& canvas)
    : List(list), Canvas(canvas), Clip(canvas), Layout(list.Layout()) {
    LeftCoord = List.PaintLeftCoord();
    HasFocus = List.PaintHasFocus();
    FocusedNode = List.PaintFocusedNode();
    FocusedColumn = List.PaintFocusedColumn();
    NewItemRowActive = List.PaintNewItemRowActive();
    Separator = List.FShowGrid ? List.FRowSeparatorLineWidth : 0;
    GridColor = List.FGridLineColor == clNone ? clBtnShadow : List.FGridLineColor;

    const TdxTreeListBands& bands = *List.FBands;
    const std::size_t bandCount = Layout.Bands.size();
    // Fixed bands as the layout places them: the first one fixed left, the last one fixed right.
    FixedLeft = bandCount > 0 && bands.Items(Layout.Bands[0].Band)->Fixed() == bfLeft;
    FixedRight = bandCount > (FixedLeft ? 1u : 0u) &&
                 bands.Items(Layout.Bands.back().Band)->Fixed() == bfRight;
    for (std::size_t p = 0; p < bandCount; ++p)
        BandScrolls.push_back(!((p == 0 && FixedLeft) || (p + 1 == bandCount && FixedRight)));
    FirstBandScrolls = bandCount == 0 || BandScrolls[0];

    // Areas.
    Client = List.ClientRect();
    const int indicator = List.IndicatorWidth();
    const THeights& h = List.FHeights;
    BandPanel = {Client.Left + indicator, Client.Top, Client.Right, Client.Top + h.BandPanel};
    HeaderPanel = {Client.Left + indicator, BandPanel.Bottom, Client.Right,
                   BandPanel.Bottom + h.HeaderPanel};
    NewItemRow = {Client.Left, HeaderPanel.Bottom, Client.Right, HeaderPanel.Bottom + h.NewItemRow};
    RowsArea = {Client.Left + indicator, NewItemRow.Bottom, Client.Right,
                std::max(NewItemRow.Bottom, Client.Bottom - h.Footer)};
    Indicator = {Client.Left, RowsArea.Top, Client.Left + indicator, RowsArea.Bottom};
    Footer = {Client.Left, RowsArea.Bottom, Client.Right, RowsArea.Bottom + h.Footer};
    IndentLeft = RowsArea.Left - Shift(FirstBandScrolls);
    SlotsLeft = IndentLeft - (List.FPaintStyle == psStandard && !List.FShowRoot ? kIndent : 0);
    const int columnsEnd = IndentLeft + Layout.TotalWidth;
    ColumnsRight = columnsEnd - 1;
    if (FixedRight)
        ColumnsRight = std::min(ColumnsRight, RowsArea.Right - 1);
    EmptyRight = {std::max(columnsEnd, BandPanel.Left), BandPanel.Top, Client.Right,
                  RowsArea.Bottom};
    if (EmptyRight.Left >= Client.Right)
        EmptyRight = {};
    FirstBandRight = bandCount > 0 ? IndentLeft + Layout.Bands[0].Width : RowsArea.Left;

    // Brushes.
    Brushes.Band = List.FBandColor;
    Brushes.Header = List.FHeaderColor;
    Brushes.GroupNode = List.FGroupNodeColor;
    Brushes.Color = List.Color();
    Brushes.Highlight = List.FHighlightColor;
    Brushes.TreeLine = List.FTreeLineColor;
    Brushes.HideSelection = List.FHideSelectionColor;
    Brushes.RowFooter = List.FRowFooterColor;
    Brushes.FixedBandLine = List.FFixedBandLineColor;

    // Header items and the column brush table, in layout order.
    for (std::size_t p = 0; p < bandCount; ++p) {
        const TBandLayout& band = Layout.Bands[p];
        const bool scrolls = BandScrolls[p];
        for (const THeaderRow& row : band.Rows)
            for (std::size_t i = 0; i < row.Columns.size(); ++i) {
                const int c = row.Columns[i];
                THeaderItem item;
                item.Column = c;
                item.BandPosition = static_cast<int>(p);
                // The layout scrolled by the list's LeftCoord; the pass scrolls by its own.
                item.UnscrolledLeft =
                    Layout.ColumnLefts[std::size_t(c)] + (scrolls ? List.FLeftCoord : 0);
                item.Left = item.UnscrolledLeft - Shift(scrolls);
                item.Right = item.Left + Layout.ColumnWidths[std::size_t(c)];
                item.RowIndex = Layout.ColumnRowPositions[std::size_t(c)];
                item.RowSpan = std::max(1, List.HeaderRowSpan(Layout, c));
                item.LeftEdge = p == 0 && i == 0;
                item.RightEdge = p + 1 == bandCount && i + 1 == row.Columns.size();
                Items.push_back(item);
                const TColor color = List.FColumns[std::size_t(c)]->Color();
                ColumnBrushes.push_back(
                    {color, Canvas.ToRGB(color) != Canvas.ToRGB(Brushes.Color)});
            }
    }

    // Row entries from the top node until the rows area is full.
    int y = RowsArea.Top;
    for (TdxTreeListNode* node = List.PaintTopNode(); node && y < RowsArea.Bottom;
         node = node->GetNextRow()) {
        TRowEntry row;
        row.Node = node;
        row.Selected = List.PaintNodeSelected(node);
        row.Height = List.NodeHeight(node);
        row.LevelSlots = List.LevelSlots(node);
        row.StateIndex = List.FStateImages ? List.GetNodeStateIndex(node) : -1;
        row.IndentWidth = List.IndentWidth(row.LevelSlots, row.StateIndex);
        row.LineCount = List.RowLineCount(node);
        row.PreviewHeight = List.PreviewLineCount(node) * h.PreviewText;
        row.FooterBegin = FooterParents.size();
        row.FooterCount = List.CollectRowFooters(node, &FooterParents);
        row.FooterHeight = row.FooterCount * h.RowFooter;
        Rows.push_back(row);
        y += row.Height;
    }
    RowsBottom = y;
    EmptyBelow = {Client.Left, std::min(RowsBottom, RowsArea.Bottom), ColumnsRight + 1,
                  RowsArea.Bottom};
}

void TCustomdxTreeListControl::TPaintPass::Run() {
    PaintPanels();
    PaintOptionalAreas();
    PaintRows();
}

// =============================================================================================
// 3. areas

// Plain panels of the right size until the header painter exists; they end where the empty
// area right of the columns starts.
void TCustomdxTreeListControl::TPaintPass::PaintPanels() {
    const int panelRight = EmptyRight.IsEmpty() ? Client.Right : EmptyRight.Left;
    TRect band = BandPanel;
    band.Right = panelRight;
    TRect header = HeaderPanel;
    header.Right = panelRight;
    if (Canvas.RectVisible(band))
        Fill(Canvas, band, Brushes.Band);
    if (Canvas.RectVisible(header))
        Fill(Canvas, header, Brushes.Header);
    if (Indicator.Width() > 0) {
        Fill(Canvas, {Client.Left, BandPanel.Top, BandPanel.Left, BandPanel.Bottom}, Brushes.Band);
        Fill(Canvas, {Client.Left, HeaderPanel.Top, HeaderPanel.Left, HeaderPanel.Bottom},
             Brushes.Header);
    }
}

// New item row, indicator column and footer panel; each is taken out of the clip so
// that the rows cannot overwrite it.
void TCustomdxTreeListControl::TPaintPass::PaintOptionalAreas() {
    if (!NewItemRow.IsEmpty() && Canvas.RectVisible(NewItemRow)) {
        PaintNewItemRow();
        Canvas.ExcludeClipRect(NewItemRow);
    }
    if (!Indicator.IsEmpty() && Canvas.RectVisible(Indicator)) {
        Fill(Canvas, Indicator, Brushes.Header);
        PaintIndicatorCells();
        Canvas.ExcludeClipRect(Indicator);
    }
    if (!Footer.IsEmpty() && Canvas.RectVisible(Footer)) {
        PaintFooter();
        Canvas.ExcludeClipRect(Footer);
    }
}

// The frame takes what the layout added to the footer's height for the look: the standard
// look a window frame and a raised edge, the flat looks a sunken top line (lfFlat also a
// raised edge), so that the footer rows fit inside exactly.
void TCustomdxTreeListControl::TPaintPass::PaintFooter() {
    Fill(Canvas, Footer, Brushes.Header);
    TRect inner = Footer;
    if (List.FLookAndFeel == lfStandard) {
        Canvas.Brush().SetColor(clWindowFrame);
        Canvas.FrameRect(inner);
        inner = inner.Inflate(-1, -1);
        Canvas.DrawEdge(inner, BDR::RaisedInner, BF::Rect | BF::Adjust);
    } else {
        Canvas.DrawEdge(inner, BDR::SunkenOuter, BF::Top | BF::Adjust);
        if (List.FLookAndFeel == lfFlat)
            Canvas.DrawEdge(inner, BDR::RaisedInner, BF::Rect | BF::Adjust);
    }
    if (List.OnIsExistFooterCell && !inner.IsEmpty())
        PaintFooterCells(inner, inner.Top, INT_MIN, nullptr, List.Font().Color());
}

// One raised button per row; the focused row's carries a right-pointing mark.
void TCustomdxTreeListControl::TPaintPass::PaintIndicatorCells() {
    TClipScope indicatorClip(Canvas);
    Canvas.IntersectClipRect(Indicator);
    int y = Indicator.Top;
    for (const TRowEntry& row : Rows) {
        TRect cell{Indicator.Left, y, Indicator.Right, y + row.Height};
        Canvas.DrawEdge(cell, BDR::RaisedInner, BF::Rect);
        if (row.Node == FocusedNode) {
            // A triangle 4 pixels deep and 7 high, its point on the row's middle.
            const int left = cell.Left + 4;
            const int middle = y + row.Height / 2;
            for (int k = 0; k < 4; ++k)
                Fill(Canvas, {left + k, middle - 3 + k, left + k + 1, middle + 4 - k}, clBlack);
        }
        y += row.Height;
    }
}

// The row where a new node is typed: an indicator cell, the indent, one empty cell per column
// (DrawCell kind 2, no node), then a separator strip in the header colour.
void TCustomdxTreeListControl::TPaintPass::PaintNewItemRow() {
    const int rowHeight = List.FHeights.Row;
    const int headerRows = List.FHeaderPanelRowCount;
    const TRect row{NewItemRow.Left, NewItemRow.Top, NewItemRow.Right,
                    NewItemRow.Top + rowHeight * headerRows};
    const TRect separator{NewItemRow.Left, row.Bottom, NewItemRow.Right, NewItemRow.Bottom};
    Fill(Canvas, row, Brushes.Color);
    if (Indicator.Width() > 0) {
        TRect cell{Client.Left, row.Top, Indicator.Right, row.Bottom};
        Fill(Canvas, cell, Brushes.Header);
        Canvas.DrawEdge(cell, BDR::RaisedInner, BF::Rect);
    }
    // The indent of a node at the top level without children or a state image.
    const int indentWidth = List.IndentWidth(List.FPaintStyle == psStandard ? 1 : 0, -1);
    const int indentRight = IndentLeft + indentWidth;
    const bool rowSelect =
        List.FOptions.Contains(aoRowSelect) || List.FOptionsEx.Contains(aoInvertSelect);
    {
        TClipScope rowClip(Canvas);
        Canvas.IntersectClipRect({RowsArea.Left, row.Top, RowsArea.Right, row.Bottom});
        for (std::size_t i = 0; i < Items.size(); ++i) {
            const THeaderItem& item = Items[i];
            int cellLeft = item.Left;
            if (item.BandPosition == 0 && item.UnscrolledLeft - RowsArea.Left < indentWidth)
                cellLeft = std::max(cellLeft, indentRight);
            if (cellLeft >= item.Right)
                continue;
            const int top = row.Top + item.RowIndex * rowHeight;
            TRect cell{cellLeft, top, item.Right,
                       item.RowIndex + item.RowSpan >= headerRows ? row.Bottom
                                                                  : top + item.RowSpan * rowHeight};
            if (List.FShowGrid) {
                --cell.Right;
                Fill(Canvas, {cell.Right, cell.Top, cell.Right + 1, cell.Bottom}, GridColor);
            }
            if (cell.IsEmpty() || !Canvas.RectVisible(cell))
                continue;
            TColor background = 0, text = 0, brush = 0;
            GetCellColors(nullptr, false, static_cast<int>(i), background, text, brush);
            const bool focusedCell =
                HasFocus && NewItemRowActive && (rowSelect || item.Column == FocusedColumn);
            List.DrawCell(Canvas, cell, ColumnBrushes[i].Color, ColumnBrushes[i].Color,
                          item.RightEdge, item.LeftEdge, 2, item.RowSpan > 1, brush, text,
                          background, focusedCell, false, item.Column, nullptr, nullptr);
        }
        if (NewItemRowActive && FocusRectAllowed())
            DrawFocusRectangle({indentRight, row.Top, ColumnsRight + 1, row.Bottom});
    }
    if (!separator.IsEmpty()) {
        Fill(Canvas, separator, Brushes.Header);
        TRect edge = separator;
        Canvas.DrawEdge(edge, List.FLookAndFeel == lfStandard ? BDR::RaisedInner : BDR::SunkenOuter,
                        BF::Top | BF::Bottom);
    }
}

void TCustomdxTreeListControl::TPaintPass::PaintEmptyAreas() {
    for (const TRect& area : {EmptyRight, EmptyBelow})
        if (!area.IsEmpty() && Canvas.RectVisible(area))
            Fill(Canvas, area, Brushes.Color);
}

// =============================================================================================
// 4. indent pass

void TCustomdxTreeListControl::TPaintPass::PaintRows() {
    PaintEmptyAreas();
    if (RowsArea.IsEmpty() || !Canvas.RectVisible(RowsArea) || Layout.Bands.empty() || Rows.empty())
        return;
    {
        TClipScope indentClip(Canvas);
        Canvas.IntersectClipRect({RowsArea.Left, RowsArea.Top, FirstBandRight, RowsArea.Bottom});
        int y = RowsArea.Top;
        for (const TRowEntry& row : Rows) {
            PaintIndent(row, y);
            y += row.Height;
        }
    }
    Canvas.Font().Assign(List.Font());
    Canvas.SetTextColor(List.Font().Color());
    int y = RowsArea.Top;
    for (const TRowEntry& row : Rows) {
        PaintCells(row, y);
        y += row.Height;
    }
    DrawGrid();
}

void TCustomdxTreeListControl::TPaintPass::PaintIndent(const TRowEntry& row, int y) {
    List.BeforePaintNode(row.Node);
    const TRect indent{IndentLeft, y, IndentLeft + row.IndentWidth, y + row.Height};
    if (indent.IsEmpty() || !Canvas.RectVisible(indent))
        return;
    const bool outlook = List.FPaintStyle == psOutlook;
    const TColor brush = outlook ? Brushes.GroupNode : Brushes.Color;
    const bool hasChildren = row.Node->HasChildren();
    // The row footers under the row are painted with them, across the indent.
    const int rowBottom = y + row.Height - row.FooterHeight;

    // Slots from the node's own level on leave the row's last line to the grid, which draws
    // it from there; the slots of the ancestors run the full height.
    const int level = row.Node->Level();
    const bool parentStrip = hasChildren && !(!outlook && List.FShowGrid);
    int slotsRight = SlotsLeft;
    for (int i = 0; i < row.LevelSlots; ++i) {
        TRect slot{SlotsLeft + i * kIndent, y, SlotsLeft + (i + 1) * kIndent - 1, rowBottom};
        if (outlook && !List.FShowGrid && hasChildren && i + 1 == row.LevelSlots)
            ++slot.Top;
        const bool slotsTouch = !outlook && !List.FShowGrid;
        if (slotsTouch)
            ++slot.Right;
        else if (i >= level)
            slot.Bottom -= Separator;
        Fill(Canvas, slot, outlook && i <= level ? LevelColor(i) : brush);
        slotsRight = slot.Right;
        // The pixel column between two slots, unless the parent's strip below covers it.
        if (!slotsTouch && !(parentStrip && i + 1 == row.LevelSlots))
            Fill(Canvas, {slot.Right, y, slot.Right + 1, slot.Bottom}, brush);
        if (hasChildren && i + 1 == row.LevelSlots && List.FShowButtons &&
            List.FPaintStyle == psStandard)
            PaintExpandButton(row, {slot.Left, y, slot.Left + kIndent, rowBottom}, y);
    }
    if (!outlook && List.FShowLines)
        PaintTreeLines(row, y);
    if (parentStrip)
        Fill(Canvas, {slotsRight, y, slotsRight + 1, rowBottom - Separator}, brush);

    int x = SlotsLeft + row.LevelSlots * kIndent;
    if (row.StateIndex != -1 && List.FStateImages) {
        const TRect area{x, y, x + List.FStateImages->Width(), rowBottom - Separator};
        Fill(Canvas, area, brush);
        DrawCentredImage(Canvas, *List.FStateImages, area, row.StateIndex);
        x = area.Right;
    }
    if (List.FImages) {
        const TRect area{x, y, x + List.FImages->Width(), rowBottom - Separator};
        Fill(Canvas, area, brush);
        const int index =
            row.Selected ? List.GetNodeSelectedIndex(row.Node) : List.GetNodeImageIndex(row.Node);
        DrawCentredImage(Canvas, *List.FImages, area, index);
    }
}

// 1-pixel lines through the middle of the slots: solid, or dotted in the list's colour and the
// tree-line colour.
void TCustomdxTreeListControl::TPaintPass::PaintTreeLines(const TRowEntry& row, int y) {
    const TColorRef line = Canvas.ToRGB(Brushes.TreeLine);
    const TColorRef back = Canvas.ToRGB(Brushes.Color);
    const bool dotted = List.FTreeLineStyle == tlDot;
    const bool swap = ((RowsArea.Left ^ RowsArea.Top) & 1) != 0;
    const auto stroke = [&](const TRect& r) {
        if (r.IsEmpty())
            return;
        if (dotted)
            Canvas.RequireDevice().FillChecker(r, swap ? back : line, swap ? line : back);
        else
            Fill(Canvas, r, Brushes.TreeLine);
    };
    TdxTreeListNode* node = row.Node;
    const int level = node->Level();
    const int middle = y + row.Height / 2;
    const int bottom = y + row.Height;
    const bool button = List.FShowButtons && node->HasChildren();
    const int slotLeft = TreeLineLeft(row);
    const int slotMiddle = slotLeft + kIndent / 2;
    stroke({slotMiddle + (button ? 5 : 0), middle, slotLeft + kIndent, middle + 1});
    const bool firstOfList = node->GetPrevSibling() == nullptr && !node->Parent();
    const bool siblingFollows = node->GetNextSibling() != nullptr;
    const int top = firstOfList ? middle : y;
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
            const int x = SlotsLeft + ancestorLevel * kIndent + kIndent / 2;
            stroke({x, y, x + 1, bottom});
        }
}

void TCustomdxTreeListControl::TPaintPass::PaintExpandButton(const TRowEntry& row,
                                                             const TRect& slot, int y) {
    const int left = slot.Left + (slot.Width() - kExpandBox) / 2;
    const int top = y + row.Height / 2 - 4;
    const TRect box{left, top, left + kExpandBox, top + kExpandBox};
    Fill(Canvas, box.Inflate(-1, -1), Brushes.Color);
    Canvas.Brush().SetColor(clGrayText);
    Canvas.FrameRect(box);
    Fill(Canvas, {box.Left + 2, box.Top + 4, box.Right - 2, box.Top + 5}, clWindowText);
    if (!row.Node->Expanded())
        Fill(Canvas, {box.Left + 4, box.Top + 2, box.Left + 5, box.Bottom - 2}, clWindowText);
}

// =============================================================================================
// 5. cell pass

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
    if (selected && List.FHideSelection && !HasFocus)
        return false;
    return selected;
}

void TCustomdxTreeListControl::TPaintPass::GetCellColors(TdxTreeListNode* node, bool selected,
                                                         int item, TColor& background, TColor& text,
                                                         TColor& brush) const {
    if (!selected || (List.FHideSelection && !HasFocus)) {
        if (OutlookParent(node)) {
            background = LevelColor(node->Level());
            text =
                List.FGroupNodeTextColor == clNone ? List.Font().Color() : List.FGroupNodeTextColor;
            brush = background;
            return;
        }
        const TdxTreeListColumn* column =
            item >= 0 ? List.FColumns[std::size_t(Items[std::size_t(item)].Column)] : nullptr;
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
        text = List.FHighlightTextColor;
        brush = Brushes.Highlight;
    } else {
        background = Brushes.HideSelection;
        text = List.FHideSelectionTextColor;
        brush = Brushes.HideSelection;
    }
}

void TCustomdxTreeListControl::TPaintPass::PaintCells(const TRowEntry& row, int y) {
    const TdxTreeListOptions& o = List.FOptions;
    const bool rowSelect = o.Contains(aoRowSelect) || List.FOptionsEx.Contains(aoInvertSelect);
    const int rowHeight = List.FHeights.Row;
    const int headerRows = List.FHeaderPanelRowCount;
    const int rowBottom = y + row.Height;
    const int indentRight = IndentLeft + row.IndentWidth;
    const bool outlookOutline = OutlookParent(row.Node) && !List.FShowGrid;
    // From the top: the cells, the preview (after its grid line), the row's grid line, the
    // row footers.
    const bool previewGrid = List.FShowGrid && List.FShowPreviewGrid;
    const int footerTop = rowBottom - row.FooterHeight;
    const int separatorTop = footerTop - Separator;
    const int previewPart =
        row.PreviewHeight > 0 ? row.PreviewHeight + kPreviewMargin + (previewGrid ? 1 : 0) : 0;
    const int cellsBottom = separatorTop - previewPart;

    TColor rowBackground = 0, rowText = 0, rowBrush = 0;
    const bool multiSelect = o.Contains(aoMultiSelect);
    const bool rowSelected = row.Selected && (rowSelect || multiSelect) &&
                             (!NewItemRowActive || multiSelect) &&
                             !(List.FHideSelection && !HasFocus);
    GetCellColors(row.Node, rowSelected, -1, rowBackground, rowText, rowBrush);

    // Separator strips of fixed bands.
    if (FixedLeft) {
        const TBandLayout& first = Layout.Bands.front();
        const int right = first.Left + first.Width;
        Fill(Canvas, {right, y, right + List.FFixedBandLineWidth, rowBottom},
             Brushes.FixedBandLine);
    }
    if (FixedRight && Layout.Bands.size() > 1) {
        const TBandLayout& last = Layout.Bands.back();
        Fill(Canvas, {last.Left - List.FFixedBandLineWidth, y, last.Left, rowBottom},
             Brushes.FixedBandLine);
    }

    for (std::size_t i = 0; i < Items.size(); ++i) {
        const THeaderItem& item = Items[i];
        int cellLeft = item.Left;
        if (item.BandPosition == 0 && item.UnscrolledLeft - RowsArea.Left < row.IndentWidth)
            cellLeft = std::max(cellLeft, indentRight);
        if (cellLeft >= item.Right)
            continue;
        TRect cell{cellLeft, y + item.RowIndex * rowHeight, item.Right, 0};
        if (outlookOutline)
            ++cell.Top; // the row's top line is its outline
        // The last header line takes what the row has beyond its lines (wrapped text lines).
        const bool lastLine = item.RowIndex + item.RowSpan >= headerRows;
        cell.Bottom = lastLine ? cellsBottom : cell.Top + item.RowSpan * rowHeight;
        if (List.FShowGrid)
            --cell.Right; // the vertical grid line
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
                          focusedCell, selected, item.Column, row.Node, nullptr);
            if (!rowSelect && !NewItemRowActive && row.Node == FocusedNode &&
                item.Column == FocusedColumn && FocusRectAllowed())
                DrawFocusRectangle(cell);
        }
        if (List.FShowGrid) {
            // Down through the row's grid line, unless a preview lies in between.
            const bool toSeparator = lastLine && previewPart == 0;
            GridPoints.push_back({cell.Right, cell.Top});
            GridPoints.push_back({cell.Right, cell.Bottom + (toSeparator ? Separator : 0)});
            GridCounts.push_back(2);
        }
        if (!lastLine)
            Fill(
                Canvas,
                {cellLeft, y + (item.RowIndex + item.RowSpan) * rowHeight, item.Right, cellsBottom},
                rowBrush);
    }
    // Bands without columns.
    for (std::size_t p = 0; p < Layout.Bands.size(); ++p)
        if (const TBandLayout& band = Layout.Bands[p]; band.Rows.empty()) {
            const bool scrolls = BandScrolls[p];
            const int left = band.Left + (scrolls ? List.FLeftCoord : 0) - Shift(scrolls);
            Fill(Canvas, {std::max(left, indentRight), y, left + band.Width, footerTop}, rowBrush);
        }
    if (outlookOutline) {
        GridPoints.push_back({TreeLineLeft(row), y});
        GridPoints.push_back({ColumnsRight + 1, y});
        GridCounts.push_back(2);
    }
    if (previewPart > 0) {
        const int previewTop = cellsBottom + (previewGrid ? 1 : 0);
        if (previewGrid) {
            GridPoints.push_back({indentRight, cellsBottom});
            GridPoints.push_back({ColumnsRight + 1, cellsBottom});
            GridCounts.push_back(2);
        }
        PaintPreview(row, {indentRight, previewTop, ColumnsRight + 1, separatorTop}, rowBrush,
                     rowSelected ? rowText : List.FPreviewFont.Color());
    }
    if (List.FShowGrid) {
        GridPoints.push_back({TreeLineLeft(row), footerTop - 1});
        GridPoints.push_back({ColumnsRight + 1, footerTop - 1});
        GridCounts.push_back(2);
    }
    if (row.FooterCount > 0)
        PaintRowFooters(row, footerTop);

    // Row focus rectangle.
    if (rowSelect && !NewItemRowActive && row.Node == FocusedNode && FocusRectAllowed()) {
        // To the columns' right edge (the rows area's with a fixed right band), less the
        // grid line.
        const int grid = List.FShowGrid ? 1 : 0;
        TRect focus{indentRight, y, ColumnsRight + 1 - grid, separatorTop};
        if (List.FPaintStyle == psOutlook && !List.FShowGrid && row.Node->HasChildren())
            ++focus.Top;
        DrawFocusRectangle(focus);
    }
}

// The preview text in the preview font (the selection's text colour in a selected row),
// wrapped, cut with an ellipsis on the last line that fits.
void TCustomdxTreeListControl::TPaintPass::PaintPreview(const TRowEntry& row, const TRect& area,
                                                        TColor brush, TColor text) {
    if (area.IsEmpty() || !Canvas.RectVisible(area))
        return;
    Fill(Canvas, area, brush);
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
void TCustomdxTreeListControl::TPaintPass::PaintRowFooters(const TRowEntry& row, int top) {
    const int lineHeight = List.FHeights.RowFooter;
    const TColor indentBrush = List.FPaintStyle == psOutlook ? Brushes.GroupNode : Brushes.Color;
    const bool gridLine = List.FShowGrid && List.FShowPreviewGrid;
    int lineTop = top;
    for (int k = 0; k < row.FooterCount; ++k) {
        TdxTreeListNode* parent = FooterParents[row.FooterBegin + std::size_t(k)];
        const int lineBottom = lineTop + lineHeight;
        const int footerLeft = std::max(IndentLeft, SlotsLeft + (parent->Level() + 1) * kIndent);
        const TRect line{footerLeft, lineTop, ColumnsRight + 1, lineBottom};
        if (Canvas.RectVisible({IndentLeft, lineTop, line.Right, lineBottom})) {
            Fill(Canvas, {IndentLeft, lineTop, footerLeft, lineBottom}, indentBrush);
            Fill(Canvas, line, Brushes.RowFooter);
            if (List.OnIsExistRowFooterCell)
                PaintFooterCells(line, lineTop + 1, footerLeft, parent, List.FRowFooterTextColor);
        }
        if (gridLine) {
            GridPoints.push_back({footerLeft, lineBottom - 1});
            GridPoints.push_back({ColumnsRight + 1, lineBottom - 1});
            GridCounts.push_back(2);
        }
        lineTop = lineBottom;
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
    const int footerRow = List.FHeights.FooterRow;
    for (const THeaderItem& item : Items) {
        TdxTreeListColumn* column = List.FColumns[std::size_t(item.Column)];
        bool exists = false;
        if (node)
            List.OnIsExistRowFooterCell(&List, column, node, exists);
        else
            List.OnIsExistFooterCell(&List, column, exists);
        const int top = cellsTop + item.RowIndex * footerRow;
        const TRect cell{std::max(item.Left, cellsLeft), top, item.Right,
                         top + item.RowSpan * footerRow};
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
    return HasFocus ? !List.FOptions.Contains(aoHideFocusRect) : !List.FHideFocusRect;
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

void TCustomdxTreeListControl::DrawCell(TCanvas& canvas, const TRect& rect, TColor columnBrush,
                                        TColor columnColor, bool rightEdge, bool leftEdge,
                                        int cellKind, bool multiLine, TColor brush,
                                        TColor textColor, TColor backgroundColor, bool focusedCell,
                                        bool selected, int columnIndex, TdxTreeListNode* node,
                                        TBitmap* paintBitmap) {
    (void)paintBitmap;
    BeforePaintCell(node);
    try {
        PaintCellContent(canvas, rect, columnBrush, columnColor, rightEdge, leftEdge, cellKind,
                         multiLine, brush, textColor, backgroundColor, focusedCell, selected,
                         columnIndex, node);
    } catch (...) {
        AfterPaintCell(node);
        throw;
    }
    AfterPaintCell(node);
}

void TCustomdxTreeListControl::PaintCellContent(TCanvas& canvas, const TRect& rect,
                                                TColor columnBrush, TColor columnColor,
                                                bool rightEdge, bool leftEdge, int cellKind,
                                                bool multiLine, TColor brush, TColor textColor,
                                                TColor backgroundColor, bool focusedCell,
                                                bool selected, int columnIndex,
                                                TdxTreeListNode* node) {
    TdxTreeListColumn* column = FColumns[std::size_t(columnIndex)];
    TdxCellViewParams params;
    if (cellKind == 0)
        column->GetCellViewParams(node, params);
    else {
        params.Alignment = column->Alignment();
        params.VertAlignment = column->VertAlignment();
        params.Font = &column->Font();
    }
    // A column font of its own keeps its colour, except in the selection's colours.
    if (!selected && column->AssignedValues().Contains(cvFont))
        textColor = column->Font().Color();

    TdxTreeListCellViewData& data = FCellViewData;
    data.Brush = brush;
    data.Font = params.Font ? params.Font : &Font();
    data.BkColor = backgroundColor;
    data.TextColor = textColor;
    data.Alignment = params.Alignment;
    data.VertAlignment = params.VertAlignment;
    data.Text = params.Text;
    if (column->CharCase() != ecNormal)
        data.Text = ApplyCharCase(std::move(data.Text), column->CharCase());
    if (column->PasswordChar() != '\0')
        data.Text = MaskText(data.Text, column->PasswordChar());
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
    data.SelectionColor = focusedCell ? FHighlightColor : FHideSelectionColor;
    data.ColumnBrush = columnBrush;
    data.ColumnColor = columnColor;
    data.HotTrack = FOptionsEx.Contains(aoHotTrack) && node && node == PaintHotTrackNode();
    data.CellRect = {-2, -2, rect.Width() + 2, rect.Height() + 2};
    DrawEditText(canvas, rect, data);
    if (cellKind == 0 && FOptionsEx.Contains(aoAutoSearch) && node && node == PaintFocusedNode() &&
        columnIndex == PaintFocusedColumn())
        if (const int matched = PaintSearchMatchLength(); matched > 0)
            PaintSearchMatch(canvas, rect, data, matched);
}

// =============================================================================================
// 6. text output

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
        Fill(canvas, cell, data.Brush);
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
        Fill(canvas, {place.TextRect.Right, cell.Top, cell.Right, cell.Bottom}, data.Brush);
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
            canvas.Brush().SetColor(FAutoSearchColor == clNone ? inverted(data.BkColor)
                                                               : FAutoSearchColor);
            canvas.SetTextColor(FAutoSearchTextColor == clNone ? inverted(text)
                                                               : FAutoSearchTextColor);
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

// =============================================================================================
// 7. grid lines

// The colour of a tree level in the outlook style: GroupNodeColor unless OnGetLevelColor
// answers another.
TColor TCustomdxTreeListControl::TPaintPass::LevelColor(int level) const {
    TColor color = Brushes.GroupNode;
    if (List.OnGetLevelColor)
        List.OnGetLevelColor(&List, level, color);
    return color;
}

// Without the grid only the outlines of outlook parent rows are collected; they take the
// list's colour. With it, the columns' right edge runs down to the last row.
void TCustomdxTreeListControl::TPaintPass::DrawGrid() {
    if (List.FShowGrid && !Rows.empty()) {
        GridPoints.push_back({ColumnsRight, RowsArea.Top});
        GridPoints.push_back({ColumnsRight, std::min(RowsBottom, RowsArea.Bottom)});
        GridCounts.push_back(2);
    }
    if (GridCounts.empty())
        return;
    Canvas.Pen().SetColor(List.FShowGrid ? GridColor : Brushes.Color);
    Canvas.Pen().SetWidth(1);
    Canvas.Pen().SetStyle(TPenStyle::Solid);
    Canvas.PolyPolyline(GridPoints, GridCounts);
}

} // namespace dxtl
