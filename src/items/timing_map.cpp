#include "items/timing_map.h"

#include <algorithm>
#include <cmath>

#include "items/warp_rows.h"

namespace quillex {

namespace {

// Index of the last marker whose sample is at or before s, or -1 when s lies before
// the first marker.
std::ptrdiff_t lastMarkerAtOrBefore(const ItemList& beats, SamplePosition s) {
    auto it = std::upper_bound(beats.begin(), beats.end(), s,
                               [](SamplePosition v, const EditItem& m) { return v < m.sample; });
    return (it - beats.begin()) - 1;
}

} // namespace

// A single conversion is a sequential one that starts afresh, so both give the same
// sample for a row.
SamplePosition TimingMap::rowToSample(RowPosition position) const {
    return SequentialConverter(*this)(position);
}

bool TimingMap::insideWarp(std::int32_t row) const {
    return warpHolding(warps_, row) != nullptr;
}

RowPosition TimingMap::playedRow(RowPosition row) const {
    const EditItem* warp = warpHolding(warps_, row.row());
    return warp ? RowPosition::fromRow(warp->endRow()) : row;
}

std::int32_t TimingMap::timedRow(std::int32_t row) const {
    return warps_.empty() ? row : timedRowOf(warps_, row);
}

SamplePosition TimingMap::rowToSampleByBeatIndex(std::int32_t beat, std::int32_t fraction) const {
    const auto& m = beats_.items();
    const auto count = static_cast<std::int64_t>(m.size());
    if (beat < 1 || beat > count)
        return 0;
    if (beat == count)
        return m.back().sample;
    const std::int64_t s0 = m[beat - 1].sample;
    const std::int64_t s1 = m[beat].sample;
    return static_cast<SamplePosition>(s0 + (s1 - s0) * fraction / kRowsPerBeat);
}

SamplePosition TimingMap::SequentialConverter::operator()(RowPosition position) {
    if (map_.byBeatIndex())
        return map_.rowToSampleByBeatIndex(position.beat, position.fraction);
    const std::int32_t row = position.row();
    if (position.beat < 1)
        return 0;
    if (row < firstRow_ || row >= endRow_) {
        const auto& m = map_.beats_.items();
        if (m.empty())
            return 0;
        // One marker (an unrefreshed list may hold a lone sub-beat) has no interval to
        // measure a row in: every row is at its sample.
        if (m.size() == 1 || row >= m.back().row())
            return m.back().sample;
        enterIntervalOf(row);
    }
    const double offset = (map_.timedRow(row) - firstTimed_) / rows_ * samples_;
    return firstSample_ + static_cast<SamplePosition>(std::trunc(offset));
}

void TimingMap::SequentialConverter::enterIntervalOf(std::int32_t row) {
    const auto& m = map_.beats_.items();
    // Ascending rows mostly move on to the next interval; otherwise search.
    if (interval_ + 2 < m.size() && m[interval_ + 1].row() <= row && row < m[interval_ + 2].row()) {
        ++interval_;
    } else {
        auto it = std::upper_bound(m.begin(), m.end() - 1, row,
                                   [](std::int32_t r, const EditItem& e) { return r < e.row(); });
        interval_ = it == m.begin() ? 0 : static_cast<std::size_t>(it - m.begin()) - 1;
    }
    const EditItem& a = m[interval_];
    const EditItem& b = m[interval_ + 1];
    firstRow_ = a.row();
    endRow_ = b.row();
    firstTimed_ = map_.timedRow(a.row());
    firstSample_ = a.sample;
    rows_ = map_.timedRow(b.row()) - firstTimed_;
    samples_ = static_cast<double>(b.sample) - a.sample;
    if (rows_ <= 0) { // markers out of order: every row of it converts to its start
        rows_ = 1;
        samples_ = 0;
    }
}

RowPosition TimingMap::sampleToRow(SamplePosition s) const {
    const auto& m = beats_.items();
    if (m.size() < 2)
        return {0, 0};
    const std::ptrdiff_t c = lastMarkerAtOrBefore(m, s);
    // The interval's samples and timed rows.
    double s0, s1, r0, r1;
    if (c < 0) {
        s0 = 0;
        r0 = 0;
        s1 = m.front().sample;
        r1 = timedRow(m.front().row());
    } else if (static_cast<std::size_t>(c) + 1 < m.size()) {
        s0 = m[c].sample;
        r0 = timedRow(m[c].row());
        s1 = m[c + 1].sample;
        r1 = timedRow(m[c + 1].row());
    } else {
        s0 = m.back().sample;
        r0 = timedRow(m.back().row());
        s1 = static_cast<double>(musicLength_) - 1;
        r1 = r0 + kRowsPerBeat;
    }
    // An interval without width (a marker on the music's last sample, or at sample 0
    // with s before it) has no slope; its start row is the answer.
    double timed = r0;
    if (s1 > s0)
        timed += std::floor((s - s0) / (s1 - s0) * (r1 - r0) + 0.5);
    const std::int64_t timedRows = static_cast<std::int64_t>(timed);
    return RowPosition::fromRow(warps_.empty() ? timedRows : playedRowAt(warps_, timedRows));
}

double TimingMap::intervalBpm(std::size_t i) const {
    const auto& m = beats_.items();
    if (i + 1 >= m.size() || sampleRate_ <= 0)
        return 0;
    const double samples = static_cast<double>(m[i + 1].sample) - m[i].sample;
    const double rows = timedRow(m[i + 1].row()) - timedRow(m[i].row());
    if (samples <= 0)
        return 0;
    return 60.0 / (samples / sampleRate_) * (rows / kRowsPerBeat);
}

double TimingMap::bpmAt(SamplePosition s) const {
    const auto& m = beats_.items();
    if (m.empty() || s < m.front().sample || s >= m.back().sample)
        return 0;
    const std::ptrdiff_t c = lastMarkerAtOrBefore(m, s);
    return tempoRuns().bpmOfInterval(static_cast<std::size_t>(c));
}

double TimingMap::lowestBpm() const {
    double lowest = 1000000;
    for (TempoRuns runs = tempoRuns(); runs.nextRun();)
        lowest = std::min(lowest, runs.bpm());
    return lowest;
}

double TimingMap::highestBpm() const {
    double highest = 0;
    for (TempoRuns runs = tempoRuns(); runs.nextRun();)
        highest = std::max(highest, runs.bpm());
    return highest;
}

double TimingMap::averageBpm(int first, int last) const {
    const auto& m = beats_.items();
    if (m.size() <= 1 || sampleRate_ <= 0)
        return 0;
    if (first == -1 || last == -1) {
        first = 0;
        last = static_cast<int>(m.size()) - 1;
    }
    first = std::clamp(first, 0, static_cast<int>(m.size()) - 1);
    last = std::clamp(last, 0, static_cast<int>(m.size()) - 1);
    double sum = 0;
    int count = 0;
    for (int i = first; i < last; ++i) {
        const double rows = timedRow(m[i + 1].row()) - timedRow(m[i].row());
        if (rows <= 0)
            continue;
        sum += kRowsPerBeat / rows * (static_cast<double>(m[i + 1].sample) - m[i].sample);
        ++count;
    }
    if (count == 0 || sum <= 0)
        return 0;
    return sampleRate_ / (sum / count) * 60.0;
}

double TimingMap::pauseSeconds(const EditItem& pause) const {
    if (sampleRate_ <= 0)
        return 0;
    const RowPosition start = pause.start();
    const RowPosition end = start.plusRows(pause.lengthRows());
    return static_cast<double>(rowToSample(end) - rowToSample(start)) / sampleRate_;
}

} // namespace quillex
