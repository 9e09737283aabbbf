#include "HeadlessFixture.h"
#include "framework/Panel.h"
#include "framework/PopupMenu.h"
#include "framework/Timer.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using namespace fw;
using testing_support::HeadlessTest;

class ControlsTest : public HeadlessTest {
protected:
    TForm* MakeForm(int width = 350, int height = 300) {
        auto* form = Application.CreateForm<TForm>();
        form->SetBounds(0, 0, width, height);
        return form;
    }
    // Bounds as left, top, width, height.
    TPanel* MakePanel(TWinControl* parent, TAlign align, TRect bounds) {
        auto* panel = new TPanel(parent);
        panel->SetBounds(bounds.Left, bounds.Top, bounds.Right, bounds.Bottom);
        panel->SetAlign(align);
        panel->SetParent(parent);
        return panel;
    }
};

// --- alignment ---------------------------------------------------------------------------

TEST_F(ControlsTest, FormClientAreaIsOuterSizeLessTheFrame) {
    TForm* form = MakeForm();
    EXPECT_EQ(form->ClientRect(), (TRect{0, 0, 342, 273}));
    form->HandleNeeded();
    EXPECT_EQ(form->ClientRect(), (TRect{0, 0, 342, 273}));
}

TEST_F(ControlsTest, AlignedChildrenShareTheClientAreaInTheUsualOrder) {
    TForm* form = MakeForm();
    // Created in an order that differs from the alignment order on purpose.
    TPanel* client = MakePanel(form, alClient, {0, 18, 342, 273});
    TPanel* bottom = MakePanel(form, alBottom, {0, 0, 10, 20});
    TPanel* top = MakePanel(form, alTop, {0, 0, 10, 18});
    TPanel* left = MakePanel(form, alLeft, {0, 0, 30, 10});
    TPanel* right = MakePanel(form, alRight, {0, 0, 40, 10});
    EXPECT_EQ(top->BoundsRect(), (TRect{0, 0, 342, 18}));
    EXPECT_EQ(bottom->BoundsRect(), (TRect{0, 253, 342, 273}));
    EXPECT_EQ(left->BoundsRect(), (TRect{0, 18, 30, 253}));
    EXPECT_EQ(right->BoundsRect(), (TRect{302, 18, 342, 253}));
    EXPECT_EQ(client->BoundsRect(), (TRect{30, 18, 302, 253}));
}

TEST_F(ControlsTest, ButtonStripKeepsLeftAndRightGroupsWhenTheFormGrows) {
    TForm* form = MakeForm();
    TPanel* strip = MakePanel(form, alTop, {0, 0, 342, 18});
    strip->SetBevelOuter(bvNone);
    // As when a stored layout is loaded: every stored position first, then one layout, so
    // that the stored order of the right-aligned pair decides which one is outermost.
    strip->DisableAlign();
    TPanel* refresh = MakePanel(strip, alLeft, {0, 0, 52, 18});
    TPanel* hide = MakePanel(strip, alLeft, {52, 0, 61, 18});
    TPanel* show = MakePanel(strip, alLeft, {113, 0, 94, 18});
    TPanel* mail = MakePanel(strip, alRight, {219, 0, 86, 18});
    TPanel* close = MakePanel(strip, alRight, {305, 0, 37, 18});
    strip->EnableAlign();
    EXPECT_EQ(refresh->Left(), 0);
    EXPECT_EQ(hide->Left(), 52);
    EXPECT_EQ(show->Left(), 113);
    EXPECT_EQ(mail->Left(), 219);
    EXPECT_EQ(close->Left(), 305);

    form->SetBounds(0, 0, 600, 400);
    EXPECT_EQ(strip->Width(), 592);
    EXPECT_EQ(refresh->Left(), 0);
    EXPECT_EQ(hide->Left(), 52);
    EXPECT_EQ(show->Left(), 113);
    EXPECT_EQ(close->BoundsRect(), (TRect{555, 0, 592, 18}));
    EXPECT_EQ(mail->BoundsRect(), (TRect{469, 0, 555, 18}));
}

