// The tree list's paint pass, pixel by pixel on the headless canvas: empty areas, selection
// colours, focus rectangles, node images, cut texts, grid lines and horizontal scrolling, on a
// plain list and on the main window's list. Expected pixels follow from the headless metrics
// (a -12 font: 12-pixel text, 6-pixel narrow advance, glyph boxes from (left + 1, top + 2) to
// (left + advance - 1, top + height - 2)) and the list's stated geometry.
#include "VarnelFixture.h"
#include "test_treelist_paint_support.h"

#include "test_colours.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using namespace fw;
using namespace test_colours;
using namespace dxtl;
using testing_support::VarnelTest;
using treelist_testing::TreeListPaintTestBase;
using varnel::TfVarnel;

// A solid, fully opaque 16 x 16 picture (pixels are 0xAABBGGRR).
TPixelImage SolidImage(TColorRef rgb) {
    TPixelImage image = TPixelImage::Blank(16, 16);
    for (std::uint32_t& pixel : image.Pixels)
        pixel = 0xFF000000u | rgb;
    return image;
}

class TreeListPaintTest : public TreeListPaintTestBase {
protected:
    // Two solid images: 0 red, 1 green.
    void AddImages() {
        Images = new TImageList(Form);
        Images->Add(SolidImage(kRed));
        Images->Add(SolidImage(kGreen));
        List->SetImages(Images);
    }
};

TEST_F(TreeListPaintTest, EmptyListFillsTheRowsAreaWithItsColour) {
    AddColumn(100, "A");
    AddColumn(80, "B");
    Repaint();
    const int top = RowsTop();
    ASSERT_GT(top, 0);
    // Under the columns, right of them and down to the bottom edge.
    for (int x : {0, 50, 99, 100, 179, 180, 250, 339})
        for (int y : {top, top + 1, 100, 252}) {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            EXPECT_EQ(At(x, y), kListColor);
        }
    // The header keeps its own colour above its two-pixel bottom edge.
    EXPECT_EQ(At(50, top - 3), Sys(SysColor::BtnFace));
}

TEST_F(TreeListPaintTest, SelectedNodeShowsItsSelectedImageCentredAfterTheIndentSlot) {
    // A multiple selection, so that the focused node is not the selected one by itself.
    List->SetOptions(List->Options().With(aoMultiSelect));
    AddImages();
    AddColumn(100);
    TdxTreeListNode* node = List->AddNode();
    node->SetImageIndex(0);
    node->SetSelectedIndex(1);
    Repaint();
    const int top = RowsTop();
    ASSERT_EQ(List->RowHeight(), 16);
    // The 16-pixel slot, then the 16 x 16 image filling the 16 x 16 area exactly.
    EXPECT_EQ(At(0, top + 8), kListColor);
    EXPECT_EQ(At(15, top + 8), kListColor);
    EXPECT_EQ(At(16, top), kRed);
    EXPECT_EQ(At(31, top + 15), kRed);
    EXPECT_EQ(At(32, top + 8), kListColor);

    List->SetNodeSelected(node, true);
    Repaint();
    EXPECT_EQ(At(16, top), kGreen);
    EXPECT_EQ(At(31, top + 15), kGreen);
    EXPECT_EQ(At(15, top + 8), kListColor);
}

TEST_F(TreeListPaintTest, ImageIndexOutOfRangeDrawsNoImageButFillsItsArea) {
    AddImages();
    AddColumn(100);
    TdxTreeListNode* node = List->AddNode();
    node->SetImageIndex(0);
    Repaint();
    const int top = RowsTop();
    ASSERT_EQ(At(20, top + 4), kRed);
    for (int index : {2, -1, -5, 1000}) {
        SCOPED_TRACE(index);
        node->SetImageIndex(index);
        Repaint();
        for (int x : {16, 20, 31})
            for (int y : {top, top + 8, top + 15})
                EXPECT_EQ(At(x, y), kListColor);
    }
}

TEST_F(TreeListPaintTest, TextWiderThanItsCellStartsAtTheLeftEdgeAndIsCut) {
    AddColumn(50);
    TdxTreeListColumn* wide = AddColumn(60);
    wide->SetAlignment(taRightJustify);
    wide->SetVertAlignment(tlTop);
    TdxTreeListNode* node = List->AddNode();
    node->SetStrings(1, "ABCDEFGHIJKLMNOP"); // 16 x 6 = 96 pixels
    Repaint();
    const int top = RowsTop();
    const int left = List->ColumnLeft(1);
    ASSERT_EQ(left, 50);
    const int glyphRow = top + 1 + 5; // text top = cell top + 1
    const TColorRef text = Sys(SysColor::WindowText);
    // Text rectangle: left + 2 .. left + 58 (one more in on the right for right alignment).
    EXPECT_EQ(At(left + 2, glyphRow), kListColor);
    EXPECT_EQ(At(left + 3, glyphRow), text);
    EXPECT_EQ(At(left + 8, glyphRow), kListColor); // gap between the first two glyphs
    EXPECT_EQ(At(left + 57, glyphRow), text);      // tenth glyph, cut after this column
    EXPECT_EQ(At(left + 58, glyphRow), kListColor);
    EXPECT_EQ(At(left + 59, glyphRow), kListColor);
}

