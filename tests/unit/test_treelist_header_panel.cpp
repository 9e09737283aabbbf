// The header panel on its own: a panel over a list's geometry whose reports a recorder takes
// instead of the list's events. Presses, the pushed looks, clicks with their flags, sizing with
// its clamp, the drag threshold and the handler's consent, drops, cancels and the shared
// gesture. Points come from the list's public hit test and rectangles.
#include "test_treelist_layout_support.h"
#include "treelist/header/dxTLHeaderPanel.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace dxtl;
using fw::TPoint;
using fw::TRect;

// Writes every report as one line; DragAllowed answers Allow.
class TRecorder final : public IdxHeaderPanelEvents {
public:
    TRecorder(std::vector<std::string>& log, bool& allow) : FLog(log), FAllow(allow) {}
    void BandClicked(int band) override { Add("band click " + std::to_string(band)); }
    void HeaderClicked(int column, bool multiSort, bool clearSort) override {
        Add("header click " + std::to_string(column) + (multiSort ? " multi" : "") +
            (clearSort ? " clear" : ""));
    }
    void CornerButtonClicked(bool bandButton) override {
        Add(bandButton ? "band button" : "header button");
    }
    bool DragAllowed(bool band, int index) override {
        Add(std::string(band ? "band" : "column") + " may drag " + std::to_string(index));
        return FAllow;
    }
    void DragStarted(bool band, int index) override {
        Add(std::string(band ? "band" : "column") + " drags " + std::to_string(index));
    }
    void DragScroll(int direction) override { Add("scroll " + std::to_string(direction)); }
    void BandDropped(int band, TPoint, int from, int target) override {
        Add("band drop " + std::to_string(band) + " " + std::to_string(from) + ">" +
            std::to_string(target));
    }
    void ColumnDropped(int column, TPoint, int target) override {
        Add("column drop " + std::to_string(column) + ">" + std::to_string(target));
    }
    void Resized(TdxInputState kind, int target, int value) override {
        Add("resized " + std::to_string(kind) + " " + std::to_string(target) + " " +
            std::to_string(value));
    }
    void EdgeDoubleClicked(bool band, int index) override {
        Add(std::string(band ? "band" : "column") + " fit " + std::to_string(index));
    }

private:
    void Add(std::string line) { FLog.push_back(std::move(line)); }
    std::vector<std::string>& FLog;
    bool& FAllow;
};

// The main window's list shape (band panel and header panel of 17 pixels, three columns)
// without fitting to the width, and a second panel over it that reports to the recorder.
class HeaderPanelTest : public treelist_testing::TreeListLayoutTest {
protected:
    HeaderPanelTest() {
        MakeWindowList();
        List->SetOptions(
            List->Options().Without(aoAutoWidth).With(aoColumnSizing).With(aoColumnMoving));
        Form->Show();
        Panel = std::make_unique<TdxTreeListHeaderPanel>(*List, Gesture,
                                                         std::make_unique<TRecorder>(Log, Allow));
    }

    TTreeListHitInfo Hit(int x, int y) { return List->HitTest(x, y); }
    TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
    TTreeListHitInfo HeaderHit(int column) {
        const TPoint p = Centre(List->HeaderRect(column));
        return Hit(p.X, p.Y);
    }
    // Press, move and release at points, as the list's dispatch hands them on.
    void Press(const TTreeListHitInfo& hit, fw::TShiftState shift = 0) {
        ASSERT_EQ(Gesture, isIdle);
        Panel->Press(hit, shift);
    }
    void MoveTo(int x, int y) { Panel->Move(Hit(x, y)); }
    void ReleaseAt(int x, int y, fw::TShiftState shift = 0) { Panel->Release(Hit(x, y), shift); }

    TdxInputState Gesture = isIdle;
    std::vector<std::string> Log;
    bool Allow = true;
    std::unique_ptr<TdxTreeListHeaderPanel> Panel;
};

using Lines = std::vector<std::string>;

TEST_F(HeaderPanelTest, APressAndReleaseOnOneHeaderIsAClickThatCarriesTheModifierFlags) {
    List->SetOptionsEx(List->OptionsEx().With(aoMultiSort));
    const TPoint caption = Centre(List->HeaderRect(2));
    Press(HeaderHit(2));
    EXPECT_EQ(Gesture, isColumnPressed);
    ReleaseAt(caption.X, caption.Y, fw::ssShift | fw::ssCtrl);
    EXPECT_EQ(Gesture, isIdle);
    // Released over another header: no click.
    Press(HeaderHit(2));
    const TPoint other = Centre(List->HeaderRect(0));
    ReleaseAt(other.X, other.Y);
    EXPECT_EQ(Log, (Lines{"header click 2 multi clear"}));
}

TEST_F(HeaderPanelTest, APressedCaptionIsPushedOnlyWhileThePointerIsOverIt) {
    List->SetOptionsEx(List->OptionsEx().Without(aoBandMoving));
    const TPoint band = Centre(List->BandRect(0));
    Press(Hit(band.X, band.Y));
    EXPECT_EQ(Panel->PushedBand(), 0);
    MoveTo(band.X, 300); // off the caption
    EXPECT_EQ(Panel->PushedBand(), -1);
    MoveTo(band.X + 2, band.Y);
    EXPECT_EQ(Panel->PushedBand(), 0);
    ReleaseAt(band.X + 2, band.Y);
    EXPECT_EQ(Panel->PushedBand(), -1);
    EXPECT_EQ(Log, (Lines{"band click 0"}));
}

