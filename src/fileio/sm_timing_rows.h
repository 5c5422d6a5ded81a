// The timing rows the `.sm`/`.ssc` timing conversion works on, shared by its two
// halves: the markers (sm_timing.cpp) and the notes (sm_timing_notes.cpp).
#pragma once

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <vector>

#include "fileio/sm_timing.h"

namespace quillex::sm_timing {

// Rows are 64-bit so that no sum of absurd stop lengths can overflow; they are clamped
// to a range far beyond any real song.
inline constexpr std::int64_t kRowLimit = std::int64_t{1} << 40;
inline constexpr std::int64_t kRowsPerMeasure = 4 * kRowsPerBeat;

inline std::int64_t clampRow(double rows) {
    if (!(rows == rows))
        return 0;
    return static_cast<std::int64_t>(
        std::clamp(rows, static_cast<double>(-kRowLimit), static_cast<double>(kRowLimit)));
}

// Games place every beat of a file on the nearest 48th of a beat (halves away from
// zero), and so does the conversion: events on one row happen together.
inline std::int64_t rowOfBeat(double beat) {
    return clampRow(std::round(beat * kRowsPerBeat));
}

inline std::int32_t clampToInt32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

// A row of the file's grid where the timing changes: the first row, a row that names a
// tempo, a row with stops or delays, a warp's start or end. Positions are exact sample
// counts (not rounded), carried from one timing row to the next so that no rounding
// accumulates. On one row the delay comes first, then the row's notes, then the stop.
struct TimingRow {
    std::int64_t row = 0;        // 48 per beat, row 0 is the file's beat 0
    double bpm = 0;              // the tempo in force from this row on
    bool namesTempo = false;     // a #BPMS entry lies on this row
    double delaySeconds = 0;     // the delays on this row together
    double stopSeconds = 0;      // the stops on this row together
    bool warped = false;         // the rows from here to the next timing row take no time
    bool endsWarp = false;       // a warp ends here: the row sounds where the warp starts
    double sample = 0;           // where the row's time starts: the start of its delay
    double sampleAfterDelay = 0; // where its notes sound: the start of its stop
    double sampleAfterStop = 0;
    double samplesPerRow = 0; // from the end of the stop to the next timing row
    std::int64_t editorRow = 0;
    std::int64_t delayRows = 0; // rows the delay spans in the editor's grid; 0: no delay
    std::int64_t pauseRows = 0; // rows the stop spans in the editor's grid; 0: no pause
};

// The file row of the earliest note of any level (holds, rolls, mines and lifts
// included); -1 when the charts hold none (sm_timing_notes.cpp).
std::int64_t firstNoteRow(const SmTimingInput& input);

// Adds the notes of one level (sm_timing_notes.cpp).
void addNotes(const SmLevelData& data, LevelIndex level, const std::vector<TimingRow>& rows,
              std::int64_t firstRow, std::vector<ConvertedNote>& notes);

} // namespace quillex::sm_timing
