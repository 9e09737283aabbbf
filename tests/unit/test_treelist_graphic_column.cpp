// The graphic column: its cells without a handler (background only, a value that is no picture
// as centred text, pictures placed, fitted, scaled, made transparent or opaque and shaded in
// selected rows), the class a picture is read with, design time, repaints on property
// changes, copying from another column and the properties a stored layout sets. The graphic
// cell is 20 x 16 pixels at x 61 of each row (odd, so that a pattern tied to the cell's corner
// would show).
#include "test_picture_support.h"
#include "test_treelist_paint_support.h"

#include "test_colours.h"

#include <gtest/gtest.h>

namespace {

using namespace fw;
using namespace test_colours;
using namespace dxtl;
using namespace picture_testing;
using treelist_testing::TreeListPaintTestBase;

constexpr TColorRef kYellow = 0x00FFFF;

class GraphicColumnTest : public TreeListPaintTestBase {
protected:
    GraphicColumnTest() {
        AddColumn(61, "Text");
        Graphic = new TdxTreeListGraphicColumn(Form);
        Graphic->SetTreeList(List);
        Graphic->SetWidth(20);
        for (int i = 0; i < 2; ++i)
            List->AddNode()->SetStrings(0, "row");
    }
    TdxTreeListNode* Node(int row) { return List->NodeAt(row); }
    void SetPicture(int row, const std::string& data) { Node(row)->SetStrings(1, data); }
    TPoint Origin(int row) { return {61, RowsTop() + row * 16}; }
    // The cell's pixel at (x, y) from its top-left corner.
    TColorRef CellAt(int row, int x, int y) { return At(Origin(row).X + x, Origin(row).Y + y); }
    // Every pixel of the cell, row by row.
    std::vector<TColorRef> CellPixels(int row) {
        std::vector<TColorRef> pixels;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 20; ++x)
                pixels.push_back(CellAt(row, x, y));
        return pixels;
    }
    // A cell of `background` with `picture` (row by row) placed at (left, top).
    static std::vector<TColorRef> Expected(TColorRef background, int left, int top, int width,
                                           const std::vector<TColorRef>& picture) {
        std::vector<TColorRef> pixels(20 * 16, background);
        const int height = static_cast<int>(picture.size()) / width;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                pixels[std::size_t((top + y) * 20 + left + x)] =
                    picture[std::size_t(y * width + x)];
        return pixels;
    }

    TdxTreeListGraphicColumn* Graphic = nullptr;
};

TEST_F(GraphicColumnTest, WithoutDataTheCellShowsOnlyTheColumnsBackgroundAlsoWhenSelected) {
    List->SetHideSelection(false);
    FocusAndSelect(Node(0));
    Repaint();
    // The row's dotted focus rectangle runs along the top, bottom and right edges.
    const auto inside = [&](int row, TColorRef color) {
        for (int y = 1; y < 15; ++y)
            for (int x = 0; x < 19; ++x)
                if (CellAt(row, x, y) != color)
                    return false;
        return true;
    };
    EXPECT_TRUE(inside(0, kListColor));
    EXPECT_EQ(At(40, Origin(0).Y + 8), Sys(SysColor::Highlight));
    EXPECT_TRUE(inside(1, kListColor));

    // The column's own colour when it has one; without the focus as well.
    Graphic->SetColor(static_cast<TColor>(kYellow));
    Platform.SetFocusTo(0); // another program takes the keyboard
    Repaint();
    EXPECT_TRUE(inside(0, kYellow));
    EXPECT_TRUE(inside(1, kYellow));
    EXPECT_EQ(At(40, Origin(0).Y + 8), Sys(SysColor::BtnFace));
}

TEST_F(GraphicColumnTest, ValueThatIsNoPictureIsShownAsCentredText) {
    SetPicture(0, "x");
    Repaint();
    // Text rectangle 63..80: (63 + 80 - 6) / 2 = 68, the glyph box one further right.
    ExpectGlyphBoxAt(69, Origin(0).Y + 3, Sys(SysColor::WindowText), kListColor);
    EXPECT_EQ(CellAt(0, 0, 8), kListColor);
}

TEST_F(GraphicColumnTest, PictureKeepsItsSizeAtTheTopLeftOrCentredWithoutStretch) {
    const std::vector<TColorRef> picture{kRed, kGreen, kBlue, kWhite, kBlack, kRed};
    SetPicture(0, Bitmap24(3, 2, picture));
    Graphic->SetStretch(false);
    Graphic->SetCenter(false);
    Repaint();
    EXPECT_EQ(CellPixels(0), Expected(kListColor, 0, 0, 3, picture));
    // Centred: ((20 - 3) / 2, (16 - 2) / 2).
    Graphic->SetCenter(true);
    Repaint();
    EXPECT_EQ(CellPixels(0), Expected(kListColor, 8, 7, 3, picture));
    // The next row has no picture.
    EXPECT_EQ(CellAt(1, 9, 8), kListColor);
}

