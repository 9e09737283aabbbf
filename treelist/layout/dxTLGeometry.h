// Where everything of a tree list lies for one view position: the areas, the bands and header
// items at a horizontal position, the shown rows stacked from a top row, and the parts of a row
// (level slots, expand button, state and node images, cells, preview, row footers). Internal to
// treelist/.
//
// This is the one source of that geometry: the paint pass draws what it answers, and the
// list's rectangle queries, its hit test and its scrolling ask it instead of computing their
// own copy. Client coordinates throughout.
#pragma once

#include "treelist/dxTLControl.h"

#include <vector>

namespace dxtl {

// One shown row. From the top: the cells, the preview text, the grid separator, the row
// footers. The indent at the left holds the level slots, one per tree level (the last one with
// the expand button of a parent), then the state image and the node image.
struct TdxRowGeometry {
    TdxTreeListNode* Node = nullptr;
    int Top = 0;
    int Height = 0;
    int LevelSlots = 0;
    int StateIndex = -1; // -1: no state image
    int LineCount = 1;   // text lines of the cells
    int PreviewHeight = 0;
    int FooterCount = 0;
    // Vertical parts.
    int CellsBottom = 0;
    int PreviewTop = 0; // the preview runs to SeparatorTop; none when PreviewHeight is 0
    int SeparatorTop = 0;
    int FooterTop = 0;
    // Horizontal parts of the indent.
    int IndentLeft = 0;
    int SlotsLeft = 0; // where level slot 0 starts
    int LevelLeft = 0; // where the row's own level slot starts: its tree lines start there
    int IndentRight = 0;
    fw::TRect ExpandButton; // the slot the button sits in; empty without one
    fw::TRect StateImage;   // empty without a state image
    fw::TRect NodeImage;    // empty without node images
    // An outlook-style parent without the grid: its top pixel line is its outline.
    bool Outline = false;

    int Bottom() const { return Top + Height; }
    int IndentWidth() const { return IndentRight - IndentLeft; }
    // Level slot `i`, one indent step wide, from the row's top to its footers.
    fw::TRect Slot(int i) const;
};

class TCustomdxTreeListControl::TGeometry {
public:
    // A copy of the list's layout (handlers called while the geometry is in use may rebuild
    // the list's own), with the scrolling bands moved left by `leftCoord`.
    TGeometry(const TCustomdxTreeListControl& list, int leftCoord);

    const TdxLayoutLists& Layout() const { return FLayout; }
    const TdxTreeListAreas& Areas() const { return FLayout.Areas; }
    const TdxLayoutHeights& Heights() const { return FHeights; }
    int LeftCoord() const { return FLeftCoord; }
    int Shift(bool scrolls) const { return scrolls ? FLeftCoord : 0; }

    // --- Bands and header items --------------------------------------------------------------
    int BandLeft(int position) const;
    // The band's caption cell in the band panel.
    fw::TRect BandRect(int position) const;
    int ItemLeft(const TdxHeaderItem& item) const { return item.Left - Shift(item.Scrolls); }
    int ItemRight(const TdxHeaderItem& item) const { return ItemLeft(item) + item.Width; }
    // The header item of a shown column; none otherwise.
    const TdxHeaderItem* ItemOfColumn(int column) const;
    // The item's header in the header panel.
    fw::TRect HeaderRect(const TdxHeaderItem& item) const;
    // Where bands and headers show: scrolling ones between the fixed bands (the whole width
    // without them), fixed ones in the client width. Their rectangles cut to that; empty for
    // one out of view.
    fw::TRect VisiblePart(const fw::TRect& r, bool scrolls) const;
    fw::TRect BandVisibleRect(int position) const;
    fw::TRect HeaderVisibleRect(const TdxHeaderItem& item) const;
    // Under a header of its band's last used line that spans fewer lines than the header panel
    // has, down to the panel's bottom; empty otherwise.
    fw::TRect HeaderGapRect(const TdxHeaderItem& item) const;
    // A band's part of the header panel (one piece for a band without columns).
    fw::TRect BandHeaderRect(int position) const;
    // The strip that sets a band fixed left (or right) off from the others, from `top` to
    // `bottom`; empty without such a band.
    fw::TRect FixedBandLine(bool right, int top, int bottom) const;
    // The corner cells over the indicator column left of the band and header panels (empty
    // without the indicator).
    fw::TRect BandButtonRect() const;
    fw::TRect HeaderButtonRect() const;
    // The part of an item's cell (or any strip of its column) that shows: a scrolling band's
    // between the fixed bands. Empty when none shows.
    fw::TRect VisibleCell(const TdxHeaderItem& item, const fw::TRect& cell) const;
    // The item's line is the last header line: its cells take the rest of the row's cell part.
    bool LastLine(const TdxHeaderItem& item) const;

