#include "analysis/attack_time.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quillex {

namespace {

float peakBetween(const std::vector<float>& signal, std::ptrdiff_t from, std::ptrdiff_t to) {
    from = std::max<std::ptrdiff_t>(from, 0);
    to = std::min(to, static_cast<std::ptrdiff_t>(signal.size()));
    float peak = 0;
    for (std::ptrdiff_t i = from; i < to; ++i)
        peak = std::max(peak, std::abs(signal[static_cast<std::size_t>(i)]));
    return peak;
}

// The start of the rise of an attack picked at `pick` (see the header).
std::ptrdiff_t riseStart(const std::vector<float>& signal, std::ptrdiff_t pick, int sampleRate) {
    const auto ms = [sampleRate](double m) {
        return static_cast<std::ptrdiff_t>(std::lround(m * 0.001 * sampleRate));
    };
    const float before = peakBetween(signal, pick - ms(5), pick - ms(0.5));
    const float attack = peakBetween(signal, pick, pick + ms(10));
    if (attack <= before)
        return pick;
    const float threshold = before + 0.25f * (attack - before);
    const auto end = std::min(static_cast<std::ptrdiff_t>(signal.size()), pick + ms(10));
    std::ptrdiff_t at = std::max<std::ptrdiff_t>(pick - ms(2), 1);
    while (at < end && std::abs(signal[static_cast<std::size_t>(at)]) <= threshold)
        ++at;
    if (at == end)
        return pick;
    const std::ptrdiff_t limit = std::max<std::ptrdiff_t>(at - ms(1), 1);
    for (std::ptrdiff_t i = at; i > limit; --i)
        if ((signal[static_cast<std::size_t>(i - 1)] <= 0) !=
            (signal[static_cast<std::size_t>(i)] <= 0))
            return i;
    return at;
}

} // namespace

std::optional<std::ptrdiff_t> attackSample(const std::vector<float>& signal,
                                           std::ptrdiff_t dataFrom, std::ptrdiff_t dataTo,
                                           std::ptrdiff_t searchFrom, std::ptrdiff_t searchTo,
                                           int sampleRate) {
    dataFrom = std::max<std::ptrdiff_t>(dataFrom, 0);
    dataTo = std::min(dataTo, static_cast<std::ptrdiff_t>(signal.size()));
    const std::ptrdiff_t n = dataTo - dataFrom;
    if (n < 16)
        return std::nullopt;
    // Prefix sums of the samples and their squares, for the variance of any stretch.
    std::vector<double> sum(static_cast<std::size_t>(n) + 1), squares(sum.size());
    for (std::ptrdiff_t i = 0; i < n; ++i) {
        const double x = signal[static_cast<std::size_t>(dataFrom + i)];
        sum[static_cast<std::size_t>(i) + 1] = sum[static_cast<std::size_t>(i)] + x;
        squares[static_cast<std::size_t>(i) + 1] = squares[static_cast<std::size_t>(i)] + x * x;
    }
    auto variance = [&](std::ptrdiff_t from, std::ptrdiff_t to) {
        const double count = static_cast<double>(to - from);
        const double mean =
            (sum[static_cast<std::size_t>(to)] - sum[static_cast<std::size_t>(from)]) / count;
        const double v =
            (squares[static_cast<std::size_t>(to)] - squares[static_cast<std::size_t>(from)]) /
                count -
            mean * mean;
        return std::max(v, 1e-14);
    };
    const std::ptrdiff_t first = std::clamp<std::ptrdiff_t>(searchFrom - dataFrom, 8, n - 8);
    const std::ptrdiff_t last = std::clamp<std::ptrdiff_t>(searchTo - dataFrom, 8, n - 8);
    double best = std::numeric_limits<double>::infinity();
    std::ptrdiff_t bestAt = -1;
    for (std::ptrdiff_t k = first; k < last; ++k) {
        const double before = variance(0, k);
        const double after = variance(k, n);
        if (after <= before)
            continue;
        const double aic = static_cast<double>(k) * std::log(before) +
                           static_cast<double>(n - k) * std::log(after);
        if (aic < best) {
            best = aic;
            bestAt = k;
        }
    }
    if (bestAt < 0)
        return std::nullopt;
    return riseStart(signal, dataFrom + bestAt, sampleRate);
}

} // namespace quillex
