// A marked window's family (the windows it owns, theirs in turn) goes with it at F2 and comes
// back with it at Shift+F2 in its order; the user lands in the window they left; Varnel comes
// back minimised if it was; a hot key another program holds shows on its button.
#include "VarnelFixture.h"

#include "app/uHiddenTags.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace fw;
using fw::headless::FakeWindow;
using testing_support::VarnelTest;
using varnel::TfVarnel;
using varnel::THiddenWindowTags;
using varnel::TWindowObject;

using Handles = std::vector<TWindowHandle>;

class FamilyTest : public VarnelTest {
protected:
    // A program's main window M with a palette P and a dialog D it owns, and a window N the
    // dialog owns; added in that order, so the Z order is N, D, P, M.
    struct TProgram {
        TWindowHandle Main, Palette, Dialog, Nested;
    };
    TProgram AddProgram(const std::string& name) {
        TProgram p{};
        FakeWindow w;
        w.Text = name;
        w.ThreadProcess = {NextThread, NextThread + 1};
        NextThread += 2;
        p.Main = Desktop().Add(w);
        w.Owner = p.Main;
        w.Text = name + " palette";
        p.Palette = Desktop().Add(w);
        w.Text = name + " dialog";
        p.Dialog = Desktop().Add(w);
        w.Owner = p.Dialog;
        w.Text = name + " nested";
        p.Nested = Desktop().Add(w);
        return p;
    }
    static Handles Family(const TProgram& p) { return {p.Nested, p.Dialog, p.Palette, p.Main}; }

    void Start(const Handles& marked) {
        CreateMainForm();
        Form->Show();
        Desktop().Activate(Form->Handle());
        for (TWindowHandle window : marked)
            Mark(window);
    }
    bool AllVisible(const Handles& windows) {
        return std::all_of(windows.begin(), windows.end(),
                           [&](TWindowHandle w) { return Desktop().IsVisible(w); });
    }
    bool NoneVisible(const Handles& windows) {
        return std::none_of(windows.begin(), windows.end(),
                            [&](TWindowHandle w) { return Desktop().IsVisible(w); });
    }
    // The windows in the desktop's Z order, front first.
    Handles InZOrder(const Handles& windows) {
        Handles ordered;
        for (TWindowHandle w : Desktop().ZOrder())
            if (std::find(windows.begin(), windows.end(), w) != windows.end())
                ordered.push_back(w);
        return ordered;
    }
    int ShowCallsTo(TWindowHandle window) {
        int calls = 0;
        for (const auto& call : Desktop().ShowCalls)
            calls += call.Window == window;
        return calls;
    }
    std::size_t ShowCallIndex(TWindowHandle window, int command) {
        const auto& calls = Desktop().ShowCalls;
        for (std::size_t i = 0; i < calls.size(); ++i)
            if (calls[i].Window == window && calls[i].Command == command)
                return i;
        return calls.size();
    }

    std::uint32_t NextThread = 5000;
};

// --- the family goes and comes back -----------------------------------------------------------

TEST_F(FamilyTest, F2HidesTheVisibleFamilyOfAMarkedWindowOwnedWindowsBeforeTheirOwner) {
    const TProgram marked = AddProgram("marked");
    const TProgram unmarked = AddProgram("unmarked");
    FakeWindow closedBox;
    closedBox.Text = "marked, a dialog its program keeps hidden";
    closedBox.Owner = marked.Main;
    closedBox.Visible = false;
    const TWindowHandle keptHidden = Desktop().Add(closedBox);
    Start({marked.Main});
    // The list stays as it was: owned windows have no rows.
    for (TWindowHandle owned : {marked.Palette, marked.Dialog, marked.Nested, keptHidden})
        EXPECT_EQ(NodeOf(owned), nullptr);

    Desktop().ShowCalls.clear();
    PressF2();
    EXPECT_TRUE(NoneVisible(Family(marked)));
    EXPECT_TRUE(AllVisible(Family(unmarked)));
    EXPECT_EQ(ShowCallsTo(keptHidden), 0) << "only visible owned windows belong to the sweep";
    const std::size_t owner = ShowCallIndex(marked.Main, SW::Hide);
    for (TWindowHandle owned : {marked.Palette, marked.Dialog, marked.Nested})
        EXPECT_LT(ShowCallIndex(owned, SW::Hide), owner) << "a dialog left alone on the screen";
    EXPECT_LT(owner, ShowCallIndex(Form->Handle(), SW::Hide)) << "the form after the windows";

    PressShiftF2();
    EXPECT_TRUE(AllVisible(Family(marked)));
    EXPECT_FALSE(Desktop().IsVisible(keptHidden)) << "Varnel did not hide it";
}

