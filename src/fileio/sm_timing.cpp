#include "fileio/sm_timing.h"

#include <algorithm>
#include <cmath>

#include "fileio/sm_time_arithmetic.h"
#include "fileio/sm_timing_rows.h"
#include "fileio/statement_text.h"

namespace quillex {

namespace {

using namespace sm_timing;

// The first whole beat strictly after a row (rows may be negative).
std::int64_t wholeBeatAfter(std::int64_t row) {
    const std::int64_t beat = row >= 0 ? row / kRowsPerBeat : -((-row - 1) / kRowsPerBeat) - 1;
    return (beat + 1) * kRowsPerBeat;
}

bool movesForward(double samplesPerRow) {
    return samplesPerRow > 0 && std::isfinite(samplesPerRow);
}

// One change of the timing on a row, in file order within its row.
struct TimingEvent {
    enum class Kind { Tempo, Stop, Delay, WarpStart, WarpEnd };
    std::int64_t row;
    Kind kind;
    double value;
};

std::vector<TimingEvent> timingEventsOf(const SmTimingInput& input) {
    using Kind = TimingEvent::Kind;
    const auto warps = mergedWarpRows(input.warps);
    const auto insideWarp = [&](std::int64_t row) {
        return std::any_of(warps.begin(), warps.end(),
                           [row](const auto& w) { return w.first < row && row < w.second; });
    };
    std::vector<TimingEvent> events;
    for (const SmTimedValue& t : input.bpms)
        events.push_back({rowOfBeat(t.beat), Kind::Tempo, t.value});
    for (const auto& [list, kind] :
         {std::pair(&input.stops, Kind::Stop), std::pair(&input.delays, Kind::Delay)})
        for (const SmTimedValue& v : *list)
            if (v.value > 0 && !insideWarp(rowOfBeat(v.beat)))
                events.push_back({rowOfBeat(v.beat), kind, v.value});
    for (const auto& [start, end] : warps) {
        events.push_back({start, Kind::WarpStart, 0});
        events.push_back({end, Kind::WarpEnd, 0});
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const TimingEvent& a, const TimingEvent& b) { return a.row < b.row; });
    return events;
}

void applyEvent(TimingRow& row, const TimingEvent& event) {
    switch (event.kind) {
    case TimingEvent::Kind::Tempo:
        row.bpm = event.value;
        row.namesTempo = true;
        break;
    case TimingEvent::Kind::Stop:
        row.stopSeconds += event.value;
        break;
    case TimingEvent::Kind::Delay:
        row.delaySeconds += event.value;
        break;
    case TimingEvent::Kind::WarpStart:
        row.warped = true;
        break;
    case TimingEvent::Kind::WarpEnd:
        row.endsWarp = true;
        row.warped = false;
        break;
    }
}

// The file's tempo changes, stops, delays and warps merged into timing rows with their
// positions. Of several tempos on one row the last in the file counts; stops on one row
// add up, and so do delays. The tempo in force at row 0 is the last one at or before
// it (the first one when every tempo lies later). Stops and delays before row 0 delay
// the whole grid. Those that are not positive take no time (a file with negative ones
// is refused or turned into warps before it gets here).
std::vector<TimingRow> timingRowsOf(const SmTimingInput& input, int rate) {
    const std::vector<TimingEvent> events = timingEventsOf(input);
    std::vector<TimingRow> rows(1);
    const auto firstTempo = std::find_if(events.begin(), events.end(), [](const TimingEvent& t) {
        return t.kind == TimingEvent::Kind::Tempo;
    });
    rows[0].bpm = firstTempo->value;
    double startSeconds = -input.offsetSeconds;
    std::size_t e = 0;
    for (; e < events.size() && events[e].row <= 0; ++e) {
        const TimingEvent& event = events[e];
        if (event.kind == TimingEvent::Kind::Tempo) {
            rows[0].bpm = event.value;
            rows[0].namesTempo = event.row == 0;
        } else if (event.row < 0 && event.kind != TimingEvent::Kind::WarpStart &&
                   event.kind != TimingEvent::Kind::WarpEnd) {
            startSeconds += event.value;
        } else if (event.row == 0) {
            applyEvent(rows[0], event);
        }
    }
    for (; e < events.size(); ++e) {
        if (rows.back().row != events[e].row) {
            TimingRow next;
            next.row = events[e].row;
            next.bpm = rows.back().bpm;
            next.warped = rows.back().warped;
            rows.push_back(next);
        }
        applyEvent(rows.back(), events[e]);
    }

    double sample = startSeconds * rate;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        TimingRow& r = rows[i];
        r.sample = sample;
        r.sampleAfterDelay = smAfterStop(sample, r.delaySeconds, rate);
        r.sampleAfterStop = smAfterStop(r.sampleAfterDelay, r.stopSeconds, rate);
        r.samplesPerRow = r.warped ? 0 : smSamplesPerRow(r.bpm, rate);
        if (i + 1 < rows.size())
            sample = r.warped ? r.sampleAfterStop
                              : smAdvance(r.sampleAfterStop, rows[i + 1].row - r.row, r.bpm, rate);
    }
    return rows;
}

