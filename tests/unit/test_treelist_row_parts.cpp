// The parts of a tree list row beyond its cells - preview lines, wrapped text lines, row
// footers - and the new item row, the footer panel's cell texts and the incremental-search
// mark: row heights and pixels on the headless canvas. With the -12 font a text line is 12
// pixels high, a narrow character 6 wide, and a glyph's ink runs from (left + 1, top + 2) to
// (left + 4, top + 9); a row is 16 high and a footer row 19.
#include "test_treelist_paint_support.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace fw;
using namespace dxtl;
using treelist_testing::TreeListPaintTestBase;

constexpr TColorRef kPreviewBlue = 0x00FF0000;
constexpr TColorRef kHeader = 0x00B0C0D0;
constexpr TColorRef kFooter = 0x00A8C8D8;
constexpr TColorRef kFooterText = 0x00203040;

// Texts measured against a 161-pixel preview width (26 narrow characters fit, 27 do not).
const std::string k27Chars = "ABCDEFGHIJKLM NOPQRSTUVWXYZ";
const std::string k26Chars = "ABCDEFGHIJKL NOPQRSTUVWXYZ";
const std::string k25Chars = "ABCDEFGHIJKL NOPQRSTUVWXY";

class RowPartsTest : public TreeListPaintTestBase {
protected:
    RowPartsTest() { List->SetHeaderColor(static_cast<TColor>(kHeader)); }

    // Glyphs inked in `ink` inside [left, right) x [top, bottom): each glyph's box has one
    // top-left corner.
    int CountGlyphs(int left, int top, int right, int bottom, TColorRef ink) {
        int glyphs = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                if (At(x, y) == ink && At(x - 1, y) != ink && At(x, y - 1) != ink)
                    ++glyphs;
        return glyphs;
    }

    // Two columns, 0..99 and 100..179, texts at the top of their cells.
    void AddTwoColumns() {
        AddColumn(100)->SetVertAlignment(tlTop);
        AddColumn(80)->SetVertAlignment(tlTop);
    }

    // Preview texts come from this map (missing nodes: empty).
    void UsePreviewTexts() {
        List->OnGetPreviewText = [this](TObject*, TdxTreeListNode* node, std::string& text) {
            EXPECT_TRUE(text.empty());
            const auto found = PreviewTexts.find(node);
            if (found != PreviewTexts.end())
                text = found->second;
        };
    }
    int PreviewRowHeight(int lines) {
        return List->RowHeight() * List->HeaderPanelRowCount() + lines * List->PreviewTextHeight() +
               2;
    }

    // An incremental search in cell mode without the input focus: the first `length`
    // characters of `node`'s text in `column` match.
    void StartSearch(TdxTreeListNode* node, int column, int length) {
        List->SetOptions(List->Options().Without(aoRowSelect));
        List->ChangeFocus(node, column, false);
        List->SearchMatch = length;
    }

    std::map<const TdxTreeListNode*, std::string> PreviewTexts;
};

// --- preview ---------------------------------------------------------------------------------

TEST_F(RowPartsTest, PreviewLinesAreTheTextWrappedFromTheIndentToTheColumnsRightEdge) {
    List->SetOptions(List->Options().With(aoPreview));
    ASSERT_TRUE(List->OptionsEx().Contains(aoAutoCalcPreviewLines));
    ASSERT_EQ(List->PreviewTextHeight(), 12);
    UsePreviewTexts();
    AddTwoColumns(); // 180 wide: 161 pixels of text after a root row's 16-pixel indent
    TdxTreeListNode* wraps = List->AddNode();
    TdxTreeListNode* fits = List->AddNode();
    TdxTreeListNode* parent = List->AddNode();
    TdxTreeListNode* child = parent->AddChild(); // indent 32: 145 pixels
    TdxTreeListNode* empty = List->AddNode();
    TdxTreeListNode* longText = List->AddNode();
    parent->SetExpanded(true);
    PreviewTexts[wraps] = k27Chars;
    PreviewTexts[fits] = k26Chars;
    PreviewTexts[parent] = k25Chars;
    PreviewTexts[child] = k25Chars;
    std::string fiveLines; // five 24-character lines of five words
    for (int i = 0; i < 25; ++i)
        fiveLines += i ? " WORD" : "WORD";
    PreviewTexts[longText] = fiveLines;
    List->SetPreviewLines(2); // drops measured heights

    EXPECT_EQ(List->PreviewLineCount(wraps), 2);
    EXPECT_EQ(List->NodeHeight(wraps), PreviewRowHeight(2));
    EXPECT_EQ(List->PreviewLineCount(fits), 1);
    EXPECT_EQ(List->NodeHeight(fits), PreviewRowHeight(1));
    EXPECT_EQ(List->PreviewLineCount(parent), 1);
    EXPECT_EQ(List->PreviewLineCount(child), 2);
    EXPECT_EQ(List->NodeHeight(child), PreviewRowHeight(2));
    // No text: no preview part at all.
    EXPECT_EQ(List->PreviewLineCount(empty), 0);
    EXPECT_EQ(List->NodeHeight(empty), List->RowHeight());
    // PreviewLines caps the measured lines when positive.
    EXPECT_EQ(List->PreviewLineCount(longText), 2);
    EXPECT_EQ(List->NodeHeight(longText), PreviewRowHeight(2));
    List->SetPreviewLines(4);
    EXPECT_EQ(List->NodeHeight(longText), PreviewRowHeight(4));
    List->SetPreviewLines(-1);
    EXPECT_EQ(List->NodeHeight(longText), PreviewRowHeight(5));
    EXPECT_EQ(List->NodeHeight(wraps), PreviewRowHeight(2));

    // One pixel more width and the 27 characters fit on one line.
    List->Columns(1)->SetWidth(81);
    EXPECT_EQ(List->PreviewLineCount(wraps), 1);
    EXPECT_EQ(List->NodeHeight(wraps), PreviewRowHeight(1));
}

