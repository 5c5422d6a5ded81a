// The conversion of a `.sm` file's tempo description (#OFFSET, #BPMS, #STOPS and the
// measures of its charts) into what the editor stores: beat markers at sample
// positions, pauses and notes on rows. Pure arithmetic on the parsed file; the reader
// puts the result into the item store.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "model/game_type.h"
#include "model/row_position.h"

namespace quillex {

// A "#BPMS" or "#STOPS" entry: a `.sm` beat and a tempo in BPM or a stop in seconds.
struct SmTimedValue {
    double beat = 0;
    double value = 0;
};

// The chart of one level as read: its meter (0 when the file has none for it) and the
// measures as texts. Its radar values are not kept: the writer puts zeros.
struct SmLevelData {
    std::int32_t meter = 0;
    std::vector<std::string> measures;
};

struct SmTimingInput {
    double offsetSeconds = 0; // #OFFSET
    std::vector<SmTimedValue> bpms;
    std::vector<SmTimedValue> stops;
    std::vector<SmTimedValue> delays; // `.ssc` only: seconds before the row's notes
    std::vector<SmTimedValue> warps;  // `.ssc` only: a length in beats
    std::array<SmLevelData, kLevelCount> levels;
};

struct ConvertedBeat {
    SamplePosition sample;
    std::int32_t row;      // where the beat lies in the converted grid
    std::int32_t fraction; // 0 for a regular beat, else the sub-beat's fraction
};
struct ConvertedPause {
    std::int32_t startRow;
    std::int32_t lengthRows;
};
struct ConvertedNote {
    LevelIndex level;
    std::int32_t column;
    std::int32_t row;
    std::int32_t lengthRows; // holds and rolls
    char smCharacter;        // '1', '2', '4', 'M' or 'L'
};

struct ConvertedTiming {
    std::vector<ConvertedBeat> beats;
    std::vector<ConvertedPause> pauses;
    std::vector<ConvertedPause> delays;
    std::vector<ConvertedPause> warps;
    std::vector<ConvertedNote> notes;
    // Whole beats of the file before beat marker 1: marker 1 is the file's beat n.
    std::int32_t beatsBeforeFirstMarker = 0;
    // The markers end before the chart does: its time runs past what a sample position
    // holds (2^31 samples), or it needs more than kMostMarkers markers, and the notes
    // after the last marker have no place.
    bool timelineCut = false;
};

// The most beat markers a song file may make: at 300 BPM they last over 13 hours, and
// a file of a few bytes that names a far beat at a tempo of thousands cannot make the
// reader place millions.
inline constexpr std::size_t kMostMarkers = 250'000;

// Runs the whole conversion for music of `sampleRate` Hz and `musicLength` samples.
// Every beat of the file is first put on its nearest 48th of a beat, as games play
// it. Beat marker 1 (row 48) is the file's first whole beat that sounds at or after
// the music's first sample, or the first note's beat when that lies earlier; markers
// run from there to the end of the music or to the whole beat at or after the end of
// the chart's last note, whichever is later, with a sub-beat on every tempo change off
// the beat. Each stop of S seconds becomes a pause
// of max(1, round(S × bpm × 48 / 60)) rows (bpm: the tempo in force from the stop's
// row on) that moves every later row; the markers at the pause's two ends hold the
// stop's exact start and end, and later markers continue from the exact end, so every
// marker is its exact position rounded to the nearest sample. A delay becomes a delay
// item the same way, before the row's notes, which lie on its end (a stop on the same
// row follows it). A warp keeps its rows, which take no time: overlapping warps merge,
// no marker lies after a warp's start up to its end, and stops and delays strictly
// inside a warp take no time either. Rows 0..47 hold the file's beat before marker 1,
// which no note lies on.
ConvertedTiming convertSmTiming(const SmTimingInput& input, int sampleRate,
                                SamplePosition musicLength);

// The rows [start, end) of "#WARPS" entries (beat = length in beats), each beat on its
// 48th, sorted, those that overlap or touch merged.
std::vector<std::pair<std::int64_t, std::int64_t>>
mergedWarpRows(const std::vector<SmTimedValue>& warps);

// Where the song's files end at `sampleRate`: a second after the end of its last
// measure or its last tempo change or stop, whichever lies later. For a song whose
// music is not there, the length of the silence that stands in for it.
SamplePosition smSongEndSample(const SmTimingInput& input, int sampleRate);

} // namespace quillex