    // --- Horizontal extent of the rows ------------------------------------------------------
    // Where the rows' indent starts: it scrolls with the first band.
    int IndentLeft() const { return FIndentLeft; }
    // Where level slot 0 starts: one step left of the indent without the root.
    int SlotsLeft() const { return FSlotsLeft; }
    // The columns' right edge (inclusive; within the rows area with a band fixed right).
    int ColumnsRight() const { return FColumnsRight; }
    // The right edge of the first band's part of the rows (the indent's clip).
    int FirstBandRight() const { return FFirstBandRight; }
    // Right of the scrolling bands' columns (up to a band fixed right), from the band panel down
    // through the rows; empty when none.
    fw::TRect EmptyRight() const { return FEmptyRight; }

    // --- Rows ---------------------------------------------------------------------------------
    // The rows shown from `top` down the rows area: visit(row) for each row that starts above
    // the area's bottom until visit answers false. The parents of the rows' footers are
    // appended to `footerParents` when given. Answers the y under the last row visited.
    template <class TVisit>
    int ForEachRow(TdxTreeListNode* top, TVisit&& visit,
                   std::vector<TdxTreeListNode*>* footerParents = nullptr) const {
        long long end = Areas().Rows.Top;
        FList.StackRows(
            top, Areas().Rows.Top, Areas().Rows.Bottom,
            [&](TdxTreeListNode* node, int rowTop) {
                const int height = FList.NodeHeight(node);
                return visit(Row(node, rowTop, height, footerParents)) ? height : -1;
            },
            &end);
        return static_cast<int>(end);
    }
    // The parts of the node's row at `top`, `height` high (NodeHeight).
    TdxRowGeometry Row(TdxTreeListNode* node, int top, int height,
                       std::vector<TdxTreeListNode*>* footerParents = nullptr) const;
    // The indent width of a top-level row without children or a state image (the new item
    // row's).
    int PlainIndentWidth() const;
    // The item's cell in a row: false when the column lies wholly inside the row's indent.
    // Otherwise `cell` is the column's part right of the indent on the item's line, down to
    // the row's cell bottom on the last line, less the vertical grid line.
    bool CellRect(const TdxRowGeometry& row, const TdxHeaderItem& item, fw::TRect& cell) const;
    // The same for a row of cells from `top` to `cellsBottom` after an indent ending at
    // `indentRight`.
    bool CellRect(const TdxHeaderItem& item, int indentRight, int top, int cellsBottom,
                  fw::TRect& cell) const;
    // The preview text's part of the row (empty when it has none).
    fw::TRect PreviewRect(const TdxRowGeometry& row) const;
    // Row footer line `k` of the row, closing `parent`: from the parent's children's level to
    // the columns' right edge.
    fw::TRect RowFooterRect(const TdxRowGeometry& row, int k, const TdxTreeListNode* parent) const;
    // The item's footer cell in a footer line whose cells start at `cellsTop` and not left of
    // `cellsLeft`.
    fw::TRect FooterCellRect(const TdxHeaderItem& item, int cellsTop, int cellsLeft) const;

private:
    const TCustomdxTreeListControl& FList;
    const TdxLayoutLists FLayout;
    const TdxLayoutHeights FHeights;
    const int FLeftCoord;
    int FIndentLeft = 0;
    int FSlotsLeft = 0;
    int FColumnsRight = 0;
    int FFirstBandRight = 0;
    // The part of the width where the scrolling bands show.
    int FScrollLeft = 0;
    int FScrollRight = 0;
    fw::TRect FEmptyRight;
};

} // namespace dxtl