TEST_F(RowPartsTest, FixedPreviewLinesGiveEveryRowTheSameLinesAndTheHandlerHasTheLastWord) {
    List->SetOptions(List->Options().With(aoPreview));
    List->SetOptionsEx(List->OptionsEx().Without(aoAutoCalcPreviewLines));
    UsePreviewTexts();
    AddTwoColumns();
    TdxTreeListNode* plain = List->AddNode();
    TdxTreeListNode* withText = List->AddNode();
    PreviewTexts[withText] = k27Chars + " " + k27Chars + " " + k27Chars;
    List->SetPreviewLines(3);
    for (TdxTreeListNode* node : {plain, withText}) {
        EXPECT_EQ(List->PreviewLineCount(node), 3);
        EXPECT_EQ(List->NodeHeight(node), PreviewRowHeight(3));
    }

    std::vector<int> arrived;
    List->OnGetPreviewLineCount = [&](TObject*, TdxTreeListNode* node, int& count) {
        arrived.push_back(count);
        count = node == plain ? 0 : 1;
    };
    List->SetPreviewLines(3);
    EXPECT_EQ(List->NodeHeight(plain), List->RowHeight());
    EXPECT_EQ(List->NodeHeight(withText), PreviewRowHeight(1));
    ASSERT_FALSE(arrived.empty());
    for (int count : arrived)
        EXPECT_EQ(count, 3);
    List->OnGetPreviewLineCount = nullptr;

    // No lines at all, or no preview option: plain rows.
    List->SetPreviewLines(0);
    EXPECT_EQ(List->PreviewLineCount(withText), 0);
    EXPECT_EQ(List->NodeHeight(withText), List->RowHeight());
    List->SetPreviewLines(3);
    List->SetOptions(List->Options().Without(aoPreview));
    EXPECT_EQ(List->PreviewLineCount(withText), 0);
    EXPECT_EQ(List->NodeHeight(withText), List->RowHeight());
}

