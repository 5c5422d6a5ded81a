#include "analysis/beat_curve.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace quillex {

namespace {

// Heard beats nearest an edge that the line through them uses, and the parabola.
constexpr std::size_t kLineBeats = 16;
constexpr std::size_t kCurveBeats = 8;
// A curvature counts when it is this many standard errors away from none.
constexpr double kClearCurvature = 4;
// A carried-on interval may change by at most this share of the edge's period.
constexpr double kLargestIntervalChange = 0.25;
// The music's beat is trusted from the first run of this many heard, evenly spaced
// beats to the last; sounds beyond place a beat only where the tempo there agrees.
constexpr std::size_t kSolidBeats = 4;
// Evenly spaced: each interval within this share of their mean (sounds around the
// beat in an intro, plucks and swells, are rarely this even).
constexpr double kEvenShare = 0.03;
// A sound this close to where the tempo puts a beat beyond the trusted run is that beat.
constexpr double kSnapSeconds = 0.005;

using Matrix3 = std::array<std::array<double, 3>, 3>;

// The solution of m x = rhs by Gauss-Jordan elimination; nothing when m is singular.
std::optional<std::array<double, 3>> solve(Matrix3 m, std::array<double, 3> rhs) {
    for (int col = 0; col < 3; ++col) {
        if (std::abs(m[col][col]) < 1e-12)
            return std::nullopt;
        for (int r = 0; r < 3; ++r) {
            if (r == col)
                continue;
            const double f = m[r][col] / m[col][col];
            for (int c = col; c < 3; ++c)
                m[r][c] -= f * m[col][c];
            rhs[r] -= f * rhs[col];
        }
    }
    return std::array<double, 3>{rhs[0] / m[0][0], rhs[1] / m[1][1], rhs[2] / m[2][2]};
}

// The edge's beats as (index, sample) points, nearest the edge first: up to
// kLineBeats heard beats from `from` inward (`step` +1 from the front, -1 from the
// back), indexed by their place in `beats`.
std::vector<IndexedSample> edgePoints(const std::vector<TrackedBeat>& beats, std::size_t from,
                                      int step) {
    std::vector<IndexedSample> points;
    for (auto i = static_cast<std::ptrdiff_t>(from);
         i >= 0 && i < static_cast<std::ptrdiff_t>(beats.size()) && points.size() < kLineBeats;
         i += step)
        if (beats[static_cast<std::size_t>(i)].heard)
            points.push_back(
                {static_cast<double>(i), beats[static_cast<std::size_t>(i)].sample, 1});
    return points;
}

// Where the tempo at an edge puts the beat with index x: the line through the points
// nearest the edge or, where they clearly speed up or slow down, the parabola.
std::optional<double> edgeTempoAt(const std::vector<IndexedSample>& nearestFirst, double x,
                                  double previous) {
    const auto line = fitLine(nearestFirst);
    if (!line || line->period == 0)
        return std::nullopt;
    const std::size_t curveBeats = std::min(kCurveBeats, nearestFirst.size());
    const auto curve = fitParabola(
        {nearestFirst.begin(), nearestFirst.begin() + static_cast<std::ptrdiff_t>(curveBeats)});
    if (curve && std::abs(curve->c) >= kClearCurvature * curve->curvatureError) {
        const double s = curve->at(x);
        const double interval = std::abs(s - previous);
        const double period = std::abs(line->period);
        if (std::abs(interval - period) <= kLargestIntervalChange * period)
            return s;
    }
    return line->at(x);
}

// Beats at indices edge + step, edge + 2 step, ... within [musicStart, musicEnd), each
// where the tempo at the edge puts it or, when a sound of `loose` (samples, ascending)
// lies within `snap` of that, on the sound; the beats placed so go into the tempo of
// the next.
std::vector<TrackedBeat> carryOn(const std::vector<TrackedBeat>& beats, std::size_t edge, int step,
                                 double musicStart, double musicEnd,
                                 const std::vector<double>& loose, double snap) {
    std::vector<IndexedSample> points = edgePoints(beats, edge, -step);
    std::vector<TrackedBeat> out;
    double previous = beats[edge].sample;
    for (double x = static_cast<double>(edge) + step;; x += step) {
        const auto predicted = edgeTempoAt(points, x, previous);
        if (!predicted || *predicted < musicStart || *predicted >= musicEnd)
            break;
        TrackedBeat beat{*predicted, false};
        auto it = std::lower_bound(loose.begin(), loose.end(), *predicted - snap);
        if (it != loose.end() && *it <= *predicted + snap) {
            beat = {*it, true};
            points.insert(points.begin(), {x, *it, 1});
            if (points.size() > kLineBeats)
                points.pop_back();
        }
        out.push_back(beat);
        previous = beat.sample;
    }
    return out;
}

// Whether beats [from, from + kSolidBeats) are all heard and evenly spaced.
bool solidAt(const std::vector<TrackedBeat>& beats, std::size_t from) {
    if (from + kSolidBeats > beats.size())
        return false;
    for (std::size_t i = from; i < from + kSolidBeats; ++i)
        if (!beats[i].heard)
            return false;
    const double mean = (beats[from + kSolidBeats - 1].sample - beats[from].sample) /
                        static_cast<double>(kSolidBeats - 1);
    for (std::size_t i = from + 1; i < from + kSolidBeats; ++i)
        if (std::abs(beats[i].sample - beats[i - 1].sample - mean) > kEvenShare * mean)
            return false;
    return true;
}

} // namespace

