// Custom drawing of data cells: the chain of cell events and the column painter a cell falls
// back to. DrawCell (dxTLPaintCells.cpp) prepares the canvas font, raises the chain and, unless
// a handler finished the cell, paints it with what the handlers left.
#include "treelist/dxTL.h"

namespace dxtl {

using namespace fw;

bool TCustomdxTreeListControl::HasCustomDrawCell(const TdxTreeListColumn* column) const {
    return OnCustomDraw || OnCustomDrawCell || (column && column->HasCellCustomDraw());
}

void TCustomdxTreeListControl::DoCustomDrawCell(TCanvas& canvas, const TRect& rect, bool& done,
                                                TAlignment& alignment, TFont& font, TColor& color,
                                                std::string& text, TColor brush, bool rightEdge,
                                                bool leftEdge, bool newItemRow, bool focused,
                                                bool selected, int columnIndex,
                                                TdxTreeListNode* node) {
    (void)brush;
    (void)rightEdge;
    (void)leftEdge;
    TdxTreeListColumn* column = FColumns[std::size_t(columnIndex)];
    // Each handler starts with the clip the cell started with: a narrowed clip ends with the
    // handler that narrowed it.
    int clip = canvas.SaveClip();
    const auto restoreClip = [&] {
        canvas.RestoreClip(clip);
        clip = canvas.SaveClip();
    };
    struct TRestore {
        TCanvas& Canvas;
        const int& Clip;
        ~TRestore() { Canvas.RestoreClip(Clip); }
    } restore{canvas, clip};
    if (OnCustomDraw) {
        OnCustomDraw(this, canvas, rect, node, column, text, font, color, selected, focused, done);
        restoreClip();
    }
    if (done)
        return;
    if (OnCustomDrawCell) {
        OnCustomDrawCell(this, canvas, rect, node, column, selected, focused, newItemRow, text,
                         color, font, alignment, done);
        restoreClip();
    }
    // Nodes of this list are never group rows, so the column always has its say.
    if (!done)
        column->CustomDrawCell(canvas, rect, node, selected, focused, newItemRow, text, color, font,
                               alignment, done);
}

void TdxTreeListColumn::PaintCell(TCanvas& canvas, const TRect& rect,
                                  const TdxTreeListCellViewData& data, TBitmap* paintBitmap) {
    (void)paintBitmap;
    TCustomdxTreeListControl::DrawEditText(canvas, rect, data);
}

} // namespace dxtl