TEST_F(RowPartsTest, PreviewTextIsPaintedUnderTheCellsInThePreviewFontOrTheSelectionColours) {
    List->SetOptions(List->Options().With(aoPreview));
    UsePreviewTexts();
    AddTwoColumns();
    TdxTreeListNode* first = List->AddNode();
    TdxTreeListNode* second = List->AddNode();
    first->SetStrings(1, "W");
    PreviewTexts[first] = "AB";
    PreviewTexts[second] = k27Chars; // two lines
    List->SetPreviewLines(2);
    Repaint();
    const int top = RowsTop();
    ASSERT_EQ(List->NodeHeight(first), 30);
    const int secondTop = top + 30;
    const TColorRef ink = Sys(SysColor::WindowText);

    // The cell text keeps the font colour; the preview starts under the 16-pixel cells, its
    // text 2 pixels in from the indent's end (16) and 1 pixel down.
    EXPECT_EQ(At(103, top + 1 + 5), ink);
    const int previewGlyphTop = top + 16 + 1 + 2;
    ExpectGlyphBoxAt(19, previewGlyphTop, kPreviewBlue, kListColor);
    EXPECT_EQ(At(26, previewGlyphTop + 3), kPreviewBlue); // "B"
    EXPECT_EQ(At(8, previewGlyphTop + 3), kListColor);    // the indent
    // The wrapped preview's second line ("NOPQRSTUVWXYZ") lies 12 pixels under its first.
    EXPECT_EQ(At(19, secondTop + 19), kPreviewBlue);
    EXPECT_EQ(At(19, secondTop + 31), kPreviewBlue);
    EXPECT_EQ(At(19, secondTop + 30), kListColor);
    EXPECT_EQ(At(19 + 13 * 6, secondTop + 31), kListColor); // line 2 has 13 characters

    // A selected row in a focused list: the preview takes the highlight and its text colour.
    FocusAndSelect(first);
    Repaint();
    const TColorRef highlight = Sys(SysColor::Highlight);
    EXPECT_EQ(At(100, top + 8), highlight);
    EXPECT_EQ(At(100, top + 22), highlight);
    EXPECT_EQ(At(178, top + 28), highlight);
    EXPECT_EQ(At(18, previewGlyphTop + 3), highlight);
    EXPECT_EQ(At(19, previewGlyphTop), Sys(SysColor::HighlightText));
    EXPECT_EQ(At(8, previewGlyphTop + 3), kListColor);
    EXPECT_EQ(At(19, secondTop + 19), kPreviewBlue);
}

// --- wrapped text lines ----------------------------------------------------------------------

TEST_F(RowPartsTest, RowAutoHeightAddsATextLineForEachWrappedLineOfTheTallestCell) {
    List->SetOptionsEx(List->OptionsEx().With(aoRowAutoHeight));
    ASSERT_EQ(List->MaxRowLineCount(), -1);
    AddTwoColumns(); // the second column has 77 pixels of text
    TdxTreeListNode* twoLines = List->AddNode();
    twoLines->SetStrings(1, "ABCDEF GHIJKL"); // 78 pixels
    TdxTreeListNode* oneLine = List->AddNode();
    oneLine->SetStrings(1, "ABCDEF GHIJK");
    TdxTreeListNode* threeLines = List->AddNode();
    threeLines->SetStrings(0, "W");
    threeLines->SetStrings(1, "ABC DEF GHI JKL MNO PQR STU");
    // The first column loses the indent: 100 - 16 - 3 at the root, 100 - 32 - 3 a level down.
    TdxTreeListNode* parent = List->AddNode();
    TdxTreeListNode* child = parent->AddChild();
    parent->SetExpanded(true);
    parent->SetStrings(0, "ABCDE FGHIJ"); // 66 pixels
    child->SetStrings(0, "ABCDE FGHIJ");
    List->SetMaxRowLineCount(-1); // drops measured heights
    const int row = List->RowHeight();
    const int text = List->TextHeight();
    ASSERT_EQ(text, 12);

    EXPECT_EQ(List->RowLineCount(twoLines), 2);
    EXPECT_EQ(List->NodeHeight(twoLines), row + text);
    EXPECT_EQ(List->RowLineCount(oneLine), 1);
    EXPECT_EQ(List->NodeHeight(oneLine), row);
    EXPECT_EQ(List->RowLineCount(threeLines), 3);
    EXPECT_EQ(List->NodeHeight(threeLines), row + 2 * text);
    EXPECT_EQ(List->NodeHeight(parent), row);
    EXPECT_EQ(List->RowLineCount(child), 2);
    EXPECT_EQ(List->NodeHeight(child), row + text);

    // A positive maximum caps the lines, 0 turns the growth off.
    List->SetMaxRowLineCount(2);
    EXPECT_EQ(List->NodeHeight(threeLines), row + text);
    EXPECT_EQ(List->NodeHeight(twoLines), row + text);
    List->SetMaxRowLineCount(0);
    EXPECT_EQ(List->NodeHeight(threeLines), row);
    EXPECT_EQ(List->NodeHeight(child), row);

    // The handler sees the measured count and may change it.
    std::vector<int> arrived;
    List->OnGetRowLineCount = [&](TObject*, TdxTreeListNode* node, int& count) {
        if (node == threeLines) {
            arrived.push_back(count);
            count = 5;
        }
    };
    List->SetMaxRowLineCount(-1);
    EXPECT_EQ(List->NodeHeight(threeLines), row + 4 * text);
    ASSERT_FALSE(arrived.empty());
    EXPECT_EQ(arrived.front(), 3);
    List->OnGetRowLineCount = nullptr;

    // One pixel wider and 78 pixels fit on a line.
    List->Columns(1)->SetWidth(81);
    EXPECT_EQ(List->NodeHeight(twoLines), row);
}

