// Pictures read from bitmap and icon files: every layout the reader takes, the icon entry it
// picks and its mask or alpha, transparency, and data that holds no readable picture (cut
// short, out-of-range sizes and offsets, unread formats), which must leave the picture empty.
#include "framework/Picture.h"
#include "test_picture_support.h"

#include "test_colours.h"

#include <gtest/gtest.h>

namespace {

using namespace fw;
using namespace test_colours;
using namespace picture_testing;

constexpr TColorRef kGrey = 0x808080;

std::vector<std::uint32_t> Pixels(const TPicture& picture) {
    return picture.Image().Pixels;
}

std::vector<std::uint32_t> OpaqueAll(const std::vector<TColorRef>& colors) {
    std::vector<std::uint32_t> out;
    for (TColorRef c : colors)
        out.push_back(OpaquePixel(c));
    return out;
}

TEST(PictureTest, BitmapsOfEveryReadLayoutGiveTheirPixelsFromTheTop) {
    // 3 x 2 pictures: red green blue / white black grey.
    const std::vector<TColorRef> colors{kRed, kGreen, kBlue, kWhite, kBlack, kGrey};
    const std::vector<TColorRef> palette{kRed, kGreen, kBlue, kWhite, kBlack, kGrey};
    const std::vector<std::uint32_t> indexes{0, 1, 2, 3, 4, 5};

    struct TCase {
        const char* Name;
        TDib Dib;
        std::vector<TColorRef> Expected;
    };
    std::vector<TCase> cases;
    for (int bits : {4, 8}) {
        TDib dib = Dib(3, 2, bits, indexes, palette);
        cases.push_back({bits == 4 ? "4 bits" : "8 bits", dib, colors});
    }
    {
        TDib dib = Dib(3, 2, 1, {0, 1, 1, 1, 0, 0}, {kBlack, kWhite});
        cases.push_back({"1 bit", dib, {kBlack, kWhite, kWhite, kWhite, kBlack, kBlack}});
    }
    {
        // A core header's colour table always has an entry for every index.
        std::vector<TColorRef> full = palette;
        full.resize(16, kBlack);
        TDib dib = Dib(3, 2, 4, indexes, full);
        dib.CoreHeader = true;
        cases.push_back({"core header", dib, colors});
    }
    {
        TDib dib = Dib(3, 2, 24, {}, {});
        dib.Values.assign(colors.begin(), colors.end());
        cases.push_back({"24 bits", dib, colors});
        dib.TopDown = true;
        cases.push_back({"24 bits top-down", dib, colors});
        dib.TopDown = false;
        dib.Bits = 32;
        cases.push_back({"32 bits", dib, colors});
    }
    {
        // 5-5-5: full red, full green, full blue, white, black, and 16/31 grey (131).
        TDib dib = Dib(3, 2, 16, {0x7C00, 0x03E0, 0x001F, 0x7FFF, 0x0000, 0x4210}, {});
        cases.push_back({"16 bits 5-5-5", dib, {kRed, kGreen, kBlue, kWhite, kBlack, 0x838383}});
        // 5-6-5 bit fields.
        TDib fields = Dib(3, 2, 16, {0xF800, 0x07E0, 0x001F, 0xFFFF, 0x0000, 0x0000}, {});
        fields.Masks = {0xF800, 0x07E0, 0x001F};
        cases.push_back(
            {"16 bits 5-6-5 bit fields", fields, {kRed, kGreen, kBlue, kWhite, kBlack, kBlack}});
    }
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TPicture picture;
        ASSERT_TRUE(picture.LoadFromData(BitmapFile(c.Dib)));
        EXPECT_EQ(picture.GraphicClass(), gcBitmap);
        EXPECT_EQ(picture.Width(), 3);
        EXPECT_EQ(picture.Height(), 2);
        EXPECT_EQ(Pixels(picture), OpaqueAll(c.Expected));
        EXPECT_FALSE(picture.Transparent());
    }
}

TEST(PictureTest, PaletteIndexesPastAShortColourTableReadAsBlack) {
    TDib dib = Dib(2, 1, 8, {0, 7}, {kRed});
    TPicture picture;
    ASSERT_TRUE(picture.LoadFromData(BitmapFile(dib)));
    EXPECT_EQ(Pixels(picture), OpaqueAll({kRed, kBlack}));
}

