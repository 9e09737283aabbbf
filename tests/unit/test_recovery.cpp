// Windows a copy of the program hid and never showed again: the tags the sweeps put on hidden
// windows, what start-up brings back, and the sweeps beside another copy that still runs.
#include "VarnelFixture.h"

#include "app/uHiddenTags.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <random>
#include <set>

namespace {

using namespace fw;
using testing_support::VarnelTest;
using varnel::THiddenTag;
using varnel::THiddenWindowTags;
using varnel::TWindowObject;

class RecoveryTest : public VarnelTest {
protected:
    // Another copy of the program: a process of its own hiding windows as the program does.
    struct TOtherCopy {
        TOtherCopy(headless::HeadlessDesktop& desktop, TProcessIdentity identity)
            : Desktop(desktop), Identity(identity), Tags(desktop, identity) {}
        void Hide(TWindowHandle window) {
            Tags.BeforeHide(window);
            Desktop.ShowWindow(window, SW::Hide);
        }
        headless::HeadlessDesktop& Desktop;
        TProcessIdentity Identity;
        THiddenWindowTags Tags;
    };
    std::unique_ptr<TOtherCopy> StartCopy(std::uint32_t id) {
        return std::make_unique<TOtherCopy>(Desktop(), Desktop().StartProcess(id));
    }

    void Start(const std::vector<TWindowHandle>& marked = {}) {
        CreateMainForm();
        Form->Show();
        for (TWindowHandle window : marked)
            Mark(window);
    }
    std::optional<THiddenTag> TagOf(TWindowHandle window) {
        return THiddenWindowTags(Desktop()).Read(window);
    }
    THiddenTag TagBy(const TProcessIdentity& hider, TWindowHandle window) {
        return {hider, Desktop().Fake(window)->ThreadProcess};
    }
    int ShowCallsTo(TWindowHandle window) {
        int calls = 0;
        for (const auto& call : Desktop().ShowCalls)
            calls += call.Window == window;
        return calls;
    }

