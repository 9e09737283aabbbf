#include "VarnelFixture.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace fw;
using testing_support::VarnelTest;
using varnel::TfVarnel;

constexpr TColor kPanelColor = 0x00F9FEFF;

TEST_F(VarnelTest, LayoutBuildsEveryControlWithItsBoundsAndColours) {
    TfVarnel* form = CreateMainForm();
    EXPECT_EQ(form->Name(), "fVarnel");
    EXPECT_EQ(form->BoundsRect().Width(), 350);
    EXPECT_EQ(form->BoundsRect().Height(), 300);
    EXPECT_EQ(form->BorderIcons(), unsigned(biSystemMenu | biMinimize));
    EXPECT_EQ(form->Position(), poScreenCenter);
    EXPECT_EQ(form->Color(), clBtnFace);
    EXPECT_EQ(form->Font().Name(), "새굴림");
    EXPECT_EQ(form->Font().Height(), -12);
    EXPECT_EQ(form->Font().Charset(), HANGEUL_CHARSET);

    EXPECT_EQ(form->Panel2->BoundsRect(), (TRect{0, 0, 342, 18}));
    EXPECT_EQ(form->Panel2->Align(), alTop);
    EXPECT_EQ(form->Panel2->Color(), kPanelColor);
    EXPECT_EQ(form->Panel2->BevelOuter(), bvNone);
    EXPECT_EQ(form->Panel1->BoundsRect(), (TRect{0, 18, 342, 273}));
    EXPECT_EQ(form->Panel1->BorderWidth(), 1);
    EXPECT_EQ(form->Panel1->Caption(), "Panel1");
    EXPECT_EQ(form->tlWinList->Parent(), form->Panel1);
    EXPECT_EQ(form->tlWinList->BoundsRect(), (TRect{1, 1, 341, 254}));
    EXPECT_TRUE(bool(form->tlWinList->OnClick));

    struct Expected {
        quol::TQuolButton* Button;
        const char* Caption;
        TRect Bounds;
        TAlign Align;
        int TabOrder;
    };
    const Expected buttons[] = {
        {form->btnRefresh, "다시보기", {0, 0, 52, 18}, alLeft, 0},
        {form->btnHide, "숨기기(F2)", {52, 0, 113, 18}, alLeft, 1},
        {form->btnShow, "보이기(Shift+F2)", {113, 0, 207, 18}, alLeft, 3},
        {form->btnMail, "버그잡아수세요", {219, 0, 305, 18}, alRight, 4},
        {form->btnClose, "종료", {305, 0, 342, 18}, alRight, 2},
    };
    for (const Expected& e : buttons) {
        SCOPED_TRACE(e.Caption);
        EXPECT_EQ(e.Button->Parent(), form->Panel2);
        EXPECT_EQ(e.Button->Caption(), e.Caption);
        EXPECT_EQ(e.Button->BoundsRect(), e.Bounds);
        EXPECT_EQ(e.Button->Align(), e.Align);
        EXPECT_EQ(e.Button->TabOrder(), e.TabOrder);
        EXPECT_EQ(e.Button->Color(), kPanelColor);
        EXPECT_TRUE(e.Button->ParentColor());
        EXPECT_TRUE(e.Button->ParentFont());
        EXPECT_EQ(e.Button->Font().Name(), "새굴림");
        EXPECT_EQ(e.Button->ButtonStyle(), quol::stNone);
        EXPECT_EQ(e.Button->RepeatInterval(), 50);
        EXPECT_EQ(e.Button->HotTrackBGColor(), clBlack);
        EXPECT_TRUE(bool(e.Button->OnClick));
    }
}

TEST_F(VarnelTest, ButtonGroupsStayAtTheirEdgesWhenTheFormGrows) {
    TfVarnel* form = CreateMainForm();
    form->SetBounds(0, 0, 600, 450);
    EXPECT_EQ(form->btnRefresh->Left(), 0);
    EXPECT_EQ(form->btnShow->Left(), 113);
    EXPECT_EQ(form->btnClose->BoundsRect().Right, 592);
    EXPECT_EQ(form->btnMail->BoundsRect().Right, form->btnClose->Left());
    EXPECT_EQ(form->tlWinList->BoundsRect(), (TRect{1, 1, 591, 404}));
}

