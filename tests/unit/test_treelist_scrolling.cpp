// Scrolling a tree list: the row counts of the rows area, the top row's clamps, the vertical
// and horizontal scroll bars and their requests, page moves, MakeVisible, a resize, the view
// events, and random operations that must leave the view in range.
#include "test_treelist_scrolling_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace dxtl;
namespace SB = fw::SB;
using fw::TObject;
using fw::TRect;
using fw::TScrollInfo;

namespace Request {
constexpr int LineUp = 0, LineDown = 1, PageUp = 2, PageDown = 3, ThumbTrack = 5, Top = 6,
              Bottom = 7;
}

class ScrollingTest : public treelist_testing::ScrollingTestBase {
protected:
    // What the bar would report while its thumb is dragged to `position`.
    void DragThumb(int bar, int position) {
        TScrollInfo info = Window().GetScrollInfo(bar);
        info.TrackPos = position;
        Window().SetScrollInfo(bar, info, Window().ScrollBarVisible(bar));
        Platform.Send(List->Handle(), bar == SB::Vert ? fw::Msg::VScroll : fw::Msg::HScroll,
                      Request::ThumbTrack);
    }
    void Send(int bar, int request) {
        Platform.Send(List->Handle(), bar == SB::Vert ? fw::Msg::VScroll : fw::Msg::HScroll,
                      static_cast<std::uintptr_t>(request));
    }
    int Focused() { return List->FocusedNode()->AbsoluteIndex(); }
};

TEST_F(ScrollingTest, RowCountsHoldTheWholeRowsAndThePartlyShownOne) {
    AddRows(30);
    EXPECT_EQ(List->PageRowCount(), 14);
    EXPECT_EQ(List->ShownRowCount(), 15);
    // At the end the rows run out: the page counts the rows a full last page holds.
    List->SetTopRow(1000);
    EXPECT_EQ(List->TopRow(), 16);
    EXPECT_EQ(List->PageRowCount(), 14);
    EXPECT_EQ(List->ShownRowCount(), 14);
}

TEST_F(ScrollingTest, WhenAllRowsFitTheVerticalBarIsHiddenAndNothingScrolls) {
    AddRows(5);
    EXPECT_FALSE(Window().ScrollBarVisible(SB::Vert));
    EXPECT_EQ(Window().GetScrollInfo(SB::Vert).Max, 0);
    Send(SB::Vert, Request::LineDown);
    Send(SB::Vert, Request::Bottom);
    EXPECT_EQ(List->TopRow(), 0);
    // A list with one row never scrolls.
    List->ClearNodes();
    AddRows(1);
    List->SetTopRow(1);
    EXPECT_EQ(List->TopRow(), 0);
}

TEST_F(ScrollingTest, TheVerticalBarCoversTheRowsWithAPageOfTheRowsThatFit) {
    AddRows(30);
    EXPECT_TRUE(Window().ScrollBarVisible(SB::Vert));
    const TScrollInfo info = Window().GetScrollInfo(SB::Vert);
    EXPECT_EQ(info.Min, 0);
    EXPECT_EQ(info.Max, 29);
    EXPECT_EQ(info.Page, 14);
    EXPECT_EQ(info.Pos, 0);
    Send(SB::Vert, Request::PageDown);
    EXPECT_EQ(List->TopRow(), 14);
    EXPECT_EQ(Window().GetScrollInfo(SB::Vert).Pos, 14);
    Send(SB::Vert, Request::LineUp);
    EXPECT_EQ(List->TopRow(), 13);
    Send(SB::Vert, Request::Top);
    EXPECT_EQ(List->TopRow(), 0);
    Send(SB::Vert, Request::PageUp);
    EXPECT_EQ(List->TopRow(), 0);
    // Down at the end asks for rows that do not exist: the last page stays.
    Send(SB::Vert, Request::Bottom);
    EXPECT_EQ(List->TopRow(), 16);
    Send(SB::Vert, Request::LineDown);
    Send(SB::Vert, Request::PageDown);
    EXPECT_EQ(List->TopRow(), 16);
    // Scrolling leaves the focus where it is.
    EXPECT_EQ(Focused(), 0);
}

