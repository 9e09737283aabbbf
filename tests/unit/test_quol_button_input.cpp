// How a flat button reacts to the mouse, timers, keys and focus: events, clicks, cursor,
// sound, popup menus, repetition, and handlers that free the button.
#include "QuolButtonFixture.h"

#include <gtest/gtest.h>

namespace {

using namespace fw;
using namespace quol;
using testing_support::QuolButtonTest;

class QuolButtonInputTest : public QuolButtonTest {
protected:
    // Records the button's events in order.
    void Watch(TQuolButton* b) {
        b->OnClick = [this](TObject*) { Log.push_back("click"); };
        b->OnMouseOver = [this](TObject*) { Log.push_back("over"); };
        b->OnMouseOut = [this](TObject*) { Log.push_back("out"); };
        b->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int x, int y) {
            Log.push_back("down " + std::to_string(x) + "," + std::to_string(y));
        };
        b->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) {
            Log.push_back("up");
        };
    }
    int Clicks() const { return static_cast<int>(std::count(Log.begin(), Log.end(), "click")); }
    void KeyDown(TWinControl& focused, int key) {
        Platform.Send(focused.Handle(), Msg::KeyDown, static_cast<std::uintptr_t>(key), 0);
    }
    bool Repeating(TQuolButton* b) {
        for (int i = 0; i < b->ComponentCount(); ++i)
            if (auto* timer = dynamic_cast<TTimer*>(b->Components(i)); timer && timer->Enabled())
                return true;
        return false;
    }
    std::vector<std::string> Log;
};

using Events = std::vector<std::string>;

TEST_F(QuolButtonInputTest, HoverShowsTheHandCursorLoadedOnceAndLeavingRestoresTheArrow) {
    TQuolButton* a = MakeButton("a", 10, 10);
    TQuolButton* b = MakeButton("b", 100, 10);
    Watch(a);
    ShowAll();
    MoveTo(*a, 5, 5);
    EXPECT_EQ(Platform.CurrentCursor(), kHandCursorSlot);
    EXPECT_EQ(Platform.CursorTable().at(kHandCursorSlot), "HANDquolb");
    MoveTo(*a, 6, 5); // moving on within the button keeps the hand
    EXPECT_EQ(Platform.CurrentCursor(), kHandCursorSlot);
    MoveAway();
    EXPECT_EQ(Platform.CurrentCursor(), crArrow);
    MoveTo(*b, 5, 5);
    MoveTo(*a, 5, 5);
    EXPECT_EQ(Platform.CurrentCursor(), kHandCursorSlot);
    EXPECT_EQ(Platform.CursorLoads(), 1);
    EXPECT_EQ(Log, (Events{"over", "out", "over"}));

    b->SetCursorHandCustom(false);
    MoveTo(*b, 5, 5);
    EXPECT_EQ(Platform.CurrentCursor(), crArrow);
}

TEST_F(QuolButtonInputTest, HoverSoundPlaysOncePerButtonEnteredWithoutHoldingUpTheLook) {
    TQuolButton* a = MakeButton("a", 10, 10);
    TQuolButton* b = MakeButton("b", 100, 10);
    TQuolButton* quiet = MakeButton("c", 190, 10);
    a->SetPlayMusic(true);
    b->SetPlayMusic(true);
    a->SetButtonStyle(stNone);
    ShowAll();
    // The hover look is on the screen by the time the sound was asked for: the platform's
    // sound call returns at once.
    MoveTo(*a, 5, 5);
    EXPECT_EQ(Platform.SoundsPlayed, (std::vector<std::string>{"PREKO"}));
    EXPECT_TRUE(InkBox(*a, kBlue));
    MoveTo(*a, 8, 5);
    MoveTo(*b, 5, 5);
    MoveTo(*quiet, 5, 5);
    MoveTo(*a, 5, 5);
    EXPECT_EQ(Platform.SoundsPlayed, (std::vector<std::string>{"PREKO", "PREKO", "PREKO"}));
}

