// Fixed bands on the headless canvas: a band fixed left and one fixed right stay at the edges
// while the band between them scrolls sideways, its cells showing only between the fixed bands'
// lines; hit testing agrees with what is painted; and with room to spare the band fixed right
// still stands at the right edge, the room between empty.
#include "test_treelist_paint_support.h"

#include "test_colours.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using namespace fw;
using namespace test_colours;
using namespace dxtl;
using treelist_testing::TreeListPaintTestBase;

constexpr TColorRef kLine = 0x00404040;

// Three bands of 80, 300 and 60 pixels, each with one column in a colour of its own and no
// texts; the first band fixed left, the last fixed right, their lines 2 pixels wide.
class FixedBandPaintTest : public TreeListPaintTestBase {
protected:
    FixedBandPaintTest() {
        List->SetShowBands(true);
        List->SetOptionsEx(List->OptionsEx().Without(aoBandHeaderWidth));
        List->SetFixedBandLineColor(static_cast<TColor>(kLine));
        List->Bands().Add();
        List->Bands().Add();
        const int widths[] = {80, 300, 60};
        const TColorRef colors[] = {kRed, kGreen, kBlue};
        for (int b = 0; b < 3; ++b) {
            List->Bands().Items(b)->SetWidth(widths[b]);
            TdxTreeListColumn* column = AddColumn(widths[b]);
            column->SetBandIndex(b);
            column->SetColor(static_cast<TColor>(colors[b]));
        }
        List->Bands().Items(0)->SetFixed(bfLeft);
        List->Bands().Items(2)->SetFixed(bfRight);
        for (int i = 0; i < 4; ++i)
            List->AddNode();
        Repaint();
    }

    // What each pixel of a row's line shows, left to right, as runs "colour from x".
    std::string RowRuns(int y) {
        std::ostringstream out;
        TColorRef previous = 0xFFFFFFFF;
        for (int x = 0; x < List->ClientWidth(); ++x)
            if (const TColorRef c = At(x, y); c != previous) {
                out << std::hex << c << std::dec << "@" << x << " ";
                previous = c;
            }
        return out.str();
    }
    std::string Runs(std::initializer_list<std::pair<TColorRef, int>> runs) {
        std::ostringstream out;
        for (const auto& [color, x] : runs)
            out << std::hex << color << std::dec << "@" << x << " ";
        return out.str();
    }
    int RowY(int row) { return RowsTop() + row * List->RowHeight() + 5; }
};

TEST_F(FixedBandPaintTest, ScrolledSidewaysTheMiddleBandsCellsStayBetweenTheFixedBandsLines) {
    // 340 wide: left band 0..80, its line to 82, the right band's line from 278, the band
    // from 280 to the edge; the middle band scrolls in 82..278.
    const std::string unscrolled = RowRuns(RowY(1));
    EXPECT_EQ(
        unscrolled,
        Runs({{kListColor, 0}, {kRed, 16}, {kLine, 80}, {kGreen, 82}, {kLine, 278}, {kBlue, 280}}));
    for (int x : {51, 104, 7}) {
        SCOPED_TRACE(x);
        List->SetLeftCoord(x);
        Platform.PaintAll();
        EXPECT_EQ(RowRuns(RowY(1)), unscrolled);
        EXPECT_EQ(RowRuns(RowY(3)), unscrolled);
        // Hit testing agrees: under each fixed band lies its own column.
        EXPECT_EQ(List->HitTest(40, RowY(2)).ColumnIndex, 0);
        EXPECT_EQ(List->HitTest(150, RowY(2)).ColumnIndex, 1);
        EXPECT_EQ(List->HitTest(300, RowY(2)).ColumnIndex, 2);
        // What a full repaint paints.
        const std::vector<TColorRef> painted = WindowOf(*List).Surface().Pixels;
        Repaint();
        EXPECT_TRUE(painted == WindowOf(*List).Surface().Pixels);
    }
    EXPECT_EQ(List->LeftCoord(), 7);
}

TEST_F(FixedBandPaintTest, ACellHandlerDrawingBeyondItsCellStaysBetweenTheFixedBands) {
    // A handler that paints far wider than its cell: the fixed bands keep their cells.
    List->Columns(1)->OnCustomDrawCell = [](TObject*, TCanvas& canvas, TRect rect, TdxTreeListNode*,
                                            TdxTreeListColumn*, bool, bool, bool, std::string&,
                                            TColor&, TFont&, TAlignment&, bool& done) {
        canvas.Brush().SetColor(static_cast<TColor>(kGreen));
        canvas.FillRect({rect.Left - 200, rect.Top, rect.Right + 200, rect.Bottom});
        done = true;
    };
    List->SetLeftCoord(30);
    Repaint();
    EXPECT_EQ(
        RowRuns(RowY(0)),
        Runs({{kListColor, 0}, {kRed, 16}, {kLine, 80}, {kGreen, 82}, {kLine, 278}, {kBlue, 280}}));
}

TEST_F(FixedBandPaintTest,
       WithRoomToSpareTheRightBandStandsAtTheRightEdgeAndTheRoomBetweenIsEmpty) {
    List->SetBounds(0, 0, 520, 253);
    Repaint();
    // Left band 0..80 and its line, the middle band 82..382, empty room, the right band's
    // line from 458 and the band from 460 to the edge.
    EXPECT_EQ(List->BandRect(2), (TRect{460, 0, 520, List->BandPanelHeight()}));
    EXPECT_EQ(List->HeaderRect(2).Left, 460);
    EXPECT_EQ(RowRuns(RowY(1)), Runs({{kListColor, 0},
                                      {kRed, 16},
                                      {kLine, 80},
                                      {kGreen, 82},
                                      {kListColor, 382},
                                      {kLine, 458},
                                      {kBlue, 460}}));
    // The room is empty in the panels too, and a press there hits the row's end.
    EXPECT_EQ(At(420, List->BandPanelHeight() / 2), kListColor);
    EXPECT_EQ(At(420, List->BandPanelHeight() + 3), kListColor);
    EXPECT_EQ(List->HitTest(420, RowY(1)).Area, haRowEnd);
    EXPECT_EQ(List->HitTest(490, RowY(1)).ColumnIndex, 2);
    EXPECT_EQ(List->ContentWidth(), 300);
    EXPECT_TRUE(EveryPixelPainted());
}

} // namespace
