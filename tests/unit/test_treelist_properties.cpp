// A tree list's and its columns' published properties: the defaults a stored layout relies on,
// clamps and what writes store, option side effects, and a column's stored properties read
// back.
#include "test_treelist_layout_support.h"

#include <gtest/gtest.h>

namespace {

using namespace dxtl;
using fw::TRect;
using treelist_testing::TreeListLayoutTest;

// --- defaults and clamps ---------------------------------------------------------------------

// A stored layout holds only what differs from the defaults: the values it leaves out are
// these. The option sets' values are the ones stored layouts spell as numbers.
TEST_F(TreeListLayoutTest, NewListHasTheDefaultsStoredLayoutsLeaveOut) {
    EXPECT_EQ(List->Options().Bits(), 55u);
    EXPECT_EQ(List->OptionsEx().Bits(), 12350u);
    ASSERT_EQ(List->Bands().Count(), 1);
    const TdxTreeListBand* band = List->Bands().Items(0);
    EXPECT_EQ(band->Width(), 250);
    EXPECT_EQ(band->MinWidth(), 30);
    EXPECT_EQ(band->Alignment(), fw::taCenter);
    EXPECT_EQ(band->Fixed(), bfNone);
    EXPECT_TRUE(band->Sizing());
    EXPECT_TRUE(band->Visible());
    EXPECT_TRUE(List->DefaultLayout());
    EXPECT_EQ(List->HeaderPanelRowCount(), 1);
    EXPECT_FALSE(List->ShowBands());
    EXPECT_TRUE(List->ShowHeader());
    EXPECT_TRUE(List->ShowRoot());
    EXPECT_TRUE(List->ShowButtons());
    EXPECT_TRUE(List->ShowLines());
    // The fixture's list has none, as on the main window.
    EXPECT_EQ(fw::TOwnedPtr<TdxTreeList>(new TdxTreeList(nullptr))->BorderStyle(), fw::bsSingle);
    EXPECT_EQ(List->LookAndFeel(), lfStandard);
    EXPECT_EQ(List->PaintStyle(), psStandard);
    EXPECT_TRUE(List->HideSelection());
    EXPECT_TRUE(List->HideFocusRect());
    EXPECT_EQ(List->ScrollBars(), ssBoth);
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
    EXPECT_EQ(column->MinWidth(), 20);
    EXPECT_TRUE(column->Sizing());
    EXPECT_TRUE(column->Visible());
    EXPECT_EQ(column->BandIndex(), 0);
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

    // A graphic column's header spans the free header rows below it; outside a list a column
    // has no place.
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

// --- stored properties -----------------------------------------------------------------------

TEST_F(TreeListLayoutTest, ColumnsStoreWhatTheyWereGivenAndReadItBack) {
    List->SetName("List");
    TdxTreeListColumn* column = AddColumn(60, "It's");
    column->SetRowIndex(3);
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
                                        "Sizing", "Width", "StoredRowIndex"}));

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
    EXPECT_EQ(copy->PasswordChar(), '#');
    EXPECT_EQ(copy->Font().Style(), unsigned(fw::fsBold));
    EXPECT_EQ(copy->Font().Height(), -12);
    EXPECT_EQ(copy->AssignedValues(), column->AssignedValues());
    EXPECT_EQ(copy->StoredProperties().size(), column->StoredProperties().size());
}

} // namespace