TEST_F(QuolButtonInputTest, ClickComesOnReleaseInsideOnly) {
    TQuolButton* b = MakeButton("x");
    Watch(b);
    ShowAll();
    MoveTo(*b, 5, 5);
    Press(*b, 5, 5);
    Release(*b, 5, 5);
    EXPECT_EQ(Log, (Events{"over", "click", "up"})) << "a press raises no OnMouseDown";

    // Press, leave, release outside: no click, no release event.
    Log.clear();
    Press(*b, 5, 5);
    MoveAway();
    Release(*Panel, 290, 140);
    EXPECT_EQ(Log, (Events{"out"}));

    // Press, leave, come back, release: one click.
    Log.clear();
    MoveTo(*b, 5, 5);
    Press(*b, 5, 5);
    MoveAway();
    MoveTo(*b, 6, 6);
    Release(*b, 6, 6);
    EXPECT_EQ(Log, (Events{"over", "out", "over", "click", "up"}));
}

TEST_F(QuolButtonInputTest, DoubleClickRaisesTwoClicks) {
    TQuolButton* b = MakeButton("x");
    Watch(b);
    ShowAll();
    MoveTo(*b, 5, 5);
    Press(*b, 5, 5);
    Release(*b, 5, 5);
    Platform.MouseButton(Msg::LButtonDblClk, b->ClientToScreen({5, 5}));
    Release(*b, 5, 5);
    EXPECT_EQ(Clicks(), 2);
}

TEST_F(QuolButtonInputTest, DisabledButtonRaisesNothing) {
    TQuolButton* b = MakeButton("x");
    Watch(b);
    b->SetEnabled(false);
    ShowAll();
    MoveTo(*b, 5, 5);
    Press(*b, 5, 5);
    Release(*b, 5, 5);
    MoveAway();
    EXPECT_EQ(Log, Events{});
    EXPECT_NE(Platform.CurrentCursor(), kHandCursorSlot);
}

TEST_F(QuolButtonInputTest, HeldForOneSecondRepeatsNineteenTimesThenClicksOnRelease) {
    TQuolButton* b = MakeButton("x");
    b->SetRepeatAction(true);
    Watch(b);
    ShowAll();
    MoveTo(*b, 5, 5);
    Press(*b, 5, 5);
    Platform.AdvanceTime(40);
    EXPECT_EQ(Clicks(), 0) << "nothing before the start delay";
    Platform.AdvanceTime(960);
    EXPECT_EQ(Clicks(), 19);
    Release(*b, 5, 5);
    EXPECT_EQ(Clicks(), 20);
    Platform.AdvanceTime(1000);
    EXPECT_EQ(Clicks(), 20);

    // Leaving stops it; coming back does not start it again.
    Press(*b, 5, 5);
    Platform.AdvanceTime(200);
    EXPECT_EQ(Clicks(), 23);
    MoveAway();
    Platform.AdvanceTime(500);
    EXPECT_EQ(Clicks(), 23);
    EXPECT_FALSE(Repeating(b));
}

TEST_F(QuolButtonInputTest, RepetitionAlwaysEnds) {
    TQuolButton* b = MakeButton("x");
    b->SetRepeatAction(true);
    ShowAll();
    // A handler that disables the button at a limit.
    int clicks = 0;
    b->OnClick = [&](TObject*) {
        if (++clicks == 5)
            b->SetEnabled(false);
    };
    MoveTo(*b, 5, 5);
    Press(*b, 5, 5);
    Platform.AdvanceTime(2000);
    EXPECT_EQ(clicks, 5);
    EXPECT_FALSE(Repeating(b));
    EXPECT_EQ(Platform.CaptureWindow(), 0u);
    Release(*b, 5, 5);
    EXPECT_EQ(clicks, 5);

    // Hidden while held.
    b->SetEnabled(true);
    MoveTo(*b, 6, 6);
    Press(*b, 6, 6);
    Platform.AdvanceTime(120);
    b->Hide();
    const int atHide = clicks;
    Platform.AdvanceTime(500);
    EXPECT_EQ(clicks, atHide);
    EXPECT_EQ(Platform.CaptureWindow(), 0u);

    // The capture taken away (another window grabbed the mouse).
    b->Show();
    MoveTo(*b, 5, 5);
    Press(*b, 5, 5);
    Platform.AdvanceTime(120);
    Platform.ReleaseCapture();
    const int atLoss = clicks;
    Platform.AdvanceTime(500);
    EXPECT_EQ(clicks, atLoss);

    // Freed while held: its timers go with it.
    Press(*b, 5, 5);
    Platform.AdvanceTime(120);
    b->Free();
    Platform.AdvanceTime(500);
    EXPECT_EQ(Platform.CaptureWindow(), 0u);
}