TEST_F(TreeListPaintTest, GridPixelsOnlyWithShowGrid) {
    AddColumn(100);
    AddColumn(100);
    for (int i = 0; i < 3; ++i)
        List->AddNode();
    Repaint();
    const int top = RowsTop();
    const int rows = 3 * List->RowHeight();
    // Without the grid every pixel of the rows area is the list's colour: cells touch.
    for (int y = top; y < top + rows + 4; ++y)
        for (int x = 0; x < 340; ++x)
            if (At(x, y) != kListColor)
                FAIL() << "pixel " << x << "," << y;

    List->SetShowGrid(true);
    Repaint();
    const TColorRef grid = Sys(SysColor::BtnShadow);
    const int rowTop = RowsTop();
    // The first column's last pixel column is its vertical grid line.
    EXPECT_EQ(At(99, rowTop + 3), grid);
    EXPECT_EQ(At(98, rowTop + 3), kListColor);
    // A row's bottom line runs under the cells.
    const int rowBottom = rowTop + List->NodeHeight(List->NodeAt(0));
    EXPECT_EQ(At(150, rowBottom - 1), grid);
    EXPECT_EQ(At(150, rowBottom - 2), kListColor);
}

TEST_F(TreeListPaintTest, HorizontalScrollMovesIndentAndFirstColumnTogether) {
    AddImages();
    TdxTreeListColumn* first = AddColumn(300);
    first->SetVertAlignment(tlTop);
    AddColumn(300);
    TdxTreeListNode* node = List->AddNode();
    node->SetImageIndex(0);
    node->SetStrings(0, "W");
    Repaint();
    const int top = RowsTop();
    const int glyphRow = top + 1 + 5;
    const TColorRef text = Sys(SysColor::WindowText);
    // Unscrolled: image at 16..31, the cell from 32, its text box from 32 + 2 + 1.
    EXPECT_EQ(At(16, top + 4), kRed);
    EXPECT_EQ(At(15, top + 4), kListColor);
    EXPECT_EQ(At(35, glyphRow), text);
    EXPECT_EQ(At(34, glyphRow), kListColor);

    List->SetLeftCoord(10);
    ASSERT_EQ(List->LeftCoord(), 10);
    Repaint();
    EXPECT_EQ(At(5, top + 4), kListColor);
    EXPECT_EQ(At(6, top + 4), kRed);
    EXPECT_EQ(At(21, top + 4), kRed);
    EXPECT_EQ(At(22, top + 4), kListColor);
    EXPECT_EQ(At(25, glyphRow), text);
    EXPECT_EQ(At(24, glyphRow), kListColor);
    EXPECT_EQ(At(35, glyphRow), kListColor);
}

// A pass that runs while the update lock is held works on a layout built for it alone; the
// list's own queries during the pass rebuild theirs without pulling it from under the pass.
TEST_F(TreeListPaintTest, PaintingUnderTheUpdateLockKeepsItsOwnLayout) {
    AddColumn(100, "A");
    AddColumn(80, "B");
    List->SetHeaderPanelRowCount(2);
    TdxTreeListNode* node = List->AddNode();
    node->SetStrings(1, "W");
    List->BeginUpdate();
    List->Columns(1)->SetWidth(90); // drops the layout until the lock ends
    Repaint();
    const int top = RowsTop();
    EXPECT_EQ(At(50, top + 4), kListColor);
    // The second header line lies under one-line headers: the panel colour fills it.
    EXPECT_EQ(At(50, top - 1), Sys(SysColor::BtnShadow));
    List->EndUpdate();
    EXPECT_EQ(List->ColumnWidth(1), 90);
}

TEST_F(TreeListPaintTest, HandlerRaisingDuringThePassLeavesNoPassOpen) {
    AddImages();
    AddColumn(100);
    TdxTreeListNode* node = List->AddNode();
    node->SetImageIndex(0);
    std::string reported;
    Application.OnException = [&reported](const std::exception& e) { reported = e.what(); };
    List->OnGetImageIndex = [](TObject*, TdxTreeListNode*, int&) {
        throw std::runtime_error("handler failed");
    };
    Repaint();
    // The error reached the paint dispatch, and the pass that it cut short is closed.
    EXPECT_EQ(reported, "handler failed");
    EXPECT_EQ(List->PaintLockCount(), 0);
    List->OnGetImageIndex = [](TObject*, TdxTreeListNode*, int& index) { index = 1; };
    Repaint();
    EXPECT_EQ(List->PaintLockCount(), 0);
    EXPECT_EQ(At(20, RowsTop() + 4), kGreen);
}

