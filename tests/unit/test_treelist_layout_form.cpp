// The tree list as stored layouts make it: the main window's list with its band and three
// columns and the layout computed from them, and how a stored column finds its list and a list
// its image lists.
#include "VarnelFixture.h"
#include "test_treelist_layout_support.h"

#include <gtest/gtest.h>

namespace {

using namespace fw;
using namespace dxtl;
using testing_support::HeadlessTest;
using testing_support::VarnelTest;
using varnel::TfVarnel;

// What the main form relies on from its stored list: the band, the columns in their order with
// the field indexes the program reads and writes, the image lists found by name, and values of
// each stored kind (colour, enumeration, set, flag) applied.
TEST_F(VarnelTest, MainListIsBuiltFromItsStoredLayout) {
    TfVarnel* form = CreateMainForm();
    TdxTreeList* list = form->tlWinList;
    ASSERT_EQ(list->Bands().Count(), 1);
    EXPECT_EQ(list->Bands().Items(0)->Caption(), "원도우 목록");
    EXPECT_TRUE(list->ShowBands());

    ASSERT_EQ(list->ColumnCount(), 3);
    EXPECT_EQ(list->Columns(0), form->clSelect);
    EXPECT_EQ(list->Columns(1), form->lcICon);
    EXPECT_EQ(list->Columns(2), form->lcCaption);
    EXPECT_EQ(form->lcCaption->FieldIndex(), TfVarnel::kCaptionField);
    for (int c = 0; c < 3; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(list->Columns(c)->Owner(), form);
        EXPECT_EQ(list->Columns(c)->ColIndex(), c);
        EXPECT_EQ(list->Columns(c)->VertAlignment(), tlCenter);
    }
    EXPECT_EQ(form->clSelect->Caption(), "숨기기");
    EXPECT_EQ(form->lcCaption->Caption(), "프로그램명");
    EXPECT_FALSE(form->lcICon->Sizing());
    EXPECT_EQ(form->lcICon->HeaderMaxLineCount(), 1);

    EXPECT_EQ(list->Images(), form->ImgLstCheck);
    EXPECT_EQ(list->StateImages(), form->ImgLstCheck);
    EXPECT_EQ(list->Color(), 16383743);
    EXPECT_EQ(list->HighlightTextColor(), clNone);
    EXPECT_EQ(list->LookAndFeel(), lfFlat);
    EXPECT_EQ(list->Options(), (TdxTreeListOptions{aoTabThrough, aoRowSelect, aoMultiSelect,
                                                   aoAutoWidth, aoAutoSort}));
    EXPECT_FALSE(list->ShowLines());
    EXPECT_FALSE(list->HideSelection());
    // Every column reads the list's colour.
    EXPECT_EQ(form->lcCaption->Color(), 16383743);
}

TEST_F(VarnelTest, MainListComputesItsLayout) {
    TfVarnel* form = CreateMainForm();
    TdxTreeList* list = form->tlWinList;
    EXPECT_EQ(list->RowHeight(), 16);
    EXPECT_EQ(list->HeaderRowHeight(), 17);
    EXPECT_EQ(list->BandPanelHeight(), 17);
    EXPECT_EQ(list->DataAreaRect(), (TRect{0, 34, 340, 253}));
    EXPECT_EQ(list->TotalWidth(), 340);
    EXPECT_EQ(list->ColumnWidth(0), 49);
    EXPECT_EQ(list->ColumnWidth(1), 20);
    EXPECT_EQ(list->ColumnWidth(2), 271);
    EXPECT_EQ(list->BandRect(0), (TRect{0, 0, 340, 17}));
    EXPECT_EQ(list->HeaderRect(2), (TRect{69, 17, 340, 34}));
    // The form grows and the columns follow.
    form->SetBounds(0, 0, 600, 450);
    EXPECT_EQ(list->ClientWidth(), 590);
    EXPECT_EQ(list->ColumnWidth(0), 85);
    EXPECT_EQ(list->ColumnWidth(1), 20);
    EXPECT_EQ(list->ColumnWidth(2), 485);
}

TEST_F(VarnelTest, MainListPaintsBandHeadersAndRowsWhereTheLayoutPutsThem) {
    AddWindow("메모장");
    TfVarnel* form = CreateMainForm();
    form->Show();
    Platform.PaintAll();
    TdxTreeList& list = *form->tlWinList;
    const TColorRef bandAndHeader = 14280169;
    const TColorRef rows = 16383743;
    // Left of the centred band caption, and left of the first header's centred caption.
    EXPECT_EQ(PixelOf(list, 20, 8), bandAndHeader);
    EXPECT_EQ(PixelOf(list, 1, 25), bandAndHeader);
    // The header row ends where the rows begin.
    EXPECT_EQ(PixelOf(list, 300, 33 - 1), bandAndHeader);
    // (The first row's top line is the frame of the focused row.)
    EXPECT_EQ(PixelOf(list, 300, 35), rows);
    // The caption of the first row starts two pixels into the caption column, its first glyph
    // box one pixel further and two below the text top ((16 - 12) / 2 into the row).
    const TColorRef text = Platform.SysColor(SysColor::WindowText);
    EXPECT_EQ(PixelOf(list, 69 + 2 + 1, 34 + 2 + 2), text);
    EXPECT_EQ(PixelOf(list, 69 + 2, 34 + 2 + 2), rows);
}

// --- stored columns and references -----------------------------------------------------------

class StoredTreeList : public HeadlessTest {
protected:
    TForm* Load(const std::string& body) {
        return LoadForm("object Main: TForm\n" + body + "end\n", Registry);
    }
    std::string ErrorOf(const std::string& body) {
        return testing_support::LayoutErrorOf([&] { Load(body); });
    }
    TPropertyRegistry Registry = treelist_testing::TreeListClasses();
};

TEST_F(StoredTreeList, AColumnMayNameAListStoredAfterIt) {
    TForm* form = Load("  object Second: TdxTreeListGraphicColumn\n"
                       "    TreeList = List\n"
                       "  end\n"
                       "  object List: TdxTreeList\n"
                       "    Bands = <\n"
                       "      item\n"
                       "        Caption = 'One'\n"
                       "        Width = 90\n"
                       "      end\n"
                       "      item\n"
                       "        Fixed = bfRight\n"
                       "        Visible = False\n"
                       "      end>\n"
                       "    HeaderPanelRowCount = 2\n"
                       "    Images = Pictures\n"
                       "    Options = [aoAutoWidth]\n"
                       "    OptionsEx = [aoInvertSelect, aoAutoHeaderPanelHeight]\n"
                       "  end\n"
                       "  object First: TdxTreeListColumn\n"
                       "    TreeList = List\n"
                       "    RowIndex = 1\n"
                       "    StoredRowIndex = 2\n"
                       "  end\n"
                       "  object Pictures: TImageList\n"
                       "  end\n");
    auto* list = dynamic_cast<TdxTreeList*>(form->FindComponent("List"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->ColumnCount(), 2);
    // A column naming a list stored before it joins at once; one naming a list stored after
    // it joins when loading ends.
    EXPECT_EQ(list->Columns(0)->Name(), "First");
    EXPECT_EQ(list->Columns(1)->Name(), "Second");
    EXPECT_EQ(list->Columns(1)->HeaderMaxLineCount(), 0);
    EXPECT_EQ(list->Images(), form->FindComponent("Pictures"));
    ASSERT_EQ(list->Bands().Count(), 2);
    EXPECT_EQ(list->Bands().Items(0)->Caption(), "One");
    EXPECT_EQ(list->Bands().Items(0)->Width(), 90);
    EXPECT_FALSE(list->Bands().Items(1)->Visible());
    EXPECT_EQ(list->Bands().Items(1)->Fixed(), bfNone);
    EXPECT_EQ(list->Options(), (TdxTreeListOptions{aoAutoWidth}));
    EXPECT_TRUE(list->OptionsEx().Contains(aoInvertSelect));
    // Loading ends with the header rows following the highest stored row (2) and compacted:
    // Second in row 0, First in row 1.
    EXPECT_EQ(list->HeaderPanelRowCount(), 3);
    EXPECT_EQ(list->Columns(0)->RowIndex(), 1);
    EXPECT_EQ(list->Columns(0)->StoredRowIndex(), 2);
    EXPECT_EQ(list->Columns(1)->RowIndex(), 0);
    EXPECT_EQ(list->BandRowsUsed(0), 2);
    EXPECT_FALSE(list->DefaultLayout());
}

TEST_F(StoredTreeList, RowsStoredWithGapsKeepTheirOrder) {
    TForm* form = Load("  object List: TdxTreeList\n"
                       "    HeaderPanelMaxRowCount = 8\n"
                       "    HeaderPanelRowCount = 7\n"
                       "  end\n"
                       "  object A: TdxTreeListColumn\n"
                       "    TreeList = List\n"
                       "    RowIndex = 2\n"
                       "  end\n"
                       "  object B: TdxTreeListColumn\n"
                       "    TreeList = List\n"
                       "    RowIndex = 5\n"
                       "  end\n"
                       "  object C: TdxTreeListColumn\n"
                       "    TreeList = List\n"
                       "    RowIndex = 6\n"
                       "  end\n");
    auto* list = dynamic_cast<TdxTreeList*>(form->FindComponent("List"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Columns(0)->RowIndex(), 0);
    EXPECT_EQ(list->Columns(1)->RowIndex(), 1);
    EXPECT_EQ(list->Columns(2)->RowIndex(), 2);
    EXPECT_EQ(list->Columns(2)->StoredRowIndex(), 2);
    EXPECT_EQ(list->BandRowsUsed(0), 3);
}

TEST_F(StoredTreeList, BadReferencesNameTheComponent) {
    EXPECT_EQ(ErrorOf("  object C: TdxTreeListColumn\n    TreeList = Nowhere\n  end\n"),
              "C.TreeList: 'Nowhere' is not a tree list of Main");
    EXPECT_EQ(ErrorOf("  object P: TImageList\n  end\n"
                      "  object C: TdxTreeListColumn\n    TreeList = P\n  end\n"),
              "TEST, line 5: C.TreeList: 'P' is not a tree list of Main");
    EXPECT_EQ(ErrorOf("  object L: TdxTreeList\n    StateImages = Missing\n  end\n"),
              "L: 'Missing' is not an image list of Main");
    EXPECT_EQ(ErrorOf("  object L: TdxTreeList\n    Options = [aoNothing]\n  end\n"),
              "TEST, line 3: L.Options: 'aoNothing' is not a member of this set");
    EXPECT_EQ(ErrorOf("  object L: TdxTreeList\n    Bands = <\n      item\n        Colour = 1\n"
                      "      end>\n  end\n"),
              "TEST, line 3: L.Bands: unknown band property 'Colour'");
}

} // namespace
