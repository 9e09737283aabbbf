// Scrolling a tree list from the wheel and by middle-button panning, moving the window's pixels
// instead of repainting, the scroll bars taking client area, and the selection on the
// clipboard.
#include "test_treelist_scrolling_support.h"
#include "treelist/input/dxTLPanning.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace dxtl;
using fw::TPoint;
using fw::TRect;
namespace Msg = fw::Msg;
namespace SB = fw::SB;

class ScrollInputTest : public treelist_testing::ScrollingTestBase {
protected:
    void Wheel(int delta) {
        Platform.Send(List->Handle(), Msg::MouseWheel,
                      static_cast<std::uintptr_t>(static_cast<std::uint32_t>(delta) << 16));
    }
    TPoint Screen(int x, int y) { return List->ClientToScreen({x, y}); }
};

// --- the wheel -------------------------------------------------------------------------------

TEST_F(ScrollInputTest, ANotchScrollsTheSetLinesAndLeavesTheFocus) {
    AddRows(40);
    Wheel(-120);
    EXPECT_EQ(List->TopRow(), 3);
    Wheel(-240);
    EXPECT_EQ(List->TopRow(), 9);
    Wheel(120);
    EXPECT_EQ(List->TopRow(), 6);
    EXPECT_EQ(List->FocusedNode(), List->NodeAt(0));
}

TEST_F(ScrollInputTest, FractionsOfANotchAddUpToOne) {
    AddRows(40);
    Wheel(-40);
    Wheel(-40);
    EXPECT_EQ(List->TopRow(), 0);
    Wheel(-40);
    EXPECT_EQ(List->TopRow(), 3);
    Wheel(-100); // 100 short of the next notch is kept, not lost
    Wheel(-20);
    EXPECT_EQ(List->TopRow(), 6);
}

TEST_F(ScrollInputTest, APagePerNotchSettingScrollsAPageAndAHugeOneEnds) {
    AddRows(60);
    Platform.WheelLines = fw::kWheelPageScroll;
    Wheel(-120);
    EXPECT_EQ(List->TopRow(), List->PageRowCount());
    // A setting of billions of lines reaches the end without counting them all.
    Platform.WheelLines = 0xFFFFFFF0u;
    Wheel(-120);
    EXPECT_EQ(List->TopRow(), 60 - List->PageRowCount());
}

// --- moving pixels -------------------------------------------------------------------------

TEST_F(ScrollInputTest, ScrollingMovesThePixelsAndRepaintsOnlyTheUncoveredStrip) {
    AddRows(40);
    List->SetShowLines(true);
    List->NodeAt(3)->AddChild();
    List->NodeAt(3)->SetExpanded(true);
    Platform.PaintAll();
    for (int rows : {1, 2, -3, 5}) {
        SCOPED_TRACE(rows);
        List->SetTopRow(List->TopRow() + rows);
        const std::int64_t invalid = Window().UpdateRegion().PixelCount();
        EXPECT_GT(invalid, 0);
        EXPECT_LT(invalid, std::int64_t(List->ClientWidth()) * List->ClientHeight() / 2);
        Platform.PaintAll();
        const fw::headless::PixelSurface moved = Window().Surface();
        Repaint(*List);
        EXPECT_TRUE(moved.Pixels == Window().Surface().Pixels) << "differs from a full repaint";
    }
}

TEST_F(ScrollInputTest, HorizontalScrollingMovesThePixelsOfPanelsAndRows) {
    AddColumn(400);
    AddRows(5);
    Platform.PaintAll();
    for (int x : {7, 30, 12}) {
        SCOPED_TRACE(x);
        List->SetLeftCoord(x);
        EXPECT_LT(Window().UpdateRegion().PixelCount(),
                  std::int64_t(List->ClientWidth()) * List->ClientHeight() / 2);
        Platform.PaintAll();
        const fw::headless::PixelSurface moved = Window().Surface();
        Repaint(*List);
        EXPECT_TRUE(moved.Pixels == Window().Surface().Pixels) << "differs from a full repaint";
    }
}