TEST_F(RowPartsTest, WrappedCellTextShowsItsNextLineLowerInTheSameCell) {
    AddTwoColumns();
    TdxTreeListNode* wrapped = List->AddNode();
    wrapped->SetStrings(1, "ABCDEF GHIJKL");
    TdxTreeListNode* next = List->AddNode();
    next->SetStrings(1, "W");
    const TColorRef ink = Sys(SysColor::WindowText);
    const int top = RowsTop();
    // Without the option: one cut line, the next row right under it.
    Repaint();
    EXPECT_EQ(At(103, top + 3), ink);
    EXPECT_EQ(At(103, top + 16 + 3), ink); // the next row's "W"

    List->SetOptionsEx(List->OptionsEx().With(aoRowAutoHeight));
    Repaint();
    ASSERT_EQ(List->NodeHeight(wrapped), 28);
    // Line one "ABCDEF" at the text rectangle's top (row top + 1), line two "GHIJKL" 12
    // pixels lower, both from the text rectangle's left (102).
    for (int lineTop : {top + 1, top + 13}) {
        SCOPED_TRACE(lineTop);
        ExpectGlyphBoxAt(103, lineTop + 2, ink, kListColor);
        EXPECT_EQ(At(109, lineTop + 5), ink);
        EXPECT_EQ(At(103 + 7 * 6, lineTop + 5), kListColor); // no "G" after "ABCDEF "
    }
    EXPECT_EQ(At(103, top + 12), kListColor);
    // The next row starts 28 pixels down.
    EXPECT_EQ(At(103, top + 28 + 3), ink);
    EXPECT_EQ(At(103, top + 28 + 2), kListColor);
}

// A row is as tall as its text needs in the rectangle the text is painted in, which a grid
// line or a right alignment makes one pixel narrower: no word may be lost below the row.
TEST_F(RowPartsTest, WrappedTextIsMeasuredInTheWidthItIsPaintedIn) {
    List->SetOptionsEx(List->OptionsEx().With(aoRowAutoHeight));
    AddColumn(100);
    TdxTreeListColumn* column = AddColumn(81); // 100..180; 78 pixels of text without a grid
    TdxTreeListNode* node = List->AddNode();
    // Two 78-pixel lines, or four lines of a word in anything narrower.
    node->SetStrings(1, "ABCDEF GHIJKL MNOPQR STUVWX");
    const TColorRef ink = Sys(SysColor::WindowText);
    const auto glyphsInTheCell = [&] {
        Repaint();
        const int top = RowsTop();
        return CountGlyphs(100, top, 181, top + List->NodeHeight(node), ink);
    };
    ASSERT_EQ(glyphsInTheCell(), 24);
    {
        SCOPED_TRACE("grid");
        List->SetShowGrid(true);
        EXPECT_EQ(glyphsInTheCell(), 24);
        List->SetShowGrid(false);
    }
    {
        SCOPED_TRACE("right aligned");
        column->SetAlignment(taRightJustify);
        EXPECT_EQ(glyphsInTheCell(), 24);
    }
}

// --- row footers -----------------------------------------------------------------------------

TEST_F(RowPartsTest, LastChildCarriesOneFooterPerLevelItCloses) {
    AddTwoColumns();
    List->SetShowRowFooter(true);
    TdxTreeListNode* parent = List->AddNode();
    TdxTreeListNode* first = parent->AddChild();
    TdxTreeListNode* last = parent->AddChild();
    TdxTreeListNode* grandChild = last->AddChild();
    parent->SetExpanded(true);
    const int row = List->RowHeight();
    const int footer = List->RowFooterHeight();
    ASSERT_GT(footer, 0);

    EXPECT_EQ(List->RowFooterCount(parent), 0);
    EXPECT_EQ(List->NodeHeight(parent), row);
    EXPECT_EQ(List->RowFooterCount(first), 0);
    EXPECT_EQ(List->NodeHeight(first), row);
    // The collapsed last child closes its parent.
    EXPECT_EQ(List->RowFooterNodes(last), (std::vector<TdxTreeListNode*>{parent}));
    EXPECT_EQ(List->NodeHeight(last), row + footer);

    // Opened, its last child closes both levels, innermost first.
    last->SetExpanded(true);
    EXPECT_EQ(List->RowFooterCount(last), 0);
    EXPECT_EQ(List->NodeHeight(last), row);
    EXPECT_EQ(List->RowFooterNodes(grandChild), (std::vector<TdxTreeListNode*>{last, parent}));
    EXPECT_EQ(List->NodeHeight(grandChild), row + 2 * footer);

    // A level the handler answers false for keeps no footer.
    std::vector<int> askedLevels;
    List->OnIsLevelFooter = [&](TObject*, int level, bool& isFooter) {
        EXPECT_TRUE(isFooter);
        askedLevels.push_back(level);
        isFooter = level != 0;
    };
    EXPECT_EQ(List->RowFooterNodes(grandChild), (std::vector<TdxTreeListNode*>{last}));
    EXPECT_EQ(List->NodeHeight(grandChild), row + footer);
    // It is asked with the levels of the closed parents.
    EXPECT_EQ(std::set<int>(askedLevels.begin(), askedLevels.end()), (std::set<int>{0, 1}));
    List->OnIsLevelFooter = nullptr;

    // A closed parent shows no children, so none of them closes it.
    last->SetExpanded(false);
    parent->SetExpanded(false);
    EXPECT_EQ(List->RowFooterCount(last), 0);
    EXPECT_EQ(List->NodeHeight(last), row);
    parent->SetExpanded(true);
    last->SetExpanded(true);

    List->SetShowRowFooter(false);
    EXPECT_EQ(List->RowFooterCount(grandChild), 0);
    EXPECT_EQ(List->NodeHeight(grandChild), row);
}