TEST_F(VarnelTest, CheckImagesArePixelExact) {
    TfVarnel* form = CreateMainForm();
    ASSERT_EQ(form->ImgLstCheck->Count(), 3);
    EXPECT_EQ(form->ImgLstCheck->Width(), 16);
    const TPixelImage& empty = form->ImgLstCheck->Images()[0];
    const TPixelImage& marked = form->ImgLstCheck->Images()[1];
    const std::set<std::pair<int, int>> tick = {
        {10, 3}, {9, 4}, {10, 4}, {4, 5}, {8, 5}, {9, 5}, {10, 5}, {4, 6}, {5, 6}, {7, 6}, {8, 6},
        {9, 6},  {4, 7}, {5, 7},  {6, 7}, {7, 7}, {8, 7}, {5, 8},  {6, 8}, {7, 8}, {6, 9}};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool inBox = x >= 1 && x <= 13 && y >= 1 && y <= 13;
            const bool outline = inBox && (x == 1 || x == 13 || y == 1 || y == 13);
            const std::uint32_t expectedEmpty = !inBox ? 0u : outline ? 0xFF000000u : 0xFFFFFFFFu;
            EXPECT_EQ(empty.At(x, y) >> 24 == 0 ? 0u : empty.At(x, y), expectedEmpty)
                << x << "," << y;
            const std::uint32_t expectedMarked = tick.count({x, y}) ? 0xFF000000u : expectedEmpty;
            EXPECT_EQ(marked.At(x, y) >> 24 == 0 ? 0u : marked.At(x, y), expectedMarked)
                << x << "," << y;
        }
    // The fallback icon: transparent corners, an opaque middle.
    const TPixelImage& fallback = form->ImgLstCheck->Images()[2];
    EXPECT_EQ(fallback.At(0, 0) >> 24, 0u);
    EXPECT_EQ(fallback.At(8, 8) >> 24, 0xFFu);
}

TEST_F(VarnelTest, ButtonsShowTheirCaptionOnThePanelColour) {
    TfVarnel* form = CreateMainForm();
    form->Show();
    Platform.PaintAll();
    // "종료" is two wide characters: 24 x 12 pixels centred in 37 x 18.
    auto& close = WindowOf(*form->btnClose);
    const TColorRef panel = kPanelColor;
    EXPECT_EQ(close.Surface().At(0, 0), panel);
    // The text box starts at (6, 3); its first glyph box at (6 + 1, 3 + 2).
    EXPECT_EQ(close.Surface().At(6, 5), panel);
    EXPECT_EQ(close.Surface().At(7, 4), panel);
    EXPECT_EQ(close.Surface().At(7, 5), Platform.SysColor(SysColor::WindowText));
    EXPECT_EQ(close.Surface().At(30, 9), panel);
}

TEST_F(VarnelTest, ButtonCaptionTurnsBlueUnderTheMouseWithTheHandCursor) {
    TfVarnel* form = CreateMainForm();
    form->Show();
    Platform.PaintAll();
    auto& close = WindowOf(*form->btnClose);
    const TColorRef black = Platform.SysColor(SysColor::WindowText);
    const TColorRef blue = 0xFF0000;
    const TPoint glyphBox{7, 5}; // the first glyph box of "종료", as above
    Platform.MouseMoveTo(form->btnClose->ClientToScreen({2, 2}));
    EXPECT_EQ(close.Surface().At(glyphBox.X, glyphBox.Y), blue);
    EXPECT_EQ(close.Surface().At(0, 0), kPanelColor) << "no border";
    EXPECT_EQ(Platform.CurrentCursor(), quol::kHandCursorSlot);
    // On to the next button: the first one rests again, the next one is hot.
    Platform.MouseMoveTo(form->btnMail->ClientToScreen({2, 2}));
    EXPECT_EQ(close.Surface().At(glyphBox.X, glyphBox.Y), black);
    Platform.MouseMoveTo(form->tlWinList->ClientToScreen({100, 100}));
    EXPECT_EQ(Platform.CurrentCursor(), crArrow);
    for (const TColorRef pixel : WindowOf(*form->btnMail).Surface().Pixels)
        ASSERT_TRUE(pixel == kPanelColor || pixel == black);
}

TEST_F(VarnelTest, StartUpTakesTheSnapshotAndRegistersBothHotKeys) {
    AddWindow("메모장");
    TfVarnel* form = CreateMainForm();
    ASSERT_NE(form->WindowList(), nullptr);
    EXPECT_EQ(form->WindowList()->Owner(), form);
    EXPECT_EQ(form->WindowList()->Count(), 2); // the target and our application window
    ASSERT_NE(form->SavedMarks(), nullptr);
    EXPECT_EQ(form->SavedMarks()->Count(), 0);
    const auto& keys = Desktop().HotKeys();
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].Window, form->Handle());
    EXPECT_EQ(keys[0].Id, 101);
    EXPECT_EQ(keys[0].Modifiers, 0u);
    EXPECT_EQ(keys[0].Key, 0x71u);
    EXPECT_EQ(keys[1].Id, 102);
    EXPECT_EQ(keys[1].Modifiers, 4u);
    EXPECT_EQ(keys[1].Key, 0x71u);
}

