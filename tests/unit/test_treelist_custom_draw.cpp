// Custom drawing of cells: the order of the list's and the column's events and what each
// sees, a handler that finishes the cell, one that changes only the colour, the text, the
// alignment or the font, the font restored after every cell (also when a handler raises), and
// the new item row's events. Pixels follow the headless metrics of
// test_treelist_paint_support.h: rows 16 high, a left-aligned glyph box at (cell left + 3,
// cell top + 3), 4 wide and 8 high.
#include "test_treelist_paint_support.h"

#include "test_colours.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using namespace fw;
using namespace test_colours;
using namespace dxtl;
using treelist_testing::TreeListPaintTestBase;

class CustomDrawTest : public TreeListPaintTestBase {
protected:
    CustomDrawTest() {
        First = AddColumn(100, "A");
        Second = AddColumn(80, "B");
        for (const char* text : {"a", "b", "c"}) {
            TdxTreeListNode* node = List->AddNode();
            node->SetStrings(0, std::string(text) + "1");
            node->SetStrings(1, std::string(text) + "2");
        }
    }

    // A column's cell in a row: between its header's left and right edges (after the indent
    // in the first column), one row high.
    TRect Cell(const TdxTreeListColumn* column, int row) {
        const TRect header = List->HeaderRect(List->ColumnIndexOf(column));
        const int top = RowsTop() + row * List->RowHeight();
        return {std::max(header.Left, 16), top, header.Right, top + List->RowHeight()};
    }
    // Every pixel strictly inside the rectangle (its border may carry a focus rectangle).
    testing::AssertionResult InsideIs(const TRect& r, TColorRef color) {
        for (int y = r.Top + 1; y < r.Bottom - 1; ++y)
            for (int x = r.Left + 1; x < r.Right - 1; ++x)
                if (At(x, y) != color)
                    return testing::AssertionFailure()
                           << std::hex << At(x, y) << " at " << std::dec << x << "," << y;
        return testing::AssertionSuccess();
    }

    TdxTreeListColumn* First = nullptr;
    TdxTreeListColumn* Second = nullptr;
};

TEST_F(CustomDrawTest, ColumnHandlerThatIsDoneKeepsItsCellWhileTheRowShowsTheSelection) {
    Second->OnCustomDrawCell = [](TObject*, TCanvas& canvas, TRect rect, TdxTreeListNode*,
                                  TdxTreeListColumn*, bool, bool, bool, std::string&, TColor&,
                                  TFont&, TAlignment&, bool& done) {
        canvas.Brush().SetColor(static_cast<TColor>(kWhite));
        canvas.FillRect(rect);
        done = true;
    };
    List->SetHideSelection(false);
    FocusAndSelect(List->NodeAt(0));
    Repaint();
    EXPECT_TRUE(InsideIs(Cell(Second, 0), kWhite)); // no highlight and no text
    EXPECT_EQ(At(Cell(First, 0).Left + 20, Cell(First, 0).Top + 8), Sys(SysColor::Highlight));
    // The row's dotted focus rectangle still runs over the finished cell: white inverted.
    int black = 0;
    for (int x = Cell(Second, 0).Left; x < Cell(Second, 0).Right; ++x)
        black += At(x, Cell(Second, 0).Top) == 0x000000 ? 1 : 0;
    EXPECT_GT(black, 30);
    // Unselected rows: the handler's white as well.
    EXPECT_TRUE(InsideIs(Cell(Second, 1), kWhite));

    // Without the focus the rest of the row turns to the hidden selection's colour.
    Platform.SetFocusTo(0); // another program takes the keyboard
    Repaint();
    EXPECT_EQ(At(Cell(First, 0).Left + 20, Cell(First, 0).Top + 8),
              Sys(SysColor::BtnFace)); // HideSelectionColor's default
    EXPECT_TRUE(InsideIs(Cell(Second, 0), kWhite));
}