// Every pixel of the client area is painted by the pass, whatever the style: the control
// answers the erase request without drawing, so a pixel the pass leaves shows old content.
TEST_F(TreeListPaintTest, EveryPixelIsPaintedInEveryStyle) {
    AddImages();
    TImageList* states = new TImageList(Form);
    states->SetSize(10, 10);
    states->Add(SolidImage(kGreen));
    // Wider than the list, so that the columns scroll.
    AddColumn(220);
    AddColumn(190);
    TdxTreeListNode* a = List->AddNode();
    TdxTreeListNode* a1 = a->AddChild();
    a1->AddChild()->SetStrings(0, "deep leaf");
    TdxTreeListNode* a2 = a->AddChild();
    a2->SetStateIndex(0);
    for (int i = 0; i < 4; ++i)
        List->AddNode()->SetStrings(1, "top leaf");
    a->SetExpanded(true);
    a1->SetExpanded(true);
    FocusAndSelect(a1);
    List->OnIsExistFooterCell = [](TObject*, TdxTreeListColumn*, bool& exists) { exists = true; };

    // Every combination of style, grid, lines and root; the side areas, state images and the
    // scroll offset come in pairs to keep the run short.
    for (int mask = 0; mask < 64; ++mask) {
        const bool outlook = mask & 1, grid = mask & 2, lines = mask & 4, root = mask & 8;
        const bool indicator = mask & 16, footer = mask & 16, withStates = mask & 32;
        const int leftCoord = (mask & 48) == 32 ? 10 : 0;
        SCOPED_TRACE(testing::Message()
                     << "outlook " << outlook << " grid " << grid << " lines " << lines << " root "
                     << root << " indicator " << indicator << " footer " << footer << " states "
                     << withStates << " left " << leftCoord);
        List->SetPaintStyle(outlook ? psOutlook : psStandard);
        List->SetShowGrid(grid);
        List->SetShowLines(lines);
        List->SetShowRoot(root);
        List->SetShowIndicator(indicator);
        List->SetShowFooter(footer);
        List->SetStateImages(withStates ? states : nullptr);
        List->SetLeftCoord(leftCoord);
        ASSERT_EQ(List->LeftCoord(), leftCoord);
        EXPECT_TRUE(EveryPixelPainted());
    }
}

// The same with the parts a row may carry beyond its cells: preview lines, wrapped text
// lines, row footers, and the new item row above the rows.
TEST_F(TreeListPaintTest, EveryPixelIsPaintedWithPreviewFootersAndTheNewItemRow) {
    AddImages();
    AddColumn(60);
    AddColumn(90);
    TdxTreeListNode* a = List->AddNode();
    TdxTreeListNode* a1 = a->AddChild();
    TdxTreeListNode* deepLeaf = a1->AddChild();
    deepLeaf->SetStrings(1, "a deep leaf with a long text");
    TdxTreeListNode* lastChild = a->AddChild();
    lastChild->SetStrings(1, "last");
    for (int i = 0; i < 3; ++i)
        List->AddNode()->SetStrings(0, "top leaf");
    a->SetExpanded(true);
    a1->SetExpanded(true);
    List->OnGetPreviewText = [](TObject*, TdxTreeListNode* node, std::string& text) {
        if (node->Level() > 0)
            text = "preview words that wrap over more than one line";
    };
    List->OnIsExistRowFooterCell = [](TObject*, TdxTreeListColumn*, TdxTreeListNode*,
                                      bool& exists) { exists = true; };
    FocusAndSelect(a1);
    List->SetOptions(List->Options().With(aoRowSelect));

    for (int mask = 0; mask < 64; ++mask) {
        const bool outlook = mask & 1, grid = mask & 2, previewGrid = mask & 4;
        const bool preview = mask & 8, footers = mask & 16, newItemAndWrap = mask & 32;
        SCOPED_TRACE(testing::Message()
                     << "outlook " << outlook << " grid " << grid << " preview grid " << previewGrid
                     << " preview " << preview << " footers " << footers
                     << " new item row and wrapping " << newItemAndWrap);
        List->BeginUpdate();
        List->SetPaintStyle(outlook ? psOutlook : psStandard);
        List->SetShowGrid(grid);
        List->SetShowPreviewGrid(previewGrid);
        List->SetOptions(preview ? List->Options().With(aoPreview)
                                 : List->Options().Without(aoPreview));
        List->SetShowRowFooter(footers);
        List->SetShowNewItemRow(newItemAndWrap);
        List->SetOptionsEx(newItemAndWrap ? List->OptionsEx().With(aoRowAutoHeight)
                                          : List->OptionsEx().Without(aoRowAutoHeight));
        List->EndUpdate();
        // The parts are there.
        EXPECT_EQ(List->PreviewLineCount(deepLeaf) > 1, preview);
        EXPECT_EQ(List->RowFooterCount(lastChild), footers ? 1 : 0);
        EXPECT_EQ(List->RowFooterCount(deepLeaf), footers ? 1 : 0);
        EXPECT_EQ(List->NewItemRowHeight() > 0, newItemAndWrap);
        EXPECT_EQ(List->RowLineCount(deepLeaf) > 1, newItemAndWrap);
        EXPECT_TRUE(EveryPixelPainted());
    }
}

