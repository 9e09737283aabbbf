// A tree list's keyboard input through real key messages: page moves, the rule that a key leaves
// the focused row selected, plain and Shift moves with the anchor, Ctrl moves and Ctrl+Space,
// Escape, copying, tree keys and characters, cell mode with its through options, the dialog
// code, and keys on an empty list or during a sizing gesture.
#include "test_treelist_layout_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace dxtl;
using fw::TObject;
using fw::TShiftState;
namespace Msg = fw::Msg;
namespace VK = fw::VK;

class KeyboardTest : public treelist_testing::TreeListLayoutTest {
protected:
    KeyboardTest() {
        AddColumn(80, "A");
        AddColumn(80, "B");
        AddColumn(80, "C");
        List->SetOptions(List->Options().With(aoMultiSelect).With(aoRowSelect));
        for (int i = 0; i < 30; ++i) {
            Nodes.push_back(List->AddNode());
            Nodes.back()->SetStrings(0, "r" + std::to_string(i));
        }
        List->OnSelectedCountChange = [this](TObject*) { ++CountEvents; };
        Form->Show();
        List->SetFocus();
        Platform.PaintAll();
    }
    // Presses a key with the given modifiers held (fw::ssShift, fw::ssCtrl, fw::ssAlt).
    void Key(int key, int shift = 0) {
        Platform.SetKeyDown(VK::Shift, (shift & fw::ssShift) != 0);
        Platform.SetKeyDown(VK::Control, (shift & fw::ssCtrl) != 0);
        Platform.SetKeyDown(VK::Menu, (shift & fw::ssAlt) != 0);
        Platform.Send(List->Handle(), Msg::KeyDown, static_cast<std::uintptr_t>(key), 0);
        Platform.SetKeyDown(VK::Shift, false);
        Platform.SetKeyDown(VK::Control, false);
        Platform.SetKeyDown(VK::Menu, false);
    }
    void Char(char32_t character) {
        Platform.Send(List->Handle(), Msg::Char, static_cast<std::uintptr_t>(character), 0);
    }
    void Focus(int row) { List->FocusRow(row); }
    int FocusedRow() const { return List->FocusedNode()->AbsoluteIndex(); }
    void Select(std::initializer_list<int> rows) {
        for (int row : rows)
            List->SetNodeSelected(Nodes[std::size_t(row)], true);
    }

    int CountEvents = 0;
};

using Rows = std::vector<int>;

// --- rows: plain keys ----------------------------------------------------------------------

TEST_F(KeyboardTest, PageDownStopsAtTheLastFullyShownRowThenMovesByAPageLessOne) {
    const int page = List->PageRowCount();
    ASSERT_GE(page, 5);
    Focus(2);
    Key(VK::Next);
    EXPECT_EQ(FocusedRow(), page - 1);
    EXPECT_EQ(List->TopRow(), 0);
    Key(VK::Next);
    EXPECT_EQ(FocusedRow(), 2 * page - 2);
    EXPECT_EQ(List->TopRow(), page - 1) << "the new row ends the page";
    EXPECT_EQ(Selected(), Rows{2 * page - 2});
    // Page Up mirrors it: from the top row it moves a page less one.
    Focus(page + 1);
    Key(VK::Prior);
    EXPECT_EQ(FocusedRow(), page - 1);
    Key(VK::Prior);
    EXPECT_EQ(FocusedRow(), 0);
    Key(VK::Prior);
    EXPECT_EQ(FocusedRow(), 0);
    EXPECT_EQ(Selected(), Rows{0});
}

TEST_F(KeyboardTest, AnyKeyWithNothingSelectedSelectsTheFocusedRowButACtrlKeyDoesNot) {
    Focus(4);
    ASSERT_EQ(List->SelectedCount(), 0);
    Key(VK::Control, fw::ssCtrl); // the Ctrl key itself
    Key('Q', fw::ssCtrl);
    EXPECT_EQ(List->SelectedCount(), 0);
    Key('Q');
    EXPECT_EQ(Selected(), Rows{4});
    EXPECT_EQ(FocusedRow(), 4);
}

TEST_F(KeyboardTest, DownOnTheLastRowKeepsTheSelectionAndTheFocus) {
    Focus(29);
    Select({27, 29});
    Key(VK::Down);
    EXPECT_EQ(FocusedRow(), 29);
    EXPECT_EQ(Selected(), (Rows{27, 29}));
    // Up at the first row with one row selected keeps it; with more it keeps them too, since
    // there is no new item row to go to.
    Focus(0);
    List->ClearSelection();
    Select({0, 5});
    Key(VK::Up);
    EXPECT_EQ(FocusedRow(), 0);
    EXPECT_EQ(Selected(), (Rows{0, 5}));
}

