// A tree list's mouse input on the headless platform: the click rule and the order of events,
// Ctrl and Shift selection with the anchor, the deferred select, header and band presses,
// sizing with its clamps and its cancel, the drag threshold, expansion, hit-test areas, and
// handlers that delete nodes or take the capture away in the middle of a gesture.
#include "test_treelist_layout_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace dxtl;
using fw::TObject;
using fw::TPoint;
using fw::TRect;
namespace Msg = fw::Msg;
namespace VK = fw::VK;

// Records the header clicks the list hands to sorting.
class THeaderClickList : public treelist_testing::TSearchTreeList {
public:
    using TSearchTreeList::TSearchTreeList;
    std::vector<std::string> HeaderClicks;

protected:
    void HeaderClicked(int column, bool multiSort, bool clearSort) override {
        HeaderClicks.push_back(std::to_string(column) + (multiSort ? " multi" : "") +
                               (clearSort ? " clear" : ""));
    }
};

// The main window's list shape: a band panel and header panel of 17 pixels each, rows of 16
// from y 34, 16-pixel images after a 16-pixel indent slot, three columns fitted to 340 pixels.
class MouseTest : public treelist_testing::TreeListLayoutTest {
protected:
    MouseTest() {
        List->Free();
        Recorder = new THeaderClickList(Form);
        List = Recorder;
        List->SetParent(Form);
        List->SetBounds(0, 0, 340, 253);
        MakeWindowList();
        Images->SetSize(16, 16);
        Images->Add(fw::TPixelImage::Blank(16, 16));
        for (int i = 0; i < 6; ++i)
            Nodes.push_back(List->AddNode());
        List->OnChangeNode = [this](TObject*, TdxTreeListNode*, TdxTreeListNode* node) {
            Log.push_back("node " + Name(node));
        };
        List->OnSelectedCountChange = [this](TObject*) {
            Log.push_back("count " + std::to_string(List->SelectedCount()));
        };
        List->OnMouseDown = [this](TObject*, fw::TMouseButton, fw::TShiftState, int, int) {
            Log.push_back("down");
        };
        List->OnMouseUp = [this](TObject*, fw::TMouseButton, fw::TShiftState, int, int) {
            Log.push_back("up");
        };
        List->OnClick = [this](TObject*) { Log.push_back("click"); };
        List->OnDblClick = [this](TObject*) { Log.push_back("dblclick"); };
        Form->Show();
        Platform.PaintAll();
    }
    TPoint Screen(int x, int y) { return List->ClientToScreen({x, y}); }
    int RowY(int row) { return 34 + row * 16 + 8; }
    void Press(int x, int y, std::uint32_t msg = Msg::LButtonDown) {
        Platform.MouseButton(msg, Screen(x, y));
    }
    void Release(int x, int y, std::uint32_t msg = Msg::LButtonUp) {
        Platform.MouseButton(msg, Screen(x, y));
    }
    void Move(int x, int y) { Platform.MouseMoveTo(Screen(x, y)); }
    void Click(int x, int y) {
        Press(x, y);
        Release(x, y);
    }
    // A click on the caption cell of a row.
    void ClickRow(int row) { Click(200, RowY(row)); }
    void WithKey(int key, const std::function<void()>& action) {
        Platform.SetKeyDown(key, true);
        action();
        Platform.SetKeyDown(key, false);
    }

    THeaderClickList* Recorder = nullptr;
    std::vector<std::string> Log;
};

// --- the click rule ------------------------------------------------------------------------

TEST_F(MouseTest, AClickOnAnUnselectedRowSelectsItAloneWithTheEventsInOrder) {
    List->SetNodeSelected(Nodes[1], true);
    List->SetNodeSelected(Nodes[2], true);
    Log.clear();
    ClickRow(4);
    EXPECT_EQ(Log, (std::vector<std::string>{"node 4", "count 1", "down", "click", "up"}));
    EXPECT_EQ(Selected(), (std::vector<int>{4}));
    EXPECT_EQ(List->SelectionAnchor(), Nodes[4]);
    EXPECT_EQ(List->InputState(), isIdle);
    EXPECT_EQ(Platform.CaptureWindow(), 0u);
}