TEST_F(RowPartsTest, AddingASiblingMovesTheFooterToTheNewLastChild) {
    List->SetRowFooterColor(static_cast<TColor>(kFooter));
    AddTwoColumns();
    List->SetShowRowFooter(true);
    TdxTreeListNode* parent = List->AddNode();
    parent->AddChild();
    TdxTreeListNode* oldLast = parent->AddChild();
    parent->SetExpanded(true);
    const int row = List->RowHeight();
    const int footer = List->RowFooterHeight();
    Repaint();
    const int top = RowsTop();
    ASSERT_EQ(List->NodeHeight(oldLast), row + footer);
    const int oldFooterTop = top + 3 * row;
    EXPECT_EQ(At(100, oldFooterTop + 2), kFooter);

    TdxTreeListNode* newLast = parent->AddChild();
    EXPECT_EQ(List->NodeHeight(oldLast), row);
    EXPECT_EQ(List->NodeHeight(newLast), row + footer);
    Repaint();
    // The new last child's row now lies where the footer was; the footer follows it.
    EXPECT_EQ(At(100, oldFooterTop + 2), kListColor);
    EXPECT_EQ(At(100, oldFooterTop + row + 2), kFooter);
    EXPECT_EQ(At(100, oldFooterTop + row + footer - 1), kFooter);
    EXPECT_EQ(At(100, oldFooterTop + row + footer), kListColor);
}

