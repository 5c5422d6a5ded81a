// The sound the output plays for a timeline that reaches before the music's first
// sample or past its last: the music with silence on either side. A chart may start
// before its music and go on after it; there the editor plays silence while the
// position, the ticks and the judging go on.
#pragma once

#include <memory>

#include "audio/audio_backend.h"

namespace quillex {

// `music` with `lead` frames of silence before it and enough after it to make
// `frames` frames in all (at least the music's own). Long stretches of silence come
// zeroed from mmap and cost no memory until they are played.
std::shared_ptr<const PcmData> musicInSilence(const PcmData& music, std::int64_t lead,
                                              std::int64_t frames);

} // namespace quillex