TEST_F(CustomDrawTest, ColourOnlyHandlerGetsItsColourFilledUnderTheNormalText) {
    Second->OnCustomDrawCell = [](TObject*, TCanvas&, TRect, TdxTreeListNode*, TdxTreeListColumn*,
                                  bool, bool, bool, std::string&, TColor& color, TFont&,
                                  TAlignment&, bool&) { color = static_cast<TColor>(kRed); };
    Repaint();
    for (int row : {0, 1}) {
        SCOPED_TRACE(row);
        const TRect cell = Cell(Second, row);
        ExpectGlyphBoxAt(cell.Left + 3, cell.Top + 3, Sys(SysColor::WindowText), kRed);
        EXPECT_EQ(At(cell.Left, cell.Top), kRed);
        EXPECT_EQ(At(cell.Right - 1, cell.Bottom - 1), kRed);
        EXPECT_EQ(At(cell.Left + 40, cell.Top + 8), kRed);
        // The other column keeps the list's colour.
        EXPECT_EQ(At(Cell(First, row).Left + 40, cell.Top + 8), kListColor);
    }
    // A text cut at the cell: the strip right of it is filled with the same colour.
    List->NodeAt(2)->SetStrings(1, std::string(20, 'W'));
    Repaint();
    EXPECT_EQ(At(Cell(Second, 2).Right - 1, Cell(Second, 2).Top + 8), kRed);

    // Selected, the colour replaces the highlight; the text keeps the selection's colour.
    FocusAndSelect(List->NodeAt(0));
    Repaint();
    const TRect cell = Cell(Second, 0);
    ExpectGlyphBoxAt(cell.Left + 3, cell.Top + 3, Sys(SysColor::HighlightText), kRed);
    EXPECT_EQ(At(cell.Left + 40, cell.Top + 8), kRed);
}

TEST_F(CustomDrawTest, HandlersRunInOrderEachSeeingWhatTheOneBeforeLeft) {
    std::vector<std::string> calls;
    const auto name = [&](TdxTreeListColumn* column) { return column == Second ? "B" : "A"; };
    List->OnCustomDraw = [&](TObject* sender, TCanvas&, TRect, TdxTreeListNode* node,
                             TdxTreeListColumn* column, const std::string&, TFont&, TColor& color,
                             bool, bool, bool&) {
        EXPECT_EQ(sender, List);
        if (node == List->NodeAt(0))
            calls.push_back(std::string("draw ") + name(column));
        if (column == Second)
            color = static_cast<TColor>(kRed);
    };
    List->OnCustomDrawCell = [&](TObject* sender, TCanvas&, TRect, TdxTreeListNode* node,
                                 TdxTreeListColumn* column, bool, bool, bool, std::string& text,
                                 TColor& color, TFont& font, TAlignment& alignment, bool&) {
        EXPECT_EQ(sender, List);
        if (node == List->NodeAt(0))
            calls.push_back(std::string("cell ") + name(column));
        if (column != Second)
            return;
        EXPECT_EQ(color, static_cast<TColor>(kRed));
        text = "W";
        alignment = taRightJustify;
        font.SetColor(static_cast<TColor>(kGreen));
    };
    Second->OnCustomDrawCell = [&](TObject* sender, TCanvas&, TRect, TdxTreeListNode* node,
                                   TdxTreeListColumn* column, bool, bool, bool, std::string& text,
                                   TColor& color, TFont& font, TAlignment& alignment, bool&) {
        EXPECT_EQ(sender, Second);
        EXPECT_EQ(column, Second);
        if (node == List->NodeAt(0))
            calls.push_back("column B");
        EXPECT_EQ(text, "W");
        EXPECT_EQ(alignment, taRightJustify);
        EXPECT_EQ(font.Color(), static_cast<TColor>(kGreen));
        EXPECT_EQ(color, static_cast<TColor>(kRed));
    };
    Repaint();
    EXPECT_EQ(calls,
              (std::vector<std::string>{"draw A", "cell A", "draw B", "cell B", "column B"}));
    // The list draws what the chain left: "W" at the right of a red cell, in green.
    const TRect cell = Cell(Second, 0);
    ExpectGlyphBoxAt(cell.Right - 7, cell.Top + 3, kGreen, kRed);
    EXPECT_EQ(At(cell.Left + 3, cell.Top + 3), kRed); // not the node's text at the left
}

