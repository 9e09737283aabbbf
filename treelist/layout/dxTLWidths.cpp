#include "treelist/layout/dxTLWidths.h"

#include "framework/Types.h"

#include <algorithm>
#include <numeric>

namespace dxtl {

using fw::MulDiv;

std::vector<int> Weights(const std::vector<int>& widths) {
    const bool allZero = std::all_of(widths.begin(), widths.end(), [](int w) { return w <= 0; });
    std::vector<int> weights(widths.size(), 1);
    if (!allZero)
        for (std::size_t i = 0; i < widths.size(); ++i)
            weights[i] = std::max(widths[i], 0);
    return weights;
}

void GiveRemainder(std::vector<int>& widths, int total) {
    if (widths.empty())
        return;
    for (int& w : widths)
        w = std::max(w, 0);
    long long others = 0;
    for (std::size_t i = 0; i + 1 < widths.size(); ++i)
        others += widths[i];
    long long last = total - others;
    for (std::size_t i = widths.size() - 1; last < 0 && i-- > 0;) {
        const long long take = std::min<long long>(widths[i], -last);
        widths[i] -= static_cast<int>(take);
        last += take;
    }
    widths.back() = static_cast<int>(std::max<long long>(last, 0));
}

void LiftToMinimums(std::vector<int>& widths, const std::vector<TWidthMember>& members) {
    long long need = 0;
    long long spare = 0;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        if (members[i].CanLift && widths[i] < members[i].Min)
            need += members[i].Min - widths[i];
        if (members[i].CanPay && widths[i] > members[i].Min)
            spare += widths[i] - members[i].Min;
    }
    long long lift = std::min(need, spare);
    if (lift <= 0)
        return;
    long long pay = lift;
    for (std::size_t i = widths.size(); pay > 0 && i-- > 0;)
        if (members[i].CanPay && widths[i] > members[i].Min) {
            const long long take = std::min<long long>(widths[i] - members[i].Min, pay);
            widths[i] -= static_cast<int>(take);
            pay -= take;
        }
    for (std::size_t i = 0; lift > 0 && i < widths.size(); ++i)
        if (members[i].CanLift && widths[i] < members[i].Min) {
            const long long give = std::min<long long>(members[i].Min - widths[i], lift);
            widths[i] += static_cast<int>(give);
            lift -= give;
        }
}

std::vector<int> DistributeBands(const std::vector<TBandMeasure>& bands, bool autoWidth,
                                 int available, int& total) {
    std::vector<int> widths;
    total = 0;
    if (bands.empty())
        return widths;
    for (const TBandMeasure& b : bands)
        widths.push_back(b.Natural);
    if (!autoWidth) {
        total = std::accumulate(widths.begin(), widths.end(), 0);
        return widths;
    }
    int minSum = 0;
    bool anySizing = false;
    for (const TBandMeasure& b : bands) {
        minSum += b.Min;
        anySizing = anySizing || b.Sizing;
    }
    total = available < minSum || !anySizing ? minSum : available;

    const std::vector<int> weight = Weights(widths);
    const int weightSum = std::accumulate(weight.begin(), weight.end(), 0);
    std::vector<int> share(bands.size());
    int liftedSum = 0; // D2: the sizable bands whose share exceeds their minimum
    for (std::size_t j = 0; j < bands.size(); ++j) {
        share[j] = MulDiv(total, weight[j], weightSum);
        if (bands[j].Sizing && share[j] > bands[j].Min)
            liftedSum += weight[j];
    }
    for (std::size_t b = 0; b + 1 < bands.size(); ++b) {
        if (!bands[b].Sizing)
            widths[b] = bands[b].Natural;
        else if (liftedSum == weightSum)
            widths[b] = share[b];
        else if (share[b] <= bands[b].Min)
            widths[b] = bands[b].Min;
        else
            widths[b] = bands[b].Min + MulDiv(total - minSum, weight[b], liftedSum);
    }
    GiveRemainder(widths, total);
    std::vector<TWidthMember> members(bands.size());
    for (std::size_t b = 0; b < bands.size(); ++b)
        members[b] = {bands[b].Min, bands[b].Sizing || b + 1 == bands.size(), bands[b].Sizing};
    LiftToMinimums(widths, members);
    return widths;
}

std::vector<int> DistributeRow(const std::vector<TColumnMeasure>& row, int bandWidth) {
    std::vector<int> widths(row.size(), 0);
    if (row.empty())
        return widths;
    std::vector<int> natural;
    for (const TColumnMeasure& c : row)
        natural.push_back(c.Width);
    const std::vector<int> weight = Weights(natural);
    const int weightSum = std::accumulate(weight.begin(), weight.end(), 0);
    int minSum = 0;
    for (const TColumnMeasure& c : row)
        minSum += c.Min;

    // Pre-pass: does any sizable column fall below its minimum (F), and the weight of those
    // that do not (D2).
    bool belowMin = false;
    int liftedSum = 0;
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (!row[i].Sizing)
            continue;
        if (MulDiv(bandWidth, weight[i], weightSum) < row[i].Min)
            belowMin = true;
        else
            liftedSum += weight[i];
    }
    int runningWidth = bandWidth;
    int runningWeight = weightSum;
    int runningMin = minSum;
    for (std::size_t i = 0; i + 1 < row.size(); ++i) {
        const TColumnMeasure& c = row[i];
        if (!c.Sizing) {
            widths[i] = c.Width;
            runningWidth -= c.Width;
            runningWeight -= weight[i];
            runningMin -= c.Min;
            continue;
        }
        const int share = MulDiv(runningWidth, weight[i], runningWeight);
        if (liftedSum == runningWeight)
            widths[i] = share;
        else if (share <= c.Min)
            widths[i] = c.Min;
        else if (belowMin)
            widths[i] = c.Min + MulDiv(runningWidth - runningMin, weight[i], liftedSum);
        else
            widths[i] = share;
    }
    GiveRemainder(widths, bandWidth);
    std::vector<TWidthMember> members(row.size());
    for (std::size_t i = 0; i < row.size(); ++i)
        members[i] = {row[i].Min, row[i].Sizing || i + 1 == row.size(), row[i].Sizing};
    LiftToMinimums(widths, members);
    return widths;
}

} // namespace dxtl