TEST_F(KeyboardTest, UpAndDownMoveTheSelectionWithTheFocus) {
    Focus(5);
    Select({1, 5, 9});
    Key(VK::Down);
    EXPECT_EQ(FocusedRow(), 6);
    EXPECT_EQ(Selected(), Rows{6});
    Key(VK::Up);
    Key(VK::Up);
    EXPECT_EQ(Selected(), Rows{4});
    EXPECT_EQ(List->SelectionAnchor(), nullptr);
}

TEST_F(KeyboardTest, HomeAndEndGoToTheEndsAndScroll) {
    Focus(3);
    Key(VK::End);
    EXPECT_EQ(FocusedRow(), 29);
    EXPECT_EQ(List->TopRow(), 30 - List->PageRowCount());
    EXPECT_EQ(Selected(), Rows{29});
    Key(VK::Home);
    EXPECT_EQ(FocusedRow(), 0);
    EXPECT_EQ(List->TopRow(), 0);
    EXPECT_EQ(Selected(), Rows{0});
}

TEST_F(KeyboardTest, EscapeLeavesOnlyTheFocusedRowSelected) {
    Focus(3);
    Select({1, 2, 3, 7, 8});
    CountEvents = 0;
    Key(VK::Escape);
    EXPECT_EQ(Selected(), Rows{3});
    EXPECT_EQ(CountEvents, 1);
}

// --- rows: Shift and Ctrl --------------------------------------------------------------------

TEST_F(KeyboardTest, ShiftDownRunsExtendFromTheAnchorAndShiftUpTakesTheLastBack) {
    Focus(4);
    Key(VK::Space); // selects the focused row
    for (int i = 0; i < 3; ++i)
        Key(VK::Down, fw::ssShift);
    EXPECT_EQ(Selected(), (Rows{4, 5, 6, 7}));
    EXPECT_EQ(List->SelectionAnchor(), Nodes[4]);
    Key(VK::Up, fw::ssShift);
    EXPECT_EQ(Selected(), (Rows{4, 5, 6}));
    EXPECT_EQ(FocusedRow(), 6);
    // Back past the anchor the range grows the other way.
    for (int i = 0; i < 4; ++i)
        Key(VK::Up, fw::ssShift);
    EXPECT_EQ(FocusedRow(), 2);
    EXPECT_EQ(Selected(), (Rows{2, 3, 4}));
    // A plain key ends the run and the anchor.
    Key(VK::Down);
    EXPECT_EQ(Selected(), Rows{3});
    EXPECT_EQ(List->SelectionAnchor(), nullptr);
}

TEST_F(KeyboardTest, AShiftRunAfterACtrlKeyStartsAgainFromTheAnchor) {
    Focus(10);
    Key(VK::Space, fw::ssCtrl); // anchor 10, selected
    Key(VK::Down, fw::ssShift);
    Key(VK::Down, fw::ssShift);
    EXPECT_EQ(Selected(), (Rows{10, 11, 12}));
    Key(VK::Down, fw::ssCtrl); // ends the run, moves to 13
    Key(VK::Up, fw::ssShift);  // a new run: the range anchor .. 13, then back toward the anchor
    EXPECT_EQ(FocusedRow(), 12);
    EXPECT_EQ(Selected(), (Rows{10, 11, 12}));
}

TEST_F(KeyboardTest, CtrlDownMovesWithoutSelectingAndCtrlSpaceAddsOrRemoves) {
    Focus(2);
    Select({2});
    Key(VK::Down, fw::ssCtrl);
    Key(VK::Down, fw::ssCtrl);
    EXPECT_EQ(FocusedRow(), 4);
    EXPECT_EQ(Selected(), Rows{2});
    Key(VK::Space, fw::ssCtrl);
    EXPECT_EQ(Selected(), (Rows{2, 4}));
    EXPECT_EQ(List->SelectionAnchor(), Nodes[4]);
    Key(VK::Space, fw::ssCtrl);
    EXPECT_EQ(Selected(), Rows{2});
    // Ctrl+End and Ctrl+Home move the focus alone as well.
    Key(VK::End, fw::ssCtrl);
    EXPECT_EQ(FocusedRow(), 29);
    Key(VK::Home, fw::ssCtrl);
    EXPECT_EQ(FocusedRow(), 0);
    EXPECT_EQ(Selected(), Rows{2});
}