TEST_F(MouseTest, AClickOnOneOfSeveralSelectedRowsReducesTheSelectionAtTheRelease) {
    for (int i : {1, 2, 3})
        List->SetNodeSelected(Nodes[std::size_t(i)], true);
    Log.clear();
    Press(200, RowY(2));
    EXPECT_EQ(Selected(), (std::vector<int>{1, 2, 3})); // survives the press
    Release(200, RowY(2));
    EXPECT_EQ(Selected(), (std::vector<int>{2}));
    EXPECT_EQ(Log, (std::vector<std::string>{"node 2", "down", "click", "up", "count 1"}));
}

TEST_F(MouseTest, APressOnARowReleasedAnywhereClicks) {
    Press(20, RowY(3)); // the node image
    Move(600, 600);
    Release(600, 600);
    EXPECT_EQ(Log.back(), "up");
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "click"), 1);
    EXPECT_EQ(List->FocusedNode(), Nodes[3]);
}

TEST_F(MouseTest, ADoubleClickClicksOnceAndExpandsWithoutASecondDown) {
    TdxTreeListNode* child = Nodes[2]->AddChild();
    (void)child;
    Log.clear();
    Press(200, RowY(2));
    Release(200, RowY(2));
    Press(200, RowY(2), Msg::LButtonDblClk);
    Release(200, RowY(2));
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "click"), 1);
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "dblclick"), 1);
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "down"), 1);
    EXPECT_TRUE(Nodes[2]->Expanded());
}

TEST_F(MouseTest, PressesOutsideTheRowAreasFocusNothingAndNeverClick) {
    Click(8, RowY(3));                     // the 16-pixel indent strip left of the node image
    Click(200, 8);                         // the band
    Click(200, 25);                        // a header
    Click(200, 240);                       // below the last row
    Press(200, RowY(3), Msg::RButtonDown); // a right press moves the focus, but no click
    Release(200, RowY(3), Msg::RButtonUp);
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "click"), 0);
    EXPECT_EQ(List->FocusedNode(), Nodes[3]);
    EXPECT_EQ(List->HitTest(8, RowY(3)).Area, haIndent);
}

TEST_F(MouseTest, TheExpandButtonTogglesWithoutFocusOrClick) {
    List->SetShowRoot(true);
    Nodes[1]->AddChild();
    Log.clear();
    ASSERT_EQ(List->HitTest(8, RowY(1)).Area, haExpandButton);
    Click(8, RowY(1));
    EXPECT_TRUE(Nodes[1]->Expanded());
    EXPECT_EQ(List->FocusedNode(), Nodes[0]);
    EXPECT_EQ(Log, (std::vector<std::string>{"up"})); // no down, no click
    Click(8, RowY(1));
    EXPECT_FALSE(Nodes[1]->Expanded());
}

// --- Ctrl and Shift ------------------------------------------------------------------------

TEST_F(MouseTest, CtrlClickTogglesTheRowAndStillClicksWithoutADown) {
    ClickRow(1);
    WithKey(VK::Control, [&] { ClickRow(3); });
    EXPECT_EQ(Selected(), (std::vector<int>{1, 3}));
    Log.clear();
    WithKey(VK::Control, [&] { ClickRow(3); }); // a selected row: deselected, still focused
    EXPECT_EQ(Selected(), (std::vector<int>{1}));
    EXPECT_EQ(List->FocusedNode(), Nodes[3]);
    EXPECT_EQ(Log, (std::vector<std::string>{"count 1", "click", "up"}));
}