TEST_F(ControlsTest, PanelBorderInsetsItsAlignedChildren) {
    TForm* form = MakeForm();
    TPanel* outer = MakePanel(form, alClient, {});
    outer->SetBevelOuter(bvNone);
    outer->SetBorderWidth(1);
    TPanel* inner = MakePanel(outer, alClient, {});
    EXPECT_EQ(outer->BoundsRect(), (TRect{0, 0, 342, 273}));
    EXPECT_EQ(inner->BoundsRect(), (TRect{1, 1, 341, 272}));
    outer->SetBevelOuter(bvRaised);
    EXPECT_EQ(inner->BoundsRect(), (TRect{2, 2, 340, 271}));
}

TEST_F(ControlsTest, HiddenChildrenTakeNoRoom) {
    TForm* form = MakeForm();
    TPanel* top = MakePanel(form, alTop, {0, 0, 10, 30});
    TPanel* client = MakePanel(form, alClient, {});
    EXPECT_EQ(client->Top(), 30);
    top->Hide();
    EXPECT_EQ(client->Top(), 0);
    top->Show();
    EXPECT_EQ(client->Top(), 30);
}

TEST_F(ControlsTest, UserResizeOfTheWindowReachesTheControls) {
    TForm* form = MakeForm();
    TPanel* client = MakePanel(form, alClient, {});
    form->HandleNeeded();
    WindowOf(*form).SetBounds({10, 10, 410, 310});
    EXPECT_EQ(form->Width(), 400);
    EXPECT_EQ(client->BoundsRect(), (TRect{0, 0, 392, 273}));
}

// --- colour and font inheritance -------------------------------------------------------

TEST_F(ControlsTest, ParentColorAndFontFollowTheParentUntilSetLocally) {
    TForm* form = MakeForm();
    TPanel* strip = MakePanel(form, alTop, {0, 0, 10, 18});
    strip->SetColor(0x00F9FEFF);
    auto* child = new TPanel(form);
    child->SetParentColor(true);
    child->SetParent(strip);
    EXPECT_EQ(child->Color(), 0x00F9FEFF);
    strip->SetColor(clRed);
    EXPECT_EQ(child->Color(), clRed);
    child->SetColor(clBlue);
    EXPECT_FALSE(child->ParentColor());
    strip->SetColor(clGreen);
    EXPECT_EQ(child->Color(), clBlue);

    form->Font().SetName("새굴림");
    form->Font().SetHeight(-12);
    EXPECT_TRUE(strip->ParentFont());
    EXPECT_EQ(child->Font().Name(), "새굴림");
    EXPECT_EQ(child->Font().Height(), -12);
    child->Font().SetHeight(-20);
    EXPECT_FALSE(child->ParentFont());
    form->Font().SetHeight(-14);
    EXPECT_EQ(child->Font().Height(), -20);
    EXPECT_EQ(strip->Font().Height(), -14);
}

// --- windows, painting -------------------------------------------------------------------

TEST_F(ControlsTest, ChildWindowsAreCreatedWithTheirParentsAndFollowBounds) {
    MakeForm(); // the main form gets its window at once; this test wants another
    TForm* form = MakeForm();
    TPanel* panel = MakePanel(form, alNone, {5, 6, 50, 40});
    EXPECT_FALSE(panel->HandleAllocated());
    form->HandleNeeded();
    ASSERT_TRUE(panel->HandleAllocated());
    auto& w = WindowOf(*panel);
    EXPECT_EQ(w.ParentHandle(), form->Handle());
    EXPECT_EQ(w.Bounds(), (TRect{5, 6, 55, 46}));
    EXPECT_EQ(w.ClassName(), "TPanel");
    panel->SetBounds(1, 2, 3, 4);
    EXPECT_EQ(w.Bounds(), (TRect{1, 2, 4, 6}));
    panel->Hide();
    EXPECT_FALSE(w.IsVisible());
}

TEST_F(ControlsTest, EraseIsAnsweredWithoutDrawing) {
    TForm* form = MakeForm();
    form->HandleNeeded();
    EXPECT_EQ(Platform.Send(form->Handle(), Msg::EraseBkgnd), 1);
}