// Nothing on the desktop keeps an owned window in front of its owner (Wine's does not): the show
// sweep puts each window back behind the one it stood behind, whatever moved meanwhile.
TEST_F(FamilyTest, ShiftF2BringsTheFamilyBackInTheOrderItHadOwnedWindowsInFront) {
    const TProgram p = AddProgram("program");
    Start({p.Main});
    ASSERT_EQ(InZOrder(Family(p)), Family(p));
    PressF2();
    // While hidden, the program raises its main window and its palette.
    Desktop().BringToTop(p.Palette);
    Desktop().BringToTop(p.Main);
    ASSERT_NE(InZOrder(Family(p)), Family(p));
    PressShiftF2();
    EXPECT_EQ(InZOrder(Family(p)), Family(p));
}

TEST_F(FamilyTest, ShiftF2ShowsTheOwnerFirstThenItsWindowsBackToFront) {
    const TProgram p = AddProgram("program");
    Start({p.Main});
    PressF2();
    Desktop().ShowCalls.clear();
    PressShiftF2();
    const std::vector<int> shows = {
        int(ShowCallIndex(p.Main, SW::ShowNA)), int(ShowCallIndex(p.Palette, SW::ShowNA)),
        int(ShowCallIndex(p.Dialog, SW::ShowNA)), int(ShowCallIndex(p.Nested, SW::ShowNA))};
    EXPECT_TRUE(std::is_sorted(shows.begin(), shows.end()));
    EXPECT_LT(shows.back(), int(Desktop().ShowCalls.size()));
}

TEST_F(FamilyTest, ADialogClosedWhileHiddenIsNotShownAgain) {
    const TProgram p = AddProgram("program");
    Start({p.Main});
    PressF2();
    Desktop().Close(p.Dialog); // its nested window goes with it
    Desktop().ShowCalls.clear();
    PressShiftF2();
    EXPECT_EQ(ShowCallsTo(p.Dialog), 0);
    EXPECT_EQ(ShowCallsTo(p.Nested), 0);
    EXPECT_TRUE(AllVisible({p.Main, p.Palette}));
    EXPECT_EQ(InZOrder({p.Palette, p.Main}), (Handles{p.Palette, p.Main}));
}

TEST_F(FamilyTest, AHandleReusedWhileHiddenIsNotShown) {
    const TProgram p = AddProgram("program");
    Start({p.Main});
    PressF2();
    Desktop().Close(p.Palette);
    FakeWindow stranger;
    stranger.Text = "another program's hidden window";
    stranger.Visible = false;
    stranger.ThreadProcess = {77, 78};
    Desktop().AddWithHandle(p.Palette, stranger);
    Desktop().ShowCalls.clear();
    PressShiftF2();
    EXPECT_FALSE(Desktop().IsVisible(p.Palette));
    EXPECT_EQ(ShowCallsTo(p.Palette), 0);
    EXPECT_TRUE(AllVisible({p.Main, p.Dialog, p.Nested}));

    // The same thread's new window under the handle, owned by someone else, is another window
    // too.
    PressF2();
    Desktop().Close(p.Nested);
    FakeWindow sameThread;
    sameThread.Text = "the program's new window";
    sameThread.Visible = false;
    sameThread.ThreadProcess = Desktop().Fake(p.Main)->ThreadProcess;
    Desktop().AddWithHandle(p.Nested, sameThread);
    PressShiftF2();
    EXPECT_FALSE(Desktop().IsVisible(p.Nested));
    EXPECT_TRUE(AllVisible({p.Main, p.Dialog}));
}