TEST_F(KeyboardTest, ShiftEndAndCtrlShiftHomeSelectFromTheAnchorWithOneCountEvent) {
    Focus(20);
    Key(VK::Space, fw::ssCtrl); // anchor 20
    CountEvents = 0;
    Key(VK::End, fw::ssShift);
    EXPECT_EQ(Selected(), (Rows{20, 21, 22, 23, 24, 25, 26, 27, 28, 29}));
    EXPECT_EQ(CountEvents, 1);
    Key(VK::Home, fw::ssShift | fw::ssCtrl);
    EXPECT_EQ(List->SelectedCount(), 21);
    EXPECT_TRUE(List->IsNodeSelected(Nodes[0]));
    EXPECT_FALSE(List->IsNodeSelected(Nodes[21]));
    EXPECT_EQ(CountEvents, 2);
    // Without an anchor the focused row becomes one.
    List->SetSelectionAnchor(nullptr);
    Focus(5);
    Key(VK::Next, fw::ssShift);
    EXPECT_EQ(List->SelectionAnchor(), Nodes[5]);
    EXPECT_EQ(List->SelectedCount(), FocusedRow() - 5 + 1);
}

TEST_F(KeyboardTest, WithoutMultiSelectShiftOnlyMoves) {
    List->SetOptions(List->Options().Without(aoMultiSelect));
    Focus(3);
    Key(VK::Down, fw::ssShift);
    Key(VK::Down, fw::ssShift);
    EXPECT_EQ(FocusedRow(), 5);
    EXPECT_EQ(List->SelectedCount(), 0); // the focused row is the selection
    EXPECT_TRUE(List->IsNodeSelected(Nodes[5]));
}

TEST_F(KeyboardTest, CtrlInsertAndCtrlCCopyTheCaptionsAndTheSelectedRowsInTreeOrder) {
    Focus(3);
    Select({3, 1});
    Key(VK::Insert, fw::ssCtrl);
    EXPECT_EQ(Platform.ClipboardText, "A\tB\tC\r\n\r\nr1\t\t\r\nr3\t\t\r\n");
    Platform.ClipboardText.clear();
    Char(3); // Ctrl+C copies only when asked to
    EXPECT_EQ(Platform.ClipboardText, "");
    List->SetOptionsEx(List->OptionsEx().With(aoAutoCopySelectedToClipboard));
    Char(3);
    EXPECT_EQ(Platform.ClipboardText, "A\tB\tC\r\n\r\nr1\t\t\r\nr3\t\t\r\n");
    // Insert without Ctrl copies nothing.
    Platform.ClipboardText.clear();
    Key(VK::Insert);
    EXPECT_EQ(Platform.ClipboardText, "");
}

// --- handlers, states, the empty list --------------------------------------------------------

TEST_F(KeyboardTest, AHandlerThatClearsTheKeyStopsItAndOneThatFreesTheListIsSafe) {
    Focus(3);
    List->OnKeyDown = [](TObject*, int& key, TShiftState) {
        if (key == VK::Down)
            key = 0;
    };
    Key(VK::Down);
    EXPECT_EQ(FocusedRow(), 3);
    EXPECT_EQ(List->SelectedCount(), 0);
    List->OnKeyPress = [](TObject*, char32_t& key) { key = U'+'; };
    Nodes[3]->AddChild();
    Char(U'x'); // the handler turns it into "+"
    EXPECT_TRUE(Nodes[3]->Expanded());
    List->OnKeyDown = [this](TObject*, int&, TShiftState) { List->Free(); };
    Key(VK::Up);
    SUCCEED();
}

