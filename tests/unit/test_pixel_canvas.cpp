// Pixel-exact checks of the headless graphics. Expected pixels are written out by hand (maps,
// coordinates) from the documented rules, never computed by the code under test.
#include "platform/headless/HeadlessGraphics.h"
#include "platform/headless/HeadlessImageList.h"
#include "platform/headless/PixelCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

using namespace fw;
using namespace fw::headless;

namespace {

constexpr TColorRef Background = RGB(1, 2, 3);
constexpr TColorRef Ink = RGB(200, 10, 20);
constexpr TColorRef Paper = RGB(30, 220, 40);
constexpr TColorRef Invalid = 0xFFFFFFFFu;

bool Inside(const TRect& r, int x, int y) {
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

std::string Hex(TColorRef c) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%06X", unsigned(c));
    return buffer;
}

::testing::AssertionResult PixelsAre(const PixelSurface& surface,
                                     const std::function<TColorRef(int, int)>& expected) {
    int mismatches = 0;
    std::ostringstream details;
    for (int y = 0; y < surface.Height; ++y)
        for (int x = 0; x < surface.Width; ++x) {
            const TColorRef want = expected(x, y);
            if (surface.At(x, y) == want)
                continue;
            if (++mismatches <= 10)
                details << " (" << x << "," << y << ")=" << Hex(surface.At(x, y)) << " want "
                        << Hex(want);
        }
    if (mismatches == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << mismatches << " pixels differ:" << details.str();
}

::testing::AssertionResult MatchesMap(const PixelSurface& surface,
                                      const std::vector<std::string>& rows,
                                      const std::map<char, TColorRef>& legend) {
    if (int(rows.size()) != surface.Height || int(rows[0].size()) != surface.Width)
        return ::testing::AssertionFailure() << "map size differs from the surface";
    return PixelsAre(surface, [&](int x, int y) { return legend.at(rows[size_t(y)][size_t(x)]); });
}

// A surface, colours and icons with a canvas over them.
struct Scene {
    explicit Scene(int width, int height, SysColorTable table = DefaultHeadlessSysColors())
        : colors(table), surface(width, height, Background), canvas(surface, colors, &icons) {}

    SysColorTable colors;
    HeadlessIconStore icons;
    PixelSurface surface;
    PixelCanvas canvas;
};

// Every system colour different, so that edges show which colour went where.
SysColorTable DistinctColors() {
    SysColorTable table{};
    for (int i = 0; i < SysColor::Count; ++i)
        table[size_t(i)] = RGB(10 + i * 9, 200 - i * 7, 3 * i + 1);
    return table;
}

std::map<char, TColorRef> EdgeLegend(const SysColorTable& c) {
    return {{'.', Background},
            {'L', c[SysColor::Light3D]},
            {'D', c[SysColor::DkShadow3D]},
            {'H', c[SysColor::BtnHighlight]},
            {'S', c[SysColor::BtnShadow]},
            {'F', c[SysColor::BtnFace]},
            {'W', c[SysColor::Window]},
            {'K', c[SysColor::WindowFrame]}};
}

TFontDesc Font12(TFontStyles style = 0) {
    TFontDesc font;
    font.Height = -12;
    font.Style = style;
    return font;
}

// A scene for text: the 12-pixel font, Ink on Paper, the background transparent or opaque.
struct TextScene : Scene {
    TextScene(int width, int height, bool transparent, TFontStyles style = 0)
        : Scene(width, height) {
        canvas.SelectFont(Font12(style));
        canvas.SetTextColor(Ink);
        canvas.SetBkColor(Paper);
        canvas.SetBkTransparent(transparent);
    }
};

// Text pixels: box rectangles in Ink, cell rectangles in Paper, the rest Background; so is
// everything outside `clip` when there is one.
::testing::AssertionResult TextIs(const PixelSurface& surface, const std::vector<TRect>& boxes,
                                  const std::vector<TRect>& cells = {},
                                  const TRect* clip = nullptr) {
    return PixelsAre(surface, [&](int x, int y) {
        if (clip && !Inside(*clip, x, y))
            return Background;
        for (const TRect& box : boxes)
            if (Inside(box, x, y))
                return Ink;
        for (const TRect& cell : cells)
            if (Inside(cell, x, y))
                return Paper;
        return Background;
    });
}

} // namespace

// ---------------------------------------------------------------------------------------------
// PixelRegion

namespace {
::testing::AssertionResult RegionIs(const PixelRegion& region,
                                    const std::function<bool(int, int)>& expected) {
    std::int64_t count = 0;
    TRect box;
    bool any = false;
    for (int y = 0; y < region.Height(); ++y)
        for (int x = 0; x < region.Width(); ++x) {
            const bool want = expected(x, y);
            if (region.Contains(x, y) != want)
                return ::testing::AssertionFailure() << "pixel (" << x << "," << y << ")";
            if (!want)
                continue;
            ++count;
            box = any ? TRect{std::min(box.Left, x), std::min(box.Top, y),
                              std::max(box.Right, x + 1), std::max(box.Bottom, y + 1)}
                      : TRect{x, y, x + 1, y + 1};
            any = true;
        }
    if (region.PixelCount() != count)
        return ::testing::AssertionFailure()
               << "count " << region.PixelCount() << " want " << count;
    if (region.BoundingBox() != box)
        return ::testing::AssertionFailure() << "bounding box";
    if (region.IsEmpty() != !any)
        return ::testing::AssertionFailure() << "IsEmpty";
    return ::testing::AssertionSuccess();
}
} // namespace

TEST(PixelRegion, RectangleOperationsStayInsideTheSurface) {
    PixelRegion region = PixelRegion::FromRect(10, 8, {-3, 2, 4, 20});
    EXPECT_TRUE(RegionIs(region, [](int x, int y) { return x < 4 && y >= 2; }));
    EXPECT_EQ(region.BoundingBox(), (TRect{0, 2, 4, 8}));
    EXPECT_FALSE(region.Contains(-1, 3));
    EXPECT_FALSE(region.Contains(2, 8));

    region.IntersectRect({1, 0, 9, 5});
    EXPECT_TRUE(RegionIs(region, [](int x, int y) { return x >= 1 && x < 4 && y >= 2 && y < 5; }));
    EXPECT_TRUE(region.IsRectangle());

    region.Clear();
    EXPECT_TRUE(RegionIs(region, [](int, int) { return false; }));
    EXPECT_EQ(region.BoundingBox(), TRect{});
    EXPECT_FALSE(region.AnyIn({0, 0, 10, 8}));

    EXPECT_TRUE(RegionIs(PixelRegion::Full(5, 4), [](int, int) { return true; }));
    EXPECT_TRUE(RegionIs(PixelRegion::Empty(5, 4), [](int, int) { return false; }));
    EXPECT_TRUE(PixelRegion::FromRect(5, 4, {6, 0, 9, 3}).IsEmpty());
}

TEST(PixelRegion, HolesAndUnionsAreExactPerPixel) {
    PixelRegion region = PixelRegion::Full(12, 10);
    region.ExcludeRect({3, 3, 6, 5});
    EXPECT_FALSE(region.IsRectangle());
    EXPECT_TRUE(
        RegionIs(region, [](int x, int y) { return !(x >= 3 && x < 6 && y >= 3 && y < 5); }));
    EXPECT_FALSE(region.AnyIn({3, 3, 6, 5}));
    EXPECT_TRUE(region.AnyIn({5, 4, 7, 5}));

    // Filling the hole again gives back the plain rectangle.
    region.UnionRect({3, 3, 6, 5});
    EXPECT_TRUE(region.IsRectangle());
    EXPECT_EQ(region, PixelRegion::Full(12, 10));

    // Cutting a whole strip keeps a rectangle; two separate pieces do not.
    region.ExcludeRect({0, 0, 12, 2});
    EXPECT_TRUE(region.IsRectangle());
    EXPECT_EQ(region.BoundingBox(), (TRect{0, 2, 12, 10}));
    // A strip through the middle leaves two bands.
    region.ExcludeRect({-1, 5, 13, 7});
    EXPECT_FALSE(region.IsRectangle());
    EXPECT_TRUE(RegionIs(region, [](int, int y) { return y >= 2 && y != 5 && y != 6; }));
    region.ExcludeRect({0, 2, 12, 5});
    EXPECT_TRUE(region.IsRectangle());
    EXPECT_EQ(region.BoundingBox(), (TRect{0, 7, 12, 10}));

    PixelRegion pieces = PixelRegion::FromRect(12, 10, {1, 1, 3, 3});
    pieces.UnionRect({8, 6, 10, 9});
    EXPECT_TRUE(RegionIs(pieces, [](int x, int y) {
        return (x >= 1 && x < 3 && y >= 1 && y < 3) || (x >= 8 && x < 10 && y >= 6 && y < 9);
    }));
    EXPECT_EQ(pieces.BoundingBox(), (TRect{1, 1, 10, 9}));
    EXPECT_FALSE(pieces.AnyIn({4, 4, 7, 6}));

    // Intersecting away one piece shrinks the bounding box to the other.
    pieces.IntersectRect({0, 0, 5, 5});
    EXPECT_TRUE(pieces.IsRectangle());
    EXPECT_EQ(pieces.BoundingBox(), (TRect{1, 1, 3, 3}));
}

TEST(PixelRegion, RegionOperationsAndOffset) {
    PixelRegion ring = PixelRegion::FromRect(10, 10, {2, 2, 8, 8});
    ring.ExcludeRect({4, 4, 6, 6});
    const auto inRing = [](int x, int y) {
        return x >= 2 && x < 8 && y >= 2 && y < 8 && !(x >= 4 && x < 6 && y >= 4 && y < 6);
    };

    PixelRegion cut = PixelRegion::Full(10, 10);
    cut.Subtract(ring);
    EXPECT_TRUE(RegionIs(cut, [&](int x, int y) { return !inRing(x, y); }));

    PixelRegion half = PixelRegion::FromRect(10, 10, {0, 0, 5, 10});
    half.Intersect(ring);
    EXPECT_TRUE(RegionIs(half, [&](int x, int y) { return x < 5 && inRing(x, y); }));

    PixelRegion joined = PixelRegion::FromRect(10, 10, {0, 0, 1, 1});
    joined.Union(ring);
    EXPECT_TRUE(RegionIs(joined, [&](int x, int y) { return (x == 0 && y == 0) || inRing(x, y); }));

    ring.Offset(3, -1);
    EXPECT_TRUE(RegionIs(ring, [&](int x, int y) { return inRing(x - 3, y + 1); }));
    EXPECT_FALSE(ring == joined);
}

// ---------------------------------------------------------------------------------------------
// Surface, colours, icon store

TEST(PixelSurface, ResizeKeepsTopLeftAndPpmHoldsTheRgbBytes) {
    PixelSurface surface(3, 2, RGB(9, 9, 9));
    surface.Set(0, 0, RGB(1, 2, 3));
    surface.Set(2, 1, RGB(4, 5, 6));
    surface.Resize(2, 3, RGB(7, 7, 7));
    EXPECT_EQ(surface.Width, 2);
    EXPECT_EQ(surface.Height, 3);
    EXPECT_EQ(surface.At(0, 0), RGB(1, 2, 3));
    EXPECT_EQ(surface.At(1, 1), RGB(9, 9, 9));
    EXPECT_EQ(surface.At(0, 2), RGB(7, 7, 7));

    const std::string path = ::testing::TempDir() + "pixel_surface_test.ppm";
    ASSERT_TRUE(surface.SavePpm(path));
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    const std::string header = "P6\n2 3\n255\n";
    ASSERT_EQ(bytes.size(), header.size() + 2 * 3 * 3);
    EXPECT_EQ(bytes.substr(0, header.size()), header);
    EXPECT_EQ(bytes.substr(header.size(), 3), std::string("\x01\x02\x03", 3));
    EXPECT_EQ(bytes.substr(header.size() + 15, 3), std::string("\x07\x07\x07", 3));
    std::remove(path.c_str());
}

TEST(HeadlessSysColors, ClassicScheme) {
    const SysColorTable c = DefaultHeadlessSysColors();
    EXPECT_EQ(c[SysColor::Window], 0xFFFFFFu);
    EXPECT_EQ(c[SysColor::WindowText], 0x000000u);
    EXPECT_EQ(c[SysColor::BtnFace], 0xC8D0D4u);
    EXPECT_EQ(c[SysColor::BtnShadow], 0x808080u);
    EXPECT_EQ(c[SysColor::BtnHighlight], 0xFFFFFFu);
    EXPECT_EQ(c[SysColor::DkShadow3D], 0x404040u);
    EXPECT_EQ(c[SysColor::Light3D], 0xC8D0D4u);
    EXPECT_EQ(c[SysColor::Highlight], 0x6A240Au);
    EXPECT_EQ(c[SysColor::HighlightText], 0xFFFFFFu);
    EXPECT_EQ(c[SysColor::GrayText], 0x808080u);
    EXPECT_EQ(c[SysColor::WindowFrame], 0x000000u);
    EXPECT_EQ(c[SysColor::BtnText], 0x000000u);
    EXPECT_EQ(c[SysColor::InfoBk], 0xE1FFFFu);
    EXPECT_EQ(c[SysColor::InfoText], 0x000000u);
    EXPECT_EQ(c[SysColor::Menu], 0xC8D0D4u);
    EXPECT_EQ(c[SysColor::MenuText], 0x000000u);
    EXPECT_EQ(c[SysColor::ScrollBar], 0xC8D0D4u);
    for (TColorRef color : c)
        EXPECT_EQ(color & 0xFF000000u, 0u);
}

TEST(HeadlessIconStore, HandlesAreUniqueAndDieOnce) {
    HeadlessIconStore store;
    const TIconHandle a = store.Create(TPixelImage::Blank(2, 2));
    const TIconHandle b = store.Create({3, 1, {1, 2, 3}});
    EXPECT_NE(a, 0u);
    EXPECT_NE(b, 0u);
    EXPECT_NE(a, b);
    EXPECT_EQ(store.Count(), 2u);
    ASSERT_NE(store.Find(b), nullptr);
    EXPECT_EQ(store.Find(b)->Pixels, (std::vector<std::uint32_t>{1, 2, 3}));
    EXPECT_TRUE(store.Destroy(a));
    EXPECT_FALSE(store.Destroy(a));
    EXPECT_EQ(store.Find(a), nullptr);
    EXPECT_EQ(store.Find(0), nullptr);
    EXPECT_EQ(store.Count(), 1u);
    // A new icon never takes a destroyed one's handle.
    EXPECT_NE(store.Create(TPixelImage::Blank(1, 1)), a);
    // A malformed image is padded, so drawing it cannot read past its pixels.
    const TIconHandle broken = store.Create({2, 2, {0xFF0000FFu}});
    ASSERT_NE(store.Find(broken), nullptr);
    EXPECT_EQ(store.Find(broken)->Pixels.size(), 4u);
}

// ---------------------------------------------------------------------------------------------
// Fills, frames, pixels

TEST(PixelCanvas, FillRectExcludesRightAndBottomAndStaysOnTheSurface) {
    Scene scene(8, 6);
    scene.canvas.FillRect({2, 1, 5, 3}, Ink);
    EXPECT_TRUE(PixelsAre(scene.surface, [](int x, int y) {
        return x >= 2 && x <= 4 && y >= 1 && y <= 2 ? Ink : Background;
    }));

    scene.canvas.FillRect({-5, 4, 100, 100}, Paper);
    scene.canvas.FillRect({6, 0, 3, 2}, Ink); // inverted: nothing
    EXPECT_TRUE(PixelsAre(scene.surface, [](int x, int y) {
        if (y >= 4)
            return Paper;
        return x >= 2 && x <= 4 && y >= 1 && y <= 2 ? Ink : Background;
    }));
    EXPECT_EQ(scene.canvas.SurfaceSize(), (TSize{8, 6}));
}

TEST(PixelCanvas, CheckerFrameAndInvert) {
    Scene scene(9, 7);
    scene.canvas.FillChecker({1, 1, 5, 4}, Ink, Paper);
    EXPECT_TRUE(PixelsAre(scene.surface, [](int x, int y) {
        if (!(x >= 1 && x < 5 && y >= 1 && y < 4))
            return Background;
        return (x + y) % 2 == 0 ? Ink : Paper;
    }));

    Scene frame(9, 7);
    frame.canvas.FrameRect({1, 1, 7, 6}, Ink);
    frame.canvas.FrameRect({8, 0, 9, 3}, Paper); // one pixel wide
    frame.canvas.FrameRect({3, 3, 3, 5}, Paper); // empty
    EXPECT_TRUE(MatchesMap(
        frame.surface,
        {"........P", ".IIIIII.P", ".I....I.P", ".I....I..", ".I....I..", ".IIIIII..", "........."},
        {{'.', Background}, {'I', Ink}, {'P', Paper}}));

    PixelSurface before = frame.surface;
    frame.canvas.InvertRect({0, 1, 3, 3});
    EXPECT_TRUE(PixelsAre(frame.surface, [&](int x, int y) {
        const TColorRef old = before.At(x, y);
        return x < 3 && y >= 1 && y < 3 ? old ^ 0xFFFFFFu : old;
    }));
    frame.canvas.InvertRect({0, 1, 3, 3});
    EXPECT_EQ(frame.surface.Pixels, before.Pixels);
}

TEST(PixelCanvas, SetAndGetPixelHonourSurfaceAndClip) {
    Scene scene(4, 4);
    scene.canvas.SetPixel(1, 2, Ink);
    scene.canvas.SetPixel(-1, 0, Ink);
    scene.canvas.SetPixel(4, 0, Ink);
    EXPECT_EQ(scene.canvas.GetPixel(1, 2), Ink);
    EXPECT_EQ(scene.canvas.GetPixel(0, 0), Background);
    EXPECT_EQ(scene.canvas.GetPixel(-1, 0), Invalid);
    EXPECT_EQ(scene.canvas.GetPixel(0, 4), Invalid);

    scene.canvas.ExcludeClip({0, 0, 2, 2});
    scene.canvas.SetPixel(1, 1, Ink);
    EXPECT_EQ(scene.surface.At(1, 1), Background);
    EXPECT_EQ(scene.canvas.GetPixel(1, 1), Invalid);
    EXPECT_TRUE(
        PixelsAre(scene.surface, [](int x, int y) { return x == 1 && y == 2 ? Ink : Background; }));
}

// ---------------------------------------------------------------------------------------------
// 3-D edges

namespace {
// A 3-D edge drawn around {1, 1, 7, 6} on an 8 x 7 scene of distinct colours: the rectangle the
// call leaves and the pixels it draws (EdgeLegend).
struct EdgeCase {
    const char* name;
    unsigned edge;
    unsigned flags;
    TRect adjusted;
    std::vector<std::string> map;
};

void ExpectEdges(const std::vector<EdgeCase>& cases) {
    const SysColorTable colors = DistinctColors();
    for (const EdgeCase& c : cases) {
        SCOPED_TRACE(c.name);
        Scene scene(8, 7, colors);
        TRect r{1, 1, 7, 6};
        scene.canvas.DrawEdge(r, c.edge, c.flags);
        EXPECT_EQ(r, c.adjusted);
        EXPECT_TRUE(MatchesMap(scene.surface, c.map, EdgeLegend(colors)));
    }
}
} // namespace

TEST(PixelCanvas, DrawEdgeRaisedAndSunken) {
    ExpectEdges({
        {"raised",
         BDR::EdgeRaised,
         BF::Rect,
         {1, 1, 7, 6},
         {"........", ".LLLLLD.", ".LHHHSD.", ".LH..SD.", ".LSSSSD.", ".DDDDDD.", "........"}},
        {"sunken, filled and adjusted",
         BDR::EdgeSunken,
         BF::Rect | BF::Middle | BF::Adjust,
         {3, 3, 5, 4},
         {"........", ".SSSSSH.", ".SDDDLH.", ".SDFFLH.", ".SLLLLH.", ".HHHHHH.", "........"}},
    });
}

TEST(PixelCanvas, DrawEdgeOnSomeSidesAdjustsOnlyThose) {
    ExpectEdges({
        {"etched left and top",
         BDR::EdgeEtched,
         BF::Left | BF::Top | BF::Adjust,
         {3, 3, 7, 6},
         {"........", ".SSSSSS.", ".SHHHHH.", ".SH.....", ".SH.....", ".SH.....", "........"}},
        {"bump right and bottom",
         BDR::EdgeBump,
         BF::Right | BF::Bottom | BF::Adjust,
         {1, 1, 5, 4},
         {"........", ".....LD.", ".....LD.", ".....LD.", ".LLLLLD.", ".DDDDDD.", "........"}},
        // A single inner layer sits on the rectangle's border.
        {"raised inner only",
         BDR::RaisedInner,
         BF::Rect | BF::Adjust,
         {2, 2, 6, 5},
         {"........", ".HHHHHS.", ".H....S.", ".H....S.", ".H....S.", ".SSSSSS.", "........"}},
    });
}

TEST(PixelCanvas, DrawEdgeFlatAndMono) {
    ExpectEdges({
        {"flat",
         BDR::EdgeSunken,
         BF::Rect | BF::Flat | BF::Middle,
         {1, 1, 7, 6},
         {"........", ".SSSSSS.", ".SFFFFS.", ".SFFFFS.", ".SFFFFS.", ".SSSSSS.", "........"}},
        {"mono",
         BDR::EdgeRaised,
         BF::Rect | BF::Mono | BF::Flat | BF::Middle,
         {1, 1, 7, 6},
         {"........", ".KKKKKK.", ".KWWWWK.", ".KWWWWK.", ".KWWWWK.", ".KKKKKK.", "........"}},
    });
}

TEST(PixelCanvas, DrawEdgeIsClipped) {
    const SysColorTable colors = DistinctColors();
    Scene scene(8, 7, colors);
    scene.canvas.IntersectClip({0, 0, 4, 7});
    TRect r{1, 1, 7, 6};
    scene.canvas.DrawEdge(r, BDR::EdgeRaised, BF::Rect | BF::Middle);
    EXPECT_TRUE(MatchesMap(
        scene.surface,
        {"........", ".LLL....", ".LHH....", ".LHF....", ".LSS....", ".DDD....", "........"},
        EdgeLegend(colors)));
}

// ---------------------------------------------------------------------------------------------
// Focus rectangle and lines

TEST(PixelCanvas, FocusRectInvertsEvenBorderPixelsAndTwiceRestores) {
    Scene scene(10, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x)
            scene.surface.Set(x, y, RGB(x * 20, y * 30, 77));
    const PixelSurface before = scene.surface;
    const TRect r{1, 1, 7, 6};
    scene.canvas.DrawFocusRect(r);
    EXPECT_TRUE(PixelsAre(scene.surface, [&](int x, int y) {
        const bool border = Inside(r, x, y) && (x == 1 || x == 6 || y == 1 || y == 5);
        return border && (x + y) % 2 == 0 ? before.At(x, y) ^ 0xFFFFFFu : before.At(x, y);
    }));
    scene.canvas.DrawFocusRect(r);
    EXPECT_EQ(scene.surface.Pixels, before.Pixels);

    // A one-row rectangle inverts each of its pixels once, not twice.
    scene.canvas.DrawFocusRect({2, 3, 6, 4});
    EXPECT_TRUE(PixelsAre(scene.surface, [&](int x, int y) {
        return y == 3 && (x == 3 || x == 5) ? before.At(x, y) ^ 0xFFFFFFu : before.At(x, y);
    }));
}

namespace {
// Points in one colour.
struct Dots {
    TColorRef color;
    std::vector<TPoint> points;
};

// The dots, every other pixel Background.
::testing::AssertionResult OnlyPixels(const PixelSurface& surface, const std::vector<Dots>& dots) {
    return PixelsAre(surface, [&](int x, int y) {
        for (const Dots& group : dots)
            if (std::ranges::find(group.points, TPoint{x, y}) != group.points.end())
                return group.color;
        return Background;
    });
}
::testing::AssertionResult OnlyInk(const PixelSurface& surface, const std::vector<TPoint>& ink) {
    return OnlyPixels(surface, {{Ink, ink}});
}
} // namespace

TEST(PixelCanvas, PolylinesLeaveOutTheirEndPoints) {
    Scene scene(8, 6);
    const TPoint path[] = {{1, 1}, {5, 1}, {5, 4}};
    const int counts[] = {3};
    scene.canvas.PolyPolyline(path, counts, 1, Ink, 1, TPenStyle::Solid);
    EXPECT_TRUE(OnlyInk(scene.surface, {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {5, 2}, {5, 3}}));

    // Two polylines in one call; each loses its own end point.
    Scene two(8, 6);
    const TPoint points[] = {{0, 0}, {3, 3}, {7, 5}, {7, 2}};
    const int twoCounts[] = {2, 2};
    two.canvas.PolyPolyline(points, twoCounts, 2, Ink, 1, TPenStyle::Solid);
    EXPECT_TRUE(OnlyInk(two.surface, {{0, 0}, {1, 1}, {2, 2}, {7, 5}, {7, 4}, {7, 3}}));

    // Shallow slope: y = x / 2, the half-way pixels round toward the end point.
    Scene slope(8, 6);
    const TPoint shallow[] = {{0, 0}, {4, 2}};
    const int one[] = {2};
    slope.canvas.PolyPolyline(shallow, one, 1, Ink, 1, TPenStyle::Solid);
    EXPECT_TRUE(OnlyInk(slope.surface, {{0, 0}, {1, 1}, {2, 1}, {3, 2}}));

    Scene clear(8, 6);
    clear.canvas.PolyPolyline(path, counts, 1, Ink, 1, TPenStyle::Clear);
    EXPECT_TRUE(OnlyInk(clear.surface, {}));
}

TEST(PixelCanvas, DottedAndWidePens) {
    Scene scene(9, 4);
    scene.canvas.SetBkColor(Paper);
    const TPoint line[] = {{0, 1}, {7, 1}};
    const int one[] = {2};
    scene.canvas.PolyPolyline(line, one, 1, Ink, 1, TPenStyle::Dot);
    EXPECT_TRUE(OnlyPixels(scene.surface, {{Ink, {{0, 1}, {2, 1}, {4, 1}, {6, 1}}},
                                           {Paper, {{1, 1}, {3, 1}, {5, 1}}}}));

    Scene transparent(9, 4);
    transparent.canvas.SetBkTransparent(true);
    const TPoint corner[] = {{0, 0}, {2, 0}, {2, 3}};
    const int three[] = {3};
    transparent.canvas.PolyPolyline(corner, three, 1, Ink, 1, TPenStyle::Dot);
    // The dot phase runs on across the corner: pixels 0, 2 and 4 of the polyline.
    EXPECT_TRUE(OnlyInk(transparent.surface, {{0, 0}, {2, 0}, {2, 2}}));

    // An unseen stretch (11 pixels left of the surface) still moves the dot pattern on.
    Scene offside(9, 4);
    offside.canvas.SetBkTransparent(true);
    const TPoint entering[] = {{-21, 1}, {-10, 1}, {5, 1}};
    offside.canvas.PolyPolyline(entering, three, 1, Ink, 1, TPenStyle::Dot);
    EXPECT_TRUE(OnlyInk(offside.surface, {{1, 1}, {3, 1}}));

    Scene wide(9, 6);
    const TPoint stroke[] = {{2, 2}, {4, 2}};
    wide.canvas.PolyPolyline(stroke, one, 1, Ink, 3, TPenStyle::Solid);
    // Squares of 3×3 around (2,2) and (3,2).
    EXPECT_TRUE(PixelsAre(wide.surface, [](int x, int y) {
        return x >= 1 && x <= 4 && y >= 1 && y <= 3 ? Ink : Background;
    }));
}

// ---------------------------------------------------------------------------------------------
// Text

TEST(HeadlessText, MetricsOfNarrowWideBoldAndBrokenText) {
    Scene scene(4, 4);
    PixelCanvas& canvas = scene.canvas;
    canvas.SelectFont(Font12());
    EXPECT_EQ(canvas.TextExtent("Wg"), (TSize{12, 12}));
    EXPECT_EQ(canvas.TextExtent(""), (TSize{0, 12}));
    // Hangul syllables are wide: a full text height each.
    EXPECT_EQ(canvas.TextExtent("\xED\x95\x9C\xEA\xB8\x80"), (TSize{24, 12}));
    EXPECT_EQ(canvas.TextExtent("a\xE6\xBC\xA2"), (TSize{18, 12}));    // a + CJK ideograph
    EXPECT_EQ(canvas.TextExtent("\xF0\xA0\x80\x80"), (TSize{12, 12})); // U+20000
    EXPECT_EQ(canvas.TextExtent("\xC3\xA9"), (TSize{6, 12}));          // é is narrow
    // Broken UTF-8: each bad byte is one narrow character.
    EXPECT_EQ(canvas.TextExtent("\xFF"), (TSize{6, 12}));
    EXPECT_EQ(canvas.TextExtent("\xE2\x82"), (TSize{12, 12}));     // truncated
    EXPECT_EQ(canvas.TextExtent("\xED\xA0\x80"), (TSize{18, 12})); // surrogate
    EXPECT_EQ(canvas.TextExtent("\xC0\xAF"), (TSize{12, 12}));     // overlong
    EXPECT_EQ(canvas.TextExtent("\x80x"), (TSize{12, 12}));

    TFontDesc positive;
    positive.Height = 15;
    canvas.SelectFont(positive);
    EXPECT_EQ(canvas.TextExtent("ab"), (TSize{16, 15}));
    canvas.SelectFont(Font12(fsBold));
    EXPECT_EQ(canvas.TextExtent("Wg"), (TSize{14, 12}));
    EXPECT_EQ(canvas.TextExtent("\xED\x95\x9C"), (TSize{13, 12}));
}

TEST(HeadlessText, TextOutDrawsBoxesInTransparentAndOpaqueModes) {
    TextScene scene(20, 18, true);
    scene.canvas.TextOut(2, 3, 0, nullptr, "A b");
    // Cells of 6 px at x = 2, 8 (space), 14; boxes 1 px in at the sides, 2 px at top and bottom.
    EXPECT_TRUE(TextIs(scene.surface, {{3, 5, 7, 13}, {15, 5, 19, 13}}));

    TextScene opaque(20, 18, false);
    opaque.canvas.TextOut(2, 3, 0, nullptr, "A b");
    EXPECT_TRUE(TextIs(opaque.surface, {{3, 5, 7, 13}, {15, 5, 19, 13}}, {{2, 3, 20, 15}}));

    // Broken bytes draw like any narrow character and nothing reads past the text.
    TextScene broken(20, 18, true);
    broken.canvas.TextOut(0, 0, 0, nullptr, std::string_view("\xE2\x82", 2));
    EXPECT_TRUE(TextIs(broken.surface, {{1, 2, 5, 10}, {7, 2, 11, 10}}));
}

TEST(HeadlessText, TextOutOpaqueAndClippedRectangle) {
    TextScene scene(24, 16, true);
    const TRect rect{4, 1, 10, 14};
    scene.canvas.TextOut(0, 2, ETO::Opaque | ETO::Clipped, &rect, "abc");
    // Boxes at x 1-4, 7-10, 13-16 (rows 4-11), cut to the rectangle; the rectangle is paper.
    EXPECT_TRUE(TextIs(scene.surface, {{1, 4, 5, 12}, {7, 4, 11, 12}}, {rect}, &rect));

    // Opaque without clipping: glyphs outside the rectangle still appear.
    TextScene unclipped(24, 16, true);
    unclipped.canvas.TextOut(0, 2, ETO::Opaque, &rect, "abc");
    EXPECT_TRUE(
        TextIs(unclipped.surface, {{1, 4, 5, 12}, {7, 4, 11, 12}, {13, 4, 17, 12}}, {rect}));

    // Opaque background mode with a clip rectangle: the cells are cut too.
    TextScene cells(24, 16, false);
    cells.canvas.TextOut(0, 2, ETO::Clipped, &rect, "abc");
    EXPECT_TRUE(TextIs(cells.surface, {{1, 4, 5, 12}, {7, 4, 11, 12}}, {{0, 2, 18, 14}}, &rect));
}

TEST(HeadlessText, UnderlineAndStrikeOutSpanTheAdvance) {
    TextScene scene(16, 14, true, fsUnderline | fsStrikeOut);
    scene.canvas.TextOut(1, 0, 0, nullptr, "a ");
    EXPECT_TRUE(TextIs(scene.surface, {{2, 2, 6, 10}, {1, 11, 13, 12}, {1, 6, 13, 7}}));
}

TEST(HeadlessText, DrawTextAlignsSingleLines) {
    const TRect r{0, 0, 40, 20};
    struct Case {
        unsigned format;
        int left;
        int top;
        int result;
    };
    // "ab" is 12 px wide and 12 px high.
    const Case cases[] = {
        {DT::SingleLine, 0, 0, 12},
        {DT::SingleLine | DT::Center | DT::VCenter, 14, 4, 16},
        {DT::SingleLine | DT::Right | DT::Bottom, 28, 8, 20},
        {DT::SingleLine | DT::Center | DT::Bottom, 14, 8, 20},
        // Vertical placement needs a single line.
        {DT::VCenter | DT::Right, 28, 0, 12},
    };
    for (const Case& c : cases) {
        TextScene scene(40, 20, true);
        TRect rect = r;
        EXPECT_EQ(scene.canvas.DrawText("ab", rect, c.format), c.result) << c.format;
        EXPECT_EQ(rect, r);
        EXPECT_TRUE(TextIs(scene.surface, {{c.left + 1, c.top + 2, c.left + 5, c.top + 10},
                                           {c.left + 7, c.top + 2, c.left + 11, c.top + 10}}))
            << c.format;
    }

    // Centring rounds down: 41 - 18 = 23, left 11; 21 - 12 = 9, top 4.
    TextScene odd(41, 21, true);
    TRect rect{0, 0, 41, 21};
    odd.canvas.DrawText("a b", rect, DT::SingleLine | DT::Center | DT::VCenter);
    EXPECT_TRUE(TextIs(odd.surface, {{12, 6, 16, 14}, {24, 6, 28, 14}}));

    // Also when the text is wider: 9 - 18 = -9, left 10 - 5 = 5.
    TextScene wide(30, 12, true);
    rect = {10, 0, 19, 12};
    wide.canvas.DrawText("a b", rect, DT::SingleLine | DT::Center | DT::NoClip);
    EXPECT_TRUE(TextIs(wide.surface, {{6, 2, 10, 10}, {18, 2, 22, 10}}));
}

TEST(HeadlessText, DrawTextBreaksWordsAndLines) {
    TextScene scene(40, 40, true);
    TRect r{0, 0, 30, 40};
    // "aa bb" is exactly 30 wide; "cc" goes to the next line.
    EXPECT_EQ(scene.canvas.DrawText("aa bb cc", r, DT::WordBreak), 24);
    EXPECT_TRUE(TextIs(scene.surface, {{1, 2, 5, 10},
                                       {7, 2, 11, 10},
                                       {19, 2, 23, 10},
                                       {25, 2, 29, 10},
                                       {1, 14, 5, 22},
                                       {7, 14, 11, 22}}));

    TRect measure{5, 7, 35, 100};
    EXPECT_EQ(scene.canvas.DrawText("aa bb cc", measure, DT::WordBreak | DT::CalcRect), 24);
    EXPECT_EQ(measure, (TRect{5, 7, 35, 31}));

    // Line breaks; a word longer than the line stays whole.
    TRect lines{0, 0, 10, 0};
    EXPECT_EQ(scene.canvas.DrawText("abc\r\nd\n\nxy z", lines, DT::WordBreak | DT::CalcRect), 60);
    EXPECT_EQ(lines, (TRect{0, 0, 18, 60}));

    // Single line: the line feed is an ordinary character.
    TRect single{0, 0, 100, 0};
    EXPECT_EQ(scene.canvas.DrawText("ab\ncd", single, DT::SingleLine | DT::CalcRect), 12);
    EXPECT_EQ(single, (TRect{0, 0, 30, 12}));

    TRect empty{3, 4, 50, 50};
    EXPECT_EQ(scene.canvas.DrawText("", empty, DT::CalcRect), 0);
    EXPECT_EQ(empty, (TRect{3, 4, 3, 4}));
}

TEST(HeadlessText, DrawTextCalcRectDrawsNothing) {
    TextScene scene(30, 30, false);
    TRect r{2, 3, 4, 5};
    EXPECT_EQ(scene.canvas.DrawText("abc\nde", r, DT::CalcRect), 24);
    EXPECT_EQ(r, (TRect{2, 3, 20, 27}));
    EXPECT_TRUE(PixelsAre(scene.surface, [](int, int) { return Background; }));
}

TEST(HeadlessText, DrawTextEndEllipsisAndClipping) {
    TextScene scene(50, 14, true);
    TRect r{0, 0, 30, 14};
    // 48 px do not fit in 30: "ab" (12) + "..." (18).
    scene.canvas.DrawText("abcdefgh", r, DT::SingleLine | DT::EndEllipsis);
    EXPECT_TRUE(
        TextIs(scene.surface,
               {{1, 2, 5, 10}, {7, 2, 11, 10}, {13, 2, 17, 10}, {19, 2, 23, 10}, {25, 2, 29, 10}}));
    TRect measured{0, 0, 30, 14};
    scene.canvas.DrawText("abcdefgh", measured, DT::SingleLine | DT::EndEllipsis | DT::CalcRect);
    EXPECT_EQ(measured.Right, 30);

    // Without ellipsis the text is cut at the rectangle: the 5th box loses its last column.
    TextScene clipped(50, 14, true);
    TRect narrow{0, 0, 28, 14};
    clipped.canvas.DrawText("abcdefgh", narrow, DT::SingleLine);
    EXPECT_TRUE(
        TextIs(clipped.surface,
               {{1, 2, 5, 10}, {7, 2, 11, 10}, {13, 2, 17, 10}, {19, 2, 23, 10}, {25, 2, 28, 10}}));

    TextScene unclipped(50, 14, true);
    narrow = {0, 0, 10, 14};
    unclipped.canvas.DrawText("abcd", narrow, DT::SingleLine | DT::NoClip);
    EXPECT_TRUE(TextIs(unclipped.surface,
                       {{1, 2, 5, 10}, {7, 2, 11, 10}, {13, 2, 17, 10}, {19, 2, 23, 10}}));
}

TEST(HeadlessText, DrawTextPrefixesTabsAndBackground) {
    {
        TextScene scene(30, 14, true);
        TRect r{0, 0, 30, 14};
        scene.canvas.DrawText("&ab", r, DT::SingleLine);
        // 'a' underlined across its 6-px advance on row 11.
        EXPECT_TRUE(TextIs(scene.surface, {{1, 2, 5, 10}, {7, 2, 11, 10}, {0, 11, 6, 12}}));
    }
    {
        TextScene scene(30, 14, true);
        TRect r{0, 0, 30, 14};
        EXPECT_EQ(scene.canvas.DrawText("a&&b&", r, DT::SingleLine | DT::CalcRect), 12);
        EXPECT_EQ(r.Right, 18); // "a&b", the last '&' vanishes
        r = {0, 0, 30, 14};
        scene.canvas.DrawText("a&&b&", r, DT::SingleLine);
        EXPECT_TRUE(TextIs(scene.surface, {{1, 2, 5, 10}, {7, 2, 11, 10}, {13, 2, 17, 10}}));
        r = {0, 0, 30, 14};
        scene.canvas.DrawText("&ab", r, DT::SingleLine | DT::NoPrefix | DT::CalcRect);
        EXPECT_EQ(r.Right, 18);
    }
    {
        // Tab stops every 8 narrow advances (48 px) from the line's left.
        TextScene scene(60, 14, false);
        TRect r{0, 0, 60, 14};
        scene.canvas.DrawText("a\tb", r, DT::SingleLine | DT::ExpandTabs);
        EXPECT_TRUE(TextIs(scene.surface, {{1, 2, 5, 10}, {49, 2, 53, 10}}, {{0, 0, 54, 12}}));
        TRect measured{0, 0, 100, 14};
        scene.canvas.DrawText("abcdefgh\tb", measured,
                              DT::SingleLine | DT::ExpandTabs | DT::CalcRect);
        EXPECT_EQ(measured.Right, 102); // the tab at 48 goes to 96
        measured = {0, 0, 100, 14};
        scene.canvas.DrawText("a\tb", measured, DT::SingleLine | DT::CalcRect);
        EXPECT_EQ(measured.Right, 18); // unexpanded tab: one narrow character
    }
    {
        // Wide characters in formatted text.
        TextScene scene(30, 14, true);
        TRect r{0, 0, 30, 14};
        scene.canvas.DrawText("\xED\x95\x9C"
                              "a",
                              r, DT::SingleLine);
        EXPECT_TRUE(TextIs(scene.surface, {{1, 2, 11, 10}, {13, 2, 17, 10}}));
    }
}

// ---------------------------------------------------------------------------------------------
// Clip regions

TEST(PixelCanvas, ClipSaveRestoreNesting) {
    Scene scene(12, 12);
    PixelCanvas& canvas = scene.canvas;
    EXPECT_EQ(canvas.ClipBox(), (TRect{0, 0, 12, 12}));

    const int outer = canvas.SaveClip();
    canvas.IntersectClip({2, 2, 10, 10});
    EXPECT_EQ(canvas.ClipBox(), (TRect{2, 2, 10, 10}));
    const int inner = canvas.SaveClip();
    canvas.ExcludeClip({4, 4, 6, 6});
    EXPECT_EQ(canvas.ClipBox(), (TRect{2, 2, 10, 10}));
    EXPECT_FALSE(canvas.RectVisible({4, 4, 6, 6}));
    EXPECT_TRUE(canvas.RectVisible({5, 5, 7, 7}));
    EXPECT_FALSE(canvas.RectVisible({0, 0, 2, 12}));

    canvas.FillRect({0, 0, 12, 12}, Ink);
    const auto hole = [](int x, int y) { return x >= 4 && x < 6 && y >= 4 && y < 6; };
    const auto box = [](int x, int y) { return x >= 2 && x < 10 && y >= 2 && y < 10; };
    EXPECT_TRUE(PixelsAre(
        scene.surface, [&](int x, int y) { return box(x, y) && !hole(x, y) ? Ink : Background; }));

    canvas.RestoreClip(inner);
    canvas.FillRect({0, 0, 12, 12}, Paper);
    EXPECT_TRUE(
        PixelsAre(scene.surface, [&](int x, int y) { return box(x, y) ? Paper : Background; }));

    canvas.RestoreClip(outer);
    EXPECT_EQ(canvas.ClipBox(), (TRect{0, 0, 12, 12}));
    canvas.FillRect({0, 0, 12, 1}, Ink);
    EXPECT_EQ(scene.surface.At(0, 0), Ink);
}

TEST(PixelCanvas, RestoringAnOuterTokenDropsTheInnerOnes) {
    Scene scene(12, 12);
    PixelCanvas& canvas = scene.canvas;
    const int first = canvas.SaveClip();
    canvas.IntersectClip({0, 0, 6, 6});
    const int second = canvas.SaveClip();
    canvas.IntersectClip({0, 0, 3, 3});
    canvas.RestoreClip(first);
    EXPECT_EQ(canvas.ClipBox(), (TRect{0, 0, 12, 12}));
    // The second save is gone with the first: restoring it changes nothing.
    canvas.IntersectClip({1, 1, 11, 11});
    canvas.RestoreClip(second);
    EXPECT_EQ(canvas.ClipBox(), (TRect{1, 1, 11, 11}));
    canvas.RestoreClip(0);
    canvas.RestoreClip(99);
    EXPECT_EQ(canvas.ClipBox(), (TRect{1, 1, 11, 11}));

    // An empty clip shows nothing.
    canvas.IntersectClip({20, 20, 30, 30});
    EXPECT_EQ(canvas.ClipBox(), TRect{});
    EXPECT_FALSE(canvas.RectVisible({0, 0, 12, 12}));
    canvas.FillRect({0, 0, 12, 12}, Ink);
    EXPECT_TRUE(PixelsAre(scene.surface, [](int, int) { return Background; }));
}

TEST(PixelCanvas, BaseClipOfAPaintCycleCannotBeRestoredAway) {
    SysColorTable colors = DefaultHeadlessSysColors();
    PixelSurface surface(10, 8, Background);
    PixelRegion update = PixelRegion::FromRect(10, 8, {1, 1, 3, 3});
    update.UnionRect({6, 4, 9, 7});
    PixelCanvas canvas(surface, colors, nullptr, update);
    EXPECT_EQ(canvas.ClipBox(), (TRect{1, 1, 9, 7}));
    EXPECT_FALSE(canvas.RectVisible({3, 3, 6, 4}));
    EXPECT_EQ(canvas.GetPixel(0, 0), Invalid);

    const int token = canvas.SaveClip();
    canvas.IntersectClip({0, 0, 2, 8});
    canvas.RestoreClip(token);
    canvas.FillRect({0, 0, 10, 8}, Ink);
    EXPECT_TRUE(PixelsAre(surface, [](int x, int y) {
        const bool inFirst = x >= 1 && x < 3 && y >= 1 && y < 3;
        const bool inSecond = x >= 6 && x < 9 && y >= 4 && y < 7;
        return inFirst || inSecond ? Ink : Background;
    }));
}

// ---------------------------------------------------------------------------------------------
// Bit-block transfers, icons, image lists

namespace {
// A 4×3 source: column 0 black, column 1 white, columns 2-3 two colours.
struct SourceBitmap : PixelBitmap {
    explicit SourceBitmap(const SysColorTable& colors);
};
SourceBitmap::SourceBitmap(const SysColorTable& colors) : PixelBitmap(4, 3, colors, nullptr) {
    PixelBitmap& source = *this;
    for (int y = 0; y < 3; ++y) {
        source.SetPixel(0, y, 0x000000);
        source.SetPixel(1, y, 0xFFFFFF);
        source.SetPixel(2, y, RGB(0x12, 0x34, 0x56));
        source.SetPixel(3, y, RGB(0xF0, 0x0F, 0xAA));
    }
}
} // namespace

TEST(PixelCanvas, BitmapsStartBlack) {
    const SysColorTable colors = DefaultHeadlessSysColors();
    PixelBitmap bitmap(3, 2, colors, nullptr);
    EXPECT_EQ(bitmap.SurfaceSize(), (TSize{3, 2}));
    EXPECT_EQ(bitmap.Surface().Pixels, std::vector<TColorRef>(6, 0));
    EXPECT_EQ(bitmap.GetPixel(2, 1), 0u);
}

TEST(PixelCanvas, BitBltSourceCopyIsClippedToBothSurfaces) {
    Scene scene(8, 6);
    SourceBitmap source(scene.colors);
    scene.canvas.ExcludeClip({3, 0, 4, 1});
    // Source columns 1..3 (and a 4th that does not exist) to x 2..5, rows 0..2 to y 0..2.
    scene.canvas.BitBlt({2, 0, 6, 3}, source, {1, 0}, Rop::SrcCopy, 0);
    EXPECT_TRUE(PixelsAre(scene.surface, [](int x, int y) {
        if (y > 2 || x < 2 || x > 4 || (x == 3 && y == 0))
            return Background;
        const TColorRef columns[] = {0xFFFFFF, RGB(0x12, 0x34, 0x56), RGB(0xF0, 0x0F, 0xAA)};
        return columns[x - 2];
    }));
}

TEST(PixelCanvas, BitBltAppliesTheTruthTableBitByBit) {
    const TColorRef brush = RGB(0x3C, 0xA5, 0x0F);
    const TColorRef sources[] = {0x000000, 0xFFFFFF, RGB(0x12, 0x34, 0x56), RGB(0xF0, 0x0F, 0xAA)};
    struct Case {
        std::uint32_t rop;
        std::function<TColorRef(TColorRef p, TColorRef s, TColorRef d)> expected;
    };
    const Case cases[] = {
        {Rop::SrcInvert, [](TColorRef, TColorRef s, TColorRef d) { return s ^ d; }},
        {Rop::SrcAnd, [](TColorRef, TColorRef s, TColorRef d) { return s & d; }},
        {Rop::SrcPaint, [](TColorRef, TColorRef s, TColorRef d) { return s | d; }},
        {Rop::PatCopy, [](TColorRef p, TColorRef, TColorRef) { return p; }},
        {Rop::DstInvert, [](TColorRef, TColorRef, TColorRef d) { return d ^ 0xFFFFFFu; }},
        // Where the source has 1 bits the brush, where it has 0 bits the destination.
        {Rop::DSPDxax, [](TColorRef p, TColorRef s, TColorRef d) { return (s & p) | (~s & d); }},
        // 0xB8074A: where the source has 0 bits the brush, where it has 1 bits the destination.
        {0x00B8074A, [](TColorRef p, TColorRef s, TColorRef d) { return (~s & p) | (s & d); }},
    };
    for (const Case& c : cases) {
        Scene scene(4, 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x)
                scene.surface.Set(x, y, RGB(x * 60 + 5, y * 100 + 7, 0x99));
        const PixelSurface before = scene.surface;
        SourceBitmap source(scene.colors);
        scene.canvas.BitBlt({0, 0, 4, 3}, source, {0, 0}, c.rop, brush);
        EXPECT_TRUE(PixelsAre(scene.surface,
                              [&](int x, int y) {
                                  return c.expected(brush, sources[x], before.At(x, y)) & 0xFFFFFFu;
                              }))
            << std::hex << c.rop;
    }
}

TEST(PixelCanvas, BitBltWithinOneSurfaceOverlaps) {
    Scene scene(6, 1);
    for (int x = 0; x < 6; ++x)
        scene.surface.Set(x, 0, RGB(x, 0, 0));
    scene.canvas.BitBlt({1, 0, 6, 1}, scene.canvas, {0, 0}, Rop::SrcCopy, 0);
    EXPECT_TRUE(PixelsAre(scene.surface, [](int x, int) { return RGB(x == 0 ? 0 : x - 1, 0, 0); }));
}

TEST(PixelCanvas, BrushCopyReplacesTheTransparentColour) {
    Scene scene(5, 3);
    SourceBitmap source(scene.colors);
    scene.canvas.BrushCopy({1, 1, 5, 3}, source, {0, 0}, 0xFFFFFF, Paper);
    EXPECT_TRUE(PixelsAre(scene.surface, [](int x, int y) {
        if (y == 0 || x == 0)
            return Background;
        const TColorRef columns[] = {0x000000, Paper, RGB(0x12, 0x34, 0x56), RGB(0xF0, 0x0F, 0xAA)};
        return columns[x - 1];
    }));
}

TEST(PixelCanvas, DrawIconScalesMasksAndBlends) {
    const TColorRef grey = RGB(100, 100, 100);
    Scene scene(7, 6);
    scene.canvas.FillRect({0, 0, 7, 6}, grey);
    // 2×2: opaque red, transparent, half-transparent blue, opaque green.
    const TIconHandle icon =
        scene.icons.Create({2, 2, {0xFF0000FFu, 0x00FFFFFFu, 0x80FF0000u, 0xFF00FF00u}});
    scene.canvas.DrawIcon(1, 1, icon, 4, 4);
    // Blue at alpha 128 over grey 100, rounded: red and green (100 * 127) / 255 = 49.8 -> 50,
    // blue (255 * 128 + 100 * 127) / 255 = 177.8 -> 178.
    const TColorRef blended = RGB(50, 50, 178);
    EXPECT_TRUE(PixelsAre(scene.surface, [&](int x, int y) -> TColorRef {
        if (x < 1 || x > 4 || y < 1 || y > 4)
            return grey;
        const bool right = x >= 3;
        const bool bottom = y >= 3;
        if (!bottom)
            return right ? grey : RGB(255, 0, 0);
        return right ? RGB(0, 255, 0) : blended;
    }));

    // Size 0 is the icon's own size; unknown and destroyed handles draw nothing.
    Scene own(4, 4);
    own.canvas.DrawIcon(2, 2, own.icons.Create({1, 1, {0xFF123456u}}), 0, 0);
    own.canvas.DrawIcon(0, 0, 0x7777, 2, 2);
    const TIconHandle gone = own.icons.Create({1, 1, {0xFF654321u}});
    own.icons.Destroy(gone);
    own.canvas.DrawIcon(0, 0, gone, 2, 2);
    EXPECT_TRUE(PixelsAre(own.surface, [](int x, int y) {
        return x == 2 && y == 2 ? TColorRef(0x123456) : Background;
    }));
}

namespace {
// 4×4 image: black pixel at (1,1), white at (2,1), red at (3,3), the rest transparent.
TPixelImage SmallImage() {
    TPixelImage image = TPixelImage::Blank(4, 4);
    image.Set(1, 1, 0xFF000000u);
    image.Set(2, 1, 0xFFFFFFFFu);
    image.Set(3, 3, 0xFF0000FFu);
    return image;
}
} // namespace

TEST(HeadlessImageList, DrawsImagesAndIgnoresBadIndexes) {
    Scene scene(8, 8);
    HeadlessImageList list(4, 4, scene.icons);
    EXPECT_EQ(list.Add(SmallImage()), 0);
    EXPECT_EQ(list.Count(), 1);

    list.Draw(scene.canvas, 0, 2, 1, true);
    list.Draw(scene.canvas, 1, 0, 0, true);
    list.Draw(scene.canvas, -1, 0, 0, true);
    list.Draw(scene.canvas, 1, 0, 0, false);
    EXPECT_TRUE(OnlyPixels(
        scene.surface, {{0x000000, {{3, 2}}}, {0xFFFFFF, {{4, 2}}}, {RGB(255, 0, 0), {{5, 4}}}}));

    EXPECT_EQ(list.GetIcon(1), 0u);
    const TIconHandle icon = list.GetIcon(0);
    ASSERT_NE(icon, 0u);
    Scene iconScene(8, 8);
    iconScene.canvas.DrawIcon(2, 1, icon, 4, 4);
    EXPECT_EQ(iconScene.surface.Pixels, std::vector<TColorRef>(64, Background)); // other store
    ASSERT_NE(scene.icons.Find(icon), nullptr);
    EXPECT_EQ(scene.icons.Find(icon)->Pixels, SmallImage().Pixels);
    EXPECT_TRUE(scene.icons.Destroy(icon));

    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(HeadlessImageList, DisabledImagesAreEmbossed) {
    Scene scene(8, 8);
    HeadlessImageList list(4, 4, scene.icons);
    list.Add(SmallImage());
    list.Draw(scene.canvas, 0, 2, 1, false);
    // Ink pixels (black at (1,1), red at (3,3); white is not ink) at offset (2,1):
    // highlight one pixel right and down, then shadow in place.
    EXPECT_TRUE(OnlyPixels(scene.surface, {{scene.colors[SysColor::BtnHighlight], {{4, 3}, {6, 5}}},
                                           {scene.colors[SysColor::BtnShadow], {{3, 2}, {5, 4}}}}));
}

TEST(HeadlessImageList, AddSplitsStripsAndCropsOrPads) {
    HeadlessIconStore icons;
    HeadlessImageList list(2, 2, icons);
    // A 5×3 strip: two whole images; the fifth column and third row are dropped.
    TPixelImage strip = TPixelImage::Blank(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            strip.Set(x, y, 0xFF000000u | std::uint32_t(y * 10 + x));
    EXPECT_EQ(list.Add(strip), 0);
    EXPECT_EQ(list.Count(), 2);
    ASSERT_NE(list.Image(1), nullptr);
    EXPECT_EQ(list.Image(0)->Pixels,
              (std::vector<std::uint32_t>{0xFF000000u, 0xFF000001u, 0xFF00000Au, 0xFF00000Bu}));
    EXPECT_EQ(list.Image(1)->Pixels,
              (std::vector<std::uint32_t>{0xFF000002u, 0xFF000003u, 0xFF00000Cu, 0xFF00000Du}));

    // A smaller picture is padded with transparent pixels.
    EXPECT_EQ(list.Add({1, 1, {0xFF112233u}}), 2);
    EXPECT_EQ(list.Image(2)->Pixels, (std::vector<std::uint32_t>{0xFF112233u, 0, 0, 0}));
    // A malformed one (too few pixels) is padded too.
    EXPECT_EQ(list.Add({2, 2, {}}), 3);
    EXPECT_EQ(list.Image(3)->Pixels, std::vector<std::uint32_t>(4, 0));
    EXPECT_EQ(list.Image(4), nullptr);
}