TEST_F(FamilyTest, AFamilyWhoseOwnerClosedWhileHiddenIsGoneAndTheSweepsGoOn) {
    const TProgram closed = AddProgram("closed");
    const TProgram kept = AddProgram("kept");
    Start({closed.Main, kept.Main});
    PressF2();
    ASSERT_TRUE(NoneVisible(Family(kept)));
    Desktop().Close(closed.Main);
    for (TWindowHandle w : Family(closed))
        ASSERT_FALSE(Desktop().IsWindow(w));
    Desktop().ShowCalls.clear();
    PressShiftF2();
    for (TWindowHandle w : Family(closed))
        EXPECT_EQ(ShowCallsTo(w), 0);
    EXPECT_TRUE(AllVisible(Family(kept)));
    EXPECT_TRUE(Desktop().IsVisible(Form->Handle()));
    PressF2();
    EXPECT_TRUE(NoneVisible(Family(kept)));
}

// A second F2 finds the family hidden already and must not make the first one's record forget
// it.
TEST_F(FamilyTest, F2TwiceStillBringsTheWholeFamilyBack) {
    const TProgram p = AddProgram("program");
    Start({p.Main});
    PressF2();
    PressF2();
    PressShiftF2();
    EXPECT_TRUE(AllVisible(Family(p)));
}

// --- where the user left off ----------------------------------------------------------------

TEST_F(FamilyTest, TheWindowTheUserWasInIsActiveAgainAfterShiftF2) {
    const TProgram p = AddProgram("program");
    const TWindowHandle other = AddWindow("unmarked");
    Start({p.Main});
    Desktop().Click(p.Dialog);
    PressF2();
    EXPECT_NE(Desktop().ForegroundWindow(), p.Dialog);
    Desktop().Click(other);
    PressShiftF2();
    EXPECT_EQ(Desktop().ForegroundWindow(), p.Dialog);
    EXPECT_EQ(InZOrder(Family(p)), Family(p)) << "the activation keeps the family's order";
    EXPECT_EQ(InZOrder({p.Dialog, other}), (Handles{p.Dialog, other}));

    // Once only: a Shift+F2 without F2 takes the user nowhere.
    Desktop().Click(other);
    PressShiftF2();
    EXPECT_EQ(Desktop().ForegroundWindow(), other);
}

TEST_F(FamilyTest, ShiftF2LeavesTheUserInTheUnmarkedProgramTheyWereIn) {
    const TProgram p = AddProgram("program");
    const TWindowHandle other = AddWindow("unmarked");
    Start({p.Main});
    Desktop().Click(other);
    PressF2();
    EXPECT_EQ(Desktop().ForegroundWindow(), other);
    PressShiftF2();
    EXPECT_TRUE(AllVisible(Family(p)));
    EXPECT_EQ(Desktop().ForegroundWindow(), other);
    EXPECT_EQ(Desktop().ZOrder().front(), other) << "nothing restored in front of it";
    EXPECT_TRUE(Desktop().IsVisible(Form->Handle()));
    EXPECT_EQ(InZOrder({other, Form->Handle()}), (Handles{other, Form->Handle()}));
}

// A window manager that activates every window it maps (Wine's desktop does) activates the form
// after the sweep: the activation goes back to where the sweep put it, within a second only.
TEST_F(FamilyTest, AnActivationTheFormGetsAsItIsMappedGoesBack) {
    const TProgram p = AddProgram("program");
    const TWindowHandle other = AddWindow("unmarked");
    Start({p.Main});
    auto mappedWithFocus = [&] {
        Desktop().Activate(Form->Handle());
        Platform.Send(Form->Handle(), Msg::Activate, 1, 0);
        Platform.ProcessPosted();
    };
    Desktop().Click(other);
    PressF2();
    PressShiftF2();
    mappedWithFocus();
    EXPECT_EQ(Desktop().ForegroundWindow(), other);
    mappedWithFocus(); // once only: now it is the user's doing
    EXPECT_EQ(Desktop().ForegroundWindow(), Form->Handle());

    Desktop().Click(p.Dialog);
    PressF2();
    PressShiftF2();
    mappedWithFocus();
    EXPECT_EQ(Desktop().ForegroundWindow(), p.Dialog);

    Desktop().Click(other);
    PressF2();
    PressShiftF2();
    Platform.AdvanceTime(TfVarnel::kGiveBackMs + 1);
    mappedWithFocus();
    EXPECT_EQ(Desktop().ForegroundWindow(), Form->Handle()) << "a second later it is the user";
}

