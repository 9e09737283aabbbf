// The selection decision of a tree list, without a form: the rule each key's selection follows
// (a table of rules over a plain run of rows), the filter and the shared-parent rule, a handler
// that frees the list, a press's "alone" rule, and the commit: one count event, and nothing
// committed once a handler freed nodes.
#include "treelist/dxTL.h"
#include "treelist/model/dxTLSelectionDecision.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace dxtl;
using fw::TObject;
using fw::TOwnedPtr;
using Follow = TdxSelectionFollow;

// Shown rows as a plain sequence, and a filter that refuses some nodes or frees the list at one.
class TFakeRows final : public TdxSelectionRows {
public:
    int RowOfNode(const TdxTreeListNode* node) const override {
        const auto found = std::find(Rows.begin(), Rows.end(), node);
        return found == Rows.end() ? -1 : static_cast<int>(found - Rows.begin());
    }
    TdxTreeListNode* RowAfter(const TdxTreeListNode* node) const override {
        const int row = RowOfNode(node);
        return row < 0 || row + 1 >= static_cast<int>(Rows.size()) ? nullptr
                                                                   : Rows[std::size_t(row + 1)];
    }
    TdxTreeListNode* ShownRowOf(TdxTreeListNode* node) const override {
        for (TdxTreeListNode* n = node; n; n = n->Parent())
            if (RowOfNode(n) >= 0)
                return n;
        return nullptr;
    }
    TdxHandlerVerdict AskHandler(TdxTreeListNode* node) override {
        Asked.push_back(node);
        if (node == FreesList)
            return TdxHandlerVerdict::FreedList;
        return Refused.count(node) ? TdxHandlerVerdict::Refuses : TdxHandlerVerdict::Allows;
    }

    std::vector<TdxTreeListNode*> Rows;
    std::set<const TdxTreeListNode*> Refused;
    const TdxTreeListNode* FreesList = nullptr;
    std::vector<const TdxTreeListNode*> Asked;
};

using RowList = std::vector<int>;

class SelectionDecisionTest : public ::testing::Test {
protected:
    SelectionDecisionTest() : List(new TdxTreeList(nullptr)) {
        for (int i = 0; i < 8; ++i)
            Nodes.push_back(List->AddNode());
        Rows.Rows = Nodes;
    }

    TdxTreeListNode* Node(int row) const { return row < 0 ? nullptr : Rows.Rows[std::size_t(row)]; }
    TdxTreeListSelection Current(const RowList& selected, int anchor, bool extending) const {
        TdxTreeListSelection current;
        for (int row : selected)
            current.Insert(Node(row));
        current.Anchor = Node(anchor);
        current.Extending = extending;
        return current;
    }
    TdxSelectionDecision Decide(const TdxTreeListSelection& current, bool multiSelect = true,
                                bool extMultiSelect = true) {
        return TdxSelectionDecision(Rows, current, multiSelect, extMultiSelect);
    }
    RowList Selected(const TdxSelectionDecision& decision) const {
        RowList rows;
        for (int row = 0; row < static_cast<int>(Rows.Rows.size()); ++row)
            if (decision.IsSelected(Node(row)))
                rows.push_back(row);
        return rows;
    }
    int AnchorRow(const TdxSelectionDecision& decision) const {
        return Rows.RowOfNode(decision.Result().Anchor);
    }

    TOwnedPtr<TdxTreeList> List;
    std::vector<TdxTreeListNode*> Nodes;
    TFakeRows Rows;
};

// One key's selection: what was there, the key's rule and move, and what it leaves (rows and
// anchors as row numbers, -1 for none).
struct TState {
    RowList Selected;
    int Anchor = -1;
    bool Extending = false;
};
struct TKeyMove {
    Follow Rule;
    int Focused;
    int Target;
    int Direction = 0;
    bool AtEdge = false;
    bool Ctrl = false;
};
struct TRuleCase {
    std::string Rule;
    TState Before;
    TKeyMove Key;
    TState After;
};

