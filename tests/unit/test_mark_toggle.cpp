// Marking windows in the main form: a click on a row toggles its mark, a double click once, a
// stray value becomes unmarked, other selected rows keep theirs, and presses off the rows mark
// nothing; Space on the list toggles the focused row's mark as a click does, and no other key
// marks. Rows are 16 pixels high from y 34; the check box image lies at 16..31.
#include "VarnelFixture.h"

#include <gtest/gtest.h>

namespace {

using namespace fw;
using testing_support::VarnelTest;
using varnel::TfVarnel;

class MarkToggleTest : public VarnelTest {
protected:
    void SetUp() override {
        for (const char* caption : {"first", "second", "third"})
            AddWindow(caption);
        CreateMainForm();
        Form->Show();
        Platform.PaintAll();
        ASSERT_EQ(List().NodeCount(), 3);
    }
    dxtl::TdxTreeList& List() { return *Form->tlWinList; }
    dxtl::TdxTreeListNode* Row(int row) { return List().NodeAt(row); }
    TPoint Screen(int x, int y) { return List().ClientToScreen({x, y}); }
    void Click(int x, int y, bool doubleClick = false) {
        Platform.MouseButton(Msg::LButtonDown, Screen(x, y));
        Platform.MouseButton(Msg::LButtonUp, Screen(x, y));
        if (doubleClick) {
            Platform.MouseButton(Msg::LButtonDblClk, Screen(x, y));
            Platform.MouseButton(Msg::LButtonUp, Screen(x, y));
        }
    }
    void ClickBox(int row) { Click(20, 34 + 16 * row + 8); }
    void Key(int key, bool ctrl = false, bool shift = false) {
        Platform.SetKeyDown(VK::Control, ctrl);
        Platform.SetKeyDown(VK::Shift, shift);
        Platform.Send(List().Handle(), Msg::KeyDown, static_cast<std::uintptr_t>(key), 0);
        Platform.SetKeyDown(VK::Control, false);
        Platform.SetKeyDown(VK::Shift, false);
    }
    std::vector<int> Marks() {
        std::vector<int> marks;
        for (int i = 0; i < List().NodeCount(); ++i)
            marks.push_back(Row(i)->ImageIndex());
        return marks;
    }
};

TEST_F(MarkToggleTest, TwoClicksOnARowReturnItsMark) {
    ClickBox(1);
    EXPECT_EQ(Marks(), (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(Row(1)->SelectedIndex(), TfVarnel::kMarked);
    ClickBox(1);
    EXPECT_EQ(Marks(), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(Row(1)->SelectedIndex(), TfVarnel::kUnmarked);
    // A click on the caption cell marks as well.
    Click(200, 34 + 16 * 2 + 8);
    EXPECT_EQ(Marks(), (std::vector<int>{0, 0, 1}));
}

TEST_F(MarkToggleTest, ADoubleClickTogglesOnce) {
    Click(20, 34 + 8, true);
    EXPECT_EQ(Marks(), (std::vector<int>{1, 0, 0}));
}

TEST_F(MarkToggleTest, AStrayValueBecomesUnmarked) {
    Row(2)->SetImageIndex(7);
    ClickBox(2);
    EXPECT_EQ(Row(2)->ImageIndex(), TfVarnel::kUnmarked);
    EXPECT_EQ(Row(2)->SelectedIndex(), TfVarnel::kUnmarked);
}

TEST_F(MarkToggleTest, OtherSelectedRowsKeepTheirMarks) {
    ClickBox(0);
    Platform.SetKeyDown(VK::Control, true);
    ClickBox(2);
    Platform.SetKeyDown(VK::Control, false);
    EXPECT_EQ(List().SelectedCount(), 2);
    EXPECT_EQ(Marks(), (std::vector<int>{1, 0, 1}));
}

TEST_F(MarkToggleTest, PressesOffTheRowsMarkNothing) {
    Click(8, 34 + 16 + 8); // the indent strip left of the check box
    Click(100, 8);         // the band
    Click(100, 25);        // a header
    Click(100, 200);       // below the rows
    Platform.MouseButton(Msg::RButtonDown, Screen(20, 34 + 8));
    Platform.MouseButton(Msg::RButtonUp, Screen(20, 34 + 8));
    EXPECT_EQ(Marks(), (std::vector<int>{0, 0, 0}));
}

TEST_F(MarkToggleTest, AMarkedRowRepaintsWithTheTickedBox) {
    ClickBox(1);
    Platform.PaintAll();
    // The tick: black ink strictly inside the box outline of the second row's image.
    int ink = 0;
    for (int y = 34 + 16 + 2; y < 34 + 16 + 13; ++y)
        for (int x = 18; x < 29; ++x)
            ink += PixelOf(List(), x, y) == 0x000000 ? 1 : 0;
    EXPECT_GT(ink, 5);
}

TEST_F(MarkToggleTest, F2HidesWhatWasMarkedByClicking) {
    ClickBox(1);
    const TWindowHandle second = static_cast<varnel::TWindowObject*>(Row(1)->Data())->Handle;
    Desktop().PressHotKey(0, VK::F2);
    Platform.ProcessPosted();
    EXPECT_FALSE(Desktop().IsVisible(second));
    EXPECT_TRUE(Desktop().IsVisible(static_cast<varnel::TWindowObject*>(Row(0)->Data())->Handle));
}

// --- the keyboard ----------------------------------------------------------------------------

TEST_F(MarkToggleTest, SpaceTogglesTheFocusedRowsMarkAndF2ThenHidesThatWindow) {
    List().SetFocus();
    Key(VK::Down);
    Key(VK::Down);
    Key(VK::Space);
    EXPECT_EQ(Marks(), (std::vector<int>{0, 0, 1}));
    EXPECT_EQ(Row(2)->SelectedIndex(), TfVarnel::kMarked);
    EXPECT_TRUE(List().IsNodeSelected(Row(2)));
    Platform.PaintAll();
    int ink = 0; // the tick in the third row's box
    for (int y = 34 + 32 + 2; y < 34 + 32 + 13; ++y)
        for (int x = 18; x < 29; ++x)
            ink += PixelOf(List(), x, y) == 0x000000 ? 1 : 0;
    EXPECT_GT(ink, 5);
    const TWindowHandle third = static_cast<varnel::TWindowObject*>(Row(2)->Data())->Handle;
    Desktop().PressHotKey(0, VK::F2);
    Platform.ProcessPosted();
    EXPECT_FALSE(Desktop().IsVisible(third));
    EXPECT_TRUE(Desktop().IsVisible(static_cast<varnel::TWindowObject*>(Row(1)->Data())->Handle));
    Desktop().PressHotKey(HotKeyMod::Shift, VK::F2);
    Platform.ProcessPosted();
    Key(VK::Space);
    EXPECT_EQ(Marks(), (std::vector<int>{0, 0, 0}));
}

TEST_F(MarkToggleTest, TheRowTheKeyboardMovesToKeepsItsEmptyBox) {
    List().SetFocus();
    Key(VK::Down);
    Platform.PaintAll();
    ASSERT_TRUE(List().IsNodeSelected(Row(1)));
    // The box outline's corners in the selected second row.
    EXPECT_EQ(PixelOf(List(), 17, 34 + 16 + 1), 0x000000u);
    EXPECT_EQ(PixelOf(List(), 29, 34 + 16 + 13), 0x000000u);
}

TEST_F(MarkToggleTest, OnlySpaceMarksAndCtrlSpaceTogglesTheSelectionAlone) {
    List().SetFocus();
    Key(VK::Space, true); // Ctrl+Space: the selection only
    EXPECT_EQ(Marks(), (std::vector<int>{0, 0, 0}));
    EXPECT_TRUE(List().IsNodeSelected(Row(0)));
    for (int key : {int(VK::Down), int(VK::Return), int(VK::Insert), int('M'), int(VK::End)})
        Key(key);
    Key(VK::Up, false, true);
    EXPECT_EQ(Marks(), (std::vector<int>{0, 0, 0}));
    // Shift+Space marks like Space, and marks only the focused row of a selection.
    Key(VK::Space, false, true);
    EXPECT_EQ(List().SelectedCount(), 2);
    EXPECT_EQ(Marks(), (std::vector<int>{0, 1, 0}));
}

} // namespace