TEST_F(ControlsTest, PanelPaintsBevelFaceAndCaptionInsideTheUpdateRegion) {
    TForm* form = MakeForm();
    TPanel* panel = MakePanel(form, alNone, {0, 0, 40, 20});
    panel->SetColor(0x00F9FEFF);
    form->Show();
    Platform.PaintAll();
    const TColorRef white = Platform.SysColor(SysColor::BtnHighlight);
    const TColorRef shadow = Platform.SysColor(SysColor::BtnShadow);
    EXPECT_EQ(PixelOf(*panel, 0, 0), white);
    EXPECT_EQ(PixelOf(*panel, 0, 18), white);
    EXPECT_EQ(PixelOf(*panel, 39, 0), shadow);
    EXPECT_EQ(PixelOf(*panel, 39, 19), shadow);
    EXPECT_EQ(PixelOf(*panel, 0, 19), shadow);
    EXPECT_EQ(PixelOf(*panel, 5, 5), 0x00F9FEFFu);

    // Only the invalid part is painted again.
    panel->SetColor(clRed);
    Platform.PaintAll();
    EXPECT_EQ(PixelOf(*panel, 5, 5), 0x000000FFu);
    auto& w = WindowOf(*panel);
    const int paints = w.PaintCount();
    panel->InvalidateRect({0, 0, 5, 5});
    panel->SetBevelOuter(bvNone); // invalidates all again
    Platform.PaintAll();
    EXPECT_EQ(w.PaintCount(), paints + 1);
    EXPECT_EQ(PixelOf(*panel, 0, 0), 0x000000FFu);
}

TEST_F(ControlsTest, PanelCaptionIsCentredInTheFontColour) {
    TForm* form = MakeForm();
    TPanel* panel = MakePanel(form, alNone, {0, 0, 40, 20});
    panel->SetBevelOuter(bvNone);
    panel->SetColor(clWhite);
    panel->Font().SetHeight(-12);
    panel->Font().SetColor(clBlack);
    panel->SetCaption("ab"); // two narrow characters: 12 pixels wide, 12 high
    form->Show();
    Platform.PaintAll();
    // Text box (14, 4)-(26, 16); each glyph box from (left + 1, top + 2).
    EXPECT_EQ(PixelOf(*panel, 15, 6), 0u);
    EXPECT_EQ(PixelOf(*panel, 14, 6), 0xFFFFFFu);
    EXPECT_EQ(PixelOf(*panel, 21, 6), 0u);
    EXPECT_EQ(PixelOf(*panel, 15, 5), 0xFFFFFFu);
}

// --- forms and the application ----------------------------------------------------------

TEST_F(ControlsTest, ApplicationWindowIsOwnerlessVisibleAndEmpty) {
    auto* w = Platform.Find(Application.Handle());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Kind(), TWindowKind::Application);
    EXPECT_TRUE(w->IsVisible());
    EXPECT_EQ(w->Bounds().Width(), 0);
    EXPECT_EQ(w->Bounds().Height(), 0);
    EXPECT_EQ(Platform.Desktop().Owner(Application.Handle()), 0u);
}

TEST_F(ControlsTest, FirstFormIsMainFormOwnedByTheApplicationWindowAndCentred) {
    TForm* first = MakeForm();
    TForm* second = MakeForm();
    EXPECT_EQ(Application.MainForm(), first);
    first->SetPosition(poScreenCenter);
    first->SetBorderIcons(biSystemMenu | biMinimize);
    first->Show();
    auto& w = WindowOf(*first);
    EXPECT_EQ(Platform.Desktop().Owner(first->Handle()), Application.Handle());
    EXPECT_EQ(w.Bounds(), (TRect{337, 234, 687, 534}));
    EXPECT_TRUE(w.HasMinimizeBox());
    EXPECT_FALSE(w.HasMaximizeBox());
    EXPECT_TRUE(w.IsVisible());
    EXPECT_FALSE(WindowOf(*second).IsVisible());
}

TEST_F(ControlsTest, CreateAndDestroyHandlersRunOnceWhileEverythingExists) {
    std::vector<std::string> log;
    struct LoggingForm : TForm {
        std::vector<std::string>* Log = nullptr;
        TPanel* Panel;
        explicit LoggingForm(TComponent* owner) : TForm(owner) {
            Panel = new TPanel(this);
            Panel->SetParent(this);
        }
    };
    {
        headless::HeadlessPlatform platform;
        auto app = std::make_unique<TApplication>(platform);
        app->Initialize();
        auto* form = app->CreateForm<LoggingForm>();
        form->OnDestroy = [&, form](TObject*) {
            log.push_back("destroy: handle " +
                          std::to_string(platform.Find(form->Handle()) != nullptr) + ", panel " +
                          std::to_string(form->Panel->HandleAllocated()));
        };
        app.reset();
        log.push_back("gone");
    }
    EXPECT_EQ(log, (std::vector<std::string>{"destroy: handle 1, panel 1", "gone"}));
}