TEST_F(SelectionDecisionTest, EachKeyRuleLeavesTheSelectionAndAnchorItNames) {
    const std::vector<TRuleCase> cases = {
        {"a plain step selects the row it arrives at alone and forgets the anchor",
         {{1, 5}, 5},
         {Follow::Step, 5, 6, 1},
         {{6}}},
        {"a plain step that cannot pass the last row keeps the selection",
         {{2, 7}, 2},
         {Follow::Step, 7, 7, 1, true},
         {{2, 7}}},
        {"a jump selects the row it arrives at alone and forgets the anchor",
         {{1, 2}, 1},
         {Follow::AloneWithoutAnchor, 2, 6},
         {{6}}},
        {"a jump that stays still leaves only the focused row",
         {{0, 5}},
         {Follow::AloneWithoutAnchor, 0, 0},
         {{0}}},
        {"a move to another row by Tab or a tree key keeps the anchor",
         {{1, 2}, 1},
         {Follow::Alone, 2, 3, 1},
         {{3}, 1}},
        {"a Shift run starts with the range from the anchor and takes the row it arrives at",
         {{}, 2},
         {Follow::ShiftStep, 4, 5, 1},
         {{2, 3, 4, 5}, 2, true}},
        {"a Shift run without an anchor anchors at the focused row",
         {{6}},
         {Follow::ShiftStep, 4, 5, 1},
         {{4, 5}, 4, true}},
        {"a running Shift run adds the row it arrives at",
         {{2, 3}, 2, true},
         {Follow::ShiftStep, 3, 4, 1},
         {{2, 3, 4}, 2, true}},
        {"moving back toward the anchor takes the row left behind out of the run",
         {{2, 3, 4}, 2, true},
         {Follow::ShiftStep, 4, 3, -1},
         {{2, 3}, 2, true}},
        {"a new run that starts back toward the anchor leaves the row it leaves out",
         {{}, 2},
         {Follow::ShiftStep, 5, 4, -1},
         {{2, 3, 4}, 2, true}},
        {"a range key selects from the anchor to the row it arrives at, alone",
         {{0}, 2},
         {Follow::Range, 2, 6, 1},
         {{2, 3, 4, 5, 6}, 2}},
        {"a range key without an anchor starts at the focused row",
         {{}},
         {Follow::Range, 3, 1, -1},
         {{1, 2, 3}, 3}},
        {"Ctrl+Space adds the focused row and anchors there",
         {{1}, -1, true},
         {Follow::Toggle, 4, 4, 0, false, true},
         {{1, 4}, 4}},
        {"Ctrl+Space takes a selected focused row out",
         {{1, 4}, 1},
         {Follow::Toggle, 4, 4, 0, false, true},
         {{1}, 4}},
        {"a Ctrl move keeps the selection, even an empty one, and ends the Shift run",
         {{}, 2, true},
         {Follow::Keep, 2, 3, 1, false, true},
         {{}, 2}},
        {"Escape leaves the focused row alone and the anchor where it was",
         {{1, 2, 3}, 1},
         {Follow::Clear, 2, 2},
         {{2}, 1}},
        {"a plain key with nothing selected selects the focused row",
         {{}},
         {Follow::Keep, 3, 3},
         {{3}}},
    };
    for (const TRuleCase& c : cases) {
        SCOPED_TRACE(c.Rule);
        TdxSelectionDecision decision =
            Decide(Current(c.Before.Selected, c.Before.Anchor, c.Before.Extending));
        TdxKeySelection request;
        request.Follow = c.Key.Rule;
        request.Direction = c.Key.Direction;
        request.Focused = Node(c.Key.Focused);
        request.Target = Node(c.Key.Target);
        request.AtEdge = c.Key.AtEdge;
        request.EndsShiftRun = c.Key.Ctrl;
        request.KeepsARowSelected = !c.Key.Ctrl;
        decision.ForKey(request);
        EXPECT_EQ(Selected(decision), c.After.Selected);
        EXPECT_EQ(AnchorRow(decision), c.After.Anchor);
        EXPECT_EQ(decision.Result().Extending, c.After.Extending);
        EXPECT_FALSE(decision.Stopped());
    }
}

