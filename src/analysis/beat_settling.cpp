#include "analysis/beat_settling.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "analysis/beat_curve.h"
#include "analysis/beat_grid_fit.h"

namespace quillex {

namespace {

// A heard beat further than this from every line through its neighbours strays.
constexpr double kStraySeconds = 0.0025;
// Heard beats on each side that the lines and the curve go through.
constexpr std::size_t kNeighbours = 4;
// How far from the local period an interval to a neighbour may be and still be a beat.
constexpr double kEvenShare = 0.15;

// The line through up to kNeighbours heard beats on one side of beat i (`step` -1
// before it, +1 after it); nothing with fewer than two there.
std::optional<BeatGrid> sideLine(const std::vector<TrackedBeat>& beats, std::size_t i, int step) {
    std::vector<IndexedSample> points;
    for (auto j = static_cast<std::ptrdiff_t>(i) + step;
         j >= 0 && j < static_cast<std::ptrdiff_t>(beats.size()) && points.size() < kNeighbours;
         j += step)
        if (beats[static_cast<std::size_t>(j)].heard)
            points.push_back(
                {static_cast<double>(j), beats[static_cast<std::size_t>(j)].sample, 1});
    return fitLine(points);
}

// The parabola through up to kNeighbours heard beats either side of beat i, at i:
// where a slowly drifting tempo puts the beat. Nothing without two on each side.
std::optional<double> curveAt(const std::vector<TrackedBeat>& beats, std::size_t i) {
    std::vector<IndexedSample> points;
    int sides = 0;
    for (int step : {-1, 1}) {
        std::size_t found = 0;
        for (auto j = static_cast<std::ptrdiff_t>(i) + step;
             j >= 0 && j < static_cast<std::ptrdiff_t>(beats.size()) && found < kNeighbours;
             j += step)
            if (beats[static_cast<std::size_t>(j)].heard) {
                points.push_back({static_cast<double>(j) - static_cast<double>(i),
                                  beats[static_cast<std::size_t>(j)].sample, 1});
                ++found;
            }
        sides += found >= 2;
    }
    if (sides < 2)
        return std::nullopt;
    const auto curve = fitParabola(points);
    return curve ? std::optional<double>(curve->a) : std::nullopt;
}

} // namespace

// A heard beat that neither the beats before it, nor those after it, nor the curve
// through both agree with (a hat or a pluck next to the beat took its place) is put
// where they say. One side alone may disagree: that is a tempo step.
void settleStrays(std::vector<TrackedBeat>& beats, int sampleRate) {
    const double stray = kStraySeconds * sampleRate;
    std::vector<TrackedBeat> settled = beats;
    for (std::size_t i = 0; i < beats.size(); ++i) {
        if (!beats[i].heard)
            continue;
        const auto index = static_cast<double>(i);
        std::vector<double> predictions;
        for (int step : {-1, 1})
            if (const auto line = sideLine(beats, i, step))
                predictions.push_back(line->at(index));
        const auto curve = curveAt(beats, i);
        if (curve)
            predictions.push_back(*curve);
        const bool agreed = std::any_of(predictions.begin(), predictions.end(), [&](double p) {
            return std::abs(p - beats[i].sample) <= stray;
        });
        if (predictions.empty() || agreed)
            continue;
        double sum = 0;
        for (double p : predictions)
            sum += p;
        settled[i].sample = curve ? *curve : sum / static_cast<double>(predictions.size());
    }
    beats = std::move(settled);
}

// Heard beats a beat away from neither neighbour (within kEvenShare of the local
// period) sit on sounds off the beat (plucks and swells of an intro): not trusted.
void dropUnevenBeats(std::vector<TrackedBeat>& beats, const std::vector<std::size_t>& chain,
                     const std::vector<double>& periods, int hop) {
    std::vector<bool> uneven(beats.size(), false);
    for (std::size_t i = 0; i < beats.size(); ++i) {
        if (!beats[i].heard)
            continue;
        const double period = periods[chain[i]] * hop;
        bool even = false;
        if (i > 0 && beats[i - 1].heard)
            even = even ||
                   std::abs(beats[i].sample - beats[i - 1].sample - period) <= kEvenShare * period;
        if (i + 1 < beats.size() && beats[i + 1].heard)
            even = even ||
                   std::abs(beats[i + 1].sample - beats[i].sample - period) <= kEvenShare * period;
        uneven[i] = !even;
    }
    for (std::size_t i = 0; i < beats.size(); ++i)
        if (uneven[i])
            beats[i].heard = false;
}

// Heard beats with no heard beat among the two chain beats either side are not
// trusted: a lone sound in an intro or a break says little about where the beat is.
void dropLoneBeats(std::vector<TrackedBeat>& beats) {
    std::vector<bool> lone(beats.size(), false);
    for (std::size_t i = 0; i < beats.size(); ++i) {
        if (!beats[i].heard)
            continue;
        bool neighbour = false;
        for (std::size_t j = i > 2 ? i - 2 : 0; j <= i + 2 && j < beats.size(); ++j)
            neighbour = neighbour || (j != i && beats[j].heard);
        lone[i] = !neighbour;
    }
    for (std::size_t i = 0; i < beats.size(); ++i)
        if (lone[i])
            beats[i].heard = false;
}

} // namespace quillex
