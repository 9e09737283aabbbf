// The derived layout of a tree list: heights, the band and header layout, column places, the
// header items and the control's areas. Internal to treelist/: the control computes it once per
// layout change (dxTLLayout.cpp); its geometry, painter and hit test read it.
#pragma once

#include "framework/Types.h"

#include <vector>

namespace dxtl {

// Computed heights.
struct TdxLayoutHeights {
    int BandText = 0;
    int BandPanel = 0;
    int HeaderRow = 0;
    int HeaderPanel = 0;
    int Text = 0;
    int MinRow = 0;
    int Row = 0;
    int PreviewText = 0;
    int FooterRow = 0;
    int Footer = 0;
    int RowFooter = 0;
    int NewItemRow = 0;
    int HorzScrollStep = 0;
};

// A used header row of a band: its row number and its columns in column-list order.
struct TdxHeaderRow {
    int RowIndex = 0;
    std::vector<int> Columns;
};

struct TdxBandLayout {
    int Band = -1;
    std::vector<TdxHeaderRow> Rows;
    int MinWidth = 0;
    int NaturalWidth = 0;
    int Width = 0;
    // Client x of the band's left edge before horizontal scrolling.
    int Left = 0;
    // A band fixed at either end stays put when the others scroll.
    bool Scrolls = true;
};

// A shown column's header and the place of its cells in every row, in layout order (bands by
// position, their used rows, the columns of each row). Lefts are before horizontal scrolling.
struct TdxHeaderItem {
    int Column = -1;
    int BandPosition = 0;
    int Left = 0;
    int Width = 0;
    // The column's line inside a row (its band's used row) and the lines its header spans.
    int RowIndex = 0;
    int RowSpan = 1;
    bool Scrolls = true;
    bool LeftEdge = false;  // first column of the first band
    bool RightEdge = false; // last column of its row in the last band
    // First and last header of its line within its band.
    bool FirstInLine = false;
    bool LastInLine = false;
};

// The control's areas, top down: band panel, header panel, new item row, rows (the data area)
// with the indicator column at their left, footer. Client coordinates; each may be empty.
struct TdxTreeListAreas {
    fw::TRect Client;
    fw::TRect BandPanel;
    fw::TRect HeaderPanel;
    fw::TRect NewItemRow;
    fw::TRect Rows;
    fw::TRect Indicator;
    fw::TRect Footer;
};

// The derived layout: band position lists, header layout lists, column widths and places,
// header items and areas.
struct TdxLayoutLists {
    std::vector<int> BandOrder;
    std::vector<int> BandPositions;
    std::vector<TdxBandLayout> Bands;
    std::vector<int> ColumnWidths;
    // Client x of each shown column's left edge (before scrolling), its visible band position
    // and its position among the band's used rows (-1 when not shown).
    std::vector<int> ColumnLefts;
    std::vector<int> ColumnBandPositions;
    std::vector<int> ColumnRowPositions;
    std::vector<TdxHeaderItem> HeaderItems;
    int TotalWidth = 0;
    // The first visible band is fixed left, the last one fixed right.
    bool FixedLeft = false;
    bool FixedRight = false;
    TdxTreeListAreas Areas;
};

} // namespace dxtl