TEST_F(MouseTest, ShiftClicksMeasureFromTheAnchor) {
    ClickRow(1);
    WithKey(VK::Shift, [&] { ClickRow(3); });
    EXPECT_EQ(Selected(), (std::vector<int>{1, 2, 3}));
    WithKey(VK::Shift, [&] { ClickRow(0); }); // again from the anchor, the old range gone
    EXPECT_EQ(Selected(), (std::vector<int>{0, 1}));
    // Ctrl+Shift adds the range from the previously focused row without clearing.
    WithKey(VK::Control, [&] { WithKey(VK::Shift, [&] { ClickRow(4); }); });
    EXPECT_EQ(Selected(), (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST_F(MouseTest, ShiftClickWithoutAnchorOrFocusBeforeTogglesTheRow) {
    List->ClearNodes();
    Nodes = {List->AddNode(), List->AddNode(), List->AddNode()};
    // The first node is focused by being added: there is a pressed node but no anchor yet.
    WithKey(VK::Shift, [&] { ClickRow(2); });
    EXPECT_EQ(Selected(), (std::vector<int>{0, 1, 2}));
}

// --- headers and bands ---------------------------------------------------------------------

TEST_F(MouseTest, AHeaderClickGoesToSortingWithTheModifierFlags) {
    Click(200, 25);
    List->SetOptionsEx(List->OptionsEx().With(aoMultiSort));
    WithKey(VK::Shift, [&] { Click(200, 25); });
    WithKey(VK::Control, [&] { Click(10, 25); });
    // Released over another header: nothing.
    Press(200, 25);
    Release(10, 25);
    EXPECT_EQ(Recorder->HeaderClicks, (std::vector<std::string>{"2", "2 multi", "0 clear"}));
}

TEST_F(MouseTest, TheBandIsDraggedOnlyBeyondFivePixelsAndAloneDropsWithoutEffect) {
    int clicks = 0, drags = 0;
    List->OnBandClick = [&](TObject*, TdxTreeListBand*) { ++clicks; };
    List->OnStartBandDragging = [&](TObject*, TdxTreeListBand*) { ++drags; };
    Press(100, 8);
    EXPECT_EQ(List->InputState(), isBandPressed);
    Move(105, 8);
    EXPECT_EQ(List->InputState(), isBandPressed);
    Release(105, 8);
    EXPECT_EQ(clicks, 1);
    const int width = List->BandWidth(0);
    Press(100, 8);
    Move(106, 8);
    EXPECT_EQ(List->InputState(), isBandDragging);
    Move(600, 300);
    Release(600, 300);
    EXPECT_EQ(drags, 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(List->Bands().Count(), 1);
    EXPECT_TRUE(List->Bands().Items(0)->Visible());
    EXPECT_EQ(List->BandWidth(0), width);
    EXPECT_EQ(List->InputState(), isIdle);
}

// --- sizing --------------------------------------------------------------------------------

class SizingTest : public MouseTest {
protected:
    SizingTest() {
        // Without fitting to the width the columns keep what sizing gives them.
        List->SetOptions(List->Options().Without(aoAutoWidth).With(aoColumnSizing));
        List->OnChangedColumnsWidth = [this](TObject*) { ++WidthChanges; };
    }
    int Edge() { return List->HeaderRect(2).Left; } // between the icon and caption columns
    int WidthChanges = 0;
};

TEST_F(SizingTest, DraggingAColumnEdgeSetsItsWidthAndTellsOnce) {
    const int select = List->ColumnWidth(0);
    const int edge = List->HeaderRect(0).Right;
    ASSERT_EQ(List->HitTest(edge - 2, 25).Area, haColumnEdge);
    Press(edge - 2, 25);
    EXPECT_EQ(List->InputState(), isColumnSizing);
    Move(edge + 30, 25);
    Release(edge + 30, 25);
    EXPECT_EQ(List->ColumnWidth(0), select + 30);
    EXPECT_EQ(WidthChanges, 1);
    EXPECT_EQ(List->InputState(), isIdle);
}

TEST_F(SizingTest, TheWidthStopsAtTheColumnsMinimum) {
    const int edge = List->HeaderRect(0).Right;
    Press(edge, 25);
    Move(0, 25);
    Release(0, 25);
    EXPECT_EQ(List->ColumnWidth(0), List->Columns(0)->MinWidth());
}

TEST_F(SizingTest, EscapeARightPressOrLosingTheCaptureCancelsAndTheLineGoes) {
    const int select = List->ColumnWidth(0);
    const int edge = List->HeaderRect(0).Right;
    Platform.PaintAll();
    const fw::headless::PixelSurface before = WindowOf(*List).Surface();
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way);
        Press(edge, 25);
        Move(edge + 40, 25);
        EXPECT_FALSE(before.Pixels == WindowOf(*List).Surface().Pixels) << "no sizing line";
        if (way == 0)
            List->CancelInput();
        else if (way == 1)
            Press(edge + 40, 25, Msg::RButtonDown);
        else
            Platform.ReleaseCapture();
        EXPECT_TRUE(before.Pixels == WindowOf(*List).Surface().Pixels) << "the line stayed";
        Release(edge + 40, 25);
        if (way == 1)
            Release(edge + 40, 25, Msg::RButtonUp);
        EXPECT_EQ(List->ColumnWidth(0), select);
        EXPECT_EQ(WidthChanges, 0);
        EXPECT_EQ(List->InputState(), isIdle);
    }
}

TEST_F(SizingTest, ADoubleClickOnAnEdgeFitsTheColumnToItsContent) {
    Nodes[0]->SetStrings(0, std::string(30, 'W'));
    const int edge = List->HeaderRect(0).Right;
    Press(edge, 25);
    Release(edge, 25);
    Press(edge, 25, Msg::LButtonDblClk);
    Release(edge, 25);
    EXPECT_EQ(List->ColumnWidth(0), List->BestFitWidth(List->Columns(0)));
    EXPECT_EQ(WidthChanges, 1);
}

// --- hit testing ---------------------------------------------------------------------------

TEST_F(MouseTest, HitTestFindsEveryPartOfARow) {
    List->SetShowIndicator(true);
    List->SetShowGrid(true);
    List->SetOptions(List->Options().With(aoPreview));
    List->OnGetPreviewText = [](TObject*, TdxTreeListNode*, std::string& text) { text = "P"; };
    List->SetShowRowFooter(true);
    TdxTreeListNode* child = Nodes[0]->AddChild();
    Nodes[0]->SetExpanded(true);
    List->SetStateImages(Images);
    child->SetStateIndex(0);
    const int indicator = List->IndicatorWidth();
    const TRect parentRow = List->NodeRowRect(Nodes[0]);
    const TRect childRow = List->NodeRowRect(child);
    ASSERT_FALSE(childRow.IsEmpty());
    struct TProbe {
        int X, Y;
        TTreeListHitArea Area;
        const TdxTreeListNode* Node;
    };
    const int childLevel = indicator + 16; // the child's own slot starts one indent in
    const std::vector<TProbe> probes = {
        {indicator / 2, parentRow.Top + 4, haIndicator, Nodes[0]},
        {indicator + 8, parentRow.Top + 4, haExpandButton, Nodes[0]},
        {indicator + 20, parentRow.Top + 4, haNodeImage, Nodes[0]}, // no state index
        {indicator + 4, childRow.Top + 4, haIndent, child},
        {childLevel + 16 + 4, childRow.Top + 4, haStateImage, child},
        {childLevel + 32 + 4, childRow.Top + 4, haNodeImage, child},
        {300, childRow.Top + 4, haCell, child},
        {300, childRow.Bottom - 2, haRowFooter, child},
        {300, parentRow.Bottom - 6, haPreview, Nodes[0]},
        {2, 2, haBandButton, nullptr},
        {2, 25, haHeaderButton, nullptr},
        {-1, 5, haOutside, nullptr},
    };
    for (const TProbe& probe : probes) {
        SCOPED_TRACE(testing::Message() << probe.X << "," << probe.Y);
        const TTreeListHitInfo hit = List->HitTest(probe.X, probe.Y);
        EXPECT_EQ(hit.Area, probe.Area);
        EXPECT_EQ(hit.Node, probe.Node);
    }
    const TTreeListHitInfo footer = List->HitTest(300, childRow.Bottom - 2);
    EXPECT_EQ(footer.FooterLevel, 0);
    EXPECT_EQ(List->HitTest(300, childRow.Top + 4).ColumnIndex, 2);
    EXPECT_EQ(List->HitTest(300, childRow.Top + 4).RowOnScreen, 1);
}

// --- handlers that change the list ---------------------------------------------------------

TEST_F(MouseTest, AFocusHandlerThatClearsTheListLeavesNoFreedNodeSelected) {
    List->OnChangeNode = [this](TObject*, TdxTreeListNode*, TdxTreeListNode*) {
        List->OnChangeNode = nullptr;
        List->ClearNodes();
        Nodes.assign(1, List->AddNode());
    };
    ClickRow(3);
    ASSERT_EQ(List->NodeCount(), 1);
    for (int i = 0; i < List->SelectedCount(); ++i)
        EXPECT_EQ(List->SelectedNodes(i), Nodes[0]);
    EXPECT_EQ(List->LastHit().Node, nullptr);
}

TEST_F(MouseTest, HandlersThatFreeTheListEndThePressOrTheRelease) {
    // The focus change of a press, then the click of a release.
    for (int way = 0; way < 2; ++way) {
        SCOPED_TRACE(way);
        if (way == 1) {
            Recorder = new THeaderClickList(Form);
            List = Recorder;
            List->SetParent(Form);
            List->SetBounds(0, 0, 340, 253);
            MakeWindowList();
            for (int i = 0; i < 3; ++i)
                List->AddNode();
            Platform.PaintAll();
        }
        List->SetOptions(List->Options().With(aoMultiSelect));
        const auto freeList = [this] { List->Free(); };
        if (way == 0)
            List->OnChangeNode = [&](TObject*, TdxTreeListNode*, TdxTreeListNode*) { freeList(); };
        else
            List->OnClick = [&](TObject*) { freeList(); };
        const TPoint point = Screen(200, RowY(2));
        Platform.MouseButton(Msg::LButtonDown, point);
        Platform.MouseButton(Msg::LButtonUp, point);
        EXPECT_EQ(Form->ControlCount(), 0);
    }
}

TEST_F(MouseTest, ARowPressDroppedByTheFocusLeavingRaisesNoClick) {
    Press(200, RowY(2));
    Platform.SetFocusTo(0); // another program takes the keyboard
    Release(200, RowY(2));
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "click"), 0);
    EXPECT_EQ(List->InputState(), isIdle);
}

