#include "fileio/sm_line_start.h"

#include <algorithm>
#include <tuple>

#include "base/line_band.h"
#include "base/simplest_number.h"
#include "fileio/sm_run_fit.h"
#include "fileio/sm_time_arithmetic.h"

namespace quillex::sm_fit {

namespace {

constexpr int kTempoDecimals = 3;
// The narrowest room for a run's start that a number of kMostSignificantDigits still
// reaches into, in samples.
constexpr double kNarrowestStart = 1e-5;

} // namespace

bool LineStart::keeps(double x) const {
    return std::all_of(markers.begin(), markers.end(), [&](const Marker& m) {
        return nearestSample(smAdvance(x, m.rows, bpm.value, rate)) == m.sample;
    });
}

std::optional<LineStart> lineStart(const std::vector<SmTimingPoint>& points, std::size_t next,
                                   std::int64_t row, int rate) {
    LineStart start;
    start.rate = rate;
    LineBand band(0.5);
    for (std::size_t i = next; i < points.size(); ++i) {
        const SmTimingPoint& p = points[i];
        if (p.kind == SmTimingPoint::Kind::Pause ||
            !band.add(static_cast<double>(p.fileRow - row), p.sample))
            break;
        start.markers.push_back({p.fileRow - row, p.sample});
        if (p.subBeat && p.fileRow > row)
            break;
    }
    if (band.size() < 2 || !(band.highSlope() > 0))
        return std::nullopt;
    const double slowest = bpmOfSlope(band.highSlope(), rate);
    const double fastest = bpmOfSlope(std::max(band.lowSlope(), band.highSlope() / 1000), rate);
    const bool found = offerSimplestNumbers(
        slowest, fastest, kTempoDecimals,
        [&](double value, int digits) {
            start.bpm = written(value, digits);
            std::tie(start.low, start.high) =
                band.valuesAt(0, smSamplesPerRow(start.bpm.value, rate));
            return start.high - start.low >= kNarrowestStart &&
                   start.keeps(start.low / 2 + start.high / 2);
        },
        kMostSignificantDigits);
    if (!found)
        return std::nullopt;
    return start;
}

} // namespace quillex::sm_fit