TEST_F(ControlsTest, ClosingTheMainFormEndsTheLoopButOtherFormsJustHide) {
    TForm* main = MakeForm();
    TForm* other = MakeForm();
    other->Show();
    other->Close();
    EXPECT_FALSE(other->Visible());
    EXPECT_FALSE(Application.Terminated());

    bool asked = false;
    main->OnCloseQuery = [&](TObject*, bool& canClose) {
        canClose = asked;
        asked = true;
    };
    main->Show();
    Platform.Post(main->Handle(), Msg::Close, 0, 0);
    Platform.ProcessPosted();
    EXPECT_FALSE(Application.Terminated());
    Platform.Post(main->Handle(), Msg::Close, 0, 0);
    Application.Run();
    EXPECT_TRUE(Application.Terminated());
    EXPECT_TRUE(Platform.QuitPosted());
    // The platform must not have destroyed the window on its own.
    EXPECT_NE(Platform.Find(main->Handle()), nullptr);
}

TEST_F(ControlsTest, ErrorsInHandlersAreReportedNotPropagated) {
    TForm* form = MakeForm();
    TPanel* panel = MakePanel(form, alNone, {0, 0, 20, 20});
    panel->OnClick = [](TObject*) { throw std::runtime_error("handler failed"); };
    form->Show();
    Platform.Click(panel->Handle(), {5, 5});
    ASSERT_EQ(Platform.ErrorMessages.size(), 1u);
    EXPECT_EQ(Platform.ErrorMessages[0], "handler failed");
    std::string seen;
    Application.OnException = [&](const std::exception& e) { seen = e.what(); };
    Platform.Click(panel->Handle(), {5, 5});
    EXPECT_EQ(seen, "handler failed");
}

// --- mouse ---------------------------------------------------------------------------

TEST_F(ControlsTest, ClickNeedsPressAndReleaseInsideAndCapturesBetween) {
    TForm* form = MakeForm();
    TPanel* panel = MakePanel(form, alNone, {10, 10, 50, 30});
    std::vector<std::string> log;
    panel->OnClick = [&](TObject*) { log.push_back("click"); };
    panel->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState, int x, int y) {
        log.push_back("down " + std::to_string(b) + " " + std::to_string(x) + "," +
                      std::to_string(y));
    };
    panel->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { log.push_back("up"); };
    form->Show();
    const TPoint inside = panel->ClientToScreen({5, 6});
    const TPoint outside = panel->ClientToScreen({100, 6});

    Platform.MouseMoveTo(inside);
    Platform.MouseButton(Msg::LButtonDown, inside);
    EXPECT_EQ(Platform.CaptureWindow(), panel->Handle());
    Platform.MouseButton(Msg::LButtonUp, inside);
    EXPECT_EQ(Platform.CaptureWindow(), 0u);
    EXPECT_EQ(log, (std::vector<std::string>{"down 0 5,6", "click", "up"}));

    log.clear();
    Platform.MouseButton(Msg::LButtonDown, inside);
    Platform.MouseMoveTo(outside);
    Platform.MouseButton(Msg::LButtonUp, outside); // captured: still reaches the panel
    EXPECT_EQ(log, (std::vector<std::string>{"down 0 5,6", "up"}));

    log.clear();
    Platform.MouseButton(Msg::RButtonDown, inside);
    Platform.MouseButton(Msg::RButtonUp, inside);
    EXPECT_EQ(log, (std::vector<std::string>{"down 1 5,6", "up"}));
}

class EnterLeavePanel : public TPanel {
public:
    using TPanel::TPanel;
    std::vector<std::string> Log;
    void OnEnterMsg(TMessage&) { Log.push_back("enter"); }
    void OnLeaveMsg(TMessage&) { Log.push_back("leave"); }
    FW_DECLARE_MESSAGE_MAP()
};
FW_BEGIN_MESSAGE_MAP(EnterLeavePanel, TPanel)
FW_MESSAGE(Msg::CmMouseEnter, OnEnterMsg)
FW_MESSAGE(Msg::CmMouseLeave, OnLeaveMsg)
FW_END_MESSAGE_MAP()

