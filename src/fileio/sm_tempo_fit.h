// The #OFFSET, #BPMS and #STOPS values of a written `.sm` file, fitted to the beat
// markers: the values are chosen while simulating how the file is read back, so that
// every marker comes back on its sample and a song read from a file keeps its tempos.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillex {

// A beat marker or a pause of the song, on the file's grid: 48 rows per beat, row 0 at
// the file's beat 0, with the rows of every earlier pause taken out. In file order; a
// marker on a pause's start row comes before the pause, the marker at its end after.
struct SmTimingPoint {
    enum class Kind { Marker, Pause };
    Kind kind = Kind::Marker;
    std::int64_t fileRow = 0;
    double sample = 0;      // a marker's sample; where a pause ends
    double startSample = 0; // where a pause starts
    bool subBeat = false;   // a marker between beats: its row needs a tempo entry
};

struct SmTempoFitInput {
    int sampleRate = 44100;
    std::vector<SmTimingPoint> points; // at least one marker
    bool perBeatBpm = true;            // false: one tempo for the song
    bool removeDuplicateBpms = true;   // false: a tempo entry on every marker's row
    double averageBpm = 0;             // the single tempo when perBeatBpm is false
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
