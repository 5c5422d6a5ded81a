// Finding the simplest number in a range: the fewest decimals first, then numbers of
// six significant digits, then of more where a caller allows them. Tempos and stop lengths are
// chosen this way, both where they are written to files and where they are shown, so a tempo that
// the samples cannot tell from 160 is written and shown as 160.
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

// The most significant digits a number is searched with. Markers sit on whole
// samples, so one tempo can hold a long run of them only when its line is placed to
// a small part of a sample: over ten minutes of music that takes eight or nine digits.
inline constexpr int kMostSignificantDigits = 12;

// Offers the numbers of `digits` significant digits in [lo, hi] to `accept` (with
// `digits`), nearest `middle` first, until it returns true. Returns whether it did.
// Numbers that have fewer digits are left out when `fewerTried`.
template <class Accept>
bool offerNumbersOfDigits(double lo, double hi, double middle, int digits, bool fewerTried,
                          const Accept& accept) {
    if (!(middle != 0) || !std::isfinite(middle))
        return false;
    const double step = std::pow(10.0, std::floor(std::log10(std::abs(middle))) - (digits - 1));
    return nearestFirst(std::ceil(lo / step), std::floor(hi / step), std::round(middle / step),
                        kSimplestCandidatesPerLevel, [&](double k) {
                            if (fewerTried && std::fmod(k, 10) == 0)
                                return false;
                            return accept(k * step, digits);
                        });
}

// Offers the numbers near [lo, hi] to `accept`, simplest first: the fewest decimals up
// to maxDecimals (nearest the middle among those), then numbers of six significant
// digits nearest the middle, then of each further digit up to `maxDigits`, until it
// returns true. Returns whether it did. `accept` also gets the significant digits that
// print the number (6 for the numbers of few decimals). The range only guides the
// search when `accept` checks more than the range.
template <class Accept>
bool offerSimplestNumbers(double lo, double hi, int maxDecimals, const Accept& accept,
                          int maxDigits = 6) {
    const double middle = lo / 2 + hi / 2;
    const double slack = (std::abs(lo) + std::abs(hi)) * 1e-12; // a range edge may be exact
    lo -= slack;
    hi += slack;
    double scale = 1;
    for (int d = 0; d <= maxDecimals; ++d, scale *= 10)
        if (nearestFirst(std::ceil(lo * scale), std::floor(hi * scale), std::round(middle * scale),
                         kSimplestCandidatesPerLevel,
                         [&](double k) { return accept(k / scale, 6); }))
            return true;
    for (int digits = 6; digits <= maxDigits; ++digits)
        if (offerNumbersOfDigits(lo, hi, middle, digits, digits > 6, accept))
            return true;
    return false;
}

// The simplest number of [lo, hi] (its middle when the range is too narrow for six
// significant digits).
inline double simplestNumberIn(double lo, double hi, int maxDecimals) {
    std::optional<double> found;
    offerSimplestNumbers(lo, hi, maxDecimals, [&](double value, int) {
        found = value;
        return true;
    });
    return found.value_or(lo / 2 + hi / 2);
}

} // namespace quillex
