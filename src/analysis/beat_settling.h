// The cleaning of a tracked chain of beats: which beats sit on their own sound and
// which were caught by a sound off the beat, and where a beat whose sound strays
// from its neighbours belongs.
#pragma once

#include <cstddef>
#include <vector>

namespace quillex {

// A beat of the chain: its sample, and whether an onset placed it (heard) or the
// tempo around it did.
struct TrackedBeat {
    double sample;
    bool heard;
};

// Heard beats a beat away from neither neighbour (within 15 % of the local period,
// `periods` in frames of `hop` samples for each chain frame) sit on sounds off the
// beat, such as the plucks and swells of an intro: they are no longer heard.
void dropUnevenBeats(std::vector<TrackedBeat>& beats, const std::vector<std::size_t>& chain,
                     const std::vector<double>& periods, int hop);

// Heard beats with no heard beat among the two either side are no longer heard: a lone
// sound in an intro or a break says little about where the beat is.
void dropLoneBeats(std::vector<TrackedBeat>& beats);

// A heard beat that neither the beats before it, nor those after it, nor the curve
// through both agree with (within 2.5 ms; a hat or a pluck next to the beat took its
// place) is put where they say. One side alone may disagree: that is a tempo step.
void settleStrays(std::vector<TrackedBeat>& beats, int sampleRate);

} // namespace quillex