TEST_F(RowPartsTest, FooterLinesStartAtTheClosedParentsChildIndentAndShowTheirCells) {
    List->SetRowFooterColor(static_cast<TColor>(kFooter));
    List->SetRowFooterTextColor(static_cast<TColor>(kFooterText));
    AddTwoColumns();
    List->SetShowRowFooter(true);
    TdxTreeListNode* parent = List->AddNode();
    TdxTreeListNode* child = parent->AddChild();
    child->AddChild();
    parent->SetExpanded(true);
    child->SetExpanded(true);
    // Only the parent's footer has a cell, in the second column.
    std::vector<std::pair<const TdxTreeListNode*, int>> askedCells;
    List->OnIsExistRowFooterCell = [&](TObject*, TdxTreeListColumn* column, TdxTreeListNode* node,
                                       bool& exists) {
        EXPECT_FALSE(exists);
        askedCells.emplace_back(node, column->Index());
        exists = node == parent && column->Index() == 1;
    };
    std::vector<const TdxTreeListNode*> textNodes;
    List->OnGetFooterCellText = [&](TObject*, TdxTreeListNode* node, TdxTreeListColumn*,
                                    std::string& text) {
        textNodes.push_back(node);
        text = "W";
    };
    Repaint();
    const int top = RowsTop();
    const int footer = List->RowFooterHeight();
    ASSERT_EQ(footer, 21);
    const int childFooter = top + 3 * 16; // under the grandchild's row
    const int parentFooter = childFooter + footer;
    const TColorRef shadow = Sys(SysColor::BtnShadow);
    const TColorRef light = Sys(SysColor::BtnHighlight);

    EXPECT_EQ(askedCells, (std::vector<std::pair<const TdxTreeListNode*, int>>{
                              {child, 0}, {child, 1}, {parent, 0}, {parent, 1}}));
    EXPECT_EQ(textNodes, (std::vector<const TdxTreeListNode*>{parent}));
    // The child's footer (first) from its children's indent at 32, the parent's from 16; the
    // indent left of a line keeps the list's colour, right of the columns the list goes on.
    EXPECT_EQ(At(31, childFooter + 5), kListColor);
    EXPECT_EQ(At(32, childFooter + 5), kFooter);
    EXPECT_EQ(At(100, childFooter), kFooter);
    EXPECT_EQ(At(179, childFooter + footer - 1), kFooter);
    EXPECT_EQ(At(180, childFooter + 5), kListColor);
    EXPECT_EQ(At(15, parentFooter + 10), kListColor);
    EXPECT_EQ(At(16, parentFooter + 10), kFooter);
    EXPECT_EQ(At(50, parentFooter + footer - 1), kFooter);
    EXPECT_EQ(At(50, parentFooter + footer), kListColor);
    // The grandchild's cells above are plain.
    EXPECT_EQ(At(100, childFooter - 1), kListColor);

    // The parent's cell: a sunken edge one pixel down, 19 high, across the second column.
    const int cellTop = parentFooter + 1;
    EXPECT_EQ(At(140, cellTop - 1), kFooter);
    EXPECT_EQ(At(140, cellTop), shadow);
    EXPECT_EQ(At(100, cellTop + 8), shadow);
    EXPECT_EQ(At(140, cellTop + 18), light);
    EXPECT_EQ(At(179, cellTop + 8), light);
    EXPECT_EQ(At(140, cellTop + 8), kFooter);
    // Its text: 3 pixels in, centred in the 17 pixels inside the edge (glyph box from 104).
    const int glyphTop = cellTop + 1 + 2 + 2;
    ExpectGlyphBoxAt(104, glyphTop, kFooterText, kFooter);
    // The child's line has no cells.
    EXPECT_EQ(At(100, childFooter + 8), kFooter);
    EXPECT_EQ(At(104, childFooter + 1 + 5), kFooter);
}

// --- footer panel ----------------------------------------------------------------------------

TEST_F(RowPartsTest, FooterPanelCellsShowTheHandlersTextInTheListFontColour) {
    constexpr TColorRef kFontColour = 0x00306090;
    List->Font().SetColor(static_cast<TColor>(kFontColour));
    List->SetShowFooter(true);
    AddColumn(100);
    AddColumn(80)->SetAlignment(taRightJustify);
    List->AddNode();
    List->OnIsExistFooterCell = [](TObject*, TdxTreeListColumn*, bool& exists) { exists = true; };
    std::vector<std::pair<const TdxTreeListNode*, int>> asked;
    List->OnGetFooterCellText = [&](TObject*, TdxTreeListNode* node, TdxTreeListColumn* column,
                                    std::string& text) {
        EXPECT_TRUE(text.empty());
        asked.emplace_back(node, column->Index());
        text = "W";
    };
    Repaint();
    const int cellTop = List->DataAreaRect().Bottom + 2; // inside the frame and raised edge
    const int glyphTop = cellTop + 1 + 2 + 2;
    EXPECT_EQ(asked,
              (std::vector<std::pair<const TdxTreeListNode*, int>>{{nullptr, 0}, {nullptr, 1}}));
    // Left aligned: 3 pixels in from the cell's left edge.
    ExpectGlyphBoxAt(4, glyphTop, kFontColour, kHeader);
    // Right aligned: ending 3 pixels in from the right edge (the glyph cell 171..176).
    ExpectGlyphBoxAt(172, glyphTop, kFontColour, kHeader);
    EXPECT_EQ(At(176, glyphTop + 3), kHeader);
    EXPECT_EQ(At(104, glyphTop + 3), kHeader);
}

// --- new item row ----------------------------------------------------------------------------