// The dotted focus frame is fixed to the surface: moved sideways by an odd distance its dots
// would fall out of step, so its row is painted again.
TEST_F(ScrollInputTest, TheFocusFrameMovedSidewaysByAnOddDistanceMatchesAFullRepaint) {
    AddColumn(400);
    AddRows(5);
    Platform.SetFocusTo(List->Handle());
    List->ChangeFocus(List->NodeAt(2), 0, false);
    Platform.PaintAll();
    for (int x : {7, 8, 13, 3}) {
        SCOPED_TRACE(x);
        List->SetLeftCoord(x);
        EXPECT_LT(Window().UpdateRegion().PixelCount(),
                  std::int64_t(List->ClientWidth()) * List->ClientHeight() / 2);
        Platform.PaintAll();
        const fw::headless::PixelSurface moved = Window().Surface();
        Repaint(*List);
        EXPECT_TRUE(moved.Pixels == Window().Surface().Pixels) << "differs from a full repaint";
    }
}

// --- scroll bars and the client area ---------------------------------------------------------

TEST_F(ScrollInputTest, AVisibleBarNarrowsTheRowsAndTheColumnsFollow) {
    List->SetOptions(List->Options().With(aoAutoWidth));
    const int wide = List->ColumnWidth(0);
    AddRows(40);
    ASSERT_TRUE(Window().ScrollBarVisible(SB::Vert));
    EXPECT_EQ(List->ColumnWidth(0), wide - Platform.SystemMetric(fw::SM::CxVScroll));
}

// Each bar is needed only because the other one takes room: a resize that lets everything fit
// without either takes both away at once.
TEST_F(ScrollInputTest, BarsShownOnlyBecauseOfEachOtherVanishTogether) {
    // Without bars the column fills the width exactly and 14 rows the height exactly.
    const int frame = List->Height() - List->DataAreaRect().Height();
    List->Columns(0)->SetWidth(List->ClientWidth());
    List->SetBounds(0, 0, List->Width(), frame + 14 * 16);
    AddRows(14);
    ASSERT_FALSE(Window().ScrollBarVisible(SB::Vert));
    // One pixel less: the rows need the vertical bar, which leaves the column too little room.
    List->SetBounds(0, 0, List->Width(), frame + 14 * 16 - 1);
    ASSERT_TRUE(Window().ScrollBarVisible(SB::Vert));
    ASSERT_TRUE(Window().ScrollBarVisible(SB::Horz));
    // The pixel back: with both bars each still seems needed, without them nothing is.
    List->SetBounds(0, 0, List->Width(), frame + 14 * 16);
    EXPECT_FALSE(Window().ScrollBarVisible(SB::Vert));
    EXPECT_FALSE(Window().ScrollBarVisible(SB::Horz));
    EXPECT_EQ(List->TopRow(), 0);
}

// --- panning ---------------------------------------------------------------------------------

class PanningTest : public ScrollInputTest {
protected:
    PanningTest() {
        AddRows(100);
        Origin = Screen(150, 100);
        Platform.MouseMoveTo(Origin);
    }
    // Runs the steps one by one whenever the panning loop waits, then lets it end.
    void Pan(std::vector<std::function<void()>> steps) {
        std::size_t next = 0;
        Platform.ModalIdle = [&]() {
            if (next == steps.size())
                return false;
            steps[next++]();
            return true;
        };
        Platform.MouseButton(Msg::MButtonDown, Origin);
        Platform.ModalIdle = nullptr;
    }
    TPoint Origin;
};