// The file row of beat marker 1: the first whole beat that sounds at or after the
// music's first sample. -1 when the grid never gets there.
std::int64_t firstMarkerRow(const std::vector<TimingRow>& rows) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TimingRow& r = rows[i];
        if (r.row % kRowsPerBeat == 0 && r.sample >= 0)
            return r.row;
        if (!movesForward(r.samplesPerRow) || !std::isfinite(r.sampleAfterStop))
            continue;
        std::int64_t beat = wholeBeatAfter(r.row);
        if (r.sampleAfterStop < 0) {
            const std::int64_t rowsToZero =
                clampRow(std::ceil(-r.sampleAfterStop / r.samplesPerRow));
            beat = std::max(beat, wholeBeatAfter(r.row + rowsToZero - 1));
        }
        const std::int64_t end = i + 1 < rows.size() ? rows[i + 1].row : kRowLimit;
        if (beat < end)
            return beat;
    }
    return -1;
}

// A stop or delay of S seconds at tempo T is drawn as S × T × 48 / 60 rows, at least
// one. The rows only give it a width on screen: its duration lies in the markers at
// its two ends.
std::int64_t stretchRowsOf(double seconds, double bpm) {
    const double rows = std::round(seconds * bpm * kRowsPerBeat / 60.0);
    return rows >= 1 ? clampRow(rows) : 1;
}

// Puts the timing rows on the editor's grid. Editor row 48 (beat marker 1) is file row
// `firstRow` + 48; every delay and stop from there on becomes a delay or pause that
// moves the later rows by its length. Those before beat marker 1 have no marker to
// start from: they delay the grid but take no rows.
void placeOnEditorGrid(std::vector<TimingRow>& rows, std::int64_t firstRow) {
    std::int64_t added = 0;
    for (TimingRow& r : rows) {
        r.editorRow = clampRow(static_cast<double>(r.row - firstRow + added));
        if (r.editorRow < kRowsPerBeat)
            continue;
        if (r.delaySeconds > 0)
            r.delayRows = stretchRowsOf(r.delaySeconds, r.bpm);
        if (r.stopSeconds > 0)
            r.pauseRows = stretchRowsOf(r.stopSeconds, r.bpm);
        added = clampRow(static_cast<double>(added + r.delayRows + r.pauseRows));
    }
}

// Adds markers in row order until both the music and the chart have ended: markers
// may lie before the music's first sample and after its last, so that every note has
// its time. Bounded against absurd tempos, which would otherwise place markers for
// ever or by the million: no more markers than the music's samples and the chart's
// beats, and no more rows visited than a million beside them. A marker that a 32-bit
// sample position cannot hold ends the markers there (`cut`).
class MarkerPlacer {
  public:
    MarkerPlacer(std::vector<ConvertedBeat>& beats, SamplePosition musicLength,
                 std::int64_t lastRow)
        : beats_(beats), musicLength_(musicLength), lastRow_(lastRow),
          maxMarkers_(static_cast<std::size_t>(std::max(musicLength, 0)) + 2 +
                      static_cast<std::size_t>(std::max<std::int64_t>(lastRow, 0) / kRowsPerBeat)),
          stepsLeft_(static_cast<std::int64_t>(maxMarkers_) + 1'000'000) {}

    bool cut() const { return cut_; }

