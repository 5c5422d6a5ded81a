// The check a `.sm` or `.ssc` song's timing passes before anything of the open song
// changes: tempos, stops, delays, warps and the offset that the editor's timeline
// cannot hold are refused by name instead of dropping the beats and notes they reach.
#pragma once

#include <string>
#include <string_view>

#include "fileio/sm_timing.h"

namespace quillex {

// The longest time a song's timing may span: sample positions are 32-bit, and at the
// highest sample rate the player takes they reach this far (a little over 3 hours).
// It does not depend on the music found, so a file opens or is refused alike whatever
// music it names.
double longestSongSeconds();

// The message that refuses the song, naming the tag, the beat and the value; empty
// when the timing can be read. `offsetText` is the #OFFSET value as the file spells it
// (empty when the file has none): anything but a decimal number of seconds is refused,
// since the C library would read "0x10" as 16 seconds and "nan" as 0. Refused: a
// tempo that is not above 0 (or so small that one beat outlasts the longest song),
// a negative stop, a stop or delay that is not a number or outlasts the longest song,
// a warp that is not a number or reaches past the largest row a file may give, an
// entry on a beat beyond that row, and a song whose timing ends after the longest song.
std::string timingRefusal(const SmTimingInput& timing, std::string_view offsetText);

} // namespace quillex