TEST_F(CustomDrawTest, DoneStopsTheRestOfTheChainAndTheListPaintsNothingInTheCell) {
    int columnCalls = 0;
    std::vector<std::string> cellTexts;
    List->OnCustomDraw = [&](TObject*, TCanvas&, TRect, TdxTreeListNode* node, TdxTreeListColumn*,
                             const std::string&, TFont&, TColor&, bool, bool,
                             bool& done) { done = node == List->NodeAt(0); };
    List->OnCustomDrawCell = [&](TObject*, TCanvas&, TRect, TdxTreeListNode* node,
                                 TdxTreeListColumn*, bool, bool, bool, std::string& text, TColor&,
                                 TFont&, TAlignment&, bool& done) {
        cellTexts.push_back(text);
        done = node == List->NodeAt(1);
    };
    Second->OnCustomDrawCell = [&](TObject*, TCanvas&, TRect, TdxTreeListNode* node,
                                   TdxTreeListColumn*, bool, bool, bool, std::string&, TColor&,
                                   TFont&, TAlignment&, bool&) {
        EXPECT_EQ(node, List->NodeAt(2));
        ++columnCalls;
    };
    constexpr TColorRef kStale = 0x00123456;
    WindowOf(*List).FillSurface(kStale);
    Repaint();
    EXPECT_EQ(columnCalls, 1);
    // The first row never reached OnCustomDrawCell.
    EXPECT_EQ(cellTexts, (std::vector<std::string>{"b1", "b2", "c1", "c2"}));
    // Finished cells are the handlers' alone: here they drew nothing.
    for (int row : {0, 1})
        for (const TdxTreeListColumn* column : {First, Second}) {
            const TRect cell = Cell(column, row);
            EXPECT_EQ(At(cell.Left + 1, cell.Top + 1), kStale);
            EXPECT_EQ(At(cell.Right - 1, cell.Bottom - 1), kStale);
        }
    EXPECT_EQ(At(Cell(Second, 2).Left + 40, Cell(Second, 2).Top + 8), kListColor);
}

TEST_F(CustomDrawTest, HandlersSeeTheCellAsTheListWouldPaintIt) {
    struct TSeen {
        TRect Rect;
        TdxTreeListNode* Node;
        bool Selected, Focused, NewItemRow;
        std::string Text;
        TColor Color, FontColor;
        TAlignment Alignment;
        bool CanvasFont;
    };
    std::vector<TSeen> seen;
    Second->SetAlignment(taCenter);
    Second->OnCustomDrawCell = [&](TObject*, TCanvas& canvas, TRect rect, TdxTreeListNode* node,
                                   TdxTreeListColumn*, bool selected, bool focused, bool newItemRow,
                                   std::string& text, TColor& color, TFont& font,
                                   TAlignment& alignment, bool&) {
        seen.push_back({rect, node, selected, focused, newItemRow, text, color, font.Color(),
                        alignment, &font == &canvas.Font()});
    };
    const TColor highlightText = static_cast<TColor>(0x00336699);
    List->SetHighlightTextColor(highlightText);
    FocusAndSelect(List->NodeAt(0));
    Repaint();
    ASSERT_EQ(seen.size(), 3u);
    const TSeen& selected = seen[0];
    EXPECT_EQ(selected.Rect, Cell(Second, 0));
    EXPECT_EQ(selected.Node, List->NodeAt(0));
    EXPECT_TRUE(selected.Selected);
    EXPECT_TRUE(selected.Focused); // row-select: every cell of the focused row
    EXPECT_FALSE(selected.NewItemRow);
    EXPECT_EQ(selected.Text, "a2");
    EXPECT_EQ(selected.Color, List->HighlightColor());
    EXPECT_EQ(selected.FontColor, highlightText);
    EXPECT_EQ(selected.Alignment, taCenter);
    EXPECT_TRUE(selected.CanvasFont);
    const TSeen& plain = seen[1];
    EXPECT_FALSE(plain.Selected);
    EXPECT_FALSE(plain.Focused);
    EXPECT_EQ(plain.Text, "b2");
    EXPECT_EQ(plain.Color, List->Color());
    EXPECT_EQ(plain.FontColor, List->Font().Color());

    // A column font of its own: its colour outside the selection, the selection's inside.
    seen.clear();
    Second->Font().SetColor(static_cast<TColor>(kGreen));
    Repaint();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].FontColor, highlightText);
    EXPECT_EQ(seen[1].FontColor, static_cast<TColor>(kGreen));
}

