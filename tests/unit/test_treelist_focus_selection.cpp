// A tree list's focus and selection: the events of ChangeFocus in their order and counts, the
// finishing steps when a handler raises, FocusRow, single changes and their event under the
// selection lock, the one-parent rule, ranges (union, refusal, hidden ends), the repaint of the
// selection, and what adding, deleting, clearing, collapsing and new options do to both.
#include "test_treelist_layout_support.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace dxtl;
using fw::TObject;
using fw::TRect;
using treelist_testing::TreeListLayoutTest;

class FocusSelectionTest : public TreeListLayoutTest {
protected:
    FocusSelectionTest() {
        for (int i = 0; i < 3; ++i)
            AddColumn(80);
        List->SetOptions(List->Options().With(aoMultiSelect));
        for (int i = 0; i < 8; ++i)
            Nodes.push_back(List->AddNode());
        List->OnChangeNode = [this](TObject*, TdxTreeListNode* old, TdxTreeListNode* node) {
            Log.push_back("node " + Name(old) + ">" + Name(node));
        };
        List->OnChangeColumn = [this](TObject*, TdxTreeListNode*, int column) {
            Log.push_back("column " + std::to_string(column));
        };
        List->OnSelectedCountChange = [this](TObject*) {
            Log.push_back("count " + std::to_string(List->SelectedCount()));
        };
        Form->Show();
        Platform.PaintAll();
    }
    void CellMode() { List->SetOptions(List->Options().Without(aoRowSelect)); }
    const fw::headless::PixelRegion& Invalid() { return WindowOf(*List).UpdateRegion(); }

    std::vector<std::string> Log;
};

// --- focus ----------------------------------------------------------------------------------

TEST_F(FocusSelectionTest, FirstNodeAddedIsFocusedWithoutAnEvent) {
    EXPECT_EQ(List->FocusedNode(), Nodes[0]);
    EXPECT_EQ(List->StoredFocusedColumn(), -1);
    EXPECT_EQ(List->FocusedColumn(), 0);
    EXPECT_TRUE(Log.empty());
}

TEST_F(FocusSelectionTest, RowSelectModeRaisesOnlyNodeChangesAndNoneForTheFocusedRow) {
    List->ChangeFocus(Nodes[2], 2, false);
    List->ChangeFocus(Nodes[2], 1, false); // the focused row again, another column
    Nodes[3]->SetFocused(false);           // no way to take the focus away
    Nodes[2]->SetFocused(false);
    List->ChangeFocus(nullptr, 0, false);
    EXPECT_EQ(Log, (std::vector<std::string>{"node 0>2"}));
    EXPECT_EQ(List->FocusedNode(), Nodes[2]);
    EXPECT_EQ(List->FocusedColumn(), 0);
}

TEST_F(FocusSelectionTest, CellModeRaisesTheColumnAfterTheNodeWhenTheEffectiveColumnChanges) {
    CellMode();
    Log.clear();
    List->ChangeFocus(Nodes[1], 2, false);
    List->ChangeFocus(Nodes[1], 1, false);
    List->ChangeFocus(Nodes[4], 1, false);
    // A stored column beyond the visible ones reads as column 0.
    List->ChangeFocus(Nodes[4], 7, false);
    EXPECT_EQ(List->StoredFocusedColumn(), 7);
    EXPECT_EQ(Log, (std::vector<std::string>{"node 0>1", "column 2", "column 1", "node 1>4",
                                             "column 0"}));
}

TEST_F(FocusSelectionTest, TheEventsOfWhatChangedComeAlsoWhenScrollingRaises) {
    CellMode();
    AddColumn(300); // wider than the list: the fourth column lies out of view
    Log.clear();
    List->OnChangeLeftCoord = [](TObject*) { throw std::runtime_error("scrolling failed"); };
    EXPECT_THROW(List->ChangeFocus(Nodes[1], 3, false), std::runtime_error);
    // The column was stored and scrolled to before the handler raised; the row was not.
    EXPECT_GT(List->LeftCoord(), 0);
    EXPECT_EQ(List->FocusedNode(), Nodes[0]);
    EXPECT_EQ(Log, (std::vector<std::string>{"column 3"}));
}

