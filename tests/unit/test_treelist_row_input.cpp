// The rows' part of a tree list's mouse input, driven directly on a list: what a row press does
// to the focus, the selection and the gesture state, the deferred select, drag select beyond
// an edge with its timer, hot tracking and forgetting a node that goes.
#include "test_treelist_layout_support.h"

#include "treelist/input/dxTLRowInput.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace dxtl;
using fw::TObject;

class RowInputTest : public treelist_testing::TreeListLayoutTest {
protected:
    RowInputTest() {
        for (int i = 0; i < 3; ++i)
            AddColumn(80);
        List->SetOptions(List->Options().With(aoMultiSelect));
        for (int i = 0; i < 30; ++i)
            Nodes.push_back(List->AddNode());
        Form->Show();
        Platform.PaintAll();
    }
    bool Press(int row, fw::TShiftState shift = 0, fw::TMouseButton button = fw::mbLeft,
               TTreeListHitArea area = haCell) {
        TTreeListHitInfo hit;
        hit.Area = area;
        hit.Node = Nodes[std::size_t(row)];
        return Rows.Press(hit, -1, button, shift);
    }
    int Focused() const {
        for (std::size_t i = 0; i < Nodes.size(); ++i)
            if (Nodes[i] == List->FocusedNode())
                return static_cast<int>(i);
        return -1;
    }
    bool TimerRunning() { return Platform.TimerActive(List->Handle(), kInputTimerId); }

    TdxInputState State = isIdle;
    TdxTreeListRowInput Rows{*List, State};
};

TEST_F(RowInputTest, APressFocusesTheRowSelectsItAloneAndOnlyALeftOneOnARowAreaIsHeld) {
    List->SetNodeSelected(Nodes[3], true);
    Press(2, 0, fw::mbLeft, haIndicator);
    EXPECT_EQ(State, isIdle);
    Press(4, 0, fw::mbRight);
    EXPECT_EQ(State, isIdle);
    EXPECT_FALSE(Press(2));
    EXPECT_EQ(State, isRowPressed);
    EXPECT_EQ(Focused(), 2);
    EXPECT_EQ(Selected(), (std::vector<int>{2}));
    EXPECT_EQ(List->SelectionAnchor(), Nodes[2]);
}

