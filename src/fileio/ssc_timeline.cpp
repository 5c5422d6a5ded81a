#include "fileio/ssc_timeline.h"

#include <algorithm>
#include <cmath>

namespace quillex {

namespace {

std::int64_t rowOf(double beat) {
    return std::llround(beat * kRowsPerBeat);
}

std::vector<std::pair<std::int64_t, double>> byRow(const std::vector<SmTimedValue>& list) {
    std::vector<std::pair<std::int64_t, double>> rows;
    for (const SmTimedValue& v : list)
        rows.emplace_back(rowOf(v.beat), v.value);
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    return rows;
}

// A keysound ("[3]") or attributes ("{...}") follow the note they belong to.
std::string withoutAnnotations(std::string_view measure) {
    std::string out;
    char closing = 0;
    for (char c : measure) {
        if (closing) {
            closing = c == closing ? 0 : closing;
        } else if (c == '[' || c == '{') {
            closing = c == '[' ? ']' : '}';
        } else {
            out.push_back(c);
        }
    }
    return out;
}

bool isHead(char c) {
    return c == '1' || c == '2' || c == '4' || c == 'M' || c == 'L';
}

} // namespace

SscTimeline::SscTimeline(const SscTiming& timing)
    : offsetSeconds_(timing.offsetSeconds.value_or(0)) {
    for (const auto& [row, bpm] : byRow(timing.bpms)) {
        if (!tempos_.empty() && tempos_.back().first == row)
            tempos_.back().second = bpm; // the last tempo on a row counts
        else
            tempos_.emplace_back(row, bpm);
    }
    warps_ = mergedWarpRows(timing.warps);
    for (const auto& [list, out] :
         {std::pair(&timing.stops, &stops_), std::pair(&timing.delays, &delays_)})
        for (const auto& [row, seconds] : byRow(*list))
            if (seconds > 0 && !strictlyInsideWarp(row))
                out->emplace_back(row, seconds);
}

bool SscTimeline::insideWarp(std::int64_t row) const {
    return std::any_of(warps_.begin(), warps_.end(),
                       [row](const auto& w) { return w.first <= row && row < w.second; });
}

bool SscTimeline::strictlyInsideWarp(std::int64_t row) const {
    return std::any_of(warps_.begin(), warps_.end(),
                       [row](const auto& w) { return w.first < row && row < w.second; });
}

std::optional<double> SscTimeline::noteSeconds(std::int64_t row) const {
    if (tempos_.empty() || insideWarp(row))
        return std::nullopt;
    double seconds = rowSeconds(row);
    for (const auto& [delayRow, delay] : delays_)
        seconds += delayRow == row ? delay : 0;
    return seconds;
}

double SscTimeline::rowSeconds(std::int64_t row) const {
    if (tempos_.empty())
        return 0;
    double seconds = 0.0 - offsetSeconds_; // never -0, which prints as "-0.000000"
    for (const auto& [stopRow, stop] : stops_)
        seconds += stopRow < row ? stop : 0;
    for (const auto& [delayRow, delay] : delays_)
        seconds += delayRow < row ? delay : 0;
    // The tempo in force from row 0: the last at or before it, else the first.
    std::size_t t = 0;
    while (t + 1 < tempos_.size() && tempos_[t + 1].first <= 0)
        ++t;
    if (row < 0)
        return seconds + static_cast<double>(row) * 60.0 / (kRowsPerBeat * tempos_[t].second);
    for (std::int64_t from = 0; from < row; ++t) {
        const std::int64_t until =
            t + 1 < tempos_.size() ? std::min(tempos_[t + 1].first, row) : row;
        std::int64_t rows = until - from;
        for (const auto& [start, end] : warps_)
            rows -= std::max<std::int64_t>(0, std::min(end, until) - std::max(start, from));
        seconds += static_cast<double>(rows) * 60.0 / (kRowsPerBeat * tempos_[t].second);
        from = until;
        if (t + 1 >= tempos_.size())
            break;
    }
    return seconds;
}

std::vector<KeptNote> keptChartNotes(std::string_view sectionText, int columns,
                                     const SscTiming& songTiming) {
    const SscTimeline timeline(chartTimingOf(sectionText, songTiming));
    std::vector<KeptNote> notes;
    std::vector<std::vector<std::size_t>> openHolds(static_cast<std::size_t>(columns));
    const std::vector<std::string> measures = chartMeasuresOf(sectionText);
    for (std::size_t m = 0; m < measures.size(); ++m) {
        const std::string measure = withoutAnnotations(measures[m]);
        const std::size_t lines = measure.size() / static_cast<std::size_t>(columns);
        for (std::size_t i = 0; i < lines; ++i) {
            const std::int64_t row = static_cast<std::int64_t>(m) * 4 * kRowsPerBeat +
                                     std::llround(4.0 * kRowsPerBeat * static_cast<double>(i) /
                                                  static_cast<double>(lines));
            for (int c = 0; c < columns; ++c) {
                const char ch =
                    measure[i * static_cast<std::size_t>(columns) + static_cast<std::size_t>(c)];
                auto& open = openHolds[static_cast<std::size_t>(c)];
                if (ch == '3') {
                    for (std::size_t head : open)
                        notes[head].lengthRows = row - notes[head].row;
                    open.clear();
                } else if (isHead(ch)) {
                    if (ch == '2' || ch == '4')
                        open.push_back(notes.size());
                    notes.push_back({row, c, ch, 0, timeline.noteSeconds(row)});
                }
            }
        }
    }
    return notes;
}

} // namespace quillex