TEST_F(FocusSelectionTest, UnderTheUpdateLockFocusIsStoredAndTheEventsStillCome) {
    Platform.PaintAll();
    List->BeginUpdate();
    List->ChangeFocus(Nodes[5], 0, true);
    EXPECT_TRUE(Invalid().IsEmpty());
    List->EndUpdate();
    EXPECT_EQ(List->FocusedNode(), Nodes[5]);
    EXPECT_EQ(Log, (std::vector<std::string>{"node 0>5"}));
}

TEST_F(FocusSelectionTest, FocusRowClampsAndCountsNoFocusAsRowZero) {
    List->FocusRow(100);
    EXPECT_EQ(List->FocusedNode(), Nodes[7]);
    List->FocusRow(-3);
    EXPECT_EQ(List->FocusedNode(), Nodes[0]);
    List->ClearNodes();
    List->FocusRow(0); // nothing to focus
    EXPECT_EQ(List->FocusedNode(), nullptr);
}

TEST_F(FocusSelectionTest, FocusingRepaintsTheOldAndTheNewRowOnly) {
    Platform.PaintAll();
    List->ChangeFocus(Nodes[3], 0, false);
    const TRect old = List->NodeRowRect(Nodes[0]);
    const TRect now = List->NodeRowRect(Nodes[3]);
    EXPECT_TRUE(Invalid().AnyIn(old));
    EXPECT_TRUE(Invalid().AnyIn(now));
    EXPECT_FALSE(Invalid().AnyIn(List->NodeRowRect(Nodes[1])));
}

// --- selection ------------------------------------------------------------------------------

TEST_F(FocusSelectionTest, WithoutMultiSelectTheFocusedNodeIsTheSelectedOne) {
    List->SetOptions(List->Options().Without(aoMultiSelect));
    Log.clear();
    List->SetNodeSelected(Nodes[2], true);
    EXPECT_EQ(List->SelectedCount(), 0);
    EXPECT_TRUE(Log.empty());
    EXPECT_TRUE(Nodes[0]->Selected());
    EXPECT_FALSE(Nodes[2]->Selected());
}

TEST_F(FocusSelectionTest, EverySelectCallRaisesTheCountOutsideALockAndOnceAtItsEndInside) {
    List->SetNodeSelected(Nodes[2], true);
    List->SetNodeSelected(Nodes[2], true); // already there: still told
    EXPECT_EQ(Log, (std::vector<std::string>{"count 1", "count 1"}));
    Log.clear();
    List->BeginSelection();
    List->SetNodeSelected(Nodes[2], true);
    List->EndSelection();
    EXPECT_TRUE(Log.empty()); // the count did not change
    List->BeginSelection();
    List->SetNodeSelected(Nodes[3], true);
    List->SetNodeSelected(Nodes[4], true);
    List->SetNodeSelected(Nodes[2], false);
    List->EndSelection();
    EXPECT_EQ(Log, (std::vector<std::string>{"count 2"}));
    EXPECT_EQ(Selected(), (std::vector<int>{3, 4}));
}

TEST_F(FocusSelectionTest, SelectedNodesAreReadInIdentityOrderAndNoneOutOfRange) {
    for (int i : {6, 1, 4})
        List->SetNodeSelected(Nodes[std::size_t(i)], true);
    ASSERT_EQ(List->SelectedCount(), 3);
    std::vector<TdxTreeListNode*> read;
    for (int i = 0; i < 3; ++i)
        read.push_back(List->SelectedNodes(i));
    EXPECT_TRUE(std::is_sorted(read.begin(), read.end(), std::less<TdxTreeListNode*>()));
    EXPECT_EQ(List->SelectedNodes(-1), nullptr);
    EXPECT_EQ(List->SelectedNodes(3), nullptr);
}

TEST_F(FocusSelectionTest, WithoutExtMultiSelectTheSelectedNodesShareAParent) {
    TdxTreeListNode* child = Nodes[1]->AddChild();
    Nodes[1]->SetExpanded(true);
    std::vector<const TdxTreeListNode*> asked;
    List->OnCanNodeSelected = [&asked](TObject*, TdxTreeListNode* node, bool&) {
        asked.push_back(node);
    };
    List->SetNodeSelected(child, true);
    List->SetNodeSelected(Nodes[2], true); // another parent: refused, but asked first
    EXPECT_EQ(asked, (std::vector<const TdxTreeListNode*>{child, Nodes[2]}));
    EXPECT_EQ(List->SelectedCount(), 1);
    EXPECT_EQ(Log, (std::vector<std::string>{"count 1"}));

    List->SetOptions(List->Options().With(aoExtMultiSelect));
    List->ClearSelection();
    List->SetNodeSelected(child, true);
    List->SetNodeSelected(Nodes[2], true);
    EXPECT_EQ(List->SelectedCount(), 2);
}