TEST_F(RowPartsTest, NewItemRowMovesTheDataAreaAndTheFirstRowDown) {
    AddTwoColumns();
    TdxTreeListNode* node = List->AddNode();
    node->SetStrings(1, "W");
    const TColorRef ink = Sys(SysColor::WindowText);
    for (TdxLookAndFeel look : {lfStandard, lfFlat, lfUltraFlat}) {
        SCOPED_TRACE(look);
        List->SetLookAndFeel(look);
        List->SetShowNewItemRow(false);
        const int plainTop = RowsTop();
        EXPECT_EQ(List->NewItemRowHeight(), 0);
        List->SetShowNewItemRow(true);
        const int separator = look == lfStandard ? 6 : 5;
        EXPECT_EQ(List->NewItemRowHeight(), List->RowHeight() + separator);
        EXPECT_EQ(RowsTop(), plainTop + List->RowHeight() + separator);
        EXPECT_EQ(List->DataAreaRect().Bottom, List->ClientRect().Bottom);
        Repaint();
        // The node's "W" at its row's top + 1 + 2.
        EXPECT_EQ(At(103, RowsTop() + 3), ink);
        EXPECT_EQ(At(103, RowsTop() + 2), kListColor);
    }
    // Two header lines: two row heights.
    List->SetHeaderPanelRowCount(2);
    EXPECT_EQ(List->NewItemRowHeight(), 2 * List->RowHeight() + 5);
    EXPECT_EQ(RowsTop(), List->HeaderPanelHeight() + 2 * List->RowHeight() + 5);
}

// Records the kind, node and rectangle of every cell it paints.
class TCellRecordingTreeList : public TdxTreeList {
public:
    using TdxTreeList::TdxTreeList;
    struct TPaintedCell {
        int Kind;
        const TdxTreeListNode* Node;
        int Column;
        TRect Rect;
    };
    std::vector<TPaintedCell> Cells;

protected:
    void DrawCell(TCanvas& canvas, const TRect& rect, TColor columnBrush, TColor columnColor,
                  bool rightEdge, bool leftEdge, int cellKind, bool multiLine, TColor brush,
                  TColor textColor, TColor backgroundColor, bool focusedCell, bool selected,
                  int columnIndex, TdxTreeListNode* node, TBitmap* paintBitmap) override {
        Cells.push_back({cellKind, node, columnIndex, rect});
        TdxTreeList::DrawCell(canvas, rect, columnBrush, columnColor, rightEdge, leftEdge, cellKind,
                              multiLine, brush, textColor, backgroundColor, focusedCell, selected,
                              columnIndex, node, paintBitmap);
    }
};

TEST_F(RowPartsTest, NewItemRowPaintsEmptyCellsOfItsOwnKindAboveAHeaderColouredStrip) {
    auto* list = new TCellRecordingTreeList(Form);
    list->SetParent(Form);
    list->SetBounds(0, 260, 340, 200);
    list->SetColor(static_cast<TColor>(kListColor));
    list->SetHeaderColor(static_cast<TColor>(kHeader));
    list->SetShowLines(false);
    for (int width : {100, 80})
        list->CreateColumn()->SetWidth(width);
    TdxTreeListNode* node = list->AddNode();
    node->SetStrings(1, "W");
    list->SetShowNewItemRow(true);
    list->Cells.clear();
    Repaint(*list);
    const auto at = [&](int x, int y) { return PixelOf(*list, x, y); };
    const int rowTop = list->HeaderPanelHeight();
    const int row = list->RowHeight();

    std::vector<std::tuple<int, const TdxTreeListNode*, int>> painted;
    for (const auto& cell : list->Cells)
        painted.emplace_back(cell.Kind, cell.Node, cell.Column);
    using Painted = std::tuple<int, const TdxTreeListNode*, int>;
    EXPECT_EQ(painted,
              (std::vector<Painted>{{2, nullptr, 0}, {2, nullptr, 1}, {0, node, 0}, {0, node, 1}}));
    ASSERT_EQ(list->Cells.size(), 4u);
    // The new item row's cells: after the root slot, one row high under the header.
    EXPECT_EQ(list->Cells[0].Rect, (TRect{16, rowTop, 100, rowTop + row}));
    EXPECT_EQ(list->Cells[1].Rect, (TRect{100, rowTop, 180, rowTop + row}));
    EXPECT_EQ(list->Cells[3].Rect.Top, list->DataAreaRect().Top);

    for (int x : {5, 50, 140, 250})
        EXPECT_EQ(at(x, rowTop + 8), kListColor) << x;
    // The strip under it (standard look: 6 pixels between raised edge lines).
    for (int x : {5, 140, 250}) {
        SCOPED_TRACE(x);
        EXPECT_EQ(at(x, rowTop + row + 2), kHeader);
        EXPECT_EQ(at(x, rowTop + row + 4), kHeader);
    }
    EXPECT_EQ(at(103, list->DataAreaRect().Top + 3), Sys(SysColor::WindowText));
}

// --- incremental search ----------------------------------------------------------------------