TEST_F(KeyboardTest, AFocusHandlerMayFreeTheListWhateverKeyMovedTheFocus) {
    const struct {
        int key;
        int shift;
    } keys[] = {{VK::Down, 0},  {VK::Down, fw::ssShift}, {VK::Next, fw::ssShift}, {VK::End, 0},
                {VK::Right, 0}, {VK::Down, fw::ssCtrl},  {VK::Home, fw::ssCtrl}};
    for (const auto& press : keys) {
        SCOPED_TRACE(press.key * 10 + press.shift);
        Focus(3);
        Nodes[3]->AddChild(); // Right enters the row's children
        Nodes[3]->SetExpanded(true);
        const fw::TWindowHandle window = List->Handle();
        List->OnChangeNode = [this](TObject*, TdxTreeListNode*, TdxTreeListNode*) { List->Free(); };
        Platform.SetKeyDown(VK::Shift, (press.shift & fw::ssShift) != 0);
        Platform.SetKeyDown(VK::Control, (press.shift & fw::ssCtrl) != 0);
        Platform.Send(window, Msg::KeyDown, static_cast<std::uintptr_t>(press.key), 0);
        Platform.SetKeyDown(VK::Shift, false);
        Platform.SetKeyDown(VK::Control, false);
        ASSERT_EQ(Form->ControlCount(), 0);
        // A new list for the next key.
        List = new treelist_testing::TSearchTreeList(Form);
        List->SetParent(Form);
        List->SetBounds(0, 0, 340, 253);
        List->SetOptions(List->Options().With(aoMultiSelect).With(aoRowSelect));
        AddColumn(80, "A");
        Nodes.clear();
        for (int i = 0; i < 30; ++i)
            Nodes.push_back(List->AddNode());
        Platform.PaintAll();
    }
}

TEST_F(KeyboardTest, KeysOnAnEmptyListRaiseOnlyTheKeyEvent) {
    List->ClearNodes();
    Nodes.clear();
    int keys = 0;
    List->OnKeyDown = [&](TObject*, int&, TShiftState) { ++keys; };
    int focusChanges = 0;
    List->OnChangeNode = [&](TObject*, TdxTreeListNode*, TdxTreeListNode*) { ++focusChanges; };
    CountEvents = 0;
    for (int key : {VK::Down, VK::Up, VK::End, VK::Next, VK::Escape, VK::Left, int('A')})
        Key(key);
    Key(VK::Space, fw::ssCtrl);
    Key(VK::Insert, fw::ssCtrl);
    Char(U'+');
    EXPECT_EQ(keys, 9);
    EXPECT_EQ(CountEvents, 0);
    EXPECT_EQ(focusChanges, 0);
    EXPECT_EQ(Platform.ClipboardText, "");
}

TEST_F(KeyboardTest, DuringColumnSizingOnlyEscapeActsAndItCancels) {
    List->SetOptions(List->Options().With(aoColumnSizing));
    Platform.PaintAll();
    const int width = List->ColumnWidth(0);
    const fw::TPoint edge = List->ClientToScreen({List->HeaderRect(0).Right - 1, 5});
    Platform.MouseButton(Msg::LButtonDown, edge);
    ASSERT_EQ(List->InputState(), isColumnSizing);
    Platform.MouseMoveTo({edge.X + 30, edge.Y});
    Focus(2);
    Key(VK::Down);
    EXPECT_EQ(FocusedRow(), 2);
    EXPECT_EQ(List->InputState(), isColumnSizing);
    Key(VK::Escape);
    EXPECT_EQ(List->InputState(), isIdle);
    Platform.MouseButton(Msg::LButtonUp, {edge.X + 30, edge.Y});
    EXPECT_EQ(List->ColumnWidth(0), width);
}

TEST_F(KeyboardTest, TheListAsksForArrowsAlwaysTabWithTabsAndCharactersWhenSearching) {
    const auto code = [&] { return Platform.Send(List->Handle(), Msg::GetDlgCode, 0, 0); };
    List->SetOptions(List->Options().Without(aoEditing));
    EXPECT_EQ(code(), 0x1);
    List->SetOptions(List->Options().With(aoEditing));
    EXPECT_EQ(code(), 0x1 | 0x80);
    List->SetOptions(List->Options().Without(aoEditing).With(aoTabs));
    EXPECT_EQ(code(), 0x1 | 0x2);
    Platform.SetKeyDown(VK::Control, true);
    EXPECT_EQ(code(), 0x1) << "Ctrl+Tab belongs to the form";
    Platform.SetKeyDown(VK::Control, false);
    List->SetOptionsEx(List->OptionsEx().With(aoAutoSearch));
    EXPECT_EQ(code(), 0x1 | 0x2 | 0x80);
    Platform.SetKeyDown(VK::Menu, true);
    EXPECT_EQ(code(), 0x1 | 0x2);
    Platform.SetKeyDown(VK::Menu, false);
}

// --- trees -----------------------------------------------------------------------------------

class TreeKeyboardTest : public KeyboardTest {
protected:
    TreeKeyboardTest() {
        // r0 [c0 [g0, g1], c1], r1 ...
        Child0 = Nodes[0]->AddChild();
        Grand0 = Child0->AddChild();
        Grand1 = Child0->AddChild();
        Child1 = Nodes[0]->AddChild();
    }
    TdxTreeListNode *Child0, *Child1, *Grand0, *Grand1;
};

