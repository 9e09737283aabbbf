// The tree list's columns, bands and layout: published defaults and clamps, heights, band and
// column widths, header rows, option side effects, column and band changes with the nodes'
// texts, resizing bounds, kept widths and best fit. Expected pixels come from the headless
// metrics (font height -12: text 12 high, narrow characters 6 wide, wide ones 12).
#include "test_treelist_layout_support.h"
#include "test_treelist_support.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using namespace dxtl;
using fw::TRect;
using treelist_testing::TreeListLayoutTest;

std::vector<std::string> TextsOf(TdxTreeListNode* node, int count) {
    std::vector<std::string> texts;
    for (int i = 0; i < count; ++i)
        texts.push_back(node->Strings(i));
    return texts;
}

// --- defaults and clamps ---------------------------------------------------------------------

TEST_F(TreeListLayoutTest, NewListStartsWithItsPublishedValues) {
    EXPECT_EQ(List->Options().Bits(), 55u);
    EXPECT_EQ(List->OptionsEx().Bits(), 12350u);
    ASSERT_EQ(List->Bands().Count(), 1);
    const TdxTreeListBand* band = List->Bands().Items(0);
    EXPECT_EQ(band->Alignment(), fw::taCenter);
    EXPECT_EQ(band->Caption(), "");
    EXPECT_EQ(band->Fixed(), bfNone);
    EXPECT_EQ(band->MinWidth(), 30);
    EXPECT_EQ(band->Width(), 250);
    EXPECT_TRUE(band->Sizing());
    EXPECT_TRUE(band->Visible());
    EXPECT_FALSE(band->OnlyOwnColumns());
    EXPECT_EQ(List->BandRowCount(), 1);
    EXPECT_EQ(List->BandMaxRowCount(), 5);
    EXPECT_TRUE(List->DefaultLayout());
    EXPECT_EQ(List->HeaderMinRowCount(), 1);
    EXPECT_EQ(List->HeaderPanelMaxRowCount(), 5);
    EXPECT_EQ(List->HeaderPanelRowCount(), 1);

    EXPECT_EQ(List->Align(), fw::alNone);
    EXPECT_EQ(List->BorderStyle(), fw::bsSingle);
    EXPECT_EQ(List->Color(), fw::clWindow);
    EXPECT_EQ(List->ArrowsColor(), 0x0000FF00);
    EXPECT_TRUE(List->AutoExpandOnSearch());
    EXPECT_EQ(List->AutoSearchColor(), fw::clNone);
    EXPECT_EQ(List->AutoSearchTextColor(), fw::clNone);
    EXPECT_TRUE(List->DblClkExpanding());
    EXPECT_EQ(List->GroupNodeColor(), fw::clBtnFace);
    EXPECT_EQ(List->GroupNodeTextColor(), fw::clNone);
    EXPECT_EQ(List->RowFooterColor(), fw::cl3DLight);
    EXPECT_EQ(List->RowFooterTextColor(), fw::clWindowText);
    EXPECT_EQ(List->HeaderColor(), fw::clBtnFace);
    EXPECT_EQ(List->BandColor(), fw::clBtnFace);
    EXPECT_TRUE(List->HideFocusRect());
    EXPECT_TRUE(List->HideSelection());
    EXPECT_EQ(List->Images(), nullptr);
    EXPECT_EQ(List->StateImages(), nullptr);
    EXPECT_EQ(List->IndentDesc(), 20);
    EXPECT_EQ(List->IniFileName(), "");
    EXPECT_EQ(List->IniSectionName(), "");
    EXPECT_EQ(List->RegistryPath(), "");
    EXPECT_EQ(List->FixedBandLineColor(), fw::clWindowFrame);
    EXPECT_EQ(List->FixedBandLineWidth(), 2);
    EXPECT_EQ(List->LookAndFeel(), lfStandard);
    EXPECT_EQ(List->MaxRowLineCount(), -1);
    EXPECT_EQ(List->PaintStyle(), psStandard);
    EXPECT_EQ(List->RowSeparatorLineWidth(), 1);
    EXPECT_EQ(List->PreviewLines(), 2);
    EXPECT_EQ(List->PreviewFont().Color(), 0x00FF0000);
    EXPECT_EQ(List->HighlightColor(), fw::clHighlight);
    EXPECT_EQ(List->HighlightTextColor(), fw::clHighlightText);
    EXPECT_EQ(List->TreeLineColor(), fw::clGrayText);
    EXPECT_EQ(List->TreeLineStyle(), tlDot);
    EXPECT_EQ(List->HideSelectionColor(), fw::clBtnFace);
    EXPECT_EQ(List->HideSelectionTextColor(), fw::clBtnText);
    EXPECT_EQ(List->WaitForExpandNodeTime(), 500);
    EXPECT_EQ(List->ScrollBars(), ssBoth);
    EXPECT_EQ(List->CustomizingRowCount(), 11);
    EXPECT_FALSE(List->ShowBands());
    EXPECT_FALSE(List->ShowGrid());
    EXPECT_FALSE(List->ShowRowFooter());
    EXPECT_FALSE(List->ShowIndicator());
    EXPECT_FALSE(List->ShowFooter());
    EXPECT_TRUE(List->ShowButtons());
    EXPECT_TRUE(List->ShowPreviewGrid());
    EXPECT_TRUE(List->ShowHeader());
    EXPECT_TRUE(List->ShowLines());
    EXPECT_TRUE(List->ShowRoot());
    EXPECT_FALSE(List->SimpleCustomizeBox());
    EXPECT_FALSE(List->ShowHiddenInCustomizeBox());
    EXPECT_EQ(List->GridLineColor(), fw::clNone);
    EXPECT_TRUE(List->TabStop());
    EXPECT_EQ(List->DefaultRowHeight(), List->MinRowHeight());
    EXPECT_FALSE(List->DefaultRowHeightStored());

    fw::TOwnedPtr<TdxTreeList> fresh(new TdxTreeList(nullptr));
    EXPECT_EQ(fresh->Width(), 250);
    EXPECT_EQ(fresh->Height(), 150);
}

