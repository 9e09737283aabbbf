// A tree list on a shown form, painted on the headless canvas, with the pixel reads the paint
// tests share. The list's colour is its own (kListColor) so that empty areas are told apart
// from the panels and the selection.
#pragma once

#include "test_treelist_layout_support.h"

namespace treelist_testing {

class TreeListPaintTestBase : public TreeListLayoutTest {
protected:
    static constexpr fw::TColorRef kListColor = 0x00E0F0D0;

    TreeListPaintTestBase() {
        List->SetColor(static_cast<fw::TColor>(kListColor));
        List->SetShowLines(false);
        Form->Show();
    }

    void Repaint() {
        List->Invalidate();
        Platform.PaintAll();
    }
    fw::TColorRef At(int x, int y) { return PixelOf(*List, x, y); }
    fw::TColorRef Sys(int index) { return Platform.SysColor(index); }
    int RowsTop() { return List->DataAreaRect().Top; }

    // Repaints the list over a surface of `stale` pixels and counts the pixels the pass left;
    // `first` is the first of them in reading order.
    int StalePixelsAfterRepaint(fw::TColorRef stale, fw::TPoint& first) {
        WindowOf(*List).FillSurface(stale);
        Repaint();
        const fw::headless::PixelSurface& surface = WindowOf(*List).Surface();
        int count = 0;
        for (int y = 0; y < List->ClientHeight(); ++y)
            for (int x = 0; x < List->ClientWidth(); ++x)
                if (surface.At(x, y) == stale && count++ == 0)
                    first = {x, y};
        return count;
    }

    // A narrow glyph of the headless font whose ink box starts at (left, top): ink at two
    // opposite corners, paper just outside the box on the left, top and bottom.
    void ExpectGlyphBoxAt(int left, int top, fw::TColorRef ink, fw::TColorRef paper) {
        EXPECT_EQ(At(left, top), ink);
        EXPECT_EQ(At(left + 3, top + 7), ink);
        EXPECT_EQ(At(left - 1, top + 3), paper);
        EXPECT_EQ(At(left, top - 1), paper);
        EXPECT_EQ(At(left, top + 8), paper);
    }
};

} // namespace treelist_testing