    // False once the music and the chart have ended (or the bounds are reached).
    bool add(double exactSample, std::int64_t row) {
        if (--stepsLeft_ < 0 || !std::isfinite(exactSample))
            return false;
        const double sample = nearestSample(exactSample);
        if (sample > musicLength_ && row > lastRow_)
            return false;
        if (sample > INT32_MAX || sample < INT32_MIN) {
            cut_ = true;
            return false;
        }
        if (row <= 0)
            return true;
        const ConvertedBeat beat{static_cast<SamplePosition>(sample), clampToInt32(row),
                                 static_cast<std::int32_t>(row % kRowsPerBeat)};
        // Markers must not share a sample: the store would keep one of them, and a
        // regular beat lost there would renumber every later beat. A sub-beat gives way.
        if (!beats_.empty() && beats_.back().sample == beat.sample) {
            if (beat.fraction != 0)
                return true;
            if (beats_.back().fraction != 0) {
                beats_.back() = beat;
                return true;
            }
        }
        if (beats_.size() >= kMostMarkers) {
            cut_ = true;
            return false;
        }
        beats_.push_back(beat);
        return beats_.size() <= maxMarkers_;
    }

    // The whole beats from marker 1 on strictly after `row` and before `until`,
    // `samplesPerRow` apart from `sample` at `row`.
    bool addWholeBeats(std::int64_t row, double sample, double samplesPerRow, std::int64_t until) {
        if (!movesForward(samplesPerRow))
            return until < kRowLimit; // this stretch never ends: nothing comes after it
        for (std::int64_t beat = std::max<std::int64_t>(kRowsPerBeat, wholeBeatAfter(row));
             beat < until; beat += kRowsPerBeat)
            if (!add(sample + static_cast<double>(beat - row) * samplesPerRow, beat))
                return false;
        return true;
    }

  private:
    std::vector<ConvertedBeat>& beats_;
    SamplePosition musicLength_;
    std::int64_t lastRow_;
    std::size_t maxMarkers_;
    bool cut_ = false;
    std::int64_t stepsLeft_;
};

// The delays, pauses and warps of the grid. A warp starts after the delay and pause of
// its first row and ends on the row where the file's warp ends. Those beyond the end of
// the music are kept too: the store drops what has no marker.
void placeStretches(const std::vector<TimingRow>& rows, ConvertedTiming& out) {
    std::int64_t warpStart = -1;
    for (const TimingRow& r : rows) {
        if (r.delayRows > 0)
            out.delays.push_back({clampToInt32(r.editorRow), clampToInt32(r.delayRows)});
        if (r.pauseRows > 0)
            out.pauses.push_back(
                {clampToInt32(r.editorRow + r.delayRows), clampToInt32(r.pauseRows)});
        if (r.endsWarp && warpStart >= 0)
            out.warps.push_back({clampToInt32(warpStart), clampToInt32(r.editorRow - warpStart)});
        if (r.warped && warpStart < 0)
            warpStart = r.editorRow + r.delayRows + r.pauseRows;
        else if (!r.warped)
            warpStart = -1;
    }
}

// A beat marker on every whole beat from marker 1 to the end of the music or editor row
// `lastRow`, whichever lies later, and one on
// every tempo change and at both ends of every delay and pause (a sub-beat where that
// row is not a whole beat). Their end markers hold the exact start and end of each
// stretch; the whole beats inside it are spread evenly between them. No marker lies
// after a warp's start up to its end: those rows sound where the warp starts.
bool placeMarkers(const std::vector<TimingRow>& rows, SamplePosition musicLength,
                  std::int64_t lastRow, ConvertedTiming& out) {
    MarkerPlacer markers(out.beats, musicLength, lastRow);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TimingRow& r = rows[i];
        const bool swallowed = r.endsWarp || (r.warped && i > 0 && rows[i - 1].warped);
        const std::int64_t until = i + 1 < rows.size() ? rows[i + 1].editorRow : kRowLimit;
        std::int64_t from = r.editorRow;
        double sample = r.sample;
        bool placed = true;
        for (const auto& [rowCount, end] : {std::pair(r.delayRows, r.sampleAfterDelay),
                                            std::pair(r.pauseRows, r.sampleAfterStop)}) {
            if (rowCount == 0)
                continue;
            const double rowSamples = (end - sample) / static_cast<double>(rowCount);
            placed = placed && (swallowed || from != r.editorRow || markers.add(sample, from)) &&
                     markers.addWholeBeats(from, sample, rowSamples, from + rowCount) &&
                     markers.add(end, from + rowCount);
            from += rowCount;
            sample = end;
        }
        if (from == r.editorRow && !swallowed && (r.namesTempo || r.editorRow % kRowsPerBeat == 0))
            placed = placed && markers.add(r.sampleAfterStop, r.editorRow);
        if (!placed || !markers.addWholeBeats(from, r.sampleAfterStop, r.samplesPerRow, until))
            break;
    }
    return !markers.cut();
}