// Hidden from the form (its button, or F2 while it is active), Varnel comes to the front again.
TEST_F(FamilyTest, FromTheFormBackToTheForm) {
    const TProgram p = AddProgram("program");
    Start({p.Main});
    Platform.Click(Form->btnHide->Handle(), {3, 3});
    ASSERT_TRUE(NoneVisible(Family(p)));
    const TWindowHandle other = AddWindow("opened meanwhile");
    Desktop().Click(other);
    PressShiftF2();
    EXPECT_EQ(Desktop().ForegroundWindow(), Form->Handle());
    EXPECT_EQ(ShowCallIndex(Form->Handle(), SW::Show) + 1,
              ShowCallIndex(Application.Handle(), SW::ShowNA));
}

TEST_F(FamilyTest, AMinimisedVarnelStaysMinimised) {
    const TWindowHandle a = AddWindow("a");
    Start({a});
    Platform.Send(Form->Handle(), Msg::SysCommand, SysCmd::Minimize, 0);
    ASSERT_TRUE(Desktop().IsIconic(Application.Handle()));
    ASSERT_FALSE(Desktop().IsVisible(Form->Handle()));
    PressF2();
    EXPECT_FALSE(Desktop().IsVisible(a));
    EXPECT_FALSE(Desktop().IsVisible(Application.Handle()));
    PressShiftF2();
    EXPECT_TRUE(Desktop().IsVisible(a));
    EXPECT_FALSE(Desktop().IsVisible(Form->Handle())) << "popped back on the screen";
    EXPECT_TRUE(Desktop().IsVisible(Application.Handle())) << "its taskbar button is back";
    EXPECT_TRUE(Desktop().IsIconic(Application.Handle()));
    // Restored from the taskbar, the form comes with it.
    Desktop().ShowWindow(Application.Handle(), SW::Restore);
    EXPECT_TRUE(Desktop().IsVisible(Form->Handle()));
}

// --- tags and other copies -----------------------------------------------------------------

TEST_F(FamilyTest, EveryHiddenWindowOfAFamilyIsTaggedWithItsOwner) {
    const TProgram p = AddProgram("program");
    Start({p.Main});
    PressF2();
    THiddenWindowTags tags(Desktop());
    for (TWindowHandle w : Family(p)) {
        const auto tag = tags.Read(w);
        ASSERT_TRUE(tag) << w;
        EXPECT_EQ(tag->HiddenBy, Desktop().CurrentProcess());
        EXPECT_EQ(tag->WindowOwner, Desktop().Owner(w));
    }
    PressShiftF2();
    for (TWindowHandle w : Family(p))
        EXPECT_FALSE(tags.Read(w)) << w;
}

// A refresh while hidden drops the row (a hidden window is not listed): the family comes back
// all the same, in its order.
TEST_F(FamilyTest, AFamilyWhoseRowARefreshDroppedComesBackInItsOrder) {
    const TProgram p = AddProgram("program");
    Start({p.Main});
    PressF2();
    Form->btnRefreshClick(Form->btnRefresh);
    ASSERT_EQ(NodeOf(p.Main), nullptr);
    Desktop().BringToTop(p.Main);
    PressShiftF2();
    EXPECT_TRUE(AllVisible(Family(p)));
    EXPECT_EQ(InZOrder(Family(p)), Family(p));
}

TEST_F(FamilyTest, AKilledCopysFamiliesComeBackAtStartUpOwnedWindowsInFront) {
    const TProgram p = AddProgram("program");
    THiddenWindowTags killed(Desktop(), Desktop().StartProcess(500));
    for (TWindowHandle w : Family(p)) {
        killed.BeforeHide(w);
        Desktop().ShowWindow(w, SW::Hide);
    }
    Desktop().EndProcess(500);
    Desktop().BringToTop(p.Main);
    Start({});
    EXPECT_TRUE(AllVisible(Family(p)));
    EXPECT_EQ(InZOrder(Family(p)), Family(p));
    for (TWindowHandle w : Family(p))
        EXPECT_FALSE(THiddenWindowTags(Desktop()).Read(w)) << w;
}