TEST_F(TreeKeyboardTest, RightExpandsThenEntersAndLeftLeavesThenCollapses) {
    Focus(0);
    Key(VK::Right);
    EXPECT_TRUE(Nodes[0]->Expanded());
    EXPECT_EQ(List->FocusedNode(), Nodes[0]);
    Key(VK::Right);
    EXPECT_EQ(List->FocusedNode(), Child0);
    EXPECT_EQ(List->SelectedCount(), 1);
    EXPECT_TRUE(List->IsNodeSelected(Child0));
    Key(VK::Right);
    Key(VK::Right);
    EXPECT_EQ(List->FocusedNode(), Grand0);
    Key(VK::Right); // no children: the next row
    EXPECT_EQ(List->FocusedNode(), Grand1);
    Key(VK::Left); // not a first child: the row above
    EXPECT_EQ(List->FocusedNode(), Grand0);
    Key(VK::Left); // a first child: its parent
    EXPECT_EQ(List->FocusedNode(), Child0);
    EXPECT_TRUE(Child0->Expanded());
    Key(VK::Left); // expanded: collapses
    EXPECT_FALSE(Child0->Expanded());
    EXPECT_EQ(List->FocusedNode(), Child0);
    Key(VK::Left);
    EXPECT_EQ(List->FocusedNode(), Nodes[0]);
    EXPECT_EQ(List->SelectedCount(), 1);
    Key(VK::Left);
    EXPECT_FALSE(Nodes[0]->Expanded());
}

// A node may be expanded before its children exist (they come when asked for): Left collapses
// it like any expanded node instead of moving on, and Right leaves it where it is.
TEST_F(TreeKeyboardTest, LeftCollapsesAnExpandedNodeThatHasNoChildrenYet) {
    Nodes[3]->SetHasChildren(true);
    Nodes[3]->SetExpanded(true);
    ASSERT_TRUE(Nodes[3]->Expanded());
    ASSERT_EQ(Nodes[3]->ChildCount(), 0);
    Focus(3);
    Key(VK::Right);
    EXPECT_EQ(List->FocusedNode(), Nodes[3]);
    EXPECT_TRUE(Nodes[3]->Expanded());
    Key(VK::Left);
    EXPECT_FALSE(Nodes[3]->Expanded());
    EXPECT_EQ(List->FocusedNode(), Nodes[3]);
    Key(VK::Left); // collapsed now: the row above
    EXPECT_EQ(List->FocusedNode(), Nodes[2]);
}

TEST_F(TreeKeyboardTest, PlusMinusAndStarExpandAndCollapse) {
    Focus(0);
    Char(U'*');
    EXPECT_TRUE(Nodes[0]->Expanded());
    EXPECT_TRUE(Child0->Expanded());
    Char(U'-');
    EXPECT_FALSE(Nodes[0]->Expanded());
    EXPECT_TRUE(Child0->Expanded());
    Char(U'+');
    EXPECT_TRUE(Nodes[0]->Expanded());
    // "*" on a leaf does nothing; "+" on a hidden node shows it first.
    Nodes[0]->SetExpanded(false);
    List->ChangeFocus(Grand1, 0, false);
    Char(U'+');
    EXPECT_TRUE(Nodes[0]->Expanded());
    EXPECT_GE(Grand1->AbsoluteIndex(), 0);
}

TEST_F(TreeKeyboardTest, ARangeOverAnExpandedBranchFollowsTheShownRows) {
    List->SetOptions(List->Options().With(aoExtMultiSelect));
    Nodes[0]->Expand(true);
    Focus(0);
    Key(VK::Space, fw::ssCtrl);
    for (int i = 0; i < 4; ++i)
        Key(VK::Down, fw::ssShift);
    EXPECT_EQ(List->FocusedNode(), Child1);
    EXPECT_EQ(List->SelectedCount(), 5);
    EXPECT_TRUE(List->IsNodeSelected(Grand1));
}

// --- cell mode ---------------------------------------------------------------------------------

class CellKeyboardTest : public KeyboardTest {
protected:
    CellKeyboardTest() { List->SetOptions(List->Options().Without(aoRowSelect)); }
};