TEST_F(ControlsTest, MouseEnterAndLeaveAlsoWhileCaptured) {
    TForm* form = MakeForm();
    auto* panel = new EnterLeavePanel(form);
    panel->SetBounds(10, 10, 40, 20);
    panel->SetParent(form);
    form->Show();
    const TPoint inside = panel->ClientToScreen({5, 5});
    const TPoint outside = panel->ClientToScreen({60, 5});
    Platform.MouseMoveTo(inside);
    Platform.MouseMoveTo(panel->ClientToScreen({6, 5}));
    Platform.MouseMoveTo(outside);
    EXPECT_EQ(panel->Log, (std::vector<std::string>{"enter", "leave"}));

    panel->Log.clear();
    Platform.MouseMoveTo(inside);
    Platform.MouseButton(Msg::LButtonDown, inside);
    Platform.MouseMoveTo(outside);
    Platform.MouseMoveTo(inside);
    Platform.MouseButton(Msg::LButtonUp, inside);
    EXPECT_EQ(panel->Log, (std::vector<std::string>{"enter", "leave", "enter"}));
}

TEST_F(ControlsTest, CursorOfTheControlUnderThePointer) {
    TForm* form = MakeForm();
    TPanel* panel = MakePanel(form, alNone, {0, 0, 40, 20});
    panel->SetCursor(crHandPoint);
    form->Show();
    Platform.SetCursor(crArrow);
    Platform.MouseMoveTo(panel->ClientToScreen({3, 3}));
    EXPECT_EQ(Platform.CurrentCursor(), crHandPoint);
}

// --- focus and tab order -------------------------------------------------------------

TEST_F(ControlsTest, FocusMovesWithEnterAndExitEvents) {
    TForm* form = MakeForm();
    TPanel* a = MakePanel(form, alNone, {0, 0, 10, 10});
    TPanel* b = MakePanel(form, alNone, {20, 0, 10, 10});
    std::vector<std::string> log;
    a->OnEnter = [&](TObject*) { log.push_back("enter a"); };
    a->OnExit = [&](TObject*) { log.push_back("exit a"); };
    b->OnEnter = [&](TObject*) { log.push_back("enter b"); };
    form->Show();
    a->SetFocus();
    EXPECT_TRUE(a->Focused());
    b->SetFocus();
    EXPECT_FALSE(a->Focused());
    EXPECT_EQ(log, (std::vector<std::string>{"enter a", "exit a", "enter b"}));
    b->SetEnabled(false);
    EXPECT_FALSE(b->CanFocus());
    EXPECT_THROW(b->SetFocus(), Exception);
}

TEST_F(ControlsTest, TabOrderIsClampedAndDrivesFindNextControl) {
    TForm* form = MakeForm();
    form->Show();
    TPanel* a = MakePanel(form, alNone, {});
    TPanel* b = MakePanel(form, alNone, {});
    TPanel* c = MakePanel(form, alNone, {});
    for (TPanel* p : {a, b, c})
        p->SetTabStop(true);
    c->SetTabOrder(0);
    b->SetTabOrder(99);
    EXPECT_EQ(c->TabOrder(), 0);
    EXPECT_EQ(a->TabOrder(), 1);
    EXPECT_EQ(b->TabOrder(), 2);
    EXPECT_EQ(form->FindNextControl(c, true, true), a);
    EXPECT_EQ(form->FindNextControl(b, true, true), c);
    EXPECT_EQ(form->FindNextControl(c, false, true), b);
    a->SetTabStop(false);
    EXPECT_EQ(form->FindNextControl(c, true, true), b);
}

TEST_F(ControlsTest, TheFocusedFormGivesTheKeyboardToItsLastOrFirstTabStop) {
    TForm* form = MakeForm();
    form->Show();
    TPanel* a = MakePanel(form, alNone, {0, 0, 50, 50});
    TPanel* b = MakePanel(form, alNone, {50, 0, 50, 50});
    TPanel* plain = MakePanel(form, alNone, {100, 0, 50, 50});
    plain->SetTabOrder(0); // first, but no tab stop
    a->SetTabStop(true);
    b->SetTabStop(true);
    form->SetFocus();
    EXPECT_TRUE(a->Focused());
    b->SetFocus();
    EXPECT_EQ(form->ActiveControl(), b);
    form->SetFocus(); // activated again: back to the control that had the keyboard
    EXPECT_TRUE(b->Focused());
    b->Free();
    EXPECT_EQ(form->ActiveControl(), nullptr);
    form->SetFocus();
    EXPECT_TRUE(a->Focused());
}