TEST_F(SelectionDecisionTest, TheFilterIsAskedOnceForEachRowOfARangeAndRefusedRowsStayOut) {
    Rows.Refused = {Node(4)};
    TdxSelectionDecision decision = Decide(Current({}, 2, false));
    decision.ForKey({Follow::Range, 1, Node(2), Node(6), false, false, true});
    EXPECT_EQ(Selected(decision), (RowList{2, 3, 5, 6}));
    EXPECT_EQ(Rows.Asked,
              (std::vector<const TdxTreeListNode*>{Node(2), Node(3), Node(4), Node(5), Node(6)}));
}

TEST_F(SelectionDecisionTest, WithoutExtMultiSelectOnlySiblingsOfTheFirstSelectedNodeJoin) {
    // Rows: n0, n1, c0 and c1 (children of n1), n2.
    TdxTreeListNode* c0 = Nodes[1]->AddChild();
    TdxTreeListNode* c1 = Nodes[1]->AddChild();
    Rows.Rows = {Nodes[0], Nodes[1], c0, c1, Nodes[2]};
    TdxSelectionDecision range = Decide(Current({}, -1, false), true, false);
    range.SelectRange(c0, Nodes[2]); // the range's first row gives the parent
    EXPECT_EQ(Selected(range), (RowList{2, 3}));
    range.Select(Nodes[0]);
    EXPECT_EQ(Selected(range), (RowList{2, 3}));

    TdxSelectionDecision extended = Decide(Current({}, -1, false), true, true);
    extended.SelectRange(c0, Nodes[2]);
    EXPECT_EQ(Selected(extended), (RowList{2, 3, 4}));
}

TEST_F(SelectionDecisionTest, AHiddenEndOfARangeStandsForItsShownAncestor) {
    TdxTreeListNode* hidden = Nodes[5]->AddChild(); // not among the rows
    TdxSelectionDecision decision = Decide(Current({}, -1, false));
    decision.SelectRange(hidden, Node(3));
    EXPECT_EQ(Selected(decision), (RowList{3, 4, 5}));
    EXPECT_FALSE(decision.IsSelected(hidden));
}

TEST_F(SelectionDecisionTest, WithoutMultiSelectNoRowIsAddedOrRemovedButTheAnchorFollows) {
    TdxSelectionDecision decision = Decide(Current({}, -1, false), false, false);
    decision.ForKey({Follow::Range, 1, Node(2), Node(5), false, false, true});
    EXPECT_EQ(Selected(decision), RowList{});
    EXPECT_EQ(AnchorRow(decision), 2);
    decision.ForKey({Follow::Toggle, 0, Node(5), Node(5), false, true, false});
    EXPECT_EQ(Selected(decision), RowList{});
    EXPECT_EQ(AnchorRow(decision), 5);
    EXPECT_TRUE(Rows.Asked.empty());
}

TEST_F(SelectionDecisionTest, AFilterHandlerThatFreesTheListEndsTheDecisionAtOnce) {
    Rows.FreesList = Node(4);
    TdxSelectionDecision decision = Decide(Current({}, 2, false));
    decision.ForKey({Follow::Range, 1, Node(2), Node(6), false, false, true});
    EXPECT_TRUE(decision.Stopped());
    EXPECT_EQ(Rows.Asked, (std::vector<const TdxTreeListNode*>{Node(2), Node(3), Node(4)}));
    decision.Select(Node(7));
    decision.Alone(Node(1));
    EXPECT_EQ(Rows.Asked.size(), 3u) << "nothing is asked of a freed list";
}

struct TPressCase {
    std::string Rule;
    TState Before;
    int FocusedBefore;
    int Pressed;
    bool Shift;
    bool Ctrl;
    TState After;
    bool Deferred;
};