TEST_F(CellKeyboardTest, LeftRightHomeAndEndMoveAlongTheRowAndThroughRowsWhenAsked) {
    Focus(3);
    Key(VK::Right);
    Key(VK::Right);
    EXPECT_EQ(List->FocusedColumn(), 2);
    Key(VK::Right);
    EXPECT_EQ(List->FocusedColumn(), 2);
    EXPECT_EQ(FocusedRow(), 3);
    Key(VK::Home);
    EXPECT_EQ(List->FocusedColumn(), 0);
    EXPECT_EQ(FocusedRow(), 3);
    Key(VK::End);
    EXPECT_EQ(List->FocusedColumn(), 2);
    Key(VK::Left, fw::ssCtrl);
    EXPECT_EQ(List->FocusedColumn(), 0);
    Key(VK::Right, fw::ssCtrl);
    EXPECT_EQ(List->FocusedColumn(), 2);
    List->SetOptionsEx(List->OptionsEx().With(aoHorzThrough));
    Key(VK::Right);
    EXPECT_EQ(FocusedRow(), 4);
    EXPECT_EQ(List->FocusedColumn(), 0);
    Key(VK::Left);
    EXPECT_EQ(FocusedRow(), 3);
    EXPECT_EQ(List->FocusedColumn(), 2);
    EXPECT_EQ(Selected(), Rows{3});
    // Shift+Home in cell mode still selects rows.
    Key(VK::Home, fw::ssShift);
    EXPECT_EQ(FocusedRow(), 0);
    EXPECT_EQ(Selected(), (Rows{0, 1, 2, 3}));
}

TEST_F(CellKeyboardTest, TabVisitsTheTabStopsAndGoesThroughRowsWithTabThrough) {
    List->SetOptions(List->Options().With(aoTabs).Without(aoTabThrough));
    List->Columns(1)->SetTabStop(false);
    Focus(3);
    Key(VK::Tab);
    EXPECT_EQ(List->FocusedColumnIndex(), 2) << "B is no tab stop";
    Key(VK::Tab);
    EXPECT_EQ(List->FocusedColumnIndex(), 2) << "the row's last tab stop";
    Key(VK::Tab, fw::ssAlt);
    Key(VK::Tab, fw::ssShift);
    EXPECT_EQ(List->FocusedColumn(), 0);
    List->SetOptions(List->Options().With(aoTabThrough));
    Key(VK::Tab, fw::ssShift);
    EXPECT_EQ(FocusedRow(), 2);
    EXPECT_EQ(List->FocusedColumn(), 2);
    Key(VK::Tab);
    EXPECT_EQ(FocusedRow(), 3);
    EXPECT_EQ(List->FocusedColumn(), 0);
    // Without aoTabs the key is not the list's.
    List->SetOptions(List->Options().Without(aoTabs));
    Key(VK::Tab);
    EXPECT_EQ(List->FocusedColumn(), 0);
    // In row-select mode Tab steps rows.
    List->SetOptions(List->Options().With(aoTabs).With(aoRowSelect));
    Key(VK::Tab);
    EXPECT_EQ(FocusedRow(), 4);
    Key(VK::Tab, fw::ssShift);
    EXPECT_EQ(FocusedRow(), 3);
}

TEST_F(CellKeyboardTest, VertThroughStepsThroughTheLinesOfARowBeforeTheRows) {
    List->SetHeaderPanelRowCount(2);
    List->Columns(2)->SetRowIndex(1); // C on the second line under A and B
    List->SetOptionsEx(List->OptionsEx().With(aoVertThrough));
    Platform.PaintAll();
    Focus(3);
    List->SetFocusedColumn(1);
    Key(VK::Down);
    EXPECT_EQ(FocusedRow(), 3);
    EXPECT_EQ(List->FocusedColumnIndex(), 2);
    Key(VK::Down);
    EXPECT_EQ(FocusedRow(), 4);
    EXPECT_EQ(List->FocusedColumnIndex(), 2);
    Key(VK::Up); // the line above, the column over C's middle
    EXPECT_EQ(FocusedRow(), 4);
    const int middle = List->HeaderRect(2).Left + List->HeaderRect(2).Width() / 2;
    const int index = List->FocusedColumnIndex();
    EXPECT_NE(index, 2);
    EXPECT_LE(List->HeaderRect(index).Left, middle);
    EXPECT_GT(List->HeaderRect(index).Right, middle);
    Key(VK::Up);
    EXPECT_EQ(FocusedRow(), 3);
    EXPECT_EQ(List->FocusedColumnIndex(), index);
}

} // namespace
