// What a flat button draws in each look: faces, frames, edges, focus, glyphs, the popup-menu
// mark and the caption, pixel by pixel on the headless platform.
#include "QuolButtonFixture.h"
#include "flatbutton/QuolButtonLayout.h"

#include "test_colours.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace fw;
using namespace test_colours;
using namespace quol;
using testing_support::QuolButtonTest;

class QuolButtonPaintTest : public QuolButtonTest {
protected:
    std::set<TColorRef> Colours(TWinControl& control) {
        const auto& pixels = WindowOf(control).Surface().Pixels;
        return {pixels.begin(), pixels.end()};
    }
    // A 16x16 glyph cell: `ink` on magenta, with a black 4x4 square at (6, 6) if asked. The
    // left column and the bottom row are magenta, the colour that shows the face.
    static TPixelImage Cell(TColorRef ink, bool square) {
        TPixelImage image = TPixelImage::Blank(16, 16);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const bool border = x == 0 || y == 15;
                const bool black = square && x >= 6 && x < 10 && y >= 6 && y < 10;
                image.Set(x, y, Opaque(border ? 0xFF00FF : black ? 0 : ink));
            }
        return image;
    }
    // Cells side by side.
    TBitmap& Strip(std::initializer_list<TColorRef> inks, bool square = true) {
        const int count = static_cast<int>(inks.size());
        TPixelImage image = TPixelImage::Blank(16 * count, 16);
        int i = 0;
        for (TColorRef ink : inks) {
            const TPixelImage cell = Cell(ink, square);
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    image.Set(16 * i + x, y, cell.At(x, y));
            ++i;
        }
        FStrip = std::make_unique<TBitmap>(Platform);
        FStrip->LoadFromImage(image);
        return *FStrip;
    }
    std::unique_ptr<TBitmap> FStrip;
};

constexpr TColorRef kPanel = 0x00F9FEFF;

// "종료": two wide characters, 24x12, centred in 60x24 at (18, 6); each glyph box starts one
// pixel in and two down and is 10x8.
constexpr TRect kCaptionInk{19, 8, 41, 16};

TEST_F(QuolButtonPaintTest, CaptionOnlyStNoneButtonHasNoBorderInAnyLook) {
    // The main form's buttons: stNone, defaults otherwise.
    TQuolButton* b = MakeButton("종료");
    b->SetButtonStyle(stNone);
    ShowAll();
    EXPECT_EQ(Colours(*b), (std::set<TColorRef>{kPanel, kBlack}));
    EXPECT_EQ(InkBox(*b, kBlack), kCaptionInk);

    MoveTo(*b, 5, 5);
    EXPECT_EQ(Colours(*b), (std::set<TColorRef>{kPanel, kBlue})) << "hover";
    EXPECT_EQ(InkBox(*b, kBlue), kCaptionInk);

    Press(*b, 5, 5);
    EXPECT_EQ(Colours(*b), (std::set<TColorRef>{kPanel, kBlue})) << "pressed";
    EXPECT_EQ(InkBox(*b, kBlue), kCaptionInk.Offset(1, 1));

    Release(*b, 5, 5);
    EXPECT_EQ(Colours(*b), (std::set<TColorRef>{kPanel, kBlue})) << "released";
    EXPECT_EQ(InkBox(*b, kBlue), kCaptionInk);

    // A repaint under the mouse keeps the hot caption.
    Repaint(*b);
    EXPECT_EQ(InkBox(*b, kBlue), kCaptionInk);

    MoveAway();
    EXPECT_EQ(Colours(*b), (std::set<TColorRef>{kPanel, kBlack})) << "left";
    EXPECT_EQ(InkBox(*b, kBlack), kCaptionInk);
}

