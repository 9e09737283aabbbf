// Width sharing on its own, without a list or a form: the weights' zero-divisor rule, the
// remainder that the last member takes, minimums lifted at the others' expense, and random
// bands and header rows (fixed seeds) whose widths fill their room exactly.
#include "treelist/layout/dxTLWidths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace dxtl;

int Sum(const std::vector<int>& widths) {
    return std::accumulate(widths.begin(), widths.end(), 0);
}

bool NoneNegative(const std::vector<int>& widths) {
    return std::all_of(widths.begin(), widths.end(), [](int w) { return w >= 0; });
}

// --- weights --------------------------------------------------------------------------------

TEST(WidthSharing, WeightsAreTheWidthsWithNegativesCountingAsZero) {
    EXPECT_EQ(Weights({3, 0, 5}), (std::vector<int>{3, 0, 5}));
    EXPECT_EQ(Weights({-2, 4}), (std::vector<int>{0, 4}));
}

TEST(WidthSharing, MembersWeighOneEachWhenNoWidthIsPositive) {
    EXPECT_EQ(Weights({0, 0, 0}), (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(Weights({-1, 0}), (std::vector<int>{1, 1}));
    EXPECT_TRUE(Weights({}).empty());
}

// --- the remainder --------------------------------------------------------------------------

TEST(WidthSharing, TheLastMemberTakesWhatTheOthersLeave) {
    std::vector<int> widths{10, 20, 0};
    GiveRemainder(widths, 50);
    EXPECT_EQ(widths, (std::vector<int>{10, 20, 20}));
}

TEST(WidthSharing, WhatTheLastLacksIsTakenBackRightToLeft) {
    std::vector<int> widths{30, 30, 5};
    GiveRemainder(widths, 40);
    EXPECT_EQ(widths, (std::vector<int>{30, 10, 0}));
}

TEST(WidthSharing, RemaindersSumToTheRoomAndNeverGoNegative) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> width(-50, 300);
    std::uniform_int_distribution<int> count(1, 6);
    for (int i = 0; i < 500; ++i) {
        std::vector<int> widths(std::size_t(count(rng)));
        for (int& w : widths)
            w = width(rng);
        const int total = width(rng);
        GiveRemainder(widths, total);
        SCOPED_TRACE("case " + std::to_string(i));
        EXPECT_EQ(Sum(widths), std::max(total, 0));
        EXPECT_TRUE(NoneNegative(widths));
    }
}

// --- minimums -------------------------------------------------------------------------------

TEST(WidthSharing, AMemberBelowItsMinimumIsLiftedByTheMembersThatCanPay) {
    std::vector<int> widths{5, 50};
    LiftToMinimums(widths, {{20, true, true}, {10, true, false}});
    EXPECT_EQ(widths, (std::vector<int>{20, 35}));
}

TEST(WidthSharing, AMemberThatCannotPayKeepsItsWidth) {
    std::vector<int> widths{5, 40, 40};
    LiftToMinimums(widths, {{20, false, true}, {10, false, false}, {30, true, false}});
    EXPECT_EQ(widths, (std::vector<int>{15, 40, 30}));
}

TEST(WidthSharing, ScarceRoomGoesToTheLeftmostMembersThatLackIt) {
    std::vector<int> widths{0, 0, 30};
    LiftToMinimums(widths, {{20, true, true}, {20, true, true}, {25, true, true}});
    EXPECT_EQ(widths, (std::vector<int>{5, 0, 25}));
}

// --- random bands and rows ------------------------------------------------------------------

class RandomWidths : public testing::Test {
protected:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(Rng); }
    bool Chance(int percent) { return Pick(1, 100) <= percent; }

    std::vector<TColumnMeasure> Row() {
        std::vector<TColumnMeasure> row(std::size_t(Pick(1, 5)));
        for (TColumnMeasure& c : row) {
            c.Width = Pick(0, 200);
            c.Sizing = Chance(75);
            c.Min = c.Sizing ? Pick(0, 60) : c.Width;
        }
        return row;
    }

    std::vector<TBandMeasure> Bands() {
        std::vector<TBandMeasure> bands(std::size_t(Pick(1, 4)));
        for (TBandMeasure& b : bands) {
            b.Min = Pick(0, 120);
            b.Natural = b.Min + (Chance(30) ? 0 : Pick(0, 300));
            b.Sizing = Chance(70);
        }
        return bands;
    }

    std::mt19937 Rng;
};

TEST_F(RandomWidths, RowsFillTheirBandAndKeepTheMinimumsWhereThereIsRoom) {
    for (unsigned seed = 1; seed <= 2000; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Rng.seed(seed);
        const std::vector<TColumnMeasure> row = Row();
        const int bandWidth = Pick(0, 600);
        const std::vector<int> widths = DistributeRow(row, bandWidth);
        ASSERT_EQ(widths.size(), row.size());
        EXPECT_EQ(Sum(widths), bandWidth);
        EXPECT_TRUE(NoneNegative(widths));
        int rowMin = 0;
        for (const TColumnMeasure& c : row)
            rowMin += c.Min;
        if (bandWidth >= rowMin)
            for (std::size_t i = 0; i < row.size(); ++i)
                if (row[i].Sizing) {
                    EXPECT_GE(widths[i], row[i].Min) << "column " << i;
                }
        if (HasFailure())
            break;
    }
}

TEST_F(RandomWidths, BandsTakeTheirNaturalWidthsOrShareTheRoomThereIs) {
    for (unsigned seed = 1; seed <= 2000; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Rng.seed(seed);
        const std::vector<TBandMeasure> bands = Bands();
        const bool autoWidth = Chance(60);
        const int available = Pick(0, 900);
        int total = -1;
        const std::vector<int> widths = DistributeBands(bands, autoWidth, available, total);
        ASSERT_EQ(widths.size(), bands.size());
        EXPECT_EQ(Sum(widths), total);
        EXPECT_TRUE(NoneNegative(widths));
        int minSum = 0;
        bool anySizing = false;
        for (const TBandMeasure& b : bands) {
            minSum += b.Min;
            anySizing = anySizing || b.Sizing;
        }
        if (!autoWidth) {
            for (std::size_t i = 0; i < bands.size(); ++i)
                EXPECT_EQ(widths[i], bands[i].Natural) << "band " << i;
        } else if (anySizing) {
            EXPECT_EQ(total, std::max(available, minSum));
        } else {
            EXPECT_EQ(total, minSum);
        }
        if (HasFailure())
            break;
    }
}

TEST(WidthSharing, NoMembersShareNothing) {
    int total = -1;
    EXPECT_TRUE(DistributeBands({}, true, 300, total).empty());
    EXPECT_EQ(total, 0);
    EXPECT_TRUE(DistributeRow({}, 300).empty());
}

} // namespace