TEST_F(FocusSelectionTest, RangesAddTheShownRowsBetweenBothEndsInEitherOrder) {
    List->SetNodeSelected(Nodes[0], true);
    Log.clear();
    List->SelectRange(Nodes[5], Nodes[3]);
    EXPECT_EQ(Selected(), (std::vector<int>{0, 3, 4, 5}));
    EXPECT_EQ(Log, (std::vector<std::string>{"count 4"}));
    // A refused range leaves the selection as it was.
    List->OnCanNodeSelected = [](TObject*, TdxTreeListNode*, bool& allow) { allow = false; };
    List->SelectRange(Nodes[6], Nodes[7]);
    EXPECT_EQ(Selected(), (std::vector<int>{0, 3, 4, 5}));
}

TEST_F(FocusSelectionTest, ARangeFromAHiddenNodeStartsAtItsShownAncestor) {
    TdxTreeListNode* child = Nodes[2]->AddChild();
    Nodes[2]->SetExpanded(false);
    List->SelectRange(child, Nodes[4]);
    EXPECT_EQ(Selected(), (std::vector<int>{2, 3, 4}));
    EXPECT_FALSE(List->IsNodeSelected(child));
}

TEST_F(FocusSelectionTest, ARangeCutShortByAHandlerLeavesNoLockAndNoRangeStart) {
    List->OnCanNodeSelected = [this](TObject*, TdxTreeListNode* node, bool&) {
        if (node == Nodes[4])
            throw std::runtime_error("refused loudly");
    };
    EXPECT_THROW(List->SelectRange(Nodes[2], Nodes[6]), std::runtime_error);
    EXPECT_EQ(List->UpdateLockCount(), 0);
    List->OnCanNodeSelected = nullptr;
    // No lock left: a single change tells at once, and a later node of another parent is
    // judged by the selection only.
    Log.clear();
    List->SetNodeSelected(Nodes[7], true);
    EXPECT_EQ(Log, (std::vector<std::string>{"count 1"}));
}

TEST_F(FocusSelectionTest, CompareWithAnchorTellsTheSideOfTheRow) {
    List->SetSelectionAnchor(Nodes[3]);
    EXPECT_EQ(List->CompareWithAnchor(Nodes[1]), -1);
    EXPECT_EQ(List->CompareWithAnchor(Nodes[3]), 0);
    EXPECT_EQ(List->CompareWithAnchor(Nodes[6]), 1);
}

TEST_F(FocusSelectionTest, ElevenSelectedRowsRepaintEverythingTenRowByRow) {
    const auto invalidAfterFocusLoss = [&](int selected) {
        List->ClearSelection();
        for (int i = 0; i < selected; ++i)
            List->SetNodeSelected(List->AddNode(), true);
        Platform.SetFocusTo(List->Handle());
        Platform.PaintAll();
        Platform.SetFocusTo(0); // another program takes the keyboard
        return Invalid().PixelCount();
    };
    const auto clientPixels = [&] {
        return std::int64_t(List->ClientWidth()) * List->ClientHeight();
    };
    const std::int64_t ten = invalidAfterFocusLoss(10);
    EXPECT_GT(ten, 0);
    EXPECT_LT(ten, clientPixels());
    EXPECT_EQ(invalidAfterFocusLoss(11), clientPixels());
}

TEST_F(FocusSelectionTest, GainingTheFocusRepaintsTheFocusedAndSelectedRows) {
    List->SetNodeSelected(Nodes[4], true);
    Platform.PaintAll();
    Platform.SetFocusTo(List->Handle());
    EXPECT_TRUE(Invalid().AnyIn(List->NodeRowRect(Nodes[0])));
    EXPECT_TRUE(Invalid().AnyIn(List->NodeRowRect(Nodes[4])));
    EXPECT_FALSE(Invalid().AnyIn(List->NodeRowRect(Nodes[2])));
}