TEST_F(ScrollingTest, DraggingTheThumbToTheEndShowsTheLastPage) {
    AddRows(30);
    DragThumb(SB::Vert, 29);
    EXPECT_EQ(List->TopRow(), 16);
    DragThumb(SB::Vert, 100000); // beyond 16 bits as well
    EXPECT_EQ(List->TopRow(), 16);
    DragThumb(SB::Vert, -5);
    EXPECT_EQ(List->TopRow(), 0);
    DragThumb(SB::Vert, 7);
    EXPECT_EQ(List->TopRow(), 7);
}

TEST_F(ScrollingTest, PageDownGoesToTheLastWholeRowThenAPageFurther) {
    AddRows(40);
    List->PageMove(+1);
    EXPECT_EQ(Focused(), 13);
    EXPECT_EQ(List->TopRow(), 0);
    List->PageMove(+1);
    EXPECT_EQ(Focused(), 26);
    EXPECT_EQ(List->TopRow(), 13); // the focused row is the last one shown wholly
    List->PageMove(-1);
    EXPECT_EQ(Focused(), 13);
    EXPECT_EQ(List->TopRow(), 13);
    List->PageMove(-1);
    EXPECT_EQ(Focused(), 0);
    EXPECT_EQ(List->TopRow(), 0);
}

TEST_F(ScrollingTest, MakeVisibleBringsARowBelowInAsTheLastWholeRowAndExpandsAncestors) {
    AddRows(30);
    List->MakeVisible(List->NodeAtAbsoluteIndex(20));
    EXPECT_EQ(List->TopRow(), 7);
    List->MakeVisible(List->NodeAtAbsoluteIndex(3));
    EXPECT_EQ(List->TopRow(), 3);
    TdxTreeListNode* parent = List->NodeAtAbsoluteIndex(25);
    TdxTreeListNode* child = parent->AddChild()->AddChild();
    ASSERT_FALSE(child->IsVisible());
    List->MakeVisible(child);
    EXPECT_TRUE(child->IsVisible());
    EXPECT_EQ(child->AbsoluteIndex(), 27);
    EXPECT_EQ(List->TopRow(), 27 - 13);
}

TEST_F(ScrollingTest, AListGrownTallerScrollsBackUntilNoSpaceIsLeftBelow) {
    AddRows(30);
    List->SetTopRow(16);
    const int frame = List->Height() - List->DataAreaRect().Height();
    List->SetBounds(0, 0, 340, frame + 20 * 16);
    EXPECT_EQ(List->PageRowCount(), 20);
    EXPECT_EQ(List->TopRow(), 10);
    List->SetBounds(0, 0, 340, 600);
    EXPECT_EQ(List->TopRow(), 0);
    EXPECT_FALSE(Window().ScrollBarVisible(SB::Vert));
}

TEST_F(ScrollingTest, EveryTopRowAssignmentIsTold) {
    int told = 0;
    List->OnChangeTopVisibleNode = [&told](TObject*) { ++told; };
    AddRows(30);
    EXPECT_EQ(told, 1); // the first row added becomes the top row
    List->SetTopRow(5);
    List->SetTopRow(5);
    EXPECT_EQ(told, 2);
    List->ClearNodes();
    EXPECT_EQ(told, 3);
    EXPECT_EQ(List->TopVisibleNode(), nullptr);
}

// --- horizontal ------------------------------------------------------------------------------

class HorizontalScrollingTest : public ScrollingTest {
protected:
    HorizontalScrollingTest() {
        AddColumn(400);
        AddRows(3);
    }
};

TEST_F(HorizontalScrollingTest, ContentWiderThanTheViewShowsTheBarAndClampsTheOffset) {
    ASSERT_EQ(List->ContentWidth(), 500);
    ASSERT_EQ(List->ViewWidth(), 340);
    EXPECT_TRUE(Window().ScrollBarVisible(SB::Horz));
    const TScrollInfo info = Window().GetScrollInfo(SB::Horz);
    EXPECT_EQ(info.Max, 499);
    EXPECT_EQ(info.Page, 340);
    List->SetLeftCoord(1000);
    EXPECT_EQ(List->LeftCoord(), 160);
    List->SetLeftCoord(-4);
    EXPECT_EQ(List->LeftCoord(), 0);
}

