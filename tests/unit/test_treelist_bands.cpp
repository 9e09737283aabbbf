// A tree list's bands: deleting, moving, fixing and assigning them, and where fixed bands lie.
#include "test_treelist_layout_support.h"

#include <gtest/gtest.h>

namespace {

using namespace dxtl;
using fw::TRect;
using treelist_testing::TreeListLayoutTest;

// --- bands -----------------------------------------------------------------------------------

class TreeListBands : public TreeListLayoutTest {
protected:
    TreeListBands() {
        List->SetDefaultLayout(false);
        List->Bands().Items(0)->SetCaption("A");
        List->Bands().Add()->SetCaption("B");
        List->Bands().Add()->SetCaption("C");
        for (int b = 0; b < 3; ++b)
            AddColumn(100)->SetBandIndex(b);
    }
    std::vector<int> BandIndexes() {
        std::vector<int> result;
        for (int c = 0; c < List->ColumnCount(); ++c)
            result.push_back(List->Columns(c)->BandIndex());
        return result;
    }
    std::string Order() {
        std::string order;
        for (int b = 0; b < List->Bands().Count(); ++b)
            order += List->Bands().Items(b)->Caption();
        return order;
    }
};

TEST_F(TreeListBands, DeletingABandRenumbersTheColumns) {
    AddColumn(100)->SetBandIndex(2);
    List->Bands().Delete(1);
    EXPECT_EQ(Order(), "AC");
    EXPECT_EQ(BandIndexes(), (std::vector<int>{0, -1, 1, 1}));
    EXPECT_THROW(List->Bands().Delete(2), fw::EListError);
    // A column without a band is not shown and has no header, but keeps its texts.
    TdxTreeListNode* node = List->AddNode();
    node->SetStrings(1, "kept");
    EXPECT_FALSE(List->IsColumnShown(List->Columns(1)));
    EXPECT_TRUE(List->HeaderRect(1).IsEmpty());
    EXPECT_EQ(List->ColumnWidth(1), 0);
    EXPECT_EQ(List->Columns(1)->DisplayText(node), "kept");
}

// Moving a band, whoever moves it, places its columns at once: headers, cells and hit tests
// follow without waiting for another change.
TEST_F(TreeListBands, AMovedBandsColumnsStandInItsNewPlaceAtOnce) {
    List->SetShowBands(true);
    List->SetBounds(0, 0, 400, 100);
    TdxTreeListNode* node = List->AddNode();
    Form->Show();
    ASSERT_EQ(List->ColumnLeft(0), 0);
    List->Bands().Items(0)->SetIndex(2);
    EXPECT_EQ(List->BandRect(2).Left, 200);
    EXPECT_EQ(List->ColumnLeft(0), 200);
    EXPECT_EQ(List->HeaderRect(0).Left, 200);
    EXPECT_EQ(List->ColumnLeft(1), 0);
    const TRect row = List->NodeRowRect(node);
    EXPECT_EQ(List->HitTest(250, row.Top + 2).ColumnIndex, 0);
    EXPECT_EQ(List->HitTest(50, row.Top + 2).ColumnIndex, 1);
    EXPECT_EQ(List->HitTest(250, List->HeaderRect(0).Top + 2).ColumnIndex, 0);
}

TEST_F(TreeListBands, MovingABandKeepsEveryColumnWithItsBand) {
    List->Bands().Items(0)->SetIndex(2);
    EXPECT_EQ(Order(), "BCA");
    EXPECT_EQ(BandIndexes(), (std::vector<int>{2, 0, 1}));
    List->Bands().Items(2)->SetIndex(-5);
    EXPECT_EQ(Order(), "ABC");
    EXPECT_EQ(BandIndexes(), (std::vector<int>{0, 1, 2}));
    List->Bands().Items(1)->SetIndex(99);
    EXPECT_EQ(Order(), "ACB");
    EXPECT_EQ(BandIndexes(), (std::vector<int>{0, 2, 1}));
}

TEST_F(TreeListBands, FixedBandsTakeTheEndsOnePerSide) {
    TdxTreeListBand* c = List->Bands().Items(2);
    c->SetFixed(bfLeft);
    EXPECT_EQ(Order(), "CAB");
    EXPECT_EQ(BandIndexes(), (std::vector<int>{1, 2, 0}));
    // A fixed band keeps its place and no other band passes it.
    c->SetIndex(2);
    EXPECT_EQ(Order(), "CAB");
    List->Bands().Items(2)->SetIndex(0);
    EXPECT_EQ(Order(), "CBA");
    // One band per side.
    TdxTreeListBand* a = List->Bands().Items(2);
    a->SetFixed(bfLeft);
    EXPECT_EQ(Order(), "ACB");
    EXPECT_EQ(c->Fixed(), bfNone);
    c->SetFixed(bfRight);
    EXPECT_EQ(Order(), "ABC");
    EXPECT_EQ(BandIndexes(), (std::vector<int>{0, 1, 2}));
    // A new band goes before the one fixed right.
    List->Bands().Add()->SetCaption("D");
    EXPECT_EQ(Order(), "ABDC");
    EXPECT_EQ(BandIndexes(), (std::vector<int>{0, 1, 3}));
    // A hidden band is never fixed.
    c->SetVisible(false);
    EXPECT_EQ(c->Fixed(), bfNone);
    c->SetFixed(bfLeft);
    EXPECT_EQ(c->Fixed(), bfNone);
    EXPECT_EQ(Order(), "ABDC");
}

TEST_F(TreeListBands, FixedBandsStayAtTheEdgesSetOffByTheirLine) {
    List->SetShowBands(true);
    List->SetOptionsEx(List->OptionsEx().Without(aoBandHeaderWidth));
    List->SetBounds(0, 0, 400, 100);
    for (int b = 0; b < 3; ++b)
        List->Bands().Items(b)->SetWidth(100);
    List->Bands().Items(0)->SetFixed(bfLeft);
    List->Bands().Items(2)->SetFixed(bfRight);
    // All fit: the right band still stands at the right edge; the room between is empty.
    EXPECT_EQ(List->BandRect(0).Left, 0);
    EXPECT_EQ(List->BandRect(1).Left, 102);
    EXPECT_EQ(List->BandRect(2).Left, 300);
    EXPECT_EQ(List->HeaderRect(2).Left, 300);
    // Too narrow: the right band is pinned to the right edge.
    List->SetBounds(0, 0, 250, 100);
    EXPECT_EQ(List->BandRect(2), (TRect{150, 0, 250, 17 + 1}));
}

TEST_F(TreeListBands, AssigningBandsCopiesNumberAndProperties) {
    TdxTreeListBands other(nullptr);
    TdxTreeListBand* x = other.Add();
    x->SetCaption("X");
    x->SetWidth(120);
    x->SetAlignment(fw::taRightJustify);
    other.Add()->SetVisible(false);
    List->SetBands(other);
    EXPECT_EQ(List->Bands().Count(), 2);
    EXPECT_EQ(List->Bands().Items(0)->Caption(), "X");
    EXPECT_EQ(List->Bands().Items(0)->Width(), 120);
    EXPECT_EQ(List->Bands().Items(0)->Alignment(), fw::taRightJustify);
    EXPECT_FALSE(List->Bands().Items(1)->Visible());
    EXPECT_EQ(BandIndexes(), (std::vector<int>{0, 1, -1}));
    EXPECT_EQ(List->UpdateLockCount(), 0);
}

} // namespace
