#include "analysis/local_tempo.h"

#include <algorithm>
#include <cmath>

#include "analysis/periodicity.h"

namespace quillex {

namespace {

constexpr double kStepSeconds = 1.0;
constexpr double kHalfWindowSeconds = 4.0;
// How far a local period may stray from the whole music's.
constexpr double kLargestChange = 1.4;

} // namespace

std::vector<double> localPeriods(const OnsetFeatures& features, double period) {
    const std::size_t frames = features.strength.size();
    std::vector<double> out(frames, period);
    if (frames == 0 || features.hop <= 0)
        return out;
    const double framesPerSecond = static_cast<double>(features.sampleRate) / features.hop;
    const auto step = static_cast<std::size_t>(kStepSeconds * framesPerSecond);
    const auto half = static_cast<std::size_t>(kHalfWindowSeconds * framesPerSecond);
    const auto shortest = static_cast<std::size_t>(std::floor(period / kLargestChange));
    const auto longest = static_cast<std::size_t>(std::ceil(period * kLargestChange));
    std::vector<double> centres, measured;
    for (std::size_t centre = 0; centre < frames; centre += std::max<std::size_t>(step, 1)) {
        const std::size_t from = centre > half ? centre - half : 0;
        const std::size_t to = std::min(frames, centre + half);
        const std::vector<double> acf =
            autocorrelation(features.strength, from, to, 2 * longest + 2);
        double best = 0, bestLag = 0;
        for (std::size_t lag = std::max<std::size_t>(shortest, 2); lag <= longest; ++lag) {
            const double score = acf[lag] + 0.5 * acf[2 * lag];
            if (acf[lag] > acf[lag - 1] && acf[lag] >= acf[lag + 1] && score > best) {
                best = score;
                const double a = acf[lag - 1], b = acf[lag], c = acf[lag + 1];
                const double d = a - 2 * b + c;
                bestLag = static_cast<double>(lag) +
                          (d < 0 ? std::clamp(0.5 * (a - c) / d, -0.5, 0.5) : 0);
            }
        }
        if (best > 0.05 * acf[0] && bestLag > 0) {
            centres.push_back(static_cast<double>(centre));
            measured.push_back(bestLag);
        }
    }
    if (measured.empty())
        return out;
    // Between window centres the period is interpolated; before the first and after
    // the last it stays.
    std::size_t k = 0;
    for (std::size_t t = 0; t < frames; ++t) {
        while (k + 1 < centres.size() && centres[k + 1] <= static_cast<double>(t))
            ++k;
        if (static_cast<double>(t) <= centres.front() || k + 1 == centres.size()) {
            out[t] = static_cast<double>(t) <= centres.front() ? measured.front() : measured.back();
            continue;
        }
        const double f = (static_cast<double>(t) - centres[k]) / (centres[k + 1] - centres[k]);
        out[t] = measured[k] * (1 - f) + measured[k + 1] * f;
    }
    return out;
}

} // namespace quillex
