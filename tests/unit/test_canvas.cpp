// The framework's canvas, bitmaps, icons and image lists over the headless platform.
#include "HeadlessFixture.h"
#include "framework/Graphics.h"
#include "framework/ImageList.h"

#include <gtest/gtest.h>

namespace {

using namespace fw;
using testing_support::HeadlessTest;

class CanvasTest : public HeadlessTest {
protected:
    CanvasTest() : Bitmap(Platform) { Bitmap.SetSize(40, 20); }
    TColorRef At(int x, int y) { return Bitmap.Canvas().Pixel(x, y); }
    TBitmap Bitmap;
};

TEST_F(CanvasTest, SystemColoursAreConvertedThroughThePlatform) {
    Platform.SysColors[SysColor::BtnFace] = 0x123456;
    EXPECT_EQ(ColorToRGB(clBtnFace, Platform), 0x123456u);
    EXPECT_EQ(ColorToRGB(0x00F9FEFF, Platform), 0x00F9FEFFu);
    EXPECT_EQ(ColorToRGB(clRed, Platform), 0x0000FFu);
    Bitmap.Canvas().Brush().SetColor(clBtnFace);
    Bitmap.Canvas().FillRect({0, 0, 2, 2});
    EXPECT_EQ(At(1, 1), 0x123456u);
}

TEST_F(CanvasTest, TextInClNoneKeepsTheLastFontColour) {
    TCanvas& c = Bitmap.Canvas();
    c.Brush().SetColor(clWhite);
    c.FillRect({0, 0, 40, 20});
    c.Brush().SetStyle(bsClear);
    c.Font().SetHeight(-12);
    c.Font().SetColor(clRed);
    c.TextOut(0, 0, "a");
    EXPECT_EQ(At(1, 2), 0x0000FFu);
    c.Font().SetColor(clNone);
    c.TextOut(10, 0, "a");
    EXPECT_EQ(At(11, 2), 0x0000FFu) << "clNone text must not vanish or turn into another colour";
    c.Font().SetColor(clBlue);
    c.TextOut(20, 0, "a");
    EXPECT_EQ(At(21, 2), 0xFF0000u);
}

TEST_F(CanvasTest, BrushStyleDecidesTextBackground) {
    TCanvas& c = Bitmap.Canvas();
    c.Brush().SetColor(clWhite);
    c.FillRect({0, 0, 40, 20});
    c.Font().SetHeight(-12);
    c.Font().SetColor(clBlack);
    c.Brush().SetColor(clLime);
    c.TextOut(0, 0, "a"); // opaque: the character cell takes the brush
    EXPECT_EQ(At(0, 0), 0x00FF00u);
    c.Brush().SetStyle(bsClear);
    c.TextOut(10, 0, "a");
    EXPECT_EQ(At(10, 0), 0xFFFFFFu);
    // TextRect fills the whole rectangle and clips the text to it.
    c.Brush().SetColor(clYellow);
    c.TextRect({20, 0, 24, 12}, 20, 0, "abc");
    EXPECT_EQ(At(20, 0), 0x00FFFFu);
    EXPECT_EQ(At(21, 2), 0u);
    EXPECT_EQ(At(24, 2), 0xFFFFFFu);
}

TEST_F(CanvasTest, PolylinesAreCheckedBeforeTheyReachThePlatform) {
    TCanvas& c = Bitmap.Canvas();
    EXPECT_THROW(c.PolyPolyline({{0, 0}, {5, 0}}, {3}), Exception);
    EXPECT_THROW(c.PolyPolyline({{0, 0}, {5, 0}}, {-1}), Exception);
    c.Pen().SetColor(clRed);
    c.MoveTo(0, 5);
    c.LineTo(4, 5);
    EXPECT_EQ(At(3, 5), 0x0000FFu);
    EXPECT_NE(At(4, 5), 0x0000FFu); // the end point is left out
}

TEST_F(CanvasTest, ClipSaveRestoreAndBitmapCopies) {
    TCanvas& c = Bitmap.Canvas();
    c.Brush().SetColor(clWhite);
    c.FillRect({0, 0, 40, 20});
    const int saved = c.SaveClip();
    c.IntersectClipRect({0, 0, 10, 10});
    c.ExcludeClipRect({0, 0, 5, 5});
    EXPECT_EQ(c.ClipRect(), (TRect{0, 0, 10, 10}));
    EXPECT_FALSE(c.RectVisible({0, 0, 5, 5}));
    c.Brush().SetColor(clBlack);
    c.FillRect({0, 0, 40, 20});
    c.RestoreClip(saved);
    EXPECT_TRUE(c.RectVisible({30, 15, 35, 18}));
    EXPECT_EQ(At(2, 2), 0xFFFFFFu);
    EXPECT_EQ(At(7, 7), 0u);
    EXPECT_EQ(At(12, 2), 0xFFFFFFu);

    TBitmap glyph(Platform);
    TPixelImage picture = TPixelImage::Blank(2, 1);
    picture.Set(0, 0, Opaque(0x0000FF));
    glyph.LoadFromImage(picture, clFuchsia); // pixel 1 is masked: magenta
    EXPECT_EQ(glyph.Canvas().Pixel(1, 0), 0xFF00FFu);
    c.Brush().SetColor(clLime);
    c.BrushCopy({20, 10, 22, 11}, glyph, {0, 0, 2, 1}, clFuchsia);
    EXPECT_EQ(At(20, 10), 0x0000FFu);
    EXPECT_EQ(At(21, 10), 0x00FF00u);
    c.Draw(30, 10, glyph);
    EXPECT_EQ(At(31, 10), 0xFF00FFu);
}

TEST_F(CanvasTest, ImageListDrawsMaskedImagesAndHandsOutIcons) {
    auto* list = new TImageList(&Application);
    TPixelImage image = TPixelImage::Blank(16, 16);
    image.Set(3, 4, Opaque(0x0000FF));
    EXPECT_EQ(list->Add(image), 0);
    TCanvas& c = Bitmap.Canvas();
    c.Brush().SetColor(clWhite);
    c.FillRect({0, 0, 40, 20});
    list->Draw(c, 10, 2, 0);
    EXPECT_EQ(At(13, 6), 0x0000FFu);
    EXPECT_EQ(At(10, 2), 0xFFFFFFu); // masked
    list->Draw(c, 0, 0, 1);          // out of range: nothing
    list->Draw(c, 0, 0, -1);
    EXPECT_EQ(At(3, 4), 0xFFFFFFu);

    const TIconHandle handle = [&] {
        TIcon icon = list->GetIcon(0);
        EXPECT_FALSE(icon.Empty());
        c.DrawIcon(20, 0, icon.Handle());
        return icon.Handle();
    }();
    EXPECT_EQ(At(23, 4), 0x0000FFu);
    // The icon went with its owner: drawing the old handle now draws nothing.
    c.Brush().SetColor(clWhite);
    c.FillRect({20, 0, 36, 16});
    c.DrawIcon(20, 0, handle);
    EXPECT_EQ(At(23, 4), 0xFFFFFFu);
    EXPECT_TRUE(list->GetIcon(5).Empty());
}

} // namespace
