#include "items/tempo_runs.h"

#include <algorithm>

#include "base/simplest_number.h"
#include "items/warp_rows.h"

namespace quillex {

namespace {

constexpr int kTempoDecimals = 3;

double bpmOfSlope(double samplesPerRow, int rate) {
    return 60.0 * rate / (samplesPerRow * kRowsPerBeat);
}

} // namespace

const ItemList TempoRuns::kNoWarps;

double TempoRuns::timedRowsBetween(const EditItem& a, const EditItem& b) const {
    if (warps_.empty())
        return b.row() - a.row();
    return timedRowOf(warps_, b.row()) - timedRowOf(warps_, a.row());
}

void TempoRuns::restart() {
    first_ = last_ = 0;
    bpm_ = -1;
}

bool TempoRuns::nextRun() {
    const auto& m = markers_.items();
    if (last_ + 1 >= m.size() || rate_ <= 0)
        return false;
    first_ = last_;
    bpm_ = -1;
    const EditItem& start = m[first_];
    band_.clear();
    band_.add(0, 0);
    std::size_t next = first_ + 1;
    for (; next < m.size(); ++next) {
        const double rows = timedRowsBetween(start, m[next]);
        const double samples = static_cast<double>(m[next].sample) - start.sample;
        if (!(rows > 0) || !(samples > 0) || !band_.add(rows, samples))
            break;
    }
    last_ = std::max(next - 1, first_ + 1);
    if (band_.size() < 2) { // an interval that runs backwards
        lowSlope_ = highSlope_ = 0;
        return true;
    }
    lowSlope_ = band_.lowSlope();
    highSlope_ = band_.highSlope();
    return true;
}

double TempoRuns::bpm() {
    if (bpm_ < 0) {
        if (!(highSlope_ > 0))
            bpm_ = 0;
        else
            bpm_ = simplestNumberIn(bpmOfSlope(highSlope_, rate_),
                                    bpmOfSlope(std::max(lowSlope_, highSlope_ / 1000), rate_),
                                    kTempoDecimals);
    }
    return bpm_;
}

double TempoRuns::bpmOfInterval(std::size_t i) {
    if (i + 1 >= markers_.size())
        return 0;
    if (first_ == last_ || i < first_)
        restart();
    while (i >= last_)
        if (!nextRun())
            return 0;
    return bpm();
}

} // namespace quillex
