#include "analysis/beat_curve.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace quillex {

namespace {

// Heard beats nearest an edge that the line through them uses, and the parabola.
constexpr std::size_t kLineBeats = 16;
constexpr std::size_t kCurveBeats = 12;
// A curvature counts when it is this many standard errors away from none.
constexpr double kClearCurvature = 4;
// A carried-on interval may change by at most this share of the edge's period.
constexpr double kLargestIntervalChange = 0.25;

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

// Up to `count` heard beats from the edge at `from` inward (`step` +1 from the
// front, -1 from the back), indexed by their place in `beats`.
std::vector<IndexedSample> edgePoints(const std::vector<TrackedBeat>& beats, std::size_t from,
                                      int step, std::size_t count) {
    std::vector<IndexedSample> points;
    for (auto i = static_cast<std::ptrdiff_t>(from);
         i >= 0 && i < static_cast<std::ptrdiff_t>(beats.size()) && points.size() < count;
         i += step)
        if (beats[static_cast<std::size_t>(i)].heard)
            points.push_back(
                {static_cast<double>(i), beats[static_cast<std::size_t>(i)].sample, 1});
    return points;
}

// Beats at indices edge + step, edge + 2 step, ... within [musicStart, musicEnd).
std::vector<double> carryOn(const std::vector<TrackedBeat>& beats, std::size_t edge, int step,
                            double musicStart, double musicEnd) {
    const auto line = fitLine(edgePoints(beats, edge, -step, kLineBeats));
    if (!line || line->period <= 0)
        return {};
    std::optional<Parabola> curve = fitParabola(edgePoints(beats, edge, -step, kCurveBeats));
    if (curve && std::abs(curve->c) < kClearCurvature * curve->curvatureError)
        curve.reset();
    const auto at = [&](double x) { return curve ? curve->at(x) : line->at(x); };
    std::vector<double> out;
    double previous = beats[edge].sample;
    for (double x = static_cast<double>(edge) + step;; x += step) {
        double s = at(x);
        const double interval = std::abs(s - previous);
        if (curve && std::abs(interval - line->period) > kLargestIntervalChange * line->period) {
            curve.reset();
            s = previous + step * line->period;
        }
        if (s < musicStart || s >= musicEnd)
            break;
        out.push_back(s);
        previous = s;
    }
    return out;
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

std::vector<TrackedBeat> extendToEdges(const std::vector<TrackedBeat>& beats, double musicStart,
                                       double musicEnd) {
    if (beats.size() < 2)
        return beats;
    std::vector<TrackedBeat> out;
    const std::vector<double> before = carryOn(beats, 0, -1, musicStart, musicEnd);
    for (auto it = before.rbegin(); it != before.rend(); ++it)
        out.push_back({*it, false});
    out.insert(out.end(), beats.begin(), beats.end());
    for (double s : carryOn(beats, beats.size() - 1, 1, musicStart, musicEnd))
        out.push_back({s, false});
    return out;
}

} // namespace quillex
