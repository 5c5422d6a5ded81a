// The #OFFSET, #BPMS and #STOPS values of a written `.sm` file, fitted to the beat
// markers: the values are chosen while simulating how the file is read back, so that
// every marker comes back on its sample and a song read from a file keeps its tempos.
// Numbers have six significant digits, or more where a run of markers on one straight
// line needs them to stay one tempo (an offset placed to a small part of a sample).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillex {

// A beat marker or a pause of the song, on the file's grid: 48 rows per beat, row 0 at
// the file's beat 0, with the rows of every earlier pause and delay taken out and those
// of the warps before it too (see `warps`). In file order; a
// marker on a pause's start row comes before the pause, the marker at its end after.
struct SmTimingPoint {
    enum class Kind { Marker, Pause };
    Kind kind = Kind::Marker;
    std::int64_t fileRow = 0;
    double sample = 0;      // a marker's sample; where a pause ends
    double startSample = 0; // where a pause starts
    bool subBeat = false;   // a marker between beats: its row needs a tempo entry
    bool delay = false;     // a pause written as a delay (`.ssc`): its row's notes follow it
};

// A warp of the file on the fit's rows: the rows it skips take no time, so the fit
// counts rows without them and puts them back into the rows it writes.
struct SmWarpSpan {
    std::int64_t timedRow = 0; // where it starts, on the rows without warps
    std::int64_t length = 0;   // its rows
};

struct SmTempoFitInput {
    int sampleRate = 44100;
    std::vector<SmTimingPoint> points; // at least one marker
    bool perBeatBpm = true;            // false: one tempo for the song
    bool removeDuplicateBpms = true;   // false: a tempo entry on every marker's row
    double averageBpm = 0;             // the single tempo when perBeatBpm is false
    std::vector<SmWarpSpan> warps;     // sorted by row
};

// The values of the timing statements, without their keys (a `.sm` file has no
// delays and warps).
struct SmTempoText {
    std::string offset;
    std::string bpms;
    std::string stops;
    std::string delays;
    std::string warps;
};

SmTempoText fitSmTempo(const SmTempoFitInput& input);

} // namespace quillex