TEST_F(QuolButtonPaintTest, HotTrackOffKeepsTheFontColourAndFaceFollowsTheParent) {
    TQuolButton* b = MakeButton("종료");
    b->SetButtonStyle(stNone);
    b->SetHotTrack(false);
    ShowAll();
    MoveTo(*b, 5, 5);
    EXPECT_EQ(Colours(*b), (std::set<TColorRef>{kPanel, kBlack}));
    Panel->SetColor(clRed);
    Platform.PaintAll();
    EXPECT_EQ(Colours(*b), (std::set<TColorRef>{kRed, kBlack}));
}

TEST_F(QuolButtonPaintTest, HotTrackBackgroundShowsOnlyWithFrameLowered) {
    TQuolButton* flat = MakeButton("", 10, 10);
    TQuolButton* raised = MakeButton("", 80, 10);
    raised->SetButtonStyle(stFrameRaised);
    TQuolButton* lowered = MakeButton("", 150, 10);
    lowered->SetButtonStyle(stFrameLowered);
    for (TQuolButton* b : {flat, raised, lowered})
        b->SetHotTrackBGColor(clRed);
    ShowAll();
    EXPECT_EQ(PixelOf(*lowered, 30, 12), Sys(SysColor::BtnFace));
    const std::pair<TQuolButton*, TColorRef> hoverFaces[] = {
        {flat, kPanel}, {raised, Sys(SysColor::BtnFace)}, {lowered, kRed}};
    for (const auto& [b, face] : hoverFaces) {
        MoveTo(*b, 30, 12);
        EXPECT_EQ(PixelOf(*b, 30, 12), face) << b->Left();
    }
}

TEST_F(QuolButtonPaintTest, SystemColourChangeRepaintsTheButtonFace) {
    TQuolButton* b = MakeButton("");
    b->SetButtonStyle(stDefault);
    ShowAll();
    EXPECT_EQ(PixelOf(*b, 30, 12), Sys(SysColor::BtnFace));
    Platform.SysColors[SysColor::BtnFace] = 0x00C0FFEE;
    Platform.Send(Form->Handle(), Msg::SysColorChange);
    Platform.PaintAll();
    EXPECT_EQ(b->Color(), clBtnFace);
    EXPECT_EQ(PixelOf(*b, 30, 12), 0x00C0FFEEu);
}

TEST_F(QuolButtonPaintTest, FramesOwnTheirCornersAndSwapColoursWhenPressed) {
    const TColorRef light = Sys(SysColor::BtnHighlight);
    const TColorRef shadow = Sys(SysColor::BtnShadow);
    TQuolButton* b = MakeButton("");
    b->SetButtonStyle(stRaised);
    ShowAll();
    // Two outlines: top and left in the highlight, bottom and right (with the top-right
    // and bottom-left corners) in the shadow.
    EXPECT_EQ(PixelOf(*b, 0, 0), light);
    EXPECT_EQ(PixelOf(*b, 1, 1), light);
    EXPECT_EQ(PixelOf(*b, 58, 0), light);
    EXPECT_EQ(PixelOf(*b, 59, 0), shadow);
    EXPECT_EQ(PixelOf(*b, 0, 23), shadow);
    EXPECT_EQ(PixelOf(*b, 58, 22), shadow);
    EXPECT_EQ(PixelOf(*b, 2, 2), kPanel);
    MoveTo(*b, 30, 12);
    Press(*b, 30, 12);
    EXPECT_EQ(PixelOf(*b, 0, 0), shadow);
    EXPECT_EQ(PixelOf(*b, 59, 23), light);
    Release(*b, 30, 12);

    // stFlat: no border at rest, one pixel under the mouse.
    TQuolButton* flat = MakeButton("", 100, 10);
    Platform.PaintAll();
    EXPECT_EQ(PixelOf(*flat, 0, 0), kPanel);
    MoveTo(*flat, 30, 12);
    EXPECT_EQ(PixelOf(*flat, 0, 0), light);
    EXPECT_EQ(PixelOf(*flat, 59, 23), shadow);
    EXPECT_EQ(PixelOf(*flat, 1, 1), kPanel);
}