TEST_F(TreeListPaintTest, EndEllipsisOptionCutsAWideTextWithDots) {
    AddColumn(50);
    TdxTreeListColumn* wide = AddColumn(60);
    wide->SetVertAlignment(tlTop);
    TdxTreeListNode* node = List->AddNode();
    node->SetStrings(1, "ABCDEFGHIJKLMNOP");
    const int glyphRow = RowsTop() + 1 + 5;
    const TColorRef text = Sys(SysColor::WindowText);
    // Text rectangle 52 .. 109 (57 wide). Without the option the tenth glyph (from 106) shows
    // its first column at 107.
    Repaint();
    EXPECT_EQ(At(107, glyphRow), text);
    // With it: six characters and "..." (9 x 6 = 54 pixels), the last dot's box ending at 105.
    List->SetOptions(List->Options().With(aoDrawEndEllipsis));
    Repaint();
    EXPECT_EQ(At(53, glyphRow), text);
    EXPECT_EQ(At(104, glyphRow), text);
    EXPECT_EQ(At(105, glyphRow), kListColor);
    EXPECT_EQ(At(107, glyphRow), kListColor);
}

TEST_F(TreeListPaintTest, TreeLinesAndExpandButtonsInTheStandardStyle) {
    constexpr TColorRef kLine = 0x00336699;
    List->SetShowLines(true);
    List->SetTreeLineStyle(tlSolid);
    List->SetTreeLineColor(static_cast<TColor>(kLine));
    AddColumn(200);
    TdxTreeListNode* parent = List->AddNode();
    parent->AddChild();
    parent->SetExpanded(true);
    Repaint();
    const int y = RowsTop();
    const int childTop = y + List->RowHeight();
    const TColorRef grey = Sys(SysColor::GrayText);
    const TColorRef ink = Sys(SysColor::WindowText);
    // The parent's 9 x 9 button: centred in its 16-pixel slot, top at the row's middle - 4.
    EXPECT_EQ(At(3, y + 4), grey);
    EXPECT_EQ(At(11, y + 12), grey);
    EXPECT_EQ(At(2, y + 8), kListColor);
    EXPECT_EQ(At(5, y + 8), ink); // minus bar
    EXPECT_EQ(At(9, y + 8), ink);
    EXPECT_EQ(At(7, y + 6), kListColor); // expanded: no plus bar
    // The parent's horizontal line starts 5 pixels right of its slot's middle.
    EXPECT_EQ(At(13, y + 8), kLine);
    EXPECT_EQ(At(11, y + 8), grey); // the button's right side
    EXPECT_EQ(At(12, y + 8), kListColor);
    // The child (last of its siblings): a line from its row top down to its middle in the
    // second slot, then across to the slot's right edge.
    EXPECT_EQ(At(24, childTop), kLine);
    EXPECT_EQ(At(24, childTop + 8), kLine);
    EXPECT_EQ(At(24, childTop + 9), kListColor);
    EXPECT_EQ(At(31, childTop + 8), kLine);
    EXPECT_EQ(At(23, childTop + 8), kListColor);

    parent->SetExpanded(false);
    Repaint();
    EXPECT_EQ(At(7, y + 6), ink); // plus bar
    EXPECT_EQ(At(24, childTop + 8), kListColor);
}