std::optional<Parabola> fitParabola(const std::vector<IndexedSample>& points) {
    if (points.size() < 4)
        return std::nullopt;
    // Around the mean index, so the sums stay well conditioned.
    double centre = 0, weights = 0;
    for (const IndexedSample& p : points) {
        centre += p.weight * p.index;
        weights += p.weight;
    }
    if (weights <= 0)
        return std::nullopt;
    centre /= weights;
    Matrix3 m{};
    std::array<double, 3> rhs{};
    for (const IndexedSample& p : points) {
        const double x = p.index - centre;
        const double powers[3] = {1, x, x * x};
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c)
                m[r][c] += p.weight * powers[r] * powers[c];
            rhs[r] += p.weight * powers[r] * p.sample;
        }
    }
    const auto coefficients = solve(m, rhs);
    const auto inverseColumn = solve(m, {0, 0, 1});
    if (!coefficients || !inverseColumn)
        return std::nullopt;
    const auto [a0, b0, c] = *coefficients;
    double squares = 0;
    for (const IndexedSample& p : points) {
        const double x = p.index - centre;
        const double r = p.sample - (a0 + x * (b0 + x * c));
        squares += p.weight * r * r;
    }
    const double variance = squares / weights * static_cast<double>(points.size()) /
                            static_cast<double>(points.size() - 3);
    // Back from x - centre to x.
    Parabola out;
    out.a = a0 - b0 * centre + c * centre * centre;
    out.b = b0 - 2 * c * centre;
    out.c = c;
    out.curvatureError = std::sqrt(std::max(0.0, variance * (*inverseColumn)[2]));
    return out;
}

std::vector<TrackedBeat> extendToEdges(const std::vector<TrackedBeat>& beats,
                                       const std::vector<double>& sounds, double musicStart,
                                       double musicEnd, int sampleRate) {
    std::size_t first = 0;
    while (first < beats.size() && !solidAt(beats, first))
        ++first;
    if (first == beats.size())
        return beats;
    std::size_t last = beats.size() - kSolidBeats;
    while (!solidAt(beats, last))
        --last;
    last += kSolidBeats - 1;
    const double snap = kSnapSeconds * sampleRate;
    const auto split = [&](double at) {
        return std::lower_bound(sounds.begin(), sounds.end(), at);
    };
    const std::vector<double> before(sounds.begin(), split(beats[first].sample - snap));
    const std::vector<double> after(split(beats[last].sample + snap), sounds.end());
    const std::vector<TrackedBeat> core(beats.begin() + static_cast<std::ptrdiff_t>(first),
                                        beats.begin() + static_cast<std::ptrdiff_t>(last) + 1);
    std::vector<TrackedBeat> out = carryOn(core, 0, -1, musicStart, musicEnd, before, snap);
    std::reverse(out.begin(), out.end());
    out.insert(out.end(), core.begin(), core.end());
    for (const TrackedBeat& b :
         carryOn(core, core.size() - 1, 1, musicStart, musicEnd, after, snap))
        out.push_back(b);
    return out;
}

} // namespace quillex