TEST_F(CustomDrawTest, FontChangesAreUndoneAfterEveryCellAlsoWhenAHandlerRaises) {
    std::vector<int> heights;
    List->OnCustomDraw = [&](TObject*, TCanvas&, TRect, TdxTreeListNode*, TdxTreeListColumn*,
                             const std::string&, TFont& font, TColor&, bool, bool,
                             bool&) { heights.push_back(font.Height()); };
    bool raise = false;
    Second->OnCustomDrawCell = [&](TObject*, TCanvas&, TRect, TdxTreeListNode*, TdxTreeListColumn*,
                                   bool, bool, bool, std::string&, TColor&, TFont& font,
                                   TAlignment&, bool&) {
        font.SetHeight(-30);
        font.SetStyle(fsBold);
        if (raise)
            throw std::runtime_error("handler failed");
    };
    Repaint();
    // Every cell starts from the list's font, whatever the cell before did to it.
    EXPECT_EQ(heights, std::vector<int>(6, List->Font().Height()));

    std::string reported;
    Application.OnException = [&](const std::exception& e) { reported = e.what(); };
    raise = true;
    Repaint();
    EXPECT_EQ(reported, "handler failed");
    EXPECT_TRUE(List->Canvas().Font().SameAs(List->Font()));
}

// A handler may narrow the canvas's clip to draw inside a part of its cell: the narrowing ends
// with that handler. The next handler of the chain, the list's own painting of the cell and
// every later cell see the clip the pass set.
TEST_F(CustomDrawTest, AClipAHandlerNarrowedEndsWithThatHandler) {
    const auto cellPixels = [&](const TdxTreeListColumn* column, int row) {
        std::vector<TColorRef> pixels;
        const TRect r = Cell(column, row);
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                pixels.push_back(At(x, y));
        return pixels;
    };
    Repaint();
    const std::vector<TColorRef> plainFirst = cellPixels(First, 2);
    List->OnCustomDraw = [](TObject*, TCanvas& canvas, TRect rect, TdxTreeListNode*,
                            TdxTreeListColumn*, const std::string&, TFont&, TColor&, bool, bool,
                            bool&) {
        canvas.IntersectClipRect({rect.Left, rect.Top, rect.Left + 1, rect.Top + 1});
    };
    Second->OnCustomDrawCell = [](TObject*, TCanvas& canvas, TRect rect, TdxTreeListNode*,
                                  TdxTreeListColumn*, bool, bool, bool, std::string&, TColor&,
                                  TFont&, TAlignment&, bool& done) {
        canvas.Brush().SetColor(static_cast<TColor>(kGreen));
        canvas.FillRect(rect);
        done = true;
    };
    EXPECT_TRUE(EveryPixelPainted());
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(row);
        EXPECT_TRUE(InsideIs(Cell(Second, row), kGreen));
    }
    EXPECT_EQ(cellPixels(First, 2), plainFirst);
}

TEST_F(CustomDrawTest, NewItemRowRaisesTheSameEventsWithAnEmptyText) {
    struct TCall {
        TdxTreeListNode* Node;
        bool NewItemRow;
        std::string Text;
    };
    std::vector<TCall> list, column;
    List->OnCustomDrawCell = [&](TObject*, TCanvas&, TRect, TdxTreeListNode* node,
                                 TdxTreeListColumn*, bool, bool, bool newItemRow, std::string& text,
                                 TColor&, TFont&, TAlignment&, bool&) {
        list.push_back({node, newItemRow, text});
    };
    Second->OnCustomDrawCell = [&](TObject*, TCanvas&, TRect, TdxTreeListNode* node,
                                   TdxTreeListColumn*, bool, bool, bool newItemRow,
                                   std::string& text, TColor&, TFont&, TAlignment&, bool&) {
        column.push_back({node, newItemRow, text});
    };
    List->SetShowNewItemRow(true);
    Repaint();
    ASSERT_EQ(list.size(), 8u); // two new item row cells, then six row cells
    for (std::size_t i = 0; i < list.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(list[i].NewItemRow, i < 2);
        EXPECT_EQ(list[i].Node == nullptr, i < 2);
        EXPECT_EQ(list[i].Text.empty(), i < 2);
    }
    ASSERT_EQ(column.size(), 4u);
    EXPECT_TRUE(column[0].NewItemRow);
    EXPECT_EQ(column[0].Text, "");
    EXPECT_EQ(column[1].Text, "a2");
}

} // namespace