TEST_F(GraphicColumnTest, StretchFitsThePictureInTheCellWithItsProportionsKept) {
    // 2 x 1 into 20 x 16: 20 x 10, centred vertically.
    SetPicture(0, Bitmap24(2, 1, {kRed, kGreen}));
    // 1 x 4 into 20 x 16: 4 x 16, centred horizontally.
    SetPicture(1, Bitmap24(1, 4, {kBlue, kBlue, kBlue, kBlue}));
    Repaint();
    std::vector<TColorRef> wide(20 * 10, kGreen);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            wide[std::size_t(y * 20 + x)] = kRed;
    EXPECT_EQ(CellPixels(0), Expected(kListColor, 0, 3, 20, wide));
    EXPECT_EQ(CellPixels(1), Expected(kListColor, 8, 0, 4, std::vector<TColorRef>(64, kBlue)));

    // A picture larger than the cell is cut at the cell without Stretch: nothing reaches the
    // next row or the column to the right.
    SetPicture(0, Bitmap24(40, 40, std::vector<TColorRef>(1600, kRed)));
    SetPicture(1, "");
    Graphic->SetStretch(false);
    Graphic->SetCenter(false);
    Repaint();
    EXPECT_EQ(CellPixels(0), std::vector<TColorRef>(320, kRed));
    EXPECT_EQ(CellAt(1, 0, 0), kListColor);
    EXPECT_EQ(At(81, Origin(0).Y + 5), kListColor);
}

TEST_F(GraphicColumnTest, ShrinkingAveragesUnlessQuickDrawTakesTheNearestPixel) {
    // 40 x 32 columns of black and white: each cell pixel covers one of each.
    std::vector<TColorRef> stripes;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 40; ++x)
            stripes.push_back(x % 2 ? kWhite : kBlack);
    SetPicture(0, Bitmap24(40, 32, stripes));
    Repaint();
    EXPECT_EQ(CellPixels(0), std::vector<TColorRef>(320, 0x7F7F7F));
    Graphic->SetQuickDraw(true);
    Repaint();
    EXPECT_EQ(CellPixels(0), std::vector<TColorRef>(320, kWhite));
}

TEST_F(GraphicColumnTest, TransparencyFollowsThePictureUnlessTheColumnForcesIt) {
    Graphic->SetStretch(false);
    Graphic->SetCenter(false);
    // An icon: its masked pixel lets the background through.
    TDib icon = Dib(2, 1, 24, {kBlack, kGreen}, {});
    icon.Masked = {true, false};
    SetPicture(0, IconFile({IconEntry(icon)}));
    // A bitmap whose bottom-left colour (red) is its transparent one.
    SetPicture(1, Bitmap24(2, 2, {kRed, kBlue, kRed, kGreen}));
    Repaint();
    EXPECT_EQ(CellPixels(0), Expected(kListColor, 0, 0, 2, {kListColor, kGreen}));
    EXPECT_EQ(CellPixels(1), Expected(kListColor, 0, 0, 2, {kRed, kBlue, kRed, kGreen}));

    Graphic->SetGraphicTransparency(gtTransparent);
    Repaint();
    EXPECT_EQ(CellPixels(0), Expected(kListColor, 0, 0, 2, {kListColor, kGreen}));
    EXPECT_EQ(CellPixels(1),
              Expected(kListColor, 0, 0, 2, {kListColor, kBlue, kListColor, kGreen}));

    Graphic->SetGraphicTransparency(gtOpaque);
    Repaint();
    EXPECT_EQ(CellPixels(0), Expected(kListColor, 0, 0, 2, {kBlack, kGreen}));
    EXPECT_EQ(CellPixels(1), Expected(kListColor, 0, 0, 2, {kRed, kBlue, kRed, kGreen}));
}