TEST_F(QuolButtonPaintTest, DottedStyleLeavesGapsInTheFaceColour) {
    TQuolButton* solid = MakeButton("", 10, 10);
    solid->SetButtonStyle(stRaised);
    TQuolButton* dotted = MakeButton("", 100, 10);
    dotted->SetButtonStyle(stRaisedDot);
    ShowAll();
    int solidGaps = 0, dottedGaps = 0, dottedLight = 0;
    for (int x = 0; x < 58; ++x) {
        solidGaps += PixelOf(*solid, x, 0) == kPanel ? 1 : 0;
        dottedGaps += PixelOf(*dotted, x, 0) == kPanel ? 1 : 0;
        dottedLight += PixelOf(*dotted, x, 0) == Sys(SysColor::BtnHighlight) ? 1 : 0;
    }
    EXPECT_EQ(solidGaps, 0);
    EXPECT_EQ(dottedGaps, 29);
    EXPECT_EQ(dottedLight, 29);
}

TEST_F(QuolButtonPaintTest, FrameRaisedShowsItsFocusRectangleInsideTheEdge) {
    TQuolButton* b = MakeButton("");
    b->SetButtonStyle(stFrameRaised);
    b->SetTabStop(true);
    ShowAll();
    const TColorRef face = Sys(SysColor::BtnFace);
    // Frame at 0, the face one pixel further in with a raised edge at 2.
    EXPECT_EQ(PixelOf(*b, 0, 0), Sys(SysColor::BtnHighlight));
    EXPECT_EQ(PixelOf(*b, 1, 1), face);
    EXPECT_EQ(PixelOf(*b, 2, 2), Sys(SysColor::BtnHighlight));
    EXPECT_EQ(PixelOf(*b, 57, 21), Sys(SysColor::BtnShadow));
    EXPECT_EQ(PixelOf(*b, 5, 5), face);
    b->SetFocus();
    Platform.PaintAll();
    // The dotted rectangle 3 pixels inside the edge inverts every other pixel.
    EXPECT_EQ(PixelOf(*b, 5, 5), face ^ 0xFFFFFFu);
    EXPECT_EQ(PixelOf(*b, 6, 5), face);
    EXPECT_EQ(PixelOf(*b, 4, 4), face);
    Panel->SetFocus();
    Platform.PaintAll();
    EXPECT_EQ(PixelOf(*b, 5, 5), face);
}

// A 16x16 cell centred in 60x24 without a caption: at (22, 4).
constexpr TPoint kGlyphAt{22, 4};

TEST_F(QuolButtonPaintTest, GlyphCellsForEnabledDisabledAndHot) {
    TQuolButton* b = MakeButton("");
    b->SetButtonStyle(stNone);
    b->SetGlyph(Strip({kRed, kGreen}));
    ASSERT_EQ(b->NumGlyphs(), 2);
    ShowAll();
    // The magenta of the bottom-left pixel shows the face.
    EXPECT_EQ(InkBox(*b, kRed), (Bounds(kGlyphAt.X + 1, kGlyphAt.Y, 15, 15)));
    EXPECT_EQ(PixelOf(*b, kGlyphAt.X, kGlyphAt.Y + 15), kPanel);
    EXPECT_FALSE(InkBox(*b, kGreen));

    // Disabled with two cells: the second cell, not embossed.
    b->SetEnabled(false);
    Platform.PaintAll();
    EXPECT_FALSE(InkBox(*b, kRed));
    EXPECT_EQ(InkBox(*b, kGreen), (Bounds(kGlyphAt.X + 1, kGlyphAt.Y, 15, 15)));

    // The hot strip under the mouse; pressed, one pixel down and right.
    b->SetEnabled(true);
    b->SetGlyphHot(Strip({kGreen}));
    EXPECT_EQ(b->NumGlyphsHot(), 1);
    Platform.PaintAll();
    EXPECT_TRUE(InkBox(*b, kRed));
    MoveTo(*b, 5, 5);
    EXPECT_FALSE(InkBox(*b, kRed));
    EXPECT_EQ(InkBox(*b, kGreen), (Bounds(kGlyphAt.X + 1, kGlyphAt.Y, 15, 15)));
    Press(*b, 5, 5);
    EXPECT_EQ(InkBox(*b, kGreen), (Bounds(kGlyphAt.X + 2, kGlyphAt.Y + 1, 15, 15)));
}