TEST_F(FamilyTest, ARecoveredDialogWhoseOwnerIsNowAnotherWindowStaysHidden) {
    const TProgram p = AddProgram("program");
    THiddenWindowTags killed(Desktop(), Desktop().StartProcess(500));
    killed.BeforeHide(p.Dialog);
    Desktop().ShowWindow(p.Dialog, SW::Hide);
    Desktop().EndProcess(500);
    Desktop().Fake(p.Dialog)->Owner = p.Palette;
    Start({});
    EXPECT_FALSE(Desktop().IsVisible(p.Dialog));
}

// The other copy holds the hot keys; this one hides with its button. Each copy's families stay
// its own.
TEST_F(FamilyTest, ASecondRunningCopysFamiliesStayItsOwn) {
    const TProgram theirs = AddProgram("theirs");
    const TProgram ours = AddProgram("ours");
    THiddenWindowTags other(Desktop(), Desktop().StartProcess(500));
    for (TWindowHandle w : Family(theirs)) {
        other.BeforeHide(w);
        Desktop().ShowWindow(w, SW::Hide);
    }
    Desktop().Fake(theirs.Main)->Visible = true; // listed, so that this copy can mark it
    Start({theirs.Main, ours.Main});
    Desktop().Fake(theirs.Main)->Visible = false;
    Form->btnHideClick(Form->btnHide);
    EXPECT_TRUE(NoneVisible(Family(ours)));
    Desktop().ShowCalls.clear();
    Form->btnShowClick(Form->btnShow);
    EXPECT_TRUE(AllVisible(Family(ours)));
    EXPECT_TRUE(NoneVisible(Family(theirs)));
    for (TWindowHandle w : Family(theirs))
        EXPECT_EQ(ShowCallsTo(w), 0) << w;
    Form->Free();
    EXPECT_TRUE(NoneVisible(Family(theirs)));
}

// --- a hot key another program holds --------------------------------------------------------

class TakenKeyTest : public FamilyTest {};

TEST_F(TakenKeyTest, AHeldKeyLeavesItsButtonsCaptionAndTheHintSaysWhy) {
    Desktop().ReserveHotKey(0, VK::F2);
    const TWindowHandle a = AddWindow("a");
    Start({a});
    EXPECT_EQ(Form->btnHide->Caption(), "숨기기");
    EXPECT_NE(Form->btnHide->Hint().find("F2"), std::string::npos);
    EXPECT_NE(Form->btnHide->Hint().find("다른 프로그램"), std::string::npos);
    EXPECT_TRUE(Form->btnHide->ShowHint());
    EXPECT_EQ(Form->btnShow->Caption(), "보이기(Shift+F2)") << "Shift+F2 is ours";
    EXPECT_FALSE(Form->btnShow->ShowHint());
    // The buttons still work.
    Platform.Click(Form->btnHide->Handle(), {3, 3});
    EXPECT_FALSE(Desktop().IsVisible(a));
    Form->btnShowClick(Form->btnShow);
    EXPECT_TRUE(Desktop().IsVisible(a));
}

TEST_F(TakenKeyTest, EachHeldKeyShowsOnItsOwnButton) {
    Desktop().ReserveHotKey(HotKeyMod::Shift, VK::F2);
    Start({});
    EXPECT_EQ(Form->btnHide->Caption(), "숨기기(F2)");
    EXPECT_EQ(Form->btnShow->Caption(), "보이기");
    EXPECT_NE(Form->btnShow->Hint().find("Shift+F2"), std::string::npos);
}

TEST_F(TakenKeyTest, ASecondCopyShowsBothKeysTaken) {
    Start({});
    EXPECT_EQ(Form->btnHide->Caption(), "숨기기(F2)");
    EXPECT_EQ(Form->btnShow->Caption(), "보이기(Shift+F2)");
    auto* second = Application.CreateForm<TfVarnel>();
    EXPECT_EQ(second->btnHide->Caption(), "숨기기");
    EXPECT_EQ(second->btnShow->Caption(), "보이기");
    second->Free();
}

} // namespace
