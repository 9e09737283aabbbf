// The band and header panels, pixel by pixel on the headless canvas: sort marks, the room they
// need, cut captions, gaps under short headers, pressed looks, custom drawing, fixed bands and
// the main window's panels. Geometry from the headless metrics (a -12 font: 12-pixel text,
// 6-pixel narrow advance, glyph boxes from (left + 1, top + 2)): a header row is 18 pixels high
// in the standard look and 17 in the flat ones.
#include "test_treelist_paint_support.h"

#include "test_colours.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace fw;
using namespace test_colours;
using namespace dxtl;
using treelist_testing::TreeListPaintTestBase;

void Fill(TCanvas& canvas, const TRect& r, TColorRef color) {
    canvas.Brush().SetColor(static_cast<TColor>(color));
    canvas.FillRect(r);
}

class TreeListHeaders : public TreeListPaintTestBase {
protected:
    void TearDown() override {
        List->OnCustomDrawColumnHeader = nullptr;
        List->OnCustomDrawBand = nullptr;
        List->OnColumnSorted = nullptr;
        for (int c = 0; c < List->ColumnCount(); ++c)
            List->Columns(c)->OnCustomDrawColumnHeader = nullptr;
    }

    // Holds the left button down at a point of the list (client coordinates).
    void PressAt(fw::TPoint point) {
        Platform.MouseButton(fw::Msg::LButtonDown, List->ClientToScreen(point));
    }
    void PressHeader(int column) {
        const TRect r = List->HeaderRect(column);
        PressAt({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
    }
    // Takes the gesture back and lets the button go: nothing is clicked.
    void LetGo() {
        List->CancelInput();
        Platform.MouseButton(fw::Msg::LButtonUp, List->ClientToScreen({0, 0}));
    }

    // The pixels of a rectangle, row by row.
    std::vector<TColorRef> Pixels(const TRect& r) {
        std::vector<TColorRef> pixels;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                pixels.push_back(At(x, y));
        return pixels;
    }

    // An 8 x 7 sort mark whose box starts at (left, top) against the picture: 'S' shadow, 'H'
    // highlight, '.' the header colour; the row and column around the box are header colour.
    void ExpectMark(int left, int top, const std::vector<std::string>& picture) {
        ExpectMark(left, top, picture, Sys(SysColor::BtnFace));
    }
    void ExpectMark(int left, int top, const std::vector<std::string>& picture, TColorRef face) {
        for (int y = -1; y <= 7; ++y)
            for (int x = -1; x <= 8; ++x) {
                const bool inside = y >= 0 && y < 7 && x >= 0 && x < 8;
                const char c = inside ? picture[std::size_t(y)][std::size_t(x)] : '.';
                const TColorRef expected = c == 'S'   ? Sys(SysColor::BtnShadow)
                                           : c == 'H' ? Sys(SysColor::BtnHighlight)
                                                      : face;
                EXPECT_EQ(At(left + x, top + y), expected) << "at " << x << "," << y;
            }
    }
};

// Drawn with the platform's polylines, end points left out.
const std::vector<std::string> kUpMark = {
    "...SH...", //
    "..SSHH..", //
    "..S..H..", //
    ".SS..HH.", //
    ".S....H.", //
    "SS....HH", //
    "SHHHHHHH", //
};
const std::vector<std::string> kDownMark = {
    "SSSSSSSS", //
    "SS....HH", //
    ".S....H.", //
    ".SS..HH.", //
    "..S..H..", //
    "..SSHH..", //
    "...SH...", //
};

// --- sort marks ------------------------------------------------------------------------------

TEST_F(TreeListHeaders, SortMarksAreDrawnPixelForPixelAtTheRightOfTheCaption) {
    TdxTreeListColumn* column = AddColumn(100);
    // Standard look: content (2, 2) - (97, 14); the mark's 16 pixels end at 97, its box at
    // the middle less 4 and 3.
    for (TdxLookAndFeel look : {lfStandard, lfFlat, lfUltraFlat}) {
        SCOPED_TRACE(look);
        List->SetLookAndFeel(look);
        column->SetSorted(csUp);
        Repaint();
        ExpectMark(85, 5, kUpMark);
        column->SetSorted(csDown);
        Repaint();
        ExpectMark(85, 5, kDownMark);
        column->SetSorted(csNone);
        Repaint();
        ExpectMark(85, 5, std::vector<std::string>(7, "........"));
    }
}

TEST_F(TreeListHeaders, TheMarkShowsTheDisplayedStateAndNeedsSixteenPixelsOfRoom) {
    AddColumn(100);
    List->OnColumnSorted = [](TObject*, TdxTreeListColumn*, TdxTreeListColumnSort& sorted) {
        sorted = csDown;
    };
    Repaint();
    ExpectMark(85, 5, kDownMark);
    List->OnColumnSorted = nullptr;

    // Content 15 pixels wide (a 20-pixel header less 2 on the left and 3 on the right): no
    // mark, and the caption keeps the room.
    TdxTreeListColumn* narrow = AddColumn(20, "AB");
    narrow->SetMinWidth(0);
    narrow->SetWidth(20);
    narrow->SetSorted(csUp);
    Repaint();
    const int left = List->HeaderRect(1).Left;
    ASSERT_EQ(left, 100);
    ExpectGlyphBoxAt(left + 3, 4, Sys(SysColor::WindowText), Sys(SysColor::BtnFace));
    ExpectGlyphBoxAt(left + 9, 4, Sys(SysColor::WindowText), Sys(SysColor::BtnFace));
    EXPECT_EQ(At(left + 8, 10), Sys(SysColor::BtnFace));
    // One pixel more and the mark takes all 16 pixels, the caption none.
    narrow->SetWidth(21);
    Repaint();
    ExpectMark(left + 6, 5, kUpMark);
    EXPECT_EQ(At(left + 4, 8), Sys(SysColor::BtnFace));
}

// --- captions --------------------------------------------------------------------------------

TEST_F(TreeListHeaders, CaptionsThatDoNotFitEndInAnEllipsis) {
    // Standard look, 50 pixels: content from 2 to 47, 45 pixels for 6-pixel characters: four
    // of them and the three dots fit, an eighth box would start at 2 + 42.
    AddColumn(50, "ABCDEFGHIJ");
    Repaint();
    const TColorRef ink = Sys(SysColor::WindowText);
    const TColorRef paper = Sys(SysColor::BtnFace);
    for (int k = 0; k < 7; ++k)
        EXPECT_EQ(At(2 + 6 * k + 1, 4), ink) << k;
    EXPECT_EQ(At(2 + 42 + 1, 4), paper);
    EXPECT_EQ(At(2 + 42 + 2, 4), paper);
    // Centred and right-aligned captions that fit.
    TdxTreeListColumn* centred = AddColumn(65, "AB");
    centred->SetHeaderAlignment(taCenter);
    Repaint();
    // Content 52 .. 112 (60 wide): the 12-pixel text starts at 52 + 24.
    ExpectGlyphBoxAt(50 + 2 + 24 + 1, 4, ink, paper);
    centred->SetHeaderAlignment(taRightJustify);
    Repaint();
    ExpectGlyphBoxAt(50 + 62 - 12 + 1, 4, ink, paper);
}

TEST_F(TreeListHeaders, DisabledCaptionsAndEmptyCaptionsPaintOnlyTheButton) {
    TdxTreeListColumn* column = AddColumn(60, "ABC");
    column->SetDisableCaption(true);
    AddColumn(60);
    Repaint();
    // Where the first characters' glyphs would be: the header colour only.
    for (int x : {4, 10, 16, 64})
        for (int y : {5, 8, 11})
            EXPECT_EQ(At(x, y), Sys(SysColor::BtnFace)) << x << "," << y;
}

// --- looks ---------------------------------------------------------------------------------

TEST_F(TreeListHeaders, FlatLooksDrawLinesByPositionInTheLine) {
    List->SetLookAndFeel(lfFlat);
    AddColumn(40);
    AddColumn(40);
    AddColumn(40);
    Repaint();
    const TColorRef light = Sys(SysColor::BtnHighlight);
    const TColorRef shadow = Sys(SysColor::BtnShadow);
    const TColorRef face = Sys(SysColor::BtnFace);
    // First (0..40): top highlight, bottom shadow, left highlight from 1 to 15, right shadow
    // from 2 to 14.
    EXPECT_EQ(At(10, 0), light);
    EXPECT_EQ(At(10, 16), shadow);
    EXPECT_EQ(At(0, 0), light);
    EXPECT_EQ(At(0, 1), light);
    EXPECT_EQ(At(0, 15), light);
    EXPECT_EQ(At(39, 1), face);
    EXPECT_EQ(At(39, 2), shadow);
    EXPECT_EQ(At(39, 14), shadow);
    EXPECT_EQ(At(39, 15), face);
    // Middle (40..80): left highlight from 2 to 14.
    EXPECT_EQ(At(40, 1), face);
    EXPECT_EQ(At(40, 2), light);
    EXPECT_EQ(At(40, 14), light);
    EXPECT_EQ(At(40, 15), face);
    // Last (80..120): right shadow from the top to the line above the bottom line.
    EXPECT_EQ(At(119, 1), shadow);
    EXPECT_EQ(At(119, 15), shadow);
    EXPECT_EQ(At(119, 16), shadow); // the bottom line, drawn first

    List->SetLookAndFeel(lfUltraFlat);
    Repaint();
    // Flat sunken lines: shadow on top and bottom, no left lines.
    EXPECT_EQ(At(10, 0), shadow);
    EXPECT_EQ(At(10, 16), shadow);
    EXPECT_EQ(At(40, 8), face);
    EXPECT_EQ(At(39, 8), shadow);
}

TEST_F(TreeListHeaders, ShortHeadersLeaveAGapInThePanelColour) {
    AddColumn(100);
    List->SetHeaderPanelRowCount(2);
    for (TdxLookAndFeel look : {lfStandard, lfFlat, lfUltraFlat}) {
        SCOPED_TRACE(look);
        List->SetLookAndFeel(look);
        Repaint();
        const int row = List->HeaderRowHeight();
        const TColorRef panel = look == lfUltraFlat ? 0xA0A0A0 : Sys(SysColor::BtnShadow);
        for (int x : {0, 50, 99})
            for (int y : {row, 2 * row - 1})
                EXPECT_EQ(At(x, y), panel) << x << "," << y;
        EXPECT_EQ(At(50, row / 2), Sys(SysColor::BtnFace));
        EXPECT_TRUE(EveryPixelPainted());
    }
}

TEST_F(TreeListHeaders, StandardPressedCaptionsMoveRightAndDownFlatOnesInvert) {
    AddColumn(60, "A");
    AddColumn(60, "B");
    const TColorRef ink = Sys(SysColor::WindowText);
    const TColorRef paper = Sys(SysColor::BtnFace);
    Repaint();
    ExpectGlyphBoxAt(3, 4, ink, paper);
    PressHeader(0);
    Repaint();
    // Two pixels right; one lower, as the content box (two lower, a pixel shorter) centres the
    // line.
    ExpectGlyphBoxAt(5, 5, ink, paper);
    // The pushed edge: shadow on the left and top, the raised bottom edge kept.
    EXPECT_EQ(At(0, 8), Sys(SysColor::BtnShadow));
    EXPECT_EQ(At(30, 0), Sys(SysColor::BtnShadow));
    EXPECT_EQ(At(30, 17), Sys(SysColor::DkShadow3D));
    // The other header is as before.
    ExpectGlyphBoxAt(63, 4, ink, paper);
    // Several text lines are laid from the content's top: exactly two lower.
    LetGo();
    List->SetHeaderMinRowCount(2);
    Repaint();
    ExpectGlyphBoxAt(3, 4, ink, paper);
    PressHeader(0);
    Repaint();
    ExpectGlyphBoxAt(5, 6, ink, paper);
    LetGo();
    List->SetHeaderMinRowCount(1);

    for (TdxLookAndFeel look : {lfFlat, lfUltraFlat}) {
        SCOPED_TRACE(look);
        List->SetLookAndFeel(look);
        Repaint();
        const TRect header = List->HeaderRect(0);
        auto before = Pixels(header);
        const auto other = Pixels(List->HeaderRect(1));
        PressHeader(0);
        Repaint();
        LetGo();
        for (TColorRef& pixel : before)
            pixel ^= 0xFFFFFF;
        EXPECT_EQ(Pixels(header), before);
        EXPECT_EQ(Pixels(List->HeaderRect(1)), other);
    }
}

// --- custom drawing ------------------------------------------------------------------------

TEST_F(TreeListHeaders, CustomDrawnHeadersThatAreDoneAreLeftWhollyToTheHandler) {
    TdxTreeListColumn* a = AddColumn(60, "A");
    TdxTreeListColumn* b = AddColumn(60, "B");
    std::vector<std::string> calls;
    List->OnCustomDrawColumnHeader = [&](TObject* sender, TdxTreeListColumn* column,
                                         TCanvas& canvas, TRect rect, std::string& text, TColor&,
                                         TFont&, TAlignment&, TdxTreeListColumnSort&, bool& done) {
        EXPECT_EQ(sender, List);
        EXPECT_EQ(text, column->Caption());
        calls.push_back("list " + text);
        if (column == a) {
            Fill(canvas, rect, kRed);
            done = true;
        }
    };
    const auto own = [&](TObject* sender, TdxTreeListColumn* column, TCanvas&, TRect,
                         std::string& text, TColor&, TFont&, TAlignment&, TdxTreeListColumnSort&,
                         bool&) {
        EXPECT_EQ(sender, List);
        calls.push_back("column " + column->Caption());
        text = "";
    };
    a->OnCustomDrawColumnHeader = own;
    b->OnCustomDrawColumnHeader = own;
    Repaint();
    EXPECT_EQ(calls, (std::vector<std::string>{"list A", "list B", "column B"}));
    // No edges, no fill, no caption of the list's own in the first header.
    for (int x : {0, 30, 59})
        for (int y : {0, 8, 17})
            EXPECT_EQ(At(x, y), kRed);
    // The second one lost its caption to the column's handler.
    EXPECT_EQ(At(63, 4), Sys(SysColor::BtnFace));
}

TEST_F(TreeListHeaders, HandlerColoursFontsAndClipsHoldForOneHeaderOnly) {
    TdxTreeListColumn* a = AddColumn(60, "A");
    AddColumn(60, "B");
    List->HeaderFont().SetColor(clBlue);
    List->OnCustomDrawColumnHeader = [&](TObject*, TdxTreeListColumn* column, TCanvas& canvas,
                                         TRect, std::string&, TColor& color, TFont& font,
                                         TAlignment&, TdxTreeListColumnSort& sorted, bool&) {
        EXPECT_EQ(color, List->HeaderColor());
        if (column != a)
            return;
        color = static_cast<TColor>(kRed);
        font.SetColor(clLime);
        sorted = csUp;
        // Shrinking the clip here must not keep the other header from painting.
        canvas.IntersectClipRect({0, 0, 1, 1});
    };
    Repaint();
    EXPECT_EQ(At(30, 8), kRed);
    ExpectGlyphBoxAt(3, 4, 0x00FF00, kRed);
    EXPECT_EQ(At(45 + 3, 5), Sys(SysColor::BtnShadow)); // the mark the handler asked for
    EXPECT_EQ(At(90, 8), Sys(SysColor::BtnFace));
    ExpectGlyphBoxAt(63, 4, kBlue, Sys(SysColor::BtnFace));
}

TEST_F(TreeListHeaders, BandsAreCustomDrawnInTheirVisiblePartOnly) {
    List->SetShowBands(true);
    List->Bands().Add();
    List->Bands().Items(0)->SetCaption("Fixed");
    List->Bands().Items(0)->SetFixed(bfLeft);
    List->Bands().Items(0)->SetWidth(100);
    List->Bands().Items(1)->SetCaption("Moving");
    AddColumn(100);
    TdxTreeListColumn* moving = AddColumn(400);
    moving->SetBandIndex(1);
    List->SetLeftCoord(50);
    std::vector<TRect> rects;
    List->OnCustomDrawBand = [&](TObject* sender, TdxTreeListBand* band, TCanvas& canvas,
                                 TRect rect, std::string& text, TColor&, TFont&, TAlignment&,
                                 bool& done) {
        EXPECT_EQ(sender, List);
        EXPECT_EQ(text, band->Caption());
        rects.push_back(rect);
        if (band->Index() == 1) {
            Fill(canvas, rect, kRed);
            done = true;
        }
    };
    Repaint();
    ASSERT_EQ(rects.size(), 2u);
    // The moving band starts under the fixed one; only its part right of the fixed band's
    // line is painted.
    EXPECT_EQ(rects[1].Left, 100 + 2 - 50);
    const int band = List->BandPanelHeight();
    EXPECT_NE(At(60, band / 2), kRed);
    EXPECT_EQ(At(100, band / 2), Sys(SysColor::WindowFrame)); // the fixed band line
    EXPECT_EQ(At(101, List->BandPanelHeight() + 4), Sys(SysColor::WindowFrame));
    EXPECT_EQ(At(102, band / 2), kRed);
    EXPECT_EQ(At(339, band / 2), kRed);
    EXPECT_TRUE(EveryPixelPainted());
}

// --- panels --------------------------------------------------------------------------------

TEST_F(TreeListHeaders, WithoutShowBandsNoBandIsPaintedOrAskedFor) {
    AddColumn(100, "A");
    int bandEvents = 0;
    List->OnCustomDrawBand = [&](TObject*, TdxTreeListBand*, TCanvas&, TRect, std::string&, TColor&,
                                 TFont&, TAlignment&, bool&) { ++bandEvents; };
    Repaint();
    EXPECT_EQ(List->BandPanelHeight(), 0);
    EXPECT_EQ(bandEvents, 0);
    ExpectGlyphBoxAt(3, 4, Sys(SysColor::WindowText), Sys(SysColor::BtnFace));
    List->SetShowBands(true);
    Repaint();
    EXPECT_EQ(bandEvents, 1);
    EXPECT_EQ(List->BandPanelHeight(), 18);
    ExpectGlyphBoxAt(3, 18 + 4, Sys(SysColor::WindowText), Sys(SysColor::BtnFace));
}

TEST_F(TreeListHeaders, CornerButtonsOverTheIndicatorPushIn) {
    List->SetShowBands(true);
    List->SetShowIndicator(true);
    List->SetLookAndFeel(lfFlat);
    AddColumn(100);
    Repaint();
    const TRect corner{0, 0, 12, List->BandPanelHeight()};
    auto before = Pixels(corner);
    const auto header = Pixels({0, corner.Bottom, 12, corner.Bottom + List->HeaderRowHeight()});
    EXPECT_EQ(At(6, 8), Sys(SysColor::BtnFace));
    List->SetOptionsEx(List->OptionsEx().With(aoBandButtonClicking));
    PressAt({6, 8});
    Repaint();
    LetGo();
    for (TColorRef& pixel : before)
        pixel ^= 0xFFFFFF;
    EXPECT_EQ(Pixels(corner), before);
    EXPECT_EQ(Pixels({0, corner.Bottom, 12, corner.Bottom + List->HeaderRowHeight()}), header);
    EXPECT_TRUE(EveryPixelPainted());
}

TEST_F(TreeListHeaders, AListWithoutColumnsPaintsItsHeaderPanelInThePanelColour) {
    for (TdxLookAndFeel look : {lfStandard, lfFlat, lfUltraFlat}) {
        SCOPED_TRACE(look);
        List->SetLookAndFeel(look);
        EXPECT_TRUE(EveryPixelPainted());
        EXPECT_EQ(At(100, 5), look == lfUltraFlat ? 0xA0A0A0 : Sys(SysColor::BtnShadow));
    }
}

TEST_F(TreeListHeaders, EveryPanelPixelIsPaintedInEveryLook) {
    List->SetShowBands(true);
    List->SetShowIndicator(true);
    List->Bands().Add();
    List->Bands().Add(); // a band without columns
    List->SetHeaderPanelRowCount(3);
    AddColumn(60, "A");
    TdxTreeListColumn* second = AddColumn(60, "B");
    second->SetRowIndex(1);
    TdxTreeListColumn* third = AddColumn(60, "C");
    third->SetBandIndex(1);
    for (TdxLookAndFeel look : {lfStandard, lfFlat, lfUltraFlat}) {
        SCOPED_TRACE(look);
        List->SetLookAndFeel(look);
        EXPECT_TRUE(EveryPixelPainted());
    }
}

TEST_F(TreeListHeaders, HeaderGlyphsStandAtTheCaptionsLeftTheirCornerColourLeftOut) {
    TdxTreeListColumn* column = AddColumn(100, "A");
    // 4 x 4: red with a transparent (blue) bottom-left pixel.
    TPixelImage picture = TPixelImage::Blank(4, 4);
    for (std::uint32_t& pixel : picture.Pixels)
        pixel = Opaque(kRed);
    picture.Set(0, 3, Opaque(kBlue));
    column->HeaderGlyph().LoadFromImage(picture);
    Repaint();
    // Standard look: content from (2, 2); the glyph one pixel left and above, the caption
    // right of it.
    EXPECT_EQ(At(1, 1), kRed);
    EXPECT_EQ(At(4, 4), kRed);
    EXPECT_EQ(At(1, 4), Sys(SysColor::BtnFace));
    ExpectGlyphBoxAt(5 + 1, 4, Sys(SysColor::WindowText), Sys(SysColor::BtnFace));
    List->SetLookAndFeel(lfFlat);
    Repaint();
    // Flat: content from (3, 2); one more pixel to the left.
    EXPECT_EQ(At(1, 1), kRed);
    EXPECT_EQ(At(4, 4), kRed);
    ExpectGlyphBoxAt(5 + 1, 4, Sys(SysColor::WindowText), Sys(SysColor::BtnFace));
}

// --- border ----------------------------------------------------------------------------------

TEST_F(TreeListHeaders, TheBorderFollowsItsStyleAndLook) {
    const auto& window = WindowOf(*List);
    const auto frame = [&](int x, int y) { return window.WindowSurface().At(x, y); };
    const TColorRef shadow = Sys(SysColor::BtnShadow);
    const TColorRef light = Sys(SysColor::BtnHighlight);
    // The standard look: the platform's sunken edge, or with Ctl3D off its plain border.
    List->SetBorderStyle(bsSingle);
    Platform.PaintAll();
    EXPECT_EQ(window.Frame(), TChildFrame::Sunken);
    EXPECT_EQ(List->ClientWidth(), 340 - 4);
    EXPECT_EQ(frame(0, 0), shadow);
    EXPECT_EQ(frame(1, 1), Sys(SysColor::DkShadow3D));
    List->SetCtl3D(false);
    Platform.PaintAll();
    EXPECT_EQ(window.Frame(), TChildFrame::Single);
    EXPECT_EQ(List->ClientWidth(), 340 - 2);
    EXPECT_EQ(frame(339, 100), Sys(SysColor::WindowFrame));
    // The flat looks draw a one-pixel frame of their own.
    List->SetLookAndFeel(lfFlat);
    Platform.PaintAll();
    EXPECT_EQ(window.Frame(), TChildFrame::OwnDrawn);
    EXPECT_EQ(List->ClientWidth(), 340 - 2);
    EXPECT_EQ(List->ClientHeight(), 253 - 2);
    EXPECT_EQ(frame(0, 100), shadow);
    EXPECT_EQ(frame(100, 0), shadow);
    EXPECT_EQ(frame(339, 100), light);
    EXPECT_EQ(frame(100, 252), light);
    List->SetLookAndFeel(lfUltraFlat);
    Platform.PaintAll();
    for (TPoint p : {TPoint{0, 100}, TPoint{100, 0}, TPoint{339, 100}, TPoint{100, 252}})
        EXPECT_EQ(frame(p.X, p.Y), shadow);
    // No border at all, as on the main window.
    List->SetBorderStyle(bsNone);
    Platform.PaintAll();
    EXPECT_EQ(window.Frame(), TChildFrame::None);
    EXPECT_EQ(List->ClientWidth(), 340);
    EXPECT_TRUE(EveryPixelPainted());
}

TEST_F(TreeListHeaders, TheFlatFrameFillsTheCornerBetweenTwoScrollBars) {
    Platform.SysColors[SysColor::ScrollBar] = 0x123456;
    List->SetBorderStyle(bsSingle);
    List->SetLookAndFeel(lfFlat);
    AddColumn(1000);
    for (int i = 0; i < 40; ++i)
        List->AddNode();
    Platform.PaintAll();
    const auto& window = WindowOf(*List);
    ASSERT_TRUE(window.ScrollBarVisible(SB::Vert));
    ASSERT_TRUE(window.ScrollBarVisible(SB::Horz));
    const int bar = Platform.SystemMetric(SM::CxVScroll);
    const auto frame = [&](int x, int y) { return window.WindowSurface().At(x, y); };
    EXPECT_EQ(frame(339 - bar, 252 - bar), Sys(SysColor::BtnFace));
    EXPECT_EQ(frame(338, 251), Sys(SysColor::BtnFace));
    EXPECT_EQ(frame(338, 100), 0x123456u); // the vertical bar
    EXPECT_EQ(frame(339, 251), Sys(SysColor::BtnHighlight));
}

TEST_F(TreeListHeaders, TheMainWindowShowsItsCentredBandAndThreeFlatHeaders) {
    MakeWindowList();
    List->Bands().Items(0)->SetCaption("원도우 목록");
    List->SetBandColor(static_cast<TColor>(0x00D9E5E9));
    List->SetHeaderColor(static_cast<TColor>(0x00D9E5E9));
    Repaint();
    const TColorRef panel = 0xD9E5E9;
    const TColorRef ink = Sys(SysColor::WindowText);
    // Band: 17 high, 340 wide, flat single: content 3 .. 337; "원도우 목록" is five 12-pixel
    // wide characters and a 6-pixel space, 66 pixels, centred from 3 + (334 - 66) / 2.
    ASSERT_EQ(List->BandPanelHeight(), 17);
    EXPECT_EQ(At(0, 0), Sys(SysColor::BtnHighlight));
    EXPECT_EQ(At(339, 16), Sys(SysColor::BtnShadow));
    const int bandText = 3 + (334 - 66) / 2;
    EXPECT_EQ(At(bandText, 8), panel);
    EXPECT_EQ(At(bandText + 1, 4), ink);
    EXPECT_EQ(At(bandText + 10, 11), ink);
    EXPECT_EQ(At(bandText + 11, 8), panel);
    // Headers (first, middle, last: content 3 pixels in): "숨기기" from 3, nothing in the
    // icon column's (49 .. 69), "프로그램명" from 69 + 3.
    ExpectGlyphBoxAt(3 + 1, 17 + 4, ink, panel);
    for (int x = 51; x < 66; ++x)
        EXPECT_EQ(At(x, 17 + 8), panel) << x;
    ExpectGlyphBoxAt(69 + 3 + 1, 17 + 4, ink, panel);
    // Sorting by caption shows the mark at the right end of the last header.
    List->ColumnClicked(2, false, false);
    Repaint();
    ExpectMark(340 - 3 - 16 + 4, 17 + 5, kUpMark, panel);
}

} // namespace
