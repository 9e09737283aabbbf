#include "HeadlessFixture.h"
#include "windowlist/uWindowList.h"

#include <gtest/gtest.h>

namespace {

using namespace fw;
using fw::headless::FakeWindow;
using testing_support::HeadlessTest;
using varnel::TWindowList;
using varnel::TWindowObject;

class WindowListTest : public HeadlessTest {
protected:
    std::vector<TWindowHandle> Handles(const TWindowList& list) {
        std::vector<TWindowHandle> result;
        for (int i = 0; i < list.Count(); ++i)
            result.push_back(list.Items(i)->Handle);
        return result;
    }
    // The application window is a listed window of its own; tests about other windows
    // look past it.
    std::vector<TWindowHandle> OtherHandles(const TWindowList& list) {
        auto all = Handles(list);
        std::erase(all, Application.Handle());
        return all;
    }
};

TEST_F(WindowListTest, ListsOwnerlessVisibleOrMinimisedWindowsInZOrder) {
    const TWindowHandle plain = AddWindow("plain");
    AddWindow("dialog", true, false, plain);
    AddWindow("hidden", false);
    const TWindowHandle minimisedHidden = AddWindow("minimised", false, true);
    const TWindowHandle top = AddWindow("top");
    auto* list = new TWindowList(&Application);
    EXPECT_EQ(OtherHandles(*list), (std::vector<TWindowHandle>{top, minimisedHidden, plain}));
    EXPECT_TRUE(list->Items(1)->Iconic);
    EXPECT_FALSE(list->Items(1)->Visible);
}

TEST_F(WindowListTest, EmptyDesktopButForTheApplicationWindow) {
    auto* list = new TWindowList(&Application);
    // Only our own application window: owner-less and visible with zero size.
    ASSERT_EQ(list->Count(), 1);
    EXPECT_EQ(list->Items(0)->Handle, Application.Handle());
    Desktop().ShowWindow(Application.Handle(), SW::Hide);
    list->Refresh();
    EXPECT_EQ(list->Count(), 0);
}

TEST_F(WindowListTest, OwnMainFormIsNeverListedSinceTheApplicationWindowOwnsIt) {
    auto* form = Application.CreateForm<TForm>();
    form->Show();
    auto* list = new TWindowList(&Application);
    EXPECT_EQ(Handles(*list), std::vector<TWindowHandle>{Application.Handle()});
}

TEST_F(WindowListTest, RecordFieldsOfToolAndAppWindowsAndBlankCaptions) {
    FakeWindow tool;
    tool.Text = "   ";
    tool.ExStyle = WSEx::ToolWindow;
    tool.SmallIcon = 0x1234;
    const TWindowHandle toolHandle = Desktop().Add(tool);
    FakeWindow app;
    app.ExStyle = WSEx::AppWindow;
    app.Owner = headless::HeadlessDesktop::kDesktopWindow;
    const TWindowHandle appHandle = Desktop().Add(app);
    auto* list = new TWindowList(&Application);
    auto all = OtherHandles(*list);
    // Owned by the desktop window is still owned: not listed.
    EXPECT_EQ(all, std::vector<TWindowHandle>{toolHandle});

    Desktop().Fake(appHandle)->Owner = 0;
    list->Refresh();
    TWindowObject a, t;
    list->GetItem(0, a);
    list->GetItem(1, t);
    EXPECT_EQ(a.Handle, appHandle);
    EXPECT_TRUE(a.AppWindow);
    EXPECT_FALSE(a.ToolWindow);
    EXPECT_TRUE(a.Unowned);
    EXPECT_FALSE(a.DesktopOwned);
    EXPECT_EQ(a.Caption, "");
    EXPECT_EQ(a.SmallIcon, 0u);
    EXPECT_TRUE(t.ToolWindow);
    EXPECT_EQ(t.Caption, "   ");
    EXPECT_EQ(t.SmallIcon, 0x1234u);
    EXPECT_EQ(t.Owner, Desktop().WindowThreadProcess(toolHandle));
}

TEST_F(WindowListTest, LongCaptionsKeepTheirFirst254CharactersWhole) {
    AddWindow(std::string(300, 'x'));
    std::string korean;
    for (int i = 0; i < 300; ++i)
        korean += "한";
    AddWindow(korean);
    auto* list = new TWindowList(&Application);
    EXPECT_EQ(list->Items(0)->Caption.size(), 254u * 3u);
    EXPECT_EQ(list->Items(0)->Caption.substr(0, 3), "한");
    EXPECT_EQ(list->Items(1)->Caption, std::string(254, 'x'));
}

TEST_F(WindowListTest, HungWindowCostsOneBoundedWaitAndHasNoIcon) {
    FakeWindow hung;
    hung.Text = "hung";
    hung.SmallIcon = 0x777;
    hung.Hung = true;
    Desktop().Add(hung);
    FakeWindow hiddenHung = hung;
    hiddenHung.Visible = false;
    Desktop().Add(hiddenHung);
    auto* list = new TWindowList(&Application);
    ASSERT_EQ(OtherHandles(*list).size(), 1u);
    EXPECT_EQ(list->Items(0)->SmallIcon, 0u);
    // The hidden hung window is not listed and so is not asked at all.
    EXPECT_EQ(Desktop().IconWaitMs, TWindowList::kSmallIconWaitMs);
    static_assert(TWindowList::kSmallIconWaitMs <= 100u);
}

TEST_F(WindowListTest, RefreshFollowsTheDesktopAndFreesOldRecords) {
    const TWindowHandle a = AddWindow("a");
    const TWindowHandle b = AddWindow("b");
    auto* list = new TWindowList(&Application);
    EXPECT_EQ(OtherHandles(*list), (std::vector<TWindowHandle>{b, a}));
    Desktop().Close(b);
    const TWindowHandle c = AddWindow("c");
    Desktop().BringToTop(a);
    list->Refresh();
    EXPECT_EQ(OtherHandles(*list), (std::vector<TWindowHandle>{a, c}));
    EXPECT_EQ(list->Count(), 3);
}

TEST_F(WindowListTest, IndexErrorsNameTheIndex) {
    AddWindow("a");
    auto* list = new TWindowList(&Application);
    TWindowObject record;
    for (int bad : {-1, list->Count()}) {
        try {
            list->GetItem(bad, record);
            FAIL() << "no error for " << bad;
        } catch (const EListError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "List index out of bounds (" + std::to_string(bad) + ")");
        }
        EXPECT_THROW(list->Items(bad), EListError);
    }
}

TEST_F(WindowListTest, DesignStateTakesNoSnapshotUntilRefresh) {
    AddWindow("a");
    auto* designer = new TComponent(&Application);
    designer->SetDesigning(true);
    auto* list = new TWindowList(designer);
    EXPECT_EQ(list->Count(), 0);
    EXPECT_THROW(list->Items(0), EListError);
    list->Refresh();
    EXPECT_EQ(list->Count(), 2);
}

} // namespace