TEST_F(TreeListLayoutTest, NewColumnsStartWithTheirDefaultsAndFollowTheList) {
    TdxTreeListColumn* column = AddColumn(100);
    EXPECT_EQ(column->TreeList(), List);
    EXPECT_EQ(column->Owner(), Form);
    EXPECT_EQ(column->Alignment(), fw::taLeftJustify);
    EXPECT_EQ(column->Caption(), "");
    EXPECT_EQ(column->CharCase(), ecNormal);
    EXPECT_FALSE(column->DisableCaption());
    EXPECT_FALSE(column->DisableCustomizing());
    EXPECT_FALSE(column->DisableDragging());
    EXPECT_FALSE(column->DisableEditor());
    EXPECT_EQ(column->HeaderAlignment(), fw::taLeftJustify);
    EXPECT_EQ(column->MaxLength(), 0);
    EXPECT_EQ(column->MinWidth(), 20);
    EXPECT_FALSE(column->OEMConvert());
    EXPECT_EQ(column->PasswordChar(), '\0');
    EXPECT_TRUE(column->Sizing());
    EXPECT_EQ(column->Sorted(), csNone);
    EXPECT_TRUE(column->TabStop());
    EXPECT_EQ(column->VertAlignment(), tlTop);
    EXPECT_TRUE(column->Visible());
    EXPECT_EQ(column->Width(), 100);
    EXPECT_EQ(column->BandIndex(), 0);
    EXPECT_EQ(column->RowIndex(), 0);
    EXPECT_EQ(column->ColIndex(), 0);
    EXPECT_EQ(column->HeaderMaxLineCount(), 1);
    EXPECT_EQ(column->FieldIndex(), 0);
    EXPECT_EQ(column->SortedOrder(), -1);
    EXPECT_EQ(column->AssignedValues().Bits(), 0u);
    // Colour and font are the list's until written.
    EXPECT_EQ(column->Color(), List->Color());
    List->SetColor(0x00123456);
    EXPECT_EQ(column->Color(), 0x00123456);
    EXPECT_EQ(column->Font().Height(), -12);
    List->Font().SetHeight(-15);
    EXPECT_EQ(column->Font().Height(), -15);
    column->Font().SetHeight(-20);
    EXPECT_TRUE(column->AssignedValues().Contains(cvFont));
    List->Font().SetHeight(-13);
    EXPECT_EQ(column->Font().Height(), -20);
    column->SetColor(fw::clRed);
    List->SetColor(fw::clBlue);
    EXPECT_EQ(column->Color(), fw::clRed);
    // Read-only follows the list's editing until written.
    EXPECT_FALSE(column->ReadOnly());
    List->SetOptions(List->Options().Without(aoEditing));
    EXPECT_TRUE(column->ReadOnly());
    column->SetReadOnly(false);
    EXPECT_FALSE(column->ReadOnly());

    TdxTreeListGraphicColumn graphic(nullptr);
    EXPECT_EQ(graphic.HeaderMaxLineCount(), 0);
    EXPECT_EQ(graphic.TreeList(), nullptr);
    EXPECT_EQ(graphic.FieldIndex(), -1);
    EXPECT_EQ(graphic.ColIndex(), -1);
}

TEST_F(TreeListLayoutTest, ColumnWritesClampAndFlagWhatTheyStore) {
    TdxTreeListColumn* column = AddColumn(100);
    // The class default is not kept as a written width.
    EXPECT_FALSE(column->AssignedValues().Contains(cvWidth));
    column->SetWidth(10);
    EXPECT_EQ(column->Width(), 20);
    EXPECT_TRUE(column->AssignedValues().Contains(cvWidth));
    column->SetMinWidth(-5);
    EXPECT_EQ(column->MinWidth(), 0);
    column->SetWidth(-3);
    EXPECT_EQ(column->Width(), 0);
    // A larger minimum applies to the width at once, even an unwritten one.
    TdxTreeListColumn* other = AddColumn(100);
    other->SetMinWidth(150);
    EXPECT_EQ(other->Width(), 150);
    EXPECT_TRUE(other->AssignedValues().Contains(cvWidth));

    column->SetRowIndex(3);
    EXPECT_EQ(column->RowIndex(), 0);
    EXPECT_EQ(column->StoredRowIndex(), 3);
    column->SetRowIndex(-2);
    EXPECT_EQ(column->RowIndex(), 0);
    EXPECT_EQ(column->StoredRowIndex(), 0);

    column->SetBandIndex(-7);
    EXPECT_EQ(column->BandIndex(), -1);
    List->Bands().Add();
    column->SetBandIndex(9);
    EXPECT_EQ(column->BandIndex(), 1);
    column->SetHeaderMaxLineCount(-1);
    EXPECT_EQ(column->HeaderMaxLineCount(), 0);

    column->SetCaption("x");
    column->SetAlignment(fw::taRightJustify);
    column->SetMaxLength(8);
    EXPECT_EQ(column->AssignedValues(),
              (TdxColumnAssignedValues{cvWidth, cvCaption, cvAlignment, cvMaxLength}));

    column->RestoreDefaults();
    EXPECT_EQ(column->AssignedValues().Bits(), 0u);
    EXPECT_EQ(column->Width(), 100);
    EXPECT_EQ(column->MinWidth(), 20);
    EXPECT_EQ(column->Caption(), "");
    EXPECT_EQ(column->Font().Height(), List->Font().Height());
}