TEST_F(HorizontalScrollingTest, ThumbPositionsWithRoomToSpareAreRoundedToFourPixels) {
    DragThumb(SB::Horz, 10);
    EXPECT_EQ(List->LeftCoord(), 8);
    DragThumb(SB::Horz, 158); // 340 + 159 < 500: still rounded
    EXPECT_EQ(List->LeftCoord(), 156);
    DragThumb(SB::Horz, 159); // no room left: one past the thumb, the end
    EXPECT_EQ(List->LeftCoord(), 160);
    Send(SB::Horz, Request::LineUp);
    EXPECT_EQ(List->LeftCoord(), 160 - List->HorzScrollStep());
    Send(SB::Horz, Request::Bottom);
    EXPECT_EQ(List->LeftCoord(), 160);
    Send(SB::Horz, Request::PageUp);
    EXPECT_EQ(List->LeftCoord(), 0);
}

TEST_F(HorizontalScrollingTest, TheOffsetEventWaitsForNoLock) {
    int told = 0;
    List->OnChangeLeftCoord = [&told](TObject*) { ++told; };
    List->SetLeftCoord(20);
    EXPECT_EQ(told, 1);
    List->BeginUpdate();
    List->SetLeftCoord(40);
    List->EndUpdate();
    EXPECT_EQ(told, 1);
    EXPECT_EQ(List->LeftCoord(), 40);
    // A list grown wider than its content scrolls back to the start.
    List->SetBounds(0, 0, 600, 253);
    EXPECT_EQ(List->LeftCoord(), 0);
}

// --- random operations -----------------------------------------------------------------------

// After any sequence of tree and view operations the view is in range: a top row that exists,
// no empty space below the last row while rows are hidden above, a focused node that lives,
// and a selection of live nodes.
TEST_F(ScrollingTest, RandomOperationsKeepTheViewInRange) {
    List->SetOptions(List->Options().With(aoMultiSelect).With(aoExtMultiSelect));
    std::vector<TdxTreeListNode*> live;
    std::set<TdxTreeListNode*> freed;
    List->OnDeletion = [&](TObject*, TdxTreeListNode* node) {
        freed.insert(node);
        live.erase(std::remove(live.begin(), live.end(), node), live.end());
    };
    std::mt19937 random(7);
    const auto pick = [&]() -> TdxTreeListNode* {
        return live.empty() ? nullptr : live[random() % live.size()];
    };
    for (int step = 0; step < 600; ++step) {
        SCOPED_TRACE(step);
        TdxTreeListNode* node = pick();
        switch (random() % 9) {
        case 0:
        case 1: {
            TdxTreeListNode* added = node && random() % 2 ? node->AddChild() : List->AddNode();
            freed.erase(added); // a new node may take a freed one's place
            live.push_back(added);
            break;
        }
        case 2:
            if (node)
                node->SetExpanded(!node->Expanded());
            break;
        case 3:
            if (node && random() % 3 == 0)
                node->Free();
            break;
        case 4:
            if (node)
                List->ChangeFocus(node, 0, random() % 2 == 0);
            break;
        case 5:
            List->SetTopRow(static_cast<int>(random() % 80) - 10);
            break;
        case 6:
            if (node)
                List->SelectRange(node, pick());
            break;
        case 7:
            List->PageMove(random() % 2 ? 1 : -1);
            break;
        case 8:
            List->SetBounds(0, 0, 340, 60 + static_cast<int>(random() % 400));
            break;
        }
        const int count = List->AbsoluteCount();
        if (count == 0) {
            EXPECT_EQ(List->TopVisibleNode(), nullptr);
            EXPECT_EQ(List->FocusedNode(), nullptr);
            continue;
        }
        const int top = List->TopRow();
        ASSERT_GE(top, 0);
        ASSERT_LT(top, count);
        if (top > 0) {
            // Rows are hidden above: the rows from the top fill the area but for less than a
            // row.
            long long height = 0;
            for (TdxTreeListNode* n = List->TopVisibleNode(); n; n = n->GetNextRow())
                height += List->NodeHeight(n);
            EXPECT_GE(height, List->DataAreaRect().Height() - List->RowHeight() + 1)
                << "top " << top << " of " << count;
        }
        ASSERT_NE(List->FocusedNode(), nullptr);
        EXPECT_EQ(freed.count(List->FocusedNode()), 0u);
        for (int i = 0; i < List->SelectedCount(); ++i)
            ASSERT_EQ(freed.count(List->SelectedNodes(i)), 0u);
    }
    List->OnDeletion = nullptr; // the handler's sets go before the list
}

} // namespace