TEST(PictureTest, IconsTakeTheLargestReadableEntryWithItsMaskOrItsAlpha) {
    // An 8-bit 2 x 2 entry with a mask, and a larger 32-bit one with an alpha channel.
    TDib small = Dib(2, 2, 8, {0, 1, 1, 0}, {kRed, kGreen});
    small.Masked = {false, true, false, false};
    TDib large = Dib(3, 3, 32, std::vector<std::uint32_t>(9, kBlue), {});
    large.Alpha = {255, 0, 128, 255, 255, 255, 255, 255, 255};

    TPicture picture;
    ASSERT_TRUE(picture.LoadFromData(IconFile({IconEntry(small), IconEntry(large)})));
    EXPECT_EQ(picture.GraphicClass(), gcIcon);
    EXPECT_TRUE(picture.Transparent());
    ASSERT_EQ(picture.Width(), 3);
    EXPECT_EQ(picture.Image().At(0, 0), OpaquePixel(kBlue));
    EXPECT_EQ(picture.Image().At(1, 0), kBlue);
    EXPECT_EQ(picture.Image().At(2, 0), 0x80000000u | kBlue);

    // Only the small one: its mask makes (1, 0) transparent.
    ASSERT_TRUE(picture.LoadFromData(IconFile({IconEntry(small)})));
    EXPECT_EQ(Pixels(picture),
              (std::vector<std::uint32_t>{OpaquePixel(kRed), kGreen, OpaquePixel(kGreen),
                                          OpaquePixel(kRed)}));

    // A 32-bit image whose alpha is all 0 is read through its mask instead.
    TDib noAlpha = Dib(2, 1, 32, {kRed, kGreen}, {});
    noAlpha.Masked = {true, false};
    ASSERT_TRUE(picture.LoadFromData(IconFile({IconEntry(noAlpha)})));
    EXPECT_EQ(Pixels(picture), (std::vector<std::uint32_t>{kRed, OpaquePixel(kGreen)}));

    // A PNG-compressed entry, however large, is passed over.
    TIconEntry png{64, 64, 32, std::string("\x89PNG\r\n\x1a\n", 8) + std::string(32, 'x')};
    ASSERT_TRUE(picture.LoadFromData(IconFile({png, IconEntry(small)})));
    EXPECT_EQ(picture.Width(), 2);
    EXPECT_FALSE(picture.LoadFromData(IconFile({png})));
}

TEST(PictureTest, TheClassAskedForDecidesWhichFilesAreRead) {
    const std::string bitmap = Bitmap24(1, 1, {kRed});
    const std::string icon = IconFile({IconEntry(Dib(1, 1, 24, {kGreen}, {}))});
    TPicture picture;
    EXPECT_TRUE(picture.LoadFromData(bitmap, gcBitmap));
    EXPECT_FALSE(picture.LoadFromData(bitmap, gcIcon));
    EXPECT_TRUE(picture.Empty());
    EXPECT_TRUE(picture.LoadFromData(icon, gcIcon));
    EXPECT_FALSE(picture.LoadFromData(icon, gcBitmap));
    EXPECT_TRUE(picture.LoadFromData(icon, gcNone));
    EXPECT_EQ(picture.GraphicClass(), gcIcon);
    EXPECT_FALSE(picture.LoadFromData("not a picture"));
    EXPECT_EQ(picture.GraphicClass(), gcNone);
}

TEST(PictureTest, TransparencyDecidesWhichPixelsAreDrawn) {
    // A bitmap's transparent colour is its bottom-left pixel's.
    TPicture bitmap;
    ASSERT_TRUE(bitmap.LoadFromData(Bitmap24(2, 2, {kRed, kGreen, kBlue, kRed})));
    EXPECT_EQ(bitmap.PixelAt(0, 0), OpaquePixel(kRed));
    bitmap.SetTransparent(true);
    EXPECT_EQ(bitmap.PixelAt(0, 1), kBlue);
    EXPECT_EQ(bitmap.PixelAt(1, 1), OpaquePixel(kRed));
    EXPECT_EQ(bitmap.PixelAt(0, 0), OpaquePixel(kRed));

    // An opaque icon draws its masked pixels in their colour.
    TDib dib = Dib(2, 1, 24, {kBlack, kGreen}, {});
    dib.Masked = {true, false};
    TPicture icon;
    ASSERT_TRUE(icon.LoadFromData(IconFile({IconEntry(dib)})));
    EXPECT_EQ(icon.PixelAt(0, 0), kBlack);
    icon.SetTransparent(false);
    EXPECT_EQ(icon.PixelAt(0, 0), OpaquePixel(kBlack));
}

