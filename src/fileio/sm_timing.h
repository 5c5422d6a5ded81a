// The conversion of a `.sm` file's tempo description (#OFFSET, #BPMS, #STOPS and the
// measures of its charts) into what the editor stores: beat markers at sample
// positions, pauses and notes on rows. Pure arithmetic on the parsed file; the reader
// puts the result into the item store.
#pragma once

#include <array>
#include <cstdint>
#include <string>
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
    std::vector<ConvertedNote> notes;
};

// Runs the whole conversion for music of `sampleRate` Hz and `musicLength` samples.
// Beat markers run from the first non-negative sample to the end of the music; rows
// of the result count the first beat marker as row 48 when it is a regular beat.
ConvertedTiming convertSmTiming(const SmTimingInput& input, int sampleRate,
                                SamplePosition musicLength);

} // namespace quillex
