// The header panel's painting in one paint pass: the corner buttons, the band captions with
// OnCustomDrawBand, the lines setting the fixed bands off, the column headers with
// OnCustomDrawColumnHeader, the gaps under short headers and the parts of bands without
// columns; and the header button every caption and header is drawn as. Internal to treelist/:
// TdxTreeListHeaderPanel::Paint makes one per pass.
#pragma once

#include "treelist/header/dxTLHeaderPanel.h"
#include "treelist/paint/dxTLPaintPass.h"

#include <string>

namespace dxtl {

// A header's place in its line: alone, first, last or between others. Bands are single.
enum TdxHeaderPosition { hpSingle, hpFirst, hpLast, hpMiddle };

// What one header or band button shows.
struct TdxHeaderButton {
    fw::TRect Rect;
    fw::TRect Visible; // the part copied to the canvas
    TdxLookAndFeel Look = lfStandard;
    TdxHeaderPosition Position = hpSingle;
    fw::TBitmap* Glyph = nullptr;
    TdxTreeListColumnSort Sorted = csNone;
    fw::TAlignment Alignment = fw::taLeftJustify;
    bool MultiLine = false;
    bool Pressed = false;
    std::string Caption;
    fw::TColor Brush = fw::clBtnFace;
};

// Composes the button in `bitmap` (grown to the button's size when smaller) with the canvas's
// font and font colour, and copies its visible part onto the canvas in one transfer.
void DrawHeaderButton(fw::TCanvas& canvas, fw::TBitmap& bitmap, const TdxHeaderButton& button);
// The sort arrow in its 16-pixel area: pointing up for csUp, down for csDown.
void DrawSortMark(fw::TCanvas& canvas, const fw::TRect& area, bool up);

class TdxHeaderPanelPainter {
public:
    TdxHeaderPanelPainter(TCustomdxTreeListControl::TPaintPass& pass,
                          const TdxTreeListHeaderPanel& panel);
    TdxHeaderPanelPainter(const TdxHeaderPanelPainter&) = delete;
    TdxHeaderPanelPainter& operator=(const TdxHeaderPanelPainter&) = delete;

    // The band panel, then the header panel.
    void Paint();

private:
    void PaintBandPanel();
    void PaintBand(int position);
    void PaintHeaderPanel();
    void PaintHeader(const TdxHeaderItem& item);
    void PaintCornerButton(const fw::TRect& r, fw::TColor brush, bool pressed);

    TCustomdxTreeListControl::TPaintPass& FPass;
    const TdxTreeListHeaderPanel& FPanel;
    TCustomdxTreeListControl& FList;
    fw::TCanvas& FCanvas;
    const TCustomdxTreeListControl::TGeometry& FGeometry;
    const TdxTreeListAreas& FAreas;
};

} // namespace dxtl
