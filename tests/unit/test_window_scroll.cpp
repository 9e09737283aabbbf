// Scrolling a window's pixels and scroll bars on the headless platform: what scrolling
// controls rely on to repaint only what they must.
#include "HeadlessFixture.h"
#include "framework/Panel.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <utility>
#include <vector>

namespace {

using namespace fw;
using testing_support::HeadlessTest;

int FloorDiv(int a, int b) {
    return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0);
}

// A fixed header strip over a body that shows a grid of coloured cells at a scroll offset.
// Every pixel depends only on the content and the offset, so any paint order that is right
// gives the same screen.
class ScrollingPicture : public TCustomControl {
public:
    static constexpr int kHeader = 9, kCellW = 7, kCellH = 5;
    using TCustomControl::TCustomControl;

    int OffsetX = 50, OffsetY = 60;
    int HeaderShade = 0;
    std::set<std::pair<int, int>> Marked;

    TRect Body() const {
        const TRect client = ClientRect();
        return {0, kHeader, client.Right, client.Bottom};
    }
    // Moves the content by (dx, dy) pixels on the screen, as a scrolling control does.
    void ScrollContent(int dx, int dy) {
        OffsetX -= dx;
        OffsetY -= dy;
        Window()->Scroll(dx, dy, Body());
    }
    TRect CellRect(int i, int j) const {
        const TRect body = Body();
        return TRect{i * kCellW, j * kCellH, (i + 1) * kCellW, (j + 1) * kCellH}.Offset(
            -OffsetX, body.Top - OffsetY);
    }

protected:
    void Paint() override {
        TCanvas& c = Canvas();
        const TRect client = ClientRect();
        for (int x = 0; x < client.Right; x += 4) {
            c.Brush().SetColor(TColor(0x101010 * ((x / 4 + HeaderShade) % 8)));
            c.FillRect({x, 0, x + 4, kHeader});
        }
        const TRect body = Body();
        for (int j = FloorDiv(OffsetY, kCellH); j * kCellH < OffsetY + body.Height(); ++j)
            for (int i = FloorDiv(OffsetX, kCellW); i * kCellW < OffsetX + body.Width(); ++i) {
                const unsigned hash = (unsigned(i) * 73u + unsigned(j) * 151u) * 2654435761u;
                const bool marked = Marked.contains({i, j});
                c.Brush().SetColor(TColor(marked ? 0x00FF00FFu : (hash >> 8) & 0xFFFFFFu));
                c.FillRect(IntersectRect(CellRect(i, j), body));
            }
    }
};

class WindowScrollTest : public HeadlessTest {
protected:
    WindowScrollTest() {
        Form = Application.CreateForm<TForm>();
        Form->SetBounds(0, 0, 200, 150);
        Picture = new ScrollingPicture(Form);
        Picture->SetBounds(10, 10, 90, 60);
        Picture->SetParent(Form);
        Form->Show();
        Platform.PaintAll();
    }
    fw::headless::HeadlessWindow& PictureWindow() { return WindowOf(*Picture); }
    std::vector<TColorRef> Pixels() { return PictureWindow().Surface().Pixels; }
    // What the control shows when it paints everything afresh.
    std::vector<TColorRef> FullRepaint() {
        PictureWindow().FillSurface(0x123456);
        Repaint(*Picture);
        return Pixels();
    }

    TForm* Form = nullptr;
    ScrollingPicture* Picture = nullptr;
};

// --- scrolling pixels --------------------------------------------------------------------------

TEST_F(WindowScrollTest, ScrollThenPaintingTheUncoveredStripEqualsAFullRepaint) {
    const TRect body = Picture->Body(); // 90 × 51
    struct Case {
        int Dx, Dy;
    };
    for (const Case step : {Case{0, 7}, Case{0, -12}, Case{5, 0}, Case{-9, 4}, Case{13, -6},
                            Case{0, 200}, Case{-300, 0}}) {
        SCOPED_TRACE("scroll by " + std::to_string(step.Dx) + "," + std::to_string(step.Dy));
        ASSERT_FALSE(PictureWindow().NeedsPaint());
        Picture->ScrollContent(step.Dx, step.Dy);
        // Only what no pixel moved into waits for paint.
        const int keptW = std::max(body.Width() - std::abs(step.Dx), 0);
        const int keptH = std::max(body.Height() - std::abs(step.Dy), 0);
        EXPECT_EQ(PictureWindow().UpdateRegion().PixelCount(),
                  body.Width() * body.Height() - keptW * keptH);
        EXPECT_FALSE(PictureWindow().UpdateRegion().AnyIn({0, 0, body.Right, body.Top}));
        Platform.PaintAll();
        const std::vector<TColorRef> scrolled = Pixels();
        EXPECT_EQ(scrolled, FullRepaint());
    }
}

