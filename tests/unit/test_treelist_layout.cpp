// The tree list's layout: heights of the panels and rows, band and column widths, where the
// rows start, resizing bounds and the widths kept when fitting stops. Expected pixels come from the
// headless metrics (font height -12: text 12 high, narrow characters 6 wide, wide ones 12).
#include "test_treelist_layout_support.h"

#include <gtest/gtest.h>

namespace {

using namespace dxtl;
using fw::TRect;
using treelist_testing::TreeListLayoutTest;

// --- heights ---------------------------------------------------------------------------------

TEST_F(TreeListLayoutTest, WindowListHeightsFromItsFontAndImages) {
    MakeWindowList();
    // 12 + 3 = 15, raised to 16; the 16-pixel images need no more.
    EXPECT_EQ(List->TextHeight(), 12);
    EXPECT_EQ(List->MinRowHeight(), 16);
    EXPECT_EQ(List->RowHeight(), 16);
    // Flat: 12 + 5.
    EXPECT_EQ(List->HeaderRowHeight(), 17);
    EXPECT_EQ(List->HeaderPanelHeight(), 17);
    EXPECT_EQ(List->BandTextHeight(), 12);
    EXPECT_EQ(List->BandPanelHeight(), 17);
    EXPECT_EQ(List->DataAreaRect(), (TRect{0, 34, 340, 253}));
    TdxTreeListNode* node = List->AddNode();
    EXPECT_EQ(List->NodeHeight(node), 16);
    EXPECT_EQ(List->HeaderDragArrowsSize(), (fw::TSize{11, 35}));
    EXPECT_EQ(List->HorzScrollStep(), 6);

    // The standard look adds a pixel to both panels.
    List->SetLookAndFeel(lfStandard);
    EXPECT_EQ(List->HeaderRowHeight(), 18);
    EXPECT_EQ(List->BandPanelHeight(), 18);
    List->SetLookAndFeel(lfUltraFlat);
    EXPECT_EQ(List->HeaderRowHeight(), 17);
    List->SetHeaderMinRowCount(2);
    EXPECT_EQ(List->HeaderRowHeight(), 29);
    List->SetBandRowCount(3);
    EXPECT_EQ(List->BandPanelHeight(), 41);
    List->SetShowBands(false);
    List->SetShowHeader(false);
    EXPECT_EQ(List->BandPanelHeight(), 0);
    EXPECT_EQ(List->HeaderPanelHeight(), 0);
    EXPECT_EQ(List->DataAreaRect(), (TRect{0, 0, 340, 253}));
}

TEST_F(TreeListLayoutTest, MinimumRowHeightFollowsImagesColumnFontsGridAndOptions) {
    MakeWindowList();
    // Taller images raise the minimum when one line of every header row is lower.
    Images->SetSize(16, 20);
    List->SetImages(nullptr);
    List->SetImages(Images);
    EXPECT_EQ(List->RowHeight(), 20);
    List->SetHeaderPanelRowCount(2);
    EXPECT_EQ(List->RowHeight(), 16);
    TdxTreeListNode* node = List->AddNode();
    EXPECT_EQ(List->NodeHeight(node), 32);
    List->SetHeaderPanelRowCount(1);
    List->SetImages(nullptr);
    List->SetStateImages(nullptr);
    EXPECT_EQ(List->RowHeight(), 16);

    // A written column font: its text height + 3.
    Caption->Font().SetHeight(-20);
    EXPECT_EQ(List->RowHeight(), 23);
    Caption->SetVisible(false);
    EXPECT_EQ(List->RowHeight(), 16);
    Caption->SetVisible(true);
    Caption->Font().SetHeight(-12);
    EXPECT_EQ(List->RowHeight(), 16);

    // Grid lines add one, and the row separator shows below each row.
    List->SetShowGrid(true);
    EXPECT_EQ(List->MinRowHeight(), 17);
    EXPECT_EQ(List->NodeHeight(node), 17);
    List->SetShowPreviewGrid(false);
    EXPECT_EQ(List->MinRowHeight(), 16);
    EXPECT_EQ(List->NodeHeight(node), 17);
    List->SetShowGrid(false);

    // Inverted selection frames the row.
    List->SetOptionsEx(List->OptionsEx().With(aoInvertSelect));
    EXPECT_EQ(List->RowHeight(), 18);
    List->SetOptionsEx(List->OptionsEx().Without(aoInvertSelect));

    // Preview lines in the preview font (the list's while ParentFont holds).
    List->SetOptions(List->Options().With(aoPreview));
    List->SetOptionsEx(List->OptionsEx().Without(aoAutoCalcPreviewLines));
    EXPECT_EQ(List->PreviewTextHeight(), 12);
    EXPECT_EQ(List->NodeHeight(node), 16 + 2 * 12 + 2);
    List->SetOptions(List->Options().Without(aoPreview));
    EXPECT_EQ(List->NodeHeight(node), 16);
}

TEST_F(TreeListLayoutTest, DefaultRowHeightCountsOnlyAboveTheMinimum) {
    MakeWindowList();
    List->SetDefaultRowHeight(30);
    EXPECT_EQ(List->RowHeight(), 30);
    EXPECT_EQ(List->DefaultRowHeight(), 30);
    EXPECT_TRUE(List->DefaultRowHeightStored());
    List->SetDefaultRowHeight(10);
    EXPECT_EQ(List->RowHeight(), 16);
    EXPECT_FALSE(List->DefaultRowHeightStored());
    List->SetDefaultRowHeight(16);
    EXPECT_FALSE(List->DefaultRowHeightStored());
}

TEST_F(TreeListLayoutTest, FooterAndIndicatorTakeTheirPartOfTheClientArea) {
    MakeWindowList();
    List->SetShowFooter(true);
    EXPECT_EQ(List->FooterRowHeight(), 19);
    EXPECT_EQ(List->FooterHeight(), 22);
    EXPECT_EQ(List->RowFooterHeight(), 21);
    List->SetShowIndicator(true);
    EXPECT_EQ(List->IndicatorWidth(), 12);
    EXPECT_EQ(List->DataAreaRect(), (TRect{12, 34, 340, 231}));
    // The indicator's width is not the bands'.
    EXPECT_EQ(List->TotalWidth(), 328);
    EXPECT_EQ(List->HeaderRect(0).Left, 12);
}

TEST_F(TreeListLayoutTest, PanelFontsFollowTheListsFontWhileItIsInherited) {
    Form->Font().SetHeight(-14);
    EXPECT_EQ(List->BandFont().Height(), -14);
    EXPECT_EQ(List->HeaderFont().Height(), -14);
    EXPECT_EQ(List->PreviewFont().Height(), -14);
    EXPECT_EQ(List->PreviewFont().Color(), 0x00FF0000);
    EXPECT_EQ(List->HeaderRowHeight(), 14 + 5 + 1);
    EXPECT_FALSE(List->PanelFontsStored());
    // The list's own font stops the inheritance; the panel fonts keep what they had.
    List->Font().SetHeight(-20);
    EXPECT_TRUE(List->PanelFontsStored());
    EXPECT_EQ(List->HeaderFont().Height(), -14);
    EXPECT_EQ(List->TextHeight(), 20);
    List->HeaderFont().SetHeight(-16);
    EXPECT_EQ(List->HeaderRowHeight(), 16 + 5 + 1);
}

// --- band and column widths ------------------------------------------------------------------

TEST_F(TreeListLayoutTest, WindowListFillsThreeHundredFortyPixels) {
    MakeWindowList();
    EXPECT_EQ(List->VisibleBandCount(), 1);
    EXPECT_EQ(List->BandMinWidth(0), 60);
    EXPECT_EQ(List->BandNaturalWidth(0), 314);
    EXPECT_EQ(List->TotalWidth(), 340);
    EXPECT_EQ(List->BandWidth(0), 340);
    // MulDiv(340, 45, 314) = 49; the icon column keeps 20; the caption takes the rest.
    EXPECT_EQ(Widths(), (std::vector<int>{49, 20, 271}));
    EXPECT_EQ(List->BandRect(0), (TRect{0, 0, 340, 17}));
    EXPECT_EQ(List->HeaderRect(0), (TRect{0, 17, 49, 34}));
    EXPECT_EQ(List->HeaderRect(1), (TRect{49, 17, 69, 34}));
    EXPECT_EQ(List->HeaderRect(2), (TRect{69, 17, 340, 34}));
    EXPECT_EQ(List->BandRowsUsed(0), 1);
    EXPECT_EQ(List->ColumnsInRow(0, 0), 3);
    EXPECT_EQ(List->ColumnAt(0, 0, 2), 2);
    EXPECT_EQ(List->ColumnAt(0, 0, 3), -1);
    EXPECT_EQ(List->ColumnAt(0, 1, 0), -1);
    EXPECT_EQ(List->ColumnMinWidth(1), 20);
}

TEST_F(TreeListLayoutTest, NarrowWindowListKeepsTheMinimums) {
    MakeWindowList();
    List->SetBounds(0, 0, 60, 253);
    // MulDiv(60, 45, 314) = 9 is below the minimum 20.
    EXPECT_EQ(List->TotalWidth(), 60);
    EXPECT_EQ(Widths(), (std::vector<int>{20, 20, 20}));
    List->SetBounds(0, 0, 50, 253);
    EXPECT_EQ(List->TotalWidth(), 60);
    EXPECT_EQ(List->BandWidth(0), 60);
    EXPECT_GT(List->BandWidth(0), List->DataAreaRect().Width());
    EXPECT_EQ(Widths(), (std::vector<int>{20, 20, 20}));
    // Wider again: the widths follow.
    List->SetBounds(0, 0, 590, 253);
    EXPECT_EQ(Widths(), (std::vector<int>{85, 20, 485}));
}

TEST_F(TreeListLayoutTest, WithoutAutoWidthBandsTakeTheirNaturalWidths) {
    MakeWindowList();
    List->SetOptions(List->Options().Without(aoAutoWidth));
    // The default layout follows the headers: the widest row.
    EXPECT_EQ(List->TotalWidth(), 314);
    EXPECT_EQ(Widths(), (std::vector<int>{45, 20, 249}));
    List->SetDefaultLayout(false);
    List->SetShowBands(true);
    EXPECT_EQ(List->TotalWidth(), 314); // aoBandHeaderWidth
    List->SetOptionsEx(List->OptionsEx().Without(aoBandHeaderWidth));
    // The band's own width: the last column stretches.
    EXPECT_EQ(List->TotalWidth(), 250);
    EXPECT_EQ(Widths(), (std::vector<int>{36, 20, 194}));
    // Narrower than the headers' minimums: the minimums.
    List->Bands().Items(0)->SetWidth(40);
    EXPECT_EQ(List->BandWidth(0), 60);
}

TEST_F(TreeListLayoutTest, SeveralBandsShareTheWidthInProportion) {
    List->SetDefaultLayout(false);
    List->SetShowBands(true);
    List->SetOptionsEx(List->OptionsEx().Without(aoBandHeaderWidth));
    List->SetOptions(List->Options().With(aoAutoWidth));
    List->Bands().Items(0)->SetWidth(100);
    List->Bands().Add()->SetWidth(300);
    List->SetBounds(0, 0, 200, 100);
    // 200 * 100 / 400 = 50, the rest 150.
    EXPECT_EQ(List->BandWidth(0), 50);
    EXPECT_EQ(List->BandWidth(1), 150);
    EXPECT_EQ(List->BandRect(1).Left, 50);
    // A band that is not sizable keeps its width.
    List->Bands().Items(0)->SetSizing(false);
    EXPECT_EQ(List->BandWidth(0), 100);
    EXPECT_EQ(List->BandWidth(1), 100);
    // Below the minimums: the minimums, and the total is wider than the client.
    List->Bands().Items(0)->SetSizing(true);
    List->Bands().Items(0)->SetMinWidth(150);
    List->Bands().Items(1)->SetMinWidth(120);
    EXPECT_EQ(List->TotalWidth(), 270);
    EXPECT_EQ(List->BandWidth(0), 150);
    EXPECT_EQ(List->BandWidth(1), 120);
    // A hidden band takes no place.
    List->Bands().Items(0)->SetVisible(false);
    EXPECT_EQ(List->VisibleBandCount(), 1);
    EXPECT_EQ(List->BandAtPosition(0), 1);
    EXPECT_EQ(List->BandPosition(0), -1);
    EXPECT_EQ(List->BandWidth(0), 200);
}

TEST_F(TreeListLayoutTest, ZeroWidthsAreSharedEquallyAndNothingGoesNegative) {
    List->SetOptions(List->Options().With(aoAutoWidth));
    List->SetBounds(0, 0, 90, 100);
    for (int i = 0; i < 3; ++i) {
        TdxTreeListColumn* column = AddColumn(100);
        column->SetMinWidth(0);
        column->SetWidth(0);
    }
    EXPECT_EQ(Widths(), (std::vector<int>{30, 30, 30}));

    // Bands whose natural widths sum to 0.
    List->SetDefaultLayout(false);
    List->SetOptionsEx(List->OptionsEx().Without(aoBandHeaderWidth));
    for (int i = 0; i < 3; ++i)
        List->Columns(i)->SetVisible(false);
    List->Bands().Add();
    for (int b = 0; b < 2; ++b) {
        List->Bands().Items(b)->SetMinWidth(0);
        List->Bands().Items(b)->SetWidth(0);
    }
    EXPECT_EQ(List->BandWidth(0), 45);
    EXPECT_EQ(List->BandWidth(1), 45);
}

TEST_F(TreeListLayoutTest, FixedColumnsCannotPushASizableOneBelowItsMinimum) {
    List->SetDefaultLayout(false);
    List->SetOptionsEx(List->OptionsEx().Without(aoBandHeaderWidth));
    List->Bands().Items(0)->SetMinWidth(0);
    List->Bands().Items(0)->SetWidth(100);
    TdxTreeListColumn* fixed = AddColumn(90);
    fixed->SetSizing(false);
    TdxTreeListColumn* middle = AddColumn(50);
    middle->SetMinWidth(10);
    TdxTreeListColumn* last = AddColumn(60);
    last->SetMinWidth(0);
    // The proportional share of the middle column, 10 * 50 / 110, rounds to 5: below 10.
    EXPECT_EQ(List->BandWidth(0), 100);
    EXPECT_EQ(Widths(), (std::vector<int>{90, 10, 0}));
}

TEST_F(TreeListLayoutTest, AFixedBandWiderThanTheRoomLeavesNoNegativeWidth) {
    List->SetOptions(List->Options().With(aoAutoWidth));
    List->SetBounds(0, 0, 200, 100);
    List->SetShowBands(true);
    TdxTreeListBand* wide = List->Bands().Items(0);
    wide->SetSizing(false);
    wide->SetWidth(30);
    List->Bands().Add();
    TdxTreeListColumn* column = AddColumn(300);
    column->SetBandIndex(0);
    // The fixed band's headers want 300 of the 200 pixels: the other band gets nothing.
    EXPECT_EQ(List->TotalWidth(), 200);
    EXPECT_EQ(List->BandWidth(0), 200);
    EXPECT_EQ(List->BandWidth(1), 0);
}

TEST_F(TreeListLayoutTest, KeepColumnWidthWritesTheFittedWidths) {
    MakeWindowList();
    List->SetOptionsEx(List->OptionsEx().With(aoKeepColumnWidth));
    List->SetOptions(List->Options().Without(aoAutoWidth));
    EXPECT_EQ(Select->Width(), 49);
    EXPECT_EQ(Icon->Width(), 20);
    EXPECT_EQ(Caption->Width(), 271);
    EXPECT_EQ(Widths(), (std::vector<int>{49, 20, 271}));
    EXPECT_EQ(List->TotalWidth(), 340);

    // Several bands: the bands' widths are kept.
    List->SetDefaultLayout(false);
    List->SetOptionsEx(List->OptionsEx().Without(aoBandHeaderWidth));
    List->Bands().Add();
    List->SetOptions(List->Options().With(aoAutoWidth));
    const int first = List->BandWidth(0);
    const int second = List->BandWidth(1);
    EXPECT_EQ(first + second, 340);
    List->SetOptions(List->Options().Without(aoAutoWidth));
    EXPECT_EQ(List->Bands().Items(0)->Width(), first);
    EXPECT_EQ(List->Bands().Items(1)->Width(), second);

    // Without the flag nothing is written.
    List->SetOptionsEx(List->OptionsEx().Without(aoKeepColumnWidth));
    List->Bands().Items(0)->SetWidth(100);
    List->SetOptions(List->Options().With(aoAutoWidth));
    List->SetOptions(List->Options().Without(aoAutoWidth));
    EXPECT_EQ(List->Bands().Items(0)->Width(), 100);
}

// --- rows in the data area -------------------------------------------------------------------

TEST_F(TreeListLayoutTest, RowsStartBelowThePanelsAndRepaintThere) {
    MakeWindowList();
    List->HandleNeeded();
    for (int i = 0; i < 20; ++i)
        List->AddNode();
    WindowOf(*List).Update();
    List->NodeAt(2)->SetImageIndex(1);
    EXPECT_EQ(WindowOf(*List).UpdateRegion().BoundingBox(),
              (TRect{0, 34 + 32, List->ClientWidth(), 34 + 48}));
    WindowOf(*List).Update();
    // The data area holds 13 whole rows of 16 pixels (219 / 16).
    List->NodeAt(13)->SetImageIndex(1);
    EXPECT_EQ(WindowOf(*List).UpdateRegion().BoundingBox(),
              (TRect{0, 242, List->ClientWidth(), 253}));
    WindowOf(*List).Update();
    List->NodeAt(14)->SetImageIndex(1);
    EXPECT_TRUE(WindowOf(*List).UpdateRegion().IsEmpty());
    List->NodeAt(19)->MakeVisible();
    EXPECT_EQ(List->TopVisibleNode(), List->NodeAt(19 - 13 + 1));
}

// --- resizing and best fit -------------------------------------------------------------------

TEST_F(TreeListLayoutTest, ResizeBoundsFollowTheBandAndTheOptions) {
    MakeWindowList();
    TdxSizingBounds bounds = List->ColumnSizingBounds(0);
    EXPECT_EQ(bounds.MinWidth, 20);
    EXPECT_EQ(bounds.MaxRight, 340);
    EXPECT_EQ(List->ColumnSizingBounds(1).MinWidth, 20); // fixed: its width
    List->SetShowBands(false);
    EXPECT_EQ(List->ColumnSizingBounds(0).MaxRight, 339);
    List->SetOptionsEx(List->OptionsEx().With(aoFullSizing));
    EXPECT_EQ(List->ColumnSizingBounds(0).MaxRight, 339);
    List->SetOptions(List->Options().Without(aoAutoWidth));
    EXPECT_EQ(List->ColumnSizingBounds(0).MaxRight, 100000);
    EXPECT_EQ(List->BandSizingBounds(0).MaxRight, 100000);
    List->SetOptionsEx(List->OptionsEx().Without(aoFullSizing));
    EXPECT_EQ(List->BandSizingBounds(0).MinWidth, 60);
    EXPECT_EQ(List->BandSizingBounds(0).MaxRight, 338);

    int changed = 0;
    List->OnChangedColumnsWidth = [&](fw::TObject*) { ++changed; };
    List->ColumnResized(0, 5);
    EXPECT_EQ(Select->Width(), 20);
    List->ColumnResized(0, 100);
    EXPECT_EQ(Select->Width(), 100);
    // A column that is not sizable keeps its width.
    List->ColumnResized(1, 50);
    EXPECT_EQ(Icon->Width(), 20);
    List->BandResized(0, 400);
    EXPECT_EQ(List->Bands().Items(0)->Width(), 400);
    EXPECT_EQ(changed, 4);
    List->OnChangedColumnsWidth = nullptr;
}

} // namespace