TEST_F(TreeListPaintTest, OutlookStylePaintsParentRowsInGroupAndLevelColours) {
    constexpr TColorRef kGroup = 0x00C0D0E0;
    constexpr TColorRef kGroupText = 0x00102030;
    constexpr TColorRef kLevelZero = 0x00405060;
    List->SetPaintStyle(psOutlook);
    List->SetGroupNodeColor(static_cast<TColor>(kGroup));
    TdxTreeListColumn* column = AddColumn(200);
    column->SetVertAlignment(tlTop);
    TdxTreeListNode* parent = List->AddNode();
    parent->SetStrings(0, "W");
    TdxTreeListNode* child = parent->AddChild();
    TdxTreeListNode* grandChild = child->AddChild();
    grandChild->SetStrings(0, "W");
    parent->SetExpanded(true);
    child->SetExpanded(true);
    Repaint();
    const int top = RowsTop();
    const int parentHeight = List->NodeHeight(parent);
    ASSERT_EQ(parentHeight, List->RowHeight() + 1); // the outline line above a parent row
    const int childTop = top + parentHeight;
    const int grandTop = childTop + List->NodeHeight(child);
    const TColorRef fontColor = Sys(SysColor::WindowText);

    // Parent row (level 0, one slot 0..14, then a 1-pixel strip): slot and cells in the group
    // colour, below a top line in the list's colour; text in the font colour (clNone).
    EXPECT_EQ(At(5, top), kListColor);
    EXPECT_EQ(At(100, top), kListColor);
    EXPECT_EQ(At(5, top + 1), kGroup);
    EXPECT_EQ(At(15, top + 8), kGroup);
    EXPECT_EQ(At(100, top + 8), kGroup);
    const int parentGlyphRow = top + 1 + 1 + 5; // cell one lower, text top = cell top + 1
    EXPECT_EQ(At(16 + 3, parentGlyphRow), fontColor);
    EXPECT_EQ(At(16 + 3, top + 1 + 1 + 2), fontColor); // the glyph's top edge
    EXPECT_EQ(At(16 + 3, top + 1 + 1 + 1), kGroup);
    // A leaf row keeps the list's colour in its cells, its level slots the group colour.
    EXPECT_EQ(At(5, grandTop + 8), kGroup);
    EXPECT_EQ(At(20, grandTop + 8), kGroup);
    EXPECT_EQ(At(100, grandTop + 8), kListColor);

    // Level colours: level 0 answers its own colour, level 1 keeps the group colour.
    std::vector<int> askedLevels;
    List->OnGetLevelColor = [&](TObject*, int level, TColor& color) {
        askedLevels.push_back(level);
        EXPECT_EQ(color, static_cast<TColor>(kGroup));
        if (level == 0)
            color = static_cast<TColor>(kLevelZero);
    };
    List->SetGroupNodeTextColor(static_cast<TColor>(kGroupText));
    Repaint();
    EXPECT_FALSE(askedLevels.empty());
    // The parent (level 0): slot and cells in the level-0 colour, text in the group text colour.
    EXPECT_EQ(At(5, top + 8), kLevelZero);
    EXPECT_EQ(At(100, top + 8), kLevelZero);
    EXPECT_EQ(At(16 + 3, parentGlyphRow), kGroupText);
    EXPECT_EQ(At(100, top), kListColor);
    // The child (level 1, a parent): slot 0 in the level-0 colour, its own slot and cells in
    // the group colour, its outline from its own slot on.
    EXPECT_EQ(At(5, childTop + 8), kLevelZero);
    EXPECT_EQ(At(20, childTop + 8), kGroup);
    EXPECT_EQ(At(100, childTop + 8), kGroup);
    EXPECT_EQ(At(5, childTop), kLevelZero);
    EXPECT_EQ(At(20, childTop), kListColor);
    EXPECT_EQ(At(100, childTop), kListColor);
    // The leaf (level 2): slots 0 and 1 by level, cells in the list's colour.
    EXPECT_EQ(At(5, grandTop + 8), kLevelZero);
    EXPECT_EQ(At(20, grandTop + 8), kGroup);
    EXPECT_EQ(At(100, grandTop + 8), kListColor);

    // With the grid the outline goes: the parent's cells start at its row top.
    List->SetShowGrid(true);
    Repaint();
    EXPECT_EQ(At(100, RowsTop()), kLevelZero);
}

