// The figures of one chart: its note counts, its notes per second measure by measure
// (what the density graph draws), the peak and average, and the stream breakdown.
// The editor's graph, the Statistics dialog, the Level Manager and `quillex-tool stats`
// all take them from here.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "items/item_list.h"
#include "items/item_store.h"
#include "items/stretch_rows.h"
#include "items/timing_map.h"
#include "model/note_kind.h"
#include "model/song.h"

namespace quillex {

// The editor row where the song file's measure 0 begins (measures of kRowsPerMeasure): beat marker
// 1 (row 48) is the file's beat `beatsBeforeFirstMarker`.
constexpr int measureOriginRow(int beatsBeforeFirstMarker) {
    return (1 - beatsBeforeFirstMarker) * kRowsPerBeat;
}

// One measure that holds notes: where it lies in the music and how dense it is.
struct MeasureDensity {
    int measure = 0;         // the file's measure number
    double startSeconds = 0; // from the music's first sample
    double endSeconds = 0;
    int notes = 0;    // notes to step on: taps, hold and roll heads, lifts
    int noteRows = 0; // rows holding at least one of them
    double notesPerSecond = 0;
};

struct ChartStatistics {
    // `taps` counts every note to step on (a jump counts two); a jump is a row with
    // exactly two of them, a hand a row with three or more; mines count alone.
    int taps = 0, jumps = 0, hands = 0, holds = 0, rolls = 0, mines = 0, lifts = 0;
    double peakNps = 0;
    // The notes to step on over the seconds of the measures from the first note's to
    // the last note's, so never above the peak.
    double averageNps = 0;
    std::string breakdown;
    // The measures from the first note's to the last's, in order (empty ones too).
    std::vector<MeasureDensity> measures;
    int peakMeasure = -1; // index into `measures`; -1 without notes
};

// The figures of a refreshed note list (sorted by row), timed by `timing`, on the song
// file's measures: without the rows of `stretches`, starting at `originRow`. One pass
// over the notes; notes inside a warp are not played and notes inside a pause are not
// in the file, so neither is counted.
ChartStatistics chartStatistics(const ItemList& notes, const TimingMap& timing,
                                const StretchRows& stretches, int originRow);

// A played note of a chart the store does not hold (one kept as read): its file row
// (kRowsPerBeat per beat, measure 0 from row 0) and its kind.
struct CountedNote {
    std::int64_t row = 0;
    NoteKind kind = NoteKind::Tap;
};
// The figures of such notes, sorted by row; `secondsAtRow` tells when the music reaches
// any file row.
ChartStatistics chartStatistics(const std::vector<CountedNote>& notes,
                                const std::function<double(std::int64_t row)>& secondsAtRow);
// The same for a level of the song, on the song file's measures.
ChartStatistics levelStatistics(const ItemStore& store, const Song& song, LevelIndex level);

} // namespace quillex
