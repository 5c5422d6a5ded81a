// The texts the status layer and the grid labels show: positions in the three time
// formats, BPMs, snap names and the channel name.
#pragma once

#include <string>

#include "items/timing_map.h"
#include "view/transport_state.h"

namespace quillex {

// Status name of a snap index ("No Snap", "4th (1)" … "192nd (48)"); empty outside
// 0..10.
const char* snapName(int snapIndex);

// A row as beat, ":" and the sub-beat with two digits ("12:05", "3:24").
std::string beatText(RowPosition row);

// A sample position in a time format: Samples the integer, Seconds "%.3f" of
// samples / rate, Beats the beat text of the nearest grid row.
std::string positionText(SamplePosition sample, int timeFormat, int sampleRate,
                         const TimingMap& timing);

// "Mono", "Stereo" or "Other".
const char* channelName(int channels);

} // namespace quillex
