// Width sharing: how a band's width is shared among the columns of a header row, and the room
// among the visible bands, in proportion to weights, with remainders and minimums. Plain
// functions of numbers; the layout (BuildLayout) measures the bands and columns and calls them.
#pragma once

#include <vector>

namespace dxtl {

// Widths are shared out in proportion to weights. Zero-divisor rule: when every weight of a
// distribution is 0 (all columns of a row with Width 0, visible bands whose natural widths
// sum to 0), each member weighs 1 instead, so the width is shared equally. A running sum can
// then still reach 0, but only for members that weigh 0 themselves, and MulDiv answers 0 for
// them: a share of nothing.
std::vector<int> Weights(const std::vector<int>& widths);

struct TWidthMember {
    int Min = 0;
    // May lose width to the others and may be lifted to its minimum (the last member of a
    // distribution always pays: it takes whatever is left).
    bool CanPay = false;
    bool CanLift = false;
};

// The last member takes what the others leave. Its share never goes negative: whatever it
// lacks is taken back from the members before it, right to left, none below 0; so the widths
// always sum to `total` (a row fills its band exactly) and none is negative.
void GiveRemainder(std::vector<int>& widths, int total);

// The proportional shares can leave a member below its minimum although the others have room
// to spare (with rounding, or when earlier fixed widths change the proportions). Such members
// are lifted to their minimum, paid by the members above theirs, right to left; the sum stays.
// When there is not enough room for every minimum, the room there is goes to the leftmost
// members that lack it.
void LiftToMinimums(std::vector<int>& widths, const std::vector<TWidthMember>& members);

struct TBandMeasure {
    int Min = 0;
    int Natural = 0;
    bool Sizing = true;
};

// The widths of the visible bands and their total. A band is at least its minimum (its MinWidth,
// or its Width when it is not sizable, and no less than its widest header row of column
// minimums) and naturally as wide as its headers or its Width. Without aoAutoWidth every band
// takes its natural width. With it the total is the room there is (the minimums' sum when that
// is larger or no band is sizable), shared in proportion to the natural widths: a band that is
// not sizable keeps its natural width, one whose share would not exceed its minimum gets the
// minimum, the others their minimum and a proportional part of what the minimums leave; the
// last band takes the rest.
std::vector<int> DistributeBands(const std::vector<TBandMeasure>& bands, bool autoWidth,
                                 int available, int& total);

struct TColumnMeasure {
    int Width = 0;
    int Min = 0; // MinWidth when sizable, else Width
    bool Sizing = true;
};

// The widths of the columns of one header row of a band `bandWidth` wide, in proportion to
// their Width. Fixed (not sizable) columns keep their Width. When some sizable column's share
// would fall below its minimum, the sizable columns at or under their minimum get it and the
// others their minimum and a proportional part of what the minimums leave. The last column
// takes the rest, whatever its kind.
std::vector<int> DistributeRow(const std::vector<TColumnMeasure>& row, int bandWidth);

} // namespace dxtl