TEST_F(WindowScrollTest, ChangesWaitingForPaintMoveWithThePixels) {
    // A cell and the header change; the control invalidates them but scrolls before the
    // paint comes.
    Picture->Marked.insert({9, 14}); // its cell lies inside the body
    ASSERT_TRUE(IntersectRect(Picture->CellRect(9, 14), Picture->Body()) ==
                Picture->CellRect(9, 14));
    Picture->InvalidateRect(Picture->CellRect(9, 14));
    Picture->HeaderShade = 3;
    Picture->InvalidateRect({0, 0, 90, ScrollingPicture::kHeader});
    Picture->ScrollContent(4, 11);
    Platform.PaintAll();
    const std::vector<TColorRef> scrolled = Pixels();
    EXPECT_EQ(scrolled, FullRepaint());

    // The same with a cell that the scroll pushes partly out of the body.
    Picture->Marked.insert({12, 22});
    Picture->InvalidateRect(Picture->CellRect(12, 22));
    Picture->ScrollContent(-3, -9);
    Platform.PaintAll();
    const std::vector<TColorRef> again = Pixels();
    EXPECT_EQ(again, FullRepaint());
}

// --- scroll bars ---------------------------------------------------------------------------------

TEST_F(WindowScrollTest, ScrollBarsTakeClientAreaAndTheControlsFollow) {
    auto* box = new TPanel(Form);
    box->SetBevelOuter(bvNone);
    box->SetBounds(100, 40, 80, 60);
    box->SetParent(Form);
    auto* inner = new TPanel(box);
    inner->SetBevelOuter(bvNone);
    inner->SetAlign(alClient);
    inner->SetParent(box);
    box->HandleNeeded();
    IPlatformWindow& w = *box->Window();
    ASSERT_EQ(inner->BoundsRect(), (TRect{0, 0, 80, 60}));

    w.SetScrollInfo(SB::Vert, {0, 100, 10, 0, 0}, true);
    EXPECT_EQ(box->ClientRect(), (TRect{0, 0, 64, 60}));
    EXPECT_EQ(inner->BoundsRect(), (TRect{0, 0, 64, 60}));
    EXPECT_EQ(WindowOf(*box).Surface().Width, 64);

    w.SetScrollInfo(SB::Horz, {0, 100, 10, 0, 0}, true);
    EXPECT_EQ(inner->BoundsRect(), (TRect{0, 0, 64, 44}));
    // New numbers for a bar that stays shown change nothing else.
    w.SetScrollInfo(SB::Vert, {0, 50, 10, 5, 0}, true);
    EXPECT_EQ(w.GetScrollInfo(SB::Vert).Pos, 5);
    EXPECT_EQ(inner->BoundsRect(), (TRect{0, 0, 64, 44}));

    w.SetScrollInfo(SB::Vert, {}, false);
    EXPECT_EQ(inner->BoundsRect(), (TRect{0, 0, 80, 44}));
    EXPECT_EQ(box->BoundsRect(), (TRect{100, 40, 180, 100}));
}

TEST_F(WindowScrollTest, PointerOnAScrollBarReachesNoClientArea) {
    Picture->Window()->SetScrollInfo(SB::Vert, {0, 100, 10, 0, 0}, true);
    std::vector<std::string> log;
    Picture->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        log.push_back("picture " + std::to_string(x) + "," + std::to_string(y));
    };
    Form->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
        log.push_back("form");
    };
    // A child reaching under the bar is clipped by it, as children are by their parent's
    // client area.
    auto* corner = new TPanel(Picture);
    corner->SetBounds(60, 30, 30, 20);
    corner->SetParent(Picture);
    corner->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
        log.push_back("corner");
    };
    for (const TPoint onBar : {Picture->ClientToScreen({80, 20}),
                               Picture->ClientToScreen({80, 40})}) { // the bar is x 74..89
        EXPECT_EQ(Platform.WindowFromPoint(onBar), Picture->Handle());
        EXPECT_EQ(Platform.MouseButton(Msg::LButtonDown, onBar), 0u);
        Platform.MouseButton(Msg::LButtonUp, onBar);
    }
    EXPECT_EQ(Platform.MouseButton(Msg::LButtonDown, Picture->ClientToScreen({70, 20})),
              Picture->Handle());
    Platform.MouseButton(Msg::LButtonUp, Picture->ClientToScreen({70, 20}));
    EXPECT_EQ(Platform.MouseButton(Msg::LButtonDown, Picture->ClientToScreen({70, 40})),
              corner->Handle());
    EXPECT_EQ(log, (std::vector<std::string>{"picture 70,20", "corner"}));
}

} // namespace
