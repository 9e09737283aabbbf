// A paint pass of a tree list and the canvas scopes it works with. Internal to treelist/: the
// pass is run by dxTLPaint.cpp (setup, areas, indent pass, grid), the header panel (band
// and header panels: dxTLHeaderPaint.cpp) and dxTLPaintCells.cpp (cell pass, cell colours); further
// painters (custom cells) join it here.
//
// Call flow: WM_PAINT -> TdxTreeList::Paint -> PaintControl: the paint lock (a scope), then a
// TPaintPass whose constructor takes the geometry (a copy of the layout), the brushes and the
// rows, and whose destructor restores the clip, so that happens also when a handler raises.
// Run: panels, optional areas (each excluded from the clip after painting), then the rows:
// empty areas, indent pass (clipped to the first band), cell pass (DrawCell -> text output),
// grid. The erase request paints nothing, so the pass must reach every pixel of the client
// area itself. "Brushes" are colours: the canvas fills with a colour and owns no brush objects.
#pragma once

#include "treelist/layout/dxTLGeometry.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace dxtl {

// Leaves the canvas clip as it was found, whatever happens in between.
class TClipScope {
public:
    explicit TClipScope(fw::TCanvas& canvas) : FCanvas(canvas), FToken(canvas.SaveClip()) {}
    ~TClipScope() { FCanvas.RestoreClip(FToken); }
    TClipScope(const TClipScope&) = delete;
    TClipScope& operator=(const TClipScope&) = delete;

private:
    fw::TCanvas& FCanvas;
    int FToken;
};

// Restores the canvas font after a painter that changed it.
class TFontScope {
public:
    explicit TFontScope(fw::TCanvas& canvas) : FCanvas(canvas) { FSaved.Assign(canvas.Font()); }
    ~TFontScope() { FCanvas.Font().Assign(FSaved); }
    TFontScope(const TFontScope&) = delete;
    TFontScope& operator=(const TFontScope&) = delete;

private:
    fw::TCanvas& FCanvas;
    fw::TFont FSaved;
};

// A solid fill; nothing for an empty rectangle.
void FillSolid(fw::TCanvas& canvas, const fw::TRect& r, fw::TColor color);
// The formatted text output's horizontal alignment flag.
unsigned AlignmentFormat(fw::TAlignment alignment);
// The platform's dotted focus rectangle, in the device colours it needs.
void DrawDottedFocusRect(fw::TCanvas& canvas, const fw::TRect& r);

struct TCustomdxTreeListControl::TPaintPass {
    struct TColumnBrush {
        fw::TColor Color = fw::clWindow;
        bool HasBrush = false; // else the Color brush stands for it
    };
    // A row to paint: its geometry and what the pass reads of its state.
    struct TRowEntry : TdxRowGeometry {
        bool Selected = false;
        std::size_t FooterBegin = 0; // its footers' parents in FooterParents
    };
    struct TBrushes {
        fw::TColor Band, Header, GroupNode, Color, Highlight, TreeLine, HideSelection, RowFooter,
            FixedBandLine, Panel;
    };

    TPaintPass(TCustomdxTreeListControl& list, fw::TCanvas& canvas);
    TPaintPass(const TPaintPass&) = delete;
    TPaintPass& operator=(const TPaintPass&) = delete;

    void Run();

    // Band and header panels: the header panel's (dxTLHeaderPaint.cpp)
    void PaintPanels();
    // Off-screen surface for what is composed before one transfer (header buttons, graphic
    // cells); made on first use, sized by whoever uses it, freed with the pass.
    fw::TBitmap& PaintBitmap();
    // Areas (dxTLPaint.cpp)
    void PaintOptionalAreas();
    void PaintIndicatorCells();
    void PaintFooter();
    void PaintNewItemRow();
    void PaintEmptyAreas();
    // Rows: the indent pass (dxTLPaint.cpp)
    void PaintRows();
    void PaintIndent(const TRowEntry& row);
    void PaintTreeLines(const TRowEntry& row);
    void PaintExpandButton(const TRowEntry& row);
    // Rows: the cell pass (dxTLPaintCells.cpp)
    void PaintCells(const TRowEntry& row);
    void PaintPreview(const TRowEntry& row, fw::TColor brush, fw::TColor text);
    void PaintRowFooters(const TRowEntry& row);
    void PaintFooterCells(const fw::TRect& line, int cellsTop, int cellsLeft, TdxTreeListNode* node,
                          fw::TColor textColor);
    bool CellSelected(const TRowEntry& row, int column) const;
    void GetCellColors(TdxTreeListNode* node, bool selected, int item, fw::TColor& background,
                       fw::TColor& text, fw::TColor& brush) const;
    void DrawFocusRectangle(const fw::TRect& r);
    bool FocusRectAllowed() const;
    // Grid (dxTLPaint.cpp)
    void AddGridLine(fw::TPoint from, fw::TPoint to);
    void DrawGrid();
    fw::TColor LevelColor(int level) const;
    bool OutlookParent(const TdxTreeListNode* node) const {
        return List.PaintStyle() == psOutlook && node && node->HasChildren();
    }
    const std::vector<TdxHeaderItem>& Items() const { return Geometry.Layout().HeaderItems; }

    TCustomdxTreeListControl& List;
    fw::TCanvas& Canvas;
    TClipScope Clip;
    const TGeometry Geometry;
    const TdxTreeListAreas& Areas;
    TBrushes Brushes{};
    std::vector<TColumnBrush> ColumnBrushes; // one per header item
    std::vector<TRowEntry> Rows;
    std::vector<TdxTreeListNode*> FooterParents; // the parents each row's footers close
    std::vector<fw::TPoint> GridPoints;
    std::vector<int> GridCounts;
    std::unique_ptr<fw::TBitmap> Bitmap;

    bool HasFocus = false;
    bool NewItemRowActive = false;
    TdxTreeListNode* FocusedNode = nullptr;
    int FocusedColumn = 0;
    int Separator = 0;    // the grid line under each row
    int RowsBottom = 0;   // under the last row entry (may lie below the rows area)
    fw::TRect EmptyBelow; // under the rows, left of the empty area right of the columns
    fw::TColor GridColor = fw::clBtnShadow;
};

} // namespace dxtl