// Every prefix of a good file is no picture, and reading it touches nothing past its end (the
// sanitizers watch): an icon's directory gives each image's size, so a cut image is skipped.
TEST(PictureTest, FilesCutShortAreNoPictures) {
    const std::string files[] = {
        Bitmap24(5, 3, std::vector<TColorRef>(15, kRed)),
        BitmapFile(Dib(5, 3, 4, std::vector<std::uint32_t>(15, 1), {kRed, kGreen})),
        IconFile({IconEntry(Dib(4, 4, 32, std::vector<std::uint32_t>(16, kBlue)))}),
    };
    for (const std::string& file : files) {
        TPicture picture;
        ASSERT_TRUE(picture.LoadFromData(file));
        for (std::size_t size = 0; size < file.size(); ++size) {
            // A copy of exactly that size, so that reading past it is caught.
            const std::string cut = file.substr(0, size);
            EXPECT_FALSE(picture.LoadFromData(cut)) << size;
        }
    }
}

TEST(PictureTest, IconImageWithoutItsMaskIsOpaque) {
    TDib dib = Dib(5, 3, 4, std::vector<std::uint32_t>(15, 1), {kRed, kGreen});
    dib.Masked = std::vector<bool>(15, false);
    dib.Masked[7] = true;
    TIconEntry entry = IconEntry(dib);
    TPicture picture;
    ASSERT_TRUE(picture.LoadFromData(IconFile({entry})));
    EXPECT_EQ(picture.Image().At(2, 1), kGreen);
    // Three rows of a 4-byte mask gone.
    entry.Bytes.resize(entry.Bytes.size() - 12);
    ASSERT_TRUE(picture.LoadFromData(IconFile({entry})));
    EXPECT_EQ(picture.Image().At(2, 1), OpaquePixel(kGreen));
}

TEST(PictureTest, HeadersOutOfRangeAreNoPictures) {
    const auto patched = [](std::string file, std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            file[at + std::size_t(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
        return file;
    };
    const auto patched16 = [](std::string file, std::size_t at, std::uint32_t value) {
        file[at] = static_cast<char>(value & 0xFF);
        file[at + 1] = static_cast<char>((value >> 8) & 0xFF);
        return file;
    };
    const std::string good = Bitmap24(2, 2, {kRed, kRed, kRed, kRed});
    // File header 14 bytes, then the info header: size, width, height, planes and bits,
    // compression, ..., colours used.
    const std::size_t width = 18, height = 22, bits = 28, compression = 30, colorsUsed = 46;
    const std::size_t pixelOffset = 10, headerSize = 14;
    const std::pair<const char*, std::string> bad[] = {
        {"zero width", patched(good, width, 0)},
        {"negative width", patched(good, width, 0xFFFFFFFEu)},
        {"width past the limit", patched(good, width, TPicture::kMaxSide + 1)},
        {"zero height", patched(good, height, 0)},
        {"height past the limit", patched(good, height, TPicture::kMaxSide + 1)},
        {"top-down height past the limit", patched(good, height, 0u - (TPicture::kMaxSide + 1))},
        {"run-length compression", patched(good, compression, 1)},
        {"bit fields with 24 bits", patched(good, compression, 3)},
        {"unknown bit count", patched16(good, bits, 2)},
        {"pixels past the end", patched(good, pixelOffset, 0xFFFFFFF0u)},
        {"header longer than the file", patched(good, headerSize, 0x7FFFFFFF)},
        {"header shorter than any known", patched(good, headerSize, 20)},
        {"huge width on few bytes", patched(good, width, TPicture::kMaxSide)},
        {"colour table past the end",
         patched(BitmapFile(Dib(2, 1, 8, {0, 1}, {kRed, kGreen})), colorsUsed, 200)},
    };
    for (const auto& [name, file] : bad) {
        SCOPED_TRACE(name);
        TPicture picture;
        EXPECT_FALSE(picture.LoadFromData(file));
        EXPECT_TRUE(picture.Empty());
    }

    // Icon directories whose entries point outside the file, or that claim more entries than
    // they hold.
    const std::string icon = IconFile({IconEntry(Dib(1, 1, 24, {kGreen}, {}))});
    const std::size_t entrySize = 6 + 8, entryOffset = 6 + 12, entryCount = 4;
    const std::pair<const char*, std::string> badIcons[] = {
        {"offset past the end", patched(icon, entryOffset, 0xFFFFFF00u)},
        {"size past the end", patched(icon, entrySize, 0xFFFFFF00u)},
        {"more entries than bytes",
         [&] {
             std::string f = icon;
             f[entryCount] = static_cast<char>(0xFF);
             f[entryCount + 1] = static_cast<char>(0xFF);
             return f;
         }()},
        {"cursor file",
         [&] {
             std::string f = icon;
             f[2] = 2;
             return f;
         }()},
    };
    for (const auto& [name, file] : badIcons) {
        SCOPED_TRACE(name);
        TPicture picture;
        EXPECT_FALSE(picture.LoadFromData(file));
    }
}

} // namespace