TEST_F(VarnelTest, HotKeysHeldByAnotherProgramFailSilently) {
    Desktop().ReserveHotKey(0, VK::F2);
    Desktop().ReserveHotKey(HotKeyMod::Shift, VK::F2);
    TfVarnel* form = CreateMainForm();
    EXPECT_TRUE(Desktop().HotKeys().empty());
    EXPECT_FALSE(Desktop().PressHotKey(0, VK::F2));
    // The buttons still work.
    form->Show();
    Platform.Click(form->btnHide->Handle(), {5, 5});
    EXPECT_FALSE(WindowOf(*form).IsVisible());
    EXPECT_TRUE(Platform.ErrorMessages.empty());
}

TEST_F(VarnelTest, DestroyShowsEverythingThenReleasesKeysAndList) {
    TfVarnel* form = CreateMainForm();
    form->Show();
    const TWindowHandle formHandle = form->Handle();
    const TWindowHandle appHandle = Application.Handle();
    Desktop().PressHotKey(0, VK::F2);
    Platform.ProcessPosted();
    EXPECT_FALSE(WindowOf(*form).IsVisible());
    Desktop().ShowCalls.clear();
    Desktop().HotKeyCalls.clear();
    bool listFreed = false;
    struct Watch : TComponent {
        bool* Flag;
        Watch(TComponent* owner, bool* flag) : TComponent(owner), Flag(flag) {}
        void Notification(TComponent* c, TOperation op) override {
            if (op == opRemove && dynamic_cast<varnel::TWindowList*>(c))
                *Flag = true;
        }
    };
    auto* watch = new Watch(nullptr, &listFreed);
    form->WindowList()->FreeNotification(watch);
    form->Free();
    ASSERT_EQ(Desktop().ShowCalls.size(), 2u);
    EXPECT_EQ(Desktop().ShowCalls[0].Window, formHandle);
    // Nobody was in the form when F2 hid it: shown without taking the activation.
    EXPECT_EQ(Desktop().ShowCalls[0].Command, SW::ShowNA);
    EXPECT_EQ(Desktop().ShowCalls[1].Window, appHandle);
    EXPECT_EQ(Desktop().ShowCalls[1].Command, SW::ShowNA);
    EXPECT_EQ(Desktop().HotKeyCalls,
              (std::vector<std::string>{"unregister 101", "unregister 102"}));
    EXPECT_TRUE(Desktop().HotKeys().empty());
    EXPECT_TRUE(listFreed);
    watch->Free();
}

TEST_F(VarnelTest, HotKeyMessagesHideAndShowOthersAreNotConsumed) {
    TfVarnel* form = CreateMainForm();
    form->Show();
    Desktop().PressHotKey(0, VK::F2);
    Platform.ProcessPosted();
    EXPECT_FALSE(Desktop().IsVisible(form->Handle()));
    EXPECT_FALSE(Desktop().IsVisible(Application.Handle()));
    Desktop().PressHotKey(HotKeyMod::Shift, VK::F2);
    Platform.ProcessPosted();
    EXPECT_TRUE(Desktop().IsVisible(form->Handle()));
    EXPECT_TRUE(Desktop().IsVisible(Application.Handle()));
    Desktop().ShowCalls.clear();
    Platform.Send(form->Handle(), Msg::HotKey, 103, 0);
    EXPECT_TRUE(Desktop().ShowCalls.empty());
}

TEST_F(VarnelTest, CloseButtonEndsTheLoopAndMailButtonOpensTheMailProgram) {
    TfVarnel* form = CreateMainForm();
    form->Show();
    Platform.Click(form->btnMail->Handle(), {5, 5});
    ASSERT_EQ(Desktop().ShellOpened.size(), 1u);
    EXPECT_EQ(Desktop().ShellOpened[0].first, Application.Handle());
    EXPECT_EQ(Desktop().ShellOpened[0].second.rfind("mailto:", 0), 0u);
    EXPECT_LE(Desktop().ShellOpened[0].second.size(), 255u);
    Platform.Click(form->btnClose->Handle(), {5, 5});
    EXPECT_TRUE(Application.Terminated());
}

TEST_F(VarnelTest, AMissingOrBrokenLayoutIsAClearError) {
    fw::headless::HeadlessPlatform platform;
    TApplication app(platform);
    EXPECT_THROW(app.CreateForm<TfVarnel>(), ELayoutError);
    platform.AddResource("TFVARNEL", "object fVarnel: TfVarnel\n  Widht = 3\nend");
    try {
        app.CreateForm<TfVarnel>();
        FAIL() << "no error";
    } catch (const ELayoutError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "TFVARNEL, line 2: fVarnel.Widht: unknown property of TfVarnel");
    }
}

} // namespace
