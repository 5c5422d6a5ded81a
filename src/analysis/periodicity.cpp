#include "analysis/periodicity.h"

#include <algorithm>
#include <cmath>

namespace quillex {

namespace {

// The autocorrelation between its whole lags, read on a parabola through three.
double valueAt(const std::vector<double>& acf, double lag) {
    const auto i = static_cast<std::size_t>(std::floor(lag));
    if (i + 1 >= acf.size())
        return 0;
    const double f = lag - static_cast<double>(i);
    return acf[i] * (1 - f) + acf[i + 1] * f;
}

double combScore(const std::vector<double>& acf, double lag) {
    double score = 0;
    for (int k = 1; k <= 4; ++k)
        score += valueAt(acf, lag * k) / k;
    return score;
}

} // namespace

std::vector<double> autocorrelation(const std::vector<float>& curve, std::size_t from,
                                    std::size_t to, std::size_t maxLag) {
    to = std::min(to, curve.size());
    std::vector<double> acf(maxLag + 1, 0.0);
    if (to <= from)
        return acf;
    double mean = 0;
    for (std::size_t i = from; i < to; ++i)
        mean += curve[i];
    mean /= static_cast<double>(to - from);
    std::vector<float> centred(to - from);
    for (std::size_t i = from; i < to; ++i)
        centred[i - from] = static_cast<float>(curve[i] - mean);
    for (std::size_t lag = 0; lag <= maxLag && lag < centred.size(); ++lag) {
        double sum = 0;
        for (std::size_t i = 0; i + lag < centred.size(); ++i)
            sum += static_cast<double>(centred[i]) * centred[i + lag];
        acf[lag] = sum / static_cast<double>(centred.size() - lag);
    }
    return acf;
}

std::vector<double> periodicPeaks(const OnsetFeatures& features, std::size_t count) {
    if (features.hop <= 0 || features.strength.size() < 16)
        return {};
    const double framesPerMinute = 60.0 * features.sampleRate / features.hop;
    const double shortest = framesPerMinute / kFastestBpm;
    const double longest = framesPerMinute / kSlowestBpm;
    const auto maxLag = static_cast<std::size_t>(std::ceil(longest * 4)) + 2;
    const std::vector<double> acf =
        autocorrelation(features.strength, 0, features.strength.size(), maxLag);
    struct Peak {
        double lag, score;
    };
    std::vector<Peak> peaks;
    const auto first = static_cast<std::size_t>(std::floor(shortest));
    const auto lastLag = static_cast<std::size_t>(std::ceil(longest));
    for (std::size_t lag = std::max<std::size_t>(first, 2); lag <= lastLag; ++lag) {
        if (!(acf[lag] > acf[lag - 1] && acf[lag] >= acf[lag + 1]))
            continue;
        // The top of the parabola through the peak and its neighbours.
        const double a = acf[lag - 1], b = acf[lag], c = acf[lag + 1];
        const double denominator = a - 2 * b + c;
        const double shift = denominator < 0 ? 0.5 * (a - c) / denominator : 0;
        const double exact = static_cast<double>(lag) + std::clamp(shift, -0.5, 0.5);
        if (exact < shortest || exact > longest)
            continue;
        peaks.push_back({exact, combScore(acf, exact)});
    }
    std::sort(peaks.begin(), peaks.end(),
              [](const Peak& x, const Peak& y) { return x.score > y.score; });
    std::vector<double> periods;
    for (const Peak& p : peaks) {
        if (periods.size() == count || p.score <= 0)
            break;
        periods.push_back(p.lag * features.hop);
    }
    return periods;
}

} // namespace quillex