TEST_F(TreeListPaintTest, IndicatorColumnHasARaisedCellPerRowAndMarksTheFocusedRow) {
    constexpr TColorRef kHeader = 0x00B0C0D0;
    List->SetHeaderColor(static_cast<TColor>(kHeader));
    List->SetShowIndicator(true);
    AddColumn(100);
    TdxTreeListNode* first = List->AddNode();
    TdxTreeListNode* focused = List->AddNode();
    List->ChangeFocus(focused, 0, false);
    Repaint();
    const int top = RowsTop();
    const int height = List->NodeHeight(first);
    ASSERT_EQ(height, 16);
    const TColorRef light = Sys(SysColor::BtnHighlight);
    const TColorRef shadow = Sys(SysColor::BtnShadow);
    const TColorRef black = 0x000000;
    // Each row's 12 x 16 cell: highlight on top and left, shadow on bottom and right.
    for (int rowTop : {top, top + height}) {
        SCOPED_TRACE(rowTop);
        EXPECT_EQ(At(0, rowTop), light);
        EXPECT_EQ(At(5, rowTop), light);
        EXPECT_EQ(At(0, rowTop + 8), light);
        EXPECT_EQ(At(11, rowTop + 8), shadow);
        EXPECT_EQ(At(5, rowTop + height - 1), shadow);
        EXPECT_EQ(At(11, rowTop), shadow); // top-right corner
        EXPECT_EQ(At(1, rowTop + 1), kHeader);
    }
    // The rows start right of the column.
    EXPECT_EQ(At(12, top + 8), kListColor);
    // No mark on the first row.
    for (int x = 1; x < 11; ++x)
        EXPECT_EQ(At(x, top + 8), kHeader) << x;
    // The focused row's mark: columns 4..7, 7, 5, 3 and 1 pixels high around the middle.
    const int middle = top + height + height / 2;
    EXPECT_EQ(At(3, middle), kHeader);
    for (int x = 4; x <= 7; ++x)
        EXPECT_EQ(At(x, middle), black) << x;
    EXPECT_EQ(At(8, middle), kHeader);
    EXPECT_EQ(At(4, middle - 3), black);
    EXPECT_EQ(At(4, middle + 3), black);
    EXPECT_EQ(At(4, middle - 4), kHeader);
    EXPECT_EQ(At(4, middle + 4), kHeader);
    EXPECT_EQ(At(7, middle - 1), kHeader);
    EXPECT_EQ(At(6, middle + 1), black);
    EXPECT_EQ(At(6, middle + 2), kHeader);
    // Below the rows the column is plain header colour.
    EXPECT_EQ(At(0, top + 2 * height + 4), kHeader);
}

TEST_F(TreeListPaintTest, FooterPanelIsFramedByTheLookAndShowsTheCellsItsHandlerAsksFor) {
    constexpr TColorRef kHeader = 0x00B0C0D0;
    List->SetHeaderColor(static_cast<TColor>(kHeader));
    List->SetShowFooter(true);
    AddColumn(100);
    AddColumn(80);
    List->AddNode();
    std::vector<int> askedColumns;
    List->OnIsExistFooterCell = [&](TObject*, TdxTreeListColumn* column, bool& exists) {
        EXPECT_FALSE(exists);
        askedColumns.push_back(column->Index());
        exists = column->Index() == 1;
    };
    const TColorRef frame = Sys(SysColor::WindowFrame);
    const TColorRef light = Sys(SysColor::BtnHighlight);
    const TColorRef shadow = Sys(SysColor::BtnShadow);
    const int right = List->ClientRect().Right - 1;
    const int footerRow = List->FooterRowHeight();
    ASSERT_GT(footerRow, 0);
    // The sunken cell of the second column (100..179), `top` the footer rows' top.
    const auto expectCell = [&](int top) {
        EXPECT_EQ(At(100, top + 5), shadow);
        EXPECT_EQ(At(140, top), shadow);
        EXPECT_EQ(At(140, top + footerRow - 1), light);
        EXPECT_EQ(At(179, top + 5), light);
        EXPECT_EQ(At(140, top + 5), kHeader);
        EXPECT_EQ(At(180, top + 5), kHeader);
        EXPECT_EQ(At(50, top + 5), kHeader); // the first column has no cell
    };

    // Standard look: a window frame, inside it a raised edge (4 pixels of height).
    Repaint();
    int footerTop = List->DataAreaRect().Bottom;
    ASSERT_EQ(List->FooterHeight(), footerRow + 4);
    ASSERT_EQ(footerTop + List->FooterHeight(), List->ClientRect().Bottom);
    EXPECT_EQ(askedColumns, (std::vector<int>{0, 1}));
    int bottom = footerTop + List->FooterHeight() - 1;
    EXPECT_EQ(At(50, footerTop), frame);
    EXPECT_EQ(At(0, footerTop + 5), frame);
    EXPECT_EQ(At(right, footerTop + 5), frame);
    EXPECT_EQ(At(50, bottom), frame);
    EXPECT_EQ(At(50, footerTop + 1), light);
    EXPECT_EQ(At(1, footerTop + 5), light);
    EXPECT_EQ(At(right - 1, footerTop + 5), shadow);
    EXPECT_EQ(At(50, bottom - 1), shadow);
    expectCell(footerTop + 2);

    // Ultra flat: only a sunken top line (3 pixels of height).
    List->SetLookAndFeel(lfUltraFlat);
    Repaint();
    footerTop = List->DataAreaRect().Bottom;
    ASSERT_EQ(List->FooterHeight(), footerRow + 3);
    bottom = footerTop + List->FooterHeight() - 1;
    EXPECT_EQ(At(50, footerTop), shadow);
    EXPECT_EQ(At(50, footerTop + 1 + footerRow), kHeader);
    EXPECT_EQ(At(0, footerTop + 5), kHeader);
    EXPECT_EQ(At(right, footerTop + 5), kHeader);
    EXPECT_EQ(At(50, bottom), kHeader);
    expectCell(footerTop + 1);

    // Flat: the sunken top line, then a raised edge.
    List->SetLookAndFeel(lfFlat);
    Repaint();
    footerTop = List->DataAreaRect().Bottom;
    bottom = footerTop + List->FooterHeight() - 1;
    EXPECT_EQ(At(50, footerTop), shadow);
    EXPECT_EQ(At(50, footerTop + 1), light);
    EXPECT_EQ(At(0, footerTop + 5), light);
    EXPECT_EQ(At(right, footerTop + 5), shadow);
    EXPECT_EQ(At(50, bottom), shadow);
    expectCell(footerTop + 2);

    // Without a handler the panel has no cells.
    List->OnIsExistFooterCell = nullptr;
    Repaint();
    EXPECT_EQ(At(100, footerTop + 2 + 5), kHeader);
    EXPECT_EQ(At(140, footerTop + 2), kHeader);
}