// The last editor row the markers must reach: the whole beat at or after the end of
// the last note (hold tails included) or stretch; 0 when there is none.
std::int64_t lastRowToMark(const ConvertedTiming& out) {
    std::int64_t last = 0;
    for (const ConvertedNote& n : out.notes)
        last = std::max<std::int64_t>(last, std::int64_t{n.row} + n.lengthRows);
    for (const auto* list : {&out.pauses, &out.delays, &out.warps})
        for (const ConvertedPause& p : *list)
            last = std::max<std::int64_t>(last, std::int64_t{p.startRow} + p.lengthRows);
    return (last + kRowsPerBeat - 1) / kRowsPerBeat * kRowsPerBeat;
}

std::size_t characterCount(const SmTimingInput& input) {
    std::size_t count = 0;
    for (const SmLevelData& level : input.levels)
        for (const std::string& measure : level.measures)
            count += measure.size();
    return count;
}

} // namespace

ConvertedTiming convertSmTiming(const SmTimingInput& input, int sampleRate,
                                SamplePosition musicLength) {
    ConvertedTiming out;
    if (input.bpms.empty())
        return out;
    std::vector<TimingRow> rows = timingRowsOf(input, sampleRate);
    std::int64_t markerRow = firstMarkerRow(rows);
    if (markerRow < 0)
        return out;
    // Notes before the music keep their times: marker 1 moves back to the first note's
    // beat, before the music's first sample.
    if (const std::int64_t noteRow = firstNoteRow(input); noteRow >= 0)
        markerRow = std::min(markerRow, noteRow / kRowsPerBeat * kRowsPerBeat);
    out.beatsBeforeFirstMarker = clampToInt32(markerRow / kRowsPerBeat);
    const std::int64_t firstRow = markerRow - kRowsPerBeat; // the file row of editor row 0
    placeOnEditorGrid(rows, firstRow);
    placeStretches(rows, out);

    // Rows are mostly empty: a quarter of the characters is a generous first guess.
    out.notes.reserve(characterCount(input) / 4);
    for (LevelIndex level = 0; level < kLevelCount; ++level)
        sm_timing::addNotes(input.levels[level], level, rows, firstRow, out.notes);
    out.timelineCut = !placeMarkers(rows, musicLength, lastRowToMark(out), out);
    return out;
}

std::vector<std::pair<std::int64_t, std::int64_t>>
mergedWarpRows(const std::vector<SmTimedValue>& warps) {
    std::vector<std::pair<std::int64_t, std::int64_t>> spans;
    for (const SmTimedValue& w : warps) {
        const std::int64_t start = rowOfBeat(w.beat);
        const std::int64_t end = rowOfBeat(w.beat + w.value);
        if (end > start)
            spans.emplace_back(start, end);
    }
    std::sort(spans.begin(), spans.end());
    std::vector<std::pair<std::int64_t, std::int64_t>> merged;
    for (const auto& span : spans) {
        if (!merged.empty() && span.first <= merged.back().second)
            merged.back().second = std::max(merged.back().second, span.second);
        else
            merged.push_back(span);
    }
    return merged;
}

SamplePosition smSongEndSample(const SmTimingInput& input, int sampleRate) {
    const SamplePosition oneSecond = sampleRate;
    if (input.bpms.empty())
        return oneSecond;
    const std::vector<TimingRow> rows = timingRowsOf(input, sampleRate);
    std::int64_t lastRow = rows.back().row;
    for (const SmLevelData& level : input.levels)
        lastRow = std::max<std::int64_t>(lastRow, static_cast<std::int64_t>(level.measures.size()) *
                                                      kRowsPerMeasure);
    const TimingRow& last = *std::prev(
        std::upper_bound(rows.begin(), rows.end(), lastRow,
                         [](std::int64_t row, const TimingRow& r) { return row < r.row; }));
    const double end = smAdvance(last.sampleAfterStop, lastRow - last.row, last.bpm, sampleRate);
    if (!std::isfinite(end))
        return oneSecond;
    return static_cast<SamplePosition>(
        std::clamp(end + oneSecond, static_cast<double>(oneSecond), double{INT32_MAX}));
}

} // namespace quillex
