// The beat period as it moves through the music: the periodicity of the onset
// strength in windows of a few seconds, each looked for near a tempo known for the
// whole music (so a local measure never jumps to another octave).
#pragma once

#include <vector>

#include "analysis/onset_features.h"

namespace quillex {

// The period in frames of the strength curve for every frame; `period` (frames) where
// a window holds no rhythm.
std::vector<double> localPeriods(const OnsetFeatures& features, double period);

} // namespace quillex