TEST_F(QuolButtonPaintTest, DisabledSingleCellGlyphAndCaptionAreEmbossed) {
    const TColorRef light = Sys(SysColor::BtnHighlight);
    const TColorRef shadow = Sys(SysColor::BtnShadow);
    TQuolButton* glyph = MakeButton("");
    glyph->SetButtonStyle(stNone);
    glyph->SetGlyph(Strip({kRed}));
    glyph->SetEnabled(false);
    TQuolButton* caption = MakeButton("종료", 100, 10);
    caption->SetButtonStyle(stNone);
    caption->SetEnabled(false);
    ShowAll();

    // Only the black square shows: in the shadow, and in the highlight one pixel down and
    // right where the shadow does not cover it.
    EXPECT_EQ(Colours(*glyph), (std::set<TColorRef>{kPanel, light, shadow}));
    const TPoint square{kGlyphAt.X + 6, kGlyphAt.Y + 6};
    EXPECT_EQ(InkBox(*glyph, shadow), (Bounds(square.X, square.Y, 4, 4)));
    EXPECT_EQ(InkBox(*glyph, light), (Bounds(square.X + 1, square.Y + 1, 4, 4)));
    EXPECT_EQ(CountPixels(*glyph, light), 7);

    EXPECT_EQ(Colours(*caption), (std::set<TColorRef>{kPanel, light, shadow}));
    EXPECT_EQ(InkBox(*caption, shadow), kCaptionInk);
    EXPECT_EQ(InkBox(*caption, light), kCaptionInk.Offset(1, 1));
}

TEST_F(QuolButtonPaintTest, DisabledButtonShowsNoHoverPressOrReleaseLook) {
    TQuolButton* b = MakeButton("종료");
    b->SetButtonStyle(stFlat);
    b->SetEnabled(false);
    ShowAll();
    const auto rest = WindowOf(*b).Surface().Pixels;
    MoveTo(*b, 5, 5);
    Press(*b, 5, 5);
    Release(*b, 5, 5);
    MoveAway();
    EXPECT_EQ(WindowOf(*b).Surface().Pixels, rest);
}

TEST_F(QuolButtonPaintTest, SpacingLayoutMovesGlyphAndCaptionTogether) {
    TQuolButton* b = MakeButton("AB", 10, 10, 80, 24);
    b->SetButtonStyle(stNone);
    b->SetGlyph(Strip({kRed}, false));
    ShowAll();
    const TRect glyph = *InkBox(*b, kRed);
    const TRect text = *InkBox(*b, kBlack);
    // Glyph 16 + text 12 in 80: the pair starts at 26, less SpacingLayout 3; the caption
    // follows Spacing 4 after the cell (its first glyph box one pixel further in).
    EXPECT_EQ(glyph.Left, 23 + 1);
    EXPECT_EQ(text.Left, 23 + 16 + 4 + 1);
    b->SetSpacingLayout(4);
    Platform.PaintAll();
    EXPECT_EQ(InkBox(*b, kRed)->Left, glyph.Left - 1);
    EXPECT_EQ(InkBox(*b, kBlack)->Left, text.Left - 1);
    b->SetSpacing(1);
    Platform.PaintAll();
    EXPECT_EQ(InkBox(*b, kBlack)->Left, text.Left - 4);
}