TEST_F(GraphicColumnTest, SelectedPictureIsShadedInACheckerboardOfTheSelectionColour) {
    List->SetHideSelection(false);
    Graphic->SetStretch(false);
    Graphic->SetCenter(false);
    // 4 x 4 red with two transparent pixels at the top left, one on each colour of the board.
    TDib icon = Dib(4, 4, 24, std::vector<std::uint32_t>(16, kRed), {});
    icon.Masked = std::vector<bool>(16, false);
    icon.Masked[0] = icon.Masked[1] = true;
    SetPicture(0, IconFile({IconEntry(icon)}));
    // The second row is focused and selected, so the first row's top edge has no focus frame.
    List->SetNodeSelected(Node(0), true);
    Platform.SetFocusTo(List->Handle());
    List->ChangeFocus(Node(1), 0, false);
    Repaint();
    const auto expectShading = [&](TColorRef shade) {
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) {
                SCOPED_TRACE(testing::Message() << x << "," << y);
                const bool even = (Origin(0).X + x + Origin(0).Y + y) % 2 == 0;
                const TColorRef expected = x < 2 && y == 0 ? kListColor : even ? shade : kRed;
                EXPECT_EQ(CellAt(0, x, y), expected);
            }
        EXPECT_EQ(CellAt(0, 10, 8), kListColor); // around the picture: unshaded
    };
    // The focused cell's selection colour is HighlightColor; this row is not the focused one.
    expectShading(Sys(SysColor::BtnFace));
    List->ChangeFocus(Node(0), 0, false);
    Repaint();
    // Now the frame runs along the top edge; the rows below it tell.
    for (int y = 1; y < 4; ++y)
        for (int x = 1; x < 4; ++x) {
            const bool even = (Origin(0).X + x + Origin(0).Y + y) % 2 == 0;
            EXPECT_EQ(CellAt(0, x, y), even ? Sys(SysColor::Highlight) : kRed) << x << "," << y;
        }
    Graphic->SetShadowSelection(false);
    Repaint();
    EXPECT_EQ(CellAt(0, 1, 1), kRed);
    EXPECT_EQ(CellAt(0, 2, 1), kRed);
}

TEST_F(GraphicColumnTest, TheApplicationNamesTheClassAPictureIsReadWith) {
    const std::string bitmap = Bitmap24(1, 1, {kRed});
    SetPicture(0, bitmap);
    std::vector<TdxTreeListNode*> asked;
    TGraphicClass answer = gcIcon;
    Graphic->OnGetGraphicClass = [&](TObject* sender, TdxTreeListNode* node,
                                     TGraphicClass& graphicClass) {
        EXPECT_EQ(sender, Graphic);
        EXPECT_EQ(graphicClass, gcNone);
        asked.push_back(node);
        graphicClass = answer;
    };
    Graphic->LoadPicture(Node(0));
    EXPECT_TRUE(Graphic->Picture().Empty());
    answer = gcBitmap;
    Graphic->LoadPicture(Node(0));
    EXPECT_EQ(Graphic->Picture().GraphicClass(), gcBitmap);
    // Painting asks once per painted cell.
    asked.clear();
    Repaint();
    EXPECT_EQ(asked, (std::vector<TdxTreeListNode*>{Node(0), Node(1)}));

    // At design time a custom-drawn column shows no picture.
    Graphic->SetCustomGraphic(true);
    Graphic->LoadPicture(Node(0));
    EXPECT_FALSE(Graphic->Picture().Empty());
    Graphic->SetDesigning(true);
    Graphic->LoadPicture(Node(0));
    EXPECT_TRUE(Graphic->Picture().Empty());
}

TEST_F(GraphicColumnTest, LookChangesRepaintAndCopyingTakesEveryOwnProperty) {
    const std::vector<std::pair<const char*, std::function<void(bool)>>> looks{
        {"Center", [&](bool v) { Graphic->SetCenter(v); }},
        {"CustomGraphic", [&](bool v) { Graphic->SetCustomGraphic(v); }},
        {"QuickDraw", [&](bool v) { Graphic->SetQuickDraw(v); }},
        {"ShadowSelection", [&](bool v) { Graphic->SetShadowSelection(v); }},
        {"Stretch", [&](bool v) { Graphic->SetStretch(v); }},
        {"GraphicTransparency",
         [&](bool v) { Graphic->SetGraphicTransparency(v ? gtOpaque : gtDefault); }},
    };
    for (const auto& [name, set] : looks) {
        SCOPED_TRACE(name);
        for (bool value : {false, true}) {
            set(value);
            Platform.PaintAll();
            set(value);
            EXPECT_FALSE(WindowOf(*List).NeedsPaint()); // the same value again
            set(!value);
            EXPECT_TRUE(WindowOf(*List).NeedsPaint());
            Platform.PaintAll();
        }
    }

    auto* source = new TdxTreeListGraphicColumn(Form);
    source->SetCenter(false);
    source->SetCustomFilter("*.ico");
    source->SetCustomGraphic(true);
    source->SetDblClickActivate(false);
    source->SetGraphicTransparency(gtTransparent);
    source->PopupToolBar() = {5, 6};
    source->SetQuickDraw(true);
    source->SetShadowSelection(false);
    source->SetStretch(false);
    source->SetHeaderMaxLineCount(2);
    TdxTreeListGraphicColumn target(Form);
    target.Assign(*source);
    EXPECT_FALSE(target.Center());
    EXPECT_EQ(target.CustomFilter(), "*.ico");
    EXPECT_TRUE(target.CustomGraphic());
    EXPECT_FALSE(target.DblClickActivate());
    EXPECT_EQ(target.GraphicTransparency(), gtTransparent);
    EXPECT_EQ(target.PopupToolBar().Left, 5);
    EXPECT_EQ(target.PopupToolBar().Top, 6);
    EXPECT_TRUE(target.QuickDraw());
    EXPECT_FALSE(target.ShadowSelection());
    EXPECT_FALSE(target.Stretch());
    EXPECT_EQ(target.HeaderMaxLineCount(), 2);
    // Copied into a list's column: the list repaints.
    Platform.PaintAll();
    Graphic->Assign(*source);
    EXPECT_TRUE(WindowOf(*List).NeedsPaint());
}