TEST_F(PanningTest, ThePointerBelowTheMarkerScrollsDownFasterTheFartherItIs) {
    bool duringPan = false;
    int markers = 0;
    Pan({[&] {
             duringPan = List->Panning() && Platform.CaptureWindow() == List->Handle();
             for (auto* w : Platform.Windows())
                 markers += w->Kind() == fw::TWindowKind::Popup && w->Elliptic() ? 1 : 0;
             Platform.PostMouse(Msg::MouseMove, {Origin.X, Origin.Y + 100});
         },
         [&] { Platform.AdvanceTime(20 * 5); }, // full speed: a line every tick
         [&] {
             Platform.PostMouse(Msg::MButtonUp, {Origin.X, Origin.Y + 100});
         }});
    EXPECT_TRUE(duringPan);
    EXPECT_EQ(markers, 1);
    EXPECT_EQ(List->TopRow(), 5);
    // Everything of the mode is gone: marker, capture, timer.
    EXPECT_FALSE(List->Panning());
    EXPECT_EQ(Platform.CaptureWindow(), 0u);
    for (auto* w : Platform.Windows())
        EXPECT_NE(w->Kind(), fw::TWindowKind::Popup);
    EXPECT_FALSE(Platform.TimerActive(List->Handle(), TdxTreeListPanning::kTimerId));
}

TEST_F(PanningTest, JustOutsideTheNeutralZoneTheViewStillMoves) {
    Pan({[&] {
             Platform.PostMouse(Msg::MouseMove, {Origin.X, Origin.Y + 14});
         },
         [&] { Platform.AdvanceTime(20 * 12); }, // speed 1: a line every 12 ticks
         [&] {
             Platform.PostMouse(Msg::RButtonDown, {Origin.X, Origin.Y + 14});
         }});
    EXPECT_EQ(List->TopRow(), 1);
}

TEST_F(PanningTest, APlainMiddleClickKeepsPanningUntilAnotherButtonOrEscape) {
    bool stillPanning = false;
    Pan({[&] { Platform.PostMouse(Msg::MButtonUp, Origin); },
         [&] { stillPanning = List->Panning(); },
         [&] { Platform.Post(List->Handle(), Msg::KeyDown, fw::VK::Escape, 0); },
         [&] { stillPanning = stillPanning && !List->Panning(); }});
    EXPECT_TRUE(stillPanning);
    EXPECT_FALSE(List->Panning());
}

TEST_F(PanningTest, LosingTheFocusEndsPanning) {
    Platform.SetFocusTo(List->Handle());
    Pan({[&] {
             Platform.PostMouse(Msg::MouseMove, {Origin.X, Origin.Y - 60});
         },
         [&] { Platform.SetFocusTo(0); }, [&] { Platform.AdvanceTime(20 * 40); }});
    EXPECT_FALSE(List->Panning());
    EXPECT_EQ(List->TopRow(), 0);
    EXPECT_EQ(Platform.CaptureWindow(), 0u);
}

// --- the selection as text -------------------------------------------------------------------

TEST_F(ScrollInputTest, TheClipboardGetsTheCaptionsAnEmptyLineAndTheSelectedRowsInTreeOrder) {
    List->Columns(0)->SetCaption("이름");
    AddColumn(60, "Size");
    List->SetOptions(List->Options().With(aoMultiSelect).With(aoExtMultiSelect));
    TdxTreeListNode* a = List->AddNode();
    TdxTreeListNode* b = List->AddNode();
    TdxTreeListNode* child = a->AddChild(); // collapsed: hidden, but in tree order after a
    for (auto [node, name] : {std::pair{a, "a"}, {b, "b"}, {child, "자식"}}) {
        node->SetStrings(0, name);
        node->SetStrings(1, std::string(name) + "1");
    }
    List->SetNodeSelected(b, true);
    List->SetNodeSelected(child, true);
    List->SetNodeSelected(a, true);
    List->CopySelectionToClipboard();
    EXPECT_EQ(Platform.ClipboardText, "이름\tSize\r\n\r\na\ta1\r\n자식\t자식1\r\nb\tb1\r\n");
    // Without a multiple selection: the focused row only; with none, the header alone.
    List->SetOptions(List->Options().Without(aoMultiSelect));
    List->ChangeFocus(b, 0, false);
    EXPECT_EQ(List->SelectionText(), "이름\tSize\r\n\r\nb\tb1\r\n");
    List->ClearNodes();
    EXPECT_EQ(List->SelectionText(), "이름\tSize\r\n\r\n");
}

} // namespace