TEST_F(QuolButtonInputTest, EscapeClicksTheCancelButtonUnlessAModifierIsHeld) {
    TQuolButton* ok = MakeButton("OK", 10, 10);
    TQuolButton* cancel = MakeButton("Cancel", 100, 10);
    cancel->SetCancel(true);
    Watch(cancel);
    int okClicks = 0;
    ok->OnClick = [&](TObject*) { ++okClicks; };
    ShowAll();
    Panel->SetFocus();
    KeyDown(*Panel, VK::Escape);
    EXPECT_EQ(Clicks(), 1);
    Platform.SetKeyDown(VK::Control, true);
    KeyDown(*Panel, VK::Escape);
    Platform.SetKeyDown(VK::Control, false);
    Platform.SetKeyDown(VK::Shift, true);
    KeyDown(*Panel, VK::Escape);
    Platform.SetKeyDown(VK::Shift, false);
    EXPECT_EQ(Clicks(), 1);
    // Enter clicks nothing while no button is default or focused.
    KeyDown(*Panel, VK::Return);
    EXPECT_EQ(okClicks, 0);
    cancel->SetEnabled(false);
    KeyDown(*Panel, VK::Escape);
    EXPECT_EQ(Clicks(), 1);
    EXPECT_EQ(okClicks, 0);
}

TEST_F(QuolButtonInputTest, EnterClicksTheFocusedButtonOrElseTheDefaultOne) {
    TQuolButton* a = MakeButton("a", 10, 10);
    TQuolButton* yes = MakeButton("yes", 100, 10);
    yes->SetDefault(true);
    std::string clicked;
    a->OnClick = [&](TObject*) { clicked += "a"; };
    yes->OnClick = [&](TObject*) { clicked += "yes"; };
    ShowAll();
    Panel->SetFocus();
    KeyDown(*Panel, VK::Return);
    EXPECT_EQ(clicked, "yes");
    a->SetFocus();
    KeyDown(*a, VK::Return);
    EXPECT_EQ(clicked, "yesa");
}

TEST_F(QuolButtonInputTest, AcceleratorCharacterClicks) {
    TQuolButton* b = MakeButton("&Retry");
    Watch(b);
    ShowAll();
    Panel->SetFocus();
    Platform.Send(Panel->Handle(), Msg::SysChar, 'r', 0);
    EXPECT_EQ(Clicks(), 1);
    Platform.Send(Panel->Handle(), Msg::Char, 'R', 0);
    EXPECT_EQ(Clicks(), 2);
    Platform.Send(Panel->Handle(), Msg::Char, 'e', 0);
    EXPECT_EQ(Clicks(), 2);
}

TEST_F(QuolButtonInputTest, CloseKindClosesItsFormWithoutOnClickAndHelpKindAsksForHelp) {
    auto* second = Application.CreateForm<TForm>(); // the first form is the main form
    second->SetBounds(0, 0, 200, 100);
    auto* close = new TQuolButton(second);
    close->SetParent(second);
    close->SetButtonKind(skClose);
    Watch(close);
    second->Show();
    Platform.Click(close->Handle(), {5, 5});
    EXPECT_FALSE(second->Visible());
    EXPECT_EQ(Clicks(), 0);

    TQuolButton* help = MakeButton("?");
    help->SetButtonKind(skHelp);
    Watch(help);
    std::vector<int> topics;
    Application.OnHelp = [&](int context) {
        topics.push_back(context);
        return true;
    };
    ShowAll();
    Platform.Click(help->Handle(), {5, 5});
    EXPECT_EQ(Clicks(), 1) << "no help context anywhere: OnClick";
    Panel->SetHelpContext(42);
    Platform.Click(help->Handle(), {5, 5});
    EXPECT_EQ(topics, std::vector<int>{42});
    EXPECT_EQ(Clicks(), 1);
}

