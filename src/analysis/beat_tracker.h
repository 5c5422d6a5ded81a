// A beat on every beat of the music, for music whose tempo moves (live recordings,
// older records) as well as for steady music. Dynamic programming over the onset
// strength finds the chain of beats that sits on the strongest onsets while keeping
// close to the local tempo (measured every second over eight seconds of music, so it
// follows steps and drift); each beat then moves onto the attack of its onset. Beats
// in stretches without onsets (a break, an intro of pads) are spaced evenly between
// their neighbours, or carried on back to the music's first sound and on to its end at
// the tempo heard nearest that edge, speeding up or slowing down as it does there.
#pragma once

#include <optional>
#include <vector>

#include "analysis/onset_features.h"

namespace quillex {

// Beat positions in samples (fractional, ascending) from the first beat at or after
// the music's first sound to the last before its end. `bpm` is the tempo to start
// from; without it the tracks from the strongest stretch's tempo and the whole
// music's, and from their multiples, compete. Empty when the music has no rhythm.
std::vector<double> trackBeats(const OnsetFeatures& features, std::optional<double> bpm);

} // namespace quillex
