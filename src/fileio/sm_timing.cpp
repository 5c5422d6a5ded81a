#include "fileio/sm_timing.h"

#include <algorithm>
#include <cmath>

#include "fileio/sm_time_arithmetic.h"
#include "fileio/statement_text.h"

namespace quillex {

namespace {

// Rows are 64-bit so that no sum of absurd stop lengths can overflow; they are clamped
// to a range far beyond any real song.
constexpr std::int64_t kRowLimit = std::int64_t{1} << 40;
constexpr std::int64_t kRowsPerMeasure = 4 * kRowsPerBeat;

std::int64_t clampRow(double rows) {
    if (!(rows == rows))
        return 0;
    return static_cast<std::int64_t>(
        std::clamp(rows, static_cast<double>(-kRowLimit), static_cast<double>(kRowLimit)));
}

// Games place every beat of a file on the nearest 48th of a beat (halves away from
// zero), and so does the conversion: events on one row happen together.
std::int64_t rowOfBeat(double beat) {
    return clampRow(std::round(beat * kRowsPerBeat));
}

std::int32_t clampToInt32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

// The first whole beat strictly after a row (rows may be negative).
std::int64_t wholeBeatAfter(std::int64_t row) {
    const std::int64_t beat = row >= 0 ? row / kRowsPerBeat : -((-row - 1) / kRowsPerBeat) - 1;
    return (beat + 1) * kRowsPerBeat;
}

bool isNoteCharacter(char c) {
    return c == '1' || c == '2' || c == '4' || c == 'M' || c == 'L';
}

bool movesForward(double samplesPerRow) {
    return samplesPerRow > 0 && std::isfinite(samplesPerRow);
}

// A row of the file's grid where the timing changes: the first row, a row that names a
// tempo, or a row with stops. Positions are exact sample counts (not rounded), carried
// from one timing row to the next so that no rounding accumulates.
struct TimingRow {
    std::int64_t row = 0;    // 48 per beat, row 0 is the file's beat 0
    double bpm = 0;          // the tempo in force from this row on
    bool namesTempo = false; // a #BPMS entry lies on this row
    double stopSeconds = 0;  // the stops on this row together
    double sample = 0;       // where the row sounds: the start of its stop
    double sampleAfterStop = 0;
    double samplesPerRow = 0; // from the end of the stop to the next timing row
    std::int64_t editorRow = 0;
    std::int64_t pauseRows = 0; // rows the stop spans in the editor's grid; 0: no pause
};

struct RowValue {
    std::int64_t row;
    double value;
};

std::vector<RowValue> byRow(const std::vector<SmTimedValue>& entries) {
    std::vector<RowValue> out;
    out.reserve(entries.size());
    for (const SmTimedValue& e : entries)
        out.push_back({rowOfBeat(e.beat), e.value});
    std::stable_sort(out.begin(), out.end(),
                     [](const RowValue& a, const RowValue& b) { return a.row < b.row; });
    return out;
}

// The file's tempo changes and stops merged into timing rows with their positions. Of
// several tempos on one row the last in the file counts; stops on one row add up. The
// tempo in force at row 0 is the last one at or before it (the first one when every
// tempo lies later). Stops before row 0 delay the whole grid. Stops that are not
// positive take no time (a file with negative ones is refused before it gets here).
std::vector<TimingRow> timingRowsOf(const SmTimingInput& input, int rate) {
    const std::vector<RowValue> tempos = byRow(input.bpms);
    std::vector<RowValue> stops = byRow(input.stops);
    std::erase_if(stops, [](const RowValue& s) { return !(s.value > 0); });

    std::vector<TimingRow> rows(1);
    rows[0].bpm = tempos.front().value;
    double startSeconds = -input.offsetSeconds;
    std::size_t t = 0, s = 0;
    for (; t < tempos.size() && tempos[t].row <= 0; ++t)
        rows[0].bpm = tempos[t].value;
    for (; s < stops.size() && stops[s].row < 0; ++s)
        startSeconds += stops[s].value;
    while (t < tempos.size() || s < stops.size()) {
        const bool tempoFirst =
            s == stops.size() || (t < tempos.size() && tempos[t].row <= stops[s].row);
        const std::int64_t row = tempoFirst ? tempos[t].row : stops[s].row;
        if (rows.back().row != row) {
            TimingRow next;
            next.row = row;
            next.bpm = rows.back().bpm;
            rows.push_back(next);
        }
        if (tempoFirst) {
            rows.back().bpm = tempos[t++].value;
            rows.back().namesTempo = true;
        } else {
            rows.back().stopSeconds += stops[s++].value;
        }
    }

    double sample = startSeconds * rate;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        TimingRow& r = rows[i];
        r.sample = sample;
        r.sampleAfterStop = smAfterStop(sample, r.stopSeconds, rate);
        r.samplesPerRow = smSamplesPerRow(r.bpm, rate);
        if (i + 1 < rows.size())
            sample = smAdvance(r.sampleAfterStop, rows[i + 1].row - r.row, r.bpm, rate);
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

// A stop of S seconds at tempo T is drawn as a pause of S × T × 48 / 60 rows, at least
// one. The rows only give it a width on screen: its duration lies in the markers at
// its two ends.
std::int64_t pauseRowsOf(const TimingRow& r) {
    const double rows = std::round(r.stopSeconds * r.bpm * kRowsPerBeat / 60.0);
    return rows >= 1 ? clampRow(rows) : 1;
}

// Puts the timing rows on the editor's grid. Editor row 48 (beat marker 1) is file row
// `firstRow` + 48; every stop from there on becomes a pause that moves the later rows
// by its length. Stops before beat marker 1 have no marker to start from: they delay
// the grid but take no rows.
void placeOnEditorGrid(std::vector<TimingRow>& rows, std::int64_t firstRow) {
    std::int64_t added = 0;
    for (TimingRow& r : rows) {
        r.editorRow = clampRow(static_cast<double>(r.row - firstRow + added));
        if (r.stopSeconds > 0 && r.editorRow >= kRowsPerBeat) {
            r.pauseRows = pauseRowsOf(r);
            added = clampRow(static_cast<double>(added + r.pauseRows));
        }
    }
}

// Adds markers in row order until the music ends. Bounded against absurd tempos,
// which would otherwise place markers for ever or by the million: no more markers
// than samples, and no more rows visited than a million beside them.
class MarkerPlacer {
  public:
    MarkerPlacer(std::vector<ConvertedBeat>& beats, SamplePosition musicLength)
        : beats_(beats), musicLength_(musicLength),
          maxMarkers_(static_cast<std::size_t>(std::max(musicLength, 0)) + 2),
          stepsLeft_(static_cast<std::int64_t>(maxMarkers_) + 1'000'000) {}

    // False once the music has ended (or the bounds are reached).
    bool add(double exactSample, std::int64_t row) {
        if (--stepsLeft_ < 0 || !std::isfinite(exactSample))
            return false;
        const double sample = nearestSample(exactSample);
        if (sample > musicLength_)
            return false;
        if (sample < 0 || row <= 0)
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
    std::size_t maxMarkers_;
    std::int64_t stepsLeft_;
};

// A beat marker on every whole beat from marker 1 to the end of the music, and one on
// every tempo change and at both ends of every pause (a sub-beat where that row is not
// a whole beat). A pause's two end markers hold the exact start and end of its stop;
// the whole beats inside it are spread evenly between them.
void placeMarkers(const std::vector<TimingRow>& rows, SamplePosition musicLength,
                  ConvertedTiming& out) {
    // Pauses beyond the end of the music are kept too: the store drops what has no marker.
    for (const TimingRow& r : rows)
        if (r.pauseRows > 0)
            out.pauses.push_back({clampToInt32(r.editorRow), clampToInt32(r.pauseRows)});
    MarkerPlacer markers(out.beats, musicLength);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TimingRow& r = rows[i];
        const std::int64_t until = i + 1 < rows.size() ? rows[i + 1].editorRow : kRowLimit;
        std::int64_t from = r.editorRow;
        if (r.pauseRows > 0) {
            const std::int64_t end = r.editorRow + r.pauseRows;
            const double rowSamples =
                (r.sampleAfterStop - r.sample) / static_cast<double>(r.pauseRows);
            if (!markers.add(r.sample, r.editorRow) ||
                !markers.addWholeBeats(r.editorRow, r.sample, rowSamples, end) ||
                !markers.add(r.sampleAfterStop, end))
                break;
            from = end;
        } else if (r.namesTempo || r.editorRow % kRowsPerBeat == 0) {
            if (!markers.add(r.sampleAfterStop, r.editorRow))
                break;
        }
        if (!markers.addWholeBeats(from, r.sampleAfterStop, r.samplesPerRow, until))
            break;
    }
}

// The editor row of file rows given in ascending order: moved by the pauses before it.
// A row with a stop of its own stays at the pause's start, as its notes sound when the
// stop begins.
class EditorRowOf {
  public:
    EditorRowOf(const std::vector<TimingRow>& rows, std::int64_t firstRow)
        : rows_(rows), firstRow_(firstRow) {}
    std::int64_t operator()(std::int64_t fileRow) {
        while (next_ < rows_.size() && rows_[next_].row < fileRow)
            added_ = std::min(added_ + rows_[next_++].pauseRows, kRowLimit);
        return fileRow - firstRow_ + added_;
    }

  private:
    const std::vector<TimingRow>& rows_;
    std::int64_t firstRow_;
    std::size_t next_ = 0;
    std::int64_t added_ = 0;
};

// Adds the notes of one level. Every measure spans four beats whatever its line count:
// line i of R lies on the row nearest to 192 × i / R. Past 192 lines two lines can
// fall on one row; a note whose column is taken there moves to the next row, and is
// lost only when the measure has no row left for it. A hold or roll head reaches the
// next "3" of its column, or one row past the chart's last row when no tail follows.
// Notes more than a beat before beat marker 1 sound before the music starts where the
// grid has no row for them (rows 0..47 hold the one beat before marker 1): they are
// left out.
void addNotes(const SmLevelData& data, LevelIndex level, EditorRowOf editorRowOf,
              std::int64_t firstRow, std::vector<ConvertedNote>& notes) {
    const int columns = columnCountOfLevel(level);
    std::array<std::vector<std::size_t>, kMaxColumns> openHolds; // indices into notes
    std::array<std::int64_t, kMaxColumns> lastRow;
    lastRow.fill(-1);
    std::int64_t measureStart = 0;
    const auto closeHolds = [&](int column, std::int64_t tailRow) {
        for (std::size_t head : openHolds[column])
            notes[head].lengthRows =
                clampToInt32(std::max<std::int64_t>(0, tailRow - notes[head].row));
        openHolds[column].clear();
    };
    for (const std::string& measure : data.measures) {
        const std::size_t lineCount = measure.size() / static_cast<std::size_t>(columns);
        const std::size_t width = lineCount == 0 ? 0 : measure.size() / lineCount;
        const auto lines = static_cast<std::int64_t>(lineCount);
        for (std::int64_t i = 0; i < lines; ++i) {
            const std::int64_t nearest =
                measureStart + (2 * kRowsPerMeasure * i + lines) / (2 * lines);
            const char* text = measure.data() + static_cast<std::size_t>(i) * width;
            for (int j = 0; j < columns; ++j) {
                const char ch = text[j];
                if (ch != '3' && !isNoteCharacter(ch))
                    continue;
                std::int64_t row = nearest;
                if (row <= lastRow[j]) {
                    row = lastRow[j] + 1;
                    if (row >= measureStart + kRowsPerMeasure)
                        continue;
                }
                lastRow[j] = row;
                const std::int64_t editorRow = editorRowOf(row);
                if (ch == '3') {
                    closeHolds(j, editorRow);
                    continue;
                }
                if (row < firstRow)
                    continue;
                if (ch == '2' || ch == '4')
                    openHolds[j].push_back(notes.size());
                notes.push_back({level, j, clampToInt32(editorRow), 0, ch});
            }
        }
        measureStart += kRowsPerMeasure;
    }
    const std::int64_t chartEnd = editorRowOf(measureStart);
    for (int j = 0; j < columns; ++j)
        closeHolds(j, chartEnd);
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
    const std::int64_t markerRow = firstMarkerRow(rows);
    if (markerRow < 0)
        return out;
    out.beatsBeforeFirstMarker = clampToInt32(markerRow / kRowsPerBeat);
    const std::int64_t firstRow = markerRow - kRowsPerBeat; // the file row of editor row 0
    placeOnEditorGrid(rows, firstRow);
    placeMarkers(rows, musicLength, out);

    // Rows are mostly empty: a quarter of the characters is a generous first guess.
    out.notes.reserve(characterCount(input) / 4);
    for (LevelIndex level = 0; level < kLevelCount; ++level)
        addNotes(input.levels[level], level, EditorRowOf(rows, firstRow), firstRow, out.notes);
    return out;
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