// Records the hot-track flag of every cell it paints.
class TRecordingTreeList : public TdxTreeList {
public:
    using TdxTreeList::TdxTreeList;
    std::vector<std::pair<const TdxTreeListNode*, bool>> HotTrackFlags;
    // The node under the mouse as the paint pass reads it.
    TdxTreeListNode* Hot = nullptr;

protected:
    TdxTreeListNode* PaintHotTrackNode() const override { return Hot; }
    void AfterPaintCell(TdxTreeListNode* node) override {
        HotTrackFlags.emplace_back(node, CellViewData().HotTrack);
        TdxTreeList::AfterPaintCell(node);
    }
};

TEST_F(TreeListPaintTest, HotTrackFlagMarksTheCellsOfTheNodeUnderTheMouseOnlyWithTheOption) {
    auto* list = new TRecordingTreeList(Form);
    list->SetParent(Form);
    list->SetBounds(0, 360, 300, 100);
    TdxTreeListColumn* first = list->CreateColumn();
    first->SetWidth(100);
    list->CreateColumn()->SetWidth(100);
    TdxTreeListNode* plain = list->AddNode();
    TdxTreeListNode* hot = list->AddNode();
    list->Hot = hot;
    const auto paint = [&] {
        list->HotTrackFlags.clear();
        Repaint(*list);
    };
    const auto flagsOf = [&](const TdxTreeListNode* node) {
        std::vector<bool> flags;
        for (const auto& [painted, flag] : list->HotTrackFlags)
            if (painted == node)
                flags.push_back(flag);
        return flags;
    };

    paint();
    EXPECT_EQ(flagsOf(plain), (std::vector<bool>{false, false}));
    EXPECT_EQ(flagsOf(hot), (std::vector<bool>{false, false}));

    list->SetOptionsEx(list->OptionsEx().With(aoHotTrack));
    paint();
    EXPECT_EQ(flagsOf(plain), (std::vector<bool>{false, false}));
    EXPECT_EQ(flagsOf(hot), (std::vector<bool>{true, true}));

    // No node under the mouse: no cell is hot.
    list->Hot = nullptr;
    paint();
    EXPECT_EQ(flagsOf(hot), (std::vector<bool>{false, false}));
    EXPECT_EQ(list->HotTrackFlags.size(), 4u);
}

// --- the main window's list ------------------------------------------------------------------

class MainListPaintTest : public VarnelTest {
protected:
    void SetUp() override {
        for (const char* caption : {"Alpha", "메모장"})
            AddWindow(caption);
        form = CreateMainForm();
        form->Show();
        list = form->tlWinList;
        ASSERT_GE(list->NodeCount(), 2);
        // The first node added is the focused one; the list selects in several rows.
        selected = list->NodeAt(0);
        ASSERT_EQ(list->FocusedNode(), selected);
        list->SetNodeSelected(selected, true);
    }
    TColorRef At(int x, int y) { return PixelOf(*list, x, y); }

    // The stored colours of the main window's list.
    static constexpr TColorRef kColor = 16383743;
    static constexpr TColorRef kHighlight = 12775679;
    static constexpr TColorRef kHideSelection = 14546943;
    // Rows start under the band and header panels, 17 pixels each, and are 16 high.
    static constexpr int kTop = 34;
    static constexpr int kBottom = kTop + 16;

    TfVarnel* form = nullptr;
    TdxTreeList* list = nullptr;
    TdxTreeListNode* selected = nullptr;
};