TEST_F(QuolButtonInputTest, PopupMenuOpensAtTheChosenEdgeAndTakesThePress) {
    auto* menu = new TPopupMenu(Form);
    menu->Items().push_back({"one", true, false, nullptr});
    TQuolButton* b = MakeButton("x", 40, 30, 60, 20);
    b->SetPopupMenu(menu);
    b->SetRepeatAction(true);
    Watch(b);
    ShowAll();
    const TPoint corner = b->ClientToScreen({0, 0});
    MoveTo(*b, 5, 6);
    Press(*b, 5, 6);
    Release(*b, 5, 6); // the menu's loop took this release on a real desktop
    ASSERT_EQ(Platform.PopupsShown.size(), 1u);
    EXPECT_EQ(Platform.PopupsShown[0].Screen, (TPoint{corner.X - 1, corner.Y + 20}));
    EXPECT_EQ(Platform.PopupsShown[0].Alignment, paLeft);
    EXPECT_EQ(Clicks(), 0);
    EXPECT_EQ(Log.at(1), "down 5,6") << "OnMouseDown once the menu has closed";
    EXPECT_FALSE(Repeating(b));
    // The after-popup look has the caption in the font colour.
    EXPECT_TRUE(InkBox(*b, kBlack));
    EXPECT_FALSE(InkBox(*b, kBlue));

    b->SetPositionPopup(puLeft);
    Press(*b, 5, 6);
    EXPECT_EQ(Platform.PopupsShown[1].Screen, (TPoint{corner.X - 1, corner.Y}));
    EXPECT_EQ(Platform.PopupsShown[1].Alignment, paRight);
    b->SetPositionPopup(puRight);
    Press(*b, 5, 6);
    EXPECT_EQ(Platform.PopupsShown[2].Screen, (TPoint{corner.X + 61, corner.Y}));
    EXPECT_EQ(Platform.PopupsShown[2].Alignment, paLeft);
}

TEST_F(QuolButtonInputTest, HandlersMayFreeTheButton) {
    // A click that frees the button; the release handling after it touches nothing freed
    // (the sanitizers would tell).
    TQuolButton* b = MakeButton("x");
    b->OnClick = [&](TObject*) { b->Free(); };
    ShowAll();
    MoveTo(*b, 5, 5);
    Press(*b, 5, 5);
    const TWindowHandle window = b->Handle();
    Release(*b, 5, 5);
    EXPECT_EQ(Platform.Find(window), nullptr);

    // A menu item that frees the button it was opened from.
    auto* menu = new TPopupMenu(Form);
    TQuolButton* c = MakeButton("y");
    menu->Items().push_back({"free", true, false, [&](TObject*) { c->Free(); }});
    c->SetPopupMenu(menu);
    Platform.PaintAll();
    Platform.NextPopupChoice = 0;
    MoveTo(*c, 5, 5);
    const TWindowHandle popupWindow = c->Handle();
    Press(*c, 5, 5);
    EXPECT_EQ(Platform.Find(popupWindow), nullptr);

    // Escape on a cancel button whose click frees it.
    TQuolButton* d = MakeButton("z");
    d->SetName("d");
    d->SetCancel(true);
    d->OnClick = [&](TObject*) { d->Free(); };
    Panel->SetFocus();
    KeyDown(*Panel, VK::Escape);
    EXPECT_EQ(Form->FindComponent("d"), nullptr);
}

TEST_F(QuolButtonInputTest, CommandNotificationFromItsOwnWindowClicks) {
    TQuolButton* b = MakeButton("x");
    Watch(b);
    ShowAll();
    Platform.Send(b->Handle(), Msg::Command, 0, static_cast<std::intptr_t>(b->Handle()));
    Platform.Send(b->Handle(), Msg::Command, static_cast<std::uintptr_t>(MakeLParam(0, 1)),
                  static_cast<std::intptr_t>(b->Handle()));
    EXPECT_EQ(Clicks(), 1);
}

} // namespace