TEST_F(RowPartsTest, SearchMatchRepaintsTheMatchedPrefixOfTheFocusedCell) {
    AddTwoColumns();
    TdxTreeListNode* focused = List->AddNode();
    TdxTreeListNode* other = List->AddNode();
    for (TdxTreeListNode* node : {focused, other}) {
        node->SetStrings(0, "ABCDEF");
        node->SetStrings(1, "ABCDEF");
    }
    StartSearch(focused, 1, 3);
    const int top = RowsTop();
    const TColorRef ink = Sys(SysColor::WindowText);
    // In the second column "ABCDEF" runs from 102: glyph cells 102, 108, ..., ink rows from
    // top + 3 to top + 10. `x` is a glyph cell's left edge.
    const auto expectGlyph = [&](int rowTop, int x, TColorRef background, TColorRef text) {
        EXPECT_EQ(At(x, rowTop + 5), background) << x;
        EXPECT_EQ(At(x + 2, rowTop + 6), text) << x;
        EXPECT_EQ(At(x + 2, rowTop + 2), background) << x;
    };
    const auto expectPlainRow = [&](int rowTop, int firstCell) {
        for (int x = firstCell; x < firstCell + 36; x += 6)
            expectGlyph(rowTop, x, kListColor, ink);
    };

    // Without aoAutoSearch the hook is not asked.
    Repaint();
    expectPlainRow(top, 102);

    List->SetOptionsEx(List->OptionsEx().With(aoAutoSearch));
    ASSERT_EQ(List->AutoSearchColor(), clNone);
    Repaint();
    const TColorRef invertedBack = kListColor ^ 0xFFFFFF;
    const TColorRef invertedInk = ink ^ 0xFFFFFF;
    for (int x : {102, 108, 114})
        expectGlyph(top, x, invertedBack, invertedInk);
    for (int x : {120, 126, 132})
        expectGlyph(top, x, kListColor, ink);
    // The first column and the other row are untouched (the first column from 16 + 2).
    expectPlainRow(top, 18);
    expectPlainRow(top + 16, 102);

    // The search colours when set.
    constexpr TColorRef kSearch = 0x000000FF;
    constexpr TColorRef kSearchText = 0x0000FF00;
    List->SetAutoSearchColor(static_cast<TColor>(kSearch));
    List->SetAutoSearchTextColor(static_cast<TColor>(kSearchText));
    Repaint();
    for (int x : {102, 108, 114})
        expectGlyph(top, x, kSearch, kSearchText);
    expectGlyph(top, 120, kListColor, ink);

    // A selected cell inverts the selection's colours.
    List->SetAutoSearchColor(clNone);
    List->SetAutoSearchTextColor(clNone);
    FocusAndSelect(focused);
    Repaint();
    const TColorRef highlight = Sys(SysColor::Highlight);
    const TColorRef highlightText = Sys(SysColor::HighlightText);
    expectGlyph(top, 108, highlight ^ 0xFFFFFF, highlightText ^ 0xFFFFFF);
    expectGlyph(top, 126, highlight, highlightText);
}

// In a row of wrapped lines the text is painted by the formatted path; the mark must land on
// the matched characters wherever that path put them.
TEST_F(RowPartsTest, SearchMarkCoversTheMatchedCharactersInAWrappedRow) {
    List->SetOptionsEx(List->OptionsEx().With(aoRowAutoHeight).With(aoAutoSearch));
    AddColumn(100);
    AddColumn(80)->SetVertAlignment(tlCenter);
    TdxTreeListNode* node = List->AddNode();
    node->SetStrings(0, "ABCDE FGHIJ KLMNO"); // two lines in 81 pixels
    node->SetStrings(1, "ABCDEF");
    StartSearch(node, 1, 3);
    Repaint();
    const int top = RowsTop();
    const int bottom = top + List->NodeHeight(node);
    ASSERT_EQ(List->RowLineCount(node), 2);
    const TColorRef ink = Sys(SysColor::WindowText);
    // "ABC" only in the inverted colours, "DEF" only in the plain ones.
    EXPECT_EQ(CountGlyphs(100, top, 180, bottom, ink ^ 0xFFFFFF), 3);
    EXPECT_EQ(CountGlyphs(100, top, 180, bottom, ink), 3);

    // A text that wraps itself breaks where the platform decides: no mark on a guessed place.
    node->SetStrings(1, "ABCDEF GHIJKL MNOPQR");
    List->NodeChanged(node, true);
    Repaint();
    const int wrappedBottom = top + List->NodeHeight(node);
    EXPECT_EQ(CountGlyphs(100, top, 180, wrappedBottom, ink ^ 0xFFFFFF), 0);
    EXPECT_EQ(CountGlyphs(100, top, 180, wrappedBottom, ink), 18);
}

} // namespace