    using TfVarnel = varnel::TfVarnel;
};

// --- the sweeps tag what they hide ----------------------------------------------------------

TEST_F(RecoveryTest, F2TagsTheWindowsItHidesAndShiftF2TakesTheTagsOff) {
    const TWindowHandle a = AddWindow("a");
    const TWindowHandle own = AddWindow("hidden by its own program");
    const TWindowHandle unmarked = AddWindow("unmarked");
    Start({a, own});
    Desktop().Fake(own)->Visible = false;
    const TProcessIdentity self = Desktop().CurrentProcess();

    PressF2();
    EXPECT_FALSE(Desktop().IsVisible(a));
    EXPECT_EQ(TagOf(a), TagBy(self, a));
    EXPECT_EQ(TagOf(own), std::nullopt) << "the program did not hide it";
    EXPECT_EQ(TagOf(unmarked), std::nullopt);
    EXPECT_EQ(TagOf(Form->Handle()), std::nullopt) << "the program's own windows die with it";
    EXPECT_EQ(TagOf(Application.Handle()), std::nullopt);

    PressF2(); // hidden already: the tag stays
    EXPECT_EQ(TagOf(a), TagBy(self, a));

    PressShiftF2();
    EXPECT_TRUE(Desktop().IsVisible(a));
    EXPECT_TRUE(Desktop().IsVisible(own));
    EXPECT_EQ(TagOf(a), std::nullopt);
    EXPECT_EQ(TagOf(own), std::nullopt);
}

TEST_F(RecoveryTest, ClosingFatalErrorsAndSessionEndTakeTheTagsOff) {
    const TWindowHandle a = AddWindow("a");
    Start({a});
    PressF2();
    Platform.Send(Application.Handle(), Msg::EndSession, 1, 0);
    EXPECT_EQ(TagOf(a), std::nullopt);
    PressF2();
    EXPECT_TRUE(Platform.SimulateFatalError());
    EXPECT_EQ(TagOf(a), std::nullopt);
    PressF2();
    ASSERT_TRUE(TagOf(a));
    Form->Free();
    EXPECT_TRUE(Desktop().IsVisible(a));
    EXPECT_EQ(TagOf(a), std::nullopt);
}

// A refresh while marked windows are hidden drops their rows (a hidden window is not listed):
// a click on the refresh button still queued when F2 came does that. What the program hid is
// shown all the same, by Shift+F2 and by closing; a window hidden by its own program is not.
TEST_F(RecoveryTest, WhatARefreshDroppedWhileHiddenIsShownAllTheSame) {
    const TWindowHandle a = AddWindow("a");
    const TWindowHandle b = AddWindow("b");
    const TWindowHandle own = AddWindow("hidden by its own program");
    Start({a, b});
    PressF2();
    Form->btnRefreshClick(Form->btnRefresh);
    ASSERT_EQ(NodeOf(a), nullptr);
    Desktop().Fake(own)->Visible = false;
    Desktop().ShowCalls.clear();
    PressShiftF2();
    EXPECT_TRUE(Desktop().IsVisible(a));
    EXPECT_TRUE(Desktop().IsVisible(b));
    EXPECT_FALSE(Desktop().IsVisible(own));
    EXPECT_EQ(TagOf(a), std::nullopt);
    ASSERT_EQ(Desktop().ShowCalls.size(), 4u);
    EXPECT_EQ(Desktop().ShowCalls[2].Window, Form->Handle()) << "the form after the windows";

    Form->btnRefreshClick(Form->btnRefresh);
    Mark(a);
    PressF2();
    Form->btnRefreshClick(Form->btnRefresh);
    Form->Free();
    EXPECT_TRUE(Desktop().IsVisible(a));
}

// A tag's parts read back exactly, whatever the start time's bits (a value of 0 cannot be
// stored as a window property).
TEST_F(RecoveryTest, TagsReadBackExactlyAndAPartialTagIsNone) {
    const TWindowHandle a = AddWindow("a");
    for (const std::uint64_t start :
         {std::uint64_t{0}, std::uint64_t{1}, std::uint64_t{0x7FFFFFFF}, std::uint64_t{0x80000000},
          std::uint64_t{0xFFFFFFFF}, std::uint64_t{133'456'789'012'345'678},
          (std::uint64_t{1} << 62) - 1}) {
        THiddenWindowTags copy(Desktop(), {4242, start});
        copy.BeforeHide(a);
        EXPECT_EQ(TagOf(a), TagBy({4242, start}, a)) << start;
        copy.Remove(a);
        EXPECT_EQ(TagOf(a), std::nullopt);
    }
    for (const std::string_view part :
         {THiddenWindowTags::kHiderIdProperty, THiddenWindowTags::kHiderStartLowProperty,
          THiddenWindowTags::kHiderStartHighProperty, THiddenWindowTags::kWindowThreadProperty,
          THiddenWindowTags::kWindowProcessProperty}) {
        THiddenWindowTags copy(Desktop(), {4242, 99});
        copy.BeforeHide(a);
        Desktop().RemoveProperty(a, part);
        EXPECT_EQ(TagOf(a), std::nullopt) << part;
        copy.Remove(a);
        for (const std::string_view any :
             {THiddenWindowTags::kHiderIdProperty, THiddenWindowTags::kHiderStartLowProperty,
              THiddenWindowTags::kHiderStartHighProperty, THiddenWindowTags::kWindowThreadProperty,
              THiddenWindowTags::kWindowProcessProperty})
            EXPECT_EQ(Desktop().Property(a, any), 0u) << "left behind: " << any;
    }
}

// --- start-up -------------------------------------------------------------------------------

TEST_F(RecoveryTest, StartUpShowsWhatAKilledCopyHidBeforeTheFirstSnapshot) {
    const TWindowHandle a = AddWindow("a");
    const TWindowHandle b = AddWindow("b", true, true); // minimised
    const TWindowHandle own = AddWindow("hidden by its own program", false);
    auto killed = StartCopy(500);
    killed->Hide(a);
    killed->Hide(b);
    Desktop().EndProcess(500);

    bool shownBeforeTheSnapshot = false;
    Desktop().DuringIconQuery = [&](TWindowHandle) {
        if (Desktop().IconQueries == 1)
            shownBeforeTheSnapshot = Desktop().IsVisible(a) && Desktop().IsVisible(b);
    };
    Start();
    Desktop().DuringIconQuery = nullptr;
    EXPECT_TRUE(shownBeforeTheSnapshot);
    EXPECT_TRUE(Desktop().IsIconic(b)) << "a minimised window comes back minimised";
    EXPECT_NE(NodeOf(a), nullptr);
    EXPECT_NE(NodeOf(b), nullptr);
    EXPECT_EQ(TagOf(a), std::nullopt);
    EXPECT_EQ(TagOf(b), std::nullopt);
    EXPECT_FALSE(Desktop().IsVisible(own)) << "an untagged hidden window is not ours to show";
    EXPECT_EQ(Desktop().ShownWaitMs, 0u) << "windows that answer at once need no waiting";
}

TEST_F(RecoveryTest, StartUpLeavesWhatARunningOrUnknownCopyHid) {
    const TWindowHandle a = AddWindow("a");
    const TWindowHandle b = AddWindow("b");
    auto running = StartCopy(500);
    running->Hide(a);
    auto unknown = StartCopy(600);
    unknown->Hide(b);
    Desktop().EndProcess(600);
    Desktop().DenyProcessQuery(600); // maybe it ended, maybe the id is someone else's now
    Desktop().ShowCalls.clear();
    Start();
    EXPECT_FALSE(Desktop().IsVisible(a));
    EXPECT_FALSE(Desktop().IsVisible(b));
    EXPECT_EQ(ShowCallsTo(a) + ShowCallsTo(b), 0);
    EXPECT_EQ(TagOf(a), TagBy(running->Identity, a));
    EXPECT_EQ(TagOf(b), TagBy(unknown->Identity, b));
}

TEST_F(RecoveryTest, AProcessIdUsedAgainDoesNotKeepAWindowHidden) {
    const TWindowHandle a = AddWindow("a");
    const TWindowHandle b = AddWindow("b");
    auto killed = StartCopy(500);
    killed->Hide(a);
    Desktop().EndProcess(500);
    Desktop().StartProcess(500); // another program got the id
    // An earlier process that had this program's id.
    const TProcessIdentity self = Desktop().CurrentProcess();
    TOtherCopy earlier(Desktop(), {self.Id, self.StartTime - 10'000'000});
    earlier.Hide(b);
    Start();
    EXPECT_TRUE(Desktop().IsVisible(a));
    EXPECT_TRUE(Desktop().IsVisible(b));
    EXPECT_EQ(TagOf(a), std::nullopt);
    EXPECT_EQ(TagOf(b), std::nullopt);
}

// A tag is only a hint: the window under it may be another one now, or changed.
TEST_F(RecoveryTest, StartUpSkipsWindowsThatAreNoLongerTheOnesHidden) {
    const TWindowHandle closed = AddWindow("closed");
    const TWindowHandle otherThread = AddWindow("handle of another thread");
    const TWindowHandle owned = AddWindow("owned now");
    const TWindowHandle partial = AddWindow("partly tagged");
    const TWindowHandle shownAgain = AddWindow("shown by its program");
    const TWindowHandle anchor = AddWindow("owner");
    auto killed = StartCopy(500);
    for (TWindowHandle window : {closed, otherThread, owned, partial, shownAgain})
        killed->Hide(window);
    Desktop().Close(closed);
    Desktop().Fake(otherThread)->ThreadProcess = {900, 901};
    Desktop().Fake(owned)->Owner = anchor;
    Desktop().RemoveProperty(partial, THiddenWindowTags::kHiderStartHighProperty);
    Desktop().Fake(shownAgain)->Visible = true;
    Desktop().EndProcess(500);
    Desktop().ShowCalls.clear();
    Start();
    for (TWindowHandle window : {closed, otherThread, owned, partial, shownAgain})
        EXPECT_EQ(ShowCallsTo(window), 0) << window;
    EXPECT_FALSE(Desktop().IsVisible(otherThread));
    EXPECT_FALSE(Desktop().IsVisible(owned));
    EXPECT_FALSE(Desktop().IsVisible(partial));
    EXPECT_EQ(TagOf(shownAgain), std::nullopt) << "the stale tag of a visible window goes";
}

TEST_F(RecoveryTest, AHungWindowHoldsStartUpForOneBoundedWaitOnly) {
    const TWindowHandle hung = AddWindow("hung");
    const TWindowHandle alsoHung = AddWindow("also hung");
    const TWindowHandle fine = AddWindow("fine");
    auto killed = StartCopy(500);
    for (TWindowHandle window : {hung, alsoHung, fine})
        killed->Hide(window);
    Desktop().EndProcess(500);
    Desktop().SetHung(hung, true);
    Desktop().SetHung(alsoHung, true);
    Start();
    EXPECT_EQ(Desktop().ShownWaitMs, THiddenWindowTags::kRecoveryWaitMs);
    EXPECT_NE(NodeOf(fine), nullptr);
    EXPECT_EQ(NodeOf(hung), nullptr) << "not shown yet when the snapshot was taken";
    EXPECT_EQ(TagOf(hung), std::nullopt);
    Desktop().SetHung(hung, false);
    EXPECT_TRUE(Desktop().IsVisible(hung));
}

// --- beside another copy --------------------------------------------------------------------

TEST_F(RecoveryTest, SweepsLeaveWhatAnotherRunningCopyHid) {
    const TWindowHandle a = AddWindow("a");
    const TWindowHandle b = AddWindow("b");
    Start({a, b});
    auto first = StartCopy(500); // the copy that holds the hot keys, say
    first->Hide(a);

    Form->ShowMarkedWindows();
    EXPECT_FALSE(Desktop().IsVisible(a));
    EXPECT_EQ(TagOf(a), TagBy(first->Identity, a));
    Form->HideMarkedWindows();
    EXPECT_EQ(TagOf(a), TagBy(first->Identity, a)) << "hidden already: the first copy's tag stays";
    EXPECT_EQ(TagOf(b), TagBy(Desktop().CurrentProcess(), b));
    Form->Free(); // shows what this copy hid, and only that
    EXPECT_TRUE(Desktop().IsVisible(b));
    EXPECT_FALSE(Desktop().IsVisible(a));
    EXPECT_EQ(TagOf(a), TagBy(first->Identity, a));
}

TEST_F(RecoveryTest, ShiftF2ShowsWhatAnEndedOrUnknownCopyHid) {
    const TWindowHandle a = AddWindow("a");
    const TWindowHandle b = AddWindow("b");
    Start({a, b});
    auto ended = StartCopy(500);
    ended->Hide(a);
    Desktop().EndProcess(500);
    auto unknown = StartCopy(600);
    unknown->Hide(b);
    Desktop().DenyProcessQuery(600);
    PressShiftF2();
    EXPECT_TRUE(Desktop().IsVisible(a));
    EXPECT_TRUE(Desktop().IsVisible(b)) << "asked for by the user, so shown";
    EXPECT_EQ(TagOf(a), std::nullopt);
    EXPECT_EQ(TagOf(b), std::nullopt);
}

// --- soak -----------------------------------------------------------------------------------

// Many hide and show cycles with windows opened and closed between refreshes (some of them
// marked, some hung for a while): unmarked windows are never hidden, marked ones follow every
// key, and in the end nothing is hidden, tagged or leaked.
TEST_F(RecoveryTest, ManyCyclesWithWindowsComingAndGoingLeaveNothingBehind) {
    std::mt19937 random(18);
    std::vector<TWindowHandle> windows;
    for (int i = 0; i < 12; ++i)
        windows.push_back(AddWindow("window " + std::to_string(i)));
    Start();
    Platform.PaintAll();
    const std::size_t iconsAtStart = Platform.LiveIconCount();
    std::set<TWindowHandle> marked;
    int opened = 12;
    for (int cycle = 0; cycle < 1000; ++cycle) {
        if (cycle % 25 == 0) {
            // Between refreshes: one window closes, two open, and the rows are read again.
            const std::size_t gone = random() % windows.size();
            Desktop().Close(windows[gone]);
            marked.erase(windows[gone]);
            windows.erase(windows.begin() + std::ptrdiff_t(gone));
            for (int k = 0; k < 2; ++k)
                windows.push_back(AddWindow("window " + std::to_string(opened++)));
            Form->btnRefreshClick(Form->btnRefresh);
            for (TWindowHandle window : windows)
                if (random() % 3 == 0 && !marked.count(window)) {
                    Mark(window);
                    marked.insert(window);
                }
            Platform.PaintAll();
        }
        const TWindowHandle hung = windows[random() % windows.size()];
        Desktop().SetHung(hung, cycle % 7 == 0);
        PressF2();
        Desktop().SetHung(hung, false);
        for (TWindowHandle window : windows)
            ASSERT_EQ(Desktop().IsVisible(window), !marked.count(window)) << "cycle " << cycle;
        if (cycle % 25 == 12 && !marked.empty()) {
            // A marked window closes while it is hidden.
            const TWindowHandle gone = *marked.begin();
            Desktop().Close(gone);
            marked.erase(gone);
            windows.erase(std::find(windows.begin(), windows.end(), gone));
        }
        PressShiftF2();
        for (TWindowHandle window : windows)
            ASSERT_TRUE(Desktop().IsVisible(window)) << "cycle " << cycle;
    }
    for (TWindowHandle window : Desktop().ZOrder())
        EXPECT_EQ(TagOf(window), std::nullopt) << window;
    Platform.PaintAll();
    EXPECT_EQ(Platform.LiveIconCount(), iconsAtStart);
    EXPECT_GT(marked.size(), 3u);
}

} // namespace