TEST_F(HeaderPanelTest, AColumnBecomesADragOnlyBeyondTheThresholdAndWithTheHandlersConsent) {
    const TPoint p = Centre(List->HeaderRect(0));
    const int far = TdxTreeListHeaderPanel::kDragThreshold + 1;
    Allow = false;
    Press(HeaderHit(0));
    MoveTo(p.X + TdxTreeListHeaderPanel::kDragThreshold, p.Y);
    EXPECT_EQ(Gesture, isColumnPressed);
    MoveTo(p.X + far, p.Y);
    EXPECT_EQ(Gesture, isColumnPressed) << "refused";
    Allow = true;
    MoveTo(p.X + far + 1, p.Y);
    EXPECT_EQ(Gesture, isColumnDragging);
    EXPECT_EQ(Log, (Lines{"column may drag 0", "column may drag 0", "column drags 0"}));
}

TEST_F(HeaderPanelTest, AColumnDroppedOverAHeaderOfItsRowTargetsThatHeadersPlace) {
    const TPoint p = Centre(List->HeaderRect(0));
    Press(HeaderHit(0));
    MoveTo(p.X + 20, p.Y);
    ASSERT_EQ(Gesture, isColumnDragging);
    Log.clear();
    const TPoint target = Centre(List->HeaderRect(2));
    ReleaseAt(target.X, target.Y);
    // Dropped outside the list: no target.
    Press(HeaderHit(0));
    MoveTo(p.X + 20, p.Y);
    ReleaseAt(target.X, 600);
    EXPECT_EQ(Gesture, isIdle);
    EXPECT_EQ(Log, (Lines{"scroll 0", "column drop 0>2", "column may drag 0", "column drags 0",
                          "scroll 0", "column drop 0>-1"}));
}

TEST_F(HeaderPanelTest, SizingReportsTheWidthTheLineStoppedAtAndNothingForNoChange) {
    const TRect header = List->HeaderRect(0);
    Press(Hit(header.Right - 1, header.Top + 2));
    ASSERT_EQ(Gesture, isColumnSizing);
    int line = 0;
    EXPECT_TRUE(Panel->SizingLine(line));
    EXPECT_EQ(line, header.Right);
    MoveTo(-50, header.Top); // far left: the column's minimum stops the line
    ASSERT_TRUE(Panel->SizingLine(line));
    EXPECT_EQ(line, header.Left + List->Columns(0)->MinWidth());
    ReleaseAt(-50, header.Top);
    EXPECT_FALSE(Panel->SizingLine(line)) << "the line goes with the gesture";
    // Let go where it started: the width stays, nothing is reported.
    Press(Hit(header.Right - 1, header.Top + 2));
    ReleaseAt(header.Right, header.Top + 2);
    EXPECT_EQ(Log, (Lines{"resized " + std::to_string(isColumnSizing) + " 0 " +
                          std::to_string(List->Columns(0)->MinWidth())}));
}

TEST_F(HeaderPanelTest, ADoubleClickOnAnEdgeAsksForABestFitInsteadOfSizing) {
    const TRect header = List->HeaderRect(0);
    EXPECT_TRUE(Panel->Press(Hit(header.Right - 1, header.Top + 2), fw::ssDouble));
    EXPECT_EQ(Gesture, isIdle);
    EXPECT_EQ(Log, (Lines{"column fit 0"}));
}

TEST_F(HeaderPanelTest, CancelEndsOnlyThePanelsGestureAndReportsNothing) {
    Press(HeaderHit(1));
    Panel->Cancel();
    EXPECT_EQ(Gesture, isIdle);
    EXPECT_EQ(Panel->PushedColumn(), -1);
    // A row press is not the panel's to end.
    Gesture = isRowPressed;
    Panel->Cancel();
    EXPECT_EQ(Gesture, isRowPressed);
    EXPECT_FALSE(Panel->Active());
    Panel->Release(HeaderHit(1), 0);
    EXPECT_EQ(Gesture, isRowPressed);
    EXPECT_TRUE(Log.empty());
}

TEST_F(HeaderPanelTest, CornerButtonsArePressedOnlyWhenTheirClickingIsOn) {
    List->SetShowIndicator(true);
    const TTreeListHitInfo corner = Hit(2, List->HeaderRect(0).Top + 2);
    ASSERT_EQ(corner.Area, haHeaderButton);
    Press(corner);
    EXPECT_EQ(Gesture, isIdle);
    List->SetOptionsEx(List->OptionsEx().With(aoHeaderButtonClicking));
    Press(corner);
    EXPECT_TRUE(Panel->HeaderButtonPushed());
    // Released away from it: no click; over it: one.
    MoveTo(200, 200);
    EXPECT_FALSE(Panel->HeaderButtonPushed());
    ReleaseAt(200, 200);
    Press(corner);
    ReleaseAt(corner.Point.X, corner.Point.Y);
    EXPECT_EQ(Log, (Lines{"header button"}));
}

} // namespace
