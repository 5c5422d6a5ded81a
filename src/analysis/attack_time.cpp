#include "analysis/attack_time.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quillex {

std::optional<std::ptrdiff_t> attackSample(const std::vector<float>& signal,
                                           std::ptrdiff_t dataFrom, std::ptrdiff_t dataTo,
                                           std::ptrdiff_t searchFrom, std::ptrdiff_t searchTo) {
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
    return dataFrom + bestAt;
}

} // namespace quillex
