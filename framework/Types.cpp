#include "framework/Types.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>

namespace fw {

TRect IntersectRect(const TRect& a, const TRect& b) {
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
    if (r.IsEmpty())
        return {};
    return r;
}

bool RectsIntersect(const TRect& a, const TRect& b) {
    return !IntersectRect(a, b).IsEmpty();
}

TRect UnionRect(const TRect& a, const TRect& b) {
    if (a.IsEmpty())
        return b;
    if (b.IsEmpty())
        return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
}

void RaiseListIndexError(int index) {
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

int MulDiv(int a, int b, int c) {
    if (c == 0)
        return 0;
    const long long product = static_cast<long long>(a) * b;
    long long quotient = product / c;
    const long long remainder = product % c;
    if (2 * std::llabs(remainder) >= std::llabs(static_cast<long long>(c)))
        quotient += (product < 0) != (c < 0) ? -1 : 1;
    return static_cast<int>(std::clamp<long long>(quotient, INT_MIN, INT_MAX));
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace fw
