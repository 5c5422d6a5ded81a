#include "fileio/sm_run_fit.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

#include "fileio/sm_time_arithmetic.h"

namespace quillex::sm_fit {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Whether [lo, hi] (positive) holds a number of `digits` significant digits.
bool holdsNumberOfDigits(double lo, double hi, int digits) {
    if (hi - lo >= lo * std::pow(10.0, 1 - digits))
        return true;
    const double step = std::pow(10.0, std::floor(std::log10(lo)) - (digits - 1));
    return std::floor(hi / step) >= std::ceil(lo / step);
}

} // namespace

double bpmOfSlope(double slope, int rate) {
    return 60.0 * rate / (slope * kRowsPerBeat);
}

void RunFit::start(double x, std::int64_t row, int maxDigits) {
    maxDigits_ = maxDigits;
    x_ = x;
    startRow_ = lastRow_ = row;
    lo_ = -kInfinity;
    hi_ = kInfinity;
    members_.clear();
}

bool RunFit::add(std::int64_t row, double sample) {
    if (row <= startRow_)
        return true;
    auto [lo, hi] = bounds(row, sample);
    lo = std::max(lo, lo_);
    hi = std::min(hi, hi_);
    if (!(lo <= hi) || !writable(lo, hi))
        return false;
    lo_ = lo;
    hi_ = hi;
    take(row, sample);
    return true;
}

void RunFit::force(std::int64_t row, double sample) {
    std::tie(lo_, hi_) = bounds(row, sample);
    members_.clear();
    take(row, sample);
}

double RunFit::middleTempo() const {
    const auto [lo, hi] = bpmRange(lo_, hi_);
    return lo / 2 + hi / 2;
}

bool RunFit::keepable() const {
    bool any = !limited();
    if (!any)
        forEachTempo(1, [&](const WrittenNumber&) { return any = true; });
    return any;
}

void RunFit::take(std::int64_t row, double sample) {
    members_.push_back({row - startRow_, sample});
    lastRow_ = row;
}

std::pair<double, double> RunFit::bounds(std::int64_t row, double sample) const {
    const double rows = static_cast<double>(row - startRow_);
    return {(sample - 0.5 - x_) / rows, (sample + 0.5 - x_) / rows};
}

std::pair<double, double> RunFit::bpmRange(double lo, double hi) const {
    return {bpmOfSlope(hi, rate_), bpmOfSlope(std::max(lo, hi / 1000), rate_)};
}

// A range holds a tempo that can be written when it holds a number of six digits, or
// of more digits where six are too coarse for a long run.
bool RunFit::writable(double lo, double hi) const {
    if (!(hi > 0))
        return false;
    const auto [bpmLo, bpmHi] = bpmRange(lo, hi);
    return holdsNumberOfDigits(bpmLo, bpmHi, maxDigits_);
}

bool RunFit::keepsAll(double bpm) const {
    return std::all_of(members_.begin(), members_.end(), [&](const Member& m) {
        return nearestSample(smAdvance(x_, m.rows, bpm, rate_)) == m.sample;
    });
}

} // namespace quillex::sm_fit
