#include "analysis/beat_grid_fit.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

namespace quillex {

namespace {

constexpr double kSeedBeats = 12;
// Onsets further than this share of a period from their beat are not on it.
constexpr double kCaptureShare = 0.1;
// The robust weights never trust a spread tighter than this (seconds).
constexpr double kSmallestSpread = 0.0008;

// The start of the stretch of `beats` periods whose onsets are strongest in all.
double strongestStretch(const std::vector<Onset>& onsets, double width) {
    double best = -1, bestStart = onsets.front().sample, sum = 0;
    std::size_t tail = 0;
    for (std::size_t head = 0; head < onsets.size(); ++head) {
        sum += onsets[head].strength;
        while (onsets[head].sample - onsets[tail].sample > width)
            sum -= onsets[tail++].strength;
        if (sum > best) {
            best = sum;
            bestStart = onsets[tail].sample;
        }
    }
    return bestStart;
}

// The phase the strongest onsets of [from, to] agree on: their weighted circular mean.
double strongPhase(const std::vector<Onset>& onsets, double from, double to, double period) {
    std::complex<double> sum;
    for (const Onset& o : onsets) {
        if (o.sample < from || o.sample > to)
            continue;
        const double angle = 2 * std::numbers::pi * std::fmod(o.sample, period) / period;
        sum += std::polar(static_cast<double>(o.strength) * o.strength, angle);
    }
    double phase = std::arg(sum) / (2 * std::numbers::pi) * period;
    return phase < 0 ? phase + period : phase;
}

double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    const auto mid = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), mid, values.end());
    return *mid;
}

} // namespace

std::optional<BeatGrid> fitLine(const std::vector<IndexedSample>& points) {
    double w = 0, wi = 0, ws = 0;
    for (const IndexedSample& p : points) {
        w += p.weight;
        wi += p.weight * p.index;
        ws += p.weight * p.sample;
    }
    if (w <= 0)
        return std::nullopt;
    const double meanIndex = wi / w, meanSample = ws / w;
    double sii = 0, sis = 0;
    for (const IndexedSample& p : points) {
        sii += p.weight * (p.index - meanIndex) * (p.index - meanIndex);
        sis += p.weight * (p.index - meanIndex) * (p.sample - meanSample);
    }
    if (sii <= 1e-9 * w)
        return std::nullopt;
    const double period = sis / sii;
    return BeatGrid{meanSample - period * meanIndex, period};
}

std::optional<GridFit> fitBeatGrid(const std::vector<Onset>& onsets, double period, int sampleRate,
                                   std::optional<double> phase, double spanBeats) {
    if (onsets.size() < 8 || period <= 0)
        return std::nullopt;
    const double seedWidth = kSeedBeats * period;
    double from = strongestStretch(onsets, seedWidth);
    double to = from + seedWidth;
    BeatGrid grid{phase ? *phase : strongPhase(onsets, from, to, period), period};
    const double first = onsets.front().sample, last = onsets.back().sample;
    const double smallest = kSmallestSpread * sampleRate;
    double spread = kCaptureShare * period; // the robust scale, shrinking as the fit settles
    GridFit fit;
    for (int round = 0, settled = 0; settled < 4 && round < 64; ++round) {
        const double capture = kCaptureShare * grid.period;
        // Each beat takes the strongest onset near it; the others there (a hat just
        // after a kick, a pluck a little late) say nothing of where the beat is.
        std::vector<IndexedSample> points;
        std::vector<double> strengths;
        for (const Onset& o : onsets) {
            if (o.sample < from || o.sample > to)
                continue;
            const double index = std::round((o.sample - grid.origin) / grid.period);
            if (std::abs(o.sample - grid.at(index)) > capture)
                continue;
            if (!points.empty() && points.back().index == index) {
                if (o.strength > strengths.back()) {
                    points.back().sample = o.sample;
                    strengths.back() = o.strength;
                }
                continue;
            }
            points.push_back({index, o.sample, 0});
            strengths.push_back(o.strength);
        }
        std::vector<double> residuals;
        std::size_t kept = 0;
        for (std::size_t k = 0; k < points.size(); ++k) {
            const double r = points[k].sample - grid.at(points[k].index);
            // Tukey's biweight: stray onsets count less, far ones not at all.
            const double u = r / (4.685 * spread);
            if (std::abs(u) >= 1)
                continue;
            const double tukey = (1 - u * u) * (1 - u * u);
            points[kept++] = {points[k].index, points[k].sample,
                              strengths[k] * strengths[k] * tukey};
            residuals.push_back(std::abs(r));
        }
        points.resize(kept);
        const auto line = fitLine(points);
        if (!line || points.size() < 8)
            return std::nullopt;
        grid = *line;
        double squares = 0, weights = 0;
        for (const IndexedSample& p : points) {
            const double r = p.sample - grid.at(p.index);
            squares += p.weight * r * r;
            weights += p.weight;
        }
        fit = {grid, points.size(), std::sqrt(squares / weights), from, to};
        spread = std::max(smallest, 1.4826 * median(residuals));
        spread = std::min(spread, kCaptureShare * grid.period);
        if ((from <= first && to >= last) || to - from >= spanBeats * grid.period) {
            ++settled;
        } else {
            const double grow = 0.5 * (to - from);
            from -= grow;
            to += grow;
        }
    }
    return fit;
}

} // namespace quillex