// Asks for Tab, as a control with tab stops inside it does.
class TTabTakingPanel : public TPanel {
public:
    using TPanel::TPanel;
    int Tabs = 0;

    void WindowProc(TMessage& message) override {
        if (message.Msg == Msg::GetDlgCode) {
            message.Result = DlgCode::WantTab;
            return;
        }
        if (message.Msg == Msg::KeyDown && message.WParam == VK::Tab)
            ++Tabs;
        TPanel::WindowProc(message);
    }
};

TEST_F(ControlsTest, TabAndShiftTabMoveBetweenTabStopsUnlessTheControlTakesTheKey) {
    TForm* form = MakeForm();
    form->Show();
    TPanel* a = MakePanel(form, alNone, {0, 0, 50, 50});
    TPanel* b = MakePanel(form, alNone, {50, 0, 50, 50});
    auto* taker = new TTabTakingPanel(form);
    taker->SetParent(form);
    for (TWinControl* c : std::initializer_list<TWinControl*>{a, b, taker})
        c->SetTabStop(true);
    int keyEvents = 0;
    a->OnKeyDown = [&](TObject*, int&, TShiftState) { ++keyEvents; };
    const auto tab = [&](TWinControl* from, bool shift = false, bool ctrl = false) {
        Platform.SetKeyDown(VK::Shift, shift);
        Platform.SetKeyDown(VK::Control, ctrl);
        Platform.Send(from->Handle(), Msg::KeyDown, VK::Tab, 0);
        Platform.SetKeyDown(VK::Shift, false);
        Platform.SetKeyDown(VK::Control, false);
    };
    a->SetFocus();
    tab(a);
    EXPECT_TRUE(b->Focused());
    tab(b, true);
    EXPECT_TRUE(a->Focused());
    EXPECT_EQ(keyEvents, 0) << "a Tab that moves the focus is no key event";
    tab(a, false, true); // Ctrl+Tab
    EXPECT_TRUE(a->Focused());
    EXPECT_EQ(keyEvents, 1);
    tab(a, true); // backwards past the first: the last
    EXPECT_TRUE(taker->Focused());
    tab(taker);
    EXPECT_TRUE(taker->Focused());
    EXPECT_EQ(taker->Tabs, 1);
}

// --- timers and menus --------------------------------------------------------------------

TEST_F(ControlsTest, TimerFiresAtItsIntervalWhileEnabled) {
    auto* timer = new TTimer(&Application);
    int ticks = 0;
    timer->OnTimer = [&](TObject*) { ++ticks; };
    timer->SetInterval(50);
    Platform.AdvanceTime(49);
    EXPECT_EQ(ticks, 0);
    Platform.AdvanceTime(1);
    EXPECT_EQ(ticks, 1);
    Platform.AdvanceTime(100);
    EXPECT_EQ(ticks, 3);
    timer->SetEnabled(false);
    Platform.AdvanceTime(500);
    EXPECT_EQ(ticks, 3);
    timer->SetEnabled(true);
    timer->SetInterval(0);
    Platform.AdvanceTime(500);
    EXPECT_EQ(ticks, 3);
}

TEST_F(ControlsTest, PopupMenuRunsTheChosenItem) {
    auto* menu = new TPopupMenu(&Application);
    std::string chosen;
    menu->Items().push_back({"열기", true, false, [&](TObject*) { chosen = "open"; }});
    menu->Items().push_back({"-", true, false, nullptr});
    menu->Items().push_back({"닫기", true, false, [&](TObject*) { chosen = "close"; }});
    Platform.NextPopupChoice = 2;
    EXPECT_EQ(menu->Popup(10, 10), 2);
    EXPECT_EQ(chosen, "close");
    EXPECT_EQ(menu->Popup(10, 10), -1);
    ASSERT_EQ(Platform.PopupsShown.size(), 2u);
    EXPECT_EQ(Platform.PopupsShown[0].Items[0].Caption, "열기");
    EXPECT_EQ(Platform.PopupsShown[0].Screen, (TPoint{10, 10}));
}

} // namespace