TEST_F(TreeListLayoutTest, ListAndBandWritesClamp) {
    List->SetIndentDesc(-1);
    EXPECT_EQ(List->IndentDesc(), 0);
    List->SetFixedBandLineWidth(0);
    EXPECT_EQ(List->FixedBandLineWidth(), 1);
    List->SetMaxRowLineCount(-5);
    EXPECT_EQ(List->MaxRowLineCount(), -1);
    List->SetRowSeparatorLineWidth(0);
    EXPECT_EQ(List->RowSeparatorLineWidth(), 1);
    List->SetPreviewLines(-3);
    EXPECT_EQ(List->PreviewLines(), -1);
    List->SetCustomizingRowCount(1);
    EXPECT_EQ(List->CustomizingRowCount(), 2);
    List->SetHeaderMinRowCount(0);
    EXPECT_EQ(List->HeaderMinRowCount(), 1);
    List->SetBandRowCount(0);
    EXPECT_EQ(List->BandRowCount(), 1);
    List->SetBandRowCount(9);
    EXPECT_EQ(List->BandRowCount(), 5);
    List->SetBandMaxRowCount(3);
    EXPECT_EQ(List->BandRowCount(), 3);
    List->SetBandMaxRowCount(0);
    EXPECT_EQ(List->BandMaxRowCount(), 1);
    EXPECT_EQ(List->BandRowCount(), 1);

    TdxTreeListBand* band = List->Bands().Items(0);
    band->SetWidth(10);
    EXPECT_EQ(band->Width(), 30);
    band->SetMinWidth(-1);
    EXPECT_EQ(band->MinWidth(), 0);
    band->SetWidth(10);
    EXPECT_EQ(band->Width(), 10);
    band->SetMinWidth(40);
    EXPECT_EQ(band->Width(), 40);
    EXPECT_THROW(List->Bands().Items(1), fw::EListError);
    EXPECT_THROW(List->Columns(0), fw::EListError);
}

TEST_F(TreeListLayoutTest, HeaderPanelRowCountRules) {
    List->SetHeaderPanelRowCount(0);
    EXPECT_EQ(List->HeaderPanelRowCount(), 1);
    EXPECT_TRUE(List->DefaultLayout());
    List->SetHeaderPanelRowCount(9);
    EXPECT_EQ(List->HeaderPanelRowCount(), 5);
    EXPECT_FALSE(List->DefaultLayout());
    List->SetDefaultLayout(true);
    EXPECT_EQ(List->HeaderPanelRowCount(), 1);
    List->SetHeaderPanelRowCount(2);
    EXPECT_FALSE(List->DefaultLayout());
    // A smaller maximum applies to the count.
    List->SetHeaderPanelRowCount(5);
    List->SetHeaderPanelMaxRowCount(3);
    EXPECT_EQ(List->HeaderPanelRowCount(), 3);
    List->SetHeaderPanelMaxRowCount(0);
    EXPECT_EQ(List->HeaderPanelMaxRowCount(), 1);
    EXPECT_EQ(List->HeaderPanelRowCount(), 1);
    // The count is stored unless it follows the columns; a write stops it following them.
    List->SetHeaderPanelMaxRowCount(5);
    List->SetOptionsEx(List->OptionsEx().With(aoAutoHeaderPanelHeight));
    EXPECT_FALSE(List->HeaderPanelRowCountStored());
    List->SetHeaderPanelRowCount(2);
    EXPECT_FALSE(List->OptionsEx().Contains(aoAutoHeaderPanelHeight));
    EXPECT_TRUE(List->HeaderPanelRowCountStored());
    EXPECT_EQ(List->HeaderPanelRowCount(), 2);
}

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

// --- header rows -----------------------------------------------------------------------------

TEST_F(TreeListLayoutTest, HeaderRowsStackAndTheLastUsedRowSpansToTheBottom) {
    MakeWindowList();
    List->SetHeaderPanelRowCount(3);
    Caption->SetRowIndex(1);
    EXPECT_EQ(List->BandRowsUsed(0), 2);
    EXPECT_EQ(List->ColumnsInRow(0, 0), 2);
    EXPECT_EQ(List->ColumnsInRow(0, 1), 1);
    // Row 1 is the last used row: it reaches the panel's bottom (two rows) unless its
    // HeaderMaxLineCount (1 for text columns) limits it.
    EXPECT_EQ(List->HeaderRowSpan(2), 1);
    Caption->SetHeaderMaxLineCount(0);
    EXPECT_EQ(List->HeaderRowSpan(2), 2);
    EXPECT_EQ(List->HeaderRowSpan(0), 1);
    EXPECT_EQ(List->HeaderRect(2), (TRect{0, 17 + 17, 340, 17 + 3 * 17}));
    Caption->SetHeaderMaxLineCount(1);
    EXPECT_EQ(List->HeaderRowSpan(2), 1);
    // The row's only column fills the band; the first row shares it.
    EXPECT_EQ(List->ColumnWidth(2), 340);
    EXPECT_EQ(List->ColumnWidth(0) + List->ColumnWidth(1), 340);
    EXPECT_EQ(List->NodeHeight(List->AddNode()), 3 * 16);
}

TEST_F(TreeListLayoutTest, CompactionNumbersTheUsedRowsWithoutGaps) {
    List->SetHeaderPanelRowCount(3);
    TdxTreeListColumn* a = AddColumn(100);
    TdxTreeListColumn* b = AddColumn(100);
    b->SetRowIndex(2);
    EXPECT_EQ(b->RowIndex(), 1);
    EXPECT_EQ(b->StoredRowIndex(), 1);
    EXPECT_EQ(List->BandRowsUsed(0), 2);
    // A hidden column beyond the used rows goes to the last used one.
    TdxTreeListColumn* hidden = AddColumn(100);
    hidden->SetVisible(false);
    hidden->SetRowIndex(2);
    EXPECT_EQ(hidden->RowIndex(), 1);
    EXPECT_EQ(hidden->StoredRowIndex(), 1);
    // Emptying row 0 moves row 1 up.
    a->SetRowIndex(1);
    EXPECT_EQ(a->RowIndex(), 0);
    EXPECT_EQ(b->RowIndex(), 0);
    EXPECT_EQ(List->BandRowsUsed(0), 1);
    // Fewer header rows clamp the rows.
    b->SetRowIndex(1);
    EXPECT_EQ(b->RowIndex(), 1);
    List->SetHeaderPanelRowCount(1);
    EXPECT_EQ(b->RowIndex(), 0);
    EXPECT_EQ(List->BandRowsUsed(0), 1);
}

