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
        // Selected rows are the ones a test selects, not the focused one by itself.
        List->SetOptions(List->Options().With(dxtl::aoMultiSelect));
        Form->Show();
    }

    using testing_support::HeadlessTest::Repaint;
    void Repaint() { Repaint(*List); }
    fw::TColorRef At(int x, int y) { return PixelOf(*List, x, y); }
    fw::TColorRef Sys(int index) { return Platform.SysColor(index); }
    int RowsTop() { return List->DataAreaRect().Top; }

    // The list has the input focus, and `node` is focused and the one selected node.
    void FocusAndSelect(dxtl::TdxTreeListNode* node) {
        Platform.SetFocusTo(List->Handle());
        List->ChangeFocus(node, List->FocusedColumn(), false);
        List->ClearSelection();
        List->SetNodeSelected(node, true);
    }

    // Repaints the list over a surface of stale pixels and checks that none is left.
    testing::AssertionResult EveryPixelPainted() {
        constexpr fw::TColorRef kStale = 0x00123456;
        WindowOf(*List).FillSurface(kStale);
        Repaint();
        const fw::headless::PixelSurface& surface = WindowOf(*List).Surface();
        int count = 0;
        fw::TPoint first;
        for (int y = 0; y < List->ClientHeight(); ++y)
            for (int x = 0; x < List->ClientWidth(); ++x)
                if (surface.At(x, y) == kStale && count++ == 0)
                    first = {x, y};
        if (count == 0)
            return testing::AssertionSuccess();
        return testing::AssertionFailure()
               << count << " pixels left unpainted, the first at " << first.X << "," << first.Y;
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
