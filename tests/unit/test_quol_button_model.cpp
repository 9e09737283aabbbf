// The flat button's properties: clamps, what style, frame colours, kinds and glyphs set, the
// two-line hint, stored layouts, and the resources the program carries for it.
#include "QuolButtonFixture.h"
#include "framework/StandardClasses.h"

#include <gtest/gtest.h>

namespace {

using namespace fw;
using namespace quol;
using testing_support::QuolButtonTest;

class QuolButtonModelTest : public QuolButtonTest {
protected:
    TBitmap& Picture(int width, int height) {
        FPicture = std::make_unique<TBitmap>(Platform);
        FPicture->SetSize(width, height);
        return *FPicture;
    }
    std::unique_ptr<TBitmap> FPicture;
};

TEST_F(QuolButtonModelTest, RangedPropertiesClamp) {
    TQuolButton* b = MakeButton("x");
    b->SetSpacing(0);
    EXPECT_EQ(b->Spacing(), 1);
    b->SetSpacing(9);
    EXPECT_EQ(b->Spacing(), 5);
    b->SetSpacingLayout(-9);
    EXPECT_EQ(b->SpacingLayout(), -5);
    b->SetSpacingLayout(9);
    EXPECT_EQ(b->SpacingLayout(), 5);
    b->SetPopupMenuMarkGap(0);
    EXPECT_EQ(b->PopupMenuMarkGap(), 1);
    b->SetPopupMenuMarkGap(6);
    EXPECT_EQ(b->PopupMenuMarkGap(), 5);
    // No cell can be zero pixels wide because of the count.
    b->SetNumGlyphs(0);
    EXPECT_EQ(b->NumGlyphs(), 1);
    b->SetNumGlyphsHot(7);
    EXPECT_EQ(b->NumGlyphsHot(), 4);
}

TEST_F(QuolButtonModelTest, StylesSetWidthsPenColoursAndTheButtonFace) {
    TQuolButton* b = MakeButton("x");
    b->SetButtonStyle(stDefault);
    EXPECT_FALSE(b->ParentColor());
    EXPECT_EQ(b->Color(), clBtnFace);
    EXPECT_EQ(b->FrameWidth(), 1);
    EXPECT_EQ(b->FrameBottomColor(), clBlack);
    EXPECT_EQ(b->ColorMarginRightBottom(), clBlack);
    // The face stays clBtnFace whatever colour is asked for.
    b->SetColor(clRed);
    EXPECT_EQ(b->Color(), clBtnFace);

    b->SetButtonStyle(stFrameLowered);
    EXPECT_EQ(b->FrameTopColor(), clBtnShadow);
    EXPECT_EQ(b->FrameBottomColor(), clBtnHighlight);
    b->SetButtonStyle(stRaisedDot);
    EXPECT_EQ(b->PenStyle(), TPenStyle::Dot);
    EXPECT_EQ(b->HotFrameWidth(), 2);
    // stNone draws no border and keeps pen and colours.
    b->SetButtonStyle(stNone);
    EXPECT_EQ(b->FrameWidth(), 0);
    EXPECT_EQ(b->HotFrameWidth(), 0);
    EXPECT_EQ(b->PenStyle(), TPenStyle::Dot);
    EXPECT_EQ(b->FrameTopColor(), clBtnHighlight);

    // With custom margins a style uses the stored colours.
    b->SetColorMarginStyle(cmCustom);
    b->SetColorMarginLeftTop(clRed);
    b->SetButtonStyle(stRaised);
    EXPECT_EQ(b->FrameTopColor(), clRed);
    EXPECT_EQ(b->FrameBottomColor(), clBtnShadow);
}

TEST_F(QuolButtonModelTest, MarginColoursSwitchToCustomOnlyWhenTheyLeaveTheStyleDefault) {
    TQuolButton* b = MakeButton("x");
    b->SetColorMarginLeftTop(clBtnHighlight);
    EXPECT_EQ(b->ColorMarginStyle(), cmDefault);
    b->SetColorMarginLeftTop(clRed);
    EXPECT_EQ(b->ColorMarginStyle(), cmCustom);
    EXPECT_EQ(b->FrameTopColor(), clRed);

    // Back to the defaults: stFlatDot then takes a black bottom/right line.
    b->SetButtonStyle(stFlatDot);
    b->SetColorMarginStyle(cmDefault);
    EXPECT_EQ(b->ColorMarginLeftTop(), clBtnHighlight);
    EXPECT_EQ(b->FrameBottomColor(), clBlack);

    TQuolButton* none = MakeButton("y");
    none->SetButtonStyle(stNone);
    none->SetColorMarginRightBottom(clRed);
    EXPECT_EQ(none->ColorMarginStyle(), cmDefault);
    none->SetColorMarginStyle(cmDefault);
    EXPECT_EQ(none->ColorMarginRightBottom(), clRed);
}

TEST_F(QuolButtonModelTest, GlyphShapeDecidesTheNumberOfCells) {
    TQuolButton* b = MakeButton("x");
    b->SetGlyph(Picture(64, 16));
    EXPECT_EQ(b->NumGlyphs(), 4);
    b->SetGlyph(Picture(80, 16));
    EXPECT_EQ(b->NumGlyphs(), 1);
    b->SetNumGlyphs(3);
    b->SetGlyph(Picture(40, 16));
    EXPECT_EQ(b->NumGlyphs(), 3) << "not a multiple: the count stays";
    b->SetGlyph(Picture(16, 32));
    EXPECT_EQ(b->NumGlyphs(), 1);
    b->SetNumGlyphs(2);
    b->SetGlyph(Picture(0, 16));
    EXPECT_EQ(b->NumGlyphs(), 2) << "an empty glyph tells nothing";
    EXPECT_TRUE(b->GlyphEmpty());
    b->SetGlyphHot(Picture(48, 16));
    EXPECT_EQ(b->NumGlyphsHot(), 3);
    // Glyphs of one's own make the kind custom.
    b->SetButtonKind(skOK);
    b->SetGlyph(Picture(16, 16));
    EXPECT_EQ(b->ButtonKind(), skCustom);
    EXPECT_EQ(b->Caption(), "OK");
    // A strip narrower than its cells draws nothing instead of dividing by nothing.
    b->SetGlyph(Picture(3, 16));
    b->SetNumGlyphs(4);
    ShowAll();
}

TEST_F(QuolButtonModelTest, KindsLoadGlyphsCaptionAndDefaultOrCancel) {
    TQuolButton* b = MakeButton("Go");
    b->SetButtonKind(skYes);
    EXPECT_EQ(b->Caption(), "&Yes");
    EXPECT_TRUE(b->Default());
    EXPECT_FALSE(b->Cancel());
    EXPECT_EQ(b->NumGlyphs(), 1);
    EXPECT_EQ(b->NumGlyphsHot(), 1);
    ASSERT_FALSE(b->GlyphEmpty());
    EXPECT_EQ(b->Glyph()->Width(), 18);
    ASSERT_FALSE(b->GlyphHotEmpty());

    ShowAll();
    ASSERT_NE(b->CellBitmap(), nullptr);
    EXPECT_EQ(b->CellBitmap()->Width(), 18);

    // Another kind starts from empty glyphs and work bitmaps.
    b->SetButtonKind(skNo);
    EXPECT_EQ(b->CellBitmap(), nullptr);
    EXPECT_EQ(b->Caption(), "&No");
    EXPECT_TRUE(b->Cancel());
    EXPECT_FALSE(b->Default());

    b->SetButtonKind(skSilly);
    EXPECT_EQ(b->Glyph()->Width(), 19);

    // Back to custom: no glyphs, the caption stays, neither default nor cancel.
    b->SetButtonKind(skCustom);
    EXPECT_TRUE(b->GlyphEmpty());
    EXPECT_TRUE(b->GlyphHotEmpty());
    EXPECT_EQ(b->Caption(), "&Silly");
    EXPECT_FALSE(b->Cancel());

    // Without the resources the glyphs stay empty.
    headless::HeadlessPlatform bare;
    TApplication app(bare);
    auto* form = app.CreateForm<TForm>();
    auto* lone = new TQuolButton(form);
    lone->SetParent(form);
    lone->SetButtonKind(skOK);
    EXPECT_TRUE(lone->GlyphEmpty());
    EXPECT_EQ(lone->Caption(), "OK");
    form->Show();
    bare.PaintAll();
}

TEST_F(QuolButtonModelTest, HintSecondLineIsBuiltFromTheBaseHintEachTime) {
    TQuolButton* b = MakeButton("x");
    b->SetHintSecondLine("second");
    EXPECT_EQ(b->Hint(), "") << "no base hint, no hint";
    b->SetHint("base");
    EXPECT_EQ(b->Hint(), "base\rsecond");
    b->SetHintSecondLine("second");
    EXPECT_EQ(b->Hint(), "base\rsecond");
    b->SetHintSecondLine("other");
    EXPECT_EQ(b->Hint(), "base\rother");
    b->SetHintSecondLine("");
    EXPECT_EQ(b->Hint(), "base");
}

TPropertyRegistry ButtonClasses() {
    TPropertyRegistry r;
    RegisterStandardClasses(r);
    RegisterQuolButton(r);
    return r;
}

TEST_F(QuolButtonModelTest, StoredLayoutsSetEveryKindOfProperty) {
    THandlerTable handlers;
    int overs = 0;
    handlers.Add("Over", TNotifyEvent([&](TObject*) { ++overs; }));
    TForm* form = LoadForm(R"(object f: TForm
  object b1: TQuolButton
    ButtonKind = skOK
  end
  object b2: TQuolButton
    Caption = 'Go'
    ButtonKind = skCancel
    PopupMenu = Menu
    PositionPopup = puRight
    SpacingLayout = -2
    Layout = blGlyphTop
    ColorMarginStyle = cmCustom
    ColorMarginLeftTop = clRed
    HelpContext = 7
    HintSecondLine = 'more'
    OnMouseOver = Over
  end
  object b3: TQuolButton
    Glyph = <
      item
        Palette = 'm=FF00FF r=0000FF'
        Rows = ('mrmrmrmr' 'mrmrmrmr')
      end>
  end
  object Menu: TPopupMenu
    Alignment = paRight
    Items = <
      item
        Caption = 'one'
      end>
  end
end)",
                           ButtonClasses(), handlers);
    auto* b1 = dynamic_cast<TQuolButton*>(form->FindComponent("b1"));
    auto* b2 = dynamic_cast<TQuolButton*>(form->FindComponent("b2"));
    auto* b3 = dynamic_cast<TQuolButton*>(form->FindComponent("b3"));
    ASSERT_TRUE(b1 && b2 && b3);
    // While loading, a kind does not give an empty caption its own.
    EXPECT_EQ(b1->Caption(), "");
    EXPECT_TRUE(b1->Default());
    EXPECT_EQ(b2->Caption(), "Cancel");
    EXPECT_TRUE(b2->Cancel());
    ASSERT_NE(b2->PopupMenu(), nullptr);
    EXPECT_EQ(b2->PopupMenu()->Name(), "Menu");
    EXPECT_EQ(b2->PopupMenu()->Items().size(), 1u);
    EXPECT_EQ(b2->PositionPopup(), puRight);
    EXPECT_EQ(b2->SpacingLayout(), -2);
    EXPECT_EQ(b2->Layout(), blGlyphTop);
    EXPECT_EQ(b2->FrameTopColor(), clRed);
    EXPECT_EQ(b2->HelpContext(), 7);
    EXPECT_EQ(b2->HintSecondLine(), "more");
    ASSERT_TRUE(bool(b2->OnMouseOver));
    b2->OnMouseOver(b2);
    EXPECT_EQ(overs, 1);
    ASSERT_FALSE(b3->GlyphEmpty());
    EXPECT_EQ(b3->NumGlyphs(), 4);