// --- nodes added, deleted, cleared and collapsed ----------------------------------------------

TEST_F(FocusSelectionTest, DeletingTheFocusedFirstNodeFocusesTheNextWithoutAnEvent) {
    Nodes[0]->Free();
    EXPECT_EQ(List->FocusedNode(), Nodes[1]);
    Nodes[3]->SetFocused(true);
    Log.clear();
    Nodes[3]->Free();
    EXPECT_EQ(List->FocusedNode(), Nodes[2]); // the previous sibling
    EXPECT_TRUE(Log.empty());
}

TEST_F(FocusSelectionTest, DeletingASelectedNodeTellsTheCountAndMovesTheAnchor) {
    List->SetNodeSelected(Nodes[4], true);
    List->SetNodeSelected(Nodes[5], true);
    List->SetSelectionAnchor(Nodes[5]);
    Log.clear();
    Nodes[5]->Free();
    EXPECT_EQ(Log, (std::vector<std::string>{"count 1"}));
    EXPECT_EQ(List->SelectionAnchor(), Nodes[4]);
    EXPECT_EQ(Selected(), (std::vector<int>{4}));
}

TEST_F(FocusSelectionTest, ClearingRaisesTheCountOnceAndNoFocusEvent) {
    for (int i : {1, 2, 3})
        List->SetNodeSelected(Nodes[std::size_t(i)], true);
    Log.clear();
    List->ClearNodes();
    EXPECT_EQ(Log, (std::vector<std::string>{"count 0"}));
    EXPECT_EQ(List->FocusedNode(), nullptr);
    EXPECT_EQ(List->SelectionAnchor(), nullptr);
    EXPECT_EQ(List->TopVisibleNode(), nullptr);
    // The first node of the new content is focused, nothing is selected.
    TdxTreeListNode* first = List->AddNode();
    EXPECT_EQ(List->FocusedNode(), first);
    EXPECT_EQ(List->SelectedCount(), 0);
    EXPECT_EQ(Log.size(), 1u);
}

TEST_F(FocusSelectionTest, DeleteSelectionFreesEverySelectedNodeWithOneCountEvent) {
    TdxTreeListNode* child = Nodes[2]->AddChild();
    List->SetOptions(List->Options().With(aoExtMultiSelect)); // selects the focused node
    List->ClearSelection();
    for (TdxTreeListNode* node : {Nodes[2], child, Nodes[6]})
        List->SetNodeSelected(node, true);
    Log.clear();
    List->DeleteSelection();
    EXPECT_EQ(List->NodeCount(), 6);
    EXPECT_EQ(List->SelectedCount(), 0);
    EXPECT_EQ(Log, (std::vector<std::string>{"count 0"}));
}

TEST_F(FocusSelectionTest, CollapsingMovesFocusAndAnchorOutOfTheSubtree) {
    TdxTreeListNode* child = Nodes[2]->AddChild();
    Nodes.push_back(child);
    Nodes[2]->SetExpanded(true);
    child->SetFocused(true);
    List->SetSelectionAnchor(child);
    Log.clear();
    Nodes[2]->SetExpanded(false);
    EXPECT_EQ(Log, (std::vector<std::string>{"node 8>2"}));
    EXPECT_EQ(List->FocusedNode(), Nodes[2]);
    EXPECT_EQ(List->SelectionAnchor(), Nodes[2]);
    // A Shift range from the anchor starts at a shown row.
    List->SelectRange(List->SelectionAnchor(), Nodes[3]);
    EXPECT_EQ(Selected(), (std::vector<int>{2, 3}));
}

TEST_F(FocusSelectionTest, NewOptionsSelectTheFocusedNodeAloneWithOneEvent) {
    List->SetNodeSelected(Nodes[5], true);
    List->SetNodeSelected(Nodes[6], true);
    Nodes[2]->SetFocused(true);
    Log.clear();
    List->SetOptions(List->Options().With(aoExtMultiSelect));
    EXPECT_EQ(Selected(), (std::vector<int>{2}));
    EXPECT_EQ(Log, (std::vector<std::string>{"count 1"}));
    // In cell mode an unset focused column becomes the first.
    List->SetOptions(List->Options().Without(aoRowSelect));
    EXPECT_EQ(List->StoredFocusedColumn(), 0);
}

} // namespace