TEST_F(QuolButtonPaintTest, PopupMarkBesideAGlyphWithoutCaption) {
    TQuolButton* b = MakeButton("");
    b->SetButtonStyle(stNone);
    b->SetGlyph(Strip({kRed}, false));
    b->SetPopupMenuMark(true);
    ShowAll();
    // The glyph moves 5 to the left for the mark: at 17; the mark 5 pixels after the cell,
    // centred: a 5x3 triangle at (38, 10).
    EXPECT_EQ(InkBox(*b, kRed)->Left, 17 + 1);
    for (int x = 38; x < 43; ++x)
        EXPECT_EQ(PixelOf(*b, x, 10), kBlack) << x;
    EXPECT_EQ(PixelOf(*b, 38, 11), kPanel);
    EXPECT_EQ(PixelOf(*b, 39, 11), kBlack);
    EXPECT_EQ(PixelOf(*b, 40, 12), kBlack);
    EXPECT_EQ(PixelOf(*b, 41, 12), kPanel);
    b->SetPopupMenuMarkGap(1);
    Platform.PaintAll();
    EXPECT_EQ(PixelOf(*b, 34, 10), kBlack);
    EXPECT_EQ(PixelOf(*b, 42, 10), kPanel);
}

TEST_F(QuolButtonPaintTest, YesKindDrawsTheGreyGlyphAtRestAndTheColouredOneUnderTheMouse) {
    TQuolButton* b = MakeButton("Go", 10, 10, 80, 24);
    b->SetButtonStyle(stNone);
    b->SetButtonKind(skYes);
    ShowAll();
    const TPixelImage grey = *Platform.BitmapResource("dagquolb");
    const TPixelImage colour = *Platform.BitmapResource("daquolb");
    ASSERT_EQ(grey.Width, 18);
    // "&Yes" measures 4 narrow characters, 24 wide: the glyph at (80 - 42) / 2 - 3 = 16,
    // (24 - 18) / 2 = 3.
    const auto expectGlyph = [&](const TPixelImage& picture, const char* look) {
        const TColorRef key = picture.At(0, 17) & 0xFFFFFFu;
        for (int y = 0; y < 18; ++y)
            for (int x = 0; x < 18; ++x) {
                const TColorRef p = picture.At(x, y) & 0xFFFFFFu;
                ASSERT_EQ(PixelOf(*b, 16 + x, 3 + y), p == key ? kPanel : p)
                    << look << " " << x << "," << y;
            }
    };
    expectGlyph(grey, "rest");
    MoveTo(*b, 2, 2);
    expectGlyph(colour, "hover");
}

TEST(QuolButtonPlacement, EachLayoutAroundTheCentre) {
    TPlacementInput in;
    in.Area = {0, 0, 100, 40};
    in.Cell = {16, 16};
    in.Text = {30, 12};
    in.HasGlyph = true;
    in.CaptionEmpty = false;
    struct Case {
        TLayout Layout;
        TRect Glyph;
        TRect Caption;
    };
    // Spacing 4, SpacingLayout 3.
    const Case cases[] = {
        {blGlyphLeft, {24, 12, 40, 28}, {44, 14, 74, 26}},
        {blGlyphBottom, {42, 21, 58, 37}, {35, 3, 65, 15}},
        {blGlyphRight, {60, 12, 76, 28}, {26, 14, 56, 26}},
        {blGlyphTop, {42, 3, 58, 19}, {35, 23, 65, 35}},
    };
    for (const Case& c : cases) {
        in.Layout = c.Layout;
        const TPlacement place = PlaceGlyphAndCaption(in);
        EXPECT_EQ(place.Glyph, c.Glyph) << c.Layout;
        EXPECT_EQ(place.Caption, c.Caption) << c.Layout;
    }
    in.PressOffset = 1;
    in.Layout = blGlyphTop;
    EXPECT_EQ(PlaceGlyphAndCaption(in).Caption, (TRect{36, 24, 66, 36}));
    in.HasGlyph = false;
    EXPECT_EQ(PlaceGlyphAndCaption(in).Caption, (TRect{36, 15, 66, 27}));
}

} // namespace