TEST_F(SelectionDecisionTest, EachPressRuleLeavesTheSelectionAndAnchorItNames) {
    const std::vector<TPressCase> cases = {
        {"a plain press selects the row alone and anchors there",
         {{1, 2}, 1, true},
         2,
         5,
         false,
         false,
         {{5}, 5},
         false},
        {"a plain press on a selected row waits for the release",
         {{1, 5}, 1},
         1,
         5,
         false,
         false,
         {{1, 5}, 1},
         true},
        {"Ctrl toggles the pressed row and anchors there",
         {{1}},
         1,
         4,
         false,
         true,
         {{1, 4}, 4},
         false},
        {"Shift selects the range from the anchor alone",
         {{0, 7}, 2},
         6,
         4,
         true,
         false,
         {{2, 3, 4}, 2},
         false},
        {"Shift without an anchor starts at the row focused before",
         {{}},
         6,
         4,
         true,
         false,
         {{4, 5, 6}, 6},
         false},
        {"Ctrl+Shift adds the range from the row focused before",
         {{0}, 0},
         5,
         7,
         true,
         true,
         {{0, 5, 6, 7}, 0},
         false},
    };
    for (const TPressCase& c : cases) {
        SCOPED_TRACE(c.Rule);
        TdxSelectionDecision decision =
            Decide(Current(c.Before.Selected, c.Before.Anchor, c.Before.Extending));
        EXPECT_EQ(decision.ForPress(Node(c.FocusedBefore), Node(c.Pressed), c.Shift, c.Ctrl),
                  c.Deferred);
        EXPECT_EQ(Selected(decision), c.After.Selected);
        EXPECT_EQ(AnchorRow(decision), c.After.Anchor);
        EXPECT_FALSE(decision.Result().Extending);
    }
}

// --- committing to a list ---------------------------------------------------------------------

class SelectionCommitTest : public ::testing::Test {
protected:
    SelectionCommitTest() : List(new TdxTreeList(nullptr)) {
        List->SetOptions(List->Options().With(aoMultiSelect));
        for (int i = 0; i < 8; ++i)
            Nodes.push_back(List->AddNode());
        List->OnSelectedCountChange = [this](TObject*) { ++CountEvents; };
    }
    void TearDown() override {
        List->OnSelectedCountChange = nullptr;
        List->OnCanNodeSelected = nullptr;
    }

    TOwnedPtr<TdxTreeList> List;
    std::vector<TdxTreeListNode*> Nodes;
    int CountEvents = 0;
};

TEST_F(SelectionCommitTest, NothingChangesBeforeTheCommitWhichTellsTheCountOnce) {
    List->SetNodeSelected(Nodes[1], true);
    List->SetNodeSelected(Nodes[3], true);
    CountEvents = 0;
    TdxSelectionDecision decision = List->DecideSelection();
    decision.Clear();
    decision.SelectRange(Nodes[4], Nodes[6]);
    EXPECT_EQ(List->SelectedCount(), 2);
    EXPECT_TRUE(List->IsNodeSelected(Nodes[1]));
    EXPECT_TRUE(List->CommitSelection(decision));
    EXPECT_EQ(List->SelectedCount(), 3);
    EXPECT_FALSE(List->IsNodeSelected(Nodes[1]));
    EXPECT_TRUE(List->IsNodeSelected(Nodes[5]));
    EXPECT_EQ(CountEvents, 1);
}

// A filter handler that frees a node would otherwise leave the freed node in the selection.
TEST_F(SelectionCommitTest, AFilterHandlerThatFreesANodeLeavesTheSelectionAsItWas) {
    List->OnCanNodeSelected = [this](TObject*, TdxTreeListNode* node, bool&) {
        if (node == Nodes[3])
            Nodes[3]->Free();
    };
    TdxSelectionDecision decision = List->DecideSelection();
    decision.SelectRange(Nodes[2], Nodes[4]);
    EXPECT_FALSE(List->CommitSelection(decision));
    EXPECT_EQ(List->SelectedCount(), 0);
    // A single change refuses the node it was asked about, which is gone.
    TdxTreeListNode* doomed = List->AddNode();
    List->OnCanNodeSelected = [doomed](TObject*, TdxTreeListNode*, bool&) { doomed->Free(); };
    List->SetNodeSelected(doomed, true);
    EXPECT_EQ(List->SelectedCount(), 0);
    EXPECT_EQ(CountEvents, 0);
}

} // namespace