    // A popup menu destroyed elsewhere is dropped.
    b2->PopupMenu()->Free();
    EXPECT_EQ(b2->PopupMenu(), nullptr);

    const std::string error = testing_support::LayoutErrorOf([&] {
        LoadForm("object f: TForm\n  object b: TQuolButton\n    PopupMenu = Nothing\n  end\nend",
                 ButtonClasses());
    });
    EXPECT_NE(error.find("'Nothing' is not a popup menu"), std::string::npos) << error;
}

// --- the resources Varnel.exe carries for the button ---------------------------------------

std::uint32_t U32(const std::string& bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | std::uint8_t(bytes.at(at + std::size_t(i)));
    return v;
}
unsigned U16(const std::string& bytes, std::size_t at) {
    return std::uint8_t(bytes.at(at)) | unsigned(std::uint8_t(bytes.at(at + 1))) << 8;
}

TEST(QuolButtonResources, EveryKindHasAGreyAndAColouredGlyphOnMagenta) {
    std::map<std::string, TPixelImage> bitmaps;
    for (const auto& r : testing_support::ResourceScriptEntries())
        if (r.Type == "BITMAP")
            bitmaps[r.Name] = testing_support::DecodeBmp(testing_support::ReadSourceFile(r.File));
    for (int k = skOK; k <= skSilly; ++k) {
        const TKindInfo& kind = KindInfo(static_cast<TKind>(k));
        const int size = k == skSilly ? 19 : 18;
        for (const char* name : {kind.Glyph, kind.GlyphHot}) {
            SCOPED_TRACE(name);
            ASSERT_TRUE(bitmaps.count(name));
            const TPixelImage& image = bitmaps[name];
            EXPECT_EQ(image.Width, size);
            EXPECT_EQ(image.Height, size);
            EXPECT_EQ(image.At(0, size - 1), Opaque(0xFF00FF));
        }
        // The resting glyph is grey: every pixel but the background has r = g = b.
        bool grey = true;
        bool coloured = false;
        for (std::uint32_t p : bitmaps[kind.Glyph].Pixels)
            grey = grey && (p == Opaque(0xFF00FF) ||
                            (GetRValue(p) == GetGValue(p) && GetGValue(p) == GetBValue(p)));
        for (std::uint32_t p : bitmaps[kind.GlyphHot].Pixels)
            coloured = coloured || (p != Opaque(0xFF00FF) &&
                                    (GetRValue(p) != GetGValue(p) || GetGValue(p) != GetBValue(p)));
        EXPECT_TRUE(grey) << kind.Glyph;
        EXPECT_TRUE(coloured) << kind.GlyphHot;
    }
    const TPixelImage& mark = bitmaps["Strela"];
    ASSERT_EQ(mark.Width, 5);
    ASSERT_EQ(mark.Height, 3);
    EXPECT_EQ(mark.At(0, 0), Opaque(0));
    EXPECT_EQ(mark.At(2, 2), Opaque(0));
    EXPECT_EQ(mark.At(0, 2), Opaque(0xFF00FF));
}

