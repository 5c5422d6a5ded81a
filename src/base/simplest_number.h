// Finding the simplest number in a range: the fewest decimals first, then numbers of
// six significant digits. Tempos and stop lengths are chosen this way, both where
// they are written to files and where they are shown, so a tempo that the samples
// cannot tell from 160 is written and shown as 160.
#pragma once

#include <algorithm>
#include <cmath>
#include <optional>

namespace quillex {

// Numbers tried with each count of decimals.
inline constexpr int kSimplestCandidatesPerLevel = 16;

// Calls `tryK` for the integers of [first, last] nearest `centre` first, at most
// `limit` of them, until it returns true. Returns whether one did.
template <class TryK>
bool nearestFirst(double first, double last, double centre, int limit, const TryK& tryK) {
    if (first > last)
        return false;
    centre = std::clamp(centre, first, last);
    for (double step = 0; limit > 0 && (centre - step >= first || centre + step <= last); ++step)
        for (int side = 0; side < (step == 0 ? 1 : 2) && limit > 0; ++side) {
            const double k = side == 0 ? centre - step : centre + step;
            if (k < first || k > last)
                continue;
            --limit;
            if (tryK(k))
                return true;
        }
    return false;
}

// Offers the numbers near [lo, hi] to `accept`, simplest first: the fewest decimals up
// to maxDecimals (nearest the middle among those), then numbers of six significant
// digits nearest the middle, until it returns true. Returns whether it did. The range
// only guides the search when `accept` checks more than the range.
template <class Accept>
bool offerSimplestNumbers(double lo, double hi, int maxDecimals, const Accept& accept) {
    const double middle = lo / 2 + hi / 2;
    const double slack = (std::abs(lo) + std::abs(hi)) * 1e-12; // a range edge may be exact
    lo -= slack;
    hi += slack;
    double scale = 1;
    for (int d = 0; d <= maxDecimals; ++d, scale *= 10)
        if (nearestFirst(std::ceil(lo * scale), std::floor(hi * scale), std::round(middle * scale),
                         kSimplestCandidatesPerLevel,
                         [&](double k) { return accept(k / scale); }))
            return true;
    if (!(middle != 0) || !std::isfinite(middle))
        return false;
    const double step = std::pow(10.0, std::floor(std::log10(std::abs(middle))) - 5);
    return nearestFirst(std::ceil(lo / step), std::floor(hi / step), std::round(middle / step),
                        kSimplestCandidatesPerLevel, [&](double k) { return accept(k * step); });
}

// The simplest number of [lo, hi] (its middle when the range is too narrow for six
// significant digits).
inline double simplestNumberIn(double lo, double hi, int maxDecimals) {
    std::optional<double> found;
    offerSimplestNumbers(lo, hi, maxDecimals, [&](double value) {
        found = value;
        return true;
    });
    return found.value_or(lo / 2 + hi / 2);
}

} // namespace quillex