// Drag-select: a row press held below the rows focuses the last whole row and the timer steps
// on without touching the selection; back inside, the row under the pointer is focused and
// alone selected, also when it is the row the focus already stands on.
TEST_F(MouseTest, DragSelectBackOntoTheFocusedRowSelectsThatRowAlone) {
    List->SetOptionsEx(List->OptionsEx().With(aoMouseScroll));
    for (int i = 0; i < 20; ++i)
        Nodes.push_back(List->AddNode());
    const int below = List->DataAreaRect().Bottom + 4;
    Press(200, RowY(1));
    EXPECT_EQ(Selected(), (std::vector<int>{1}));
    Move(200, below);
    const int lastWhole = List->PageRowCount() - 1;
    EXPECT_EQ(List->FocusedNode(), Nodes[std::size_t(lastWhole)]);
    Platform.AdvanceTime(60);
    Platform.AdvanceTime(60);
    EXPECT_EQ(List->FocusedNode(), Nodes[std::size_t(lastWhole + 2)]);
    EXPECT_EQ(Selected(), (std::vector<int>{1}));
    // The view followed the focus: the focused row is the last whole row again.
    const TRect focusedRow = List->NodeRowRect(List->FocusedNode());
    Move(200, focusedRow.Top + 4);
    EXPECT_EQ(List->FocusedNode(), Nodes[std::size_t(lastWhole + 2)]);
    EXPECT_EQ(Selected(), (std::vector<int>{lastWhole + 2}));
    Platform.AdvanceTime(60); // the timer stopped inside
    EXPECT_EQ(List->FocusedNode(), Nodes[std::size_t(lastWhole + 2)]);
    Move(200, focusedRow.Top - 16 + 4);
    EXPECT_EQ(Selected(), (std::vector<int>{lastWhole + 1}));
    Release(200, focusedRow.Top - 16 + 4);
    EXPECT_EQ(Selected(), (std::vector<int>{lastWhole + 1}));
}

TEST_F(MouseTest, HotTrackingFollowsTheRowUnderThePointer) {
    List->SetOptionsEx(List->OptionsEx().With(aoHotTrack));
    std::vector<const TdxTreeListNode*> hot;
    List->OnHotTrackNode = [&](TObject*, TdxTreeListNode* node) { hot.push_back(node); };
    Move(200, RowY(1));
    Move(210, RowY(1));
    Move(200, RowY(4));
    Move(200, 25);
    EXPECT_EQ(hot, (std::vector<const TdxTreeListNode*>{Nodes[1], Nodes[4], nullptr}));
    EXPECT_EQ(List->HotTrackNode(), nullptr);
}

} // namespace