TEST_F(MainListPaintTest, SelectedRowIsHighlightedInEveryCellButNotInTheIndent) {
    Platform.SetFocusTo(list->Handle());
    Repaint(*list);
    // Cells: 32..48 of the first column (after the slot and the image), 69..339 of the
    // caption; the icon cell between them is the application's (MainFormIconCellTest).
    for (int x : {40, 48, 69, 200, 338}) {
        SCOPED_TRACE(x);
        EXPECT_EQ(At(x, kTop + 8), kHighlight);
    }
    // The indent slot and the image area keep the list's look.
    EXPECT_EQ(At(0, kTop + 8), kColor);
    EXPECT_EQ(At(15, kTop + 8), kColor);
    for (int y = kTop; y < kBottom; ++y)
        for (int x = 16; x < 32; ++x)
            ASSERT_NE(At(x, y), kHighlight) << x << "," << y;
    // The text colour clNone keeps the font's colour: the caption stays readable.
    EXPECT_EQ(At(69 + 2 + 1, kTop + 2 + 2), Platform.SysColor(SysColor::WindowText));
    // The next row is not selected.
    EXPECT_EQ(At(200, kBottom + 8), kColor);

    // Dotted focus rectangle around the cells: every other border pixel inverted.
    const TColorRef inverted = kHighlight ^ 0xFFFFFF;
    EXPECT_EQ(At(32, kTop), inverted);           // (32 + 34) even
    EXPECT_EQ(At(33, kTop), kHighlight);         // odd
    EXPECT_EQ(At(32, kBottom - 2), inverted);    // left edge
    EXPECT_EQ(At(339, kBottom - 1), inverted);   // bottom-right corner, (339 + 49) even
    EXPECT_EQ(At(338, kBottom - 1), kHighlight); // odd
    EXPECT_EQ(At(339, kTop + 1), inverted);      // right edge, (339 + 35) even
    EXPECT_EQ(At(339, kTop + 2), kHighlight);
    EXPECT_EQ(At(40, kTop + 1), kHighlight); // inside
}

// A mark is image 1 of the check-mark list in both the image and the selected image (as the
// view stores it); an unmarked row shows image 0, the empty box.
TEST_F(MainListPaintTest, MarkedRowShowsTheTickedBoxAndAnUnmarkedRowTheEmptyOne) {
    list->ClearSelection();
    TdxTreeListNode* marked = list->NodeAt(1);
    marked->SetImageIndex(1);
    marked->SetSelectedIndex(1);
    Repaint(*list);
    const TColorRef black = 0x000000;
    // Black pixels strictly inside the box outline (which runs from 1 to 13 of the image).
    const auto inkInsideBox = [&](int rowTop) {
        int ink = 0;
        for (int y = rowTop + 2; y < rowTop + 13; ++y)
            for (int x = 16 + 2; x < 16 + 13; ++x)
                ink += At(x, y) == black ? 1 : 0;
        return ink;
    };
    for (int rowTop : {kTop, kBottom}) {
        SCOPED_TRACE(rowTop);
        EXPECT_EQ(At(16 + 1, rowTop + 1), black);
        EXPECT_EQ(At(16 + 13, rowTop + 13), black);
    }
    EXPECT_EQ(inkInsideBox(kTop), 0);
    EXPECT_GT(inkInsideBox(kBottom), 5);
    // Selected, the marked row still shows the tick: its selected image is the mark too.
    list->SetNodeSelected(marked, true);
    Repaint(*list);
    EXPECT_GT(inkInsideBox(kBottom), 5);
}

TEST_F(MainListPaintTest, WithoutTheFocusSelectionIsGreyedAndTheFocusFrameSolid) {
    Platform.SetFocusTo(0); // another program takes the keyboard
    Repaint(*list);
    for (int x : {40, 200}) {
        SCOPED_TRACE(x);
        EXPECT_EQ(At(x, kTop + 8), kHideSelection);
    }
    EXPECT_EQ(At(5, kTop + 8), kColor);
    for (int y = kTop; y < kBottom; ++y)
        for (int x = 16; x < 32; ++x)
            ASSERT_NE(At(x, y), kHideSelection) << x << "," << y;
    // A solid inverted 1-pixel frame from the end of the indent to the columns' right edge.
    const TColorRef inverted = kHideSelection ^ 0xFFFFFF;
    for (int x : {32, 33, 100, 339}) {
        SCOPED_TRACE(x);
        EXPECT_EQ(At(x, kTop), inverted);
        EXPECT_EQ(At(x, kBottom - 1), inverted);
    }
    for (int y : {kTop + 1, kTop + 8, kBottom - 2}) {
        SCOPED_TRACE(y);
        EXPECT_EQ(At(32, y), inverted);
        EXPECT_EQ(At(339, y), inverted);
        EXPECT_EQ(At(33, y), kHideSelection);
        EXPECT_EQ(At(338, y), kHideSelection);
    }
}

TEST_F(MainListPaintTest, SelectedRowWithoutTheFocusHasNoFocusRectangle) {
    list->ChangeFocus(list->NodeAt(1), 0, false);
    Platform.SetFocusTo(list->Handle());
    Repaint(*list);
    EXPECT_EQ(At(32, kTop), kHighlight);
    EXPECT_EQ(At(339, kTop + 8), kHighlight);
}

} // namespace