// Ctrl toggles the row and makes it the anchor; Shift takes the range from the anchor, or from
// the row focused before when there is none.
TEST_F(RowInputTest, ACtrlOrShiftPressEndsThePressWithTheSelectionItMade) {
    List->ChangeFocus(Nodes[1], 0, false);
    ASSERT_EQ(List->SelectionAnchor(), nullptr);
    EXPECT_TRUE(Press(4, fw::ssShift));
    EXPECT_EQ(Selected(), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_TRUE(Press(2, fw::ssCtrl));
    EXPECT_TRUE(Press(6, fw::ssCtrl));
    EXPECT_EQ(Selected(), (std::vector<int>{1, 3, 4, 6}));
    EXPECT_TRUE(Press(8, fw::ssShift));
    EXPECT_EQ(Selected(), (std::vector<int>{6, 7, 8}));
}

TEST_F(RowInputTest, APlainLeftPressOnASelectedRowLeavesTheSelectionToTheReleaseUnlessForgotten) {
    Press(1);
    Press(2, fw::ssCtrl);
    Press(2, 0, fw::mbRight);
    EXPECT_FALSE(Rows.DeferredSelect());
    Press(1);
    Rows.ForgetDeferredSelect();
    Rows.ApplyDeferredSelect();
    EXPECT_EQ(Selected(), (std::vector<int>{1, 2}));
    Press(2);
    EXPECT_TRUE(Rows.DeferredSelect());
    EXPECT_EQ(Selected(), (std::vector<int>{1, 2}));
    Rows.ApplyDeferredSelect();
    EXPECT_EQ(Selected(), (std::vector<int>{2}));
}

TEST_F(RowInputTest, AnUpdateLockFromOutsideOrADroppedPressEndsThePressAndItsDeferredSelect) {
    State = isColumnSizing;
    Rows.UpdateLockTaken();
    Rows.DropPress();
    EXPECT_EQ(State, isColumnSizing); // not a row press: not theirs to end
    State = isIdle;
    Press(1);
    Press(1);
    ASSERT_TRUE(Rows.DeferredSelect());
    Rows.UpdateLockTaken();
    EXPECT_EQ(State, isIdle);
    EXPECT_FALSE(Rows.DeferredSelect());
    Press(1);
    Rows.DropPress();
    EXPECT_EQ(State, isIdle);
    EXPECT_FALSE(Rows.DeferredSelect());
}

TEST_F(RowInputTest, HeldBelowTheRowsTheFocusStepsOnWithTheTimerAndBackInsideTheRowIsSelected) {
    List->SetOptionsEx(List->OptionsEx().With(aoMouseScroll));
    Press(1);
    const int lastWhole = List->PageRowCount() - 1;
    Rows.PressMoved(List->DataAreaRect().Bottom + 4, nullptr);
    EXPECT_EQ(Focused(), lastWhole);
    EXPECT_EQ(Rows.TimerDirection(), 1);
    EXPECT_TRUE(TimerRunning());
    EXPECT_TRUE(Rows.TimerTick());
    EXPECT_EQ(Focused(), lastWhole + 1);
    EXPECT_EQ(Selected(), (std::vector<int>{1}));
    Rows.PressMoved(List->DataAreaRect().Top + 4, Nodes[5]);
    EXPECT_EQ(Rows.TimerDirection(), 0);
    EXPECT_FALSE(TimerRunning());
    EXPECT_EQ(Focused(), 5);
    EXPECT_EQ(Selected(), (std::vector<int>{5}));
}

TEST_F(RowInputTest, WithoutMouseScrollOrWithEditableCellsAHeldPressDoesNotSelectByDragging) {
    Press(1);
    Rows.PressMoved(List->DataAreaRect().Top + 4, Nodes[5]);
    EXPECT_EQ(Focused(), 1);
    List->SetOptionsEx(List->OptionsEx().With(aoMouseScroll));
    List->SetOptions(List->Options().Without(aoRowSelect).With(aoEditing));
    Rows.PressMoved(List->DataAreaRect().Top + 4, Nodes[5]);
    EXPECT_EQ(Focused(), 1);
}

TEST_F(RowInputTest, ATimerTickWithoutARowPressHeldIsNotTheRows) {
    Rows.SetTimer(1, 100);
    State = isColumnDragging;
    EXPECT_FALSE(Rows.TimerTick());
    EXPECT_EQ(Focused(), 0);
}

TEST_F(RowInputTest, TheTimerRestartsOnlyForANewDirection) {
    Rows.SetTimer(1, 60);
    Rows.SetTimer(1, 100);
    EXPECT_EQ(Platform.TimerInterval(List->Handle(), kInputTimerId), 60u);
    Rows.SetTimer(-1, 100);
    EXPECT_EQ(Platform.TimerInterval(List->Handle(), kInputTimerId), 100u);
    Rows.SetTimer(0, 0);
    EXPECT_FALSE(TimerRunning());
}

TEST_F(RowInputTest, HotTrackingTellsOnlyAChangeOfRowAndForgetsARowThatGoes) {
    std::vector<const TdxTreeListNode*> hot;
    List->OnHotTrackNode = [&](TObject*, TdxTreeListNode* node) { hot.push_back(node); };
    Rows.Track(Nodes[1]);
    Rows.Track(Nodes[1]);
    Rows.Track(Nodes[2]);
    Rows.Track(nullptr);
    EXPECT_EQ(hot, (std::vector<const TdxTreeListNode*>{Nodes[1], Nodes[2], nullptr}));
    Rows.Track(Nodes[3]);
    Rows.ForgetNode(Nodes[2]);
    EXPECT_EQ(Rows.HotNode(), Nodes[3]);
    Rows.ForgetNode(Nodes[3]);
    EXPECT_EQ(Rows.HotNode(), nullptr);
    Rows.Track(Nodes[4]);
    Rows.ForgetNodes();
    EXPECT_EQ(Rows.HotNode(), nullptr);
}

} // namespace
