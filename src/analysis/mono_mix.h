// The music as one channel of floats (full scale 1), the form every analysis step reads.
#pragma once

#include <vector>

#include "audio/audio_backend.h"

namespace quillex {

std::vector<float> monoMix(const PcmData& music);

} // namespace quillex
