// The window list view (fill, refresh, kept marks) and the hide and show sweeps.
#include "VarnelFixture.h"

#include <gtest/gtest.h>

namespace {

using namespace fw;
using fw::headless::FakeWindow;
using testing_support::VarnelTest;
using varnel::TfVarnel;
using varnel::TWindowObject;

using ShowCallList = std::vector<std::pair<TWindowHandle, int>>;

FakeWindow Titled(std::string text) {
    FakeWindow w;
    w.Text = std::move(text);
    return w;
}

class ViewTest : public VarnelTest {
protected:
    // The main form, shown unless told otherwise, with `marked` marked.
    void Start(const std::vector<TWindowHandle>& marked, bool shown = true) {
        CreateMainForm();
        if (shown)
            Form->Show();
        for (TWindowHandle window : marked)
            Mark(window);
    }
    dxtl::TdxTreeList& List() { return *Form->tlWinList; }
    std::vector<std::string> Captions() {
        std::vector<std::string> result;
        for (int i = 0; i < List().NodeCount(); ++i)
            result.push_back(List().NodeAt(i)->Strings(TfVarnel::kCaptionField));
        return result;
    }
    void Refresh() { Form->btnRefreshClick(Form->btnRefresh); }
    ShowCallList ShowCalls() {
        ShowCallList calls;
        for (const auto& c : Desktop().ShowCalls)
            calls.emplace_back(c.Window, c.Command);
        return calls;
    }
};

// --- fill and refresh ------------------------------------------------------------------

TEST_F(ViewTest, RowsForListedWindowsWithRealCaptionsOnly) {
    AddWindow("메모장");
    AddWindow("");
    AddWindow("   ");
    AddWindow("\t\r\n \x01");
    AddWindow("  leading spaces kept ");
    AddWindow("hidden", false);
    Start({});
    EXPECT_EQ(Captions(), (std::vector<std::string>{"  leading spaces kept ", "메모장"}));
    // Neither the application window nor the main form gets a row.
    EXPECT_EQ(NodeOf(Application.Handle()), nullptr);
    EXPECT_EQ(NodeOf(Form->Handle()), nullptr);
}

TEST_F(ViewTest, NodesPointAtTheWindowListsOwnRecords) {
    const TWindowHandle a = AddWindow("a");
    CreateMainForm();
    auto* node = NodeOf(a);
    ASSERT_NE(node, nullptr);
    bool found = false;
    for (int i = 0; i < Form->WindowList()->Count(); ++i)
        found |= Form->WindowList()->Items(i) == node->Data();
    EXPECT_TRUE(found);
    EXPECT_EQ(node->Strings(0), "");
    EXPECT_EQ(node->Strings(1), "");
    EXPECT_EQ(node->ImageIndex(), 0);
    EXPECT_EQ(node->SelectedIndex(), 0) << "a selected row shows the empty box too";
}

TEST_F(ViewTest, MarksSurviveARefreshByHandleEvenWhenTheOrderChanges) {
    const TWindowHandle a = AddWindow("a");
    const TWindowHandle b = AddWindow("b");
    const TWindowHandle c = AddWindow("c");
    CreateMainForm();
    EXPECT_EQ(Captions(), (std::vector<std::string>{"c", "b", "a"}));
    Mark(a, 1);
    Mark(b, 0);
    Desktop().BringToTop(a);
    const TWindowHandle d = AddWindow("d");
    Refresh();
    EXPECT_EQ(Captions(), (std::vector<std::string>{"d", "a", "c", "b"}));
    EXPECT_EQ(NodeOf(a)->ImageIndex(), 1);
    EXPECT_EQ(NodeOf(a)->SelectedIndex(), 1);
    EXPECT_EQ(NodeOf(b)->ImageIndex(), 0);
    EXPECT_EQ(NodeOf(b)->SelectedIndex(), 0) << "a restored mark 0 is written too";
    EXPECT_EQ(NodeOf(c)->SelectedIndex(), 0);
    EXPECT_EQ(NodeOf(d)->ImageIndex(), 0);
    EXPECT_EQ(NodeOf(d)->SelectedIndex(), 0) << "a window new to the list is unmarked";
}

TEST_F(ViewTest, MarkIsLostWhenTheWindowWasNotListedAtARefresh) {
    const TWindowHandle a = AddWindow("a");
    Start({a}, false);
    Desktop().Fake(a)->Visible = false;
    Refresh();
    EXPECT_EQ(NodeOf(a), nullptr);
    Desktop().Fake(a)->Visible = true;
    Refresh();
    ASSERT_NE(NodeOf(a), nullptr);
    EXPECT_EQ(NodeOf(a)->ImageIndex(), 0);
    EXPECT_EQ(NodeOf(a)->SelectedIndex(), 0);
}

TEST_F(ViewTest, MinimisedWindowsAreListedAndKeepTheirMarks) {
    const TWindowHandle a = AddWindow("minimised", false, true);
    Start({a}, false);
    Refresh();
    EXPECT_EQ(NodeOf(a)->ImageIndex(), 1);
}

TEST_F(ViewTest, SavedLinesFollowDisplayOrderWithUnsignedHandles) {
    const TWindowHandle low = Desktop().AddWithHandle(0x10, Titled("low"));
    const TWindowHandle high = Desktop().AddWithHandle(0xFFFFFFF0u, Titled("high"));
    CreateMainForm();
    Mark(low, 1);
    Mark(high, 7);
    Form->SaveMarks();
    EXPECT_EQ(Form->SavedMarks()->Text(), "4294967280=7\r\n16=1\r\n");
}

// --- sweeps ------------------------------------------------------------------------------

TEST_F(ViewTest, SweepsActOnMarkedWindowsInOrderThenTheFormThenTheApplicationWindow) {
    const TWindowHandle a = AddWindow("a");
    const TWindowHandle b = AddWindow("b");
    const TWindowHandle c = AddWindow("c");
    Start({a, c});
    NodeOf(b)->SetImageIndex(2); // any other value is not marked
    Desktop().ShowCalls.clear();
    Desktop().PressHotKey(0, VK::F2);
    Platform.ProcessPosted();
    EXPECT_EQ(ShowCalls(), (ShowCallList{{c, SW::Hide},
                                         {a, SW::Hide},
                                         {Form->Handle(), SW::Hide},
                                         {Application.Handle(), SW::Hide}}));
    EXPECT_FALSE(Desktop().IsVisible(a));
    EXPECT_TRUE(Desktop().IsVisible(b));
    EXPECT_FALSE(Desktop().IsVisible(Form->Handle()));
    EXPECT_FALSE(Desktop().IsVisible(Application.Handle()));
    EXPECT_TRUE(Form->Visible()) << "the framework's own idea of visibility is left alone";

    Desktop().ShowCalls.clear();
    Desktop().PressHotKey(HotKeyMod::Shift, VK::F2);
    Platform.ProcessPosted();
    // Shown without activation: the user stays in the window they are in.
    EXPECT_EQ(ShowCalls(), (ShowCallList{{c, SW::ShowNA},
                                         {a, SW::ShowNA},
                                         {Form->Handle(), SW::ShowNA},
                                         {Application.Handle(), SW::ShowNA}}));
    EXPECT_TRUE(Desktop().IsVisible(a));
    EXPECT_TRUE(Desktop().IsVisible(Application.Handle()));
}

TEST_F(ViewTest, ButtonsRunTheSameSweeps) {
    const TWindowHandle a = AddWindow("a");
    Start({a});
    Platform.Click(Form->btnHide->Handle(), {3, 3});
    EXPECT_FALSE(Desktop().IsVisible(a));
    Form->btnShowClick(Form->btnShow);
    EXPECT_TRUE(Desktop().IsVisible(a));
}

TEST_F(ViewTest, F2TwiceAndShiftF2WithoutF2) {
    const TWindowHandle a = AddWindow("a");
    const TWindowHandle b = AddWindow("b");
    Start({a, b});
    // Shift+F2 first: a visible window stays, one its own program hid comes back.
    Desktop().Fake(b)->Visible = false;
    Form->ShowMarkedWindows();
    EXPECT_TRUE(Desktop().IsVisible(a));
    EXPECT_TRUE(Desktop().IsVisible(b));
    Form->HideMarkedWindows();
    Form->HideMarkedWindows();
    EXPECT_FALSE(Desktop().IsVisible(a));
    EXPECT_FALSE(Desktop().IsVisible(b));
    Form->ShowMarkedWindows();
    EXPECT_TRUE(Desktop().IsVisible(a));
    // The marks stay as they were.
    EXPECT_EQ(NodeOf(a)->ImageIndex(), 1);
}

TEST_F(ViewTest, MinimisedWindowStaysMinimisedAfterHideAndShow) {
    const TWindowHandle a = AddWindow("a", true, true);
    Start({a}, false);
    Form->HideMarkedWindows();
    EXPECT_FALSE(Desktop().IsVisible(a));
    Form->ShowMarkedWindows();
    EXPECT_TRUE(Desktop().IsVisible(a));
    EXPECT_TRUE(Desktop().IsIconic(a));
}

TEST_F(ViewTest, AReusedHandleOrAClosedWindowIsSkipped) {
    const TWindowHandle reused = AddWindow("old program");
    const TWindowHandle closed = AddWindow("closed");
    const TWindowHandle kept = AddWindow("kept");
    Start({reused, closed, kept}, false);
    Desktop().Close(reused);
    Desktop().Close(closed);
    Desktop().AddWithHandle(reused, Titled("somebody else's window"));
    Desktop().ShowCalls.clear();
    Form->HideMarkedWindows();
    EXPECT_TRUE(Desktop().IsVisible(reused)) << "the new window under the old handle is left alone";
    ASSERT_EQ(Desktop().ShowCalls.size(), 3u);
    EXPECT_EQ(Desktop().ShowCalls[0].Window, kept);
}

TEST_F(ViewTest, HungWindowsDoNotHoldTheSweep) {
    std::vector<TWindowHandle> windows;
    for (int i = 0; i < 50; ++i)
        windows.push_back(AddWindow("window " + std::to_string(i)));
    Start(windows, false);
    for (int i = 0; i < 50; i += 5)
        Desktop().SetHung(windows[static_cast<std::size_t>(i)], true);
    Desktop().ShowCalls.clear();
    Form->HideMarkedWindows();
    // Every window was asked, the form and the application window too.
    EXPECT_EQ(Desktop().ShowCalls.size(), 52u);
    EXPECT_FALSE(Desktop().IsVisible(windows[1]));
    EXPECT_TRUE(Desktop().IsVisible(windows[0])) << "a hung window acts when it answers again";
    Desktop().SetHung(windows[0], false);
    EXPECT_FALSE(Desktop().IsVisible(windows[0]));
}

TEST_F(ViewTest, DestroyShowsEveryMarkedWindowBeforeReleasingTheKeys) {
    const TWindowHandle a = AddWindow("a");
    Start({a});
    Desktop().PressHotKey(0, VK::F2);
    Platform.ProcessPosted();
    EXPECT_FALSE(Desktop().IsVisible(a));
    Desktop().HotKeyCalls.clear();
    Form->Free();
    EXPECT_TRUE(Desktop().IsVisible(a));
    EXPECT_TRUE(Desktop().IsVisible(Application.Handle()));
    EXPECT_EQ(Desktop().HotKeyCalls,
              (std::vector<std::string>{"unregister 101", "unregister 102"}));
    EXPECT_FALSE(Platform.SimulateFatalError()) << "the crash handler goes with the form";
}

TEST_F(ViewTest, SessionEndAndFatalErrorsShowTheMarkedWindows) {
    const TWindowHandle a = AddWindow("a");
    Start({a});
    Form->HideMarkedWindows();
    Platform.Send(Application.Handle(), Msg::QueryEndSession);
    Platform.Send(Application.Handle(), Msg::EndSession, 1, 0);
    EXPECT_TRUE(Desktop().IsVisible(a));

    Form->HideMarkedWindows();
    Platform.Send(Application.Handle(), Msg::EndSession, 0, 0); // the session goes on
    EXPECT_FALSE(Desktop().IsVisible(a));

    EXPECT_TRUE(Platform.SimulateFatalError());
    EXPECT_TRUE(Desktop().IsVisible(a));
}

TEST_F(ViewTest, ClosingAfterAFailedHandlerStillShowsTheWindows) {
    const TWindowHandle a = AddWindow("a");
    Start({a});
    Form->btnMail->OnClick = [](TObject*) { throw std::runtime_error("broken handler"); };
    Platform.Click(Form->btnMail->Handle(), {3, 3});
    EXPECT_EQ(Platform.ErrorMessages.size(), 1u);
    Form->HideMarkedWindows();
    // Closed while hidden, as by another program asking it to close.
    Platform.Post(Form->Handle(), Msg::Close, 0, 0);
    Platform.ProcessPosted();
    EXPECT_TRUE(Application.Terminated());
    Form->Free();
    EXPECT_TRUE(Desktop().IsVisible(a));
}

// --- refresh --------------------------------------------------------------------------------

// The icon queries of a refresh let messages in: a session's end or a fatal error arriving then
// runs the show sweep over the rows made from the old snapshot, which must still be there.
TEST_F(ViewTest, ASweepDuringARefreshsIconQueriesReadsLiveRecords) {
    const TWindowHandle a = AddWindow("a");
    Start({a});
    Form->HideMarkedWindows();
    AddWindow("b"); // a window to ask for its icon
    int sweeps = 0;
    Desktop().DuringIconQuery = [&](TWindowHandle) {
        if (sweeps++ > 0)
            return;
        Platform.Send(Application.Handle(), Msg::EndSession, 1, 0);
        EXPECT_TRUE(Platform.SimulateFatalError());
    };
    Refresh();
    Desktop().DuringIconQuery = nullptr;
    EXPECT_GT(sweeps, 0);
    EXPECT_TRUE(Desktop().IsVisible(a));
}

// The platform hands a closed window's handle to a new one: the new window is not the one the
// user marked.
TEST_F(ViewTest, AWindowThatGotAClosedMarkedWindowsHandleIsNotMarked) {
    const TWindowHandle a = AddWindow("a");
    Start({a});
    Form->SaveMarks();
    Desktop().Close(a);
    FakeWindow reused = Titled("someone else");
    reused.ThreadProcess = {77, 77};
    Desktop().AddWithHandle(a, reused);
    Form->btnRefreshClick(Form->btnRefresh);
    ASSERT_NE(NodeOf(a), nullptr);
    EXPECT_EQ(NodeOf(a)->ImageIndex(), 0);
    Desktop().PressHotKey(0, VK::F2);
    Platform.ProcessPosted();
    EXPECT_TRUE(Desktop().IsVisible(a));
}

} // namespace