class GraphicColumnLayoutTest : public testing_support::HeadlessTest {};

TEST_F(GraphicColumnLayoutTest, StoredLayoutSetsTheColumnsOwnPropertiesAndEvents) {
    // The handler table checks that each handler has its event's type.
    THandlerTable handlers;
    handlers.Add("GetClass", TdxGraphicEditGetGraphicClassEvent(
                                 [](TObject*, TdxTreeListNode*, TGraphicClass&) {}));
    handlers.Add("DrawCell",
                 TdxTLCustomDrawCell([](TObject*, TCanvas&, TRect, TdxTreeListNode*,
                                        TdxTreeListColumn*, bool, bool, bool, std::string&, TColor&,
                                        TFont&, TAlignment&, bool&) {}));
    handlers.Add("ListDraw", TTLCustomDrawEvent([](TObject*, TCanvas&, TRect, TdxTreeListNode*,
                                                   TdxTreeListColumn*, const std::string&, TFont&,
                                                   TColor&, bool, bool, bool&) {}));
    const std::string layout = "object Form: TForm\n"
                               " object List: TdxTreeList\n"
                               "  OnCustomDraw = ListDraw\n"
                               "  OnCustomDrawCell = DrawCell\n"
                               " end\n"
                               " object Picture: TdxTreeListGraphicColumn\n"
                               "  TreeList = List\n"
                               "  Center = False\n"
                               "  CustomFilter = '*.bmp'\n"
                               "  CustomGraphic = True\n"
                               "  DblClickActivate = False\n"
                               "  GraphicTransparency = gtOpaque\n"
                               "  PopupToolBar.Left = 12\n"
                               "  PopupToolBar.Top = 34\n"
                               "  QuickDraw = True\n"
                               "  ShadowSelection = False\n"
                               "  Stretch = False\n"
                               "  OnGetGraphicClass = GetClass\n"
                               "  OnCustomDrawCell = DrawCell\n"
                               " end\n"
                               " object Unplaced: TdxTreeListGraphicColumn\n"
                               "  PopupToolBar.Left = 12\n"
                               "  PopupToolbarPosStored = False\n"
                               " end\n"
                               "end";
    TForm* form = LoadForm(layout, treelist_testing::TreeListClasses(), handlers, "GRAPHIC");
    auto* column = dynamic_cast<TdxTreeListGraphicColumn*>(form->FindComponent("Picture"));
    ASSERT_NE(column, nullptr);
    EXPECT_FALSE(column->Center());
    EXPECT_EQ(column->CustomFilter(), "*.bmp");
    EXPECT_TRUE(column->CustomGraphic());
    EXPECT_FALSE(column->DblClickActivate());
    EXPECT_EQ(column->GraphicTransparency(), gtOpaque);
    EXPECT_EQ(column->PopupToolBar().Left, 12);
    EXPECT_EQ(column->PopupToolBar().Top, 34);
    EXPECT_TRUE(column->QuickDraw());
    EXPECT_FALSE(column->ShadowSelection());
    EXPECT_FALSE(column->Stretch());
    EXPECT_EQ(column->EditorClassName(), "TdxInplaceTreeListGraphicEdit");
    auto* list = dynamic_cast<TdxTreeList*>(form->FindComponent("List"));
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->OnCustomDraw && list->OnCustomDrawCell);
    EXPECT_TRUE(column->OnGetGraphicClass && column->OnCustomDrawCell);
    // Switching the stored position off puts the toolbar back where it starts.
    auto* unplaced = dynamic_cast<TdxTreeListGraphicColumn*>(form->FindComponent("Unplaced"));
    ASSERT_NE(unplaced, nullptr);
    EXPECT_FALSE(unplaced->PopupToolbarPosStored());
    EXPECT_EQ(unplaced->PopupToolBar().Left, TdxPopupToolBarSettings::kUnplaced);
}

} // namespace