TEST_F(TreeListLayoutTest, AutomaticHeaderHeightFollowsTheStoredRows) {
    TdxTreeListColumn* a = AddColumn(100);
    TdxTreeListColumn* b = AddColumn(100);
    // Without it a row beyond the header rows stays in the last one.
    b->SetRowIndex(3);
    EXPECT_EQ(List->HeaderPanelRowCount(), 1);
    EXPECT_EQ(b->RowIndex(), 0);
    EXPECT_EQ(b->StoredRowIndex(), 3);
    // Turning it on takes the highest stored row.
    List->SetOptionsEx(List->OptionsEx().With(aoAutoHeaderPanelHeight));
    EXPECT_EQ(List->HeaderPanelRowCount(), 4);
    EXPECT_TRUE(List->OptionsEx().Contains(aoAutoHeaderPanelHeight));
    // Written rows make room, and the rows are numbered without gaps.
    b->SetRowIndex(3);
    EXPECT_EQ(b->RowIndex(), 1);
    EXPECT_EQ(b->StoredRowIndex(), 1);
    EXPECT_EQ(List->HeaderPanelRowCount(), 2);
    a->SetRowIndex(2);
    EXPECT_EQ(a->RowIndex(), 1);
    EXPECT_EQ(b->RowIndex(), 0);
    EXPECT_EQ(List->HeaderPanelRowCount(), 2);
    EXPECT_TRUE(List->OptionsEx().Contains(aoAutoHeaderPanelHeight));
    // Turned on again it takes the stored rows; without it a band row count change leaves
    // the header rows alone.
    List->SetOptionsEx(List->OptionsEx().Without(aoAutoHeaderPanelHeight));
    List->SetHeaderPanelRowCount(4);
    List->SetOptionsEx(List->OptionsEx().With(aoAutoHeaderPanelHeight));
    EXPECT_EQ(List->HeaderPanelRowCount(), 2);
    List->SetOptionsEx(List->OptionsEx().Without(aoAutoHeaderPanelHeight));
    List->SetHeaderPanelRowCount(4);
    List->SetBandRowCount(2);
    EXPECT_EQ(List->HeaderPanelRowCount(), 4);
}

TEST_F(TreeListLayoutTest, DefaultLayoutGathersEveryColumnInOneBand) {
    List->SetDefaultLayout(false);
    List->SetShowBands(true);
    List->Bands().Add();
    List->Bands().Add();
    List->SetHeaderPanelRowCount(2);
    TdxTreeListColumn* a = AddColumn(100);
    a->SetBandIndex(1);
    TdxTreeListColumn* b = AddColumn(100);
    b->SetBandIndex(2);
    b->SetRowIndex(1);
    List->Bands().Items(0)->SetVisible(false);
    List->SetDefaultLayout(true);
    EXPECT_TRUE(List->DefaultLayout());
    EXPECT_EQ(List->Bands().Count(), 1);
    EXPECT_TRUE(List->Bands().Items(0)->Visible());
    EXPECT_FALSE(List->ShowBands());
    EXPECT_EQ(List->HeaderPanelRowCount(), 1);
    EXPECT_EQ(a->BandIndex(), 0);
    EXPECT_EQ(b->BandIndex(), 0);
    EXPECT_EQ(b->RowIndex(), 0);
    EXPECT_EQ(List->UpdateLockCount(), 0);
    // With no band left, one is made.
    List->SetDefaultLayout(false);
    List->Bands().Clear();
    EXPECT_EQ(a->BandIndex(), -1);
    List->SetDefaultLayout(true);
    EXPECT_EQ(List->Bands().Count(), 1);
    EXPECT_EQ(a->BandIndex(), 0);
}

// --- options ---------------------------------------------------------------------------------

TEST_F(TreeListLayoutTest, RowSelectAndInvertSelectExcludeEachOther) {
    ASSERT_TRUE(List->Options().Contains(aoRowSelect));
    List->SetOptionsEx(List->OptionsEx().With(aoInvertSelect));
    EXPECT_FALSE(List->Options().Contains(aoRowSelect));
    EXPECT_TRUE(List->OptionsEx().Contains(aoInvertSelect));
    List->SetOptions(List->Options().With(aoRowSelect));
    EXPECT_FALSE(List->OptionsEx().Contains(aoInvertSelect));
    // Other options leave the other set alone.
    List->SetOptions(List->Options().With(aoPreview));
    EXPECT_TRUE(List->Options().Contains(aoRowSelect));
    EXPECT_EQ(List->UpdateLockCount(), 0);
}