TEST(QuolButtonResources, HandCursorAndHoverSound) {
    std::map<std::string, std::string> files;
    for (const auto& r : testing_support::ResourceScriptEntries())
        files[r.Type + " " + r.Name] = r.File;
    ASSERT_TRUE(files.count("CURSOR HANDquolb"));
    const std::string cursor = testing_support::ReadSourceFile(files["CURSOR HANDquolb"]);
    EXPECT_EQ(U16(cursor, 2), 2u); // a cursor file
    EXPECT_EQ(U16(cursor, 4), 1u); // one image
    EXPECT_EQ(std::uint8_t(cursor[6]), 32);
    EXPECT_EQ(std::uint8_t(cursor[7]), 32);
    const unsigned hotX = U16(cursor, 10), hotY = U16(cursor, 12);
    EXPECT_LT(hotX, 32u);
    EXPECT_LT(hotY, 32u);

    ASSERT_TRUE(files.count("WAV PREKO"));
    const std::string wave = testing_support::ReadSourceFile(files["WAV PREKO"]);
    EXPECT_EQ(wave.substr(0, 4), "RIFF");
    EXPECT_EQ(wave.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(U16(wave, 20), 1u);     // PCM
    EXPECT_EQ(U16(wave, 22), 1u);     // mono
    EXPECT_EQ(U32(wave, 24), 22050u); // samples per second
    EXPECT_EQ(U16(wave, 34), 16u);    // bits per sample
    EXPECT_EQ(wave.substr(36, 4), "data");
    EXPECT_EQ(U32(wave, 40), wave.size() - 44);
}

} // namespace
