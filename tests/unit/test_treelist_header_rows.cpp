// The header rows of a tree list's bands: stacking, spans, compaction, the automatic header
// height and the default layout.
#include "test_treelist_layout_support.h"

#include <gtest/gtest.h>

namespace {

using namespace dxtl;
using fw::TRect;
using treelist_testing::TreeListLayoutTest;

// --- header rows -----------------------------------------------------------------------------

TEST_F(TreeListLayoutTest, HeaderRowsStackAndTheLastUsedRowSpansToTheBottom) {
    MakeWindowList();
    List->SetHeaderPanelRowCount(3);
    Caption->SetRowIndex(1);
    EXPECT_EQ(List->BandRowsUsed(0), 2);
    EXPECT_EQ(List->ColumnsInRow(0, 0), 2);
    EXPECT_EQ(List->ColumnsInRow(0, 1), 1);
    // Row 1 is the last used row: it reaches the panel's bottom (two rows) unless its
    // HeaderMaxLineCount (1 for text columns) limits it.
    EXPECT_EQ(List->HeaderRowSpan(2), 1);
    Caption->SetHeaderMaxLineCount(0);
    EXPECT_EQ(List->HeaderRowSpan(2), 2);
    EXPECT_EQ(List->HeaderRowSpan(0), 1);
    EXPECT_EQ(List->HeaderRect(2), (TRect{0, 17 + 17, 340, 17 + 3 * 17}));
    Caption->SetHeaderMaxLineCount(1);
    EXPECT_EQ(List->HeaderRowSpan(2), 1);
    // The row's only column fills the band; the first row shares it.
    EXPECT_EQ(List->ColumnWidth(2), 340);
    EXPECT_EQ(List->ColumnWidth(0) + List->ColumnWidth(1), 340);
    EXPECT_EQ(List->NodeHeight(List->AddNode()), 3 * 16);
}

TEST_F(TreeListLayoutTest, CompactionNumbersTheUsedRowsWithoutGaps) {
    List->SetHeaderPanelRowCount(3);
    TdxTreeListColumn* a = AddColumn(100);
    TdxTreeListColumn* b = AddColumn(100);
    b->SetRowIndex(2);
    EXPECT_EQ(b->RowIndex(), 1);
    EXPECT_EQ(b->StoredRowIndex(), 1);
    EXPECT_EQ(List->BandRowsUsed(0), 2);
    // A hidden column beyond the used rows goes to the last used one.
    TdxTreeListColumn* hidden = AddColumn(100);
    hidden->SetVisible(false);
    hidden->SetRowIndex(2);
    EXPECT_EQ(hidden->RowIndex(), 1);
    EXPECT_EQ(hidden->StoredRowIndex(), 1);
    // Emptying row 0 moves row 1 up.
    a->SetRowIndex(1);
    EXPECT_EQ(a->RowIndex(), 0);
    EXPECT_EQ(b->RowIndex(), 0);
    EXPECT_EQ(List->BandRowsUsed(0), 1);
    // Fewer header rows clamp the rows.
    b->SetRowIndex(1);
    EXPECT_EQ(b->RowIndex(), 1);
    List->SetHeaderPanelRowCount(1);
    EXPECT_EQ(b->RowIndex(), 0);
    EXPECT_EQ(List->BandRowsUsed(0), 1);
}

TEST_F(TreeListLayoutTest, AutomaticHeaderHeightFollowsTheStoredRows) {
    TdxTreeListColumn* a = AddColumn(100);
    TdxTreeListColumn* b = AddColumn(100);
    // Without it a row beyond the header rows stays in the last one.
    b->SetRowIndex(3);
    EXPECT_EQ(List->HeaderPanelRowCount(), 1);
    EXPECT_EQ(b->RowIndex(), 0);
    EXPECT_EQ(b->StoredRowIndex(), 3);
    // Turning it on takes the highest stored row.
    List->SetOptionsEx(List->OptionsEx().With(aoAutoHeaderPanelHeight));
    EXPECT_EQ(List->HeaderPanelRowCount(), 4);
    EXPECT_TRUE(List->OptionsEx().Contains(aoAutoHeaderPanelHeight));
    // Written rows make room, and the rows are numbered without gaps.
    b->SetRowIndex(3);
    EXPECT_EQ(b->RowIndex(), 1);
    EXPECT_EQ(b->StoredRowIndex(), 1);
    EXPECT_EQ(List->HeaderPanelRowCount(), 2);
    a->SetRowIndex(2);
    EXPECT_EQ(a->RowIndex(), 1);
    EXPECT_EQ(b->RowIndex(), 0);
    EXPECT_EQ(List->HeaderPanelRowCount(), 2);
    EXPECT_TRUE(List->OptionsEx().Contains(aoAutoHeaderPanelHeight));
    // Turned on again it takes the stored rows; without it a band row count change leaves
    // the header rows alone.
    List->SetOptionsEx(List->OptionsEx().Without(aoAutoHeaderPanelHeight));
    List->SetHeaderPanelRowCount(4);
    List->SetOptionsEx(List->OptionsEx().With(aoAutoHeaderPanelHeight));
    EXPECT_EQ(List->HeaderPanelRowCount(), 2);
    List->SetOptionsEx(List->OptionsEx().Without(aoAutoHeaderPanelHeight));
    List->SetHeaderPanelRowCount(4);
    List->SetBandRowCount(2);
    EXPECT_EQ(List->HeaderPanelRowCount(), 4);
}

TEST_F(TreeListLayoutTest, DefaultLayoutGathersEveryColumnInOneBand) {
    List->SetDefaultLayout(false);
    List->SetShowBands(true);
    List->Bands().Add();
    List->Bands().Add();
    List->SetHeaderPanelRowCount(2);
    TdxTreeListColumn* a = AddColumn(100);
    a->SetBandIndex(1);
    TdxTreeListColumn* b = AddColumn(100);
    b->SetBandIndex(2);
    b->SetRowIndex(1);
    List->Bands().Items(0)->SetVisible(false);
    List->SetDefaultLayout(true);
    EXPECT_TRUE(List->DefaultLayout());
    EXPECT_EQ(List->Bands().Count(), 1);
    EXPECT_TRUE(List->Bands().Items(0)->Visible());
    EXPECT_FALSE(List->ShowBands());
    EXPECT_EQ(List->HeaderPanelRowCount(), 1);
    EXPECT_EQ(a->BandIndex(), 0);
    EXPECT_EQ(b->BandIndex(), 0);
    EXPECT_EQ(b->RowIndex(), 0);
    EXPECT_EQ(List->UpdateLockCount(), 0);
    // With no band left, one is made.
    List->SetDefaultLayout(false);
    List->Bands().Clear();
    EXPECT_EQ(a->BandIndex(), -1);
    List->SetDefaultLayout(true);
    EXPECT_EQ(List->Bands().Count(), 1);
    EXPECT_EQ(a->BandIndex(), 0);
}

} // namespace