TEST_F(TreeListLayoutTest, SortOptionsResetTheColumnsSortStates) {
    TdxTreeListColumn* column = AddColumn(100);
    column->SetSorted(csUp);
    List->SetOptions(List->Options().With(aoAutoSort));
    EXPECT_EQ(column->Sorted(), csNone);
    column->SetSorted(csDown);
    List->SetOptions(List->Options().Without(aoAutoSort));
    EXPECT_EQ(column->Sorted(), csDown);
    List->SetOptionsEx(List->OptionsEx().With(aoMultiSort));
    EXPECT_EQ(column->Sorted(), csDown);
    List->SetOptionsEx(List->OptionsEx().Without(aoMultiSort));
    EXPECT_EQ(column->Sorted(), csNone);
    column->SetSorted(csUp);
    List->SetOptionsEx(List->OptionsEx().With(aoAnsiSort));
    EXPECT_EQ(column->Sorted(), csNone);
    column->SetSorted(csUp);
    List->SetOptionsEx(List->OptionsEx().Without(aoAnsiSort));
    EXPECT_EQ(column->Sorted(), csNone);
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

// --- bands -----------------------------------------------------------------------------------

class TreeListBands : public TreeListLayoutTest {
protected:
    TreeListBands() {
        List->SetDefaultLayout(false);
        List->Bands().Items(0)->SetCaption("A");
        List->Bands().Add()->SetCaption("B");
        List->Bands().Add()->SetCaption("C");
        for (int b = 0; b < 3; ++b)
            AddColumn(100)->SetBandIndex(b);
    }
    std::vector<int> BandIndexes() {
        std::vector<int> result;
        for (int c = 0; c < List->ColumnCount(); ++c)
            result.push_back(List->Columns(c)->BandIndex());
        return result;
    }
    std::string Order() {
        std::string order;
        for (int b = 0; b < List->Bands().Count(); ++b)
            order += List->Bands().Items(b)->Caption();
        return order;
    }
};

TEST_F(TreeListBands, DeletingABandRenumbersTheColumns) {
    AddColumn(100)->SetBandIndex(2);
    List->Bands().Delete(1);
    EXPECT_EQ(Order(), "AC");
    EXPECT_EQ(BandIndexes(), (std::vector<int>{0, -1, 1, 1}));
    EXPECT_THROW(List->Bands().Delete(2), fw::EListError);
    // A column without a band is not shown and has no header, but keeps its texts.
    TdxTreeListNode* node = List->AddNode();
    node->SetStrings(1, "kept");
    EXPECT_FALSE(List->IsColumnShown(List->Columns(1)));
    EXPECT_TRUE(List->HeaderRect(1).IsEmpty());
    EXPECT_EQ(List->ColumnWidth(1), 0);
    EXPECT_EQ(List->Columns(1)->DisplayText(node), "kept");
}

TEST_F(TreeListBands, MovingABandKeepsEveryColumnWithItsBand) {
    List->Bands().Items(0)->SetIndex(2);
    EXPECT_EQ(Order(), "BCA");
    EXPECT_EQ(BandIndexes(), (std::vector<int>{2, 0, 1}));
    List->Bands().Items(2)->SetIndex(-5);
    EXPECT_EQ(Order(), "ABC");
    EXPECT_EQ(BandIndexes(), (std::vector<int>{0, 1, 2}));
    List->Bands().Items(1)->SetIndex(99);
    EXPECT_EQ(Order(), "ACB");
    EXPECT_EQ(BandIndexes(), (std::vector<int>{0, 2, 1}));
}

TEST_F(TreeListBands, FixedBandsTakeTheEndsOnePerSide) {
    TdxTreeListBand* c = List->Bands().Items(2);
    c->SetFixed(bfLeft);
    EXPECT_EQ(Order(), "CAB");
    EXPECT_EQ(BandIndexes(), (std::vector<int>{1, 2, 0}));
    // A fixed band keeps its place and no other band passes it.
    c->SetIndex(2);
    EXPECT_EQ(Order(), "CAB");
    List->Bands().Items(2)->SetIndex(0);
    EXPECT_EQ(Order(), "CBA");
    // One band per side.
    TdxTreeListBand* a = List->Bands().Items(2);
    a->SetFixed(bfLeft);
    EXPECT_EQ(Order(), "ACB");
    EXPECT_EQ(c->Fixed(), bfNone);
    c->SetFixed(bfRight);
    EXPECT_EQ(Order(), "ABC");
    EXPECT_EQ(BandIndexes(), (std::vector<int>{0, 1, 2}));
    // A new band goes before the one fixed right.
    List->Bands().Add()->SetCaption("D");
    EXPECT_EQ(Order(), "ABDC");
    EXPECT_EQ(BandIndexes(), (std::vector<int>{0, 1, 3}));
    // A hidden band is never fixed.
    c->SetVisible(false);
    EXPECT_EQ(c->Fixed(), bfNone);
    c->SetFixed(bfLeft);
    EXPECT_EQ(c->Fixed(), bfNone);
    EXPECT_EQ(Order(), "ABDC");
}

TEST_F(TreeListBands, FixedBandsStayAtTheEdgesSetOffByTheirLine) {
    List->SetShowBands(true);
    List->SetOptionsEx(List->OptionsEx().Without(aoBandHeaderWidth));
    List->SetBounds(0, 0, 400, 100);
    for (int b = 0; b < 3; ++b)
        List->Bands().Items(b)->SetWidth(100);
    List->Bands().Items(0)->SetFixed(bfLeft);
    List->Bands().Items(2)->SetFixed(bfRight);
    // All fit: the right band follows the others after the line.
    EXPECT_EQ(List->BandRect(0).Left, 0);
    EXPECT_EQ(List->BandRect(1).Left, 102);
    EXPECT_EQ(List->BandRect(2).Left, 204);
    // Too narrow: the right band is pinned to the right edge.
    List->SetBounds(0, 0, 250, 100);
    EXPECT_EQ(List->BandRect(2), (TRect{150, 0, 250, 17 + 1}));
}

TEST_F(TreeListBands, AssigningBandsCopiesNumberAndProperties) {
    TdxTreeListBands other(nullptr);
    TdxTreeListBand* x = other.Add();
    x->SetCaption("X");
    x->SetWidth(120);
    x->SetAlignment(fw::taRightJustify);
    other.Add()->SetVisible(false);
    List->SetBands(other);
    EXPECT_EQ(List->Bands().Count(), 2);
    EXPECT_EQ(List->Bands().Items(0)->Caption(), "X");
    EXPECT_EQ(List->Bands().Items(0)->Width(), 120);
    EXPECT_EQ(List->Bands().Items(0)->Alignment(), fw::taRightJustify);
    EXPECT_FALSE(List->Bands().Items(1)->Visible());
    EXPECT_EQ(BandIndexes(), (std::vector<int>{0, 1, -1}));
    EXPECT_EQ(List->UpdateLockCount(), 0);
}

// --- columns and the nodes' texts ------------------------------------------------------------

class TreeListColumns : public TreeListLayoutTest {
protected:
    TreeListColumns() {
        for (int i = 0; i < 3; ++i)
            AddColumn(100);
        Node = List->AddNode();
        Child = Node->AddChild();
        for (int i = 0; i < 3; ++i) {
            Node->SetStrings(i, std::string(1, char('a' + i)));
            Child->SetStrings(i, std::string(1, char('A' + i)));
        }
    }
    TdxTreeListNode* Node = nullptr;
    TdxTreeListNode* Child = nullptr;
};

TEST_F(TreeListColumns, FieldIndexIsThePositionUnlessSet) {
    TdxTreeListColumn* last = List->Columns(2);
    EXPECT_EQ(last->FieldIndex(), 2);
    EXPECT_EQ(last->DisplayText(Node), "c");
    last->SetFieldIndex(0);
    EXPECT_EQ(last->FieldIndex(), 0);
    EXPECT_EQ(last->DisplayText(Child), "A");
    last->SetFieldIndex(-4);
    EXPECT_EQ(last->ExplicitFieldIndex(), -1);
    EXPECT_EQ(last->FieldIndex(), 2);
}

TEST_F(TreeListColumns, FreeingAColumnTakesItsTextsOutOfEveryNode) {
    TdxTreeListColumn* middle = List->Columns(1);
    middle->Free();
    EXPECT_EQ(List->ColumnCount(), 2);
    EXPECT_EQ(TextsOf(Node, 3), (std::vector<std::string>{"a", "c", ""}));
    EXPECT_EQ(TextsOf(Child, 3), (std::vector<std::string>{"A", "C", ""}));
    EXPECT_EQ(List->Columns(1)->DisplayText(Node), "c");
    EXPECT_EQ(Widths(), (std::vector<int>{100, 100}));
    // Leaving for another list takes them out too.
    auto* other = new TdxTreeList(Form);
    List->Columns(0)->SetTreeList(other);
    EXPECT_EQ(TextsOf(Node, 2), (std::vector<std::string>{"c", ""}));
    EXPECT_EQ(other->ColumnCount(), 1);
    EXPECT_EQ(other->Columns(0)->FieldIndex(), 0);
}

TEST_F(TreeListColumns, MovingAColumnMovesItsTextsAlong) {
    TdxTreeListColumn* first = List->Columns(0);
    first->SetIndex(2);
    EXPECT_EQ(List->ColumnIndexOf(first), 2);
    EXPECT_EQ(TextsOf(Node, 3), (std::vector<std::string>{"b", "c", "a"}));
    EXPECT_EQ(TextsOf(Child, 3), (std::vector<std::string>{"B", "C", "A"}));
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(List->Columns(c)->DisplayText(Node), TextsOf(Node, 3)[std::size_t(c)]);
    EXPECT_EQ(first->DisplayText(Node), "a");
    // Clamped to the list.
    first->SetIndex(-3);
    EXPECT_EQ(List->ColumnIndexOf(first), 0);
    EXPECT_EQ(TextsOf(Node, 3), (std::vector<std::string>{"a", "b", "c"}));
    // A column with its own field index leaves the texts where they are.
    first->SetFieldIndex(0);
    first->SetIndex(1);
    EXPECT_EQ(TextsOf(Node, 3), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(first->DisplayText(Node), "a");
}

TEST_F(TreeListColumns, TextsMoveEvenWhereANodeHasFewer) {
    TdxTreeListNode* short_ = List->AddNode();
    short_->SetStrings(0, "x");
    List->Columns(0)->SetIndex(2);
    EXPECT_EQ(TextsOf(short_, 4), (std::vector<std::string>{"", "", "x", ""}));
    // An empty text moved in from past the end pushes the others along.
    List->Columns(1)->SetIndex(0);
    EXPECT_EQ(TextsOf(short_, 4), (std::vector<std::string>{"", "", "x", ""}));
    List->Columns(2)->SetIndex(0);
    EXPECT_EQ(TextsOf(short_, 4), (std::vector<std::string>{"x", "", "", ""}));
    TdxTreeListNode* empty = List->AddNode();
    List->Columns(2)->SetIndex(0);
    EXPECT_EQ(TextsOf(empty, 3), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(TextsOf(Node, 3), (std::vector<std::string>{"b", "a", "c"}));
}

// The node stream records a node's entries: moving a column from beyond a node's last text
// appends the empty entries first and keeps them.
TEST_F(TreeListColumns, MovingAColumnFromBeyondTheTextsKeepsTheAppendedEntries) {
    AddColumn(100);
    AddColumn(100);
    TdxTreeListNode* node = List->AddNode();
    node->SetStrings(0, "a");
    node->SetStrings(1, "b");
    List->Columns(4)->SetIndex(0);
    std::vector<treelist_testing::TStreamNode> roots =
        treelist_testing::DecodeStream(List->WriteData());
    ASSERT_EQ(roots.size(), 2u);
    EXPECT_EQ(roots[1].Texts, (std::vector<std::string>{"", "a", "b", "", ""}));
    // A text moved out past the last entry: the entries reach its new place.
    TdxTreeListNode* other = List->AddNode();
    other->SetStrings(0, "x");
    List->Columns(0)->SetIndex(3);
    roots = treelist_testing::DecodeStream(List->WriteData());
    ASSERT_EQ(roots.size(), 3u);
    EXPECT_EQ(roots[2].Texts, (std::vector<std::string>{"", "", "", "x"}));
    EXPECT_EQ(roots[1].Texts, (std::vector<std::string>{"a", "b", "", "", ""}));
}

// Column moves against a vector of texts: texts past a node's last entry are empty, the
// entries reach both positions of a move, and every node of the moved subtree follows.
class TMovingTextsList : public TdxTreeList {
public:
    using TCustomdxTreeListControl::GetNodeStringCount;
    using TCustomdxTreeListControl::MoveColumnValue;
    using TdxTreeList::TdxTreeList;
};

TEST(TreeListTexts, MovesAgreeWithAVectorModel) {
    for (unsigned seed : {1u, 2u, 3u}) {
        std::mt19937 random(seed);
        fw::TOwnedPtr<TMovingTextsList> list(new TMovingTextsList(nullptr));
        TdxTreeListNode* node = list->AddNode();
        TdxTreeListNode* child = node->AddChild();
        std::vector<std::string> model;
        for (int step = 0; step < 400; ++step) {
            if (random() % 3 == 0) {
                const int index = static_cast<int>(random() % 20);
                const std::string text(random() % 3 == 0 ? 0 : 1 + random() % 20,
                                       static_cast<char>('a' + random() % 26));
                node->SetStrings(index, text);
                child->SetStrings(index, text);
                if (model.size() <= std::size_t(index))
                    model.resize(std::size_t(index) + 1);
                model[std::size_t(index)] = text;
            } else {
                const int from = static_cast<int>(random() % 24);
                const int to = static_cast<int>(random() % 24);
                list->MoveColumnValue(node, from, to);
                if (from == to)
                    continue;
                model.resize(std::max(model.size(), std::size_t(std::max(from, to)) + 1));
                std::string moved = model[std::size_t(from)];
                model.erase(model.begin() + from);
                model.insert(model.begin() + to, moved);
            }
            ASSERT_EQ(list->GetNodeStringCount(node), static_cast<int>(model.size()))
                << "seed " << seed << " step " << step;
            ASSERT_EQ(list->GetNodeStringCount(child), static_cast<int>(model.size()))
                << "seed " << seed << " step " << step;
            for (int i = 0; i < 30; ++i) {
                const std::string expected =
                    std::size_t(i) < model.size() ? model[std::size_t(i)] : "";
                ASSERT_EQ(node->Strings(i), expected) << "seed " << seed << " step " << step;
                ASSERT_EQ(child->Strings(i), expected) << "seed " << seed << " step " << step;
            }
        }
    }
}

TEST_F(TreeListColumns, ColIndexIsThePlaceInTheBandRow) {
    TdxTreeListColumn* a = List->Columns(0);
    TdxTreeListColumn* b = List->Columns(1);
    TdxTreeListColumn* c = List->Columns(2);
    EXPECT_EQ(c->ColIndex(), 2);
    c->SetColIndex(0);
    EXPECT_EQ(List->ColumnIndexOf(c), 0);
    EXPECT_EQ(a->ColIndex(), 1);
    EXPECT_EQ(TextsOf(Node, 3), (std::vector<std::string>{"c", "a", "b"}));
    // Beyond the last: the last place.
    c->SetColIndex(7);
    EXPECT_EQ(c->ColIndex(), 2);
    EXPECT_EQ(TextsOf(Node, 3), (std::vector<std::string>{"a", "b", "c"}));
    // Rows and hidden columns count apart.
    List->SetHeaderPanelRowCount(2);
    b->SetRowIndex(1);
    EXPECT_EQ(b->ColIndex(), 0);
    EXPECT_EQ(c->ColIndex(), 1);
    c->SetVisible(false);
    EXPECT_EQ(c->ColIndex(), -1);
    EXPECT_EQ(List->ColumnWidth(2), 0);
}

TEST_F(TreeListColumns, ColumnsOutliveTheirList) {
    TdxTreeListColumn* column = List->Columns(0);
    List->Free();
    List = nullptr;
    EXPECT_EQ(column->TreeList(), nullptr);
    EXPECT_EQ(column->Index(), -1);
    EXPECT_EQ(column->FieldIndex(), -1);
    EXPECT_EQ(column->ColIndex(), -1);
    column->SetWidth(50);
    column->Free();
}

TEST_F(TreeListColumns, EditorStateTravelsThroughTheColumn) {
    TdxTreeListColumn* column = List->Columns(1);
    column->SetMaxLength(4);
    column->SetPasswordChar('*');
    column->SetCharCase(ecUpperCase);
    int changes = 0;
    int validations = 0;
    column->OnChange = [&](fw::TObject* sender) {
        EXPECT_EQ(sender, column);
        ++changes;
    };
    column->OnValidate = [&](fw::TObject*) { ++validations; };
    TdxInplaceTextEdit editor;
    column->InitEditor(editor);
    EXPECT_EQ(editor.MaxLength, 4);
    EXPECT_EQ(editor.PasswordChar, '*');
    EXPECT_EQ(editor.CharCase, ecUpperCase);
    EXPECT_FALSE(editor.ReadOnly);
    column->LoadEditor(editor, Node);
    EXPECT_EQ(editor.Text, "b");
    editor.Text = "new";
    editor.OnChange(nullptr);
    editor.OnValidate(nullptr);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(validations, 1);
    column->StoreEditValue(Node, editor);
    EXPECT_EQ(Node->Strings(1), "new");
    EXPECT_EQ(std::get<std::string>(editor.Value), "new");
    EXPECT_TRUE(column->CanEdit());
    column->SetDisableEditor(true);
    EXPECT_FALSE(column->CanEdit());
    EXPECT_EQ(column->EditorClassName(), "TdxInplaceTreeListTextEdit");
    EXPECT_FALSE(column->HasCellCustomDraw());
    column->OnChange = nullptr;
    column->OnValidate = nullptr;
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

TEST_F(TreeListLayoutTest, BestFitMeasuresTextsTreeAndCaption) {
    TdxTreeListColumn* name = AddColumn(100, "Name");
    TdxTreeListColumn* other = AddColumn(100, "Caption");
    TdxTreeListNode* node = List->AddNode();
    node->SetStrings(0, "abcdefghijkl"); // 12 narrow characters: 72
    node->SetStrings(1, "xy");
    TdxTreeListNode* child = node->AddChild();
    child->SetStrings(0, "abc");
    int changed = 0;
    List->OnChangedColumnsWidth = [&](fw::TObject*) { ++changed; };
    // Margin: "0" is 6 wide, 6 / 2 + 1 = 4 on each side.
    // The tree column: 72 + one level of 16 (roots show a level); its child 18 + 32.
    List->ApplyBestFit(name);
    EXPECT_EQ(name->Width(), 72 + 16 + 2 * 4);
    // The caption ("Caption", 42 + 15) is wider than "xy".
    List->ApplyBestFit(other);
    EXPECT_EQ(other->Width(), 42 + 15 + 2 * 4);
    EXPECT_EQ(changed, 2);

    // Images and state images belong to the tree column's width.
    Images = new fw::TImageList(Form);
    List->SetImages(Images);
    node->SetStateIndex(1);
    List->SetStateImages(Images);
    List->ApplyBestFit(name);
    EXPECT_EQ(name->Width(), 72 + 16 + 16 + 16 + 8);
    List->SetShowRoot(false);
    List->ApplyBestFit(name);
    EXPECT_EQ(name->Width(), 72 + 16 + 16 + 8);

    // A written font measures the texts; not sizable columns stay.
    other->Font().SetHeight(-20); // narrow characters 10 wide: "xy" is 20
    other->SetCaption("");
    List->ApplyBestFit(other);
    EXPECT_EQ(other->Width(), 20 + 8);
    child->SetStrings(1, "wwwwwwwwww");
    List->ApplyBestFit(other);
    EXPECT_EQ(other->Width(), 100 + 8);
    other->SetSizing(false);
    child->SetStrings(1, "w");
    List->ApplyBestFitAll();
    EXPECT_EQ(other->Width(), 108);
    // A whole band.
    changed = 0;
    name->SetWidth(300);
    List->ApplyBandBestFit(0);
    EXPECT_EQ(name->Width(), 72 + 16 + 16 + 8);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(List->UpdateLockCount(), 0);
    List->OnChangedColumnsWidth = nullptr;
}

TEST_F(TreeListLayoutTest, BestFitOfWideCharacters) {
    TdxTreeListColumn* column = AddColumn(100);
    List->AddNode()->SetStrings(0, "프로그램명"); // five wide characters: 60
    List->SetShowRoot(false);
    List->ApplyBestFit(column);
    EXPECT_EQ(column->Width(), 60 + 8);
}

// --- rows in the data area -------------------------------------------------------------------

TEST_F(TreeListLayoutTest, RowsStartBelowThePanelsAndRepaintThere) {
    MakeWindowList();
    List->HandleNeeded();
    for (int i = 0; i < 20; ++i)
        List->AddNode();
    WindowOf(*List).Update();
    List->NodeAt(2)->SetImageIndex(1);
    EXPECT_EQ(WindowOf(*List).UpdateRegion().BoundingBox(), (TRect{0, 34 + 32, 340, 34 + 48}));
    WindowOf(*List).Update();
    // The data area holds 13 whole rows of 16 pixels (219 / 16).
    List->NodeAt(13)->SetImageIndex(1);
    EXPECT_EQ(WindowOf(*List).UpdateRegion().BoundingBox(), (TRect{0, 242, 340, 253}));
    WindowOf(*List).Update();
    List->NodeAt(14)->SetImageIndex(1);
    EXPECT_TRUE(WindowOf(*List).UpdateRegion().IsEmpty());
    List->NodeAt(19)->MakeVisible();
    EXPECT_EQ(List->TopVisibleNode(), List->NodeAt(19 - 13 + 1));
}

// --- stored properties -----------------------------------------------------------------------

TEST_F(TreeListLayoutTest, ColumnsStoreWhatTheyWereGivenAndReadItBack) {
    List->SetName("List");
    TdxTreeListColumn* column = AddColumn(60, "It's");
    column->SetRowIndex(3);
    column->SetSortedOrder(2);
    column->SetSizing(false);
    column->Font().SetStyle(fw::fsBold);
    column->SetPasswordChar('#');
    std::string body;
    std::vector<std::string> names;
    for (const fw::TLayoutProperty& p : column->StoredProperties()) {
        names.push_back(p.Name);
        std::string value;
        switch (p.Value.Kind) {
        case fw::TLayoutValue::Integer:
            value = std::to_string(p.Value.Int);
            break;
        case fw::TLayoutValue::String: {
            value = "'";
            for (char ch : p.Value.Text)
                value += ch == '\'' ? std::string("''") : std::string(1, ch);
            value += "'";
            break;
        }
        case fw::TLayoutValue::Set:
            value = "[";
            for (const std::string& item : p.Value.Items)
                value += (value.size() > 1 ? ", " : "") + item;
            value += "]";
            break;
        default:
            value = p.Value.Text;
        }
        body += "  " + p.Name + " = " + value + "\n";
    }
    // Written values and the hidden ones; never ColIndex, nor the row index read as 0.
    EXPECT_EQ(names,
              (std::vector<std::string>{"TreeList", "Caption", "Font.Charset", "Font.Color",
                                        "Font.Height", "Font.Name", "Font.Style", "PasswordChar",
                                        "Sizing", "Width", "SortedOrder", "StoredRowIndex"}));

    auto* form = LoadForm("object Copy: TForm\n object List: TdxTreeList\n end\n object Column: "
                          "TdxTreeListColumn\n" +
                              body + " end\nend",
                          treelist_testing::TreeListClasses(), {}, "COPY");
    auto* copy = dynamic_cast<TdxTreeListColumn*>(form->FindComponent("Column"));
    ASSERT_NE(copy, nullptr);
    ASSERT_NE(copy->TreeList(), nullptr);
    EXPECT_EQ(copy->TreeList()->Name(), "List");
    EXPECT_EQ(copy->Caption(), "It's");
    EXPECT_EQ(copy->Width(), 60);
    EXPECT_FALSE(copy->Sizing());
    EXPECT_EQ(copy->StoredRowIndex(), 3);
    EXPECT_EQ(copy->RowIndex(), 0);
    EXPECT_EQ(copy->SortedOrder(), 2);
    EXPECT_EQ(copy->PasswordChar(), '#');
    EXPECT_EQ(copy->Font().Style(), unsigned(fw::fsBold));
    EXPECT_EQ(copy->Font().Height(), -12);
    EXPECT_EQ(copy->AssignedValues(), column->AssignedValues());
    EXPECT_EQ(copy->StoredProperties().size(), column->StoredProperties().size());
}

} // namespace
