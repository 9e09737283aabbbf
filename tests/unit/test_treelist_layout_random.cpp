// Random band and column configurations (fixed seeds): every header row fills its band
// exactly, no width is negative, no sizable column is narrower than its minimum while its band
// has room for the row's minimums, and the bands' widths follow the width rules.
#include "test_treelist_layout_support.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

namespace {

using namespace dxtl;
using treelist_testing::TreeListLayoutTest;

class RandomLayouts : public TreeListLayoutTest {
protected:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(Rng); }
    bool Chance(int percent) { return Pick(1, 100) <= percent; }

    void Configure() {
        while (List->ColumnCount() > 0)
            List->Columns(0)->Free();
        List->BeginUpdate();
        List->SetDefaultLayout(false);
        List->SetShowBands(Chance(50));
        List->SetHeaderPanelMaxRowCount(5);
        List->SetHeaderPanelRowCount(Pick(1, 4));
        List->SetOptions(Chance(60) ? List->Options().With(aoAutoWidth)
                                    : List->Options().Without(aoAutoWidth));
        List->SetOptionsEx(Chance(50) ? List->OptionsEx().With(aoBandHeaderWidth)
                                      : List->OptionsEx().Without(aoBandHeaderWidth));
        TdxTreeListBands bands(nullptr);
        const int bandCount = Pick(1, 4);
        for (int b = 0; b < bandCount; ++b) {
            TdxTreeListBand* band = bands.Add();
            band->SetMinWidth(Pick(0, 60));
            band->SetWidth(Pick(0, 300));
            band->SetSizing(Chance(70));
            band->SetVisible(Chance(85));
            if (Chance(10))
                band->SetFixed(Chance(50) ? bfLeft : bfRight);
        }
        List->SetBands(bands);
        const int columnCount = Pick(0, 8);
        for (int c = 0; c < columnCount; ++c) {
            TdxTreeListColumn* column = List->CreateColumn();
            column->SetMinWidth(Pick(0, 50));
            column->SetWidth(Chance(10) ? 0 : Pick(0, 200));
            column->SetSizing(Chance(75));
            column->SetVisible(Chance(85));
            column->SetBandIndex(Pick(-1, bandCount - 1));
            column->SetRowIndex(Pick(0, 3));
        }
        if (Chance(20))
            List->SetDefaultLayout(true);
        List->SetBounds(0, 0, Pick(0, 800), 200);
        List->EndUpdate();
    }

    std::mt19937 Rng;
};

TEST_F(RandomLayouts, RowsFillTheirBandsAndKeepTheMinimumsWhereThereIsRoom) {
    for (unsigned seed = 1; seed <= 1000; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Rng.seed(seed);
        Configure();
        int bandSum = 0;
        int minSum = 0;
        bool anySizable = false;
        for (int p = 0; p < List->VisibleBandCount(); ++p) {
            const int bandWidth = List->BandWidth(p);
            ASSERT_GE(bandWidth, 0);
            bandSum += bandWidth;
            minSum += List->BandMinWidth(p);
            anySizable = anySizable || List->Bands().Items(List->BandAtPosition(p))->Sizing();
            if (!List->Options().Contains(aoAutoWidth)) {
                EXPECT_EQ(bandWidth, List->BandNaturalWidth(p));
            }
            for (int r = 0; r < List->BandRowsUsed(p); ++r) {
                int rowSum = 0;
                int rowMin = 0;
                for (int i = 0; i < List->ColumnsInRow(p, r); ++i) {
                    const int c = List->ColumnAt(p, r, i);
                    ASSERT_GE(List->ColumnWidth(c), 0);
                    rowSum += List->ColumnWidth(c);
                    rowMin += List->ColumnMinWidth(c);
                }
                EXPECT_EQ(rowSum, bandWidth) << "band position " << p << ", row " << r;
                if (bandWidth < rowMin)
                    continue;
                for (int i = 0; i < List->ColumnsInRow(p, r); ++i) {
                    const int c = List->ColumnAt(p, r, i);
                    if (List->Columns(c)->Sizing()) {
                        EXPECT_GE(List->ColumnWidth(c), List->Columns(c)->MinWidth())
                            << "column " << c;
                    }
                }
            }
        }
        EXPECT_EQ(bandSum, List->TotalWidth());
        if (List->Options().Contains(aoAutoWidth) && anySizable) {
            EXPECT_EQ(List->TotalWidth(), std::max(List->ClientWidth(), minSum));
        }
        // Columns that are not shown take no width.
        for (int c = 0; c < List->ColumnCount(); ++c)
            if (!List->IsColumnShown(List->Columns(c))) {
                EXPECT_EQ(List->ColumnWidth(c), 0);
            }
        if (HasFailure())
            break;
    }
}

} // namespace
